#include "schedule/cataloguekind.h"

using namespace Qt::StringLiterals;

const CatalogueKind& MaterialCatalogue()
{
    static const CatalogueKind kind{
        u"IDD_MATERIAL"_s,
        u"原料管理"_s,
        u"material"_s,
        u"materialimage"_s,
        true,
        u"SELECT * FROM material ORDER BY number, name, client"_s,
        {{u"按编号"_s, u"IDC_SORT_NUMBER"_s, 0},
         {u"按产品"_s, u"IDC_SORT_NAME"_s, 1},
         {u"按所属企业"_s, u"IDC_SORT_CLIENT"_s, 2}},
        u"没有找到指定的原材料！"_s,
        u"原材料名称已经存在，是否要重复添加？"_s,
        u"原材料表无法打开，请先升级数据库！"_s,
        u"原材料图片表还未建立，请先升级数据库！"_s,
    };
    return kind;
}

const CatalogueKind& ProductCatalogue()
{
    static const CatalogueKind kind{
        u"IDD_PRODUCT"_s,
        u"产品管理"_s,
        u"product"_s,
        u"productimage"_s,
        false,
        u"SELECT * FROM product ORDER BY number, name"_s,
        {{u"按编号"_s, u"IDC_SORT_NUMBER"_s, 0}, {u"按名称"_s, u"IDC_SORT_NAME"_s, 1}},
        u"没有找到指定的产品！"_s,
        u"产品名称已经存在，是否要重复添加？"_s,
        u"产品表无法打开，请先升级数据库！"_s,
        u"产品图片表还未建立，请先升级数据库！"_s,
    };
    return kind;
}
