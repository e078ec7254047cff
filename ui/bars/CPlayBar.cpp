#include "ui/bars/CPlayBar.h"

#include "ui/bars/CPlaySeekBar.h"
#include "ui/bars/CVolumeBar.h"

#include <QCoreApplication>
#include <QLabel>

CPlayBar::CPlayBar(QWidget* parent)
    : QToolBar(QCoreApplication::translate("CPlayBar", "再生"), parent),
      m_seek(new CPlaySeekBar(this)), m_volume(new CVolumeBar(this)) {
    setObjectName("playBar");
    setAccessibleName(windowTitle());
    setAccessibleDescription(tr("再生位置と出力の音量です。"));
    addSeparator();
    m_seek->setMinimumWidth(160);
    m_seek->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addWidget(m_seek);
    addSeparator();
    auto* speaker = new QLabel(this);
    speaker->setPixmap(QIcon(":/icons/audio-volume.svg").pixmap(iconSize(), devicePixelRatioF()));
    speaker->setToolTip(QCoreApplication::translate("CPlayBar", "音量"));
    addWidget(speaker);
    m_volume->setFixedWidth(90);
    addWidget(m_volume);
}
