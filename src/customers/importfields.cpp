#include "customers/importfields.h"

#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// A text column holds 255 characters, a long text (概况, 备注) 65,535.
constexpr int kText = 255;
constexpr int kLongText = 65535;

template <size_t N> using Headers = std::array<const char16_t*, N>;

// Clients.
constexpr Headers<15> kClientName = {u"客户名称",     u"客户",     u"公司名称",    u"公司",
                                     u"企业名称",     u"单位名称", u"单位",        u"客户名",
                                     u"name",         u"company",  u"companyname", u"customer",
                                     u"customername", u"client",   u"clientname"};
constexpr Headers<10> kClientNumber = {u"客户编号",   u"代码",    u"客户代码", u"number",
                                       u"no",         u"code",    u"id",       u"customerid",
                                       u"customerno", u"clientno"};
constexpr Headers<6> kCorporation = {u"法人代表",    u"法定代表人",  u"负责人",
                                     u"corporation", u"legalperson", u"representative"};
constexpr Headers<6> kOperator = {u"业务员",   u"销售员",      u"销售代表",
                                  u"operator", u"salesperson", u"salesman"};
constexpr Headers<6> kProperty = {u"企业性质", u"公司性质", u"客户性质",
                                  u"property", u"nature",   u"ownership"};
constexpr Headers<6> kType = {u"客户类别", u"类型", u"客户类型", u"分类", u"type", u"category"};
constexpr Headers<5> kVocation = {u"所属行业", u"vocation", u"industry", u"trade", u"sector"};
constexpr Headers<5> kImportant = {u"重要性", u"重要程度", u"important", u"importance",
                                   u"priority"};
constexpr Headers<5> kCredit = {u"信用", u"信用等级", u"信誉度", u"credit", u"creditrating"};
constexpr Headers<3> kCountry = {u"国家/地区", u"国家或地区", u"country"};
constexpr Headers<4> kProvince = {u"省份", u"省/自治区", u"province", u"state"};
constexpr Headers<2> kCity = {u"城市", u"city"};
constexpr Headers<7> kPeople = {u"人数",   u"员工数",    u"员工数量", u"规模",
                                u"people", u"employees", u"headcount"};
constexpr Headers<5> kTurnover = {u"营业额", u"年销售额", u"turnover", u"revenue",
                                  u"annualturnover"};
constexpr Headers<5> kClientAddress = {u"公司地址", u"详细地址", u"通讯地址", u"address", u"addr"};
constexpr Headers<5> kZip = {u"邮政编码", u"zip", u"zipcode", u"postcode", u"postalcode"};
constexpr Headers<7> kSite = {u"网址",    u"网站",     u"公司网址", u"site",
                              u"website", u"homepage", u"url"};
constexpr Headers<6> kTax = {u"纳税人识别号", u"税务登记号", u"统一社会信用代码",
                             u"tax",          u"taxid",      u"vat"};
constexpr Headers<3> kBank = {u"开户银行", u"银行", u"bank"};
constexpr Headers<5> kAccount = {u"账号", u"银行账号", u"银行帐号", u"account", u"bankaccount"};
constexpr Headers<6> kSurvey = {u"简介",   u"公司简介", u"企业概况",
                                u"survey", u"profile",  u"description"};
constexpr Headers<9> kRemark = {u"说明",  u"附注",    u"remark",   u"remarks", u"note",
                                u"notes", u"comment", u"comments", u"memo"};

constexpr ImportField kClientFields[] = {
    {"name", u"名称", kText, ImportField::Text, kClientName},
    {"number", u"编号", kText, ImportField::Text, kClientNumber},
    {"corporation", u"法人", kText, ImportField::Text, kCorporation},
    {"operator", u"所属业务员", kText, ImportField::Text, kOperator},
    {"property", u"性质", kText, ImportField::Text, kProperty},
    {"type", u"类别", kText, ImportField::Text, kType},
    {"vocation", u"行业", kText, ImportField::Text, kVocation},
    {"important", u"重要度", kText, ImportField::Text, kImportant},
    {"credit", u"信誉", kText, ImportField::Text, kCredit},
    {"country", u"国家", kText, ImportField::Text, kCountry},
    {"province", u"省", kText, ImportField::Text, kProvince},
    {"city", u"市", kText, ImportField::Text, kCity},
    {"people", u"员工人数", kText, ImportField::Text, kPeople},
    {"turnover", u"年营业额", kText, ImportField::Text, kTurnover},
    {"address", u"地址", kText, ImportField::Text, kClientAddress},
    {"zip", u"邮编", kText, ImportField::Text, kZip},
    {"site", u"主页", kText, ImportField::Text, kSite},
    {"tax", u"税号", kText, ImportField::Text, kTax},
    {"bank", u"开户行", kText, ImportField::Text, kBank},
    {"account", u"帐号", kText, ImportField::Text, kAccount},
    {"survey", u"概况", kLongText, ImportField::Text, kSurvey},
    {"remark", u"备注", kLongText, ImportField::Text, kRemark},
};

