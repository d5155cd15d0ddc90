#pragma once
#include "components/skin/iskin.h"
#include "components/skin/skinfile.h"

#include <QPointer>
#include <optional>
#include <vector>

namespace components {

class SkinForm;

// The skin engine on Qt SVG: a skin file is an SVG document, a form is a <g>
// whose id is the form's name, and the form's children with an id are its
// objects, stacked in document order.
class TSkin : public ISkin {
public:
    TSkin();
    ~TSkin() override;

    void LoadSkin(const QString &fileName) override;
    void ApplySkin(QWidget *window, const QString &formName) override;
    void RemoveSkin(QWidget *window) override;
    std::shared_ptr<ISkinWindowObject> GetSkinObject(QWidget *window) override;
    void setOnClick(ClickHandler handler) override;

private:
    struct Applied {
        QPointer<QWidget> window;
        std::shared_ptr<SkinForm> form;
    };

    std::vector<Applied>::iterator find(QWidget *window);

    std::optional<SkinFile> m_skin;
    std::vector<Applied> m_applied;
    std::shared_ptr<ClickHandler> m_onClick;
};

} // namespace components
