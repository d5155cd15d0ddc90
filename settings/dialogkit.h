#pragma once
#include <QFont>

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

} // namespace settings
