#pragma once

#include <QIcon>

// The program's pictures, built into the executable (src/res/icons.qrc) so they are there
// whatever folder the program runs from.

// Positions of the navigation bar's icon list (32 x 32; also 16 x 16 and a 64 x 64 form for
// high-resolution screens). Several commands share a picture: the four administration entries
// show kIconSettings, the purchase and sales payment details the order pictures.
enum NavigationIconPosition : int {
    kIconContact = 0,      // 联系人
    kIconAppointment = 1,  // 约会
    kIconNote = 2,         // 便笺
    kIconReminder = 3,     // 提醒
    kIconFind = 4,         // 查找
    kIconExport = 5,       // 导出
    kIconPurchase = 6,     // 采购, 采购单, 采购明细
    kIconSale = 7,         // 销售, 销售单, 销售明细
    kIconHelp = 8,         // 帮助
    kIconAbout = 9,        // 关于 (no navigation item)
    kIconWebsite = 10,     // 访问我站
    kIconMail = 11,        // 给我来信
    kIconExit = 12,        // 退出 (no navigation item)
    kIconClient = 13,      // 客户
    kIconPostcode = 14,    // 邮编区号, 常用电话
    kIconAddressBook = 15, // 通讯录
    kIconSettings = 16,    // 分类属性, 权限分配, 修改密码, 设置
    kIconStatistics = 17,  // 统计
    kIconCatalogue = 18,   // 原材料资料, 产品资料
    kNavigationIconCount
};

// The icon at a position of the navigation icon list; a null icon outside 0 to 18.
QIcon NavigationIcon(int position);

// Small icons of the record lists (16 x 16): positions 0 to 3 of the main list's image list.
// The secondary list's only icon is kListIconDetail.
enum ListIconPosition : int {
    kListIconRecord = 0,  // a record of any kind
    kListIconSettled = 1, // a settled order
    kListIconOpen = 2,    // an order not yet settled
    kListIconDetail = 3,  // a dependent record: a contact of a client, a payment of an order
    kListIconCount
};

// The icon at a position of the main list's image list; a null icon outside 0 to 3.
QIcon ListIcon(int position);

// The program's own icon (window title, about box, desktop), 16 to 128 pixels.
QIcon ProgramIcon();
