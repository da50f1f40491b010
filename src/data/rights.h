#pragma once

#include <QString>

#include <array>
#include <bitset>
#include <cstddef>

// The 23 rights a user of the data file may hold, each a yes/no column of table `power`. The
// enumerators follow the order in which sign-in reads them.
enum class Right {
    kSearchClient,
    kSearchAppointment,
    kSearchNote,
    kSearchReminder,
    kSearchPurchase,
    kSearchSale,
    kFind,
    kSearchAddress,
    kExport,
    kStatistics,
    kManageClient,
    kManageContact,
    kManageAppointment,
    kManageNote,
    kManageReminder,
    kManagePurchase,
    kManageSale,
    kManagePurchaseDetail,
    kManageSaleDetail,
    kManageAddress,
    kManageCategories,
    kManageMaterial,
    kManageProduct,
};

inline constexpr int kRightCount = 23;

// The two groups of boxes in the permission dialog.
enum class RightGroup {
    Search, // "查询搜索": to list, query and count
    Manage, // "资料管理": to add, modify and delete records of a kind
};

struct RightInfo
{
    Right right;
    const char* column;      // column of table `power`
    const char16_t* caption; // list title and check-box label in the permission dialog
    RightGroup group;
    int dialogPlace; // position among the permission dialog's boxes and list columns
    int powerPlace;  // position among the rights' columns of `power`, after `user` and `pas`
};

// Every right once, in the order of Right.
inline constexpr std::array<RightInfo, kRightCount> kRights = {{
    {Right::kSearchClient, "sclient", u"客户", RightGroup::Search, 0, 18},
    {Right::kSearchAppointment, "sappoint", u"约会", RightGroup::Search, 1, 17},
    {Right::kSearchNote, "snote", u"便笺", RightGroup::Search, 2, 21},
    {Right::kSearchReminder, "snotice", u"提醒", RightGroup::Search, 3, 22},
    {Right::kSearchPurchase, "sinput", u"采购", RightGroup::Search, 4, 20},
    {Right::kSearchSale, "soutput", u"销售", RightGroup::Search, 5, 23},
    {Right::kFind, "ssearch", u"查找", RightGroup::Search, 6, 15},
    {Right::kSearchAddress, "saddress", u"通讯录", RightGroup::Search, 8, 16},
    {Right::kExport, "sexport", u"导出", RightGroup::Search, 7, 19},
    {Right::kStatistics, "sstat", u"统计", RightGroup::Search, 9, 24},
    {Right::kManageClient, "mclient", u"客户", RightGroup::Manage, 10, 5},
    {Right::kManageContact, "mlinkman", u"联系人", RightGroup::Manage, 11, 8},
    {Right::kManageAppointment, "mappoint", u"约会", RightGroup::Manage, 12, 3},
    {Right::kManageNote, "mnote", u"便笺", RightGroup::Manage, 13, 9},
    {Right::kManageReminder, "mnotice", u"提醒", RightGroup::Manage, 14, 10},
    {Right::kManagePurchase, "minput", u"采购", RightGroup::Manage, 15, 6},
    {Right::kManageSale, "moutput", u"销售", RightGroup::Manage, 16, 11},
    {Right::kManagePurchaseDetail, "minputdetail", u"采购明细", RightGroup::Manage, 17, 7},
    {Right::kManageSaleDetail, "moutputdetail", u"销售明细", RightGroup::Manage, 18, 12},
    {Right::kManageAddress, "maddress", u"通讯录", RightGroup::Manage, 19, 2},
    {Right::kManageCategories, "mbasic", u"分类属性", RightGroup::Manage, 20, 4},
    {Right::kManageMaterial, "mmaterial", u"原材料", RightGroup::Manage, 21, 13},
    {Right::kManageProduct, "mproduct", u"产品", RightGroup::Manage, 22, 14},
}};

constexpr const RightInfo& InfoOf(Right right)
{
    return kRights[static_cast<std::size_t>(right)];
}

// The rights ordered by a place of theirs: out[place - first] is the right at that place.
template <int RightInfo::*Place> constexpr std::array<Right, kRightCount> RightsByPlace(int first)
{
    std::array<Right, kRightCount> out{};
    for (const RightInfo& info : kRights)
        out[static_cast<std::size_t>(info.*Place - first)] = info.right;
    return out;
}

// The permission dialog's order: its boxes and its list columns 1 to 23.
inline constexpr std::array<Right, kRightCount> kRightsInDialogOrder =
    RightsByPlace<&RightInfo::dialogPlace>(0);
// The order of the rights' columns in table `power`, which starts with `user` and `pas`.
inline constexpr int kFirstRightColumn = 2;
inline constexpr std::array<Right, kRightCount> kRightsInPowerOrder =
    RightsByPlace<&RightInfo::powerPlace>(kFirstRightColumn);

namespace rights_detail {
constexpr bool TableIsWellFormed()
{
    std::array<bool, kRightCount> dialog{}, power{};
    for (std::size_t i = 0; i < kRights.size(); ++i) {
        const RightInfo& info = kRights[i];
        const int powerIndex = info.powerPlace - kFirstRightColumn;
        if (static_cast<std::size_t>(info.right) != i || info.dialogPlace < 0 ||
            info.dialogPlace >= kRightCount || powerIndex < 0 || powerIndex >= kRightCount ||
            dialog[static_cast<std::size_t>(info.dialogPlace)] ||
            power[static_cast<std::size_t>(powerIndex)])
            return false;
        // The dialog shows the search group before the manage group.
        if ((info.group == RightGroup::Search) != (info.dialogPlace < 10))
            return false;
        dialog[static_cast<std::size_t>(info.dialogPlace)] = true;
        power[static_cast<std::size_t>(powerIndex)] = true;
    }
    return true;
}
} // namespace rights_detail
static_assert(rights_detail::TableIsWellFormed(),
              "each right has its own place in the enum, the dialog and table power");

// The right stored in that column of `power` (letter case aside); null for any other name.
const RightInfo* RightByColumn(const QString& column);

// A set of rights: those of the signed-in user. A new set holds none.
class CRights
{
public:
    bool Has(Right right) const { return m_bits.test(Index(right)); }
    void Set(Right right, bool granted) { m_bits.set(Index(right), granted); }
    void SetAll(bool granted)
    {
        if (granted)
            m_bits.set();
        else
            m_bits.reset();
    }

    bool operator==(const CRights&) const = default;

private:
    static std::size_t Index(Right right) { return static_cast<std::size_t>(right); }

    std::bitset<kRightCount> m_bits;
};
