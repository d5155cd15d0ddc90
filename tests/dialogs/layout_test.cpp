#include "app/about.h"
#include "app/appglobals.h"
#include "settings/mp3settings.h"
#include "settings/selectdir.h"
#include "settings/wavsetting.h"
#include "support/temp_config.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Widgets whose own parts are laid out by Qt, not by the dialog.
bool isCompound(const QWidget *w)
{
    return qobject_cast<const QSpinBox *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QSlider *>(w);
}

// Checks that w shows its whole caption and lies inside its parent, then
// that its visible children do not overlap one another.
void checkLayout(const QWidget *w, const QString &dialog)
{
    const QString where = dialog + QStringLiteral(": ") + w->metaObject()->className() + QLatin1Char(' ') +
                          w->objectName();
    const QString text = qobject_cast<const QLabel *>(w)           ? qobject_cast<const QLabel *>(w)->text()
                         : qobject_cast<const QAbstractButton *>(w) ? qobject_cast<const QAbstractButton *>(w)->text()
                                                                    : QString();
    if (qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w) ||
        qobject_cast<const QComboBox *>(w) || qobject_cast<const QSpinBox *>(w)) {
        EXPECT_GE(w->width(), w->sizeHint().width()) << qPrintable(where + QLatin1Char(' ') + text);
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << qPrintable(where + QLatin1Char(' ') + text);
    }
    if (const auto *group = qobject_cast<const QGroupBox *>(w)) {
        EXPECT_LT(group->fontMetrics().horizontalAdvance(group->title()) + 16, group->width())
            << qPrintable(where + QLatin1Char(' ') + group->title());
    }
    if (!w->isWindow()) {
        EXPECT_TRUE(w->parentWidget()->contentsRect().contains(w->geometry())) << qPrintable(where + QLatin1Char(' ') + text);
    }
    if (isCompound(w))
        return;
    QList<const QWidget *> shown;
    for (const QObject *child : w->children())
        if (const auto *cw = qobject_cast<const QWidget *>(child); cw && cw->isVisible() && !cw->isWindow())
            shown << cw;
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << qPrintable(where) << " children " << shown[i]->metaObject()->className() << " and "
                << shown[j]->metaObject()->className();
        checkLayout(shown[i], dialog);
    }
}

struct DialogCase {
    const char *name;
    std::function<std::unique_ptr<QWidget>()> make;
};

void PrintTo(const DialogCase &c, std::ostream *os)
{
    *os << c.name;
}

class DialogLayout : public ::testing::TestWithParam<DialogCase> {};

// Every caption shows whole and no control overlaps another, with this
// desktop's fonts at the dialog's fixed size. SONVERA_SCREENSHOTS names a
// folder that receives a picture of each dialog.
TEST_P(DialogLayout, ShowsEveryCaptionWholeWithoutOverlap)
{
    TempConfig config;
    ProgramVersion = QStringLiteral("1.22");
    const auto dialog = GetParam().make();
    dialog->show();
    checkLayout(dialog.get(), QString::fromLatin1(GetParam().name));
    const QString shots = qEnvironmentVariable("SONVERA_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QTest::qWait(500); // the folder tree fills in the background
        EXPECT_TRUE(dialog->grab().save(QDir(shots).filePath(QString::fromLatin1(GetParam().name) + ".png")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogLayout,
    ::testing::Values(DialogCase{"mp3settings", [] { return std::make_unique<Tfm_mp3settings>(); }},
                      DialogCase{"wavsettings", [] { return std::make_unique<Tfm_wavsettings>(); }},
                      DialogCase{"selectdirectory", [] { return std::make_unique<Tfm_Selectdirectory>(); }},
                      DialogCase{"about", [] { return std::make_unique<Tfm_about>(); }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
