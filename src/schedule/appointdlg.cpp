#include "schedule/appointdlg.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/formats.h"
#include "data/recordnumber.h"
#include "kit/clock.h"
#include "kit/columnwidths.h"
#include "kit/datepicker.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"
#include "kit/textlimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const char16_t kHelp[] =
    u"    请先选择客户，再选择联系人，之后会出现与该联系人的所有约会记录列表，此时"
    u"可以对约会记录进行添加、修改或删除的操作。 ";

struct ColumnSpec
{
    const char16_t* title;
    int width;
};

constexpr ColumnSpec kColumns[CAppointDlg::kColumnCount] = {
    {u"时间", 130}, {u"地点", 150}, {u"时长", 100}, {u"内容", 200}, {u"提醒", 80}, {u"", 0},
};

QString NoticeText(int notice)
{
    return notice != 0 ? u"是"_s : u"否"_s;
}

QString AppointmentStatement(int no)
{
    return u"SELECT * FROM appoint WHERE [no] = %1"_s.arg(no);
}

QLineEdit* NewTextEdit(const QString& objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(CAppointDlg::kMaxTextLength);
    return edit;
}

} // namespace

CAppointDlg::CAppointDlg(CADODatabase* database, const CClock& clock, QWidget* parent)
    : QDialog(parent), m_db(database)
{
    setObjectName(u"IDD_APPOINT"_s);
    setWindowTitle(u"约会记录"_s);
    BuildControls();

    const QDateTime now = clock.Now();
    m_date->setDateTime(now);
    m_time->setTime(now.time());
    m_help->setPlainText(QString::fromUtf16(kHelp));

    m_parties = new CClientContactBoxes(database, m_clientCombo, m_contactBox, true, this);
    // Every refill of the contact box ends with its first contact chosen, which lists that
    // contact's appointments; an emptied box leaves the list as it is.
    connect(m_contactBox, &QComboBox::currentIndexChanged, this, [this] { OnContactChanged(); });
    m_parties->Load();
}

