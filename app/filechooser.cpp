#include "app/filechooser.h"

#include <QFileDialog>

QStringList dialogNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        // The dialog takes the patterns from a trailing "(...)"; add one only
        // when the description does not already end with its own.
        const QString suffix = QLatin1Char('(') + pattern + QLatin1Char(')');
        entries << (description.endsWith(suffix) ? description : description + QLatin1Char(' ') + suffix);
    }
    return entries;
}

namespace {

QStringList runDialog(QWidget *parent, const QString &filter, QFileDialog::FileMode mode)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(dialogNameFilters(filter));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace

QStringList QtFileChooser::chooseFiles(QWidget *parent, const QString &filter)
{
    return runDialog(parent, filter, QFileDialog::ExistingFiles);
}

QString QtFileChooser::chooseFile(QWidget *parent, const QString &filter)
{
    const QStringList files = runDialog(parent, filter, QFileDialog::ExistingFile);
    return files.isEmpty() ? QString() : files.first();
}
