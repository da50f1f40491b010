#include "data/postgres/pgplaceholders.h"

namespace vantrel::postgres {

NumberedText NumberPlaceholders(const QString& sql)
{
    NumberedText out;
    const QByteArray text = sql.toUtf8();
    out.sql.reserve(text.size() + 16);
    const qsizetype n = text.size();
    qsizetype i = 0;
    // Copies up to and including the next `close`, or to the end.
    auto copyThrough = [&](char close) {
        out.sql += text[i++];
        while (i < n) {
            const char c = text[i++];
            out.sql += c;
            if (c == close) {
                if (i < n && text[i] == close) { // doubled: the character itself
                    out.sql += text[i++];
                    continue;
                }
                return;
            }
        }
    };
    while (i < n) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            out.runs = true;
            copyThrough(c);
        } else if (c == '-' && i + 1 < n && text[i + 1] == '-') {
            while (i < n && text[i] != '\n')
                out.sql += text[i++];
        } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            const qsizetype end = text.indexOf("*/", i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            out.sql += text.mid(i, stop - i);
            i = stop;
        } else if (c == '?') {
            out.runs = true;
            out.sql += '$' + QByteArray::number(++out.parameters);
            ++i;
        } else {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != ';')
                out.runs = true;
            out.sql += c;
            ++i;
        }
    }
    return out;
}

} // namespace vantrel::postgres
