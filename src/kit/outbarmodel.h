#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

#include <vector>

// One entry of a navigation-bar folder.
struct SOutBarItem
{
    int image = -1; // index into the bar's image list; negative for none
    QString text;
    qintptr data = 0;    // the caller's value, stored only
    bool enabled = true; // a disabled item is greyed and ignores the mouse
};

// One folder of the navigation bar: a header and the items shown while it is open.
struct SOutBarFolder
{
    QString name;
    qintptr data = 0;
    std::vector<SOutBarItem> items;
};

// The icons of the bar's items, all drawn at one size. QIcon picks the sharpest pixmap for the
// screen's pixel density.
class COutBarImageList
{
public:
    COutBarImageList() = default;
    explicit COutBarImageList(QSize iconSize) : m_iconSize(iconSize) {}

    bool IsNull() const { return !m_iconSize.isValid(); }
    QSize IconSize() const { return m_iconSize; }
    int Count() const { return int(m_icons.size()); }
    // Appends an icon; returns its position.
    int Add(const QIcon& icon);
    // A null icon for positions outside the list.
    QIcon Icon(int index) const;

private:
    QSize m_iconSize;
    std::vector<QIcon> m_icons;
};

// What the owner is asked before a dragged item moves.
struct SOutBarDropInfo
{
    int folder = 0;   // the open folder
    int oldIndex = 0; // the dragged item's position
    int newIndex = 0; // where it would go, counted after its removal
};
