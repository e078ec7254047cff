#pragma once
// The note bar ("音符"): four number boxes for the fit unit and the default note's length,
// key-off and volume, after the buttons the frame puts in front of them (fit unit and
// default length: whole … 64th note, "付点", "3連符"; see menu::kNoteBar).
//
// A box hands its value to CNoteDefaults when it is left (CNoteDefaults applies the
// limits); while a box does not have the focus it shows the current value. Enter in a box
// returns the focus to the piano roll (focusPianoRoll()).

#include "ui/commands/CCommandSet.h"

#include <QToolBar>

class CNoteDefaults;
class CNumberEdit;

class CNoteBar : public QToolBar {
    Q_OBJECT
public:
    explicit CNoteBar(CNoteDefaults& defaults, QWidget* parent = nullptr);

    CNumberEdit* Field(int id) const;

    // The four "focus a box" commands, keys without a menu item (Alt+F, Alt+L, Alt+K,
    // Alt+V).
    CCommandSet& CommandSet() { return m_commandSet; }

signals:
    void focusPianoRoll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CNumberEdit* AddField(int id, Qt::Key mnemonic, const QString& label,
                          const QString& widthSample, int64_t minimum, int64_t spinMaximum);
    void Store(int id);
    void ShowValues();
    void FocusField(CNumberEdit* field);

    CNoteDefaults& m_defaults;
    CCommandSet m_commandSet;
    CNumberEdit* m_fit = nullptr;
    CNumberEdit* m_length = nullptr;
    CNumberEdit* m_keyoff = nullptr;
    CNumberEdit* m_volume = nullptr;
};
