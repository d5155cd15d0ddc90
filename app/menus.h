#pragma once
#include <QIcon>
#include <QMenu>

// The popup menus' shared look: white, a grey picture bar on the left, blue
// selection with a border, a blue frame.
class PopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit PopupMenu(QWidget *parent = nullptr);
    // An item of the same look, for submenus.
    PopupMenu *addPopup(const QString &title, const QIcon &icon);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Pictures of the settings and right-click menus: 0..5 the six skins,
// 6 the skin submenu, 7 WAV settings.
QIcon settingsMenuPicture(int index);
// Pictures of the help menu: 0 contents, 1 web site.
QIcon helpMenuPicture(int index);
