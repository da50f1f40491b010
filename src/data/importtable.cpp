#include "data/importtable.h"

#include "data/gbktext.h"
#include "data/importfailures.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

// More text than this is not a list of clients: refused before it is decoded.
constexpr qint64 kMaxCsvBytes = 512LL * 1024 * 1024;

// A row ends at its last cell with text.
void TrimRow(QStringList& row)
{
    while (!row.isEmpty() && row.constLast().isEmpty())
        row.removeLast();
}

} // namespace

QString DecodeCsvText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
        return decoder.decode(QByteArrayView(bytes).sliced(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Excel on a Chinese system saves CSV in the code page.
    return FromGbk(bytes);
}

QChar CsvSeparator(QStringView text)
{
    int commas = 0;
    int semicolons = 0;
    int tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u'\t')
            ++tabs;
    }
    if (tabs > commas && tabs >= semicolons)
        return u'\t';
    if (semicolons > commas)
        return u';';
    return u',';
}

ImportTableResult ReadCsvTable(const QByteArray& bytes, ImportTable& table, int maxRows)
{
    table.rows.clear();
    // Text has no NUL characters; UTF-16 text is decoded before this test.
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16 && bytes.contains('\0'))
        return ImportFailure(ImportTableStatus::NotText,
                             u"文件不是文本格式的 CSV 文件，无法导入。请在 Excel 中“另存为”CSV 或 "
                             "xlsx 文件后再导入。"_s);
    const QString text = DecodeCsvText(bytes);
    const QChar separator = CsvSeparator(text);

    QStringList row;
    QString field;
    bool quoted = false;   // inside a quoted field
    bool anyField = false; // the record has begun
    auto endField = [&] {
        row.append(field);
        field.clear();
        anyField = true;
    };
    // False once the rows are too many.
    auto endRecord = [&]() -> bool {
        if (anyField)
            endField();
        TrimRow(row);
        if (!row.isEmpty()) {
            if (int(table.rows.size()) > maxRows)
                return false;
            table.rows.push_back(std::move(row));
        }
        row = QStringList();
        anyField = false;
        return true;
    };
    auto append = [&](QChar c) {
        if (field.size() <= kImportMaxCellLength)
            field.append(c);
    };

    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"') {
                append(c);
            } else if (i + 1 < size && text[i + 1] == u'"') {
                append(c);
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            anyField = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
                ++i;
            if (!endRecord()) {
                table.rows.clear();
                return TooManyRowsFailure(maxRows);
            }
        } else {
            append(c);
            anyField = true;
        }
    }
    if (!endRecord()) {
        table.rows.clear();
        return TooManyRowsFailure(maxRows);
    }
    if (int(table.rows.size()) > maxRows + 1) {
        table.rows.clear();
        return TooManyRowsFailure(maxRows);
    }
    if (table.rows.empty())
        return NoDataFailure();
    return {};
}

ImportTableResult ReadImportTable(const QString& path, ImportTable& table, int maxRows)
{
    table.rows.clear();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx"_s)
        return ReadXlsxTable(path, table, maxRows);
    if (suffix != u"csv"_s)
        return ImportFailure(ImportTableStatus::UnknownKind,
                             u"只能导入 Excel 工作簿（.xlsx）或 CSV 文件（.csv）。"_s);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CannotOpenFailure(path, file.errorString());
    if (file.size() > kMaxCsvBytes)
        return TooLargeFailure();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ImportFailure(ImportTableStatus::CannotOpen,
                             u"无法读取文件“%1”：%2"_s.arg(path, file.errorString()));
    if (bytes.startsWith("PK\x03\x04"))
        return ImportFailure(
            ImportTableStatus::NotText,
            u"文件“%1”不是 CSV 文本文件，而是一个压缩文件（可能是 xlsx 工作簿），无法"
            "按 CSV 导入。"_s.arg(QFileInfo(path).fileName()));
    return ReadCsvTable(bytes, table, maxRows);
}

bool IsDateFormat(int numFmtId, const QString& formatCode)
{
    if ((numFmtId >= 14 && numFmtId <= 22) || (numFmtId >= 27 && numFmtId <= 36) ||
        (numFmtId >= 45 && numFmtId <= 47) || (numFmtId >= 50 && numFmtId <= 58))
        return true;
    if (numFmtId < 164)
        return false;
    bool quoted = false;
    bool bracket = false;
    for (qsizetype i = 0; i < formatCode.size(); ++i) {
        const QChar c = formatCode[i];
        if (quoted) {
            quoted = c != u'"';
            continue;
        }
        if (bracket) {
            // [h], [mm], [ss]: elapsed time; [Red], [$-804]: not.
            const QChar lower = c.toLower();
            if (lower == u'h' || lower == u'm' || lower == u's')
                if (i > 0 && formatCode[i - 1] == u'[')
                    return true;
            bracket = c != u']';
            continue;
        }
        if (c == u'"') {
            quoted = true;
        } else if (c == u'[') {
            bracket = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // the next character is shown as it is, or is padding
        } else {
            const QChar lower = c.toLower();
            if (lower == u'y' || lower == u'm' || lower == u'd' || lower == u'h' || lower == u's')
                return true;
        }
    }
    return false;
}
