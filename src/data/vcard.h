#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <utility>
#include <vector>

// Electronic business cards (.vcf): the 3.0 and 4.0 cards that address books exchange today,
// and the 2.1 cards older phones write. Reading takes any number of cards from one file and
// says which could not be read and why; writing makes UTF-8 cards with lines folded at 75
// octets, as both versions want.

// One content line after unfolding: [group.]NAME;PARAM=VALUE,...:value.
struct VCardProperty
{
    QString group; // "item1" of "item1.TEL"; empty when none
    QString name;  // upper case
    // By upper-case name, the values as written without quotes. A 2.1 parameter without a
    // name is a TYPE value, or the ENCODING when it names one.
    std::vector<std::pair<QString, QStringList>> parameters;
    // The value decoded (quoted-printable, character set) and still escaped; empty for a
    // BASE64 value, which no text field holds.
    QString value;
    bool binary = false;

    // The values of a parameter, comma lists split, in the order written.
    QStringList Parameter(QStringView name) const;
    // Whether a TYPE value is `type`, letter case aside.
    bool HasType(QStringView type) const;
    // The value as one text, escapes resolved.
    QString Text() const;
    // The parts between unescaped semicolons (N, ADR, ORG), each with its escapes resolved.
    QStringList Components() const;
    // The parts between unescaped commas (CATEGORIES), each with its escapes resolved.
    QStringList Values() const;
};

struct VCard
{
    int index = 0; // 1 for the first card of the file
    int line = 0;  // the line of its BEGIN:VCARD
    QString version;
    std::vector<VCardProperty> properties;

    // The first property of that name, null when none.
    const VCardProperty* Find(QStringView name) const;
};

// Why a card was not read.
enum class VCardProblem {
    Truncated,   // no END:VCARD before the next card or the end of the file
    BadLine,     // a line that is no content line
    BadCharset,  // a CHARSET the program does not know
    BadEncoding, // bytes that are no text in the card's character set
};

struct VCardSkip
{
    int index = 0; // the card's place in the file
    int line = 0;  // its BEGIN:VCARD line
    VCardProblem problem = VCardProblem::Truncated;
    int problemLine = 0; // where the problem is
};

struct VCardReadResult
{
    // False when the bytes hold no BEGIN:VCARD line at all: not a card file.
    bool isVCard = false;
    std::vector<VCard> cards;
    std::vector<VCardSkip> skipped;
};

// Reads every card of a file's bytes: UTF-8 (with or without a byte-order mark) or UTF-16
// with one; a file that is not UTF-8 but reads as GBK is taken as GBK, as Chinese phones of
// the 2.1 era wrote it. A card's CHARSET parameter overrides that.
VCardReadResult ReadVCards(QByteArrayView bytes);
// The same, handing each card to `visit` as soon as it is read instead of keeping it: a file of
// many cards is never held twice.
using VCardVisitor = std::function<void(VCard&&)>;
VCardReadResult ReadVCards(QByteArrayView bytes, const VCardVisitor& visit);

// Escapes a text for a value: backslash, comma, semicolon and line breaks.
QString EscapeVCardText(QStringView text);

enum class VCardVersion { V3, V4 };

// Writes cards into UTF-8 bytes:
//   VCardWriter writer(VCardVersion::V4);
//   writer.Begin();
//   writer.AddText("FN", {}, name);
//   writer.AddComponents("N", {}, {family, given, {}, {}, {}});
//   writer.End();
//   file.write(writer.Bytes());
class VCardWriter
{
public:
    explicit VCardWriter(VCardVersion version) : m_version(version) {}

    VCardVersion Version() const { return m_version; }
    // BEGIN:VCARD and VERSION.
    void Begin();
    void End();
    // A property whose value is written as given (escaped already). `parameters` are
    // written as they are, each after a semicolon: "TYPE=work".
    void Add(const char* name, const QStringList& parameters, QStringView value);
    void AddText(const char* name, const QStringList& parameters, QStringView text);
    void AddComponents(const char* name, const QStringList& parameters,
                       const QStringList& components);
    const QByteArray& Bytes() const { return m_bytes; }

private:
    void AddLine(const QByteArray& line);

    VCardVersion m_version;
    QByteArray m_bytes;
};
