// Measures the trade screens on a data file with many orders:
//   (a) "查询全部" in 销售查询: the order list shown with every paid amount, percentage and the
//       totals row;
//   (b) opening the 销售单 dialog (every client in the type-ahead box);
//   (c) opening the 销售明细 dialog (every 单号 in the sorted box);
//   (d) modifying one payment from the lower list, with its three list updates.
// Each figure is printed beside the raw lower bound of the same reads through the backend's own
// client library, measured in the same run. When the PG… environment variables name a
// PostgreSQL server (PGHOST or PGPORT set), the same work runs again on a fresh database there
// and the server's figures are printed against the file's.
// Run: build/bench/bench/bench_trade [clients contacts orders receipts]
//      PGHOST=127.0.0.1 PGPORT=55450 PGUSER=vantrel build/bench/bench/bench_trade
#include "benchkit.h"
#include "benchserver.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/clock.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "trade/orderdlg.h"
#include "trade/paymentdependants.h"
#include "trade/tradedetaildlg.h"
#include "trade/tradequerydlg.h"
#include "trade/traderecords.h"
#include "trade/tradetwin.h"
#include "views/middlelistview.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
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
using benchkit::Figure;
using benchkit::FillValue;
using benchkit::Median;
using benchkit::ReadAll;
using benchkit::Time;
using benchkit::Word;

