// Measures the access layer against the raw SQLite C API on a large generated data file:
//   (a) open and walk every sales order, newest first, reading every field;
//   (b) 100,000 statements selecting one order's receipts, summing their amounts;
//   (c) 10,000 orders edited one at a time (open, Edit, two writes, Update), in one transaction.
// When the PG… environment variables name a PostgreSQL server (PGHOST or PGPORT set), the layer's
// (a), (b) and (c) run again on a fresh database there and are printed against the file's.
// Run: build/bench/bench/bench_data [orders]
//      PGHOST=127.0.0.1 PGPORT=55450 PGUSER=vantrel build/bench/bench/bench_data
#include "benchkit.h"
#include "benchserver.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace Qt::StringLiterals;
using benchkit::FillValue;

namespace {

const QStringList kOrderFields = {u"no"_s,        u"date"_s,      u"paper"_s,   u"item"_s,
                                  u"bargain"_s,   u"client"_s,    u"linkman"_s, u"goods"_s,
                                  u"unit"_s,      u"number"_s,    u"sum"_s,     u"detail"_s,
                                  u"warehouse"_s, u"principal"_s, u"square"_s,  u"remark"_s};

void Generate(benchkit::Filler& fill, int orders)
{
    static const char* clients[] = {"深圳华强电子有限公司", "北京中关村科技发展公司",
                                    "上海浦东贸易集团",     "广州天河商贸有限公司",
                                    "杭州西湖丝绸厂",       "成都锦江食品有限公司"};
    static const char* people[] = {"张伟", "王芳", "李娜", "刘洋", "陈静", "杨帆", "赵磊", "黄敏"};
    static const char* goods[] = {"不锈钢螺丝", "液晶显示器", "办公桌椅",
                                  "铜芯电缆",   "包装纸箱",   "茶叶礼盒"};
    static const char* units[] = {"件", "台", "套", "米", "箱", "盒"};
    std::mt19937 random(42);
    auto pick = [&](auto& list) { return QString::fromUtf8(list[random() % std::size(list)]); };
    std::vector<std::vector<FillValue>> details;
    fill.Table("outputdata", kOrderFields);
    int detailNo = 1;
    for (int no = 1; no <= orders; ++no) {
        const QDate date = QDate(2015, 1, 1).addDays(random() % 3650);
        const QString day = date.toString(u"yyyy-MM-dd 00:00:00"_s);
        const double amount = (random() % 1000000) / 100.0;
        std::vector<FillValue> order;
        order.emplace_back(qint64(no));
        order.emplace_back(day);
        order.emplace_back(u"XS%1-%2"_s.arg(date.year()).arg(no, 6, 10, QChar(u'0')));
        order.emplace_back(u"%1采购项目"_s.arg(pick(goods)));
        order.emplace_back(u"HT-%1"_s.arg(no));
        order.emplace_back(pick(clients));
        order.emplace_back(pick(people));
        order.emplace_back(pick(goods));
        order.emplace_back(pick(units));
        order.emplace_back(double(random() % 500 + 1));
        order.emplace_back(amount);
        order.emplace_back(
            u"按合同分三批交货，货到验收合格后付款。联系人：%1。"_s.arg(pick(people)));
        order.emplace_back(u"一号仓库"_s);
        order.emplace_back(pick(people));
        order.emplace_back(qint64(random() % 2));
        order.emplace_back(no % 3 ? u"客户要求加急"_s : QString(u""_s));
        fill.Row(order);
        for (int k = 0; k < 3; ++k) {
            std::vector<FillValue> detail;
            detail.emplace_back(qint64(detailNo++));
            detail.emplace_back(qint64(no));
            detail.emplace_back(date.addDays(k * 10).toString(u"yyyy-MM-dd 00:00:00"_s));
            detail.emplace_back(1.0);
            detail.emplace_back(amount / 3.0);
            detail.emplace_back(pick(people));
            detail.emplace_back(pick(people));
            detail.emplace_back(u"银行转账"_s);
            detail.emplace_back(QString(u""_s));
            details.push_back(std::move(detail));
        }
    }
    fill.Table("outputdetail", {u"no"_s, u"paper"_s, u"date"_s, u"number"_s, u"sum"_s, u"person"_s,
                                u"taster"_s, u"detail"_s, u"remark"_s});
    for (const std::vector<FillValue>& detail : details)
        fill.Row(detail);
}

// (a) through the layer: every field read the way the lists read them.
double WalkLayer(CADODatabase& db, long long& checksum)
{
    QElapsedTimer timer;
    timer.start();
    CADORecordset rs(&db);
    rs.Open(u"SELECT * FROM outputdata ORDER BY date DESC"_s);
    const int count = rs.GetRecordCount();
    if (count >= 1)
        rs.MoveFirst();
    for (int i = 0; i < count; ++i) {
        int no = 0, square = 0;
        double number = 0, sum = 0;
        QDateTime date;
        QString text;
        rs.GetFieldInt(u"no"_s, no);
        rs.GetFieldDate(u"date"_s, date);
        for (const QString& field :
             {u"paper"_s, u"item"_s, u"bargain"_s, u"client"_s, u"linkman"_s, u"goods"_s, u"unit"_s,
              u"detail"_s, u"warehouse"_s, u"principal"_s, u"remark"_s}) {
            rs.GetFieldText(field, text);
            checksum += text.size();
        }
        rs.GetFieldDouble(u"number"_s, number);
        rs.GetFieldDouble(u"sum"_s, sum);
        rs.GetFieldInt(u"square"_s, square);
        checksum += no + square + date.date().day();
        rs.MoveNext();
    }
    return timer.nsecsElapsed() / 1e9;
}

// (a) with the C API: the same rows into the same program values.
double WalkRaw(sqlite3* db, long long& checksum)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM outputdata ORDER BY date DESC", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int no = sqlite3_column_int(s, 0);
        const char* d = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
        auto digits = [d](int at, int count) {
            int value = 0;
            for (int i = at; i < at + count; ++i)
                value = value * 10 + (d[i] - '0');
            return value;
        };
        const QDateTime date(QDate(digits(0, 4), digits(5, 2), digits(8, 2)),
                             QTime(digits(11, 2), digits(14, 2), digits(17, 2)));
        for (int c : {2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 15}) {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, c)),
                                  sqlite3_column_bytes(s, c));
            checksum += text.size();
        }
        const double number = sqlite3_column_double(s, 9);
        const double sum = sqlite3_column_double(s, 10);
        const int square = sqlite3_column_int(s, 14);
        Q_UNUSED(number);
        Q_UNUSED(sum);
        checksum += no + square + date.date().day();
    }
    sqlite3_finalize(s);
    return timer.nsecsElapsed() / 1e9;
}

