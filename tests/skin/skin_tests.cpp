#include "components/skin/iskin.h"
#include "components/skin/skinfile.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QString kForm = QStringLiteral("za3dividizuv");

struct Button {
    const char *name;
    QPoint centre;
    const char *overlays[2];
};

// Where the shipped skins put their buttons, and the overlays over each.
const Button kButtons[] = {
    {"help", {382, 16}, {}},
    {"web", {408, 16}, {}},
    {"quit", {434, 16}, {}},
    {"setting", {41, 45}, {}},
    {"help_button", {89, 45}, {}},
    {"normalize", {80, 314}, {"normalize_click", "normalize_disable"}},
    {"towav", {198, 314}, {"towav_click", "towav_disable"}},
    {"tomp3", {297, 314}, {"tomp3_click", "tomp3_disable"}},
    {"stop", {396, 314}, {"stop_disable"}},
};

QString shippedSkin(int n)
{
    return QStringLiteral(SONVERA_BINARY_DIR "/skins/skin%1.skn").arg(n);
}

class Skin : public ::testing::Test {
protected:
    Skin() : window(nullptr, Qt::FramelessWindowHint)
    {
        skin->setOnClick([this](components::ISkinObject &o) { clicks << o.Name(); });
        window.show();
    }

    void apply(const QString &file)
    {
        skin->LoadSkin(file);
        skin->ApplySkin(&window, kForm);
    }

    std::shared_ptr<components::ISkinObject> object(const QString &name)
    {
        const auto form = skin->GetSkinObject(&window);
        return form ? form->FindObject(name) : nullptr;
    }

