#include "kit/outbargeometry.h"

#include <QFontMetrics>

#include <algorithm>

COutBarGeometry::COutBarGeometry(const SInput& input) : m_input(input)
{
    const int n = m_input.folderCount;
    const int open = std::clamp(m_input.openFolder, 0, std::max(0, n - 1));
    m_input.openFolder = open;
    const QRect& client = m_input.client;
    m_area = client;
    if (n > 0) {
        m_area.setTop(client.top() + kFolderHeight * (open + 1) - 1);
        m_area.setBottom(client.bottom() - kFolderHeight * (n - open - 1));
    }

    // Lay every item out from the area's top, then shift the list so the first visible item
    // starts at the top margin.
    const QFontMetrics metrics(m_input.font);
    const QSize icon = m_input.iconSize.isValid() ? m_input.iconSize : QSize(0, 0);
    int y = m_area.top() + kTopMargin;
    m_items.reserve(size_t(m_input.itemTexts.size()));
    for (const QString& text : m_input.itemTexts) {
        SOutBarItemRects rects;
        if (m_input.smallIcons) {
            const int labelWidth = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
            const int labelHeight = metrics.height();
            const int height = std::max(labelHeight, icon.height());
            rects.box = QRect(m_area.left() + kLeftMargin, y,
                              2 + icon.width() + kSmallIconLabelGap + labelWidth, height);
            rects.icon = QRect(rects.box.left() + 2, y + (height - icon.height()) / 2, icon.width(),
                               icon.height());
            rects.label = QRect(rects.icon.left() + icon.width() + kSmallIconLabelGap,
                                y + (height - labelHeight) / 2, labelWidth, labelHeight);
        } else {
            rects.icon = QRect(m_area.left() + (m_area.width() - icon.width()) / 2, y, icon.width(),
                               icon.height());
            const int labelTop = y + icon.height() + kLargeIconLabelGap;
            if (text.isEmpty()) {
                rects.label = QRect(m_area.left() + m_area.width() / 2, labelTop, 0, 0);
            } else {
                rects.label = metrics.boundingRect(
                    QRect(m_area.left(), labelTop, std::max(1, m_area.width()), 1 << 16),
                    Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
                rects.label.moveTop(labelTop);
            }
            rects.box = QRect(m_area.left(), y, m_area.width(),
                              icon.height() + kLargeIconLabelGap + rects.label.height());
        }
        m_items.push_back(rects);
        y = rects.box.bottom() + 1 + ItemGap();
    }
    const int first = m_input.firstItem;
    if (first > 0 && first < int(m_items.size())) {
        const int shift = m_items[size_t(first)].box.top() - (m_area.top() + kTopMargin);
        for (SOutBarItemRects& rects : m_items) {
            rects.box.translate(0, -shift);
            rects.icon.translate(0, -shift);
            rects.label.translate(0, -shift);
        }
    }
}

int COutBarGeometry::ItemGap() const
{
    return m_input.smallIcons ? kSmallItemGap : kLargeItemGap;
}

QRect COutBarGeometry::FolderRect(int folder) const
{
    const int n = m_input.folderCount;
    if (folder < 0 || folder >= n)
        return {};
    const QRect& client = m_input.client;
    if (folder <= m_input.openFolder) {
        return QRect(client.left(), client.top() + kFolderHeight * folder - 1, client.width(),
                     kFolderHeight);
    }
    return QRect(client.left(), client.bottom() + 1 - kFolderHeight * (n - folder), client.width(),
                 kFolderHeight);
}

std::optional<SOutBarItemRects> COutBarGeometry::ItemRects(int item) const
{
    if (item < 0 || item >= int(m_items.size()))
        return std::nullopt;
    return m_items[size_t(item)];
}

bool COutBarGeometry::UpArrowShown() const
{
    return m_input.firstItem > 0;
}

bool COutBarGeometry::DownArrowShown() const
{
    const int count = int(m_items.size());
    return count > 0 && LastFullyVisibleItem() < count - 1;
}

QRect COutBarGeometry::UpArrowRect() const
{
    const int side = m_input.arrowSide;
    return QRect(m_area.right() + 1 - kArrowInset - side, m_area.top() + kArrowInset, side, side);
}

QRect COutBarGeometry::DownArrowRect() const
{
    const int side = m_input.arrowSide;
    return QRect(m_area.right() + 1 - kArrowInset - side, m_area.bottom() + 1 - kArrowInset - side,
                 side, side);
}

int COutBarGeometry::LastFullyVisibleItem() const
{
    int last = m_input.firstItem - 1;
    for (int i = std::max(0, m_input.firstItem); i < int(m_items.size()); ++i) {
        if (m_items[size_t(i)].box.bottom() > m_area.bottom())
            break;
        last = i;
    }
    return last;
}

bool COutBarGeometry::CanScrollDown() const
{
    return !m_items.empty() && m_items.back().box.bottom() > m_area.bottom();
}

bool COutBarGeometry::StartsBelowArea(int item) const
{
    const auto rects = ItemRects(item);
    return !rects || rects->box.top() > m_area.bottom();
}

SOutBarHit COutBarGeometry::HitTest(const QPoint& point) const
{
    if (UpArrowShown() && UpArrowRect().contains(point))
        return {SOutBarHit::UpArrow, 0};
    if (DownArrowShown() && DownArrowRect().contains(point))
        return {SOutBarHit::DownArrow, 0};
    for (int folder = 0; folder < m_input.folderCount; ++folder) {
        if (FolderRect(folder).contains(point))
            return {SOutBarHit::Folder, folder};
    }
    if (!m_area.contains(point))
        return {};
    for (int i = std::max(0, m_input.firstItem); i < int(m_items.size()); ++i) {
        if (StartsBelowArea(i))
            break;
        const SOutBarItemRects& rects = m_items[size_t(i)];
        const bool hit =
            m_input.smallIcons
                ? rects.box.contains(point)
                : rects.icon.contains(point) ||
                      rects.label.adjusted(0, -kLargeIconLabelGap, 0, 0).contains(point);
        if (hit)
            return {SOutBarHit::Item, i};
    }
    return {};
}

int COutBarGeometry::DropIndex(const QPoint& point) const
{
    if (!m_area.contains(point))
        return -1;
    const int half = ItemGap() / 2;
    // Each item owns the band from half the gap above it to half the gap below it; the
    // pointer in an item's band drops before that item, below the last band after the last.
    for (int i = std::max(0, m_input.firstItem); i < int(m_items.size()); ++i) {
        if (StartsBelowArea(i))
            return -1;
        if (point.y() <= m_items[size_t(i)].box.bottom() + half)
            return i;
    }
    return int(m_items.size());
}

int COutBarGeometry::InsertMarkY(int index) const
{
    const int half = ItemGap() / 2;
    if (m_items.empty())
        return m_area.top() + kTopMargin;
    if (index >= int(m_items.size()))
        return m_items.back().box.bottom() + half;
    return m_items[size_t(std::max(0, index))].box.top() - half;
}

QRect COutBarGeometry::InsertMarkRect(int index) const
{
    const int y = InsertMarkY(index);
    return QRect(m_area.left(), y - 4, m_area.width(), 9);
}
