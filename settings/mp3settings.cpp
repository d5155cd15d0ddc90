#include "settings/mp3settings.h"

#include "platform/paths.h"
#include "settings/dialogkit.h"
#include "settings/inifile.h"
#include "settings/selectdir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// Readers name the section one way; the first write creates it in the other.
const QString ReadSection = QStringLiteral("Mp3Option");
const QString WriteSection = QStringLiteral("Mp3option");

// kbit/s per track-bar position.
constexpr int BitRates[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
// Hz per sample-rate list item.
constexpr int SampleRates[] = {48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000, 6000};
const char *const PresetTexts[] = {"High quality", "Low quality", "Customer"};

// The position of value in table, or -1.
template <std::size_t N>
int indexOf(const int (&table)[N], int value)
{
    const auto it = std::find(std::begin(table), std::end(table), value);
    return it == std::end(table) ? -1 : int(it - std::begin(table));
}

} // namespace

Tfm_mp3settings::Tfm_mp3settings(QWidget *parent)
    : QDialog(parent),
      suibtn_ok(new QPushButton(QStringLiteral("OK"), this)),
      suibtn_default(new QPushButton(QStringLiteral("Default"), this)),
      suibtn_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      normalizeOption_({"Normalize To:", "Enable Fade  In/Out", "Fade in Length", "Fade Out Length", true}, this)
{
    suiGroupBox1 = normalizeOption_.group;
    suicb_mp3norm = normalizeOption_.normalize;
    up_mp3norm = normalizeOption_.level;
    suicb_mp3fade = normalizeOption_.fade;
    up_mp3fadein = normalizeOption_.fadeIn;
    up_mp3fadeout = normalizeOption_.fadeOut;
    setWindowTitle(QStringLiteral("MP3 settings"));
    setFont(settings::dialogFont());
    setFixedSize(353, 378);
    buildGeneral();
    buildBitrate();
    buildMode();
    buildDirectory();

    auto *band = new QHBoxLayout;
    band->addWidget(suigb_bitrate, 1);
    band->addWidget(suigb_mode, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {suibtn_ok, suibtn_default, suibtn_cancel})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 8);
    layout->setSpacing(4);
    layout->addWidget(suirg_general);
    layout->addLayout(band);
    layout->addWidget(suigb_outputdirectory);
    layout->addWidget(suiGroupBox1);
    layout->addStretch();
    layout->addLayout(buttons);

    connectRules();
    suiTbr_bitrateChange();
}

void Tfm_mp3settings::buildGeneral()
{
    suirg_general = new QGroupBox(QStringLiteral("General"), this);
    suirb_high_quality = new QRadioButton(QStringLiteral("Encode with high quality (reduce speed)"), suirg_general);
    suirb_low_quality = new QRadioButton(QStringLiteral("Encode with low quality"), suirg_general);
    suirb_customer = new QRadioButton(QStringLiteral("Customer quality"), suirg_general);
    presets_ = {suirb_high_quality, suirb_low_quality, suirb_customer};
    auto *layout = new QVBoxLayout(suirg_general);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setSpacing(0);
    for (QRadioButton *preset : presets_)
        layout->addWidget(preset);
}

void Tfm_mp3settings::buildBitrate()
{
    suigb_bitrate = new QGroupBox(QStringLiteral("Bit rate"), this);
    lbl_currnet_bitrate = new QLabel(QStringLiteral("Current bit rate:"), suigb_bitrate);
    lbl_bitrate = new QLabel(suigb_bitrate);
    suiTbr_bitrate = new QSlider(Qt::Horizontal, suigb_bitrate);
    suiTbr_bitrate->setRange(0, int(std::size(BitRates)) - 1);
    suiTbr_bitrate->setPageStep(1);
    suiTbr_bitrate->setTickPosition(QSlider::TicksBelow);
    suiTbr_bitrate->setTickInterval(1);

    // Room for the widest value, so the label never pushes the band wider.
    lbl_bitrate->setMinimumWidth(lbl_bitrate->fontMetrics().horizontalAdvance(QStringLiteral("320 KBits")));

    auto *current = new QHBoxLayout;
    current->setSpacing(6);
    current->addWidget(lbl_currnet_bitrate);
    current->addWidget(lbl_bitrate, 1);
    auto *layout = new QGridLayout(suigb_bitrate);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setVerticalSpacing(0);
    layout->addLayout(current, 0, 0, 1, 2);
    layout->addWidget(suiTbr_bitrate, 1, 0, 1, 2);
    const char *const ends[][2] = {{"Poor quality", "high quality"}, {"Small file", "Big file"}};
    for (int row = 0; row < 2; ++row) {
        layout->addWidget(new QLabel(QString::fromLatin1(ends[row][0]), suigb_bitrate), row + 2, 0);
        layout->addWidget(new QLabel(QString::fromLatin1(ends[row][1]), suigb_bitrate), row + 2, 1,
                          Qt::AlignRight);
    }
}

