// Measures the notes and the reminders on a data file with many of them:
//   (a) each of the four note queries of 便笺分类查询 into the main list (a month of days, one
//       character of the caption, a word of the content, "查询全部"), the list shown;
//   (b) the due check of the running program: the reminders whose window holds the moment and
//       the appointments flagged 定时提醒 in the next 15 minutes, as the minute timer runs it,
//       alone and with the reminder window brought up to date.
// Each figure is printed beside the raw SQLite lower bound of the same reads, measured in the
// same run.
// Run: build/bench/bench/bench_reminders [contacts appointments notes reminders]
#include "benchkit.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/clock.h"
#include "kit/commandregistry.h"
#include "kit/recordlistmodel.h"
#include "schedule/notepaperquerydlg.h"
#include "schedule/remindersdue.h"
#include "schedule/reminderwatch.h"
#include "views/noteview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
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
using benchkit::Time;
using benchkit::Word;

namespace {

struct Sizes
{
    int contacts = 5000;
    int appointments = 50000;
    int notes = 20000;
    int reminders = 5000;
};

// Everything lies in the three years from 2022; the program is measured in the middle.
const QDateTime kFirst(QDate(2022, 1, 1), QTime(0, 0));
constexpr qint64 kSpanSeconds = qint64(1095) * 86400;
const QDateTime kNow(QDate(2023, 7, 3), QTime(10, 50, 0));

QString Stored(const QDateTime& moment)
{
    return moment.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

// Appointments and reminders fall on working hours, on the quarter hour.
QDateTime WorkingMoment(std::mt19937& random)
{
    const QDate day = kFirst.date().addDays(qint64(random() % 1095));
    return QDateTime(day, QTime(8 + int(random() % 10), int(random() % 4) * 15));
}

void Generate(const QString& path, const Sizes& sizes)
{
    std::mt19937 random(17);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = Prepare(db, "INSERT INTO linkman (no, client, name) VALUES (?, ?, ?)");
    for (int no = 1; no <= sizes.contacts; ++no) {
        sqlite3_bind_int(insert, 1, no);
        sqlite3_bind_int(insert, 2, no / 3 + 1);
        Bind(insert, 3, Word(random, 3));
        Step(insert);
    }
    sqlite3_finalize(insert);
    insert = Prepare(db, "INSERT INTO appoint (no, linkman, time, length, place, content, notice) "
                         "VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (int no = 1; no <= sizes.appointments; ++no) {
        sqlite3_bind_int(insert, 1, no);
        sqlite3_bind_int(insert, 2, int(random() % sizes.contacts) + 1);
        Bind(insert, 3, Stored(WorkingMoment(random)));
        Bind(insert, 4, u"%1小时"_s.arg(random() % 4 + 1));
        Bind(insert, 5, Word(random, 4));
        Bind(insert, 6, Word(random, 30));
        sqlite3_bind_int(insert, 7, int(random() % 3 == 0));
        Step(insert);
    }
    sqlite3_finalize(insert);
    // Several notes a day, some days none.
    insert = Prepare(db, "INSERT INTO notepaper (time, weather, caption, content) "
                         "VALUES (?, ?, ?, ?)");
    const QString weathers[] = {u"晴"_s, u"多云"_s, u"阴"_s, u"小雨"_s, QString()};
    for (int no = 1; no <= sizes.notes; ++no) {
        const QDate day = kFirst.date().addDays(qint64(random() % 1095));
        Bind(insert, 1, Stored(QDateTime(day, QTime(0, 0))));
        Bind(insert, 2, weathers[random() % 5]);
        Bind(insert, 3, Word(random, 8));
        Bind(insert, 4, Word(random, 120));
        Step(insert);
    }
    sqlite3_finalize(insert);
    // Windows from an hour to three days; one in fifty ends before it starts.
    insert = Prepare(db, "INSERT INTO notice (time, endtime, content) VALUES (?, ?, ?)");
    for (int no = 1; no <= sizes.reminders; ++no) {
        const QDateTime start = WorkingMoment(random);
        const qint64 length = 3600 + qint64(random() % (3 * 86400));
        Bind(insert, 1, Stored(start));
        Bind(insert, 2, Stored(start.addSecs(random() % 50 == 0 ? -length : length)));
        Bind(insert, 3, Word(random, 40));
        Step(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db,
                 u"UPDATE snnumber SET linkman = %1, appoint = %2"_s.arg(sizes.contacts + 1)
                     .arg(sizes.appointments + 1)
                     .toUtf8()
                     .constData(),
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void Print(const char* what, const Figure& figure, const char* goal, double scale = 1.0,
           const char* unit = "s")
{
    benchkit::PrintFigure(what, figure, "SQLite", goal, scale, unit);
}

// The menu commands the watch may run; none is run here.
class NoCommands : public ICommandRegistry
{
public:
    void SetHandler(int, Handler) override {}
    bool HasHandler(int) const override { return false; }
    void PostCommand(int) override {}
    void PostCommandWith(int, Handler) override {}
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Sizes sizes;
    if (argc > 4) {
        sizes.contacts = std::max(1, QString::fromLocal8Bit(argv[1]).toInt());
        sizes.appointments = std::max(1, QString::fromLocal8Bit(argv[2]).toInt());
        sizes.notes = std::max(1, QString::fromLocal8Bit(argv[3]).toInt());
        sizes.reminders = std::max(1, QString::fromLocal8Bit(argv[4]).toInt());
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
    sqlite3_exec(raw, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);

    QWidget window;
    window.resize(1200, 800);
    CVantrelDoc doc(&db);
    auto* layout = new QVBoxLayout(&window);
    auto* view = new CVantrelView(doc, &window);
    auto* text = new CNoteView(doc, &window);
    layout->addWidget(view, 3);
    layout->addWidget(text, 2);
    window.show();
    QApplication::processEvents();

    std::printf("%d contacts, %d appointments, %d notes, %d reminders\n", sizes.contacts,
                sizes.appointments, sizes.notes, sizes.reminders);

    // The four queries, each with the statement its raw bound reads.
    struct Query
    {
        const char* what;
        std::function<void(CNotepaperQueryDlg&)> run;
        QString sql;
    };
    const Query queries[] = {
        {"按日期查询 (one month):",
         [](CNotepaperQueryDlg& dialog) {
             dialog.findChild<QDateTimeEdit*>(u"IDC_STARTDATE"_s)->setDate(QDate(2023, 6, 1));
             dialog.findChild<QDateTimeEdit*>(u"IDC_ENDDATE"_s)->setDate(QDate(2023, 6, 30));
             dialog.OnQueryDate();
         },
         u"SELECT * FROM notepaper WHERE time <= '2023-06-30 23:59:59' AND time >= "
         "'2023-06-01 00:00:00' ORDER BY time DESC"_s},
        {"按标题查询 (one character):",
         [](CNotepaperQueryDlg& dialog) {
             dialog.findChild<QLineEdit*>(u"IDC_CAPTION"_s)->setText(u"华"_s);
             dialog.OnQueryCaption();
         },
         u"SELECT * FROM notepaper WHERE caption LIKE '%华%' ORDER BY time DESC"_s},
        {"按内容查询 (a word):",
         [](CNotepaperQueryDlg& dialog) {
             dialog.findChild<QLineEdit*>(u"IDC_CONTENT"_s)->setText(u"科技"_s);
             dialog.OnQueryContent();
         },
         u"SELECT * FROM notepaper WHERE content LIKE '%科技%' ORDER BY time DESC"_s},
        {"查询全部:", [](CNotepaperQueryDlg& dialog) { dialog.OnQueryAll(); },
         u"SELECT * FROM notepaper ORDER BY time DESC"_s},
    };
    for (const Query& query : queries) {
        std::unique_ptr<CNotepaperQueryDlg> dialog;
        const Figure figure = Time(
            [&] {
                dialog = std::make_unique<CNotepaperQueryDlg>(doc, CClock(), &window);
                dialog->show();
                QApplication::processEvents();
            },
            [&] {
                query.run(*dialog);
                QApplication::processEvents(); // the list lays out and paints its rows
            },
            [&] { ReadAll(raw, query.sql); });
        Print(query.what, figure, "< 0.3 s");
        std::printf("    (%d notes listed)\n", view->List().GetItemCount());
    }

    const QString moment = Stored(kNow);
    const QString soon = Stored(kNow.addSecs(CRemindersDue::kAppointmentLead));
    const auto rawDue = [&] {
        ReadAll(raw, u"SELECT * FROM notice WHERE time <= '%1' AND endtime >= '%1' "
                     "ORDER BY time"_s.arg(moment));
        ReadAll(raw, u"SELECT * FROM appoint WHERE time >= '%1' AND time <= '%2' AND "
                     "notice <> 0 ORDER BY time"_s.arg(moment, soon));
    };
    const CClock clock([] { return kNow; });
    CRemindersDue due(&db, clock);
    size_t found = 0;
    const Figure check = Time(
        nullptr, [&] { found = due.Check().size(); }, rawDue, 21);
    Print("due check:", check, "< 10 ms", 1000.0, "ms");
    std::printf("    (%zu entries due at %s)\n", found, qPrintable(moment));

    NoCommands commands;
    CReminderWatch watch(doc, commands, clock, &window);
    const Figure watched = Time(
        nullptr,
        [&] {
            watch.Check();
            QApplication::processEvents();
        },
        rawDue, 21);
    Print("due check with the window updated:", watched, "< 10 ms", 1000.0, "ms");
    sqlite3_close(raw);
    return 0;
}
