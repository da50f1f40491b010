#include "data/recordnumber.h"

#include "data/adodatabase.h"
#include "data/adorecordset.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

struct KindMessages
{
    const char16_t* column;
    const char16_t* openFailed;
    const char16_t* noRow;
    const char16_t* updateFailed;
    const char16_t* noNumber;
};

// What the file itself refuses: said instead of the kind's message, which blames the counter.
const char16_t* FileRefusal(vantrel::db::ErrorKind kind)
{
    switch (kind) {
    case vantrel::db::ErrorKind::Busy:
        return u"数据文件正被其他程序锁定，无法保存，请稍后再试！";
    case vantrel::db::ErrorKind::ReadOnly:
    case vantrel::db::ErrorKind::CantOpen: // the journal cannot be made beside the file
        return u"数据文件或它所在的文件夹是只读的，无法保存！";
    default:
        return nullptr;
    }
}

const KindMessages& MessagesOf(RecordKind kind)
{
    static const KindMessages messages[] = {
        {u"client", u"无法获取客户编号！", u"客户编号格式错误！", u"客户编号无法更新！",
         u"客户编号获取错误！"},
        {u"linkman", u"无法获取联系人编号！", u"联系人编号格式错误！", u"联系人编号无法更新！",
         u"联系人编号无法获取！"},
        {u"appoint", u"无法获取约会编号！", u"约会编号格式错误！", u"约会编号无法更新！",
         u"约会记录编号错误！"},
        {u"inputdata", u"无法获取采购编号！", u"采购编号格式错误！", u"采购编号无法更新！",
         u"采购编号获取错误，无法保存！"},
        {u"outputdata", u"无法获取销售编号！", u"销售编号格式错误！", u"销售编号无法更新！",
         u"销售编号获取错误，无法保存！"},
        {u"inputdetail", u"无法获取采购/销售编号！", u"采购/销售编号格式错误！",
         u"采购/销售编号无法更新！", u"采购明细编号无法获取！"},
        {u"outputdetail", u"无法获取采购/销售编号！", u"采购/销售编号格式错误！",
         u"采购/销售编号无法更新！", u"销售明细编号无法获取！"},
    };
    return messages[static_cast<int>(kind)];
}

} // namespace

QString CounterColumn(RecordKind kind)
{
    return QString::fromUtf16(MessagesOf(kind).column);
}

namespace {

// Reads the counter and writes it back `count` further, inside the transaction held; on
// failure the transaction is left to the caller.
TakenNumber TakeNumbers(CADORecordset& recordset, RecordKind kind, int count)
{
    const KindMessages& messages = MessagesOf(kind);
    TakenNumber taken;
    auto fail = [&](const char16_t* message,
                    vantrel::db::ErrorKind kind = vantrel::db::ErrorKind::None,
                    const QString& reason = {}) {
        recordset.Close();
        const char16_t* refusal = FileRefusal(kind);
        taken.failure = kind == vantrel::db::ErrorKind::ConnectionLost
                            ? vantrel::db::ConnectionLostText(reason)
                            : QString::fromUtf16(refusal ? refusal : message);
        return taken;
    };
    int n = -1;
    if (!recordset.Open(u"SELECT * FROM snnumber"_s))
        return fail(messages.openFailed, recordset.GetLastErrorKind(),
                    recordset.GetLastErrorDescription());
    if (recordset.GetRecordCount() < 1)
        return fail(messages.noRow);
    recordset.MoveFirst();
    if (!recordset.GetFieldInt(CounterColumn(kind), n))
        n = -1;
    if (count < 1 || n > std::numeric_limits<int>::max() - count) // no number beyond the last
        return fail(messages.updateFailed);
    recordset.Edit();
    recordset.SetFieldInt(CounterColumn(kind), n + count);
    if (!recordset.Update())
        return fail(messages.updateFailed, recordset.GetLastErrorKind(),
                    recordset.GetLastErrorDescription());
    recordset.Close();
    taken.number = n;
    return taken;
}

} // namespace

TakenNumber TakeRecordNumbersInTransaction(CADORecordset& recordset, RecordKind kind, int count)
{
    TakenNumber taken = TakeNumbers(recordset, kind, count);
    if (taken.Ok() && taken.number == -1)
        taken.failure = QString::fromUtf16(MessagesOf(kind).noNumber);
    return taken;
}

TakenNumber TakeRecordNumber(CADORecordset& recordset, RecordKind kind)
{
    const KindMessages& messages = MessagesOf(kind);
    CADODatabase* database = recordset.Database();
    auto fail = [&](const char16_t* message, vantrel::db::ErrorKind kind, const QString& reason) {
        recordset.Close();
        TakenNumber taken;
        const char16_t* refusal = FileRefusal(kind);
        taken.failure = kind == vantrel::db::ErrorKind::ConnectionLost
                            ? vantrel::db::ConnectionLostText(reason)
                            : QString::fromUtf16(refusal ? refusal : message);
        return taken;
    };
    // One workstation at a time between reading the counter and writing it back.
    if (!database)
        return fail(messages.openFailed, vantrel::db::ErrorKind::None, {});
    if (!database->BeginTransaction())
        return fail(messages.openFailed, database->GetLastErrorKind(),
                    database->GetLastErrorDescription());
    TakenNumber taken = TakeNumbers(recordset, kind, 1);
    if (!taken.Ok()) {
        database->RollbackTransaction();
        return taken;
    }
    if (!database->CommitTransaction()) {
        const vantrel::db::ErrorKind kind = database->GetLastErrorKind();
        const QString reason = database->GetLastErrorDescription();
        database->RollbackTransaction();
        return fail(messages.updateFailed, kind, reason);
    }
    if (taken.number == -1)
        taken.failure = QString::fromUtf16(messages.noNumber);
    return taken;
}
