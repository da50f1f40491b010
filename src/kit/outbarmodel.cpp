#include "kit/outbarmodel.h"

int COutBarImageList::Add(const QIcon& icon)
{
    m_icons.push_back(icon);
    return Count() - 1;
}

QIcon COutBarImageList::Icon(int index) const
{
    return index >= 0 && index < Count() ? m_icons[size_t(index)] : QIcon();
}
