#pragma once

#include <QString>

#include <span>

// Every command of the main window: its menu entry, the message the navigation bar posts for
// it, and who may run it.
enum CommandId : int {
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_QUERY_CLIENT = 32771,
    ID_QUERY_APPOINT = 32772,
    ID_QUERY_NOTE = 32773,
    ID_QUERY_NOTICE = 32774,
    ID_QUERY_INPUT = 32792,
    ID_QUERY_OUTPUT = 32793,
    ID_QUERY_FIND = 32775,
    ID_QUERY_STAT = 32805,
    ID_QUERY_EXPORT = 32776,
    ID_QUERY_ADDRESS = 32801,
    ID_MANAGE_CLIENT = 32784,
    ID_MANAGE_LINKMAN = 32785,
    ID_MANAGE_APPOINT = 32786,
    ID_MANAGE_NOTE = 32787,
    ID_MANAGE_NOTICE = 32788,
    ID_MANAGE_INPUT = 32777,
    ID_MANAGE_OUTPUT = 32778,
    ID_MANAGE_INPUTDETAIL = 32794,
    ID_MANAGE_OUTPUTDETAIL = 32795,
    ID_MANAGE_MATERIAL = 32807,
    ID_MANAGE_PRODUCT = 32806,
    ID_MANAGE_ADDRESS = 32800,
    ID_MANAGE_BASIC = 32802,
    ID_MANAGE_POWER = 32803,
    ID_MANAGE_PASSWORD = 32804,
    ID_MANAGE_SETTINGS = 32796,
    ID_TOOLS_ZIP = 32798,
    ID_TOOLS_PHONE = 32799,
    ID_TOOLS_UPGRADE = 32797,
    ID_HELP_CONTENTS = 32780,
    ID_HELP_SITE = 32782,
    ID_HELP_MAIL = 32783,
};

enum class PermissionRule {
    None,          // everyone
    Flag,          // the signed-in user's flag of that name is not 0
    Administrator, // the signed-in user is "管理员"
};

struct CommandInfo
{
    int id;
    int message; // posted by the navigation bar; 0 when no item has the command
    const char16_t* menu;
    const char16_t* entry;
    PermissionRule rule;
    const char* flag; // the column of table power, for PermissionRule::Flag
    bool separatorBefore = false;
};

struct NavigationItem
{
    const char16_t* text;
    int icon;    // position in the navigation icon list
    int message; // the command's message
};

struct NavigationFolder
{
    const char16_t* name;
    std::span<const NavigationItem> items;
};

// In menu order.
std::span<const CommandInfo> Commands();
const CommandInfo* CommandById(int id);
const CommandInfo* CommandByMessage(int message);
std::span<const NavigationFolder> NavigationFolders();
// The message of a navigation item; 0 for a position outside the table.
int NavigationMessage(int folder, int item);

inline constexpr char16_t kAdministrator[] = u"管理员";