namespace {

struct Sizes
{
    int clients = 20000;
    int contacts = 60000;
    int orders = 100000;
    int receipts = 300000;
};

// Orders are entered as business happens: over three years in the order of their numbers, a
// few entered some days late; a payment comes within two months of its order.
QDate OrderDay(std::mt19937& random, int no, int orders)
{
    const qint64 day = qint64(no) * 1095 / orders - (random() % 10 == 0 ? random() % 20 : 0);
    return QDate(2022, 1, 1).addDays(day);
}

QString Stored(const QDate& day)
{
    return day.toString(u"yyyy-MM-dd 00:00:00"_s);
}

void Generate(benchkit::Filler& fill, const Sizes& sizes)
{
    std::mt19937 random(11);
    std::vector<QString> clients;
    fill.Table("client", {u"no"_s, u"name"_s});
    for (int no = 1; no <= sizes.clients; ++no) {
        clients.push_back(Word(random, 4) + u"有限公司%1"_s.arg(no));
        fill.Row({qint64(no), clients.back()});
    }
    std::vector<std::pair<int, QString>> contacts; // client index, name
    fill.Table("linkman", {u"no"_s, u"client"_s, u"name"_s, u"mobile"_s});
    for (int no = 1; no <= sizes.contacts; ++no) {
        const int client = int(random() % sizes.clients);
        contacts.emplace_back(client, Word(random, 3));
        fill.Row({qint64(no), qint64(client + 1), contacts.back().second,
                  QString::number(13900000000LL + no)});
    }
    fill.Table("outputdata", {u"no"_s, u"date"_s, u"paper"_s, u"item"_s, u"bargain"_s, u"client"_s,
                              u"linkman"_s, u"goods"_s, u"unit"_s, u"number"_s, u"warehouse"_s,
                              u"sum"_s, u"detail"_s, u"principal"_s, u"square"_s, u"remark"_s});
    for (int no = 1; no <= sizes.orders; ++no) {
        const auto& contact = contacts[random() % contacts.size()];
        std::vector<FillValue> row;
        row.emplace_back(qint64(no));
        row.emplace_back(Stored(OrderDay(random, no, sizes.orders)));
        row.emplace_back(u"XS%1"_s.arg(no, 7, 10, QLatin1Char('0')));
        row.emplace_back(Word(random, 4));
        row.emplace_back(u"HT-%1"_s.arg(random() % 100000));
        row.emplace_back(clients[size_t(contact.first)]);
        row.emplace_back(contact.second);
        row.emplace_back(Word(random, 3));
        row.emplace_back(u"吨"_s);
        row.emplace_back(double(random() % 1000) / 4);
        row.emplace_back(u"%1号库"_s.arg(random() % 9 + 1));
        row.emplace_back(double(random() % 10000000) / 100);
        row.emplace_back(Word(random, 20));
        row.emplace_back(Word(random, 2));
        row.emplace_back(qint64(random() % 3 == 0));
        row.emplace_back(no % 4 ? QString(u""_s) : Word(random, 8));
        fill.Row(row);
    }
    fill.Table("outputdetail", {u"no"_s, u"paper"_s, u"date"_s, u"number"_s, u"sum"_s, u"person"_s,
                                u"taster"_s, u"detail"_s, u"remark"_s});
    for (int no = 1; no <= sizes.receipts; ++no) {
        // Receipts come in as orders are paid: mostly for recent orders.
        const int paid =
            std::clamp(int(qint64(no) * sizes.orders / sizes.receipts) - int(random() % 6000), 1,
                       sizes.orders);
        std::vector<FillValue> row;
        row.emplace_back(qint64(no));
        row.emplace_back(qint64(paid));
        row.emplace_back(Stored(OrderDay(random, paid, sizes.orders).addDays(random() % 60)));
        row.emplace_back(double(random() % 100));
        row.emplace_back(double(random() % 3000000) / 100);
        row.emplace_back(Word(random, 2));
        row.emplace_back(Word(random, 2));
        row.emplace_back(Word(random, 10));
        row.emplace_back(QString(u""_s));
        fill.Row(row);
    }
    fill.Exec(u"UPDATE snnumber SET client = %1, linkman = %2, outputdata = %3, outputdetail = "
              "%4"_s.arg(sizes.clients + 1)
                  .arg(sizes.contacts + 1)
                  .arg(sizes.orders + 1)
                  .arg(sizes.receipts + 1));
}

// What the figures are measured against: the same reads without the program, through the
// backend's own client library.
struct RawReads
{
    const char* name;
    std::function<void(const char*)> readAll;
    std::function<void(const QByteArray&)> exec;
};

struct TradeFigures
{
    Figure all, order, detail, change;
};

void Print(const char* what, const Figure& figure, const char* raw, const char* goal,
           double scale = 1.0, const char* unit = "s")
{
    benchkit::PrintFigure(what, figure, raw, goal, scale, unit);
}

// The four measures on one database, the program's own windows over it.
TradeFigures Measure(CADODatabase& db, const RawReads& raw)
{
    TradeFigures figures;
    QWidget window;
    window.resize(1200, 800);
    CVantrelDoc doc(&db);
    // The order list's category shows an order's payments in the lower list on a click.
    RegisterTradeCategories(doc);
    auto* layout = new QVBoxLayout(&window);
    auto* view = new CVantrelView(doc, &window);
    auto* lower = new CMiddleListView(doc, &window);
    layout->addWidget(view, 3);
    layout->addWidget(lower, 2);
    window.show();
    QApplication::processEvents();

    std::unique_ptr<CSaleQueryDlg> query;
    figures.all = Time(
        [&] {
            query = std::make_unique<CSaleQueryDlg>(doc, CClock(), &window);
            query->show();
            QApplication::processEvents();
        },
        [&] {
            query->OnQueryAll();
            QApplication::processEvents(); // the list lays out and paints its rows
        },
        [&] {
            raw.readAll("SELECT * FROM outputdata ORDER BY date DESC");
            raw.readAll("SELECT paper, sum FROM outputdetail");
        });
    std::printf("  (%d rows listed, totals row \"%s\" / %s)\n", view->List().GetItemCount(),
                qPrintable(view->List().GetItemText(view->List().GetItemCount() - 1, 6)),
                qPrintable(view->List().GetItemText(view->List().GetItemCount() - 1, 8)));
    Print("\"查询全部\" in 销售查询, list shown:", figures.all, raw.name, "<= 1.3 x raw, < 0.3 s");
    const double shown = benchkit::HeapMegabytes();
    view->Reset();
    lower->Reset();
    std::printf("  (the list holds %.1f MB of memory; goal < 100 MB)\n",
                shown - benchkit::HeapMegabytes());

    figures.order = Time(
        nullptr,
        [&] {
            CSaleDlg dialog(&db, view, CClock(), &window);
            dialog.show();
            QApplication::processEvents();
        },
        [&] { raw.readAll("SELECT no, name FROM client"); });
    Print("销售单 dialog opening:", figures.order, raw.name, "< 0.2 s");

    figures.detail = Time(
        nullptr,
        [&] {
            CTradeDetailDlg dialog(&db, kSaleTwin, lower, view, CClock(), &window);
            dialog.show();
            QApplication::processEvents();
        },
        [&] { raw.readAll("SELECT no, paper FROM outputdata"); });
    Print("销售明细 dialog opening:", figures.detail, raw.name, "< 0.1 s");

    // The payments of a listed order that has some, as a click on its row shows them; then one
    // of them is changed from the lower list, as a double click there does.
    query = std::make_unique<CSaleQueryDlg>(doc, CClock(), &window);
    query->OnQueryAll();
    int row = 0;
    while (row + 1 < view->List().GetItemCount() && view->List().GetItemText(row, 7) == u"0.00"_s)
        ++row;
    view->SelectRow(row);
    view->OnClickRow(row);
    const CPaymentDependants payments(kSaleTwin);
    MessageRecorder messages; // "记录修改成功！" is recorded, not shown
    std::unique_ptr<CTradeDetailDlg> modify;
    int payment = 0;
    int amount = 100;
    figures.change = Time(
        [&] {
            lower->List().RecordNumber(0, payment);
            CRecordRequest request;
            QString failure;
            payments.ReadForModify(&db, payment, request, failure);
            request.modify = true;
            request.no = payment;
            request.item = 0;
            modify =
                std::make_unique<CTradeDetailDlg>(&db, kSaleTwin, lower, view, CClock(), &window);
            modify->SetRequest(request);
            modify->show();
            QApplication::processEvents();
            modify->findChild<QLineEdit*>(u"sum"_s)->setText(QString::number(++amount));
        },
        [&] {
            modify->OnOK();
            QApplication::processEvents();
        },
        [&] {
            raw.exec(u"UPDATE outputdetail SET sum = %1 WHERE no = %2"_s.arg(amount)
                         .arg(payment)
                         .toUtf8());
        });
    std::printf("  (order %s: payment %d now %s, order paid %s, %s)\n",
                qPrintable(view->List().GetItemText(row, 1)), payment,
                qPrintable(lower->List().GetItemText(0, 2)),
                qPrintable(view->List().GetItemText(row, 7)),
                qPrintable(view->List().GetItemText(row, 8)));
    Print("modify of one payment, three list updates:", figures.change, raw.name, "< 20 ms", 1000,
          "ms");
    return figures;
}

// The same work on a fresh database on the server the environment names; false when it
// could not be made or filled.
bool MeasureOnServer(const Sizes& sizes, TradeFigures& figures)
{
    benchkit::ServerDatabase server;
    CADODatabase db;
    if (!benchkit::OpenFilled(server, db, [&](benchkit::Filler& fill) { Generate(fill, sizes); }))
        return false;
    PGconn* raw = server.Raw();
    const RawReads reads{"libpq", [raw](const char* sql) { benchkit::ReadAll(raw, sql); },
                         [raw](const QByteArray& sql) { PQclear(PQexec(raw, sql.constData())); }};
    figures = Measure(db, reads);
    return true;
}

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
    std::printf("%d clients, %d contacts, %d sales orders, %d receipts\n", sizes.clients,
                sizes.contacts, sizes.orders, sizes.receipts);
    TradeFigures file;
    {
        QTemporaryDir dir;
        const QString path = dir.path() + u"/sale.db"_s;
        if (!CreateDataFile(path)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            return 1;
        }
        {
            benchkit::SqliteFiller fill(path);
            Generate(fill, sizes);
        }
        CADODatabase db;
        if (!db.Open(CADODatabase::ConnectionStringFor(path))) {
            std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
            return 1;
        }
        sqlite3* raw = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        // The same page cache as the program's own connection.
        sqlite3_exec(raw, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
        std::printf("SQLite data file:\n");
        const RawReads reads{"SQLite", [raw](const char* sql) { ReadAll(raw, sql); },
                             [raw](const QByteArray& sql) {
                                 sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr);
                             }};
        file = Measure(db, reads);
        sqlite3_close(raw);
    }
    if (!benchkit::ServerNamed())
        return 0;
    std::printf("PostgreSQL server:\n");
    TradeFigures server;
    if (!MeasureOnServer(sizes, server))
        return 1;
    std::printf("server against file (medians, wall):\n");
    benchkit::PrintRatio("\"查询全部\" in 销售查询, list shown:", Median(file.all.wall),
                         Median(server.all.wall));
    benchkit::PrintRatio("销售单 dialog opening:", Median(file.order.wall),
                         Median(server.order.wall));
    benchkit::PrintRatio("销售明细 dialog opening:", Median(file.detail.wall),
                         Median(server.detail.wall));
    benchkit::PrintRatio("modify of one payment, three list updates:", Median(file.change.wall),
                         Median(server.change.wall));
    return 0;
}
