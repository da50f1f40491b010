// Measures the schedule screens on a data file with many appointments, notes and reminders:
//   (a) the appointment dialog showing one contact's appointments (a choice in its contact box);
//   (b) each appointment query ("按时间查询", "按客户查询", "按联系人查询") into the main list,
//       over the whole three years.
// Each figure is printed beside the raw SQLite lower bound of the same reads, measured in the
// same run. The data file also holds the notes and reminders; a measure is one function of its
// own taking the shared Bench.
// Run: build/bench/bench/bench_schedule [clients contacts appointments notes reminders]
#include "benchkit.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/clock.h"
#include "kit/recordlistmodel.h"
#include "schedule/appointdlg.h"
#include "schedule/appointquerydlg.h"
#include "views/noteview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;
using benchkit::Bind;
using benchkit::Figure;
using benchkit::Median;
using benchkit::Prepare;
using benchkit::ReadAll;
using benchkit::Step;
using benchkit::ThreadSeconds;
using benchkit::Time;
using benchkit::Word;

namespace {

struct Sizes
{
    int clients = 1000;
    int contacts = 5000;
    int appointments = 50000;
    int notes = 20000;
    int reminders = 5000;
};

// Everything is dated within these three years.
const QDate kFirstDay(2022, 1, 1);
constexpr int kDays = 1096;

QString Stored(const QDateTime& time)
{
    return time.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

// A working-day time within the three years.
QDateTime SomeTime(std::mt19937& random)
{
    return QDateTime(kFirstDay.addDays(random() % kDays),
                     QTime(8 + int(random() % 10), int(random() % 4) * 15, 0));
}

void GenerateParties(sqlite3* db, std::mt19937& random, const Sizes& sizes)
{
    sqlite3_stmt* insert = Prepare(db, "INSERT INTO client (no, name) VALUES (?, ?)");
    for (int no = 1; no <= sizes.clients; ++no) {
        sqlite3_bind_int(insert, 1, no);
        Bind(insert, 2, Word(random, 4) + u"有限公司%1"_s.arg(no));
        Step(insert);
    }
    sqlite3_finalize(insert);
    insert = Prepare(db, "INSERT INTO linkman (no, client, name) VALUES (?, ?, ?)");
    for (int no = 1; no <= sizes.contacts; ++no) {
        sqlite3_bind_int(insert, 1, no);
        sqlite3_bind_int(insert, 2, int(random() % sizes.clients) + 1);
        Bind(insert, 3, Word(random, 3));
        Step(insert);
    }
    sqlite3_finalize(insert);
}

void GenerateAppointments(sqlite3* db, std::mt19937& random, const Sizes& sizes)
{
    sqlite3_stmt* insert = Prepare(db, "INSERT INTO appoint (no, linkman, time, length, place, "
                                       "content, notice) VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (int no = 1; no <= sizes.appointments; ++no) {
        sqlite3_bind_int(insert, 1, no);
        sqlite3_bind_int(insert, 2, int(random() % sizes.contacts) + 1);
        Bind(insert, 3, Stored(SomeTime(random)));
        Bind(insert, 4, u"%1小时"_s.arg(random() % 4 + 1));
        Bind(insert, 5, Word(random, 5));
        Bind(insert, 6, no % 5 ? Word(random, 40) : QString());
        sqlite3_bind_int(insert, 7, int(random() % 4 == 0));
        Step(insert);
    }
    sqlite3_finalize(insert);
}

void GenerateNotes(sqlite3* db, std::mt19937& random, const Sizes& sizes)
{
    static const char16_t* const kWeather[] = {u"晴", u"多云", u"阴", u"小雨", u"雪"};
    sqlite3_stmt* insert =
        Prepare(db, "INSERT INTO notepaper (time, weather, caption, content) VALUES (?, ?, ?, ?)");
    for (int note = 0; note < sizes.notes; ++note) {
        const QDate day = kFirstDay.addDays(qint64(note) * kDays / sizes.notes);
        Bind(insert, 1, Stored(QDateTime(day, QTime(0, 0))));
        Bind(insert, 2, QString::fromUtf16(kWeather[random() % 5]));
        Bind(insert, 3, Word(random, 8));
        Bind(insert, 4, Word(random, 200));
        Step(insert);
    }
    sqlite3_finalize(insert);
}

void GenerateReminders(sqlite3* db, std::mt19937& random, const Sizes& sizes)
{
    sqlite3_stmt* insert =
        Prepare(db, "INSERT INTO notice (time, endtime, content) VALUES (?, ?, ?)");
    for (int reminder = 0; reminder < sizes.reminders; ++reminder) {
        const QDateTime start = SomeTime(random);
        // Mostly an hour or a day; a few end before they start, as users type them.
        const qint64 seconds = reminder % 50 == 0 ? -3600 : (random() % 2 ? 3600 : 86400);
        Bind(insert, 1, Stored(start));
        Bind(insert, 2, Stored(start.addSecs(seconds)));
        Bind(insert, 3, Word(random, 30));
        Step(insert);
    }
    sqlite3_finalize(insert);
}

void Generate(const QString& path, const Sizes& sizes)
{
    std::mt19937 random(17);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    GenerateParties(db, random, sizes);
    GenerateAppointments(db, random, sizes);
    GenerateNotes(db, random, sizes);
    GenerateReminders(db, random, sizes);
    const QByteArray counters =
        u"UPDATE snnumber SET client = %1, linkman = %2, appoint = %3"_s.arg(sizes.clients + 1)
            .arg(sizes.contacts + 1)
            .arg(sizes.appointments + 1)
            .toUtf8();
    sqlite3_exec(db, counters.constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// `goal` in seconds; with `rawGoal` the ratio to the raw reads is the goal instead.
void Print(const char* what, const Figure& figure, double goal, double rawGoal = 0.0)
{
    const double median = Median(figure.wall);
    const bool met = rawGoal > 0 ? median <= rawGoal * Median(figure.rawWall) : median < goal;
    const QByteArray verdict = (rawGoal > 0 ? "<= " + QByteArray::number(rawGoal, 'f', 1) + " x raw"
                                            : "< " + QByteArray::number(goal, 'f', 2) + " s") +
                               (met ? ": met" : ": NOT met");
    benchkit::PrintFigure(what, figure, "SQLite", verdict.constData());
}

// What every measure works on: the data file through the program's access layer and raw, and
// the main window's lists.
struct Bench
{
    CADODatabase& db;
    sqlite3* raw;
    CVantrelDoc& doc;
    CVantrelView& view;
    QWidget& window;
};

// (a) A choice in the contact box lists that contact's appointments.
void MeasureAppointDialog(Bench& bench)
{
    CAppointDlg dialog(&bench.db, CClock(), &bench.window);
    dialog.show();
    QApplication::processEvents();
    // A client with several contacts, so that the choice alternates between two of them.
    QComboBox* clients = dialog.ClientCombo();
    for (int index = 0; index < clients->count() && dialog.ContactBox()->count() < 2; ++index)
        clients->setCurrentIndex(index);
    int choice = 0;
    const Figure figure = Time(
        nullptr,
        [&] {
            choice = 1 - choice;
            dialog.ContactBox()->setCurrentIndex(choice);
            QApplication::processEvents(); // the list lays out and paints its rows
        },
        [&] {
            const int linkman = dialog.Contacts().front().m_nNo;
            const QByteArray sql =
                u"SELECT * FROM appoint WHERE linkman = %1 ORDER BY time DESC"_s.arg(linkman)
                    .toUtf8();
            ReadAll(bench.raw, sql.constData());
        });
    std::printf("  (%d appointments listed)\n", dialog.List()->rowCount());
    Print("约会记录: a contact's appointments shown:", figure, 0.1);
}

// (b) The three queries, each over the whole three years.
void MeasureAppointQueries(Bench& bench)
{
    using Query = void (CAppointQueryDlg::*)();
    struct Case
    {
        const char* what;
        Query query;
        double rawGoal;
    };
    const Case cases[] = {
        {"\"按时间查询\", 3 years, list shown:", &CAppointQueryDlg::OnQueryTime, 1.5},
        {"\"按客户查询\", 3 years, list shown:", &CAppointQueryDlg::OnQueryClient, 0.0},
        {"\"按联系人查询\", 3 years, list shown:", &CAppointQueryDlg::OnQueryContact, 0.0},
    };
    const char* range = "SELECT * FROM appoint WHERE time >= '2022-01-01 00:00:00' AND "
                        "time <= '2024-12-31 23:59:59' ORDER BY time DESC";
    for (const Case& test : cases) {
        std::unique_ptr<CAppointQueryDlg> dialog;
        const Figure figure = Time(
            [&] {
                dialog = std::make_unique<CAppointQueryDlg>(bench.doc, CClock(), &bench.window);
                dialog->StartPicker()->setDate(kFirstDay);
                dialog->EndPicker()->setDate(kFirstDay.addDays(kDays - 1));
                dialog->show();
                QApplication::processEvents();
            },
            [&] {
                (dialog.get()->*test.query)();
                QApplication::processEvents();
            },
            [&] {
                ReadAll(bench.raw, range);
                ReadAll(bench.raw, "SELECT no, client, name FROM linkman");
            });
        std::printf("  (%d rows listed)\n", bench.view.List().GetItemCount());
        Print(test.what, figure, 0.3, test.rawGoal);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Sizes sizes;
    if (argc > 5) {
        auto number = [&](int index) {
            return std::max(1, QString::fromLocal8Bit(argv[index]).toInt());
        };
        sizes = {number(1), number(2), number(3), number(4), number(5)};
    }
    QTemporaryDir dir;
    const QString path = dir.path() + u"/sale.db"_s;
    if (!CreateDataFile(path)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        return 1;
    }
    Generate(path, sizes);
    CADODatabase db;
    if (!db.Open(CADODatabase::ConnectionStringFor(path))) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    // The same page cache as the program's own connection.
    sqlite3_exec(raw, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);

    QWidget window;
    window.resize(1200, 800);
    CVantrelDoc doc(&db);
    auto* layout = new QVBoxLayout(&window);
    auto* view = new CVantrelView(doc, &window);
    layout->addWidget(view, 3);
    layout->addWidget(new CNoteView(doc, &window), 2);
    window.show();
    QApplication::processEvents();

    std::printf("%d clients, %d contacts, %d appointments, %d notes, %d reminders\n", sizes.clients,
                sizes.contacts, sizes.appointments, sizes.notes, sizes.reminders);
    Bench bench{db, raw, doc, *view, window};
    MeasureAppointDialog(bench);
    MeasureAppointQueries(bench);
    sqlite3_close(raw);
    return 0;
}
