#pragma once
#include <QDialog>

class Tfm_Selectdirectory : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_Selectdirectory(QWidget *parent = nullptr);
};
