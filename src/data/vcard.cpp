#include "data/vcard.h"

#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kFoldOctets = 75;

bool EqualsAscii(QByteArrayView bytes, QByteArrayView upper)
{
    return bytes.size() == upper.size() && bytes.compare(upper, Qt::CaseInsensitive) == 0;
}

bool ContainsAscii(QByteArrayView bytes, QByteArrayView upper)
{
    if (upper.size() > bytes.size())
        return false;
    for (qsizetype i = 0; i + upper.size() <= bytes.size(); ++i)
        if (EqualsAscii(bytes.sliced(i, upper.size()), upper))
            return true;
    return false;
}

bool IsNameByte(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray QuotedPrintable(QByteArrayView bytes)
{
    QByteArray decoded;
    decoded.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '=' && i + 2 < bytes.size()) {
            const int high = HexDigit(bytes[i + 1]);
            const int low = HexDigit(bytes[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded += char(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += bytes[i];
    }
    return decoded;
}

// A 4.0 parameter value's circumflex escapes (^n, ^^, ^').
QString Circumflexed(const QString& value)
{
    if (!value.contains(u'^'))
        return value;
    QString plain;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'^' && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            if (next == u'n' || next == u'N') {
                plain += u'\n';
                ++i;
                continue;
            }
            if (next == u'^' || next == u'\'') {
                plain += next == u'^' ? u'^' : u'"';
                ++i;
                continue;
            }
        }
        plain += value[i];
    }
    return plain;
}

// Splits at unescaped separators (none when `separator` is 0) and resolves the escapes of each
// part. An unknown escape keeps its backslash: 2.1 cards hold plain backslashes.
QStringList SplitEscaped(QStringView value, char16_t separator)
{
    QStringList parts;
    QString part;
    qsizetype from = 0; // the start of the stretch not yet copied into `part`
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            QChar plain;
            if (next == u'n' || next == u'N')
                plain = u'\n';
            else if (next == u'\\' || next == u',' || next == u';' || next == u':')
                plain = next;
            else
                continue;
            part += value.sliced(from, i - from);
            part += plain;
            from = ++i + 1;
        } else if (separator && c == separator) {
            part += value.sliced(from, i - from);
            parts << part;
            part.clear();
            from = i + 1;
        }
    }
    part += value.sliced(from);
    parts << part;
    return parts;
}

// Character-set decoders made once per file, reset for each value.
class Decoders
{
public:
    explicit Decoders(QByteArray fallback) : m_fallback(std::move(fallback)) {}

    // Null when the program knows no such character set.
    QStringDecoder* For(QByteArrayView charset)
    {
        const QByteArray name = charset.isEmpty() ? m_fallback : charset.toByteArray().toUpper();
        for (auto& [known, decoder] : m_decoders)
            if (known == name)
                return decoder.get();
        auto decoder =
            std::make_unique<QStringDecoder>(name.constData(), QStringDecoder::Flag::Stateless);
        QStringDecoder* made = decoder->isValid() ? decoder.get() : nullptr;
        if (made)
            m_decoders.emplace_back(name, std::move(decoder));
        return made;
    }

private:
    QByteArray m_fallback;
    std::vector<std::pair<QByteArray, std::unique_ptr<QStringDecoder>>> m_decoders;
};

