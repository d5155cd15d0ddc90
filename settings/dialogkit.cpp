#include "settings/dialogkit.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>

namespace settings {

QFont dialogFont()
{
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QSpinBox *makeUpDown(int minimum, int maximum, int value, QWidget *parent)
{
    auto *upDown = new QSpinBox(parent);
    upDown->setRange(minimum, maximum);
    upDown->setSingleStep(1);
    upDown->setWrapping(false);
    upDown->setValue(value);
    upDownEdit(upDown)->setReadOnly(true);
    return upDown;
}

QLineEdit *upDownEdit(QSpinBox *upDown)
{
    return upDown->findChild<QLineEdit *>();
}

namespace {

void centreIn(QWidget *window, const QRect &area)
{
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(), area));
}

} // namespace

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        centreIn(window, screen->availableGeometry());
}

void centreOver(QWidget *window, const QWidget *owner)
{
    if (owner && owner->isVisible())
        centreIn(window, owner->window()->geometry());
    else
        centreOnScreen(window);
}

} // namespace settings
