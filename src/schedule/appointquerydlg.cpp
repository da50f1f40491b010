#include "schedule/appointquerydlg.h"

#include "data/sqltext.h"
#include "kit/clock.h"
#include "kit/datepicker.h"
#include "kit/dialogbuttons.h"
#include "kit/focusdefaults.h"
#include "kit/messages.h"
#include "views/vantreldoc.h"

#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const char16_t kHelp[] =
    u"    请注意：如果您要按客户或按联系人查询，请先选择时间范围，再去选择指定的客户或"
    u"联系人。时间范围是所有查询的前提条件。";

} // namespace

CAppointQueryDlg::CAppointQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent)
    : QDialog(parent), m_doc(doc)
{
    setObjectName(u"IDD_QUERYAPPOINT"_s);
    setWindowTitle(u"约会记录分类查询"_s);
    BuildControls();

    const QDateTime now = clock.Now();
    m_start->setDateTime(now);
    m_end->setDateTime(now);
    m_parties = new CClientContactBoxes(doc.Database(), m_clientCombo, m_contactBox, true, this);
    m_parties->Load();
    m_timeButton->setDefault(true);
    m_start->setFocus();
}

void CAppointQueryDlg::BuildControls()
{
    // Made before the controls, so it is also gone before them when the dialog is destroyed.
    auto* defaults = new CFocusDefaults(this);
    m_help = new QPlainTextEdit(this);
    m_help->setObjectName(u"help"_s);
    m_help->setReadOnly(true);
    m_help->setFocusPolicy(Qt::NoFocus);
    m_help->setPlainText(QString::fromUtf16(kHelp));
    m_help->setFixedHeight(m_help->fontMetrics().height() * 3 + 14);

    auto* timeBox = new QGroupBox(u"按时间查询"_s, this);
    m_start = NewDatePicker(u"IDC_STARTDATE"_s, timeBox);
    m_end = NewDatePicker(u"IDC_ENDDATE"_s, timeBox);
    m_timeButton = NewDialogButton(u"按时间查询"_s, u"IDC_QUERYTIME"_s, timeBox);
    auto* timeRow = new QHBoxLayout(timeBox);
    timeRow->addWidget(new QLabel(u"时间范围："_s, timeBox));
    timeRow->addWidget(m_start);
    timeRow->addWidget(new QLabel(u"——"_s, timeBox));
    timeRow->addWidget(m_end);
    timeRow->addStretch(1);
    timeRow->addWidget(m_timeButton);

    auto* partyBox = new QGroupBox(u"按客户、联系人查询"_s, this);
    m_clientCombo = new QComboBox(partyBox);
    m_clientCombo->setObjectName(u"IDC_CLIENT"_s);
    m_contactBox = new QComboBox(partyBox);
    m_contactBox->setObjectName(u"IDC_LINKMAN"_s);
    m_clientButton = NewDialogButton(u"按客户查询"_s, u"IDC_QUERYCLIENT"_s, partyBox);
    m_contactButton = NewDialogButton(u"按联系人查询"_s, u"IDC_QUERYLINKMAN"_s, partyBox);
    auto* partyGrid = new QGridLayout(partyBox);
    partyGrid->addWidget(new QLabel(u"客户："_s, partyBox), 0, 0);
    partyGrid->addWidget(m_clientCombo, 0, 1);
    partyGrid->addWidget(m_clientButton, 0, 2);
    partyGrid->addWidget(new QLabel(u"联系人："_s, partyBox), 1, 0);
    partyGrid->addWidget(m_contactBox, 1, 1);
    partyGrid->addWidget(m_contactButton, 1, 2);
    partyGrid->setColumnStretch(1, 1);
    // Focus on the client box leaves the default button as it was.
    defaults->Add(m_start, m_timeButton);
    defaults->Add(m_end, m_timeButton);
    defaults->Add(m_contactBox, m_contactButton);

    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_help);
    layout->addWidget(timeBox);
    layout->addWidget(partyBox);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(m_timeButton, &QPushButton::clicked, this, &CAppointQueryDlg::OnQueryTime);
    connect(m_clientButton, &QPushButton::clicked, this, &CAppointQueryDlg::OnQueryClient);
    connect(m_contactButton, &QPushButton::clicked, this, &CAppointQueryDlg::OnQueryContact);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QString CAppointQueryDlg::HelpText() const
{
    return m_help->toPlainText();
}

QString CAppointQueryDlg::RangeStatement() const
{
    const QDate start = m_start->date();
    const QDate end = m_end->date();
    return u"SELECT * FROM appoint WHERE [time] >= %1 AND [time] <= %2"_s.arg(
        SqlDayStart(start.year(), start.month(), start.day()),
        SqlDayEnd(end.year(), end.month(), end.day()));
}

void CAppointQueryDlg::OnQueryTime()
{
    // The statement takes whole days, so only the days are compared: the pickers show no time
    // of day that could refuse a range of one day.
    if (m_start->date() > m_end->date()) {
        Warn(this, u"起始时间必须小于终止时间！"_s);
        return;
    }
    Run(RangeStatement() + u" ORDER BY time DESC"_s, PartiesFromTables(m_doc));
}

void CAppointQueryDlg::OnQueryClient()
{
    const QString client = ClientBox().Text();
    if (client.isEmpty()) {
        Warn(this, u"您还没有选择客户"_s);
        return;
    }
    // Only the contacts listed for the client when it was chosen.
    QHash<int, QString> contacts;
    for (const CNameEntry& contact : Contacts())
        if (!contacts.contains(contact.m_nNo))
            contacts.insert(contact.m_nNo, contact.m_strName);
    Run(RangeStatement() + u" ORDER BY time DESC"_s,
        [client, contacts](int linkman) -> std::optional<AppointParties> {
            const auto it = contacts.constFind(linkman);
            if (it == contacts.cend())
                return std::nullopt;
            return AppointParties{client, *it};
        });
}

void CAppointQueryDlg::OnQueryContact()
{
    const QString client = ClientBox().Text();
    if (client.isEmpty()) {
        Warn(this, u"您还没有选择客户！"_s);
        return;
    }
    const QString contact = m_contactBox->currentText();
    if (contact.isEmpty()) {
        Warn(this, u"您还没有选择联系人！"_s);
        return;
    }
    const CNameEntry* entry = FindNameEntry(Contacts(), contact);
    const int linkman = entry ? entry->m_nNo : -1;
    Run(RangeStatement() + u" AND [linkman] = %1 ORDER BY time DESC"_s.arg(linkman),
        [client, contact](int) {
            return std::optional(AppointParties{client, contact});
        });
}

void CAppointQueryDlg::Run(const QString& sql, const AppointPartiesOf& parties)
{
    ShowAppointmentList(m_doc, sql, parties);
    accept();
}