// Contacts.
constexpr Headers<9> kContactName = {u"联系人",  u"联系人姓名",  u"名字",   u"name", u"fullname",
                                     u"contact", u"contactname", u"person", u"名称"};
constexpr Headers<13> kContactClient = {
    u"客户",         u"客户名称",     u"公司",       u"公司名称", u"单位",
    u"工作单位",     u"企业名称",     u"company",    u"client",   u"customer",
    u"organization", u"organisation", u"companyname"};
constexpr Headers<6> kContactNumber = {u"联系人编号", u"number", u"no", u"code", u"id", u"代码"};
constexpr Headers<2> kSex = {u"sex", u"gender"};
constexpr Headers<2> kNation = {u"nation", u"ethnicity"};
constexpr Headers<3> kBranch = {u"branch", u"department", u"dept"};
constexpr Headers<6> kDuty = {u"职位", u"岗位", u"duty", u"title", u"jobtitle", u"position"};
constexpr Headers<8> kMobile = {u"手机号", u"手机号码",  u"移动电话",    u"mobile",
                                u"cell",   u"cellphone", u"mobilephone", u"手机1"};
constexpr Headers<11> kOfficePhone = {u"电话",      u"办公电话",    u"单位电话",     u"公司电话",
                                      u"电话号码",  u"phone",       u"tel",          u"telephone",
                                      u"workphone", u"officephone", u"businessphone"};
constexpr Headers<4> kHomePhone = {u"住宅电话", u"宅电", u"homephone", u"hometel"};
constexpr Headers<1> kFax = {u"fax"};
constexpr Headers<2> kQq = {u"qq号", u"qq号码"};
constexpr Headers<1> kMsn = {u"msn"};
constexpr Headers<7> kEmail1 = {u"email",    u"e-mail", u"邮箱",        u"电子邮件",
                                u"电子邮箱", u"mail",   u"emailaddress"};
constexpr Headers<3> kEmail2 = {u"邮箱2", u"电子邮件2", u"电子邮箱2"};
constexpr Headers<5> kId = {u"身份证", u"身份证号码", u"idcard", u"idnumber", u"identitycard"};
constexpr Headers<5> kLike = {u"兴趣", u"like", u"hobby", u"hobbies", u"interests"};
constexpr Headers<3> kEducation = {u"教育程度", u"education", u"degree"};
constexpr Headers<2> kTechnical = {u"technical", u"professionaltitle"};
constexpr Headers<3> kHoliday = {u"holiday", u"dayoff", u"restday"};
constexpr Headers<6> kBirthday = {u"出生日期",    u"birthday", u"birthdate",
                                  u"dateofbirth", u"dob",      u"出生年月日"};
constexpr Headers<8> kLocation = {u"工作地址",    u"单位地址", u"公司地址",      u"地址",
                                  u"workaddress", u"address",  u"officeaddress", u"addr"};
constexpr Headers<8> kLocZip = {u"邮编",     u"工作地址邮编", u"单位邮编", u"公司邮编",
                                u"邮政编码", u"workzip",      u"zip",      u"postcode"};
constexpr Headers<4> kHomeAddress = {u"住址", u"家庭住址", u"homeaddress", u"homeaddr"};
constexpr Headers<5> kHomeZip = {u"家庭邮编", u"住址邮编", u"家庭地址邮编", u"homezip", u"邮编"};

