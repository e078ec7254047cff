#include "ui/bars/CPlayBar.h"

#include "ui/CommandIds.h"
#include "ui/bars/CPlaySeekBar.h"
#include "ui/bars/CVolumeBar.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

CPlayBar::CPlayBar(const std::function<QAction*(int)>& action, QWidget* parent)
    : QToolBar(QStringLiteral("再生"), parent), m_seek(new CPlaySeekBar(this)),
      m_volume(new CVolumeBar(this)) {
    setObjectName("playBar");
    addAction(action(cmd::kPlay));
    addAction(action(cmd::kPlayFromCaret));
    addAction(action(cmd::kStop));
    AddRepeatButton(action(cmd::kRewind));
    AddRepeatButton(action(cmd::kFastForward));
    addSeparator();
    m_seek->setMinimumWidth(160);
    m_seek->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addWidget(m_seek);
    addSeparator();
    auto* speaker = new QLabel(this);
    speaker->setPixmap(QIcon(":/icons/audio-volume.svg").pixmap(iconSize()));
    speaker->setToolTip(QStringLiteral("音量"));
    addWidget(speaker);
    m_volume->setFixedWidth(90);
    addWidget(m_volume);
}

// A button that follows its action's state but triggers on press and while held, not on
// release, so holding it seeks step by step.
void CPlayBar::AddRepeatButton(QAction* action) {
    auto* button = new QToolButton(this);
    button->setIcon(action->icon());
    button->setToolTip(action->toolTip());
    button->setStatusTip(action->statusTip());
    button->setAutoRaise(true);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelayMs);
    button->setAutoRepeatInterval(kRepeatIntervalMs);
    button->setEnabled(action->isEnabled());
    button->setObjectName(QStringLiteral("repeat%1").arg(action->objectName()));
    connect(action, &QAction::changed, button,
            [button, action] { button->setEnabled(action->isEnabled()); });
    connect(button, &QToolButton::pressed, action, [action] {
        if (action->isEnabled())
            action->trigger();
    });
    connect(this, &QToolBar::iconSizeChanged, button, &QToolButton::setIconSize);
    addWidget(button);
}
