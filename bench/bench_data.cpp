// Measures the access layer against the raw SQLite C API on a large generated data file:
//   (a) open and walk every sales order, newest first, reading every field;
//   (b) 100,000 statements selecting one order's receipts, summing their amounts;
//   (c) 10,000 orders edited one at a time (open, Edit, two writes, Update), in one transaction.
// Run: build/bench/bench/bench_data [orders]
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

namespace {

const QStringList kOrderFields = {u"no"_s,        u"date"_s,      u"paper"_s,   u"item"_s,
                                  u"bargain"_s,   u"client"_s,    u"linkman"_s, u"goods"_s,
                                  u"unit"_s,      u"number"_s,    u"sum"_s,     u"detail"_s,
                                  u"warehouse"_s, u"principal"_s, u"square"_s,  u"remark"_s};

void Generate(const QString& path, int orders)
{
    static const char* clients[] = {"深圳华强电子有限公司", "北京中关村科技发展公司",
                                    "上海浦东贸易集团",     "广州天河商贸有限公司",
                                    "杭州西湖丝绸厂",       "成都锦江食品有限公司"};
    static const char* people[] = {"张伟", "王芳", "李娜", "刘洋", "陈静", "杨帆", "赵磊", "黄敏"};
    static const char* goods[] = {"不锈钢螺丝", "液晶显示器", "办公桌椅",
                                  "铜芯电缆",   "包装纸箱",   "茶叶礼盒"};
    static const char* units[] = {"件", "台", "套", "米", "箱", "盒"};
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* order = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO outputdata (no, date, paper, item, bargain, client, linkman, goods, "
        "unit, number, sum, detail, warehouse, principal, square, remark) VALUES "
        "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &order, nullptr);
    sqlite3_stmt* detail = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO outputdetail (no, paper, date, number, sum, person, taster, detail, "
        "remark) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &detail, nullptr);
    std::mt19937 random(42);
    auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
    auto text = [](sqlite3_stmt* s, int i, const QString& v) {
        const QByteArray utf8 = v.toUtf8();
        sqlite3_bind_text(s, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    };
    int detailNo = 1;
    for (int no = 1; no <= orders; ++no) {
        const QDate date = QDate(2015, 1, 1).addDays(random() % 3650);
        const QString day = date.toString(u"yyyy-MM-dd 00:00:00"_s);
        const double amount = (random() % 1000000) / 100.0;
        sqlite3_bind_int(order, 1, no);
        text(order, 2, day);
        text(order, 3, u"XS%1-%2"_s.arg(date.year()).arg(no, 6, 10, QChar(u'0')));
        text(order, 4, u"%1采购项目"_s.arg(QString::fromUtf8(pick(goods))));
        text(order, 5, u"HT-%1"_s.arg(no));
        text(order, 6, QString::fromUtf8(pick(clients)));
        text(order, 7, QString::fromUtf8(pick(people)));
        text(order, 8, QString::fromUtf8(pick(goods)));
        text(order, 9, QString::fromUtf8(pick(units)));
        sqlite3_bind_double(order, 10, double(random() % 500 + 1));
        sqlite3_bind_double(order, 11, amount);
        text(order, 12,
             u"按合同分三批交货，货到验收合格后付款。联系人：%1。"_s.arg(
                 QString::fromUtf8(pick(people))));
        text(order, 13, u"一号仓库"_s);
        text(order, 14, QString::fromUtf8(pick(people)));
        sqlite3_bind_int(order, 15, int(random() % 2));
        text(order, 16, no % 3 ? u"客户要求加急"_s : QString());
        sqlite3_step(order);
        sqlite3_reset(order);
        for (int k = 0; k < 3; ++k) {
            sqlite3_bind_int(detail, 1, detailNo++);
            sqlite3_bind_int(detail, 2, no);
            text(detail, 3, date.addDays(k * 10).toString(u"yyyy-MM-dd 00:00:00"_s));
            sqlite3_bind_double(detail, 4, 1.0);
            sqlite3_bind_double(detail, 5, amount / 3.0);
            text(detail, 6, QString::fromUtf8(pick(people)));
            text(detail, 7, QString::fromUtf8(pick(people)));
            text(detail, 8, u"银行转账"_s);
            text(detail, 9, QString());
            sqlite3_step(detail);
            sqlite3_reset(detail);
        }
    }
    sqlite3_finalize(order);
    sqlite3_finalize(detail);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
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
    Generate(path, orders);
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
    return same ? 0 : 1;
}