double SumsLayer(CADODatabase& db, int orders, double& total)
{
    QElapsedTimer timer;
    timer.start();
    CADORecordset rs(&db);
    for (int paper = 1; paper <= orders; ++paper) {
        rs.Open(QString::asprintf("SELECT * FROM outputdetail WHERE [paper] = %d", paper));
        const int count = rs.GetRecordCount();
        if (count >= 1)
            rs.MoveFirst();
        for (int i = 0; i < count; ++i) {
            double sum = 0;
            rs.GetFieldDouble(u"sum"_s, sum);
            total += sum;
            rs.MoveNext();
        }
    }
    return timer.nsecsElapsed() / 1e9;
}

// (b) with the C API: each statement text prepared and run, as the program would send it.
double SumsRaw(sqlite3* db, int orders, double& total)
{
    QElapsedTimer timer;
    timer.start();
    char sql[128];
    for (int paper = 1; paper <= orders; ++paper) {
        std::snprintf(sql, sizeof sql, "SELECT * FROM outputdetail WHERE paper = %d", paper);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            total += sqlite3_column_double(s, 4);
        sqlite3_finalize(s);
    }
    return timer.nsecsElapsed() / 1e9;
}

// (b) with the C API at its best: one prepared statement, rebound for each order.
double SumsRawBound(sqlite3* db, int orders, double& total)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM outputdetail WHERE paper = ?", -1, &s, nullptr);
    for (int paper = 1; paper <= orders; ++paper) {
        sqlite3_bind_int(s, 1, paper);
        while (sqlite3_step(s) == SQLITE_ROW)
            total += sqlite3_column_double(s, 4);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    return timer.nsecsElapsed() / 1e9;
}

