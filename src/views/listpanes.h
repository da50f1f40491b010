#pragma once

// The main list's category when no filler has named one: its rows do nothing on a click, an
// edit or a delete.
inline constexpr int kNoCategory = -1;

// What the lower right pane holds (the frame's ShowBottomView).
namespace BottomView {
inline constexpr int kList = 1;  // CMiddleListView
inline constexpr int kText = 2;  // CNoteView
inline constexpr int kChart = 3; // CStatChartView, while the main list is a category with a chart
} // namespace BottomView

// Commands of the record lists' context menu (menu 146).
namespace RecordCommand {
inline constexpr int kMenu = 146;
inline constexpr int kAdd = 32789;    // "增加记录"
inline constexpr int kModify = 32790; // "修改记录"
inline constexpr int kDelete = 32791; // "删除记录"
} // namespace RecordCommand
