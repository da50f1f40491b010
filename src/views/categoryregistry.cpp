#include "views/categoryregistry.h"

#include "views/dependants.h"

#include <algorithm>

void CCategoryRegistry::Register(CategoryInfo category)
{
    const auto same = std::ranges::find(m_categories, category.code, &CategoryInfo::code);
    if (same != m_categories.end())
        *same = std::move(category);
    else
        m_categories.push_back(std::move(category));
}

const CategoryInfo* CCategoryRegistry::Find(int code) const
{
    const auto found = std::ranges::find(m_categories, code, &CategoryInfo::code);
    return found != m_categories.end() ? &*found : nullptr;
}

std::vector<RecordDialog> CCategoryRegistry::Dialogs() const
{
    std::vector<RecordDialog> dialogs;
    const auto add = [&dialogs](RecordDialog dialog) {
        if (!dialog.empty() && std::ranges::find(dialogs, dialog) == dialogs.end())
            dialogs.push_back(dialog);
    };
    for (const CategoryInfo& category : m_categories) {
        add(category.dialog);
        if (category.dependants)
            add(category.dependants->Dialog());
    }
    return dialogs;
}
