#pragma once
#include <QDialog>

class Tfm_mp3settings : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_mp3settings(QWidget *parent = nullptr);
};
