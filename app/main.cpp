#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sonvera"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Sonvera"));
    window.resize(455, 341);
    window.show();
    return app.exec();
}
