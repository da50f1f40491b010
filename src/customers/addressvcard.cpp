#include "customers/addressvcard.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Two-character family names, which a split of a Chinese name must keep whole.
constexpr const char16_t* kCompoundSurnames[] = {
    u"欧阳", u"司马", u"上官", u"诸葛", u"东方", u"皇甫", u"尉迟", u"公孙", u"慕容", u"长孙",
    u"宇文", u"司徒", u"夏侯", u"令狐", u"端木", u"独孤", u"南宫", u"西门", u"轩辕", u"呼延",
    u"百里", u"澹台", u"公冶", u"太史", u"申屠", u"闻人", u"万俟", u"钟离", u"赫连", u"淳于",
};

bool IsHan(char32_t c)
{
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

bool HasHan(QStringView text)
{
    for (char32_t c : text.toUcs4())
        if (IsHan(c))
            return true;
    return false;
}

bool AllHan(QStringView text)
{
    const QList<uint> characters = text.toUcs4();
    if (characters.isEmpty())
        return false;
    for (char32_t c : characters)
        if (!IsHan(c))
            return false;
    return true;
}

// Family and given name for N. A Chinese name of two to four characters splits after its
// family name; another name with blanks splits before its last word; anything else is given
// whole as the family name, so a reader shows it as it is.
std::pair<QString, QString> SplitName(const QString& name)
{
    if (AllHan(name)) {
        const QList<uint> characters = name.toUcs4();
        if (characters.size() >= 2 && characters.size() <= 4) {
            qsizetype family = characters[0] > 0xFFFF ? 2 : 1;
            for (const char16_t* surname : kCompoundSurnames)
                if (characters.size() >= 3 && name.startsWith(QStringView(surname)))
                    family = 2;
            return {name.left(family), name.mid(family)};
        }
        return {name, QString()};
    }
    const QString simplified = name.trimmed();
    const qsizetype blank = simplified.lastIndexOf(u' ');
    if (blank > 0 && simplified == name)
        return {name.mid(blank + 1), name.left(blank)};
    return {name, QString()};
}

// N read back as one name: Chinese parts run together family first, others given name first
// with blanks between.
QString NameOf(const QStringList& parts)
{
    auto part = [&](int i) { return i < parts.size() ? parts[i].trimmed() : QString(); };
    const QString family = part(0), given = part(1), additional = part(2), prefix = part(3),
                  suffix = part(4);
    if (HasHan(family + given + additional))
        return prefix + family + given + additional + suffix;
    QStringList words;
    for (const QString& word : {prefix, given, additional, family, suffix})
        if (!word.isEmpty())
            words << word;
    return words.join(u' ');
}

// An ADR's parts as the one text of an address field: a street alone as it is; Chinese
// addresses from the country down, others from the street up.
QString AddressOf(const QStringList& parts)
{
    auto part = [&](int i) { return i < parts.size() ? parts[i] : QString(); };
    const QString pobox = part(0), extended = part(1), street = part(2), locality = part(3),
                  region = part(4), country = part(6);
    if (pobox.isEmpty() && extended.isEmpty() && locality.isEmpty() && region.isEmpty() &&
        country.isEmpty())
        return street;
    QStringList ordered;
    const bool chinese = HasHan(pobox + extended + street + locality + region + country);
    if (chinese)
        ordered = {country, region, locality, street, extended, pobox};
    else
        ordered = {pobox, extended, street, locality, region, country};
    ordered.removeAll(QString());
    return ordered.join(chinese ? QString() : u", "_s);
}

// A birthday that is a date as the program writes dates ("1990-3-5"); other texts stay texts.
std::optional<QDate> DateOf(const QString& text)
{
    static const QRegularExpression pattern(u"^(\\d{1,4})-(\\d{1,2})-(\\d{1,2})$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!date.isValid() || u"%1-%2-%3"_s.arg(date.year()).arg(date.month()).arg(date.day()) != text)
        return std::nullopt;
    return date;
}

// A BDAY value in the program's words: a date "1990-3-5", a day without its year "3-5",
// anything else as written.
QString BirthdayOf(const VCardProperty& property)
{
    const QString text = property.Text();
    const bool plainText = property.Parameter(u"VALUE").contains(u"text"_s, Qt::CaseInsensitive);
    if (plainText)
        return text;
    static const QRegularExpression full(u"^(\\d{4})-?(\\d{2})-?(\\d{2})(?:T[0-9:Z+\\-.]*)?$"_s);
    static const QRegularExpression yearless(u"^--(\\d{2})-?(\\d{2})$"_s);
    const QString trimmed = text.trimmed();
    if (const QRegularExpressionMatch match = full.match(trimmed); match.hasMatch()) {
        const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                         match.captured(3).toInt());
        if (date.isValid()) {
            // Apple writes a day without a year in the year 1604.
            if (!property.Parameter(u"X-APPLE-OMIT-YEAR").isEmpty())
                return u"%1-%2"_s.arg(date.month()).arg(date.day());
            return u"%1-%2-%3"_s.arg(date.year()).arg(date.month()).arg(date.day());
        }
    }
    if (const QRegularExpressionMatch match = yearless.match(trimmed); match.hasMatch()) {
        const int month = match.captured(1).toInt(), day = match.captured(2).toInt();
        if (QDate(2000, month, day).isValid())
            return u"%1-%2"_s.arg(month).arg(day);
    }
    return text;
}

void WriteCard(VCardWriter& writer, const AddressEntry& entry)
{
    const bool v4 = writer.Version() == VCardVersion::V4;
    const auto& t = entry.texts;
    auto type = [v4](const char* value) {
        const QString text = u"TYPE="_s + QString::fromLatin1(value);
        return v4 ? text : text.toUpper();
    };
    auto phoneParameters = [&](const char* value) {
        return v4 ? QStringList{u"VALUE=text"_s, type(value)} : QStringList{type(value)};
    };
    writer.Begin();
    writer.AddText("FN", {}, t[kUser]);
    const auto [family, given] = SplitName(t[kUser]);
    writer.AddComponents("N", {}, {family, given, {}, {}, {}});
    if (!entry.group.isEmpty())
        writer.AddText("CATEGORIES", {}, entry.group);
    writer.Add(v4 ? "GENDER" : "X-GENDER", {}, entry.sex ? u"F" : u"M");
    const struct
    {
        AddressText field;
        const char* type;
    } phones[] = {{kMobile, "cell"},
                  {kPas, "x-pas"},
                  {kHomePhone, "home,voice"},
                  {kOfficePhone, "work,voice"},
                  {kFax, "work,fax"}};
    for (const auto& phone : phones)
        if (!t[phone.field].isEmpty())
            writer.AddText("TEL", phoneParameters(phone.type), t[phone.field]);
    for (AddressText email : {kEmail1, kEmail2})
        if (!t[email].isEmpty())
            writer.AddText("EMAIL", v4 ? QStringList() : QStringList{u"TYPE=INTERNET"_s}, t[email]);
    if (!t[kQq].isEmpty())
        writer.AddText("X-QQ", {}, t[kQq]);
    if (!t[kMsn].isEmpty())
        writer.AddText("X-MSN", {}, t[kMsn]);
    if (!t[kBirthday].isEmpty()) {
        if (const std::optional<QDate> date = DateOf(t[kBirthday]))
            writer.Add("BDAY", {}, date->toString(v4 ? u"yyyyMMdd"_s : u"yyyy-MM-dd"_s));
        else
            writer.AddText("BDAY", {u"VALUE=text"_s}, t[kBirthday]);
    }
    if (!t[kLike].isEmpty())
        writer.AddText(v4 ? "HOBBY" : "X-HOBBY", {}, t[kLike]);
    if (!t[kCompany].isEmpty() || !t[kBranch].isEmpty())
        writer.AddComponents("ORG", {},
                             t[kBranch].isEmpty() ? QStringList{t[kCompany]}
                                                  : QStringList{t[kCompany], t[kBranch]});
    if (!t[kDuty].isEmpty())
        writer.AddText("TITLE", {}, t[kDuty]);
    const struct
    {
        AddressText address;
        AddressText zip;
        const char* type;
    } addresses[] = {{kCompanyAddr, kCompanyZip, "work"}, {kHomeAddr, kHomeZip, "home"}};
    for (const auto& address : addresses)
        if (!t[address.address].isEmpty() || !t[address.zip].isEmpty())
            writer.AddComponents("ADR", {type(address.type)},
                                 {{}, {}, t[address.address], {}, {}, t[address.zip], {}});
    if (!t[kRemark].isEmpty())
        writer.AddText("NOTE", {}, t[kRemark]);
    writer.End();
}

// Properties of other things a card tells about a person, which the address book has no
// field for: reported as left out.
bool IsPersonalData(const QString& name)
{
    static const QStringList kNames = {
        u"PHOTO"_s,
        u"LOGO"_s,
        u"URL"_s,
        u"NICKNAME"_s,
        u"ROLE"_s,
        u"ANNIVERSARY"_s,
        u"RELATED"_s,
        u"GEO"_s,
        u"KEY"_s,
        u"SOUND"_s,
        u"IMPP"_s,
        u"X-AIM"_s,
        u"X-ICQ"_s,
        u"X-JABBER"_s,
        u"X-YAHOO"_s,
        u"X-SKYPE"_s,
        u"X-SKYPE-USERNAME"_s,
        u"X-WECHAT"_s,
        u"X-GOOGLE-TALK"_s,
    };
    return kNames.contains(name);
}

QString ImppHandle(const QString& uri, std::initializer_list<const char16_t*> schemes)
{
    for (const char16_t* scheme : schemes) {
        const QString prefix = QString::fromUtf16(scheme) + u':';
        if (uri.startsWith(prefix, Qt::CaseInsensitive))
            return uri.mid(prefix.size());
    }
    return {};
}

class CardMapper
{
public:
    explicit CardMapper(const VCard& card) : m_card(card)
    {
        m_result.index = card.index;
        m_result.line = card.line;
    }

    AddressCard Map();

private:
    void Take(AddressText field, const QString& value, const QString& property)
    {
        QString& target = m_result.entry.texts[field];
        if (target.isEmpty() && !value.isEmpty())
            target = value;
        else if (!value.isEmpty())
            m_result.leftOver << property;
    }
    void Phone(const VCardProperty& property);
    void Address(const VCardProperty& property);
    bool Free(AddressText field) const { return m_result.entry.texts[field].isEmpty(); }

    const VCard& m_card;
    AddressCard m_result;
};

void CardMapper::Phone(const VCardProperty& property)
{
    QString number = property.Text();
    if (number.startsWith(u"tel:"_s, Qt::CaseInsensitive))
        number = number.mid(4);
    if (number.isEmpty())
        return;
    std::optional<AddressText> field;
    if (property.HasType(u"fax"))
        field = kFax;
    else if (property.HasType(u"x-pas"))
        field = kPas;
    else if (property.HasType(u"cell") || property.HasType(u"mobile") ||
             property.HasType(u"iphone"))
        field = kMobile;
    else if (property.HasType(u"home"))
        field = kHomePhone;
    else if (property.HasType(u"work"))
        field = kOfficePhone;
    else if (property.HasType(u"pager") || property.HasType(u"video") ||
             property.HasType(u"textphone") || property.HasType(u"isdn") ||
             property.HasType(u"modem") || property.HasType(u"car") || property.HasType(u"bbs"))
        field = std::nullopt;
    else
        // A number of no kind goes into the first telephone field still empty.
        for (AddressText free : {kMobile, kHomePhone, kOfficePhone})
            if (!field && Free(free))
                field = free;
    if (field)
        Take(*field, number, property.name);
    else
        m_result.leftOver << property.name;
}

void CardMapper::Address(const VCardProperty& property)
{
    const QStringList parts = property.Components();
    const QString text = AddressOf(parts);
    const QString zip = parts.size() > 5 ? parts[5] : QString();
    if (text.isEmpty() && zip.isEmpty())
        return;
    auto freePair = [&](AddressText address, AddressText code) {
        return Free(address) && Free(code);
    };
    std::optional<std::pair<AddressText, AddressText>> place;
    if (property.HasType(u"work"))
        place = {kCompanyAddr, kCompanyZip};
    else if (property.HasType(u"home"))
        place = {kHomeAddr, kHomeZip};
    else if (freePair(kHomeAddr, kHomeZip))
        place = {kHomeAddr, kHomeZip};
    else
        place = {kCompanyAddr, kCompanyZip};
    if (!freePair(place->first, place->second)) {
        m_result.leftOver << property.name;
        return;
    }
    m_result.entry.texts[place->first] = text;
    m_result.entry.texts[place->second] = zip;
}

AddressCard CardMapper::Map()
{
    AddressEntry& entry = m_result.entry;
    bool named = false, grouped = false, gendered = false, birthday = false, org = false;
    for (const VCardProperty& property : m_card.properties) {
        const QString& name = property.name;
        if (name == u"FN"_s) {
            if (!named && !property.Text().trimmed().isEmpty()) {
                entry.texts[kUser] = property.Text();
                named = true;
            }
        } else if (name == u"CATEGORIES"_s) {
            const QStringList values = property.Values();
            if (!grouped) {
                entry.group = values.constFirst();
                grouped = true;
                if (values.size() > 1)
                    m_result.leftOver << name;
            } else {
                m_result.leftOver << name;
            }
        } else if (name == u"GENDER"_s || name == u"X-GENDER"_s) {
            if (!gendered) {
                const QString sex = property.Components().constFirst().trimmed();
                entry.sex = sex.startsWith(u'F', Qt::CaseInsensitive) || sex == u"女"_s ? 1 : 0;
                gendered = true;
            }
        } else if (name == u"TEL"_s) {
            Phone(property);
        } else if (name == u"EMAIL"_s) {
            const QString address = property.Text();
            if (Free(kEmail1))
                Take(kEmail1, address, name);
            else
                Take(kEmail2, address, name);
        } else if (name == u"X-QQ"_s) {
            Take(kQq, property.Text(), name);
        } else if (name == u"X-MSN"_s) {
            Take(kMsn, property.Text(), name);
        } else if (name == u"IMPP"_s) {
            const QString uri = property.Text();
            if (const QString qq = ImppHandle(uri, {u"x-qq", u"qq"}); !qq.isEmpty())
                Take(kQq, qq, name);
            else if (const QString msn = ImppHandle(uri, {u"msnim", u"msn", u"x-msn"});
                     !msn.isEmpty())
                Take(kMsn, msn, name);
            else
                m_result.leftOver << name;
        } else if (name == u"BDAY"_s) {
            if (!birthday)
                Take(kBirthday, BirthdayOf(property), name);
            else
                m_result.leftOver << name;
            birthday = true;
        } else if (name == u"HOBBY"_s || name == u"X-HOBBY"_s) {
            Take(kLike, property.Text(), name);
        } else if (name == u"ORG"_s) {
            const QStringList parts = property.Components();
            if (org) {
                m_result.leftOver << name;
                continue;
            }
            org = true;
            entry.texts[kCompany] = parts.value(0);
            entry.texts[kBranch] = parts.value(1);
            for (qsizetype i = 2; i < parts.size(); ++i)
                if (!parts[i].isEmpty()) {
                    m_result.leftOver << name;
                    break;
                }
        } else if (name == u"TITLE"_s) {
            Take(kDuty, property.Text(), name);
        } else if (name == u"ADR"_s) {
            Address(property);
        } else if (name == u"NOTE"_s) {
            Take(kRemark, property.Text(), name);
        } else if (IsPersonalData(name)) {
            m_result.leftOver << name;
        }
    }
    if (!named)
        if (const VCardProperty* n = m_card.Find(u"N"))
            entry.texts[kUser] = NameOf(n->Components());
    return m_result;
}

bool HasControlCharacter(const QString& text)
{
    for (QChar c : text)
        if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') ||
            c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            return true;
    return false;
}

// Why an entry read from a card cannot be stored as it is; none when it can.
std::optional<AddressCardSkip> Refusal(const AddressCard& card)
{
    AddressCardSkip skip{card.index, card.line, AddressCardProblem::NoName, 0, {}};
    if (card.entry.texts[kUser].trimmed().isEmpty())
        return skip;
    const auto fields = AddressTextFields();
    auto check = [&](const QString& text, const QString& label) {
        if (text.size() > kAddressFieldMaxLength)
            skip.problem = AddressCardProblem::TooLong;
        else if (HasControlCharacter(text))
            skip.problem = AddressCardProblem::Control;
        else
            return true;
        skip.field = label;
        return false;
    };
    if (!check(card.entry.group, u"分类"_s))
        return skip;
    for (int i = 0; i < kAddressTextFieldCount; ++i)
        if (!check(card.entry.texts[size_t(i)], QString::fromUtf16(fields[size_t(i)].label)))
            return skip;
    return std::nullopt;
}

AddressCardProblem ProblemOf(VCardProblem problem)
{
    switch (problem) {
    case VCardProblem::Truncated:
        return AddressCardProblem::Truncated;
    case VCardProblem::BadLine:
        return AddressCardProblem::BadLine;
    case VCardProblem::BadCharset:
        return AddressCardProblem::BadCharset;
    case VCardProblem::BadEncoding:
        return AddressCardProblem::BadEncoding;
    }
    return AddressCardProblem::BadLine;
}

} // namespace

