#include "data/jetsql.h"

#include "data/pinyin.h"
#include "data/sqltext.h"

#include <QStringList>

#include <initializer_list>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
using vantrel::db::Dialect;

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
    return SqlIdentifier(name.toString());
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

// #2024-3-5 9:7:0#, #2024-3-5#, #2024-3-5 0:00:00#: false for anything else.
bool ReadJetDate(QStringView literal, QDate& date, QTime& time)
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
                return false;
            numbers[count] = numbers[count] * 10 + c.digitValue();
            if (++digits > 4)
                return false;
        } else if (c == u'-' || c == u':' || c == u' ' || c == u'/') {
            if (digits > 0) {
                ++count;
                digits = 0;
            }
        } else {
            return false;
        }
    }
    if (digits > 0)
        ++count;
    date = QDate(numbers[0], numbers[1], numbers[2]);
    time = QTime(numbers[3], numbers[4], numbers[5]);
    return (count == 3 || count == 5 || count == 6) && date.isValid() && time.isValid();
}

// A Jet date as the backend's literal; anything else is left for the database to reject.
QString TranslateDate(QStringView literal, const Dialect& dialect)
{
    QDate date;
    QTime time;
    return ReadJetDate(literal, date, time) ? dialect.DateLiteral(date, time) : literal.toString();
}

