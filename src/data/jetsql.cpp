#include "data/jetsql.h"

#include <QStringList>

#include <vector>

using namespace Qt::StringLiterals;

namespace jetsql {
namespace {

enum class TokenKind { Space, String, Quoted, Bracket, Date, Word, Number, Punct };

struct Token
{
    TokenKind kind;
    QStringView text;
};

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c.unicode() >= 0x80;
}

// Reads up to the closing character; a doubled closing character stays inside.
qsizetype EndOfQuoted(QStringView sql, qsizetype start, QChar close, bool doubling)
{
    qsizetype i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (doubling && i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

qsizetype EndOfNumber(QStringView sql, qsizetype i)
{
    auto digits = [&](qsizetype at) {
        while (at < sql.size() && sql[at].isDigit() && sql[at].unicode() < 0x80)
            ++at;
        return at;
    };
    qsizetype end = digits(i);
    if (end + 1 < sql.size() && sql[end] == u'.' && sql[end + 1].isDigit())
        end = digits(end + 1);
    if (end + 1 < sql.size() && (sql[end] == u'e' || sql[end] == u'E')) {
        qsizetype exponent = end + 1;
        if (exponent < sql.size() && (sql[exponent] == u'+' || sql[exponent] == u'-'))
            ++exponent;
        if (exponent < sql.size() && sql[exponent].isDigit())
            end = digits(exponent);
    }
    return end;
}

std::vector<Token> Tokenize(QStringView sql)
{
    std::vector<Token> tokens;
    tokens.reserve(static_cast<size_t>(sql.size() / 3));
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        qsizetype end = i + 1;
        TokenKind kind = TokenKind::Punct;
        if (c.isSpace()) {
            kind = TokenKind::Space;
            while (end < sql.size() && sql[end].isSpace())
                ++end;
        } else if (c == u'\'') {
            kind = TokenKind::String;
            end = EndOfQuoted(sql, i, u'\'', true);
        } else if (c == u'"') {
            kind = TokenKind::Quoted;
            end = EndOfQuoted(sql, i, u'"', true);
        } else if (c == u'[') {
            kind = TokenKind::Bracket;
            end = EndOfQuoted(sql, i, u']', false);
        } else if (c == u'#') {
            kind = TokenKind::Date;
            end = EndOfQuoted(sql, i, u'#', false);
        } else if (c.isDigit() && c.unicode() < 0x80) {
            kind = TokenKind::Number;
            end = EndOfNumber(sql, i);
            if (end < sql.size() && IsWordChar(sql[end])) { // a name that begins with digits
                kind = TokenKind::Word;
                while (end < sql.size() && IsWordChar(sql[end]))
                    ++end;
            }
        } else if (IsWordChar(c)) {
            kind = TokenKind::Word;
            while (end < sql.size() && IsWordChar(sql[end]))
                ++end;
        }
        tokens.push_back({kind, sql.mid(i, end - i)});
        i = end;
    }
    return tokens;
}

bool IsWord(const Token& token, QStringView word)
{
    return token.kind == TokenKind::Word && token.text.size() == word.size() &&
           token.text.compare(word, Qt::CaseInsensitive) == 0;
}

bool IsPunct(const Token& token, char16_t c)
{
    return token.kind == TokenKind::Punct && token.text.size() == 1 && token.text[0] == c;
}

QString QuoteIdentifier(QStringView name)
{
    QString quoted = name.toString();
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

// [table.column] is Jet's way to name a column of one table of a join.
QString TranslateBracket(QStringView bracket)
{
    QStringView inner = bracket.mid(1);
    if (inner.endsWith(u']'))
        inner.chop(1);
    QString out;
    for (QStringView part : inner.tokenize(u'.')) {
        if (!out.isEmpty())
            out += u'.';
        out += QuoteIdentifier(part);
    }
    return out.isEmpty() ? QuoteIdentifier(inner) : out;
}

// #2024-3-5 9:7:0#, #2024-3-5#, #2024-3-5 0:00:00# → '2024-03-05 09:07:00'.
QString TranslateDate(QStringView literal)
{
    QStringView inner = literal.mid(1);
    if (inner.endsWith(u'#'))
        inner.chop(1);
    inner = inner.trimmed();
    int numbers[6] = {0, 0, 0, 0, 0, 0};
    int count = 0;
    int digits = 0;
    for (QChar c : inner) {
        if (c.isDigit()) {
            if (count >= 6)
                return literal.toString();
            numbers[count] = numbers[count] * 10 + c.digitValue();
            if (++digits > 4)
                return literal.toString();
        } else if (c == u'-' || c == u':' || c == u' ' || c == u'/') {
            if (digits > 0) {
                ++count;
                digits = 0;
            }
        } else {
            return literal.toString();
        }
    }
    if (digits > 0)
        ++count;
    const QDate date(numbers[0], numbers[1], numbers[2]);
    const QTime time(numbers[3], numbers[4], numbers[5]);
    if ((count != 3 && count != 5 && count != 6) || !date.isValid() || !time.isValid())
        return literal.toString(); // left for SQLite to reject
    return u'\'' + StoredDateTime(date, time) + u'\'';
}

void Emit(const Token& token, QString& out)
{
    switch (token.kind) {
    case TokenKind::Bracket:
        out += TranslateBracket(token.text);
        break;
    case TokenKind::Date:
        out += TranslateDate(token.text);
        break;
    default:
        out += token.text;
        break;
    }
}

bool IsName(const Token& token)
{
    return token.kind == TokenKind::Word && !token.text.front().isDigit();
}

// One ORDER BY term: a bare name (or table.name) is quoted, and the term sorts with the
// code-page collation unless it names its own.
QString TranslateOrderTerm(const std::vector<Token>& term, const QSet<QString>& nonTextColumns)
{
    std::vector<const Token*> meaningful;
    for (const Token& token : term)
        if (token.kind != TokenKind::Space)
            meaningful.push_back(&token);
    if (meaningful.empty())
        return {};
    QString direction;
    // A lone ASC or DESC is no direction of anything; SQLite is left to judge the term.
    if (meaningful.size() > 1 &&
        (IsWord(*meaningful.back(), u"ASC") || IsWord(*meaningful.back(), u"DESC"))) {
        direction = u' ' + meaningful.back()->text.toString();
        meaningful.pop_back();
    }
    bool hasCollate = false;
    for (const Token* token : meaningful)
        hasCollate = hasCollate || IsWord(*token, u"COLLATE");

    QString expression;
    const bool bareName = meaningful.size() == 1 && IsName(*meaningful[0]);
    const bool qualifiedName = meaningful.size() == 3 && IsName(*meaningful[0]) &&
                               IsPunct(*meaningful[1], u'.') && IsName(*meaningful[2]);
    if (bareName) {
        expression = QuoteIdentifier(meaningful[0]->text);
    } else if (qualifiedName) {
        expression =
            QuoteIdentifier(meaningful[0]->text) + u'.' + QuoteIdentifier(meaningful[2]->text);
    } else {
        const Token* first = meaningful.front();
        const Token* last = meaningful.back();
        for (const Token* token = first; token <= last; ++token)
            Emit(*token, expression);
    }
    const QStringView column = bareName        ? meaningful[0]->text
                               : qualifiedName ? meaningful[2]->text
                                               : QStringView();
    const bool holdsText =
        column.isEmpty() || !nonTextColumns.contains(column.toString().toLower());
    if (!hasCollate && holdsText)
        expression += u" COLLATE "_s + QLatin1StringView(kCollation);
    return expression + direction;
}

const Token* NextMeaningful(const std::vector<Token>& tokens, size_t& i)
{
    while (i < tokens.size() && tokens[i].kind == TokenKind::Space)
        ++i;
    return i < tokens.size() ? &tokens[i] : nullptr;
}

QString TableName(const Token& token)
{
    if (token.kind == TokenKind::Bracket) {
        QStringView inner = token.text.mid(1);
        if (inner.endsWith(u']'))
            inner.chop(1);
        return inner.toString();
    }
    if (token.kind == TokenKind::Quoted) {
        QString inner = token.text.mid(1, token.text.size() - 2).toString();
        return inner.replace(u"\"\""_s, u"\""_s);
    }
    return token.text.toString();
}

// "SELECT * FROM t [WHERE ...|ORDER BY ...]": returns the index of the '*' and the table.
bool FindUpdatableTable(const std::vector<Token>& tokens, size_t& star, QString& table)
{
    size_t i = 0;
    const Token* select = NextMeaningful(tokens, i);
    if (!select || !IsWord(*select, u"SELECT"))
        return false;
    ++i;
    const Token* all = NextMeaningful(tokens, i);
    if (!all || !IsPunct(*all, u'*'))
        return false;
    star = i++;
    const Token* from = NextMeaningful(tokens, i);
    if (!from || !IsWord(*from, u"FROM"))
        return false;
    ++i;
    const Token* name = NextMeaningful(tokens, i);
    if (!name || !(name->kind == TokenKind::Word || name->kind == TokenKind::Bracket ||
                   name->kind == TokenKind::Quoted))
        return false;
    ++i;
    const Token* after = NextMeaningful(tokens, i);
    if (after && !IsWord(*after, u"WHERE") && !IsWord(*after, u"ORDER") && !IsPunct(*after, u';'))
        return false;
    table = TableName(*name);
    return true;
}

// A literal of the WHERE clause as a parameter; false when it must stay in the text.
bool AsParameter(const Token& token, Parameter& parameter)
{
    switch (token.kind) {
    case TokenKind::Number: {
        bool whole = false;
        parameter.integer = token.text.toLongLong(&whole);
        if (whole) {
            parameter.kind = Parameter::Integer;
            return true;
        }
        bool real = false;
        parameter.real = token.text.toDouble(&real);
        parameter.kind = Parameter::Real;
        return real;
    }
    case TokenKind::String: {
        QStringView inner = token.text.mid(1);
        if (!inner.endsWith(u'\''))
            return false;
        inner.chop(1);
        parameter.kind = Parameter::Text;
        parameter.text = inner.toString().replace(u"''"_s, u"'"_s);
        return true;
    }
    case TokenKind::Date: {
        const QString literal = TranslateDate(token.text);
        if (!literal.startsWith(u'\''))
            return false;
        parameter.kind = Parameter::Text;
        parameter.text = literal.mid(1, literal.size() - 2);
        return true;
    }
    default:
        return false;
    }
}

bool EndsWhereClause(const Token& token)
{
    return IsWord(token, u"ORDER") || IsWord(token, u"GROUP") || IsWord(token, u"HAVING") ||
           IsWord(token, u"LIMIT") || IsPunct(token, u';');
}

} // namespace

Translation Translate(const QString& jetSql, const QSet<QString>& nonTextColumns)
{
    const std::vector<Token> tokens = Tokenize(jetSql);
    Translation result;
    size_t star = tokens.size();
    if (!FindUpdatableTable(tokens, star, result.updatableTable))
        star = tokens.size();

    QString& out = result.sql;
    out.reserve(jetSql.size() + 64);
    bool inWhere = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (i == star) {
            out += u"rowid AS "_s + QLatin1StringView(kRowIdColumn) + u", *"_s;
            continue;
        }
        if (IsWord(token, u"WHERE"))
            inWhere = true;
        else if (EndsWhereClause(token))
            inWhere = false;
        Parameter parameter;
        if (inWhere && AsParameter(token, parameter)) {
            out += u'?';
            result.parameters.push_back(std::move(parameter));
            continue;
        }
        size_t by = i + 1;
        const Token* byToken = IsWord(token, u"ORDER") ? NextMeaningful(tokens, by) : nullptr;
        if (!byToken || !IsWord(*byToken, u"BY")) {
            Emit(token, out);
            continue;
        }
        for (size_t k = i; k <= by; ++k)
            out += tokens[k].text;
        out += u' ';
        // Terms run to a closing parenthesis of an enclosing query, LIMIT or the end.
        size_t k = by + 1;
        int depth = 0;
        std::vector<Token> term;
        QStringList terms;
        for (; k < tokens.size(); ++k) {
            const Token& t = tokens[k];
            if (depth == 0 && (IsPunct(t, u')') || IsPunct(t, u';') || IsWord(t, u"LIMIT") ||
                               IsWord(t, u"OFFSET")))
                break;
            if (IsPunct(t, u'('))
                ++depth;
            if (IsPunct(t, u')'))
                --depth;
            if (depth == 0 && IsPunct(t, u',')) {
                terms << TranslateOrderTerm(term, nonTextColumns);
                term.clear();
                continue;
            }
            term.push_back(t);
        }
        terms << TranslateOrderTerm(term, nonTextColumns);
        out += terms.join(u", "_s);
        if (k < tokens.size() && !IsPunct(tokens[k], u')') && !IsPunct(tokens[k], u';'))
            out += u' ';
        i = k - 1;
    }
    if (star == tokens.size())
        result.updatableTable.clear();
    return result;
}

QString StoredDateTime(const QDate& date, const QTime& time)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

bool ParseStoredDateTime(QStringView text, QDate& date, QTime& time)
{
    auto number = [&](qsizetype from, qsizetype length, int& value) {
        value = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            if (!text[i].isDigit())
                return false;
            value = value * 10 + text[i].digitValue();
        }
        return true;
    };
    if (text.size() != 10 && text.size() != 19)
        return false;
    int year, month, day, hour = 0, minute = 0, second = 0;
    if (!number(0, 4, year) || text[4] != u'-' || !number(5, 2, month) || text[7] != u'-' ||
        !number(8, 2, day))
        return false;
    if (text.size() == 19 && (text[10] != u' ' || !number(11, 2, hour) || text[13] != u':' ||
                              !number(14, 2, minute) || text[16] != u':' || !number(17, 2, second)))
        return false;
    date = QDate(year, month, day);
    time = QTime(hour, minute, second);
    return date.isValid() && time.isValid();
}

} // namespace jetsql
