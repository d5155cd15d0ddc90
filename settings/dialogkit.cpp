#include "settings/dialogkit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
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

NormalizeOption::NormalizeOption(const Captions &captions, QWidget *parent)
    : group(new QGroupBox(QStringLiteral("Normalize Option"), parent)),
      normalize(new QCheckBox(QString::fromLatin1(captions.normalize), group)),
      level(makeUpDown(50, 100, 98, group)),
      fade(new QCheckBox(QString::fromLatin1(captions.fade), group)),
      fadeIn(makeUpDown(1, 20, 10, group)),
      fadeOut(makeUpDown(1, 20, 20, group))
{
    auto *layout = new QGridLayout(group);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setVerticalSpacing(2);
    layout->addWidget(normalize, 0, 0);
    layout->addWidget(level, 0, 1);
    layout->addWidget(fade, 1, 0, 1, 2);
    const int outRow = captions.lengthsInOneRow ? 2 : 3;
    const int outColumn = captions.lengthsInOneRow ? 2 : 0;
    layout->addWidget(new QLabel(QString::fromLatin1(captions.fadeIn), group), 2, 0);
    layout->addWidget(fadeIn, 2, 1);
    layout->addWidget(new QLabel(QString::fromLatin1(captions.fadeOut), group), outRow, outColumn);
    layout->addWidget(fadeOut, outRow, outColumn + 1);
    layout->setColumnStretch(captions.lengthsInOneRow ? 4 : 2, 1);

    QObject::connect(normalize, &QCheckBox::toggled, group, [this] { normalizeChanged(); });
    QObject::connect(fade, &QCheckBox::toggled, group, [this] { fadeChanged(); });
}

void NormalizeOption::normalizeChanged() const
{
    const bool on = normalize->isChecked();
    level->setEnabled(on);
    fade->setEnabled(on);
    if (!on) {
        fade->setChecked(false);
        fadeChanged();
    }
}

void NormalizeOption::fadeChanged() const
{
    // An up-down and its read-only edit are one widget here, so they switch together.
    fadeIn->setEnabled(fade->isChecked());
    fadeOut->setEnabled(fade->isChecked());
}

} // namespace settings
