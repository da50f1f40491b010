// Measures the address book's vCard import and export with 20,000 entries, every field filled:
//   (a) import: the .vcf file read, its cards parsed, the duplicates looked for and every entry
//       stored in one transaction, into an empty data file (goal < 1 s);
//   (b) export: the listed entries read from the file and written as a .vcf file.
// Raw lower bounds: one prepared SQLite INSERT per entry in a transaction, and one read of the
// table. Seven runs of each; medians.
// Run: build/bench/bench/bench_vcard [entries]
#include "benchkit.h"
#include "customers/addressentry.h"
#include "customers/addressimport.h"
#include "customers/addressvcard.h"
#include "data/adodatabase.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;
using benchkit::Word;

namespace {

std::vector<AddressEntry> MakeEntries(int count)
{
    std::mt19937 random(28);
    const QStringList groups = {u"同学"_s, u"同事"_s, u"家人"_s, u"客户"_s, u"朋友"_s};
    auto digits = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += QChar(u'0' + char16_t(random() % 10));
        return text;
    };
    std::vector<AddressEntry> entries;
    entries.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        AddressEntry entry;
        entry.group = groups[qsizetype(random() % groups.size())];
        entry.sex = int(random() % 2);
        auto& t = entry.texts;
        t[kUser] = Word(random, 3) + QString::number(i);
        t[kMobile] = u"13"_s + digits(9);
        t[kPas] = u"0755-"_s + digits(7);
        t[kHomePhone] = u"010-"_s + digits(8);
        t[kOfficePhone] = u"021-"_s + digits(8) + u", 转 "_s + digits(3);
        t[kQq] = digits(9);
        t[kMsn] = u"user"_s + QString::number(i) + u"@hotmail.com"_s;
        t[kEmail1] = u"user"_s + QString::number(i) + u"@example.com"_s;
        t[kEmail2] = u"u"_s + QString::number(i) + u"@例子.中国"_s;
        t[kBirthday] = i % 3 == 0 ? u"三月初五"_s : u"1980-%1-%2"_s.arg(1 + i % 12).arg(1 + i % 28);
        t[kLike] = Word(random, 2) + u"; "_s + Word(random, 2);
        t[kCompany] = Word(random, 4) + u"有限公司"_s;
        t[kBranch] = Word(random, 2) + u"部"_s;
        t[kDuty] = Word(random, 2);
        t[kFax] = u"0755-"_s + digits(8);
        t[kCompanyAddr] = Word(random, 6) + u"路"_s + digits(3) + u"号"_s;
        t[kCompanyZip] = digits(6);
        t[kHomeAddr] = Word(random, 6) + u"小区"_s + digits(2) + u"栋"_s;
        t[kHomeZip] = digits(6);
        t[kRemark] = Word(random, 20) + u"\n"_s + Word(random, 10);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::unique_ptr<CADODatabase> Open(const QString& path)
{
    auto database = std::make_unique<CADODatabase>();
    if (!database->Open(CADODatabase::ConnectionStringFor(path))) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(database->GetLastError()));
        std::exit(1);
    }
    return database;
}

