#include "components/skin/skinform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace components {
namespace {

class SkinObject : public ISkinObject {
public:
    SkinObject(std::weak_ptr<SkinForm> form, size_t part, QString name)
        : m_form(std::move(form)), m_part(part), m_name(std::move(name))
    {
    }

    QString Name() override { return m_name; }

    void Visible(short visible) override
    {
        if (const auto form = m_form.lock())
            form->setVisible(m_part, visible != 0);
    }

private:
    std::weak_ptr<SkinForm> m_form;
    size_t m_part;
    QString m_name;
};

} // namespace

SkinForm::SkinForm(HandlerRef onClick) : m_onClick(std::move(onClick)) {}

std::shared_ptr<SkinForm> SkinForm::apply(QWidget *window, const FormDocument &document,
                                          HandlerRef onClick)
{
    std::shared_ptr<SkinForm> form(new SkinForm(std::move(onClick)));
    if (!form->load(document))
        return nullptr;
    window->resize(form->m_renderer.defaultSize());
    form->m_view = new SkinView(window, form);
    return form;
}

bool SkinForm::load(const FormDocument &document)
{
    if (!m_renderer.load(document.svg) || m_renderer.defaultSize().isEmpty()
        || m_renderer.viewBoxF().isEmpty())
        return false;
    m_parts.reserve(document.parts.size());
    for (const FormPart &file : document.parts) {
        Part part{file, {}, nullptr};
        if (m_renderer.elementExists(file.renderId)) {
            part.bounds = m_renderer.transformForElement(file.renderId)
                              .mapRect(m_renderer.boundsOnElement(file.renderId));
        }
        if (!file.name.isEmpty())
            part.object = std::make_shared<SkinObject>(weak_from_this(), m_parts.size(), file.name);
        m_parts.push_back(std::move(part));
    }
    return true;
}

std::shared_ptr<ISkinObject> SkinForm::FindObject(const QString &name)
{
    if (!attached())
        return nullptr;
    for (const Part &part : m_parts) {
        if (part.object && part.file.name == name)
            return part.object;
    }
    return nullptr;
}

void SkinForm::detach()
{
    if (!m_view)
        return;
    // Deferred: the form may be removed from inside its own click.
    m_view->hide();
    m_view->deleteLater();
    m_view.clear();
}

bool SkinForm::attached() const
{
    return !m_view.isNull();
}

void SkinForm::setVisible(size_t part, bool visible)
{
    if (!attached() || m_parts[part].file.visible == visible)
        return;
    m_parts[part].file.visible = visible;
    m_view->update(documentToWindow().mapRect(m_parts[part].bounds).toAlignedRect());
}

QTransform SkinForm::documentToWindow() const
{
    const QRectF box = m_renderer.viewBoxF();
    const QSize size = m_view ? m_view->size() : m_renderer.defaultSize();
    return QTransform::fromTranslate(-box.x(), -box.y())
           * QTransform::fromScale(size.width() / box.width(), size.height() / box.height());
}

int SkinForm::objectAt(QPointF windowPoint) const
{
    const QPointF point = documentToWindow().inverted().map(windowPoint);
    for (size_t i = m_parts.size(); i-- > 0;) {
        const Part &part = m_parts[i];
        if (part.object && part.file.visible && part.bounds.contains(point))
            return static_cast<int>(i);
    }
    return -1;
}

void SkinForm::click(int part)
{
    const auto handler = m_onClick.lock();
    if (part < 0 || !handler || !*handler)
        return;
    // Copies, so the handler may replace itself or remove this form.
    const ISkin::ClickHandler onClick = *handler;
    const std::shared_ptr<ISkinObject> object = m_parts[static_cast<size_t>(part)].object;
    onClick(*object);
}

void SkinForm::paint(QPainter &painter, const QRect &area)
{
    const QTransform toWindow = documentToWindow();
    for (const Part &part : m_parts) {
        if (!part.file.visible || part.bounds.isEmpty())
            continue;
        const QRectF target = toWindow.mapRect(part.bounds);
        if (target.intersects(area))
            m_renderer.render(&painter, part.file.renderId, target);
    }
}

SkinView::SkinView(QWidget *window, std::shared_ptr<SkinForm> form)
    : QWidget(window), m_form(std::move(form))
{
    setGeometry(window->rect());
    lower();
    window->installEventFilter(this);
    show();
}

void SkinView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_form->paint(painter, event->rect());
}

void SkinView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    m_dragging = false;
    m_pressGlobal = event->globalPosition().toPoint();
    m_windowAtPress = window()->pos();
}

void SkinView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const QPoint moved = event->globalPosition().toPoint() - m_pressGlobal;
    if (!m_dragging && moved.manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    window()->move(m_windowAtPress + moved);
}

void SkinView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (m_dragging)
        return;
    // The handler may take this view down (a menu's nested loop can even
    // delete it); the form must outlive the call.
    const std::shared_ptr<SkinForm> form = m_form;
    form->click(form->objectAt(event->position()));
}

bool SkinView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace components
