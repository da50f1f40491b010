#include "trade/orderclient.h"

#include "kit/completionindex.h"

namespace {

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
    const QString folded = FoldAsciiCase(text);
    Candidate equal;
    Candidate beginning;
    for (const CNameEntry& client : clients) {
        const QString& name = client.m_strName;
        if (name == text)
            return name;
        if (name.size() < text.size() || FoldAsciiCase(name.first(text.size())) != folded)
            continue;
        if (name.size() == text.size())
            equal.Offer(name);
        else
            beginning.Offer(name);
    }
    return equal.name.isNull() ? beginning.Chosen() : equal.Chosen();
}