    void mouse(QEvent::Type type, QPoint local, QPoint global)
    {
        QWidget *target = window.childAt(local);
        ASSERT_NE(target, nullptr);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(target->mapFrom(&window, local)), QPointF(global),
                          Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    // The names a click at a point of the window reports.
    QStringList clickAt(QPoint local)
    {
        clicks.clear();
        const QPoint global = window.mapToGlobal(local);
        mouse(QEvent::MouseButtonPress, local, global);
        mouse(QEvent::MouseButtonRelease, local, global);
        return clicks;
    }

    QImage pixels(QRect area) { return window.grab(area).toImage(); }

    std::unique_ptr<components::ISkin> skin = components::createSkinEngine();
    QWidget window;
    QStringList clicks;
};

class ShippedSkin : public Skin, public ::testing::WithParamInterface<int> {};

TEST_P(ShippedSkin, HoldsEveryButtonAndOverlayInTheIdleState)
{
    apply(shippedSkin(GetParam()));
    ASSERT_NE(skin->GetSkinObject(&window), nullptr);
    EXPECT_EQ(window.size(), QSize(455, 341));
    for (const Button &b : kButtons) {
        const auto button = object(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->Name(), b.name);
        for (const char *overlay : b.overlays) {
            if (overlay) {
                EXPECT_NE(object(overlay), nullptr) << overlay;
            }
        }
        // Idle: only Stop is covered.
        const QString expected = QString(b.name) == "stop" ? "stop_disable" : b.name;
        EXPECT_EQ(clickAt(b.centre), QStringList{expected}) << b.name;
    }
    EXPECT_EQ(object("nonexistent"), nullptr);
}

TEST_P(ShippedSkin, ShownOverlayTakesTheClickAndChangesThePicture)
{
    apply(shippedSkin(GetParam()));
    for (const Button &b : kButtons) {
        const QRect area(b.centre - QPoint(30, 10), QSize(60, 20));
        for (const char *name : b.overlays) {
            if (!name)
                continue;
            const auto overlay = object(name);
            ASSERT_NE(overlay, nullptr);
            overlay->Visible(0);
            const QImage hidden = pixels(area);
            EXPECT_EQ(clickAt(b.centre), QStringList{b.name}) << name;
            overlay->Visible(-1);
            EXPECT_NE(pixels(area), hidden) << name;
            EXPECT_EQ(clickAt(b.centre), QStringList{name});
            overlay->Visible(0);
            EXPECT_EQ(pixels(area), hidden) << name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin, ::testing::Range(1, 7));

TEST_F(Skin, MenusDropRightUnderTheirButtons)
{
    apply(shippedSkin(1));
    // The popups open with their top-left corner at (15, 56) and (69, 56).
    EXPECT_EQ(clickAt({16, 54}), QStringList{"setting"});
    EXPECT_EQ(clickAt({70, 54}), QStringList{"help_button"});
    EXPECT_EQ(clickAt({16, 58}), QStringList{});
    EXPECT_EQ(clickAt({70, 58}), QStringList{});
    EXPECT_EQ(clickAt({14, 45}), QStringList{});
}

TEST_F(Skin, ClickOffEveryObjectReportsNothing)
{
    apply(shippedSkin(1));
    EXPECT_EQ(clickAt({228, 170}), QStringList{});
    EXPECT_EQ(clickAt({300, 45}), QStringList{});
}

TEST_F(Skin, DraggingMovesTheWindowWithoutAClick)
{
    apply(shippedSkin(1));
    const QPoint start = window.pos();
    const QPoint local(80, 314); // on "normalize": a drag there still gives no command
    const QPoint global = window.mapToGlobal(local);
    clicks.clear();
    mouse(QEvent::MouseButtonPress, local, global);
    mouse(QEvent::MouseMove, local, global + QPoint(40, 25));
    mouse(QEvent::MouseButtonRelease, local, global + QPoint(40, 25));
    EXPECT_EQ(window.pos(), start + QPoint(40, 25));
    EXPECT_TRUE(clicks.isEmpty());
}

TEST_F(Skin, ObjectsOfAReplacedFormAreHarmless)
{
    apply(shippedSkin(1));
    const auto oldForm = skin->GetSkinObject(&window);
    const auto oldStop = object("stop_disable");
    ASSERT_NE(oldStop, nullptr);
    apply(shippedSkin(2));
    ASSERT_NE(skin->GetSkinObject(&window), nullptr);
    const QImage before = pixels(window.rect());
    oldStop->Visible(0);
    oldStop->Visible(-1);
    EXPECT_EQ(oldForm->FindObject("stop"), nullptr);
    EXPECT_EQ(oldStop->Name(), "stop_disable");
    EXPECT_EQ(clickAt({396, 314}), QStringList{"stop_disable"});
    EXPECT_EQ(pixels(window.rect()), before);

    skin->RemoveSkin(&window);
    skin->RemoveSkin(&window);
    EXPECT_EQ(skin->GetSkinObject(&window), nullptr);
    oldStop->Visible(0);
}

TEST_F(Skin, ClickHandlerMayChangeTheSkin)
{
    apply(shippedSkin(1));
    skin->setOnClick([this](components::ISkinObject &o) {
        clicks << o.Name();
        skin->RemoveSkin(&window);
        apply(shippedSkin(3));
        // As a popup menu does: a nested loop that runs deferred deletions.
        QEventLoop menu;
        QTimer::singleShot(0, &menu, &QEventLoop::quit);
        menu.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    EXPECT_EQ(clickAt({80, 314}), QStringList{"normalize"});
    QApplication::processEvents();
    EXPECT_EQ(clickAt({80, 314}), QStringList{"normalize"});
    QApplication::processEvents();
    EXPECT_NE(skin->GetSkinObject(&window), nullptr);
}

TEST_F(Skin, EngineMayGoBeforeTheWindow)
{
    apply(shippedSkin(1));
    const auto stop = object("stop_disable");
    skin.reset();
    QApplication::processEvents();
    stop->Visible(0);
    EXPECT_EQ(window.childAt({396, 314}), nullptr);
}

// A small skin: "a" drawn, "b" hidden by attribute, "c" hidden by style, an
// unnamed decoration, all inside a moved group.
const char kSmallSkin[] = R"SVG(<?xml version="1.0"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     width="200" height="100" viewBox="0 0 400 200">
  <defs><linearGradient id="g"><stop offset="0" stop-color="#00f"/></linearGradient></defs>
  <g transform="translate(100,50)">
    <g id="za3dividizuv">
      <rect x="-100" y="-50" width="400" height="200" fill="url(#g)"/>
      <rect id="a" x="0" y="0" width="40" height="40" fill="#f00"/>
      <rect id="b" x="20" y="0" width="40" height="40" fill="#0f0" display="none"/>
      <use id="c" xlink:href="#a" x="100" style="fill:#0f0; visibility:hidden"/>
      %1
    </g>
  </g>
</svg>)SVG";

QByteArray smallSkin(const QString &extra = {})
{
    return QString::fromUtf8(kSmallSkin).arg(extra).toUtf8();
}

TEST(SkinFile, FormPartsKeepOrderNamesAndVisibility)
{
    const auto file = components::SkinFile::fromBytes(smallSkin());
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->form("a"));
    EXPECT_FALSE(file->form("nothing"));
    const auto form = file->form(kForm);
    ASSERT_TRUE(form);
    ASSERT_EQ(form->parts.size(), 4u);
    EXPECT_TRUE(form->parts[0].name.isEmpty());
    EXPECT_FALSE(form->parts[0].renderId.isEmpty());
    const bool visible[] = {true, true, false, false};
    const char *names[] = {"", "a", "b", "c"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(form->parts[i].name, names[i]);
        EXPECT_EQ(form->parts[i].visible, visible[i]) << i;
    }
}

class SmallSkin : public Skin {
protected:
    void applyBytes(const QByteArray &svg)
    {
        QFile file(dir.filePath("skin.skn"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(svg), svg.size());
        file.close();
        apply(file.fileName());
    }
    QTemporaryDir dir;
};

TEST_F(SmallSkin, ScalesTheViewBoxAndFollowsGroupTransforms)
{
    applyBytes(smallSkin());
    ASSERT_NE(skin->GetSkinObject(&window), nullptr);
    EXPECT_EQ(window.size(), QSize(200, 100));
    // "a" spans document 100..140 x 50..90: half that in the window.
    EXPECT_EQ(clickAt({55, 30}), QStringList{"a"});
    EXPECT_EQ(clickAt({75, 30}), QStringList{});
    EXPECT_EQ(QColor(pixels(window.rect()).pixel(55, 30)), QColor(Qt::red));
    object("b")->Visible(-1);
    EXPECT_EQ(clickAt({65, 30}), QStringList{"b"});
    EXPECT_EQ(QColor(pixels(window.rect()).pixel(65, 30)), QColor(Qt::green));
    object("c")->Visible(-1);
    EXPECT_EQ(clickAt({105, 30}), QStringList{"c"});
}

// A good skin made 50 MB long by a comment after it.
QByteArray bigSkin()
{
    return smallSkin() + "<!-- " + QByteArray(50 * 1024 * 1024, 'x') + " -->";
}

QByteArray randomBytes()
{
    QByteArray bytes(4096, '\0');
    QRandomGenerator generator(7);
    for (char &c : bytes)
        c = static_cast<char>(generator.bounded(256));
    return bytes;
}

struct Hostile {
    const char *what;
    std::function<QByteArray(const QString &outside)> bytes;
};

// The small skin with a prolog of its own.
QByteArray withProlog(const QByteArray &prolog, const QString &extra = {})
{
    return smallSkin(extra).replace("<?xml version=\"1.0\"?>", "<?xml version=\"1.0\"?>" + prolog);
}

const Hostile kHostile[] = {
    {"empty", [](const QString &) { return QByteArray(); }},
    {"random bytes", [](const QString &) { return randomBytes(); }},
    {"plain text", [](const QString &) { return QByteArray("Just some words.\n"); }},
    {"malformed XML", [](const QString &) { return smallSkin("<rect id='x'>"); }},
    {"other XML", [](const QString &) { return QByteArray("<html><g id='za3dividizuv'/></html>"); }},
    {"no such form", [](const QString &) { return smallSkin().replace("za3dividizuv", "other"); }},
    {"form not a group",
     [](const QString &) { return smallSkin("<rect id='za3dividizuv' width='1' height='1'/>").replace("g id=\"za3dividizuv\"", "g id=\"f\""); }},
    {"50 MB", [](const QString &) { return bigSkin(); }},
    {"deep nesting",
     [](const QString &) {
         return smallSkin(QString("<g>").repeated(300) + QString("</g>").repeated(300));
     }},
    {"image from a file",
     [](const QString &f) { return smallSkin("<image id='i' width='9' height='9' xlink:href='" + f + "'/>"); }},
    {"image by file URL",
     [](const QString &f) { return smallSkin("<image id='i' width='9' height='9' href='file://" + f + "'/>"); }},
    {"image from the network",
     [](const QString &) { return smallSkin("<image id='i' width='9' height='9' xlink:href='http://example.com/a.png'/>"); }},
    {"use of another file",
     [](const QString &f) { return smallSkin("<use id='u' xlink:href='" + f + "#a'/>"); }},
    {"fill from another file",
     [](const QString &f) { return smallSkin("<rect id='r' width='9' height='9' fill='url(" + f + "#g)'/>"); }},
    {"style import",
     [](const QString &f) { return smallSkin("<style>@import \"" + f + "\";</style>"); }},
    {"style url",
     [](const QString &) { return smallSkin("<style>rect { fill: url( 'http://example.com/p.svg#g') }</style>"); }},
    {"external entity",
     [](const QString &f) {
         return withProlog("<!DOCTYPE svg [<!ENTITY x SYSTEM \"" + f.toUtf8() + "\">]>", "<text>&x;</text>");
     }},
    {"internal entity",
     [](const QString &) {
         return withProlog("<!DOCTYPE svg [<!ENTITY x \"xx\">]>", "<text>&x;</text>");
     }},
    {"stylesheet instruction",
     [](const QString &f) { return withProlog("<?xml-stylesheet href=\"" + f.toUtf8() + "\"?>"); }},
};

void PrintTo(const Hostile &hostile, std::ostream *out)
{
    *out << hostile.what;
}

class HostileSkin : public SmallSkin, public ::testing::WithParamInterface<Hostile> {};

TEST_F(SmallSkin, TheHostileCasesAreBuiltOnAGoodSkin)
{
    applyBytes(smallSkin("<image id='i' width='9' height='9' xlink:href='data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg=='/>"
                         "<use id='u' xlink:href='#a'/><style>rect { fill: url(#g) }</style>"));
    EXPECT_NE(skin->GetSkinObject(&window), nullptr);
}

TEST_P(HostileSkin, LeavesTheWindowWithoutAForm)
{
    // A picture outside the skin file that no skin may show.
    QImage outside(9, 9, QImage::Format_RGB32);
    outside.fill(Qt::magenta);
    const QString outsideFile = dir.filePath("outside.png");
    ASSERT_TRUE(outside.save(outsideFile));

    apply(shippedSkin(1));
    ASSERT_NE(skin->GetSkinObject(&window), nullptr);
    const auto old = object("stop");
    applyBytes(GetParam().bytes(outsideFile));
    EXPECT_EQ(skin->GetSkinObject(&window), nullptr);
    EXPECT_EQ(window.childAt({10, 10}), nullptr);
    old->Visible(0);
    EXPECT_TRUE(clicks.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSkin, ::testing::ValuesIn(kHostile),
                         [](const ::testing::TestParamInfo<Hostile> &info) {
                             std::string name;
                             for (const char *c = info.param.what; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

TEST_F(Skin, MissingFileAndDeviceLeaveNoForm)
{
    for (const QString &file : {QStringLiteral("/nonexistent/skin.skn"), QStringLiteral("/dev/zero")}) {
        apply(shippedSkin(1));
        apply(file);
        EXPECT_EQ(skin->GetSkinObject(&window), nullptr) << file.toStdString();
    }
}

} // namespace
