#include "components/skin/skinengine.h"
#include "components/skin/skinform.h"

#include <algorithm>

namespace components {

TSkin::TSkin() : m_onClick(std::make_shared<ClickHandler>()) {}

TSkin::~TSkin()
{
    for (Applied &applied : m_applied)
        applied.form->detach();
}

void TSkin::LoadSkin(const QString &fileName)
{
    m_skin = SkinFile::load(fileName);
}

void TSkin::ApplySkin(QWidget *window, const QString &formName)
{
    RemoveSkin(window);
    if (!window || !m_skin)
        return;
    const std::optional<FormDocument> document = m_skin->form(formName);
    if (!document)
        return;
    if (auto form = SkinForm::apply(window, *document, m_onClick))
        m_applied.push_back({window, std::move(form)});
}

void TSkin::RemoveSkin(QWidget *window)
{
    const auto applied = find(window);
    if (applied == m_applied.end())
        return;
    applied->form->detach();
    m_applied.erase(applied);
}

std::shared_ptr<ISkinWindowObject> TSkin::GetSkinObject(QWidget *window)
{
    const auto applied = find(window);
    return applied == m_applied.end() ? nullptr : applied->form;
}

void TSkin::setOnClick(ClickHandler handler)
{
    *m_onClick = std::move(handler);
}

std::vector<TSkin::Applied>::iterator TSkin::find(QWidget *window)
{
    // Forms of windows that have since been destroyed are dropped on the way.
    m_applied.erase(std::remove_if(m_applied.begin(), m_applied.end(),
                                   [](const Applied &a) { return !a.window || !a.form->attached(); }),
                    m_applied.end());
    return std::find_if(m_applied.begin(), m_applied.end(),
                        [window](const Applied &a) { return a.window == window; });
}

std::unique_ptr<ISkin> createSkinEngine()
{
    return std::make_unique<TSkin>();
}

} // namespace components