// The least any import of the same rows into SQLite does: one prepared INSERT per entry.
void RawInsert(const QString& path, const std::vector<AddressEntry>& entries)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    QStringList columns = {u"\"group\""_s, u"sex"_s};
    QStringList marks = {u"?"_s, u"?"_s};
    for (const AddressTextField& field : AddressTextFields()) {
        columns << u"\""_s + QString::fromLatin1(field.column) + u"\""_s;
        marks << u"?"_s;
    }
    const QString sql =
        u"INSERT INTO address (%1) VALUES (%2)"_s.arg(columns.join(u", "_s), marks.join(u", "_s));
    sqlite3_stmt* insert = benchkit::Prepare(db, sql.toUtf8().constData());
    for (const AddressEntry& entry : entries) {
        benchkit::Bind(insert, 1, entry.group);
        sqlite3_bind_int(insert, 2, entry.sex);
        for (int i = 0; i < kAddressTextFieldCount; ++i)
            benchkit::Bind(insert, 3 + i, entry.texts[size_t(i)]);
        benchkit::Step(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int count = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20000;
    QTemporaryDir dir;
    const QString empty = dir.filePath(u"empty.db"_s);
    if (!CreateDataFile(empty)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(empty));
        return 1;
    }
    const std::vector<AddressEntry> entries = MakeEntries(count);
    const QString cards = dir.filePath(u"通讯录.vcf"_s);
    {
        QFile file(cards);
        if (!file.open(QIODevice::WriteOnly) ||
            !file.write(WriteAddressCards(entries, VCardVersion::V3))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(cards));
            return 1;
        }
    }
    std::printf("%d address-book entries, every field filled: %.1f MB of vCard 3.0\n", count,
                double(QFileInfo(cards).size()) / 1e6);

    const QString target = dir.filePath(u"sale.db"_s);
    const QString raw = dir.filePath(u"raw.db"_s);
    // The file is open before the import starts, as it is in the program.
    std::unique_ptr<CADODatabase> database;
    auto fresh = [&] {
        database.reset();
        for (const QString& path : {target, raw}) {
            QFile::remove(path);
            QFile::copy(empty, path);
        }
        database = Open(target);
    };
    int added = 0;
    const benchkit::Figure import = benchkit::Time(
        fresh,
        [&] {
            AddressCardsRead read;
            QString error;
            if (!ReadAddressCardFile(cards, read, error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                std::exit(1);
            }
            const std::vector<AddressEntry> toImport = EntriesToImport(read.cards, {}, true);
            std::vector<AddressDuplicates> duplicates;
            FindAddressDuplicates(database.get(), toImport, duplicates);
            const AddressImportOutcome outcome = StoreAddressEntries(database.get(), toImport);
            if (!outcome.stored || !duplicates.empty()) {
                std::fprintf(stderr, "import failed: %s\n", qPrintable(outcome.error));
                std::exit(1);
            }
            added = outcome.lastNo - outcome.firstNo + 1;
        },
        [&] { RawInsert(raw, entries); });
    std::printf("%d entries imported\n", added);
    benchkit::PrintFigure("import of the cards into an empty file", import, "SQLite inserts",
                          "< 1 s");

    // Parsing alone, for the share of the import it takes.
    QFile file(cards);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const benchkit::Figure parse = benchkit::Time({}, [&] { (void)ReadAddressCards(bytes); }, {});
    std::printf("  %-44s median %.3f s wall, %.3f s processor\n", "of which reading the cards",
                benchkit::Median(parse.wall), benchkit::Median(parse.cpu));

    std::vector<int> numbers;
    for (int no = 1; no <= count; ++no)
        numbers.push_back(no);
    const QString out = dir.filePath(u"导出.vcf"_s);
    const benchkit::Figure exported = benchkit::Time(
        {},
        [&] {
            std::vector<AddressEntry> listed;
            LoadAddressEntries(database.get(), numbers, listed);
            QSaveFile save(out);
            save.open(QIODevice::WriteOnly);
            save.write(WriteAddressCards(listed, VCardVersion::V3));
            if (!save.commit() || listed.size() != size_t(count)) {
                std::fprintf(stderr, "export failed\n");
                std::exit(1);
            }
        },
        [&] {
            sqlite3* db = nullptr;
            sqlite3_open_v2(target.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
            benchkit::ReadAll(db, "SELECT * FROM address");
            sqlite3_close(db);
        });
    benchkit::PrintFigure("export of the listed entries to a .vcf file", exported, "SQLite read",
                          "none set");
    std::printf(
        "  export file %.1f MB, %s the file imported\n", double(QFileInfo(out).size()) / 1e6,
        QFileInfo(out).size() == QFileInfo(cards).size() ? "the same size as" : "NOT the size of");
    return 0;
}