void CAppointDlg::BuildControls()
{
    m_help = new QPlainTextEdit(this);
    m_help->setObjectName(u"help"_s);
    m_help->setReadOnly(true);
    m_help->setFocusPolicy(Qt::NoFocus);
    m_help->setFixedHeight(m_help->fontMetrics().height() * 3 + 14);

    m_clientCombo = new QComboBox(this);
    m_clientCombo->setObjectName(u"client"_s);
    m_clientCombo->setMinimumWidth(180);
    m_contactBox = new QComboBox(this);
    m_contactBox->setObjectName(u"linkman"_s);
    m_contactBox->setMinimumWidth(120);

    m_list = new QTableWidget(0, kColumnCount, this);
    m_list->setObjectName(u"list"_s);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setSectionsMovable(true);
    m_list->horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < kColumnCount; ++column) {
        m_list->setHorizontalHeaderItem(
            column, new QTableWidgetItem(QString::fromUtf16(kColumns[column].title)));
        m_list->setColumnWidth(column, kColumns[column].width);
    }
    m_list->setColumnHidden(kNumber, true);
    // A time such as "2026-12-10  0:40:00" shows whole.
    KeepColumnsFitted(*m_list);
    FitColumnsToContents(*m_list);
    m_list->setMinimumHeight(m_list->fontMetrics().height() * 10);
    connect(m_list, &QTableWidget::clicked, this, [this] { OnClickRow(); });

    m_date = NewDatePicker(u"date"_s, this);
    m_time = new QTimeEdit(this);
    m_time->setObjectName(u"time"_s);
    m_time->setDisplayFormat(u"H:mm:ss"_s);
    AllowSectionTyping(m_time);
    m_length = NewTextEdit(u"length"_s, this);
    m_place = NewTextEdit(u"place"_s, this);
    m_content = new QPlainTextEdit(this);
    m_content->setObjectName(u"content"_s);
    m_content->setTabChangesFocus(true);
    m_content->setMinimumHeight(m_content->fontMetrics().height() * 4 + 12);
    LimitPlainText(m_content, kMaxContentBytes);
    m_notice = new QCheckBox(u"定时提醒"_s, this);
    m_notice->setObjectName(u"notice"_s);

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto label = [this](const QString& text, QWidget* buddy) {
        auto* caption = new QLabel(text, this);
        caption->setBuddy(buddy);
        return caption;
    };
    grid->addWidget(label(u"客户："_s, m_clientCombo), 0, 0, Qt::AlignRight);
    grid->addWidget(m_clientCombo, 0, 1);
    grid->addWidget(label(u"联系人："_s, m_contactBox), 0, 2, Qt::AlignRight);
    grid->addWidget(m_contactBox, 0, 3);
    grid->addWidget(m_list, 1, 0, 1, 4);
    auto* when = new QHBoxLayout;
    when->addWidget(m_date);
    when->addWidget(m_time);
    grid->addWidget(label(u"时间："_s, m_date), 2, 0, Qt::AlignRight);
    grid->addLayout(when, 2, 1);
    grid->addWidget(label(u"时长："_s, m_length), 2, 2, Qt::AlignRight);
    grid->addWidget(m_length, 2, 3);
    grid->addWidget(label(u"地点："_s, m_place), 3, 0, Qt::AlignRight);
    grid->addWidget(m_place, 3, 1, 1, 2);
    grid->addWidget(m_notice, 3, 3);
    grid->addWidget(label(u"内容："_s, m_content), 4, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m_content, 4, 1, 1, 3);

    auto* add = NewDialogButton(u"添加"_s, u"IDC_ADD"_s, this);
    auto* modify = NewDialogButton(u"修改"_s, u"IDC_MODIFY"_s, this);
    auto* remove = NewDialogButton(u"删除"_s, u"IDC_DELETE"_s, this);
    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    connect(add, &QPushButton::clicked, this, &CAppointDlg::OnAdd);
    connect(modify, &QPushButton::clicked, this, &CAppointDlg::OnModify);
    connect(remove, &QPushButton::clicked, this, &CAppointDlg::OnDelete);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {add, modify, remove, close})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_help);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    setMinimumWidth(700);
}

QString CAppointDlg::HelpText() const
{
    return m_help->toPlainText();
}

void CAppointDlg::OnContactChanged()
{
    const QString contact = m_contactBox->currentText();
    if (contact.isEmpty())
        return;
    m_list->setRowCount(0);
    const CNameEntry* entry = FindNameEntry(Contacts(), contact);
    const int linkman = entry ? entry->m_nNo : -1;
    CADORecordset recordset(m_db);
    // The contact's appointments alone, through the index on `linkman`.
    OpenEachRow(recordset,
                u"SELECT * FROM appoint WHERE [linkman] = %1 ORDER BY time DESC"_s.arg(linkman),
                [&] {
                    QDateTime time;
                    QString place;
                    QString length;
                    QString content;
                    int notice = 0;
                    int no = 0;
                    recordset.GetFieldDate(u"time"_s, time);
                    recordset.GetFieldText(u"place"_s, place);
                    recordset.GetFieldText(u"length"_s, length);
                    recordset.GetFieldText(u"content"_s, content);
                    recordset.GetFieldInt(u"notice"_s, notice);
                    recordset.GetFieldInt(u"no"_s, no);
                    const int row = m_list->rowCount();
                    m_list->insertRow(row);
                    SetRowTexts(row, {FormatDateTime(time), place, length, content,
                                      NoticeText(notice), FormatNumber(no)});
                });
    m_nRemembered = -1;
}