void Emit(const Token& token, const Dialect& dialect, QString& out)
{
    switch (token.kind) {
    case TokenKind::Bracket:
        out += dialect.FoldsNames() ? TranslateBracket(token.text).toLower()
                                    : TranslateBracket(token.text);
        break;
    case TokenKind::Quoted:
        out += dialect.FoldsNames() ? token.text.toString().toLower() : token.text.toString();
        break;
    case TokenKind::Date:
        out += TranslateDate(token.text, dialect);
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

constexpr size_t kNoToken = size_t(-1);

size_t PreviousMeaningful(const std::vector<Token>& tokens, size_t i)
{
    while (i > 0) {
        --i;
        if (tokens[i].kind != TokenKind::Space)
            return i;
    }
    return kNoToken;
}

size_t NextMeaningfulFrom(const std::vector<Token>& tokens, size_t i)
{
    while (i < tokens.size() && tokens[i].kind == TokenKind::Space)
        ++i;
    return i < tokens.size() ? i : kNoToken;
}

bool IsAnyWord(const Token& token, std::initializer_list<QStringView> words)
{
    if (token.kind != TokenKind::Word)
        return false;
    for (QStringView word : words)
        if (IsWord(token, word))
            return true;
    return false;
}

// Words that stand for values whose letter case cannot matter.
bool IsValueWord(const Token& token)
{
    return IsAnyWord(token, {u"NULL", u"TRUE", u"FALSE", u"CURRENT_DATE", u"CURRENT_TIME",
                             u"CURRENT_TIMESTAMP"});
}

bool IsKeyword(const Token& token)
{
    return IsValueWord(token) ||
           IsAnyWord(token, {u"AND",      u"OR",    u"NOT",     u"CASE",    u"WHEN",   u"THEN",
                             u"ELSE",     u"END",   u"EXISTS",  u"SELECT",  u"CAST",   u"IN",
                             u"IS",       u"LIKE",  u"BETWEEN", u"COLLATE", u"ESCAPE", u"GLOB",
                             u"DISTINCT", u"ALL",   u"FROM",    u"WHERE",   u"ON",     u"AS",
                             u"ORDER",    u"GROUP", u"BY",      u"HAVING",  u"LIMIT",  u"UNION",
                             u"JOIN",     u"INNER", u"LEFT",    u"RIGHT",   u"CROSS",  u"NATURAL"});
}

bool IsColumnToken(const Token& token)
{
    return (IsName(token) && !IsKeyword(token)) || token.kind == TokenKind::Bracket ||
           token.kind == TokenKind::Quoted;
}

// What may stand right before an operand of a comparison.
bool OpensOperand(const Token& token)
{
    return IsPunct(token, u'(') || IsPunct(token, u',') ||
           IsAnyWord(token, {u"WHERE", u"AND", u"OR", u"NOT", u"ON", u"HAVING", u"WHEN", u"THEN",
                             u"ELSE", u"SELECT", u"DISTINCT"});
}

// What may stand right after an operand of a comparison.
bool ClosesOperand(const Token& token)
{
    return IsPunct(token, u')') || IsPunct(token, u',') || IsPunct(token, u';') ||
           IsAnyWord(token, {u"AND",    u"OR",        u"ORDER", u"GROUP", u"HAVING", u"LIMIT",
                             u"OFFSET", u"WHEN",      u"THEN",  u"ELSE",  u"END",    u"UNION",
                             u"EXCEPT", u"INTERSECT", u"INNER", u"LEFT",  u"RIGHT",  u"FULL",
                             u"CROSS",  u"NATURAL",   u"JOIN",  u"WHERE", u"FROM",   u"AS"});
}

bool IsClosedString(const Token& token)
{
    return token.kind == TokenKind::String && token.text.size() >= 2 && token.text.endsWith(u'\'');
}

// One side of a comparison: a column, a text value, another value (a number, a date, NULL, a
// value bound by the caller), or anything else.
struct Operand
{
    enum Kind { Column, Text, Other, Complex } kind = Complex;
    size_t first = 0;
    size_t last = 0;
};

Operand LeftOperand(const std::vector<Token>& tokens, size_t end)
{
    Operand operand;
    if (end == kNoToken)
        return operand;
    const Token& token = tokens[end];
    operand.first = operand.last = end;
    if (IsClosedString(token)) {
        operand.kind = Operand::Text;
    } else if (token.kind == TokenKind::Number || token.kind == TokenKind::Date ||
               IsValueWord(token)) {
        operand.kind = Operand::Other;
    } else if (IsColumnToken(token)) {
        operand.kind = Operand::Column;
        const size_t dot = PreviousMeaningful(tokens, end);
        if (dot != kNoToken && IsPunct(tokens[dot], u'.')) {
            const size_t table = PreviousMeaningful(tokens, dot);
            if (table == kNoToken || !IsColumnToken(tokens[table]))
                return {};
            operand.first = table;
        }
    } else {
        return operand;
    }
    const size_t before = PreviousMeaningful(tokens, operand.first);
    if (before != kNoToken && !OpensOperand(tokens[before]))
        return {};
    return operand;
}

Operand RightOperand(const std::vector<Token>& tokens, size_t start)
{
    Operand operand;
    if (start == kNoToken)
        return operand;
    const Token& token = tokens[start];
    operand.first = operand.last = start;
    const size_t next = NextMeaningfulFrom(tokens, start + 1);
    if (IsClosedString(token)) {
        operand.kind = Operand::Text;
    } else if (token.kind == TokenKind::Number || token.kind == TokenKind::Date ||
               IsValueWord(token) || IsPunct(token, u'?')) {
        operand.kind = Operand::Other;
    } else if ((IsPunct(token, u'-') || IsPunct(token, u'+')) && next != kNoToken &&
               tokens[next].kind == TokenKind::Number) {
        operand.kind = Operand::Other;
        operand.last = next;
    } else if (IsColumnToken(token)) {
        if (next != kNoToken && IsPunct(tokens[next], u'('))
            return {}; // a function
        operand.kind = Operand::Column;
        if (next != kNoToken && IsPunct(tokens[next], u'.')) {
            const size_t column = NextMeaningfulFrom(tokens, next + 1);
            if (column == kNoToken || !IsColumnToken(tokens[column]))
                return {};
            operand.last = column;
        }
    } else {
        return operand;
    }
    const size_t after = NextMeaningfulFrom(tokens, operand.last + 1);
    if (after != kNoToken && !ClosesOperand(tokens[after]))
        return {};
    return operand;
}

// Whether the right side of a comparison, from `start` to where the comparison ends, names a
// collation of its own.
bool NamesCollation(const std::vector<Token>& tokens, size_t start)
{
    int depth = 0;
    for (size_t i = start; i < tokens.size() && i != kNoToken; ++i) {
        const Token& token = tokens[i];
        if (IsPunct(token, u'('))
            ++depth;
        else if (IsPunct(token, u')') && --depth < 0)
            return false;
        else if (depth == 0 && i != start && ClosesOperand(token))
            return false;
        else if (IsWord(token, u"COLLATE"))
            return true;
    }
    return false;
}

QString UnquotedName(const Token& token)
{
    if (token.kind == TokenKind::Bracket || token.kind == TokenKind::Quoted)
        return TableName(token);
    return token.text.toString();
}

// Whether a column operand names a column that never holds text: by its table when it is
// qualified with one, else wherever the name occurs.
bool HoldsNoText(const std::vector<Token>& tokens, const Operand& operand,
                 const QSet<QString>& nonTextColumns)
{
    if (operand.kind != Operand::Column)
        return false;
    QString table;
    QString column = UnquotedName(tokens[operand.last]).toLower();
    if (operand.first != operand.last) {
        table = UnquotedName(tokens[operand.first]).toLower();
    } else if (tokens[operand.first].kind == TokenKind::Bracket && column.contains(u'.')) {
        table = column.section(u'.', -2, -2); // [table.column]
        column = column.section(u'.', -1);
    }
    if (column == u"rowid"_s || column == u"oid"_s || column == u"_rowid_"_s)
        return true;
    return nonTextColumns.contains(column) ||
           (!table.isEmpty() && nonTextColumns.contains(table + u'.' + column));
}

// ASCII letters only, as the NOCASE collation folds them.
QString FoldAscii(QStringView text, bool upper)
{
    QString folded = text.toString();
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (upper && u >= u'a' && u <= u'z')
            c = QChar(char16_t(u - u'a' + u'A'));
        else if (!upper && u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u - u'A' + u'a'));
    }
    return folded;
}

