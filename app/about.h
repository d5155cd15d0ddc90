#pragma once
#include <QDialog>

class QFrame;
class QLabel;

// Names the program, shows its version and links to the home page. Shown
// without being modal; closing it only hides it.
class Tfm_about : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_about(QWidget *parent = nullptr);

    // "About": shows the box, or brings it to the front when it is open.
    void showAbout();

    QFrame *suiForm1;
    QLabel *Image;
    QLabel *Label1;
    QLabel *lbl_version;
    QLabel *Label7;
    QLabel *lbl_web;
    QLabel *Label9;
    QLabel *Label10;

    void FormShow();
    void lbl_webClick();
    void lbl_webMouseEnter();
    void lbl_webMouseLeave();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
