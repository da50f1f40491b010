// Measures 导出 on a long list: 100,000 sales orders listed in the main list (with paid
// amounts, percentages and the totals row), then written by the export command, progress
// dialog and all, to an Excel workbook and to a CSV file. Five runs of each; medians.
// Goals: .xlsx < 1.5 s, .csv < 1 s.
// Run: build/bench/bench/bench_export [orders]
#include "benchkit.h"
#include "data/adodatabase.h"
#include "data/schema.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "trade/exportcommands.h"
#include "trade/orderlist.h"
#include "trade/tradetwin.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <cstdio>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;
using benchkit::Bind;
using benchkit::Median;
using benchkit::Prepare;
using benchkit::Step;
using benchkit::ThreadSeconds;
using benchkit::Word;

namespace {

// Orders over three years, every other one partly paid.
void Generate(const QString& path, int orders)
{
    std::mt19937 random(14);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* order = Prepare(
        db, "INSERT INTO outputdata (no, date, paper, item, bargain, client, linkman, goods, "
            "unit, number, warehouse, sum, detail, principal, square, remark) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt* payment = Prepare(
        db, "INSERT INTO outputdetail (no, paper, date, number, sum) VALUES (?, ?, ?, ?, ?)");
    int payments = 0;
    for (int no = 1; no <= orders; ++no) {
        const QDate day = QDate(2022, 1, 1).addDays(qint64(no) * 1095 / orders);
        const double sum = double(random() % 10000000) / 100.0;
        int column = 1;
        sqlite3_bind_int(order, column++, no);
        Bind(order, column++, day.toString(u"yyyy-MM-dd 00:00:00"_s));
        Bind(order, column++, u"XS%1"_s.arg(no, 7, 10, QLatin1Char('0')));
        Bind(order, column++, Word(random, 4));
        Bind(order, column++, u"HT-%1"_s.arg(random() % 100000));
        Bind(order, column++, Word(random, 4) + u"有限公司"_s);
        Bind(order, column++, Word(random, 3));
        Bind(order, column++, Word(random, 2));
        Bind(order, column++, u"件"_s);
        sqlite3_bind_double(order, column++, double(random() % 1000));
        Bind(order, column++, u"一号库"_s);
        sqlite3_bind_double(order, column++, sum);
        Bind(order, column++, Word(random, 8));
        Bind(order, column++, Word(random, 2));
        sqlite3_bind_int(order, column++, int(random() % 2));
        Bind(order, column++, no % 3 == 0 ? u"备注, 含逗号"_s : QString());
        Step(order);
        if (no % 2 == 0) {
            sqlite3_bind_int(payment, 1, ++payments);
            sqlite3_bind_int(payment, 2, no);
            Bind(payment, 3, day.addDays(20).toString(u"yyyy-MM-dd 00:00:00"_s));
            sqlite3_bind_double(payment, 4, 1);
            sqlite3_bind_double(payment, 5, sum / 2);
            Step(payment);
        }
    }
    sqlite3_finalize(order);
    sqlite3_finalize(payment);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int orders = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 100000;
    QTemporaryDir dir;
    const QString path = dir.path() + u"/sale.db"_s;
    if (!CreateDataFile(path)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        return 1;
    }
    Generate(path, orders);
    CADODatabase db;
    if (!db.Open(CADODatabase::ConnectionStringFor(path))) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(db.GetLastError()));
        return 1;
    }

    QWidget window;
    window.resize(1200, 800);
    CVantrelDoc doc(&db);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new CVantrelView(doc, &window));
    window.show();
    QApplication::processEvents();
    ShowOrderList(doc, kSaleTwin, u"SELECT * FROM outputdata ORDER BY date"_s);
    QApplication::processEvents();
    std::printf("%d sales orders listed: %d rows in the main list\n", orders,
                doc.MainList()->List().GetItemCount());

    MessageRecorder messages;
    for (const QString& suffix : {u"xlsx"_s, u"csv"_s}) {
        std::vector<double> wall;
        std::vector<double> cpu;
        qint64 size = 0;
        for (int run = 0; run < 5; ++run) {
            const QString file = dir.path() + u"/销售."_s + suffix;
            QElapsedTimer clock;
            clock.start();
            const double start = ThreadSeconds();
            const bool written = ExportMainList(doc, &window, file);
            cpu.push_back(ThreadSeconds() - start);
            wall.push_back(double(clock.nsecsElapsed()) / 1e9);
            if (!written) {
                std::fprintf(stderr, "%s\n", qPrintable(messages.LastText()));
                return 1;
            }
            size = QFileInfo(file).size();
        }
        const double goal = suffix == u"xlsx"_s ? 1.5 : 1.0;
        std::printf("  export to .%-5s median %.3f s wall, %.3f s processor, %.1f MB "
                    "(goal < %.1f s: %s)\n",
                    qPrintable(suffix), Median(wall), Median(cpu), double(size) / 1e6, goal,
                    Median(wall) < goal ? "met" : "NOT met");
    }
    return 0;
}
