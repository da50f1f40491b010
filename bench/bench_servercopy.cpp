// bench_servercopy [orders]: moving a team's data onto a server and back. Fills a data file
// with `orders` sales orders (100000 unless given) and three payments each, copies it into an
// empty server database, then writes the server's snapshot backup; prints the wall-clock
// seconds of each. Needs a server named by the libpq environment (benchserver.h).
#include "benchserver.h"
#include "data/datacopy.h"
#include "data/datasource.h"
#include "data/serverbackup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int orders = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (!benchkit::ServerNamed()) {
        std::fprintf(stderr, "name a server with PGHOST or PGPORT\n");
        return 2;
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(u"sale.db"_s);
    sqlite3* db = nullptr;
    if (!CreateDataFile(path) || sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return 1;
    const QByteArray fill =
        u"BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
        "INSERT INTO outputdata (no, date, paper, item, client, linkman, goods, unit, number, "
        "sum, detail, principal, square, remark) SELECT i, '2026-03-05 09:07:00', 'S-' || i, "
        "'年度供货', '北京华联商厦有限公司', '王经理', '冷轧钢板', '吨', i * 1.5, i * 2.25, "
        "'分三批交货', '张三', 0, '备注' FROM n; "
        "INSERT INTO outputdetail (no, paper, date, number, sum, person, taster, detail) "
        "SELECT 3 * (no - 1) + k, no, date, 0.5, sum / 3, '李四', '王五', '第 ' || k || ' 批' "
        "FROM outputdata, (SELECT 1 AS k UNION ALL SELECT 2 UNION ALL SELECT 3); COMMIT"_s
            .arg(orders)
            .toUtf8();
    sqlite3_exec(db, fill.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);

    benchkit::ServerDatabase server;
    vantrel::db::Error error;
    const auto file =
        vantrel::db::OpenDataSource(CADODatabase::ConnectionStringFor(path), 0, error);
    const auto target =
        server.Ready() ? vantrel::db::OpenDataSource(server.ConnectionString(), 0, error) : nullptr;
    if (!file || !target) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const vantrel::db::CopyReport report = vantrel::db::CopyData(*file, *target);
    const double up = double(timer.nsecsElapsed()) / 1e9;
    if (!report.copied) {
        std::fprintf(stderr, "%s\n", qPrintable(report.error));
        return 1;
    }
    timer.restart();
    QString written, why;
    if (!vantrel::db::BackupServer(*target, folder.path(), QDateTime::currentDateTime(), &written,
                                   &why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    const double down = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%d orders, %d payments\nfile onto the server: %.1f s\nserver backup to a file: "
                "%.1f s\n",
                orders, 3 * orders, up, down);
    return 0;
}
