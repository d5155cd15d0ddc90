#include "app/icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Drawn here rather than loaded as an icon file, so the icon never depends on
// an image plugin being installed.
QIcon sonveraIcon()
{
    Q_INIT_RESOURCE(sonvera);
    QSvgRenderer renderer(QStringLiteral(":/sonvera/sonvera.svg"));
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
