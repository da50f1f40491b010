#pragma once

// What the main record list shows. The codes are the stored values that fillers set and that
// decide what a click, an edit, an add and a delete do.
namespace RecordCategory {
inline constexpr int kNone = -1;
inline constexpr int kClients = 0;
inline constexpr int kPurchases = 1;
inline constexpr int kSales = 2;
inline constexpr int kNotes = 3;
inline constexpr int kAppointments = 4;
inline constexpr int kReminders = 5;
inline constexpr int kDomesticCodes = 10;
inline constexpr int kInternationalCodes = 11;
inline constexpr int kPhoneNumbers = 12;
inline constexpr int kAddressBook = 20;
inline constexpr int kStatistics = 30;
} // namespace RecordCategory

// What the lower right pane holds (the frame's ShowBottomView).
namespace BottomView {
inline constexpr int kList = 1;  // CMiddleListView
inline constexpr int kText = 2;  // CNoteView
inline constexpr int kChart = 3; // CStatChartView, while the main list is a statistics table
} // namespace BottomView

// Commands of the record lists' context menu (menu 146).
namespace RecordCommand {
inline constexpr int kMenu = 146;
inline constexpr int kAdd = 32789;    // "增加记录"
inline constexpr int kModify = 32790; // "修改记录"
inline constexpr int kDelete = 32791; // "删除记录"
} // namespace RecordCommand