enum CaseMark : quint8 {
    kOpenBefore = 1,   // "(" before the token
    kCollateAfter = 2, // " COLLATE NOCASE" after it
    kRangeAfter = 4,   // the token is a text compared with a column: see below
    kLikeAfter = 8,    // the token ends the pattern of a LIKE: the dialect's escape after it
};

// How the comparisons of a statement are made blind to letter case, per token.
struct CaseMarks
{
    std::vector<quint8> marks;
    // For kRangeAfter: the column, as written out, that the text is compared with.
    std::vector<std::pair<size_t, QString>> rangeColumns;

    quint8 At(size_t i) const { return marks.empty() ? 0 : marks[i]; }
    void Set(size_t i, quint8 mark, size_t count)
    {
        if (marks.empty())
            marks.assign(count, 0);
        marks[i] |= mark;
    }
    QString RangeColumn(size_t i) const
    {
        for (const auto& [token, column] : rangeColumns)
            if (token == i)
                return column;
        return {};
    }
};

// Finds the =, ==, <>, != and IN comparisons that may compare text and marks them, and marks
// the end of each simple LIKE pattern:
// - "column = 'text'" becomes "(column = 'text' COLLATE NOCASE AND column BETWEEN 'TEXT' AND
//   'text')". Every spelling of the text lies between its upper- and lower-case forms in byte
//   order, so the range lets an index on the column find the candidates that the case-blind
//   test then checks; a text without ASCII letters is an exact look-up;
// - other comparisons get COLLATE NOCASE after their right operand (when it is a simple one,
//   else after their left), and IN after its left operand;
// - a comparison with a number, a date, NULL, a bound ?, or a column that never holds text is
//   left alone, so that it keeps using its index; so is one whose operands are both
//   expressions, and one that names its own collation.
CaseMarks MarkTextComparisons(const std::vector<Token>& tokens, const QSet<QString>& nonTextColumns,
                              const Dialect& dialect)
{
    CaseMarks result;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        const bool nextIsEqual = i + 1 < tokens.size() && IsPunct(tokens[i + 1], u'=');
        size_t opEnd = i;
        bool equality = false;
        if (IsPunct(token, u'=')) {
            const bool partOfOther =
                i > 0 && (IsPunct(tokens[i - 1], u'<') || IsPunct(tokens[i - 1], u'>') ||
                          IsPunct(tokens[i - 1], u'!') || IsPunct(tokens[i - 1], u'='));
            if (partOfOther)
                continue;
            equality = true;
            opEnd = nextIsEqual ? i + 1 : i;
        } else if ((IsPunct(token, u'<') && i + 1 < tokens.size() &&
                    IsPunct(tokens[i + 1], u'>')) ||
                   (IsPunct(token, u'!') && nextIsEqual)) {
            opEnd = i + 1;
        } else if (IsWord(token, u"LIKE")) {
            const Operand pattern = RightOperand(tokens, NextMeaningfulFrom(tokens, i + 1));
            if (pattern.kind != Operand::Complex) // one that names its ESCAPE is complex
                result.Set(pattern.last, kLikeAfter, tokens.size());
            continue;
        } else if (IsWord(token, u"IN")) {
            size_t end = PreviousMeaningful(tokens, i);
            if (end != kNoToken && IsWord(tokens[end], u"NOT"))
                end = PreviousMeaningful(tokens, end);
            const Operand left = LeftOperand(tokens, end);
            if ((left.kind != Operand::Column && left.kind != Operand::Text) ||
                HoldsNoText(tokens, left, nonTextColumns))
                continue;
            // A list of numbers and dates only compares no text.
            const size_t open = NextMeaningfulFrom(tokens, i + 1);
            if (open != kNoToken && IsPunct(tokens[open], u'(')) {
                bool onlyOther = true;
                size_t k = open + 1;
                for (; k < tokens.size() && !IsPunct(tokens[k], u')'); ++k) {
                    const Token& item = tokens[k];
                    onlyOther = onlyOther &&
                                (item.kind == TokenKind::Space || item.kind == TokenKind::Number ||
                                 item.kind == TokenKind::Date || IsValueWord(item) ||
                                 IsPunct(item, u',') || IsPunct(item, u'-') || IsPunct(item, u'+'));
                }
                if (onlyOther)
                    continue;
            }
            result.Set(left.last, kCollateAfter, tokens.size());
            continue;
        } else {
            continue;
        }
        const Operand left = LeftOperand(tokens, PreviousMeaningful(tokens, i));
        const size_t rightStart = NextMeaningfulFrom(tokens, opEnd + 1);
        const Operand right = RightOperand(tokens, rightStart);
        if (left.kind == Operand::Other || right.kind == Operand::Other ||
            HoldsNoText(tokens, left, nonTextColumns) ||
            HoldsNoText(tokens, right, nonTextColumns) ||
            (rightStart != kNoToken && NamesCollation(tokens, rightStart)))
            continue;
        if (equality && left.kind == Operand::Column && right.kind == Operand::Text &&
            dialect.NarrowsCaseBlindEquality()) {
            QString column;
            for (size_t k = left.first; k <= left.last; ++k)
                if (tokens[k].kind != TokenKind::Space)
                    Emit(tokens[k], dialect, column);
            result.Set(left.first, kOpenBefore, tokens.size());
            result.Set(right.last, kRangeAfter, tokens.size());
            result.rangeColumns.emplace_back(right.last, column);
        } else if (right.kind != Operand::Complex) {
            result.Set(right.last, kCollateAfter, tokens.size());
        } else if (left.kind != Operand::Complex) {
            result.Set(left.last, kCollateAfter, tokens.size());
        }
        i = opEnd;
    }
    return result;
}

