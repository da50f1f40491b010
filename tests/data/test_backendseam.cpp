#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// "path:line: text" for every line of the files under `folder` (relative to src/) that names
// the SQLite library, skipping the files of src/data/sqlite.
QStringList SqliteNames(const QString& folder, const QStringList& filters)
{
    static const QRegularExpression names(uR"(\bsqlite3\w*\b|\bSQLITE_[A-Z_]+\b|"data/sqlite/)"_s);
    const QString src = QStringLiteral(VANTREL_SOURCE_DIR) + u"/src/"_s;
    QStringList found;
    QDirIterator it(src + folder, filters, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(src.size());
        if (relative.startsWith(u"data/sqlite/"_s))
            continue;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        int line = 0;
        while (!file.atEnd()) {
            const QString text = QString::fromUtf8(file.readLine());
            ++line;
            if (names.match(text).hasMatch())
                found << relative + u':' + QString::number(line) + u": "_s + text.trimmed();
        }
    }
    return found;
}

} // namespace

// The SQLite backend stays behind the seam: only its own folder declares anything of the
// library, so another backend can stand beside it without the callers changing.
TEST(BackendSeam, OnlyTheSqliteFolderNamesTheLibrary)
{
    const QStringList inHeaders = SqliteNames(u"data"_s, {u"*.h"_s});
    EXPECT_TRUE(inHeaders.isEmpty()) << inHeaders.join(u'\n').toStdString();
    QStringList aboveData;
    for (const QString& layer :
         {u"kit"_s, u"views"_s, u"customers"_s, u"trade"_s, u"schedule"_s, u"app"_s})
        aboveData << SqliteNames(layer, {u"*.h"_s, u"*.cpp"_s});
    EXPECT_TRUE(aboveData.isEmpty()) << aboveData.join(u'\n').toStdString();
}