QByteArray WriteAddressCards(std::span<const AddressEntry> entries, VCardVersion version)
{
    VCardWriter writer(version);
    for (const AddressEntry& entry : entries)
        WriteCard(writer, entry);
    return writer.Bytes();
}

AddressCardsRead ReadAddressCards(QByteArrayView bytes)
{
    AddressCardsRead result;
    // Each card becomes an entry as soon as it is read.
    const VCardReadResult read = ReadVCards(bytes, [&result](VCard&& card) {
        AddressCard mapped = CardMapper(card).Map();
        if (std::optional<AddressCardSkip> refusal = Refusal(mapped))
            result.skipped.push_back(*refusal);
        else
            result.cards.push_back(std::move(mapped));
    });
    result.isVCard = read.isVCard;
    for (const VCardSkip& skip : read.skipped)
        result.skipped.push_back(
            AddressCardSkip{skip.index, skip.line, ProblemOf(skip.problem), skip.problemLine, {}});
    std::sort(result.skipped.begin(), result.skipped.end(),
              [](const AddressCardSkip& a, const AddressCardSkip& b) { return a.index < b.index; });
    return result;
}

QString AddressCardSkipText(const AddressCardSkip& skip)
{
    QString why;
    switch (skip.problem) {
    case AddressCardProblem::Truncated:
        why = u"名片不完整，缺少 END:VCARD"_s;
        break;
    case AddressCardProblem::BadLine:
        why = u"第 %1 行不是名片的内容行"_s.arg(skip.problemLine);
        break;
    case AddressCardProblem::BadCharset:
        why = u"第 %1 行的字符集无法识别"_s.arg(skip.problemLine);
        break;
    case AddressCardProblem::BadEncoding:
        why = u"第 %1 行含有不是文字的字节"_s.arg(skip.problemLine);
        break;
    case AddressCardProblem::NoName:
        why = u"没有姓名"_s;
        break;
    case AddressCardProblem::TooLong:
        why = u"“%1”超过 %2 个字符"_s.arg(skip.field).arg(kAddressFieldMaxLength);
        break;
    case AddressCardProblem::Control:
        why = u"“%1”含有控制字符"_s.arg(skip.field);
        break;
    }
    return u"第 %1 张名片（第 %2 行）：%3"_s.arg(skip.index).arg(skip.line).arg(why);
}
