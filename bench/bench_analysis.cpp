// Measures the analysis screens on a data file with many clients, contacts and sales:
//   (a) "统计", "某客户各月对比" of one client over 24 months, by order date and by payment date;
//   (b) "统计", "某月各个客户对比" of every client in one month, both ways;
//   (c) "查找" by a piece of a phone number over every contact, the contacts listed.
// Each table is shown with its chart, as in the main window. Each figure is printed beside the
// raw SQLite lower bound of the same reads, measured in the same run.
// Run: build/bench/bench/bench_analysis [clients contacts orders receipts]
#include "benchkit.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/clock.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "trade/finddlg.h"
#include "trade/statdlg.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/statchartview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;
using benchkit::Bind;
using benchkit::Figure;
using benchkit::Median;
using benchkit::ReadAll;
using benchkit::Word;

namespace {

struct Sizes
{
    int clients = 20000;
    int contacts = 100000;
    int orders = 100000;
    int receipts = 300000;
};

// Runs one prepared INSERT `count` times, `bind` filling its values for row `no` (from 1).
void InsertRows(sqlite3* db, const char* sql, int count,
                const std::function<void(sqlite3_stmt*, int)>& bind)
{
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &insert, nullptr);
    for (int no = 1; no <= count; ++no) {
        bind(insert, no);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
}

QString Digits(std::mt19937& random, int count)
{
    QString digits;
    for (int i = 0; i < count; ++i)
        digits += QChar(u'0' + char16_t(random() % 10));
    return digits;
}

QString Stored(const QDate& day)
{
    return day.toString(u"yyyy-MM-dd 00:00:00"_s);
}

// Three years of business, 2022 to 2024: orders in the order of their numbers, receipts within
// two months of their order. Contacts have a mobile, most an office phone, some a home phone
// and a fax.
std::vector<QString> Generate(const QString& path, const Sizes& sizes)
{
    std::mt19937 random(23);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::vector<QString> clients;
    InsertRows(db, "INSERT INTO client (no, name, number) VALUES (?, ?, ?)", sizes.clients,
               [&](sqlite3_stmt* insert, int no) {
                   clients.push_back(Word(random, 4) + u"贸易公司%1"_s.arg(no));
                   sqlite3_bind_int(insert, 1, no);
                   Bind(insert, 2, clients.back());
                   Bind(insert, 3, u"KH%1"_s.arg(no, 6, 10, QLatin1Char('0')));
               });
    InsertRows(db,
               "INSERT INTO linkman (no, client, name, mobile, officephone, homephone, fax) "
               "VALUES (?, ?, ?, ?, ?, ?, ?)",
               sizes.contacts, [&](sqlite3_stmt* insert, int no) {
                   sqlite3_bind_int(insert, 1, no);
                   sqlite3_bind_int(insert, 2, int(random() % sizes.clients) + 1);
                   Bind(insert, 3, Word(random, 3));
                   Bind(insert, 4, u"13"_s + Digits(random, 9));
                   Bind(insert, 5, random() % 4 ? u"010-"_s + Digits(random, 8) : QString());
                   Bind(insert, 6, random() % 3 ? QString() : Digits(random, 8));
                   Bind(insert, 7, random() % 2 ? QString() : u"021-"_s + Digits(random, 8));
               });
    InsertRows(db,
               "INSERT INTO outputdata (no, date, paper, client, linkman, goods, sum, detail) "
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
               sizes.orders, [&](sqlite3_stmt* insert, int no) {
                   sqlite3_bind_int(insert, 1, no);
                   Bind(insert, 2,
                        Stored(QDate(2022, 1, 1).addDays(qint64(no) * 1095 / sizes.orders)));
                   Bind(insert, 3, u"XS%1"_s.arg(no, 7, 10, QLatin1Char('0')));
                   Bind(insert, 4, clients[random() % clients.size()]);
                   Bind(insert, 5, Word(random, 3));
                   Bind(insert, 6, Word(random, 3));
                   sqlite3_bind_double(insert, 7, double(random() % 10000000) / 100);
                   Bind(insert, 8, Word(random, 20));
               });
    InsertRows(db,
               "INSERT INTO outputdetail (no, paper, date, number, sum, person) "
               "VALUES (?, ?, ?, ?, ?, ?)",
               sizes.receipts, [&](sqlite3_stmt* insert, int no) {
                   const int paper = int(qint64(no - 1) * sizes.orders / sizes.receipts) + 1;
                   const QDate ordered =
                       QDate(2022, 1, 1).addDays(qint64(paper) * 1095 / sizes.orders);
                   sqlite3_bind_int(insert, 1, no);
                   sqlite3_bind_int(insert, 2, paper);
                   Bind(insert, 3, Stored(ordered.addDays(random() % 60)));
                   sqlite3_bind_double(insert, 4, double(random() % 100));
                   sqlite3_bind_double(insert, 5, double(random() % 3000000) / 100);
                   Bind(insert, 6, Word(random, 2));
               });
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return clients;
}

// Times an action together with the painting it causes: the list and the chart lay out and paint.
Figure Time(const std::function<void()>& action, const std::function<void()>& raw)
{
    return benchkit::Time(
        nullptr,
        [&] {
            action();
            QApplication::processEvents();
        },
        raw);
}

void Print(const QString& what, const Figure& figure, const char* goal)
{
    benchkit::PrintFigure(what.toUtf8().constData(), figure, "SQLite", goal);
}

// The main window's record views: the main list above, the secondary list or the chart below.
struct Screen
{
    explicit Screen(CADODatabase& db) : doc(&db)
    {
        window.resize(1200, 800);
        auto* layout = new QVBoxLayout(&window);
        view = new CVantrelView(doc, &window);
        auto* pane = new QStackedWidget(&window);
        lower = new CMiddleListView(doc, pane);
        chart = new CStatChartView(doc, pane);
        pane->addWidget(lower);
        pane->addWidget(chart);
        layout->addWidget(view, 3);
        layout->addWidget(pane, 2);
        QObject::connect(&doc, &CVantrelDoc::BottomViewRequested, pane, [this, pane](int kind) {
            pane->setCurrentWidget(kind == BottomView::kChart ? static_cast<QWidget*>(chart)
                                                              : lower);
        });
        window.show();
        QApplication::processEvents();
    }