std::optional<QString> Decode(QStringDecoder& decoder, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    decoder.resetState();
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Whether the bytes are text in that character set throughout; decoded a piece at a time
// into one buffer, so a large file is not held twice.
bool ReadsAs(const char* charset, QByteArrayView bytes)
{
    QStringDecoder decoder(charset);
    if (!decoder.isValid())
        return false;
    constexpr qsizetype kPiece = 1 << 16;
    std::vector<QChar> buffer(size_t(decoder.requiredSpace(kPiece)));
    for (qsizetype from = 0; from < bytes.size() && !decoder.hasError(); from += kPiece)
        decoder.appendToBuffer(buffer.data(),
                               bytes.sliced(from, std::min(kPiece, bytes.size() - from)));
    return !decoder.hasError();
}

// The names and parameter values most cards use, shared rather than made for each line.
QString Interned(QByteArrayView bytes, bool upper)
{
    static const QString kKnown[] = {
        u"BEGIN"_s,    u"END"_s,        u"VERSION"_s,  u"FN"_s,       u"N"_s,
        u"TEL"_s,      u"EMAIL"_s,      u"ADR"_s,      u"ORG"_s,      u"TITLE"_s,
        u"NOTE"_s,     u"BDAY"_s,       u"URL"_s,      u"PHOTO"_s,    u"GENDER"_s,
        u"X-GENDER"_s, u"X-QQ"_s,       u"X-MSN"_s,    u"HOBBY"_s,    u"X-HOBBY"_s,
        u"IMPP"_s,     u"CATEGORIES"_s, u"UID"_s,      u"REV"_s,      u"TYPE"_s,
        u"VALUE"_s,    u"CHARSET"_s,    u"ENCODING"_s, u"PREF"_s,     u"LABEL"_s,
        u"CELL"_s,     u"HOME"_s,       u"WORK"_s,     u"VOICE"_s,    u"FAX"_s,
        u"INTERNET"_s, u"X-PAS"_s,      u"TEXT"_s,     u"UTF-8"_s,    u"QUOTED-PRINTABLE"_s,
        u"cell"_s,     u"home"_s,       u"work"_s,     u"voice"_s,    u"fax"_s,
        u"x-pas"_s,    u"text"_s,       u"pref"_s,     u"internet"_s,
    };
    for (const QString& known : kKnown) {
        if (known.size() != bytes.size())
            continue;
        bool same = true;
        for (qsizetype i = 0; same && i < bytes.size(); ++i) {
            const char c =
                upper && bytes[i] >= 'a' && bytes[i] <= 'z' ? char(bytes[i] - 32) : bytes[i];
            same = known[i] == QLatin1Char(c);
        }
        if (same)
            return known;
    }
    const QString text = QString::fromUtf8(bytes);
    return upper ? text.toUpper() : text;
}

// Reads the logical lines of a file into cards.
class CardReader
{
public:
    CardReader(VCardReadResult& result, QByteArray fallback, const VCardVisitor& visit)
        : m_result(result), m_decoders(std::move(fallback)), m_visit(visit)
    {
    }

    void Line(QByteArrayView line, int number);
    void Finish();
    // 2.1 folds keep the blank that starts a continued line.
    bool KeepsFoldingBlank() const { return m_inCard && m_card.version == u"2.1"_s; }

private:
    void StartCard(int line);
    void Fail(VCardProblem problem, int line);
    void EndCard();
    bool Property(QByteArrayView line, int number);

    VCardReadResult& m_result;
    Decoders m_decoders;
    const VCardVisitor& m_visit;
    bool m_inCard = false;
    int m_cards = 0;
    VCard m_card;
    std::optional<VCardSkip> m_problem;
};

void CardReader::StartCard(int line)
{
    m_inCard = true;
    m_card = VCard();
    m_card.index = ++m_cards;
    m_card.line = line;
    m_problem.reset();
}

void CardReader::Fail(VCardProblem problem, int line)
{
    if (!m_problem)
        m_problem = VCardSkip{m_card.index, m_card.line, problem, line};
}

void CardReader::EndCard()
{
    if (m_problem)
        m_result.skipped.push_back(*m_problem);
    else
        m_visit(std::move(m_card));
    m_inCard = false;
    m_card = VCard();
    m_problem.reset();
}

void CardReader::Finish()
{
    if (m_inCard) {
        m_problem.reset();
        Fail(VCardProblem::Truncated, m_card.line);
        EndCard();
    }
}

void CardReader::Line(QByteArrayView line, int number)
{
    if (line.trimmed().isEmpty())
        return;
    qsizetype colon = line.indexOf(':');
    const QByteArrayView head = colon < 0 ? line : line.first(colon);
    const bool begin = colon >= 0 && EqualsAscii(head.trimmed(), "BEGIN") &&
                       EqualsAscii(line.sliced(colon + 1).trimmed(), "VCARD");
    if (begin) {
        m_result.isVCard = true;
        if (m_inCard) {
            // The card before never ended: it is cut off where this one begins.
            m_problem.reset();
            Fail(VCardProblem::Truncated, number);
            EndCard();
        }
        StartCard(number);
        return;
    }
    if (!m_inCard)
        return; // text between cards belongs to none
    if (colon >= 0 && EqualsAscii(head.trimmed(), "END") &&
        EqualsAscii(line.sliced(colon + 1).trimmed(), "VCARD")) {
        EndCard();
        return;
    }
    if (colon >= 0 && EqualsAscii(head.trimmed(), "VERSION")) {
        m_card.version = QString::fromLatin1(line.sliced(colon + 1).trimmed());
        return;
    }
    if (!m_problem && !Property(line, number))
        Fail(VCardProblem::BadLine, number);
}

bool CardReader::Property(QByteArrayView line, int number)
{
    qsizetype i = 0;
    while (i < line.size() && IsNameByte(line[i]))
        ++i;
    if (i == 0 || i == line.size() || (line[i] != ';' && line[i] != ':'))
        return false;
    VCardProperty property;
    const QByteArrayView fullName = line.first(i);
    if (const qsizetype dot = fullName.lastIndexOf('.'); dot >= 0) {
        property.group = QString::fromLatin1(fullName.first(dot));
        property.name = Interned(fullName.sliced(dot + 1), true);
    } else {
        property.name = Interned(fullName, true);
    }
    if (property.name.isEmpty())
        return false;

    QByteArray charset;
    bool quotedPrintable = false;
    const bool circumflex = m_card.version == u"4.0"_s;
    while (line[i] == ';') {
        ++i;
        // One parameter, up to the next ; or : outside quotation marks.
        const qsizetype start = i;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ';' && line[i] != ':'))) {
            if (line[i] == '"')
                quoted = !quoted;
            ++i;
        }
        if (i == line.size())
            return false;
        const QByteArrayView text = line.sliced(start, i - start);
        if (text.trimmed().isEmpty())
            continue;
        const qsizetype equals = text.indexOf('=');
        QString name;
        QByteArrayView values;
        if (equals < 0) {
            const QByteArrayView bare = text.trimmed();
            const bool encoding = EqualsAscii(bare, "QUOTED-PRINTABLE") ||
                                  EqualsAscii(bare, "BASE64") || EqualsAscii(bare, "8BIT") ||
                                  EqualsAscii(bare, "7BIT");
            name = encoding ? u"ENCODING"_s : u"TYPE"_s;
            values = bare;
        } else {
            name = Interned(text.first(equals).trimmed(), true);
            values = text.sliced(equals + 1);
        }
        QStringList list;
        // Values between commas outside quotation marks, the marks removed.
        qsizetype from = 0;
        bool inQuotes = false;
        auto take = [&](qsizetype to) {
            const QByteArrayView value = values.sliced(from, to - from);
            if (value.contains('"')) {
                QByteArray plain = value.toByteArray();
                plain.replace("\"", "");
                list << Interned(plain, false);
            } else {
                list << Interned(value, false);
            }
            from = to + 1;
        };
        for (qsizetype c = 0; c < values.size(); ++c) {
            if (values[c] == '"')
                inQuotes = !inQuotes;
            else if (values[c] == ',' && !inQuotes)
                take(c);
        }
        take(values.size());
        if (circumflex)
            for (QString& v : list)
                v = Circumflexed(v);
        if (name == u"CHARSET"_s && !list.isEmpty())
            charset = list.constFirst().toLatin1();
        if (name == u"ENCODING"_s) {
            for (const QString& v : list) {
                if (v.compare(u"QUOTED-PRINTABLE"_s, Qt::CaseInsensitive) == 0)
                    quotedPrintable = true;
                else if (v.compare(u"BASE64"_s, Qt::CaseInsensitive) == 0 ||
                         v.compare(u"B"_s, Qt::CaseInsensitive) == 0)
                    property.binary = true;
            }
        }
        auto known = std::find_if(property.parameters.begin(), property.parameters.end(),
                                  [&](const auto& p) { return p.first == name; });
        if (known == property.parameters.end())
            property.parameters.emplace_back(name, list);
        else
            known->second << list;
    }
    ++i; // the colon
    if (!property.binary) {
        const QByteArrayView raw = line.sliced(i);
        QByteArray decoded;
        if (quotedPrintable)
            decoded = QuotedPrintable(raw);
        const QByteArrayView bytes = quotedPrintable ? QByteArrayView(decoded) : raw;
        QStringDecoder* decoder = m_decoders.For(charset);
        if (!decoder) {
            Fail(VCardProblem::BadCharset, number);
            return true;
        }
        std::optional<QString> text = Decode(*decoder, bytes);
        if (!text) {
            Fail(VCardProblem::BadEncoding, number);
            return true;
        }
        property.value = std::move(*text);
    }
    m_card.properties.push_back(std::move(property));
    return true;
}

