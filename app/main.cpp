#include "app/application.h"
#include "app/forms.h"
#include "app/mainform.h"

int main(int argc, char *argv[])
{
    SonveraApplication app(argc, argv);
    // The window's close decides when the program ends, not its last window.
    app.setQuitOnLastWindowClosed(false);
    createForms(realMainParts());
    app.setErrorHandler([] { fm_main->ApplicationEvents1Exception(); });
    KeyHook keys([](int key) { fm_main->ApplicationEvents1Key(key); });
    app.installEventFilter(&keys);
    QObject::connect(fm_main, &Tfm_main::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    fm_main->show();
    const int result = app.exec();
    destroyForms();
    return result;
}
