#pragma once
#include "settings/dialogkit.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class Tfm_Selectdirectory;

// Edits the MP3 jobs' settings. Every showing reloads the controls from the
// settings file; what a reload leaves alone keeps its state from before.
class Tfm_mp3settings : public QDialog {
    Q_OBJECT
public:
    explicit Tfm_mp3settings(QWidget *parent = nullptr);

    // The chooser that "Select directory" opens (the one shared instance).
    void setDirectoryChooser(Tfm_Selectdirectory *chooser) { chooser_ = chooser; }

    QGroupBox *suirg_general;
    QRadioButton *suirb_high_quality;
    QRadioButton *suirb_low_quality;
    QRadioButton *suirb_customer;
    QGroupBox *suigb_bitrate;
    QLabel *lbl_currnet_bitrate;
    QLabel *lbl_bitrate;
    QSlider *suiTbr_bitrate;
    QGroupBox *suigb_mode;
    QComboBox *suicb_samplerate;
    QComboBox *suicb_mode;
    QGroupBox *suigb_outputdirectory;
    QLineEdit *suied_directory;
    QPushButton *suibtn_electdirectory;
    QGroupBox *suiGroupBox1;
    QCheckBox *suicb_mp3norm;
    QSpinBox *up_mp3norm;
    QCheckBox *suicb_mp3fade;
    QSpinBox *up_mp3fadein;
    QSpinBox *up_mp3fadeout;
    QPushButton *suibtn_ok;
    QPushButton *suibtn_default;
    QPushButton *suibtn_cancel;

    void FormShow();
    void suibtn_okClick();
    void suibtn_defaultClick();
    void suibtn_electdirectoryClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildGeneral();
    void buildBitrate();
    void buildMode();
    void buildDirectory();
    void connectRules();

    // The change rules, run whenever their control's state changes.
    void presetSelected(QRadioButton *preset);
    void suiTbr_bitrateChange();

    // Index of the selected preset, -1 for none.
    int selectedPreset() const;
    // In the order of the stored preset texts.
    std::array<QRadioButton *, 3> presets_;
    const settings::NormalizeOption normalizeOption_;
    Tfm_Selectdirectory *chooser_ = nullptr;
};
