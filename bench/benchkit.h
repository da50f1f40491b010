#pragma once

// What the benchmarks share: generated Chinese words, binding texts to raw SQLite statements,
// processor time and medians.

#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <iterator>
#include <random>
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

inline void Bind(sqlite3_stmt* statement, int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

inline sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return statement;
}

// Runs a statement once and makes it ready for its next values.
inline void Step(sqlite3_stmt* statement)
{
    sqlite3_step(statement);
    sqlite3_reset(statement);
}

// Processor time of this thread: on a busy machine it shows the work itself, where the wall
// clock also counts the waits for a processor.
inline double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace benchkit
