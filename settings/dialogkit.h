#pragma once
#include <QFont>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace settings {

// The dialogs' font: the system's sans-serif face at 8 pt.
QFont dialogFont();

// An up-down with its value in a read-only edit beside the arrows.
QSpinBox *makeUpDown(int minimum, int maximum, int value, QWidget *parent);
QLineEdit *upDownEdit(QSpinBox *upDown);

// Centres a window on the screen it is shown on.
void centreOnScreen(QWidget *window);
// Centres a window over its owner, or on the screen when it has none.
void centreOver(QWidget *window, const QWidget *owner);

// The "Normalize Option" group both settings dialogs share: a level switch
// with its up-down, and a fade switch with the two length up-downs that only
// count while normalization is on.
struct NormalizeOption {
    struct Captions {
        const char *normalize, *fade, *fadeIn, *fadeOut;
        bool lengthsInOneRow;
    };
    NormalizeOption(const Captions &captions, QWidget *parent);
    NormalizeOption(const NormalizeOption &) = delete;
    NormalizeOption &operator=(const NormalizeOption &) = delete;

    // The change rules; they run whenever a switch changes, also from code.
    void normalizeChanged() const;
    void fadeChanged() const;

    QGroupBox *group;
    QCheckBox *normalize;
    QSpinBox *level;
    QCheckBox *fade;
    QSpinBox *fadeIn;
    QSpinBox *fadeOut;
};

} // namespace settings
