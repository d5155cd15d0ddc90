#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// File open dialogs behind an interface, so tests can choose the files.
// Filters are written as "description|pattern|description|pattern".
class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // Several existing files; empty when cancelled.
    virtual QStringList chooseFiles(QWidget *parent, const QString &filter) = 0;
    // One existing file; empty when cancelled.
    virtual QString chooseFile(QWidget *parent, const QString &filter) = 0;
};

// The entries of such a filter as a file dialog lists them, one per pair.
QStringList dialogNameFilters(const QString &filter);

class QtFileChooser : public IFileChooser {
public:
    QStringList chooseFiles(QWidget *parent, const QString &filter) override;
    QString chooseFile(QWidget *parent, const QString &filter) override;
};
