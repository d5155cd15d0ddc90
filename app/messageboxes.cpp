#include "app/messageboxes.h"

#include <QApplication>
#include <QMessageBox>

void showWarning(IMessageBoxes &boxes, const QString &text)
{
    boxes.message(text, QStringLiteral("Warning"), IMessageBoxes::Icon::Warning);
}

void showInformation(IMessageBoxes &boxes, const QString &text)
{
    boxes.message(text, QStringLiteral("Information"), IMessageBoxes::Icon::Information);
}

void showError(IMessageBoxes &boxes, const QString &text)
{
    boxes.message(text, QStringLiteral("Error"), IMessageBoxes::Icon::Critical);
}

bool confirm(IMessageBoxes &boxes, const QString &text)
{
    return boxes.question(text, QStringLiteral("Confirm"), IMessageBoxes::Icon::Question);
}

namespace {

QMessageBox::Icon boxIcon(IMessageBoxes::Icon icon)
{
    switch (icon) {
    case IMessageBoxes::Icon::Warning: return QMessageBox::Warning;
    case IMessageBoxes::Icon::Question: return QMessageBox::Question;
    case IMessageBoxes::Icon::Information: return QMessageBox::Information;
    case IMessageBoxes::Icon::Critical: return QMessageBox::Critical;
    case IMessageBoxes::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

int runBox(const QString &text, const QString &caption, IMessageBoxes::Icon icon,
           QMessageBox::StandardButtons buttons)
{
    QMessageBox box(boxIcon(icon), caption, text, buttons, QApplication::activeWindow());
    return box.exec();
}

} // namespace

void QtMessageBoxes::message(const QString &text, const QString &caption, Icon icon)
{
    runBox(text, caption, icon, QMessageBox::Ok);
}

bool QtMessageBoxes::question(const QString &text, const QString &caption, Icon icon)
{
    return runBox(text, caption, icon, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
