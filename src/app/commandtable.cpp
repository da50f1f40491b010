#include "app/commandtable.h"

namespace {

using enum PermissionRule;

const CommandInfo kCommands[] = {
    // Copying and replacing the shared data file: only the administrator.
    {ID_FILE_BACKUP, 0, u"文件", u"备份数据…", Administrator, {}},
    {ID_FILE_RESTORE, 0, u"文件", u"恢复数据…", Administrator, {}},
    // Moving the team's data onto a server: only the administrator.
    {ID_FILE_UPLOAD, 0, u"文件", u"上传到服务器…", Administrator, {}},
    // The main list on paper or as a PDF file: whoever may list it may print it.
    {ID_FILE_PRINT_PREVIEW, 0, u"文件", u"打印预览…", None, {}, true},
    {ID_FILE_PRINT, 0, u"文件", u"打印…", None, {}},
    {ID_APP_EXIT, 0, u"文件", u"退出", None, {}, true},
    {ID_QUERY_CLIENT, 1234, u"查询搜索", u"客户", Flag, Right::kSearchClient},
    {ID_QUERY_APPOINT, 1235, u"查询搜索", u"约会", Flag, Right::kSearchAppointment},
    {ID_QUERY_NOTE, 1236, u"查询搜索", u"便笺", Flag, Right::kSearchNote},
    {ID_QUERY_NOTICE, 1237, u"查询搜索", u"提醒", Flag, Right::kSearchReminder},
    {ID_QUERY_INPUT, 1238, u"查询搜索", u"采购", Flag, Right::kSearchPurchase},
    {ID_QUERY_OUTPUT, 1239, u"查询搜索", u"销售", Flag, Right::kSearchSale},
    {ID_QUERY_FIND, 1240, u"查询搜索", u"查找", Flag, Right::kFind},
    {ID_QUERY_STAT, 1243, u"查询搜索", u"统计", Flag, Right::kStatistics},
    {ID_QUERY_EXPORT, 1241, u"查询搜索", u"导出", Flag, Right::kExport},
    {ID_QUERY_ADDRESS, 1242, u"查询搜索", u"通讯录", Flag, Right::kSearchAddress},
    {ID_MANAGE_CLIENT, 1244, u"资料管理", u"客户", Flag, Right::kManageClient},
    {ID_MANAGE_LINKMAN, 1245, u"资料管理", u"联系人", Flag, Right::kManageContact},
    {ID_MANAGE_APPOINT, 1246, u"资料管理", u"约会", Flag, Right::kManageAppointment},
    {ID_MANAGE_NOTE, 1247, u"资料管理", u"便笺", Flag, Right::kManageNote},
    {ID_MANAGE_NOTICE, 1248, u"资料管理", u"提醒", Flag, Right::kManageReminder},
    {ID_MANAGE_INPUT, 1249, u"资料管理", u"采购单", Flag, Right::kManagePurchase, true},
    {ID_MANAGE_OUTPUT, 1250, u"资料管理", u"销售单", Flag, Right::kManageSale},
    {ID_MANAGE_INPUTDETAIL, 1251, u"资料管理", u"采购明细", Flag, Right::kManagePurchaseDetail},
    {ID_MANAGE_OUTPUTDETAIL, 1252, u"资料管理", u"销售明细", Flag, Right::kManageSaleDetail},
    {ID_MANAGE_MATERIAL, 1258, u"资料管理", u"原材料资料", Flag, Right::kManageMaterial, true},
    {ID_MANAGE_PRODUCT, 1259, u"资料管理", u"产品资料", Flag, Right::kManageProduct},
    {ID_MANAGE_ADDRESS, 1253, u"资料管理", u"通讯录", Flag, Right::kManageAddress},
    // The address book to and from the .vcf files of phones and other address books.
    {ID_MANAGE_ADDRESS_IMPORT, 0, u"资料管理", u"导入通讯录（vCard）…", Flag,
     Right::kManageAddress},
    {ID_MANAGE_ADDRESS_EXPORT, 0, u"资料管理", u"导出通讯录（vCard）…", Flag,
     Right::kManageAddress},
    // Clients and contacts from a spreadsheet: whoever may add them one by one.
    {ID_MANAGE_IMPORT_CLIENT, 0, u"资料管理", u"导入客户…", Flag, Right::kManageClient, true},
    {ID_MANAGE_IMPORT_LINKMAN, 0, u"资料管理", u"导入联系人…", Flag, Right::kManageContact},
    {ID_MANAGE_BASIC, 1254, u"资料管理", u"分类属性", Flag, Right::kManageCategories, true},
    {ID_MANAGE_POWER, 1255, u"资料管理", u"权限分配", Administrator, {}},
    {ID_MANAGE_PASSWORD, 1256, u"资料管理", u"修改密码", None, {}},
    {ID_MANAGE_SETTINGS, 1257, u"资料管理", u"设置", None, {}},
    {ID_TOOLS_ZIP, 1264, u"实用工具", u"邮编区号查询", None, {}},
    {ID_TOOLS_PHONE, 1265, u"实用工具", u"常用电话查询", None, {}},
    // Changes the structure of the shared data file: only the administrator.
    {ID_TOOLS_UPGRADE, 0, u"实用工具", u"升级数据库", Administrator, {}, true},
    {ID_HELP_CONTENTS, 1274, u"帮助", u"帮助", None, {}},
    {ID_HELP_SITE, 1276, u"帮助", u"访问网站", None, {}},
    {ID_HELP_MAIL, 1277, u"帮助", u"给我来信", None, {}},
    {ID_APP_ABOUT, 0, u"帮助", u"关于...", None, {}, true},
};

const NavigationItem kQueryItems[] = {
    {u"客户", 13, 1234}, {u"约会", 1, 1235},    {u"便笺", 2, 1236}, {u"提醒", 3, 1237},
    {u"采购", 6, 1238},  {u"销售", 7, 1239},    {u"查找", 4, 1240}, {u"统计", 17, 1243},
    {u"导出", 5, 1241},  {u"通讯录", 15, 1242},
};

const NavigationItem kManageItems[] = {
    {u"客户", 13, 1244},       {u"联系人", 0, 1245},    {u"约会", 1, 1246},
    {u"便笺", 2, 1247},        {u"提醒", 3, 1248},      {u"采购单", 6, 1249},
    {u"销售单", 7, 1250},      {u"采购明细", 6, 1251},  {u"销售明细", 7, 1252},
    {u"原材料资料", 18, 1258}, {u"产品资料", 18, 1259}, {u"通讯录", 15, 1253},
    {u"分类属性", 16, 1254},   {u"权限分配", 16, 1255}, {u"修改密码", 16, 1256},
    {u"设置", 16, 1257},
};

const NavigationItem kToolItems[] = {{u"邮编区号", 14, 1264}, {u"常用电话", 14, 1265}};

const NavigationItem kHelpItems[] = {
    {u"帮助", 8, 1274}, {u"访问我站", 10, 1276}, {u"给我来信", 11, 1277}};

const NavigationFolder kFolders[] = {
    {u"查询搜索", kQueryItems},
    {u"资料管理", kManageItems},
    {u"实用查询", kToolItems},
    {u"帮助", kHelpItems},
};

} // namespace

std::span<const CommandInfo> Commands()
{
    return kCommands;
}

const CommandInfo* CommandById(int id)
{
    for (const CommandInfo& command : kCommands)
        if (command.id == id)
            return &command;
    return nullptr;
}

const CommandInfo* CommandByMessage(int message)
{
    for (const CommandInfo& command : kCommands)
        if (message != 0 && command.message == message)
            return &command;
    return nullptr;
}

std::span<const NavigationFolder> NavigationFolders()
{
    return kFolders;
}

int NavigationMessage(int folder, int item)
{
    if (folder < 0 || folder >= static_cast<int>(std::size(kFolders)))
        return 0;
    const std::span<const NavigationItem> items = kFolders[folder].items;
    if (item < 0 || item >= static_cast<int>(items.size()))
        return 0;
    return items[item].message;
}