    CVantrelDoc doc;
    QWidget window;
    CVantrelView* view;
    CMiddleListView* lower;
    CStatChartView* chart;
};

// (a) One client over the 24 months of 2023 and 2024.
void MeasureClientMonths(Screen& screen, sqlite3* raw, const QString& client)
{
    CStatDlg dialog(screen.doc, CClock(), &screen.window);
    dialog.show();
    dialog.TradeButton(1)->setChecked(true);
    dialog.ClientList()->setCurrentIndex(dialog.ClientList()->findText(client));
    dialog.FromYear()->setText(u"2023"_s);
    dialog.FromMonth()->setText(u"1"_s);
    dialog.ToYear()->setText(u"2024"_s);
    dialog.ToMonth()->setText(u"12"_s);
    for (int basis = 0; basis < 2; ++basis) {
        dialog.BasisButton(basis)->setChecked(true);
        const QString sql =
            basis == 0
                ? u"SELECT * FROM outputdata WHERE date >= '2023-01-01 00:00:00' AND "
                  "date < '2025-01-01 00:00:00' AND client = '%1' ORDER BY date"_s.arg(client)
                : u"SELECT * FROM outputdata, outputdetail WHERE outputdetail.date >= "
                  "'2023-01-01 00:00:00' AND outputdetail.date < '2025-01-01 00:00:00' AND "
                  "client = '%1' AND outputdata.no = outputdetail.paper ORDER BY "
                  "outputdetail.date"_s.arg(client);
        const Figure figure = Time([&] { dialog.OnStatClient(); }, [&] { ReadAll(raw, sql); });
        std::printf("  (%d months, %s)\n", screen.view->List().GetItemCount(),
                    qPrintable(screen.view->Caption()));
        Print(basis == 0 ? u"某客户各月对比, 24 months, 按签单时间:"_s
                         : u"某客户各月对比, 24 months, 按到帐时间:"_s,
              figure, "< 0.2 s");
    }
}

// (b) Every client in June 2024.
void MeasureMonthClients(Screen& screen, sqlite3* raw)
{
    CStatDlg dialog(screen.doc, CClock(), &screen.window);
    dialog.show();
    dialog.TradeButton(1)->setChecked(true);
    dialog.Year()->setText(u"2024"_s);
    dialog.Month()->setText(u"6"_s);
    for (int basis = 0; basis < 2; ++basis) {
        dialog.BasisButton(basis)->setChecked(true);
        const QString sql =
            basis == 0 ? u"SELECT * FROM outputdata WHERE date >= '2024-06-01 00:00:00' AND "
                         "date < '2024-07-01 00:00:00' ORDER BY date"_s
                       : u"SELECT * FROM outputdata, outputdetail WHERE outputdetail.date >= "
                         "'2024-06-01 00:00:00' AND outputdetail.date < '2024-07-01 00:00:00' "
                         "AND outputdata.no = outputdetail.paper ORDER BY outputdetail.date"_s;
        const Figure figure = Time([&] { dialog.OnStatMonth(); }, [&] { ReadAll(raw, sql); });
        std::printf("  (%d clients, chart of %lld bars)\n", screen.view->List().GetItemCount(),
                    qlonglong(screen.chart->Figures().labels.size()));
        Print(basis == 0 ? u"某月各个客户对比, 按签单时间:"_s : u"某月各个客户对比, 按到帐时间:"_s,
              figure, "< 0.3 s");
    }
}

// (c) A piece of a phone number that few contacts have, and one that every mobile has.
void MeasureFindByPhone(Screen& screen, sqlite3* raw)
{
    for (const QString& text : {u"8888"_s, u"13"_s}) {
        const Figure figure = Time(
            [&] {
                CFindDlg dialog(screen.doc, &screen.window);
                dialog.Edit(FindMode::kContactPhone)->setText(text);
                dialog.OnFind(FindMode::kContactPhone);
            },
            [&] {
                ReadAll(raw, u"SELECT * FROM linkman"_s);
                ReadAll(raw, u"SELECT no, name FROM client"_s);
            });
        std::printf("  (\"%s\": %d contacts listed)\n", qPrintable(text),
                    screen.lower->List().GetItemCount());
        Print(u"查找 by phone \"%1\", list shown:"_s.arg(text), figure, "< 0.5 s");
    }
}

// Export measures (导出 to .xlsx and .csv) belong here, one function each, run from main().

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Sizes sizes;
    if (argc > 4) {
        sizes.clients = std::max(1, QString::fromLocal8Bit(argv[1]).toInt());
        sizes.contacts = std::max(1, QString::fromLocal8Bit(argv[2]).toInt());
        sizes.orders = std::max(1, QString::fromLocal8Bit(argv[3]).toInt());
        sizes.receipts = std::max(1, QString::fromLocal8Bit(argv[4]).toInt());
    }
    QTemporaryDir dir;
    const QString path = dir.path() + u"/sale.db"_s;
    if (!CreateDataFile(path)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        return 1;
    }
    const std::vector<QString> clients = Generate(path, sizes);
    CADODatabase db;
    if (!db.Open(CADODatabase::ConnectionStringFor(path))) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    // The same page cache as the program's own connection.
    sqlite3_exec(raw, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    std::printf("%d clients, %d contacts, %d sales orders, %d receipts\n", sizes.clients,
                sizes.contacts, sizes.orders, sizes.receipts);

    MessageRecorder messages;
    Screen screen(db);
    MeasureClientMonths(screen, raw, clients[clients.size() / 2]);
    MeasureMonthClients(screen, raw);
    MeasureFindByPhone(screen, raw);

    sqlite3_close(raw);
    return 0;
}
