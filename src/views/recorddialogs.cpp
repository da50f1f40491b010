#include "views/recorddialogs.h"

void CRecordDialogs::Register(RecordDialog dialog, Opener opener)
{
    if (opener)
        m_openers.insert_or_assign(std::string(dialog), std::move(opener));
    else
        Unregister(dialog);
}

void CRecordDialogs::Unregister(RecordDialog dialog)
{
    if (const auto found = m_openers.find(dialog); found != m_openers.end())
        m_openers.erase(found);
}

bool CRecordDialogs::Has(RecordDialog dialog) const
{
    return m_openers.find(dialog) != m_openers.end();
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
