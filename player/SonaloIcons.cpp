#include "player/SonaloIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Outside any namespace: the resource initialiser is declared where this is called.
static void InitResources() {
    // The pictures live in a static library; this keeps their registration linked in.
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
}

QIcon SonaloIcon(const QString& name) {
    InitResources();
    QSvgRenderer renderer(QStringLiteral(":/sonalo/icons/%1.svg").arg(name));
    QIcon icon;
    if (!renderer.isValid()) {
        return icon;
    }
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
