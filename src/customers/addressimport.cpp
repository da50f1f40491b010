#include "customers/addressimport.h"

#include "customers/addressgroups.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "kit/completionindex.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A group and a name as the duplicate test compares them.
QString DuplicateKey(const QString& group, const QString& user)
{
    return FoldAsciiCase(group) + QChar(0) + FoldAsciiCase(user);
}

} // namespace

std::vector<AddressEntry> EntriesToImport(std::span<const AddressCard> cards, const QString& group,
                                          bool cardGroups)
{
    std::vector<AddressEntry> entries;
    entries.reserve(cards.size());
    for (const AddressCard& card : cards) {
        AddressEntry entry = card.entry;
        if (!cardGroups || entry.group.isEmpty())
            entry.group = group;
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool FindAddressDuplicates(CADODatabase* database, std::span<const AddressEntry> entries,
                           std::vector<AddressDuplicates>& duplicates)
{
    duplicates.clear();
    QSet<QString> present;
    CADORecordset recordset(database);
    if (!recordset.OpenForward(u"SELECT [group], [user] FROM [address]"_s))
        return false;
    ForEachRow(recordset, [&] {
        QString group, user;
        recordset.GetFieldText(0, group);
        recordset.GetFieldText(1, user);
        present.insert(DuplicateKey(group, user));
    });
    if (!recordset.WalkSucceeded())
        return false;
    QHash<QString, size_t> groups; // folded group -> place in `duplicates`
    for (size_t i = 0; i < entries.size(); ++i) {
        const AddressEntry& entry = entries[i];
        const QString key = DuplicateKey(entry.group, entry.texts[kUser]);
        if (!present.contains(key)) {
            present.insert(key);
            continue;
        }
        const QString folded = FoldAsciiCase(entry.group);
        auto place = groups.constFind(folded);
        if (place == groups.cend()) {
            place = groups.insert(folded, duplicates.size());
            duplicates.push_back({entry.group, {}, {}});
        }
        duplicates[*place].entries.push_back(i);
        duplicates[*place].names << entry.texts[kUser];
    }
    return true;
}

AddressImportOutcome StoreAddressEntries(CADODatabase* database,
                                         std::span<const AddressEntry> entries)
{
    AddressImportOutcome outcome;
    if (!database->BeginTransaction()) {
        outcome.error = database->GetLastError();
        return outcome;
    }
    auto fail = [&](const QString& error) {
        database->RollbackTransaction();
        outcome = AddressImportOutcome{};
        outcome.error = error;
        return outcome;
    };
    QSet<QString> groups;
    for (const AddressEntry& entry : entries) {
        if (entry.group.isEmpty() || groups.contains(FoldAsciiCase(entry.group)))
            continue;
        groups.insert(FoldAsciiCase(entry.group));
        if (!StoreGroup(database, entry.group))
            return fail(u"储存分类“%1”失败！"_s.arg(entry.group));
    }
    CADORecordset recordset(database);
    // No row is read: the recordset only adds.
    if (!recordset.Open(u"SELECT * FROM address WHERE [no] < 0"_s))
        return fail(recordset.GetLastError());
    const auto fields = AddressTextFields();
    std::array<QString, kAddressTextFieldCount> columns;
    for (int i = 0; i < kAddressTextFieldCount; ++i)
        columns[size_t(i)] = QString::fromLatin1(fields[size_t(i)].column);
    const QString group = u"group"_s, sex = u"sex"_s, no = u"no"_s;
    for (const AddressEntry& entry : entries) {
        bool written = recordset.AddNew() && recordset.SetFieldText(group, entry.group) &&
                       recordset.SetFieldInt(sex, entry.sex);
        for (int i = 0; written && i < kAddressTextFieldCount; ++i)
            written = recordset.SetFieldText(columns[size_t(i)], entry.texts[size_t(i)]);
        int number = -1;
        if (!written || !recordset.Update() || !recordset.GetFieldInt(no, number)) {
            const QString error = recordset.GetLastError();
            recordset.CancelUpdate();
            return fail(error);
        }
        outcome.firstNo = outcome.firstNo < 0 ? number : std::min(outcome.firstNo, number);
        outcome.lastNo = std::max(outcome.lastNo, number);
    }
    if (!database->CommitTransaction())
        return fail(database->GetLastError());
    outcome.stored = true;
    return outcome;
}

bool ReadAddressCardFile(const QString& path, AddressCardsRead& read, QString& error)
{
    const QString name = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = u"无法打开文件“%1”：%2"_s.arg(name, file.errorString());
        return false;
    }
    if (file.size() > kAddressCardFileMaxBytes) {
        error = u"文件“%1”太大（超过 %2 MB），不是名片文件！"_s.arg(name).arg(
            kAddressCardFileMaxBytes / (1024 * 1024));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = u"读取文件“%1”时出错：%2"_s.arg(name, file.errorString());
        return false;
    }
    read = ReadAddressCards(bytes);
    if (!read.isVCard) {
        error = u"文件“%1”不是vCard名片文件：其中没有一张名片（BEGIN:VCARD）。"_s.arg(name);
        return false;
    }
    return true;
}

QStringList AddressSkipLines(std::span<const AddressCardSkip> skipped)
{
    // Enough lines to see what went wrong without a box taller than the screen.
    constexpr size_t kListedSkips = 10;
    QStringList lines;
    if (skipped.empty())
        return lines;
    lines << u"有 %1 张名片无法导入："_s.arg(skipped.size());
    for (size_t i = 0; i < skipped.size() && i < kListedSkips; ++i)
        lines << AddressCardSkipText(skipped[i]);
    if (skipped.size() > kListedSkips)
        lines << u"……其余 %1 张从略。"_s.arg(skipped.size() - kListedSkips);
    return lines;
}

QString AddressImportReport(int added, std::span<const AddressCardSkip> skipped,
                            int duplicatesLeftOut, std::span<const AddressCard> imported)
{
    QStringList lines;
    lines << u"已导入 %1 个联系人。"_s.arg(added);
    lines << AddressSkipLines(skipped);
    if (duplicatesLeftOut > 0)
        lines << u"有 %1 个联系人同分类下已经存在，按您的选择没有导入。"_s.arg(duplicatesLeftOut);
    QMap<QString, int> leftOver;
    int cards = 0;
    for (const AddressCard& card : imported) {
        cards += card.leftOver.isEmpty() ? 0 : 1;
        for (const QString& name : card.leftOver)
            ++leftOver[name];
    }
    if (cards > 0) {
        QStringList kinds;
        for (auto it = leftOver.cbegin(); it != leftOver.cend(); ++it)
            kinds << u"%1 %2 处"_s.arg(it.key()).arg(it.value());
        lines << u"有 %1 张名片中的部分资料在通讯录中没有对应的栏目，没有导入：%2。"_s.arg(cards)
                     .arg(kinds.join(u"、"_s));
    }
    return lines.join(u'\n');
}
