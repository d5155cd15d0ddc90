#pragma once
#include "settings/dialogkit.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class Tfm_Selectdirectory;

// Edits the decode-to-WAV job's settings. Every showing reloads every control
// from the settings file, so unsaved changes do not survive a showing.
class Tfm_wavsettings : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_wavsettings(QWidget *parent = nullptr);

    // The chooser that "Select directory" opens (the one shared instance).
    void setDirectoryChooser(Tfm_Selectdirectory *chooser) { chooser_ = chooser; }

    QGroupBox *suiCheckGroup1;
    QLineEdit *suiedt_output_dir;
    QPushButton *suibtn_wavdir;
    QGroupBox *suiRadioGroup1;
    QRadioButton *suirb_decode_cd_quality;
    QRadioButton *suirb_decode_suited;
    QGroupBox *suiGroupBox2;
    QCheckBox *suicb_normalize;
    QSpinBox *up_normalize;
    QCheckBox *suicb_fade;
    QSpinBox *ud_fadein;
    QSpinBox *ud_fadeout;
    QPushButton *suibtn_select_dir;
    QPushButton *suibtn_select_cancel;

    void FormShow();
    void suibtn_select_dirClick();
    void suibtn_wavdirClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildDirectory();
    void buildFormat();

    Tfm_Selectdirectory *chooser_ = nullptr;
    const settings::NormalizeOption normalizeOption_;
};