// The logical line being gathered from physical lines, and what decides whether the next
// physical line continues it.
struct PendingLine
{
    int number = 0;
    // Of the part before the first colon: checked once per logical line.
    std::optional<bool> quotedPrintable;
    std::optional<bool> base64;

    // Most logical lines are one physical line, seen where it lies; a continued one is copied.
    QByteArrayView Text() const { return m_owned ? QByteArrayView(m_buffer) : m_view; }
    bool Head(QByteArrayView upper, std::optional<bool>& cache) const
    {
        if (!cache) {
            const QByteArrayView text = Text();
            const qsizetype colon = text.indexOf(':');
            cache = colon >= 0 && ContainsAscii(text.first(colon), upper);
        }
        return *cache;
    }
    void Reset(QByteArrayView line, int lineNumber)
    {
        m_view = line;
        m_owned = false;
        number = lineNumber;
        quotedPrintable.reset();
        base64.reset();
    }
    void Append(QByteArrayView more)
    {
        if (!m_owned) {
            m_buffer = m_view.toByteArray();
            m_owned = true;
        }
        m_buffer += more;
    }
    void ChopOne()
    {
        if (m_owned)
            m_buffer.chop(1);
        else
            m_view.chop(1);
    }

private:
    QByteArrayView m_view;
    QByteArray m_buffer;
    bool m_owned = false;
};

} // namespace

