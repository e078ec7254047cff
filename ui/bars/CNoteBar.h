#pragma once
// The note bar ("音符"): buttons for the fit unit and the default length (whole … 64th
// note, "付点", "3連符") and four number boxes for the fit unit and the default note's
// length, key-off and volume.
//
// A box hands its value to CNoteDefaults when it is left (CNoteDefaults applies the
// limits); while a box does not have the focus it shows the current value. Enter in a box
// returns the focus to the piano roll (focusPianoRoll()).

#include "ui/ICommandTarget.h"

#include <QToolBar>

#include <functional>

class CNoteDefaults;
class CNumberEdit;
class QAction;

class CNoteBar : public QToolBar, public ICommandTarget {
    Q_OBJECT
public:
    // `action` gives the frame's action for a command identifier.
    CNoteBar(CNoteDefaults& defaults, const std::function<QAction*(int)>& action,
             QWidget* parent = nullptr);

    CNumberEdit* Field(int id) const;

    // The four "focus a box" commands (Alt+F, Alt+L, Alt+K, Alt+V).
    std::optional<bool> CommandEnabled(int id) const override;
    bool RunCommand(int id) override;

signals:
    void focusPianoRoll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CNumberEdit* AddField(int id, const QString& label, const QString& widthSample, int64_t minimum,
                          int64_t spinMaximum);
    void Store(int id);
    void ShowValues();

    CNoteDefaults& m_defaults;
    CNumberEdit* m_fit = nullptr;
    CNumberEdit* m_length = nullptr;
    CNumberEdit* m_keyoff = nullptr;
    CNumberEdit* m_volume = nullptr;
};