void CAppointDlg::SetRowTexts(int row, const QStringList& texts)
{
    for (int column = 0; column < texts.size() && column < kColumnCount; ++column) {
        if (QTableWidgetItem* item = m_list->item(row, column)) {
            item->setText(texts[column]);
        } else {
            item = new QTableWidgetItem(texts[column]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_list->setItem(row, column, item);
        }
    }
}

QStringList CAppointDlg::ControlTexts() const
{
    return {FormatDateTime(ChosenTime()), m_place->text(), m_length->text(),
            m_content->toPlainText(), NoticeText(m_notice->isChecked() ? 1 : 0)};
}

QDateTime CAppointDlg::ChosenTime() const
{
    const QTime time = m_time->time();
    return QDateTime(m_date->date(), QTime(time.hour(), time.minute(), time.second()));
}

void CAppointDlg::OnClickRow()
{
    const QList<QTableWidgetSelectionRange> ranges = m_list->selectedRanges();
    if (ranges.isEmpty()) {
        m_nRemembered = -1;
        return;
    }
    m_nRemembered = ranges.first().topRow();
    LoadAppointment(RowNumber(m_nRemembered));
}

int CAppointDlg::RowNumber(int row) const
{
    const QTableWidgetItem* item = m_list->item(row, kNumber);
    return item ? item->text().toInt() : 0;
}

bool CAppointDlg::LoadAppointment(int no)
{
    CADORecordset recordset(m_db);
    if (!recordset.Open(AppointmentStatement(no)) || recordset.GetRecordCount() < 1)
        return false;
    recordset.MoveFirst();
    QDateTime time;
    QString text;
    int notice = 0;
    recordset.GetFieldDate(u"time"_s, time);
    m_date->setDate(time.date());
    m_time->setTime(time.time());
    recordset.GetFieldText(u"length"_s, text);
    m_length->setText(text);
    recordset.GetFieldText(u"place"_s, text);
    m_place->setText(text);
    recordset.GetFieldText(u"content"_s, text);
    m_content->setPlainText(text);
    recordset.GetFieldInt(u"notice"_s, notice);
    m_notice->setChecked(notice != 0);
    return true;
}

bool CAppointDlg::ChosenContact(int& linkman)
{
    const QString contact = m_contactBox->currentText();
    if (contact.isEmpty()) {
        Warn(this, u"你还没有选择联系人！"_s);
        return false;
    }
    const CNameEntry* entry = FindNameEntry(Contacts(), contact);
    if (!entry || entry->m_nNo == -1) {
        Warn(this, u"此联系人不存在！"_s);
        return false;
    }
    linkman = entry->m_nNo;
    return true;
}

bool CAppointDlg::RememberedNumber(int& no, const QString& none)
{
    // After a delete the remembered place may lie past the last row: it names no appointment.
    if (m_nRemembered < 0 || m_nRemembered >= m_list->rowCount()) {
        Warn(this, none);
        return false;
    }
    no = RowNumber(m_nRemembered);
    return true;
}

bool CAppointDlg::WriteFields(CADORecordset& recordset, int linkman) const
{
    return recordset.SetFieldDate(u"time"_s, ChosenTime()) &&
           recordset.SetFieldText(u"length"_s, m_length->text()) &&
           recordset.SetFieldText(u"place"_s, m_place->text()) &&
           recordset.SetFieldText(u"content"_s, m_content->toPlainText()) &&
           recordset.SetFieldInt(u"notice"_s, m_notice->isChecked() ? 1 : 0) &&
           recordset.SetFieldInt(u"linkman"_s, linkman);
}

void CAppointDlg::OnAdd()
{
    int linkman = -1;
    if (!ChosenContact(linkman))
        return;
    CADORecordset recordset(m_db);
    const TakenNumber taken = TakeRecordNumber(recordset, RecordKind::Appoint);
    if (!taken.Ok()) {
        Warn(this, taken.failure);
        return;
    }
    // The new row alone: the statement selects no appointment yet.
    bool added = recordset.Open(AppointmentStatement(taken.number)) && recordset.AddNew() &&
                 WriteFields(recordset, linkman) && recordset.SetFieldInt(u"no"_s, taken.number) &&
                 recordset.Update();
    if (!added) {
        recordset.CancelUpdate();
        // Without a row in the list nothing else would tell the user the add failed.
        Warn(this, u"无法添加新记录！"_s);
        return;
    }
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    SetRowTexts(row, ControlTexts() << FormatNumber(taken.number));
}

void CAppointDlg::OnModify()
{
    int no = 0;
    int linkman = -1;
    if (!RememberedNumber(no, u"您还没有选择要修改的记录！"_s) || !ChosenContact(linkman))
        return;
    CADORecordset recordset(m_db);
    if (!recordset.Open(AppointmentStatement(no))) {
        Warn(this, u"修改失败！"_s);
        return;
    }
    if (recordset.GetRecordCount() < 1) {
        Warn(this, u"没有找到要修改的记录！"_s);
        return;
    }
    recordset.MoveFirst();
    recordset.Edit();
    if (!WriteFields(recordset, linkman) || !recordset.Update()) {
        recordset.CancelUpdate();
        Warn(this, u"修改失败！"_s);
        return;
    }
    m_modified.insert(no);
    SetRowTexts(m_nRemembered, ControlTexts());
    Inform(this, u"修改成功！"_s);
}

void CAppointDlg::OnDelete()
{
    int no = 0;
    if (!RememberedNumber(no, u"您还没有选择要删除的记录！"_s))
        return;
    CADORecordset recordset(m_db);
    if (!recordset.Open(AppointmentStatement(no))) {
        Warn(this, u"删除失败！"_s);
        return;
    }
    if (recordset.GetRecordCount() < 1) {
        Warn(this, u"没有找到要删除的记录！"_s);
        return;
    }
    recordset.MoveFirst();
    if (!recordset.Delete()) {
        Warn(this, u"删除失败！"_s);
        return;
    }
    m_deleted.insert(no);
    m_modified.erase(no);
    m_list->removeRow(m_nRemembered);
    // The remembered place stays. The row that moved into it is shown chosen, with its values
    // in the controls, so that the next 修改 or 删除 acts on what the user sees.
    if (m_nRemembered < m_list->rowCount()) {
        m_list->selectRow(m_nRemembered);
        LoadAppointment(RowNumber(m_nRemembered));
    } else {
        m_list->clearSelection();
    }
}

bool CAppointDlg::SelectAppointment(int no)
{
    int linkman = -1;
    int client = -1;
    {
        CADORecordset recordset(m_db);
        if (!recordset.Open(AppointmentStatement(no)) || recordset.GetRecordCount() < 1)
            return false;
        recordset.MoveFirst();
        recordset.GetFieldInt(u"linkman"_s, linkman);
        if (!recordset.Open(u"SELECT * FROM linkman WHERE [no] = %1"_s.arg(linkman)) ||
            recordset.GetRecordCount() < 1)
            return false;
        recordset.MoveFirst();
        recordset.GetFieldInt(u"client"_s, client);
    }
    const auto owner =
        std::find_if(Clients().begin(), Clients().end(),
                     [client](const CNameEntry& entry) { return entry.m_nNo == client; });
    if (owner == Clients().end() || !m_parties->SelectClient(owner->m_strName))
        return false;
    const auto contact =
        std::find_if(Contacts().begin(), Contacts().end(),
                     [linkman](const CNameEntry& entry) { return entry.m_nNo == linkman; });
    if (contact == Contacts().end())
        return false;
    m_contactBox->setCurrentIndex(m_contactBox->findText(contact->m_strName));
    for (int row = 0; row < m_list->rowCount(); ++row) {
        if (RowNumber(row) == no) {
            m_list->selectRow(row);
            m_list->scrollToItem(m_list->item(row, 0));
            m_nRemembered = row;
            return LoadAppointment(no);
        }
    }
    return false;
}
