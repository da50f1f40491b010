#include "data/tablewriters.h"

#include <QByteArray>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// RFC 4180: a field holding a comma, a quotation mark or a line break goes between quotation
// marks, its quotation marks doubled.
void AppendField(QByteArray& out, const QString& text)
{
    const bool quoted =
        text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!quoted) {
        out += text.toUtf8();
        return;
    }
    out += '"';
    QString doubled = text;
    doubled.replace(u"\""_s, u"\"\""_s);
    out += doubled.toUtf8();
    out += '"';
}

void AppendRecord(QByteArray& out, int columns, const auto& field)
{
    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            out += ',';
        AppendField(out, field(column));
    }
    out += "\r\n";
}

} // namespace

TableFileResult WriteCsvTable(const QString& path, const TableFileContent& content,
                              const TableFileProgress& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {TableFileStatus::WriteFailed, file.errorString()};

    constexpr qsizetype kFlushSize = 1 << 16;
    // The byte-order mark tells Excel on a Chinese system that the text is UTF-8.
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(kFlushSize * 2);
    const int columns = int(content.columns.size());
    AppendRecord(out, columns, [&](int column) { return content.columns[size_t(column)].title; });
    for (int row = 0; row < content.rowCount; ++row) {
        if (progress && row % kTableProgressStep == 0 && !progress(row, content.rowCount))
            return {TableFileStatus::Cancelled, {}};
        AppendRecord(out, columns, [&](int column) { return content.cell(row, column); });
        if (out.size() >= kFlushSize) {
            if (file.write(out) != out.size())
                return {TableFileStatus::WriteFailed, file.errorString()};
            out.clear();
        }
    }
    if (file.write(out) != out.size() || !file.flush())
        return {TableFileStatus::WriteFailed, file.errorString()};
    file.close();
    if (file.error() != QFileDevice::NoError)
        return {TableFileStatus::WriteFailed, file.errorString()};
    if (progress && !progress(content.rowCount, content.rowCount))
        return {TableFileStatus::Cancelled, {}};
    return {};
}
