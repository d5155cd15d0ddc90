#pragma once
#include "components/skin/iskin.h"
#include "components/skin/skinfile.h"

#include <QPointer>
#include <QRectF>
#include <QSvgRenderer>
#include <QWidget>

namespace components {

class SkinView;

// A form applied to one window: its parts, their visibility and the widget
// that draws them. Once detached (skin removed or replaced, window gone) it
// stays a harmless husk for whoever still holds its objects.
class SkinForm : public ISkinWindowObject, public std::enable_shared_from_this<SkinForm> {
public:
    using HandlerRef = std::weak_ptr<ISkin::ClickHandler>;

    // Applies the form to the window, or returns none when it cannot be drawn.
    static std::shared_ptr<SkinForm> apply(QWidget *window, const FormDocument &document,
                                           HandlerRef onClick);

    std::shared_ptr<ISkinObject> FindObject(const QString &name) override;

    // Takes the form off its window.
    void detach();
    bool attached() const;
    void setVisible(size_t part, bool visible);

    // The index of the topmost visible object at a point of the window, or -1.
    int objectAt(QPointF windowPoint) const;
    void click(int part);
    void paint(QPainter &painter, const QRect &area);

private:
    struct Part {
        FormPart file;
        QRectF bounds; // in document units; empty when there is nothing to draw
        std::shared_ptr<ISkinObject> object;
    };

    explicit SkinForm(HandlerRef onClick);
    bool load(const FormDocument &document);
    QTransform documentToWindow() const;

    QSvgRenderer m_renderer;
    std::vector<Part> m_parts;
    QPointer<SkinView> m_view;
    HandlerRef m_onClick;
};

// Draws a form over the whole window, beneath the window's other children,
// turns clicks into object clicks and drags into window moves.
class SkinView : public QWidget {
public:
    SkinView(QWidget *window, std::shared_ptr<SkinForm> form);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::shared_ptr<SkinForm> m_form;
    QPoint m_pressGlobal;
    QPoint m_windowAtPress;
    bool m_pressed = false;
    bool m_dragging = false;
};

} // namespace components
