#pragma once

// What the benchmarks share: generated Chinese words, raw SQLite statements to fill a data file
// and to read it as fast as it can be read, processor time, timed runs and medians.

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <iterator>
#include <random>
#include <variant>
#include <vector>

namespace benchkit {

inline constexpr char16_t kSyllables[] =
    u"华强中关村科技发展浦东贸易集团天河商贸西湖丝绸锦江食品精工机电"
    u"宏达远洋建材电子化工纺织医药物流汽车配件家具五金塑料包装印刷";

inline QString Word(std::mt19937& random, int length)
{
    QString word;
    const int count = int(std::size(kSyllables)) - 1;
    for (int i = 0; i < length; ++i)
        word += QChar(kSyllables[random() % count]);
    return word;
}

inline sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return statement;
}

// Runs a prepared insert and readies it for the next row.
inline void Step(sqlite3_stmt* statement)
{
    sqlite3_step(statement);
    sqlite3_reset(statement);
}

// Steps through a statement reading every column in its stored type: the least any reader of
// the same rows has to do.
inline void ReadAll(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = Prepare(db, sql);
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int column = 0; column < columns; ++column) {
            switch (sqlite3_column_type(statement, column)) {
            case SQLITE_INTEGER:
                sqlite3_column_int64(statement, column);
                break;
            case SQLITE_FLOAT:
                sqlite3_column_double(statement, column);
                break;
            case SQLITE_TEXT:
                sqlite3_column_text(statement, column);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(statement);
}

inline void ReadAll(sqlite3* db, const QString& sql)
{
    ReadAll(db, sql.toUtf8().constData());
}

inline void Bind(sqlite3_stmt* statement, int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// One value of a row filled in: NULL, a whole number, a double or a text.
using FillValue = std::variant<std::monostate, qint64, double, QString>;

// Fills the tables of a database outside the access layer, as fast as its backend takes rows;
// the filling is not what the benchmarks measure.
class Filler
{
public:
    virtual ~Filler() = default;
    // Starts the rows of a table; each row gives the values of `columns` in their order.
    virtual void Table(const char* table, const QStringList& columns) = 0;
    virtual void Row(const std::vector<FillValue>& values) = 0;
    // Runs a statement both backends read alike, after the rows before it.
    virtual void Exec(const QString& sql) = 0;
};

// Fills a data file in one transaction through one prepared INSERT per table.
class SqliteFiller final : public Filler
{
public:
    explicit SqliteFiller(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
    }
    ~SqliteFiller() override
    {
        sqlite3_finalize(m_insert);
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
    SqliteFiller(const SqliteFiller&) = delete;
    SqliteFiller& operator=(const SqliteFiller&) = delete;

    void Table(const char* table, const QStringList& columns) override
    {
        sqlite3_finalize(m_insert);
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(QString::fromUtf8(table), columns.join(u", "), marks.join(u", "));
        m_insert = Prepare(m_db, sql.toUtf8().constData());
    }
    void Row(const std::vector<FillValue>& values) override
    {
        int index = 0;
        for (const FillValue& value : values) {
            ++index;
            if (const auto* integer = std::get_if<qint64>(&value))
                sqlite3_bind_int64(m_insert, index, *integer);
            else if (const auto* real = std::get_if<double>(&value))
                sqlite3_bind_double(m_insert, index, *real);
            else if (const auto* text = std::get_if<QString>(&value))
                Bind(m_insert, index, *text);
            else
                sqlite3_bind_null(m_insert, index);
        }
        Step(m_insert);
    }
    void Exec(const QString& sql) override
    {
        sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
};

// Processor time of this thread: on a busy machine it shows the work itself, where the wall
// clock also counts the waits for a processor.
inline double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The heap the process has in use, in MB: what a list holds is the difference with and without
// it (the resident size would count the pages the allocator keeps for later).
inline double HeapMegabytes()
{
    const struct mallinfo2 heap = mallinfo2();
    // Large blocks are mapped on their own, outside the arena's count.
    return double(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The times of kRuns runs of a measured action, and of its raw lower bound (processor time,
// and the wall clock, which alone shows a server's share of the work).
struct Figure
{
    std::vector<double> wall;
    std::vector<double> cpu;
    std::vector<double> raw;
    std::vector<double> rawWall;
};

inline constexpr int kRuns = 7;

// One measure beside its raw lower bound and their ratio (of the wall-clock medians):
//   what  median 0.250 s wall, 0.240 s processor; raw SQLite 0.195 s wall, 0.190 s processor;
//         1.28 x raw (goal ...)
// `scale` and `unit` print milliseconds (1000, "ms") where seconds would be all zeros.
inline void PrintFigure(const char* what, const Figure& figure, const char* raw, const char* goal,
                        double scale = 1.0, const char* unit = "s")
{
    const double wall = Median(figure.wall);
    const double rawWall = figure.rawWall.empty() ? Median(figure.raw) : Median(figure.rawWall);
    std::printf("  %-44s median %.3f %s wall, %.3f %s processor; raw %s %.3f %s wall, %.3f %s "
                "processor; %.2f x raw (goal %s)\n",
                what, wall * scale, unit, Median(figure.cpu) * scale, unit, raw, rawWall * scale,
                unit, Median(figure.raw) * scale, unit, rawWall > 0 ? wall / rawWall : 0.0, goal);
}

// Times `action` and `raw` (wall and processor) `runs` times each; `prepare` runs untimed
// before each run.
inline Figure Time(const std::function<void()>& prepare, const std::function<void()>& action,
                   const std::function<void()>& raw, int runs = kRuns)
{
    Figure figure;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        const double cpu = ThreadSeconds();
        action();
        figure.wall.push_back(double(timer.nsecsElapsed()) / 1e9);
        figure.cpu.push_back(ThreadSeconds() - cpu);
        timer.restart();
        const double rawStart = ThreadSeconds();
        if (raw)
            raw();
        figure.raw.push_back(ThreadSeconds() - rawStart);
        figure.rawWall.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    return figure;
}

} // namespace benchkit
