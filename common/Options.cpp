#include "common/Options.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

OPTIONS DefaultOptions() {
    OPTIONS options;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        const QColor highlight = QGuiApplication::palette().color(QPalette::Highlight);
        options.crSelectedNote = uint32_t(highlight.red()) | (uint32_t(highlight.green()) << 8) |
                                 (uint32_t(highlight.blue()) << 16);
    }
    options.buildThreads = std::clamp(QThread::idealThreadCount(), options_range::kBuildThreadsMin,
                                      options_range::kBuildThreadsMax);
    const std::string documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    options.pcmDefaultPath = documents;
    options.projectDefaultPath = documents;
    return options;
}
