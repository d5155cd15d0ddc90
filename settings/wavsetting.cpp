#include "settings/wavsetting.h"

#include "platform/paths.h"
#include "settings/dialogkit.h"
#include "settings/inifile.h"
#include "settings/selectdir.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("WavOption");
const QString Yes = QStringLiteral("yes");
const QString CdQuality = QStringLiteral("CD quality");

} // namespace

Tfm_wavsettings::Tfm_wavsettings(QWidget *parent)
    : QDialog(parent),
      suibtn_select_dir(new QPushButton(QStringLiteral("OK"), this)),
      suibtn_select_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      normalizeOption_({"Normalize To:  ", "Enable Fade In/Out", "Fade In Length", "Fade Out Length", false}, this)
{
    suiGroupBox2 = normalizeOption_.group;
    suicb_normalize = normalizeOption_.normalize;
    up_normalize = normalizeOption_.level;
    suicb_fade = normalizeOption_.fade;
    ud_fadein = normalizeOption_.fadeIn;
    ud_fadeout = normalizeOption_.fadeOut;
    setWindowTitle(QStringLiteral("WAVE settings"));
    setFont(settings::dialogFont());
    setFixedSize(312, 317);
    buildDirectory();
    buildFormat();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(suibtn_select_dir);
    buttons->addStretch();
    buttons->addWidget(suibtn_select_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 8);
    layout->setSpacing(6);
    layout->addWidget(suiCheckGroup1);
    layout->addWidget(suiRadioGroup1);
    layout->addWidget(suiGroupBox2);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(suibtn_wavdir, &QPushButton::clicked, this, &Tfm_wavsettings::suibtn_wavdirClick);
    connect(suibtn_select_dir, &QPushButton::clicked, this, &Tfm_wavsettings::suibtn_select_dirClick);
    connect(suibtn_select_cancel, &QPushButton::clicked, this, &Tfm_wavsettings::reject);
}

void Tfm_wavsettings::buildDirectory()
{
    suiCheckGroup1 = new QGroupBox(QStringLiteral("Output Directory"), this);
    suiedt_output_dir = new QLineEdit(suiCheckGroup1);
    suiedt_output_dir->setReadOnly(true);
    suibtn_wavdir = new QPushButton(QStringLiteral("Select directory"), suiCheckGroup1);
    auto *layout = new QGridLayout(suiCheckGroup1);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setVerticalSpacing(2);
    layout->addWidget(new QLabel(QStringLiteral("Directory to save wave file"), suiCheckGroup1), 0, 0, 1, 2);
    layout->addWidget(suiedt_output_dir, 1, 0);
    layout->addWidget(suibtn_wavdir, 1, 1);
}

void Tfm_wavsettings::buildFormat()
{
    suiRadioGroup1 = new QGroupBox(QStringLiteral("Output format"), this);
    suirb_decode_cd_quality =
        new QRadioButton(QStringLiteral("Decode MP3s to CD quality(for burn Audio CD)"), suiRadioGroup1);
    suirb_decode_suited = new QRadioButton(QStringLiteral("Decode MP3s to best suited format"), suiRadioGroup1);
    auto *layout = new QVBoxLayout(suiRadioGroup1);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(0);
    layout->addWidget(suirb_decode_cd_quality);
    layout->addWidget(suirb_decode_suited);
}

void Tfm_wavsettings::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        settings::centreOnScreen(this);
        FormShow();
    }
    QDialog::showEvent(event);
}

void Tfm_wavsettings::FormShow()
{
    const settings::TIniFile ini;
    suiedt_output_dir->setText(ini.ReadString(Section, QStringLiteral("Dir"), platform::defaultOutputDirectory()));
    suicb_normalize->setChecked(ini.ReadString(Section, QStringLiteral("Normalize"), Yes) == Yes);
    up_normalize->setValue(ini.ReadInteger(Section, QStringLiteral("Normalizesize"), 98));
    suicb_fade->setChecked(ini.ReadBool(Section, QStringLiteral("Fade"), true));
    normalizeOption_.fadeChanged();
    ud_fadein->setValue(ini.ReadInteger(Section, QStringLiteral("Fade In"), 5));
    ud_fadeout->setValue(ini.ReadInteger(Section, QStringLiteral("Fade Out"), 5));
    normalizeOption_.normalizeChanged();
    const bool cd = ini.ReadString(Section, QStringLiteral("Format"), CdQuality) == CdQuality;
    (cd ? suirb_decode_cd_quality : suirb_decode_suited)->setChecked(true);
}

void Tfm_wavsettings::suibtn_wavdirClick()
{
    if (chooser_)
        chooseDirectoryInto(chooser_, suiedt_output_dir);
}

void Tfm_wavsettings::suibtn_select_dirClick()
{
    settings::TIniFile ini;
    ini.WriteString(Section, QStringLiteral("Dir"), suiedt_output_dir->text());
    ini.WriteString(Section, QStringLiteral("Normalize"),
                    suicb_normalize->isChecked() ? Yes : QStringLiteral("no"));
    ini.WriteInteger(Section, QStringLiteral("Normalizesize"), up_normalize->value());
    ini.WriteString(Section, QStringLiteral("Format"),
                    suirb_decode_cd_quality->isChecked() ? CdQuality : QStringLiteral("suited"));
    ini.WriteBool(Section, QStringLiteral("Fade"), suicb_fade->isChecked());
    ini.WriteInteger(Section, QStringLiteral("Fade In"), ud_fadein->value());
    ini.WriteInteger(Section, QStringLiteral("Fade Out"), ud_fadeout->value());
    accept();
}
