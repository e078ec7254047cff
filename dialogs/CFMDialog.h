#pragma once
// "FM音源": the algorithm, the feedback of operator 1 and the four operators of an FM track,
// one column each (envelope curve and rates, levels, key scaling, multiple, detune, the
// operator's LFOs and an envelope preview). Works on a copy of the track's settings and hands
// it back on OK. The sound can be copied to the clipboard as "TSQ_FM" and pasted back; the
// paste button follows the clipboard while the dialog is open. The keyboard auditions the
// sound with the settings as shown.
//
// Thread: the user-interface thread only.

#include "common/Options.h"
#include "model/CProject.h"
#include "model/CTrackData.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class CEnvelopeWnd;
class CKeyboardWnd;
class CMultipleEdit;
class CNumberEdit;
class QComboBox;
class QDialogButtonBox;
class QPushButton;
class QSlider;

class CFMDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOperators = 4;

    explicit CFMDialog(const OPTIONS& options, QWidget* parent = nullptr);
    ~CFMDialog() override;

    // The song whose rate, tempo, master volume and transpose the keyboard plays with.
    void SetProjectData(const CProjectData& data);
    void SetTrack(const CTrackData& track);
    // The copy with every control written into its FM record.
    CTrackData GetTrack() const;
    // What the keyboard plays: the track as it was when the last key went down.
    const CTrack& PreviewTrack() const { return m_previewTrack; }

    // "TSQ_FM" payload of an FM record (at the current file version), and the record of a
    // payload; nothing for a damaged one (too short, an algorithm outside 0..7, a multiple
    // that is not a number).
    static std::vector<uint8_t> CopyPayload(const CFM& fm);
    static std::optional<CFM> PastePayload(std::span<const uint8_t> payload);

private:
    // The controls of one operator; object names "op1Curve", "op1AR" … "op4DT", "op1LFO",
    // "op1Preview", "op1Span".
    struct OperatorColumn {
        QComboBox* curve = nullptr;
        CNumberEdit* ar = nullptr;
        CNumberEdit* dr = nullptr;
        CNumberEdit* sr = nullptr;
        CNumberEdit* rr = nullptr;
        CNumberEdit* sl = nullptr;
        CNumberEdit* tl = nullptr;
        CNumberEdit* ks = nullptr;
        CMultipleEdit* ml = nullptr;
        CNumberEdit* dt = nullptr;
        QPushButton* lfo = nullptr;
        CEnvelopeWnd* preview = nullptr;
        QSlider* span = nullptr;

        void Build(QWidget* parent, int number);
        std::array<CNumberEdit*, 7> EnvelopeEdits() const { return {ar, dr, sr, rr, sl, tl, ks}; }
        void Load(const CFMOperator& op);
        void Store(CFMOperator& op) const;
    };

    struct Ui {
        QComboBox* algorithm = nullptr;
        QComboBox* feedback = nullptr;
        std::array<OperatorColumn, kOperators> operators;
        CKeyboardWnd* keyboard = nullptr;
        QPushButton* copy = nullptr;
        QPushButton* paste = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;

    void ConnectOperator(int index);
    void LoadFields();
    void StoreFields(CTrackData& track) const;
    void OnEnvelopeEdited(int index);
    void OnSpan(int index);
    void OnLFO(int index);
    void OnCopy();
    void OnPaste();
    void OnNoteOn();
    void StabilizeForm();

    OPTIONS m_options;
    CTrackData m_track;
    CProject m_previewProject;
    CTrack m_previewTrack;
};
