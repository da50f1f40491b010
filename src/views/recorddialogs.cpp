#include "views/recorddialogs.h"

void CRecordDialogs::Register(RecordDialog dialog, Opener opener)
{
    if (opener)
        m_openers[dialog] = std::move(opener);
    else
        m_openers.erase(dialog);
}

void CRecordDialogs::Unregister(RecordDialog dialog)
{
    m_openers.erase(dialog);
}

bool CRecordDialogs::Has(RecordDialog dialog) const
{
    return m_openers.count(dialog) != 0;
}

bool CRecordDialogs::Open(const CRecordRequest& request, QWidget* parent) const
{
    const auto found = m_openers.find(request.dialog);
    if (found == m_openers.end())
        return false;
    // A copy: the dialog may register or unregister openers while it runs.
    const Opener opener = found->second;
    opener(request, parent);
    return true;
}
