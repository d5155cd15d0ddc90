#include "app/menus.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

constexpr int PictureBarWidth = 26;
const QColor PictureBar(214, 211, 206);

const char *const MenuStyle = R"(
QMenu { background: transparent; border: 1px solid rgb(0, 44, 200); color: black; }
QMenu::item { height: 21px; padding: 0px 24px 0px 32px; background: transparent; color: black; }
QMenu::item:selected { background: rgb(198, 211, 239); border: 1px solid rgb(49, 105, 198); }
QMenu::separator { height: 1px; margin: 2px 0px 2px 30px; background: rgb(132, 130, 132); }
QMenu::icon { padding-left: 5px; }
)";

QPixmap blankPicture()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon swatch(const QColor &color)
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(160));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    p.drawLine(QPointF(4, 5), QPointF(9, 5));
    return QIcon(pixmap);
}

QIcon skinsPicture()
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colors[] = {QColor(200, 40, 40), QColor(40, 160, 60), QColor(40, 90, 200)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(colors[i].darker(150));
        p.setBrush(colors[i]);
        p.drawEllipse(QRectF(1 + i * 3.5, 1 + i * 3.5, 8, 8));
    }
    return QIcon(pixmap);
}

QIcon wavePicture()
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath wave;
    for (int x = 0; x <= 14; ++x) {
        const QPointF point(1 + x, 8 - 6 * qSin(x * M_PI / 3.5) * (1 - x / 20.0));
        x == 0 ? wave.moveTo(point) : wave.lineTo(point);
    }
    p.setPen(QPen(QColor(0, 90, 170), 1.6));
    p.drawPath(wave);
    return QIcon(pixmap);
}

QIcon contentsPicture()
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 60, 150));
    p.setBrush(QColor(60, 120, 210));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(pixmap);
}

QIcon globePicture()
{
    QPixmap pixmap = blankPicture();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 110, 60), 1.2));
    p.setBrush(QColor(150, 210, 240));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    return QIcon(pixmap);
}

} // namespace

PopupMenu::PopupMenu(QWidget *parent) : QMenu(parent)
{
    setStyleSheet(QString::fromLatin1(MenuStyle));
    QFont menuFont = font();
    menuFont.setPointSize(8);
    setFont(menuFont);
}

PopupMenu *PopupMenu::addPopup(const QString &title, const QIcon &icon)
{
    auto *submenu = new PopupMenu(this);
    submenu->setTitle(title);
    submenu->setIcon(icon);
    addMenu(submenu);
    return submenu;
}

void PopupMenu::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.fillRect(QRect(0, 0, PictureBarWidth, height()), PictureBar);
    }
    QMenu::paintEvent(event);
}

QIcon settingsMenuPicture(int index)
{
    static const QColor skins[] = {QColor(128, 128, 128), QColor(143, 180, 50), QColor(40, 90, 200),
                                   QColor(40, 160, 60),   QColor(200, 40, 40),  QColor(227, 66, 52)};
    if (index >= 0 && index < 6)
        return swatch(skins[index]);
    return index == 6 ? skinsPicture() : wavePicture();
}

QIcon helpMenuPicture(int index)
{
    return index == 0 ? contentsPicture() : globePicture();
}
