#pragma once
#include <QDialog>

class Tfm_wavsettings : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_wavsettings(QWidget *parent = nullptr);
};