QStringList VCardProperty::Parameter(QStringView name) const
{
    QStringList values;
    for (const auto& [key, list] : parameters)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            values << list;
    return values;
}

bool VCardProperty::HasType(QStringView type) const
{
    for (const auto& [key, list] : parameters)
        if (key == u"TYPE"_s)
            for (const QString& value : list) {
                // TYPE="work,voice" is two types, as 4.0 writes them.
                qsizetype start = 0;
                while (start <= value.size()) {
                    qsizetype end = value.indexOf(u',', start);
                    if (end < 0)
                        end = value.size();
                    const QStringView one = QStringView(value).sliced(start, end - start);
                    if (one.trimmed().compare(type, Qt::CaseInsensitive) == 0)
                        return true;
                    start = end + 1;
                }
            }
    return false;
}

QString VCardProperty::Text() const
{
    if (!value.contains(u'\\'))
        return value;
    return SplitEscaped(value, 0).constFirst();
}

QStringList VCardProperty::Components() const
{
    return SplitEscaped(value, u';');
}

QStringList VCardProperty::Values() const
{
    return SplitEscaped(value, u',');
}

const VCardProperty* VCard::Find(QStringView name) const
{
    for (const VCardProperty& property : properties)
        if (property.name == name)
            return &property;
    return nullptr;
}

VCardReadResult ReadVCards(QByteArrayView bytes)
{
    std::vector<VCard> cards;
    VCardReadResult result =
        ReadVCards(bytes, [&cards](VCard&& card) { cards.push_back(std::move(card)); });
    result.cards = std::move(cards);
    return result;
}

