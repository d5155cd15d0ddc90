// Draws one form of a skin through the skin engine and saves it as a PNG.
// Usage: skin_screenshot SKIN OUT.png [OBJECT=0|1 ...]
#include "components/skin/iskin.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: skin_screenshot SKIN OUT.png [OBJECT=0|1 ...]\n";
        return 2;
    }
    QWidget window(nullptr, Qt::FramelessWindowHint);
    const auto skin = components::createSkinEngine();
    skin->LoadSkin(args[1]);
    skin->ApplySkin(&window, QStringLiteral("za3dividizuv"));
    const auto form = skin->GetSkinObject(&window);
    if (!form) {
        QTextStream(stderr) << args[1] << ": no form za3dividizuv\n";
        return 1;
    }
    for (const QString &setting : args.mid(3)) {
        const auto object = form->FindObject(setting.section(u'=', 0, 0));
        if (!object) {
            QTextStream(stderr) << "no object " << setting << "\n";
            return 1;
        }
        object->Visible(setting.section(u'=', 1) == QLatin1String("1") ? -1 : 0);
    }
    window.show();
    QApplication::processEvents();
    return window.grab().save(args[2]) ? 0 : 1;
}
