#include "app/about.h"

#include "app/appglobals.h"
#include "platform/launch.h"
#include "settings/dialogkit.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

namespace {

const QColor LinkBlue(0, 0, 255);
const QColor LinkRed(255, 0, 0);
constexpr int FrameBorder = 3;
constexpr int TextMargin = 4;

// A label at its place, moved left only as far as it takes to keep a text
// that this desktop's font draws wider inside the frame.
QLabel *label(const QString &text, int left, int top, QWidget *parent)
{
    auto *created = new QLabel(text, parent);
    created->adjustSize();
    created->move(std::min(left, parent->width() - FrameBorder - TextMargin - created->width()), top);
    return created;
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

Tfm_about::Tfm_about(QWidget *parent) : QDialog(parent), suiForm1(new QFrame(this))
{
    setWindowTitle(QStringLiteral("About"));
    setFont(settings::dialogFont());
    setFixedSize(267, 231);

    suiForm1->setObjectName(QStringLiteral("suiForm1"));
    suiForm1->setGeometry(3, 0, 261, 228);
    suiForm1->setStyleSheet(QStringLiteral(
        "#suiForm1 { background: rgb(239, 235, 222); border: 3px solid rgb(0, 44, 200); border-radius: 13px; }"
        "#caption { background: rgb(0, 44, 200); color: white; font-weight: bold; padding-left: 8px;"
        " border-top-left-radius: 10px; border-top-right-radius: 10px; }"));
    auto *caption = new QLabel(QStringLiteral("About"), suiForm1);
    caption->setObjectName(QStringLiteral("caption"));
    caption->setGeometry(FrameBorder, FrameBorder, suiForm1->width() - 2 * FrameBorder, 24);

    Image = new QLabel(suiForm1);
    Image->setGeometry(24, 46, 32, 32);
    Label1 = label(QStringLiteral("Sonvera"), 78, 41, suiForm1);
    setTextColour(Label1, QColor(0, 128, 0));
    lbl_version = label(QString(), 78, 65, suiForm1);
    Label7 = label(QStringLiteral("HomePage: "), 17, 168, suiForm1);
    lbl_web = label(HomePageAddress, 98, 169, suiForm1);
    setTextColour(lbl_web, LinkBlue);
    lbl_web->setCursor(Qt::PointingHandCursor);
    lbl_web->installEventFilter(this);
    Label9 = label(QStringLiteral("Email: "), 17, 193, suiForm1);
    Label10 = label(SupportMailAddress, 98, 193, suiForm1);
}

void Tfm_about::showAbout()
{
    show();
    raise();
    activateWindow();
}

void Tfm_about::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        settings::centreOver(this, parentWidget());
        FormShow();
    }
    QDialog::showEvent(event);
}

void Tfm_about::FormShow()
{
    lbl_version->setText(QStringLiteral("Version ") + ProgramVersion);
    lbl_version->adjustSize();
    const QIcon icon = QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_MediaVolume)
                                                           : QApplication::windowIcon();
    Image->setPixmap(icon.pixmap(Image->size()));
}

bool Tfm_about::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lbl_web) {
        switch (event->type()) {
        case QEvent::Enter:
            lbl_webMouseEnter();
            break;
        case QEvent::Leave:
            lbl_webMouseLeave();
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                lbl_webClick();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfm_about::lbl_webMouseEnter()
{
    setTextColour(lbl_web, LinkRed);
}

void Tfm_about::lbl_webMouseLeave()
{
    setTextColour(lbl_web, LinkBlue);
}

void Tfm_about::lbl_webClick()
{
    platform::launch(QStringLiteral("explorer ") + HomePageAddress, platform::ShowMaximized);
}