// (c) through the layer: each order opened by its number and two of its fields rewritten.
double EditsLayer(CADODatabase& db, int edits, int& failed)
{
    QElapsedTimer timer;
    timer.start();
    CADORecordset rs(&db);
    db.BeginTransaction();
    for (int no = 1; no <= edits; ++no) {
        rs.Open(QString::asprintf("SELECT * FROM outputdata WHERE [no] = %d", no));
        rs.Edit();
        rs.SetFieldText(u"remark"_s, u"已复核 %1"_s.arg(no));
        rs.SetFieldDouble(u"sum"_s, no * 0.5);
        if (!rs.Update())
            ++failed;
    }
    db.CommitTransaction();
    return timer.nsecsElapsed() / 1e9;
}

// (c) with the C API: one prepared UPDATE, rebound for each order after the first `from`.
double EditsRaw(sqlite3* db, int from, int edits)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* s = nullptr;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(db, "UPDATE outputdata SET remark = ?, sum = ? WHERE no = ?", -1, &s,
                       nullptr);
    for (int no = from + 1; no <= from + edits; ++no) {
        const QByteArray remark = u"已复核 %1"_s.arg(no).toUtf8();
        sqlite3_bind_text(s, 1, remark.constData(), int(remark.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(s, 2, no * 0.5);
        sqlite3_bind_int(s, 3, no);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return timer.nsecsElapsed() / 1e9;
}

struct ServerFigures
{
    double walk = 0, sums = 0, sumsInTransaction = 0, edits = 0;
    long long checksum = 0;
    double total = 0, totalInTransaction = 0;
    int editsFailed = 0;
    int edited = 0;
};

// (a), (b) and (c) through the layer on a fresh database on the server the environment names.
bool MeasureOnServer(int orders, int edits, ServerFigures& figures)
{
    benchkit::ServerDatabase server;
    CADODatabase db;
    if (!benchkit::OpenFilled(server, db, [&](benchkit::Filler& fill) { Generate(fill, orders); }))
        return false;
    long long warm = 0;
    WalkLayer(db, warm);
    figures.walk = WalkLayer(db, figures.checksum);
    figures.sums = SumsLayer(db, orders, figures.total);
    db.BeginTransaction();
    figures.sumsInTransaction = SumsLayer(db, orders, figures.totalInTransaction);
    db.CommitTransaction();
    figures.edits = EditsLayer(db, edits, figures.editsFailed);
    db.Close();
    PGresult* check = PQexec(server.Raw(), "SELECT count(*) FROM outputdata WHERE remark LIKE "
                                           "'已复核 %'");
    figures.edited = PQntuples(check) == 1 ? std::atoi(PQgetvalue(check, 0, 0)) : -1;
    PQclear(check);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int orders = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sale.db"_s);
    CreateDataFile(path);
    QElapsedTimer timer;
    timer.start();
    {
        benchkit::SqliteFiller fill(path);
        Generate(fill, orders);
    }
    std::printf("generated %d orders and %d receipts in %.2f s\n", orders, orders * 3,
                timer.nsecsElapsed() / 1e9);

    CADODatabase db;
    db.Open(CADODatabase::ConnectionStringFor(path));
    sqlite3* raw = nullptr;
    // The C API opened as the layer opens its files: one thread, the same page cache.
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    sqlite3_exec(raw, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);

    long long checkLayer = 0, checkRaw = 0;
    double totalLayer = 0, totalRaw = 0;
    // Warm both: the system's file cache and each connection's own page cache.
    WalkRaw(raw, checkRaw);
    WalkLayer(db, checkLayer);
    checkRaw = 0;
    checkLayer = 0;
    const double a = WalkLayer(db, checkLayer);
    const double ca = WalkRaw(raw, checkRaw);
    const double b = SumsLayer(db, orders, totalLayer);
    const double cb = SumsRaw(raw, orders, totalRaw);
    double totalBound = 0;
    const double cbBound = SumsRawBound(raw, orders, totalBound);
    // Outside a transaction every statement takes and drops the file's shared lock and looks
    // for a hot journal: system calls that dominate (b). Inside one transaction the lock is
    // taken once, as a dialog reading many orders at a time can do.
    double totalLayerTx = 0, totalRawTx = 0;
    db.BeginTransaction();
    const double bTx = SumsLayer(db, orders, totalLayerTx);
    db.CommitTransaction();
    sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
    const double cbTx = SumsRawBound(raw, orders, totalRawTx);
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(raw);

    // (c) The layer edits the first orders, the C API the next ones, so neither finds the
    // other's pages freshly changed.
    const int edits = std::min(10000, orders / 2);
    int editsFailed = 0;
    const double c = EditsLayer(db, edits, editsFailed);
    sqlite3* writer = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &writer, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    sqlite3_exec(writer, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    const double cc = EditsRaw(writer, edits, edits);
    sqlite3_close(writer);
    db.Close();
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(raw, "SELECT count(*) FROM outputdata WHERE remark LIKE '已复核 %'", -1,
                       &check, nullptr);
    const int edited = sqlite3_step(check) == SQLITE_ROW ? sqlite3_column_int(check, 0) : -1;
    sqlite3_finalize(check);
    sqlite3_close(raw);

    std::printf("(a) walk %d orders, every field:   layer %.3f s   raw %.3f s   (a)/(c) = %.2f\n",
                orders, a, ca, a / ca);
    std::printf("(b) %d receipt statements, sums:  layer %.3f s   raw %.3f s   (b)/(c) = %.2f\n",
                orders, b, cb, b / cb);
    std::printf("    raw with one statement rebound per order: %.3f s   (b)/that = %.2f\n", cbBound,
                b / cbBound);
    std::printf("    all in one transaction:  layer %.3f s   raw rebound %.3f s   ratio %.2f\n",
                bTx, cbTx, bTx / cbTx);
    std::printf("(c) %d order edits, one transaction:  layer %.3f s   raw %.3f s   ratio %.2f\n",
                edits, c, cc, c / cc);
    const bool same = editsFailed == 0 && edited == 2 * edits && checkLayer == checkRaw &&
                      std::abs(totalLayer - totalRaw) < 1e-6 * totalRaw &&
                      std::abs(totalLayerTx - totalRaw) < 1e-6 * totalRaw &&
                      std::abs(totalRawTx - totalRaw) < 1e-6 * totalRaw;
    std::printf("results agree: %s\n", same ? "yes" : "NO");
    if (!benchkit::ServerNamed())
        return same ? 0 : 1;

    ServerFigures server;
    if (!MeasureOnServer(orders, edits, server))
        return 1;
    std::printf("PostgreSQL server, the layer's figures against the file's:\n");
    benchkit::PrintRatio("(a) walk every order, every field:", a, server.walk);
    benchkit::PrintRatio("(b) receipt statements, sums:", b, server.sums);
    benchkit::PrintRatio("    all in one transaction:", bTx, server.sumsInTransaction);
    benchkit::PrintRatio("(c) order edits, one transaction:", c, server.edits);
    const bool serverSame = server.editsFailed == 0 && server.edited == edits &&
                            server.checksum == checkLayer &&
                            std::abs(server.total - totalLayer) < 1e-6 * totalLayer &&
                            std::abs(server.totalInTransaction - totalLayer) < 1e-6 * totalLayer;
    std::printf("server results agree: %s\n", serverSame ? "yes" : "NO");
    return same && serverSame ? 0 : 1;
}
