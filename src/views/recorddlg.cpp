#include "views/recorddlg.h"

#include "data/adorecordset.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"
#include "views/listlayout.h"
#include "views/recorddialogs.h"
#include "views/recordfields.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString kChangedElsewhere = u"此记录已被其他用户修改，请关闭后重新打开。"_s;

} // namespace

CRecordDlg::CRecordDlg(CADODatabase* database, const QString& table, std::optional<RecordKind> kind,
                       const RecordSaveTexts& texts, QWidget* parent)
    : QDialog(parent), m_db(database), m_strTable(table), m_kind(kind), m_texts(texts),
      m_ok(new QPushButton(u"添加"_s, this))
{
    m_ok->setObjectName(u"IDOK"_s);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOK(); });
}

void CRecordDlg::SetRequestMembers(const CRecordRequest& request)
{
    m_bModify = request.modify ? 1 : 0;
    m_nNo = request.no;
    m_nItem = request.item;
    if (request.modify && !request.storedRow.isEmpty())
        m_storedRow = request.storedRow;
}

QHBoxLayout* CRecordDlg::NewButtonRow()
{
    m_continuous = new QCheckBox(u"连续添加"_s, this);
    m_continuous->setObjectName(u"IDC_CONTINUOUS"_s);
    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_continuous);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(close);
    return buttons;
}

QHBoxLayout* CRecordDlg::NewConfirmButtonRow()
{
    m_ok->setText(u"确定"_s);
    auto* cancel = NewDialogButton(u"取消"_s, u"IDCANCEL"_s, this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    return buttons;
}

void CRecordDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialised)
        InitDialog();
    QDialog::showEvent(event);
}

void CRecordDlg::InitDialog()
{
    m_bInitialised = true;
    // A modify saves one record and closes; so does a dialog without "连续添加".
    if (m_bModify || !m_continuous)
        m_bContinuous = false;
    if (m_bModify && m_continuous)
        m_continuous->setEnabled(false);
    if (m_bModify && !m_storedRow)
        ReadStoredRow();
    OnInitDialog();
    if (m_continuous)
        m_continuous->setChecked(m_bContinuous);
}

QString CRecordDlg::RecordSql() const
{
    return u"SELECT * FROM %1 WHERE [no] = %2"_s.arg(m_strTable).arg(m_nNo);
}

void CRecordDlg::ReadStoredRow()
{
    CADORecordset recordset(m_db);
    if (OpenFirstRow(recordset, RecordSql()))
        m_storedRow = StoredRowTexts(recordset);
}

bool CRecordDlg::ConfirmNoDuplicate(const QString& sql, const QString& question)
{
    CADORecordset recordset(m_db);
    if (!recordset.Open(sql) || recordset.GetRecordCount() < 1)
        return true;
    recordset.Close();
    return Ask(this, question, u"重复"_s);
}

bool CRecordDlg::TakeNumber(int& number)
{
    if (!m_kind) { // the file numbers the row when it is added
        number = -1;
        return true;
    }
    CADORecordset recordset(m_db);
    const TakenNumber taken = TakeRecordNumber(recordset, *m_kind);
    if (!taken.Ok()) {
        Warn(this, taken.failure);
        return false;
    }
    number = taken.number;
    return true;
}

bool CRecordDlg::BeginSave(CADORecordset& recordset, int& number)
{
    if (!m_bModify && m_kind && !TakeNumber(number))
        return false;
    return BeginSaveAs(recordset, number);
}

bool CRecordDlg::BeginSaveAs(CADORecordset& recordset, int& number)
{
    if (m_bModify) {
        number = m_nNo;
        if (!recordset.Open(RecordSql())) {
            WarnFailure(recordset, m_texts.modifyOpenFailed);
            return false;
        }
        if (recordset.GetRecordCount() < 1) {
            Warn(this, QString::fromUtf16(m_texts.modifyNotFound));
            return false;
        }
        recordset.MoveFirst();
        if (m_storedRow && StoredRowTexts(recordset) != *m_storedRow) {
            Warn(this, kChangedElsewhere);
            return false;
        }
        // A change another workstation makes between this read and the write stops the write.
        recordset.EditAsRead();
        return true;
    }
    if (m_kind && number == -1) {
        const char16_t* own = m_texts.noNumber ? m_texts.noNumber : m_texts.saveFailed;
        Warn(this, QString::fromUtf16(own));
        return false;
    }
    if (!recordset.Open(u"SELECT * FROM %1"_s.arg(m_strTable))) {
        WarnFailure(recordset, m_texts.addOpenFailed);
        return false;
    }
    if (!recordset.AddNew() && m_texts.addNewFailed) {
        Warn(this, QString::fromUtf16(m_texts.addNewFailed));
        return false;
    }
    if (!m_kind)
        return true;
    // Without its number the row cannot be written.
    if (!recordset.SetFieldInt(u"no"_s, number)) {
        recordset.CancelUpdate();
        Warn(this, QString::fromUtf16(m_texts.saveFailed));
        return false;
    }
    return true;
}

bool CRecordDlg::EndSave(CADORecordset& recordset, bool written)
{
    if (!written || !recordset.Update()) {
        const bool changed =
            written && m_bModify && recordset.GetLastErrorCode() == CADORecordset::kRowChangedError;
        recordset.CancelUpdate();
        if (changed)
            Warn(this, kChangedElsewhere);
        else
            WarnFailure(recordset, m_texts.saveFailed);
        return false;
    }
    // A dialog that stays open compares with what it wrote itself.
    if (m_bModify)
        m_storedRow = StoredRowTexts(recordset);
    return true;
}

void CRecordDlg::WarnFailure(const CADORecordset& recordset, const char16_t* own)
{
    if (recordset.GetLastErrorKind() == vantrel::db::ErrorKind::ConnectionLost)
        Warn(this, vantrel::db::ConnectionLostText(recordset.GetLastErrorDescription()));
    else
        Warn(this, QString::fromUtf16(own));
}

void CRecordDlg::Saved()
{
    Saved(u"新数据添加成功！"_s, u"记录修改成功！"_s);
}

void CRecordDlg::Saved(const QString& added, const QString& modified)
{
    Inform(this, m_bModify ? modified : added);
    m_bContinuous = m_continuous && m_continuous->isChecked();
    if (m_bModify || !m_bContinuous)
        accept();
}

void CRecordDlg::RewriteListRow(CRecordListModel& list, const ListLayout& layout,
                                const QVariantMap& values) const
{
    RewriteLayoutRow(list, m_nItem, m_nNo, layout, values);
}
