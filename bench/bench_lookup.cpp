// Measures the look-ups of people and places on a data file with many rows:
//   (a) each address-book query into the main list, 20,000 entries in 200 groups;
//   (b) a client name search by pinyin initials over 20,000 clients: the first search, which
//       works out the initials of the names, and the later ones, which find them kept.
// Each measure is a function of its own.
// Run: build/bench/bench/bench_lookup [entries]
#include "benchkit.h"
#include "customers/addressquerydlg.h"
#include "customers/clientquerydlg.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/recordlistmodel.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using benchkit::Bind;
using benchkit::Median;
using benchkit::ThreadSeconds;
using benchkit::Word;

constexpr int kRuns = 7;
constexpr int kGroups = 200;

QString Digits(std::mt19937& random, int count)
{
    QString digits;
    for (int i = 0; i < count; ++i)
        digits += QChar(u'0' + int(random() % 10));
    return digits;
}

void Generate(const QString& path, int rows)
{
    std::mt19937 random(11);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    QStringList groups;
    while (groups.size() < kGroups) {
        const QString group = Word(random, 2) + u"组"_s;
        if (!groups.contains(group))
            groups << group;
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO \"group\" (name) VALUES (?)", -1, &insert, nullptr);
    for (const QString& group : groups) {
        Bind(insert, 1, group);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);

    sqlite3_prepare_v2(db,
                       "INSERT INTO address (\"group\", user, sex, mobile, pas, homephone, "
                       "officephone, qq, email1, company, duty, companyaddr, companyzip, "
                       "homeaddr, homezip, remark) VALUES "
                       "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    for (int row = 0; row < rows; ++row) {
        int column = 1;
        Bind(insert, column++, groups[int(random() % kGroups)]);
        Bind(insert, column++, Word(random, 2 + int(random() % 2)));
        sqlite3_bind_int(insert, column++, int(random() % 2));
        Bind(insert, column++, u"13"_s + Digits(random, 9));
        Bind(insert, column++, row % 4 ? QString() : u"0755"_s + Digits(random, 7));
        Bind(insert, column++, u"021-"_s + Digits(random, 8));
        Bind(insert, column++, row % 2 ? QString() : u"010-"_s + Digits(random, 8));
        Bind(insert, column++, Digits(random, 9));
        Bind(insert, column++, u"p%1@example.com"_s.arg(row));
        Bind(insert, column++, Word(random, 4) + u"有限公司"_s);
        Bind(insert, column++, Word(random, 2));
        Bind(insert, column++, Word(random, 6) + u"路%1号"_s.arg(random() % 999));
        Bind(insert, column++, Digits(random, 6));
        Bind(insert, column++, Word(random, 5) + u"小区"_s);
        Bind(insert, column++, Digits(random, 6));
        Bind(insert, column++, row % 3 ? QString() : Word(random, 10));
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);

    sqlite3_prepare_v2(db, "INSERT INTO client (no, name, number, city) VALUES (?, ?, ?, ?)", -1,
                       &insert, nullptr);
    for (int no = 1; no <= rows; ++no) {
        sqlite3_bind_int(insert, 1, no);
        Bind(insert, 2, Word(random, 4) + u"有限公司"_s);
        Bind(insert, 3, u"C%1"_s.arg(no, 6, 10, QLatin1Char('0')));
        Bind(insert, 4, Word(random, 2));
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

struct Timing
{
    double wall;
    double processor;
};

// Runs the action, lets the list lay out and paint, and times both.
Timing Time(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu = ThreadSeconds();
    action();
    QApplication::processEvents();
    return {double(timer.nsecsElapsed()) / 1e9, ThreadSeconds() - cpu};
}

void Report(const char* what, const std::vector<Timing>& timings, const char* goal, int rows)
{
    std::vector<double> wall;
    std::vector<double> processor;
    for (const Timing& timing : timings) {
        wall.push_back(timing.wall);
        processor.push_back(timing.processor);
    }
    std::printf("  %-34s median %.3f s wall, %.3f s processor, %5d rows (goal %s)\n", what,
                Median(wall), Median(processor), rows, goal);
}

void SetQueryValue(CAddressQueryDlg& dialog, CAddressQueryDlg::Query query, const QString& value)
{
    using Query = CAddressQueryDlg::Query;
    switch (query) {
    case Query::All:
        break;
    case Query::Group:
        dialog.GroupCombo()->setEditText(value);
        break;
    case Query::Name:
        dialog.NameEdit()->setText(value);
        break;
    case Query::Telephone:
        dialog.TelephoneEdit()->setText(value);
        break;
    case Query::Address:
        dialog.AddressEdit()->setText(value);
        break;
    }
}

// (a) Every query of the address-book query dialog into the main list.
void MeasureAddressQueries(CADODatabase& db, CVantrelDoc& doc, CVantrelView& view, int entries)
{
    using Query = CAddressQueryDlg::Query;
    struct Case
    {
        const char* title;
        Query query;
        QString value;
    };
    const Case cases[] = {
        {"查询全部", Query::All, QString()},
        {"by group \"华\"", Query::Group, u"华"_s},
        {"by group, empty value", Query::Group, QString()},
        {"by name (one character)", Query::Name, u"华"_s},
        {"by name, pinyin initials \"hq\"", Query::Name, u"hq"_s},
        {"by telephone \"66\" (four fields)", Query::Telephone, u"66"_s},
        {"by address \"路1\"", Query::Address, u"路1"_s},
    };
    std::printf("Address-book queries into the main list (%d entries in %d groups)\n", entries,
                kGroups);
    for (const Case& item : cases) {
        std::vector<Timing> timings;
        for (int run = 0; run < kRuns; ++run) {
            CAddressQueryDlg dialog(&db, doc);
            dialog.show();
            QApplication::processEvents();
            SetQueryValue(dialog, item.query, item.value);
            timings.push_back(Time([&] { dialog.OnQuery(item.query); }));
        }
        Report(item.title, timings, "< 0.2 s", view.List().GetItemCount());
    }
}

// (b) A client name search by pinyin initials, as the client query runs it.
void MeasureClientInitials(CADODatabase& db, CVantrelDoc& doc, CVantrelView& view)
{
    auto search = [&](const QString& value) {
        CClientQueryDlg dialog(&db, doc);
        dialog.SelectKind(CClientQueryDlg::kNameRow);
        dialog.ValueEdit()->setText(value);
        return Time([&] { dialog.OnQuery(); });
    };
    std::printf("Client name search by pinyin initials\n");
    // The first search works out the initials of every name and keeps them; it should cost no
    // more than the later ones, which find them kept.
    const Timing first = search(u"hq"_s);
    const int firstRows = view.List().GetItemCount();
    struct Later
    {
        QString value;
        std::vector<Timing> timings;
        int rows = 0;
    };
    std::vector<Later> later;
    for (const QString& value : {u"hq"_s, u"zgc"_s, u"x"_s}) {
        Later measured{value, {}, 0};
        for (int run = 0; run < kRuns; ++run)
            measured.timings.push_back(search(value));
        measured.rows = view.List().GetItemCount();
        later.push_back(measured);
    }
    std::vector<double> laterWall;
    for (const Timing& timing : later.front().timings)
        laterWall.push_back(timing.wall);
    const QByteArray firstGoal =
        u"< 0.1 s; later \"hq\" %1 s"_s.arg(Median(laterWall), 0, 'f', 3).toUtf8();
    Report("first search \"hq\"", {first}, firstGoal.constData(), firstRows);
    for (const Later& measured : later) {
        const QByteArray title =
            (u"search \""_s + measured.value + u"\", initials kept"_s).toUtf8();
        Report(title.constData(), measured.timings, "< 0.1 s", measured.rows);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rows = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20000;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sale.db"_s);
    if (!CreateDataFile(path)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        return 1;
    }
    Generate(path, rows);
    CADODatabase db;
    if (!db.Open(CADODatabase::ConnectionStringFor(path))) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
        return 1;
    }

    QWidget window;
    window.resize(1000, 700);
    CVantrelDoc doc(&db);
    auto* layout = new QVBoxLayout(&window);
    auto* view = new CVantrelView(doc, &window);
    layout->addWidget(view, 3);
    layout->addWidget(new CMiddleListView(doc, &window), 2);
    window.show();
    QApplication::processEvents();

    std::printf("%d address-book entries, %d clients\n", rows, rows);
    MeasureAddressQueries(db, doc, *view, rows);
    MeasureClientInitials(db, doc, *view);
    return 0;
}