// One ORDER BY term: a bare name (or table.name) is quoted, and the term sorts with the
// code-page collation unless it names its own or names a column that holds no text (in
// `queryTable`, the one table of the query, when it names no table itself).
QString TranslateOrderTerm(const std::vector<Token>& term, const QSet<QString>& nonTextColumns,
                           const QString& queryTable, const Dialect& dialect)
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
    }
    if ((bareName || qualifiedName) && dialect.FoldsNames()) {
        expression = expression.toLower();
    } else if (!bareName && !qualifiedName) {
        const Token* first = meaningful.front();
        const Token* last = meaningful.back();
        for (const Token* token = first; token <= last; ++token)
            Emit(*token, dialect, expression);
    }
    // The column the term names, with its table where the term or the query gives one.
    QString table;
    QString column;
    if (bareName) {
        column = meaningful[0]->text.toString();
    } else if (qualifiedName) {
        table = meaningful[0]->text.toString();
        column = meaningful[2]->text.toString();
    } else if (meaningful.size() == 1 && (meaningful[0]->kind == TokenKind::Bracket ||
                                          meaningful[0]->kind == TokenKind::Quoted)) {
        column = UnquotedName(*meaningful[0]);
        if (meaningful[0]->kind == TokenKind::Bracket && column.contains(u'.')) {
            table = column.section(u'.', -2, -2); // [table.column]
            column = column.section(u'.', -1);
        }
    }
    if (table.isEmpty())
        table = queryTable;
    column = column.toLower();
    const bool holdsText =
        column.isEmpty() ||
        !(nonTextColumns.contains(column) ||
          (!table.isEmpty() && nonTextColumns.contains(table.toLower() + u'.' + column)));
    if (!hasCollate && holdsText)
        expression = dialect.TextOrder(expression);
    return expression + direction +
           dialect.NullOrder(direction.trimmed().compare(u"DESC"_s, Qt::CaseInsensitive) == 0);
}