VCardReadResult ReadVCards(QByteArrayView bytes, const VCardVisitor& visit)
{
    VCardReadResult result;
    QByteArray converted;
    QByteArray fallback = "UTF-8";
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        converted = QString(utf16.decode(bytes.sliced(2))).toUtf8();
        bytes = converted;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    if (!ReadsAs("UTF-8", bytes) && ReadsAs("GBK", bytes))
        fallback = "GBK";

    CardReader reader(result, fallback, visit);
    PendingLine pending;
    bool havePending = false;
    int number = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        start = end + 1;
        ++number;

        if (havePending) {
            // A quoted-printable soft line break: the value goes on as it stands.
            if (pending.Text().endsWith('=') &&
                pending.Head("QUOTED-PRINTABLE", pending.quotedPrintable)) {
                pending.ChopOne();
                pending.Append(line);
                continue;
            }
            if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t')) {
                pending.Append(reader.KeepsFoldingBlank() ? line : line.sliced(1));
                continue;
            }
            // 2.1 BASE64 data runs on over unindented lines up to a blank one.
            if (!line.isEmpty() && !line.contains(':') && pending.Head("BASE64", pending.base64)) {
                pending.Append(line);
                continue;
            }
            reader.Line(pending.Text(), pending.number);
        }
        pending.Reset(line, number);
        havePending = true;
    }
    if (havePending)
        reader.Line(pending.Text(), pending.number);
    reader.Finish();
    return result;
}

QString EscapeVCardText(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\\':
            escaped += u"\\\\"_s;
            break;
        case u',':
            escaped += u"\\,"_s;
            break;
        case u';':
            escaped += u"\\;"_s;
            break;
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            escaped += u"\\n"_s;
            break;
        case u'\n':
            escaped += u"\\n"_s;
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

void VCardWriter::Begin()
{
    AddLine("BEGIN:VCARD");
    AddLine(m_version == VCardVersion::V4 ? "VERSION:4.0" : "VERSION:3.0");
}

void VCardWriter::End()
{
    AddLine("END:VCARD");
}

void VCardWriter::Add(const char* name, const QStringList& parameters, QStringView value)
{
    QByteArray line(name);
    for (const QString& parameter : parameters)
        line += ';' + parameter.toUtf8();
    line += ':';
    line += value.toUtf8();
    AddLine(line);
}

void VCardWriter::AddText(const char* name, const QStringList& parameters, QStringView text)
{
    Add(name, parameters, EscapeVCardText(text));
}

void VCardWriter::AddComponents(const char* name, const QStringList& parameters,
                                const QStringList& components)
{
    QString value;
    for (qsizetype i = 0; i < components.size(); ++i) {
        if (i > 0)
            value += u';';
        value += EscapeVCardText(components[i]);
    }
    Add(name, parameters, value);
}

// Folds at 75 octets, the continuation's leading blank counted, never inside a character's
// UTF-8 bytes nor between a backslash and the character it escapes.
void VCardWriter::AddLine(const QByteArray& line)
{
    qsizetype start = 0;
    bool first = true;
    while (true) {
        const qsizetype room = first ? kFoldOctets : kFoldOctets - 1;
        if (line.size() - start <= room) {
            if (!first)
                m_bytes += ' ';
            m_bytes += QByteArrayView(line).sliced(start);
            m_bytes += "\r\n";
            return;
        }
        qsizetype cut = start + room;
        while (cut > start + 1 && (uchar(line[cut]) & 0xC0) == 0x80)
            --cut;
        qsizetype backslashes = 0;
        while (cut - backslashes - 1 >= start && line[cut - backslashes - 1] == '\\')
            ++backslashes;
        if (backslashes % 2 == 1 && cut - 1 > start)
            --cut;
        if (!first)
            m_bytes += ' ';
        m_bytes += QByteArrayView(line).sliced(start, cut - start);
        m_bytes += "\r\n";
        start = cut;
        first = false;
    }
}
