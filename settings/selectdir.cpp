#include "settings/selectdir.h"

#include "settings/dialogkit.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

Tfm_Selectdirectory::Tfm_Selectdirectory(QWidget *parent)
    : QDialog(parent),
      stview_selectdir(new QTreeView(this)),
      suibtn_ok(new QPushButton(QStringLiteral("OK"), this)),
      suiBtn_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      folders_(new QFileSystemModel(this))
{
    setWindowTitle(QStringLiteral("Select directory"));
    setFont(settings::dialogFont());
    setFixedSize(280, 270);

    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setReadOnly(true);
    folders_->setRootPath(QDir::rootPath());
    stview_selectdir->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        stview_selectdir->hideColumn(column);
    stview_selectdir->setHeaderHidden(true);
    stview_selectdir->setRootIsDecorated(false);
    stview_selectdir->setIndentation(19);
    stview_selectdir->setSelectionMode(QAbstractItemView::SingleSelection);
    stview_selectdir->setExpanded(folders_->index(QDir::rootPath()), true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(suibtn_ok);
    buttons->addWidget(suiBtn_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(stview_selectdir);
    layout->addLayout(buttons);

    suibtn_ok->setDefault(true);
    connect(suibtn_ok, &QPushButton::clicked, this, &Tfm_Selectdirectory::suibtn_okClick);
    connect(suiBtn_cancel, &QPushButton::clicked, this, &Tfm_Selectdirectory::suiBtn_cancelClick);
}

QString Tfm_Selectdirectory::selectedFolder() const
{
    const QModelIndexList rows = stview_selectdir->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : QDir::toNativeSeparators(folders_->filePath(rows.first()));
}

QModelIndex Tfm_Selectdirectory::reveal(const QString &path)
{
    const QModelIndex index = folders_->index(path);
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        stview_selectdir->setExpanded(up, true);
    return index;
}

void Tfm_Selectdirectory::selectFolder(const QString &path)
{
    const QModelIndex index = reveal(path);
    stview_selectdir->setCurrentIndex(index);
    stview_selectdir->scrollTo(index);
}

void Tfm_Selectdirectory::suibtn_okClick()
{
    selected_dir = selectedFolder();
    accept();
}

void Tfm_Selectdirectory::suiBtn_cancelClick()
{
    reject();
}

void Tfm_Selectdirectory::reject()
{
    selected_dir.clear();
    QDialog::reject();
}

void Tfm_Selectdirectory::showEvent(QShowEvent *event)
{
    settings::centreOnScreen(this);
    // The first showing opens the tree at the user's home, without choosing it.
    if (!homeRevealed_) {
        homeRevealed_ = true;
        const QModelIndex home = reveal(QDir::homePath());
        stview_selectdir->setExpanded(home, true);
        stview_selectdir->scrollTo(home, QAbstractItemView::PositionAtTop);
    }
    QDialog::showEvent(event);
}

void chooseDirectoryInto(Tfm_Selectdirectory *chooser, QLineEdit *edit)
{
    chooser->exec();
    if (!chooser->selected_dir.isEmpty())
        edit->setText(chooser->selected_dir);
}