const Token* NextMeaningful(const std::vector<Token>& tokens, size_t& i)
{
    while (i < tokens.size() && tokens[i].kind == TokenKind::Space)
        ++i;
    return i < tokens.size() ? &tokens[i] : nullptr;
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
        QDate date;
        QTime time;
        if (!ReadJetDate(token.text, date, time))
            return false;
        parameter.kind = Parameter::Text;
        parameter.text = StoredDateTime(date, time);
        return true;
    }
    default:
        return false;
    }
}

// A + or - at `i` that signs the number after it, where an operand begins ("<> -1", "(-2",
// "IN (1, -3)"): the place of the number; kNoToken for a sign that adds or subtracts.
size_t SignedNumber(const std::vector<Token>& tokens, size_t i)
{
    if (!IsPunct(tokens[i], u'-') && !IsPunct(tokens[i], u'+'))
        return kNoToken;
    const size_t number = NextMeaningfulFrom(tokens, i + 1);
    if (number == kNoToken || tokens[number].kind != TokenKind::Number)
        return kNoToken;
    const size_t before = PreviousMeaningful(tokens, i);
    if (before == kNoToken)
        return number;
    const Token& previous = tokens[before];
    const bool operandBefore = IsPunct(previous, u')') || IsPunct(previous, u'?') ||
                               (previous.kind != TokenKind::Punct && !IsKeyword(previous)) ||
                               IsValueWord(previous) || IsWord(previous, u"END");
    return operandBefore ? kNoToken : number;
}

bool EndsWhereClause(const Token& token)
{
    return IsWord(token, u"ORDER") || IsWord(token, u"GROUP") || IsWord(token, u"HAVING") ||
           IsWord(token, u"LIMIT") || IsPunct(token, u';');
}

// pinyin_initials(expression) at `i`: the place of its closing parenthesis, kNoToken when the
// word is no such call.
size_t EndOfInitialsCall(const std::vector<Token>& tokens, size_t i)
{
    static const QString function = QString::fromLatin1(kInitialsFunction);
    if (!IsWord(tokens[i], function))
        return kNoToken;
    const size_t open = NextMeaningfulFrom(tokens, i + 1);
    if (open == kNoToken || !IsPunct(tokens[open], u'('))
        return kNoToken;
    int depth = 0;
    for (size_t k = open; k < tokens.size(); ++k) {
        depth += IsPunct(tokens[k], u'(') ? 1 : IsPunct(tokens[k], u')') ? -1 : 0;
        if (depth == 0)
            return k;
    }
    return kNoToken;
}

} // namespace