constexpr ImportField kContactFields[] = {
    {"name", u"姓名", kText, ImportField::Text, kContactName},
    {"client", u"所属客户", kText, ImportField::Client, kContactClient},
    {"number", u"编号", kText, ImportField::Text, kContactNumber},
    {"sex", u"性别", kText, ImportField::Sex, kSex},
    {"nation", u"民族", kText, ImportField::Text, kNation},
    {"important", u"重要度", kText, ImportField::Text, kImportant},
    {"credit", u"信誉", kText, ImportField::Text, kCredit},
    {"branch", u"部门", kText, ImportField::Text, kBranch},
    {"duty", u"职务", kText, ImportField::Text, kDuty},
    {"mobile", u"手机", kText, ImportField::Text, kMobile},
    {"officephone", u"工作电话", kText, ImportField::Text, kOfficePhone},
    {"homephone", u"家庭电话", kText, ImportField::Text, kHomePhone},
    {"fax", u"传真", kText, ImportField::Text, kFax},
    {"qq", u"QQ", kText, ImportField::Text, kQq},
    {"msn", u"MSN", kText, ImportField::Text, kMsn},
    {"email1", u"Email1", kText, ImportField::Text, kEmail1},
    {"email2", u"Email2", kText, ImportField::Text, kEmail2},
    {"id", u"身份证号", kText, ImportField::Text, kId},
    {"like", u"爱好", kText, ImportField::Text, kLike},
    {"education", u"学历", kText, ImportField::Text, kEducation},
    {"technical", u"职称", kText, ImportField::Text, kTechnical},
    {"holiday", u"休息日", kText, ImportField::Text, kHoliday},
    {"birthday", u"生日", kText, ImportField::Birthday, kBirthday},
    {"country", u"国家", kText, ImportField::Text, kCountry},
    {"province", u"省", kText, ImportField::Text, kProvince},
    {"city", u"市", kText, ImportField::Text, kCity},
    {"location", u"工作地址", kText, ImportField::Text, kLocation},
    {"loczip", u"工作地址邮编", kText, ImportField::Text, kLocZip},
    {"address", u"家庭地址", kText, ImportField::Text, kHomeAddress},
    {"adrzip", u"家庭地址邮编", kText, ImportField::Text, kHomeZip},
    {"remark", u"备注", kLongText, ImportField::Text, kRemark},
};

bool Names(const ImportField& field, const QString& normalized)
{
    if (NormalizedHeader(QString::fromUtf16(field.label)) == normalized)
        return true;
    for (const char16_t* header : field.headers)
        if (NormalizedHeader(QString::fromUtf16(header)) == normalized)
            return true;
    return false;
}

} // namespace

std::span<const ImportField> ImportFields(ImportKind kind)
{
    if (kind == ImportKind::Clients)
        return kClientFields;
    return kContactFields;
}

int ImportFieldIndex(ImportKind kind, const char* field)
{
    const auto fields = ImportFields(kind);
    for (size_t i = 0; i < fields.size(); ++i)
        if (std::strcmp(fields[i].field, field) == 0)
            return int(i);
    return -1;
}

QString NormalizedHeader(const QString& header)
{
    QString normalized;
    normalized.reserve(header.size());
    for (const QChar c : header) {
        if (c.isSpace() || c == u':' || c == u'：' || c == u'-' || c == u'_' || c == u'.' ||
            c == u'*')
            continue;
        const char16_t u = c.unicode();
        normalized += (u >= u'A' && u <= u'Z') ? QChar(u - u'A' + u'a') : c;
    }
    return normalized;
}

std::vector<int> SuggestImportFields(ImportKind kind, const QStringList& header)
{
    const auto fields = ImportFields(kind);
    std::vector<int> suggested(size_t(header.size()), -1);
    std::vector<bool> taken(fields.size(), false);
    for (qsizetype column = 0; column < header.size(); ++column) {
        const QString normalized = NormalizedHeader(header[column]);
        if (normalized.isEmpty())
            continue;
        // Its own label first: "客户" is a client's 名称 only where no column says 名称.
        for (int pass = 0; pass < 2 && suggested[size_t(column)] < 0; ++pass) {
            for (size_t f = 0; f < fields.size(); ++f) {
                if (taken[f])
                    continue;
                const bool named =
                    pass == 0 ? NormalizedHeader(QString::fromUtf16(fields[f].label)) == normalized
                              : Names(fields[f], normalized);
                if (named) {
                    suggested[size_t(column)] = int(f);
                    taken[f] = true;
                    break;
                }
            }
        }
    }
    return suggested;
}
