#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

#include <optional>
#include <vector>

// Where an item of the open folder lies.
struct SOutBarItemRects
{
    QRect box; // icon and label together
    QRect icon;
    QRect label;
};

// What lies under a point of the bar.
struct SOutBarHit
{
    enum Kind { None = -1, Folder = 0, Item = 1, UpArrow = 2, DownArrow = 3 };
    Kind kind = None;
    int index = -1;
    friend bool operator==(const SOutBarHit&, const SOutBarHit&) = default;
};

// Layout of the navigation bar for one state: headers of the folders up to the open one at
// the top, the rest at the bottom, the open folder's items in the area between, scrolled so
// that the first visible item sits at the area's top margin.
class COutBarGeometry
{
public:
    static constexpr int kFolderHeight = 22;
    static constexpr int kTopMargin = 5;
    static constexpr int kLeftMargin = 5;
    static constexpr int kLargeItemGap = 8;
    static constexpr int kSmallItemGap = 10;
    static constexpr int kLargeIconLabelGap = 3;
    static constexpr int kSmallIconLabelGap = 4;
    static constexpr int kArrowInset = 5;

    struct SInput
    {
        QRect client;
        int folderCount = 0;
        int openFolder = 0;
        int firstItem = 0;
        bool smallIcons = false;
        QSize iconSize;
        QFont font;
        int arrowSide = 16;
        QStringList itemTexts; // labels of the open folder's items
    };

    explicit COutBarGeometry(const SInput& input);

    // Empty for an index outside the folders.
    QRect FolderRect(int folder) const;
    QRect ItemArea() const { return m_area; }
    std::optional<SOutBarItemRects> ItemRects(int item) const;
    int ItemCount() const { return int(m_items.size()); }
    int FirstItem() const { return m_input.firstItem; }

    bool UpArrowShown() const;
    bool DownArrowShown() const;
    QRect UpArrowRect() const;
    QRect DownArrowRect() const;
    // The last item whose box ends inside the area; firstItem - 1 when none does.
    int LastFullyVisibleItem() const;
    // Scrolling down is possible while the last item reaches below the area's bottom.
    bool CanScrollDown() const;
    // Drawing stops at the first item that starts below the area.
    bool StartsBelowArea(int item) const;

    SOutBarHit HitTest(const QPoint& point) const;

    // While an item is dragged: the position the pointer would drop it before (ItemCount()
    // = after the last item), -1 outside the item area.
    int DropIndex(const QPoint& point) const;
    // The band where the insertion mark before position index is drawn, and its line.
    QRect InsertMarkRect(int index) const;
    int InsertMarkY(int index) const;

private:
    int ItemGap() const;

    SInput m_input;
    QRect m_area;
    std::vector<SOutBarItemRects> m_items;
};