Translation Translate(const QString& jetSql, const Dialect& dialect,
                      const QSet<QString>& nonTextColumns)
{
    const std::vector<Token> tokens = Tokenize(jetSql);
    Translation result;
    size_t star = tokens.size();
    if (!FindUpdatableTable(tokens, star, result.updatableTable))
        star = tokens.size();

    const CaseMarks caseMarks = MarkTextComparisons(tokens, nonTextColumns, dialect);
    const QString caseBlind = dialect.CaseBlind();
    QString& out = result.sql;
    out.reserve(jetSql.size() + 64);
    bool inWhere = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (i == star) {
            out += dialect.RowIdentity() + u" AS "_s + QLatin1StringView(kRowIdColumn) + u", *"_s;
            continue;
        }
        if (IsWord(token, u"WHERE"))
            inWhere = true;
        else if (EndsWhereClause(token))
            inWhere = false;
        const quint8 mark = caseMarks.At(i);
        if (mark & kOpenBefore)
            out += u'(';
        if (const size_t close = EndOfInitialsCall(tokens, i); close != kNoToken) {
            const size_t open = NextMeaningfulFrom(tokens, i + 1);
            QString argument;
            for (size_t k = open + 1; k < close; ++k)
                Emit(tokens[k], dialect, argument);
            out += dialect.InitialsOf(argument.trimmed());
            if (caseMarks.At(close) & kCollateAfter)
                out += caseBlind;
            i = close;
            continue;
        }
        if (const size_t join = NextMeaningfulFrom(tokens, i + 1);
            IsWord(token, u"CROSS") && join != kNoToken && IsWord(tokens[join], u"JOIN")) {
            out += dialect.OrderedJoin();
            i = join;
            continue;
        }
        Parameter parameter;
        const size_t signedNumber = inWhere ? SignedNumber(tokens, i) : kNoToken;
        if (signedNumber != kNoToken && AsParameter(tokens[signedNumber], parameter)) {
            // The value takes its sign, so that a server that types the values by their place
            // is never asked to negate one it does not know yet.
            if (IsPunct(token, u'-')) {
                parameter.integer = -parameter.integer;
                parameter.real = -parameter.real;
            }
            out += u'?';
            result.parameters.push_back(std::move(parameter));
            if (caseMarks.At(signedNumber) & kCollateAfter)
                out += caseBlind;
            i = signedNumber;
            continue;
        }
        if (inWhere && AsParameter(token, parameter)) {
            out += u'?';
            const QString text = parameter.text;
            result.parameters.push_back(std::move(parameter));
            if (mark & kCollateAfter)
                out += caseBlind;
            if (mark & kLikeAfter)
                out += dialect.LikeEscape();
            if (mark & kRangeAfter) {
                out += caseBlind + u" AND "_s + caseMarks.RangeColumn(i) + u" BETWEEN ? AND ?)"_s;
                result.parameters.push_back({Parameter::Text, 0, 0.0, FoldAscii(text, true)});
                result.parameters.push_back({Parameter::Text, 0, 0.0, FoldAscii(text, false)});
            }
            continue;
        }
        size_t by = i + 1;
        const Token* byToken = IsWord(token, u"ORDER") ? NextMeaningful(tokens, by) : nullptr;
        if (!byToken || !IsWord(*byToken, u"BY")) {
            Emit(token, dialect, out);
            if (mark & kCollateAfter)
                out += caseBlind;
            if (mark & kLikeAfter)
                out += dialect.LikeEscape();
            if (mark & kRangeAfter) // a literal outside WHERE: its folded forms are literals too
                out += caseBlind + u" AND "_s + caseMarks.RangeColumn(i) + u" BETWEEN "_s +
                       FoldAscii(token.text, true) + u" AND "_s + FoldAscii(token.text, false) +
                       u')';
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
                terms << TranslateOrderTerm(term, nonTextColumns, result.updatableTable, dialect);
                term.clear();
                continue;
            }
            term.push_back(t);
        }
        terms << TranslateOrderTerm(term, nonTextColumns, result.updatableTable, dialect);
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

namespace {

char16_t Unit(QChar c)
{
    return c.unicode();
}

char16_t Unit(char c)
{
    return char16_t(uchar(c));
}

template <typename Text> bool ParseStoredText(Text text, QDate& date, QTime& time)
{
    auto number = [&](qsizetype from, qsizetype length, int& value) {
        value = 0;
        for (qsizetype i = from; i < from + length; ++i) {
            const char16_t c = Unit(text[i]);
            if (c < u'0' || c > u'9')
                return false;
            value = value * 10 + int(c - u'0');
        }
        return true;
    };
    if (text.size() != 10 && text.size() != 19)
        return false;
    int year, month, day, hour = 0, minute = 0, second = 0;
    if (!number(0, 4, year) || Unit(text[4]) != u'-' || !number(5, 2, month) ||
        Unit(text[7]) != u'-' || !number(8, 2, day))
        return false;
    if (text.size() == 19 &&
        (Unit(text[10]) != u' ' || !number(11, 2, hour) || Unit(text[13]) != u':' ||
         !number(14, 2, minute) || Unit(text[16]) != u':' || !number(17, 2, second)))
        return false;
    date = QDate(year, month, day);
    time = QTime(hour, minute, second);
    return date.isValid() && time.isValid();
}

} // namespace

bool ParseStoredDateTime(QStringView text, QDate& date, QTime& time)
{
    return ParseStoredText(text, date, time);
}

bool ParseStoredDateTime(QByteArrayView text, QDate& date, QTime& time)
{
    return ParseStoredText(text, date, time);
}

} // namespace jetsql
