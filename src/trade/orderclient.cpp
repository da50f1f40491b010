#include "trade/orderclient.h"

#include <QStringView>

namespace {

char16_t FoldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

bool SameFoldingAscii(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i].unicode()) != FoldAscii(b[i].unicode()))
            return false;
    return true;
}

// The one name of a kind found so far; `several` once two different names were found.
struct Candidate
{
    QString name;
    bool several = false;

    void Offer(const QString& found)
    {
        if (name.isNull())
            name = found;
        else if (name != found)
            several = true;
    }
    QString Chosen() const { return several ? QString() : name; }
};

} // namespace

QString OrderClientName(const CNameEntries& clients, const QString& text)
{
    if (text.isEmpty())
        return {};
    Candidate equal;
    Candidate beginning;
    for (const CNameEntry& client : clients) {
        const QString& name = client.m_strName;
        if (name == text)
            return name;
        if (name.size() < text.size())
            continue;
        if (name.size() == text.size()) {
            if (SameFoldingAscii(name, text))
                equal.Offer(name);
        } else if (SameFoldingAscii(QStringView(name).first(text.size()), text)) {
            beginning.Offer(name);
        }
    }
    return equal.name.isNull() ? beginning.Chosen() : equal.Chosen();
}
