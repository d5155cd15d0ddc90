#include "skin/skinselect.h"

#include "app/filechooser.h"
#include "app/messageboxes.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/inifile.h"

namespace skin {

namespace {

const QString Section = QStringLiteral("basic");
const QString SkinKey = QStringLiteral("skin");
const QString SkinNameKey = QStringLiteral("skin name");

// The file of the stored choice: numbered skins 1..6; 0 is the file chosen
// with Others while it still exists; anything else falls back to skin 1.
QString storedSkinFile()
{
    const settings::TIniFile ini;
    const int n = ini.ReadInteger(Section, SkinKey, 1);
    if (n >= 1 && n <= 6)
        return numberedSkinFile(n);
    if (n == 0) {
        const QString chosen = ini.ReadString(Section, SkinNameKey, QString());
        if (!chosen.isEmpty() && platform::fileExists(chosen))
            return chosen;
    }
    return numberedSkinFile(1);
}

} // namespace

QString numberedSkinFile(int n)
{
    const QString sep = platform::separator();
    return platform::programFolder() + sep + QStringLiteral("skins") + sep + QStringLiteral("skin%1.skn").arg(n);
}

SkinSelector::SkinSelector(components::ISkin &skin, QWidget &window, IMessageBoxes &boxes, IFileChooser &files,
                           std::function<void()> changed)
    : skin_(skin), window_(window), boxes_(boxes), files_(files), changed_(std::move(changed))
{
}

void SkinSelector::load(const QString &file)
{
    skin_.RemoveSkin(&window_);
    skin_.LoadSkin(file);
    skin_.ApplySkin(&window_, FormName);
}

void SkinSelector::loadAtStartup()
{
    const QString file = storedSkinFile();
    if (platform::fileExists(file))
        load(file);
    else
        showError(boxes_, QStringLiteral("Skin file ") + file + QStringLiteral(" does not exists!"));
}

void SkinSelector::selectNumbered(int n)
{
    settings::TIniFile().WriteInteger(Section, SkinKey, n);
    load(numberedSkinFile(n));
    changed_();
}

void SkinSelector::selectOther()
{
    const QString file = files_.chooseFile(&window_, SkinFileFilter);
    if (file.isEmpty())
        return;
    load(file);
    if (skin_.GetSkinObject(&window_)) {
        settings::TIniFile ini;
        ini.WriteInteger(Section, SkinKey, 0);
        ini.WriteString(Section, SkinNameKey, file);
    } else {
        showInformation(boxes_, QStringLiteral("This skin is invalid."));
        load(storedSkinFile());
    }
    changed_();
}

} // namespace skin
