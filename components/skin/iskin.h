#pragma once
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace components {

// A named object of an applied skin form.
class ISkinObject {
public:
    virtual ~ISkinObject() = default;
    virtual QString Name() = 0;
    // -1 shows the object, 0 hides it. An object of a form that has since
    // been replaced or removed ignores the call.
    virtual void Visible(short visible) = 0;
};

// The skin form applied to a window.
class ISkinWindowObject {
public:
    virtual ~ISkinWindowObject() = default;
    // The object of that name in the applied form, or none.
    virtual std::shared_ptr<ISkinObject> FindObject(const QString &name) = 0;
};

// Draws a form of a skin file over a window and reports clicks on its objects.
// A file that is no skin, or lacks the form, leaves the window without a form.
class ISkin {
public:
    using ClickHandler = std::function<void(ISkinObject &source)>;

    virtual ~ISkin() = default;
    virtual void LoadSkin(const QString &fileName) = 0;
    virtual void ApplySkin(QWidget *window, const QString &formName) = 0;
    virtual void RemoveSkin(QWidget *window) = 0;
    // The window's skin form, or none when no form is applied to it.
    virtual std::shared_ptr<ISkinWindowObject> GetSkinObject(QWidget *window) = 0;
    // Called on the window thread with the topmost visible object clicked.
    virtual void setOnClick(ClickHandler handler) = 0;
};

// The real skin engine (Qt SVG).
std::unique_ptr<ISkin> createSkinEngine();

} // namespace components