void Tfm_mp3settings::buildMode()
{
    suigb_mode = new QGroupBox(QStringLiteral("Mode"), this);
    suicb_samplerate = new QComboBox(suigb_mode);
    for (int rate : SampleRates)
        suicb_samplerate->addItem(QString::number(rate) + QStringLiteral("HZ"));
    suicb_mode = new QComboBox(suigb_mode);
    suicb_mode->addItems({QStringLiteral("mono"), QStringLiteral("stereo")});
    auto *layout = new QGridLayout(suigb_mode);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setHorizontalSpacing(4);
    layout->addWidget(new QLabel(QStringLiteral("Sample rate"), suigb_mode), 0, 0);
    layout->addWidget(suicb_samplerate, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Mode"), suigb_mode), 1, 0);
    layout->addWidget(suicb_mode, 1, 1);
    for (QComboBox *list : {suicb_samplerate, suicb_mode})
        list->setCurrentIndex(-1);
}

void Tfm_mp3settings::buildDirectory()
{
    suigb_outputdirectory = new QGroupBox(QStringLiteral("Output directory"), this);
    suied_directory = new QLineEdit(suigb_outputdirectory);
    suied_directory->setReadOnly(true);
    suibtn_electdirectory = new QPushButton(QStringLiteral("Select directory"), suigb_outputdirectory);
    auto *layout = new QHBoxLayout(suigb_outputdirectory);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->addWidget(suied_directory, 1);
    layout->addWidget(suibtn_electdirectory);
}

void Tfm_mp3settings::connectRules()
{
    for (QRadioButton *preset : presets_)
        connect(preset, &QRadioButton::toggled, this, [this, preset](bool on) {
            if (on)
                presetSelected(preset);
        });
    connect(suiTbr_bitrate, &QSlider::valueChanged, this, &Tfm_mp3settings::suiTbr_bitrateChange);
    connect(suibtn_ok, &QPushButton::clicked, this, &Tfm_mp3settings::suibtn_okClick);
    connect(suibtn_default, &QPushButton::clicked, this, &Tfm_mp3settings::suibtn_defaultClick);
    connect(suibtn_cancel, &QPushButton::clicked, this, &Tfm_mp3settings::reject);
    connect(suibtn_electdirectory, &QPushButton::clicked, this, &Tfm_mp3settings::suibtn_electdirectoryClick);
}

void Tfm_mp3settings::presetSelected(QRadioButton *preset)
{
    const bool custom = preset == suirb_customer;
    for (QWidget *encoder : {static_cast<QWidget *>(suicb_samplerate), static_cast<QWidget *>(suicb_mode),
                             static_cast<QWidget *>(suiTbr_bitrate)})
        encoder->setEnabled(custom);
}

void Tfm_mp3settings::suiTbr_bitrateChange()
{
    lbl_bitrate->setText(QString::number(BitRates[suiTbr_bitrate->value()]) + QStringLiteral(" KBits"));
}

int Tfm_mp3settings::selectedPreset() const
{
    const auto it = std::find_if(presets_.begin(), presets_.end(),
                                 [](const QRadioButton *preset) { return preset->isChecked(); });
    return it == presets_.end() ? -1 : int(it - presets_.begin());
}

void Tfm_mp3settings::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        settings::centreOnScreen(this);
        FormShow();
    }
    QDialog::showEvent(event);
}

