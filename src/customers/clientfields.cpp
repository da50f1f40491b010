#include "customers/clientfields.h"

const std::array<ClientField, kClientFieldCount>& ClientFields()
{
    static constexpr std::array<ClientField, kClientFieldCount> fields = {{
        {"name", u"名称：", 1000, ClientField::Edit, nullptr, nullptr},
        {"number", u"编号：", 1225, ClientField::Edit, nullptr, nullptr},
        {"corporation", u"法人：", 1001, ClientField::Edit, nullptr, nullptr},
        {"operator", u"所属业务员：", 1277, ClientField::Combo,
         u"SELECT * FROM [operator] ORDER BY [name]",
         u"SELECT * FROM operator WHERE [name] = '%1'"},
        {"property", u"性质：", 1002, ClientField::Combo,
         u"SELECT * FROM client_property ORDER BY [name]",
         u"SELECT * FROM client_property WHERE [name] = '%1'"},
        {"type", u"类别：", 1003, ClientField::Combo, u"SELECT * FROM client_type ORDER BY [name]",
         u"SELECT * FROM client_type WHERE [name] = '%1'"},
        {"vocation", u"行业：", 1004, ClientField::Combo,
         u"SELECT * FROM client_vocation ORDER BY [name]",
         u"SELECT * FROM client_vocation WHERE [name] = '%1'"},
        {"important", u"重要度：", 1005, ClientField::Combo,
         u"SELECT * FROM Important ORDER BY [name]",
         u"SELECT * FROM important WHERE [name] = '%1'"},
        {"credit", u"信誉：", 1006, ClientField::Combo, u"SELECT * FROM credit ORDER BY [name]",
         u"SELECT * FROM credit WHERE [name] = '%1'"},
        {"country", u"国家：", 1007, ClientField::Combo, u"SELECT * FROM country ORDER BY [name]",
         u"SELECT * FROM country WHERE [name] = '%1'"},
        {"province", u"省：", 1008, ClientField::Combo, u"SELECT * FROM province ORDER BY [name]",
         u"SELECT * FROM province WHERE [name] = '%1'"},
        {"city", u"市：", 1009, ClientField::Combo, u"SELECT * FROM city ORDER BY [name]",
         u"SELECT * FROM city WHERE [name] = '%1'"},
        // Staff size and turnover offer their dictionaries but never add to them.
        {"people", u"员工人数：", 1231, ClientField::Combo, u"SELECT * FROM people ORDER BY [name]",
         nullptr},
        {"turnover", u"年营业额：", 1232, ClientField::Combo,
         u"SELECT * FROM turnover ORDER BY [name]", nullptr},
        {"address", u"地址：", 1010, ClientField::Edit, nullptr, nullptr},
        {"zip", u"邮编：", 1011, ClientField::Edit, nullptr, nullptr},
        {"site", u"主页：", 1018, ClientField::Edit, nullptr, nullptr},
        {"tax", u"税号：", 1012, ClientField::Edit, nullptr, nullptr},
        {"bank", u"开户行：", 1013, ClientField::Edit, nullptr, nullptr},
        {"account", u"帐号：", 1014, ClientField::Edit, nullptr, nullptr},
        {"survey", u"概况：", 1015, ClientField::MultiLine, nullptr, nullptr},
        {"remark", u"备注：", 1016, ClientField::MultiLine, nullptr, nullptr},
    }};
    return fields;
}
