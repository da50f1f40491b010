#pragma once

#include <QIcon>
#include <QList>

// The small 16 x 16 icons of the record lists, by their resource numbers: 166 a settled
// record, 167 an open one, 168 a record card, 169 a dependent record.
QIcon RecordListIcon(int resourceId);

// The main list's image list: icons 168, 166, 167 and 169 at positions 0 to 3.
QList<QIcon> MainListIcons();
// The secondary list's image list: icon 169 at position 0.
QList<QIcon> MiddleListIcons();

// Positions in those image lists, as the list layouts name their rows' icons.
namespace ListIcon {
inline constexpr int kRecordCard = 0; // main list: a record card
inline constexpr int kSettled = 1;    // main list: a settled order
inline constexpr int kOpen = 2;       // main list: an order still open
inline constexpr int kDiary = 3;      // main list: a note or an appointment
inline constexpr int kDependant = 0;  // secondary list: a dependent record
} // namespace ListIcon
