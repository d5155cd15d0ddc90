#pragma once
#include "components/skin/iskin.h"

#include <QString>
#include <functional>

class IFileChooser;
class IMessageBoxes;
class QWidget;

namespace skin {

// Every skin is applied under this form name.
inline const QString FormName = QStringLiteral("za3dividizuv");
inline const QString SkinFileFilter = QStringLiteral("Skin files(*.skn)|*.skn");

// The file of numbered skin n (1..6) in the skins folder beside the program.
QString numberedSkinFile(int n);

// Chooses and loads the main window's skin, and keeps the stored choice in
// the settings file ("basic": "skin", "skin name").
class SkinSelector {
public:
    // changed runs after every skin command, once the new skin is applied.
    SkinSelector(components::ISkin &skin, QWidget &window, IMessageBoxes &boxes, IFileChooser &files,
                 std::function<void()> changed);

    // Loads the stored skin; a missing file is reported and the window stays unskinned.
    void loadAtStartup();
    // Stores n, then loads numbered skin n (1..6).
    void selectNumbered(int n);
    // Lets the user pick a skin file; stores it only if it holds the form.
    void selectOther();

private:
    void load(const QString &file);

    components::ISkin &skin_;
    QWidget &window_;
    IMessageBoxes &boxes_;
    IFileChooser &files_;
    std::function<void()> changed_;
};

} // namespace skin
