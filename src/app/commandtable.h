#pragma once

#include "data/rights.h"
#include "kit/commandids.h"

#include <QString>

#include <span>

enum class PermissionRule {
    None,          // everyone
    Flag,          // the signed-in user holds the command's right
    Administrator, // the signed-in user is "管理员"
};

struct CommandInfo
{
    int id;
    int message; // posted by the navigation bar; 0 when no item has the command
    const char16_t* menu;
    const char16_t* entry;
    PermissionRule rule;
    Right right; // the right it needs under PermissionRule::Flag; not read otherwise
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