void Tfm_mp3settings::FormShow()
{
    const settings::TIniFile ini;
    suied_directory->setText(ini.ReadString(ReadSection, QStringLiteral("dir"), platform::defaultOutputDirectory()));
    const int mode = ini.ReadInteger(ReadSection, QStringLiteral("mode"), suicb_mode->currentIndex());
    suicb_mode->setCurrentIndex(mode == 0 || mode == 1 ? mode : -1);
    const QString preset = ini.ReadString(ReadSection, QStringLiteral("quickmode"), QStringLiteral("Customer"));
    suicb_mp3norm->setChecked(ini.ReadBool(ReadSection, QStringLiteral("normalize"), true));
    suicb_mp3fade->setChecked(ini.ReadBool(ReadSection, QStringLiteral("fade"), true));
    up_mp3norm->setValue(ini.ReadInteger(ReadSection, QStringLiteral("normalizesize"), 98));
    up_mp3fadein->setValue(ini.ReadInteger(ReadSection, QStringLiteral("fade in"), 10));
    up_mp3fadeout->setValue(ini.ReadInteger(ReadSection, QStringLiteral("fade out"), 20));
    normalizeOption_.normalizeChanged();
    normalizeOption_.fadeChanged();
    const auto named = std::find(std::begin(PresetTexts), std::end(PresetTexts), preset);
    if (named != std::end(PresetTexts)) {
        QRadioButton *button = presets_[std::size_t(named - std::begin(PresetTexts))];
        button->setChecked(true);
        presetSelected(button);
    }
    const int rate = indexOf(SampleRates, ini.ReadInteger(ReadSection, QStringLiteral("samplerate"), -1));
    if (rate >= 0)
        suicb_samplerate->setCurrentIndex(rate);
    const int position = indexOf(BitRates, ini.ReadInteger(ReadSection, QStringLiteral("bitrate"), -1));
    if (position >= 0)
        suiTbr_bitrate->setValue(position);
}

void Tfm_mp3settings::suibtn_defaultClick()
{
    suirb_customer->setChecked(true);
    presetSelected(suirb_customer);
    suicb_samplerate->setCurrentIndex(indexOf(SampleRates, 44100));
    suicb_mode->setCurrentIndex(1);
    suiTbr_bitrate->setValue(indexOf(BitRates, 128));
    suicb_mp3norm->setChecked(true);
    normalizeOption_.normalizeChanged();
    suicb_mp3fade->setChecked(true);
    normalizeOption_.fadeChanged();
    up_mp3norm->setValue(98);
    up_mp3fadein->setValue(10);
    up_mp3fadeout->setValue(20);
}

void Tfm_mp3settings::suibtn_electdirectoryClick()
{
    if (chooser_)
        chooseDirectoryInto(chooser_, suied_directory);
}

void Tfm_mp3settings::suibtn_okClick()
{
    settings::TIniFile ini;
    ini.WriteString(WriteSection, QStringLiteral("dir"), suied_directory->text());
    ini.WriteInteger(WriteSection, QStringLiteral("mode"), suicb_mode->currentIndex());
    ini.WriteBool(WriteSection, QStringLiteral("normalize"), suicb_mp3norm->isChecked());
    ini.WriteInteger(WriteSection, QStringLiteral("normalizesize"), up_mp3norm->value());
    ini.WriteBool(WriteSection, QStringLiteral("fade"), suicb_mp3fade->isChecked());
    ini.WriteInteger(WriteSection, QStringLiteral("fade in"), up_mp3fadein->value());
    ini.WriteInteger(WriteSection, QStringLiteral("fade out"), up_mp3fadeout->value());
    const int preset = selectedPreset();
    if (preset >= 0)
        ini.WriteString(WriteSection, QStringLiteral("quickmode"), QString::fromLatin1(PresetTexts[preset]));
    ini.WriteInteger(WriteSection, QStringLiteral("bitrate"), BitRates[suiTbr_bitrate->value()]);
    const int rate = suicb_samplerate->currentIndex();
    ini.WriteInteger(WriteSection, QStringLiteral("samplerate"), rate >= 0 ? SampleRates[rate] : 0);
    accept();
}
