#pragma once
#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The folder chooser the settings dialogs open from "Select directory".
// It knows nothing of the settings file; it only reports the chosen folder.
class Tfm_Selectdirectory : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_Selectdirectory(QWidget *parent = nullptr);

    // The outcome of the last showing: the chosen folder, or empty for none.
    QString selected_dir;

    QTreeView *stview_selectdir;
    QPushButton *suibtn_ok;
    QPushButton *suiBtn_cancel;

    // The folder selected in the tree, empty if none.
    QString selectedFolder() const;
    // Selects a folder in the tree, expanding its ancestors.
    void selectFolder(const QString &path);

    void suibtn_okClick();
    void suiBtn_cancelClick();
    // Cancel, Escape and the title bar's close all end here: no folder.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QModelIndex reveal(const QString &path);

    QFileSystemModel *folders_;
    bool homeRevealed_ = false;
};

// Shows the chooser modally; a reported folder replaces the edit's text,
// no folder leaves it as it was.
void chooseDirectoryInto(Tfm_Selectdirectory *chooser, QLineEdit *edit);
