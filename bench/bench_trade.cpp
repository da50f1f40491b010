// Measures the trade screens on a data file with many orders:
//   (a) "查询全部" in 销售查询: the order list shown with every paid amount, percentage and the
//       totals row;
//   (b) opening the 销售单 dialog (every client in the type-ahead box);
//   (c) opening the 销售明细 dialog (every 单号 in the sorted box);
//   (d) modifying one payment from the lower list, with its three list updates.
// Each figure is printed beside the raw SQLite lower bound of the same reads, measured in the
// same run.
// Run: build/bench/bench/bench_trade [clients contacts orders receipts]
#include "benchkit.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/clock.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "trade/orderdlg.h"
#include "trade/paymentdependants.h"
#include "trade/tradedetaildlg.h"
#include "trade/tradequerydlg.h"
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

void Generate(const QString& path, const Sizes& sizes)
{
    std::mt19937 random(11);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::vector<QString> clients;
    sqlite3_stmt* insert = Prepare(db, "INSERT INTO client (no, name) VALUES (?, ?)");
    for (int no = 1; no <= sizes.clients; ++no) {
        clients.push_back(Word(random, 4) + u"有限公司%1"_s.arg(no));
        sqlite3_bind_int(insert, 1, no);
        Bind(insert, 2, clients.back());
        Step(insert);
    }
    sqlite3_finalize(insert);
    std::vector<std::pair<int, QString>> contacts; // client index, name
    insert = Prepare(db, "INSERT INTO linkman (no, client, name, mobile) VALUES (?, ?, ?, ?)");
    for (int no = 1; no <= sizes.contacts; ++no) {
        const int client = int(random() % sizes.clients);
        contacts.emplace_back(client, Word(random, 3));
        sqlite3_bind_int(insert, 1, no);
        sqlite3_bind_int(insert, 2, client + 1);
        Bind(insert, 3, contacts.back().second);
        Bind(insert, 4, QString::number(13900000000LL + no));
        Step(insert);
    }
    sqlite3_finalize(insert);
    insert = Prepare(db, "INSERT INTO outputdata (no, date, paper, item, bargain, client, "
                         "linkman, goods, unit, number, warehouse, sum, detail, principal, "
                         "square, remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int no = 1; no <= sizes.orders; ++no) {
        const auto& contact = contacts[random() % contacts.size()];
        int column = 1;
        sqlite3_bind_int(insert, column++, no);
        Bind(insert, column++, Stored(OrderDay(random, no, sizes.orders)));
        Bind(insert, column++, u"XS%1"_s.arg(no, 7, 10, QLatin1Char('0')));
        Bind(insert, column++, Word(random, 4));
        Bind(insert, column++, u"HT-%1"_s.arg(random() % 100000));
        Bind(insert, column++, clients[size_t(contact.first)]);
        Bind(insert, column++, contact.second);
        Bind(insert, column++, Word(random, 3));
        Bind(insert, column++, u"吨"_s);
        sqlite3_bind_double(insert, column++, double(random() % 1000) / 4);
        Bind(insert, column++, u"%1号库"_s.arg(random() % 9 + 1));
        sqlite3_bind_double(insert, column++, double(random() % 10000000) / 100);
        Bind(insert, column++, Word(random, 20));
        Bind(insert, column++, Word(random, 2));
        sqlite3_bind_int(insert, column++, int(random() % 3 == 0));
        Bind(insert, column++, no % 4 ? QString() : Word(random, 8));
        Step(insert);
    }
    sqlite3_finalize(insert);
    insert = Prepare(db, "INSERT INTO outputdetail (no, paper, date, number, sum, person, "
                         "taster, detail, remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int no = 1; no <= sizes.receipts; ++no) {
        // Receipts come in as orders are paid: mostly for recent orders.
        const int paid =
            std::clamp(int(qint64(no) * sizes.orders / sizes.receipts) - int(random() % 6000), 1,
                       sizes.orders);
        int column = 1;
        sqlite3_bind_int(insert, column++, no);
        sqlite3_bind_int(insert, column++, paid);
        Bind(insert, column++, Stored(OrderDay(random, paid, sizes.orders).addDays(random() % 60)));
        sqlite3_bind_double(insert, column++, double(random() % 100));
        sqlite3_bind_double(insert, column++, double(random() % 3000000) / 100);
        Bind(insert, column++, Word(random, 2));
        Bind(insert, column++, Word(random, 2));
        Bind(insert, column++, Word(random, 10));
        Bind(insert, column++, QString());
        Step(insert);
    }
    sqlite3_finalize(insert);
    const QByteArray counters = u"UPDATE snnumber SET client = %1, linkman = %2, outputdata = "
                                "%3, outputdetail = %4"_s.arg(sizes.clients + 1)
                                    .arg(sizes.contacts + 1)
                                    .arg(sizes.orders + 1)
                                    .arg(sizes.receipts + 1)
                                    .toUtf8();
    sqlite3_exec(db, counters.constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void Print(const char* what, const Figure& figure, const char* goal)
{
    std::printf("  %-44s median %.3f s wall, %.3f s processor; raw SQLite %.3f s (goal %s)\n", what,
                Median(figure.wall), Median(figure.cpu), Median(figure.raw), goal);
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
    auto* lower = new CMiddleListView(doc, &window);
    layout->addWidget(view, 3);
    layout->addWidget(lower, 2);
    window.show();
    QApplication::processEvents();

    std::printf("%d clients, %d contacts, %d sales orders, %d receipts\n", sizes.clients,
                sizes.contacts, sizes.orders, sizes.receipts);

    std::unique_ptr<CSaleQueryDlg> query;
    const Figure all = Time(
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
            ReadAll(raw, "SELECT * FROM outputdata ORDER BY date DESC");
            ReadAll(raw, "SELECT paper, sum FROM outputdetail");
        });
    std::printf("  (%d rows listed, totals row \"%s\" / %s)\n", view->List().GetItemCount(),
                qPrintable(view->List().GetItemText(view->List().GetItemCount() - 1, 6)),
                qPrintable(view->List().GetItemText(view->List().GetItemCount() - 1, 8)));
    Print("\"查询全部\" in 销售查询, list shown:", all, "< 0.5 s");

    const Figure order = Time(
        nullptr,
        [&] {
            CSaleDlg dialog(&db, view, CClock(), &window);
            dialog.show();
            QApplication::processEvents();
        },
        [&] { ReadAll(raw, "SELECT no, name FROM client"); });
    Print("销售单 dialog opening:", order, "< 0.2 s");

    const Figure detail = Time(
        nullptr,
        [&] {
            CTradeDetailDlg dialog(&db, kSaleTwin, lower, view, CClock(), &window);
            dialog.show();
            QApplication::processEvents();
        },
        [&] { ReadAll(raw, "SELECT no, paper FROM outputdata"); });
    Print("销售明细 dialog opening:", detail, "< 0.3 s");

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
    const Figure change = Time(
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
            const QByteArray sql = u"UPDATE outputdetail SET sum = %1 WHERE no = %2"_s.arg(amount)
                                       .arg(payment)
                                       .toUtf8();
            sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr);
        });
    std::printf("  (order %s: payment %d now %s, order paid %s, %s)\n",
                qPrintable(view->List().GetItemText(row, 1)), payment,
                qPrintable(lower->List().GetItemText(0, 2)),
                qPrintable(view->List().GetItemText(row, 7)),
                qPrintable(view->List().GetItemText(row, 8)));
    Print("modify of one payment, three list updates:", change, "< 50 ms");

    sqlite3_close(raw);
    return 0;
}
