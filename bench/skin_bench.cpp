// Times the skin engine on a shipped skin: applying the form with the first
// paint of the window, and the repaint after one overlay changes visibility.
// The peer is QSvgRenderer drawing the whole document into an image of the
// window's size, the least any SVG skin costs per full redraw.
// Usage: skin_bench [skin file] [runs]
#include "components/skin/iskin.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

const QString kForm = QStringLiteral("za3dividizuv");

double medianMs(int runs, const std::function<void()> &once)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        once();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Counts the paints of a widget, so the repaint figure is known to include one.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

void report(const char *what, double ms, double peerMs)
{
    QTextStream(stdout) << QString::asprintf("%-28s %8.3f ms   peer %8.3f ms   ratio %5.2f\n", what,
                                             ms, peerMs, ms / peerMs);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString file = args.value(1, QStringLiteral(SONVERA_BINARY_DIR "/skins/skin1.skn"));
    const int runs = std::max(1, args.value(2, QStringLiteral("51")).toInt());

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "cannot read " << file << "\n";
        return 1;
    }
    const QByteArray svg = in.readAll();
    const auto skin = components::createSkinEngine();
    skin->LoadSkin(file);

    const double fullRender = medianMs(runs, [&] {
        QSvgRenderer renderer(svg);
        QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        renderer.render(&painter);
    });
    const double load = medianMs(runs, [&] { skin->LoadSkin(file); });
    const double apply = medianMs(runs, [&] {
        QWidget window(nullptr, Qt::FramelessWindowHint);
        skin->ApplySkin(&window, kForm);
        window.grab();
        skin->RemoveSkin(&window);
    });

    QWidget window(nullptr, Qt::FramelessWindowHint);
    skin->ApplySkin(&window, kForm);
    const auto form = skin->GetSkinObject(&window);
    const auto overlay = form ? form->FindObject(QStringLiteral("tomp3_click")) : nullptr;
    if (!overlay) {
        QTextStream(stderr) << file << ": no form " << kForm << " with tomp3_click\n";
        return 1;
    }
    window.show();
    QApplication::processEvents();
    PaintCounter counter;
    for (QWidget *child : window.findChildren<QWidget *>())
        child->installEventFilter(&counter);
    short shown = 0;
    const double repaint = medianMs(runs, [&] {
        shown = shown ? 0 : -1;
        overlay->Visible(shown);
        QApplication::processEvents();
    });

    if (counter.paints < runs) {
        QTextStream(stderr) << "the skin repainted " << counter.paints << " times in " << runs << " runs\n";
        return 1;
    }
    report("load (read and check)", load, fullRender);
    report("apply + first paint", apply, fullRender);
    report("visibility repaint", repaint, fullRender);
    return 0;
}
