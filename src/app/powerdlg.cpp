#include "app/powerdlg.h"

#include "app/powertable.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/rights.h"
#include "kit/columnwidths.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// Flag i of the dialog (box i, list column i + 1) in the dialog's order.
const RightInfo& FlagInfo(int i)
{
    return InfoOf(kRightsInDialogOrder[static_cast<std::size_t>(i)]);
}

constexpr int kColumnWidth = 80;
constexpr int kBoxesPerLine = 5;
// The `user` column holds at most 255 characters.
constexpr int kMaxUserLength = 255;

QString YesNo(bool flag)
{
    return flag ? u"是"_s : u"否"_s;
}

QTableWidgetItem* NewCell(const QString& text, int column)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    return item;
}

// Writes the name and the flags into the row being added or edited and saves it.
bool SaveUser(CADORecordset& power, const QString& user,
              const std::array<bool, CPowerDlg::kFlagCount>& flags)
{
    bool written = power.SetFieldText(u"user"_s, user);
    for (int i = 0; i < CPowerDlg::kFlagCount; ++i)
        written = written && power.SetFieldInt(QLatin1StringView(FlagInfo(i).column), flags[i]);
    if (written && power.Update())
        return true;
    power.CancelUpdate();
    return false;
}

// Opens the user's row of table `power` and stands on it; false when it cannot be read. Names
// are told apart exactly as written here, so another spelling of the name is not its row.
bool OpenUserRow(CADORecordset& power, const QString& user)
{
    return power.Open(PowerQueryFor(user)) && MoveToUser(power, user, true);
}

} // namespace

CPowerDlg::CPowerDlg(CADODatabase* database, QWidget* parent)
    : QDialog(parent), m_db(database), m_list(new QTableWidget(this)),
      m_userEdit(new QLineEdit(this)), m_status(new QLineEdit(this))
{
    setObjectName(u"IDD_POWER"_s);
    setWindowTitle(u"权限分配"_s);

    m_list->setObjectName(u"IDC_POWERLIST"_s);
    m_list->setColumnCount(kFlagCount + 1);
    m_list->setHorizontalHeaderItem(0, NewCell(u"姓名"_s, 0));
    for (int i = 0; i < kFlagCount; ++i)
        m_list->setHorizontalHeaderItem(i + 1,
                                        NewCell(QString::fromUtf16(FlagInfo(i).caption), i + 1));
    for (int column = 0; column <= kFlagCount; ++column)
        m_list->setColumnWidth(column, kColumnWidth);
    KeepColumnsFitted(*m_list);
    FitColumnsToContents(*m_list);
    m_list->verticalHeader()->hide();
    // Compact report rows, one line of text each.
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setMinimumSize(720, 180);
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row, int) { OnRowClicked(row); });

    m_userEdit->setObjectName(u"IDC_POWERUSER"_s);
    m_userEdit->setMaxLength(kMaxUserLength);
    auto* userLabel = new QLabel(u"用户名："_s, this);
    userLabel->setBuddy(m_userEdit);
    auto* note =
        new QLabel(u"新分配用户密码为空，以新用户名登陆后，请用修改密码功能设定密码。"_s, this);
    note->setObjectName(u"note"_s);
    note->setWordWrap(true);
    auto* userLine = new QHBoxLayout;
    userLine->addWidget(userLabel);
    userLine->addWidget(m_userEdit, 1);
    userLine->addWidget(note, 2);

    auto* searchGroup = new QGroupBox(u"查询搜索"_s, this);
    searchGroup->setObjectName(u"searchGroup"_s);
    auto* manageGroup = new QGroupBox(u"资料管理"_s, this);
    manageGroup->setObjectName(u"manageGroup"_s);
    auto* searchGrid = new QGridLayout(searchGroup);
    auto* manageGrid = new QGridLayout(manageGroup);
    int searchBoxes = 0;
    int manageBoxes = 0;
    for (int i = 0; i < kFlagCount; ++i) {
        const RightInfo& info = FlagInfo(i);
        const bool search = info.group == RightGroup::Search;
        QGroupBox* group = search ? searchGroup : manageGroup;
        auto* box = new QCheckBox(QString::fromUtf16(info.caption), group);
        box->setObjectName(u"IDC_"_s + QString::fromLatin1(info.column).toUpper());
        const int place = search ? searchBoxes++ : manageBoxes++;
        (search ? searchGrid : manageGrid)
            ->addWidget(box, place / kBoxesPerLine, place % kBoxesPerLine);
        m_boxes[i] = box;
    }

    QPushButton* add = NewDialogButton(u"添加"_s, u"IDC_ADD"_s, this);
    QPushButton* modify = NewDialogButton(u"修改"_s, u"IDC_MODIFY"_s, this);
    QPushButton* remove = NewDialogButton(u"删除"_s, u"IDC_DELETE"_s, this);
    QPushButton* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    connect(add, &QPushButton::clicked, this, &CPowerDlg::OnAdd);
    connect(modify, &QPushButton::clicked, this, &CPowerDlg::OnModify);
    connect(remove, &QPushButton::clicked, this, &CPowerDlg::OnDelete);
    connect(close, &QPushButton::clicked, this, &CPowerDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {add, modify, remove, close})
        buttons->addWidget(button);

    m_status->setObjectName(u"IDC_STATUS"_s);
    m_status->setReadOnly(true);
    m_status->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(userLine);
    layout->addWidget(searchGroup);
    layout->addWidget(manageGroup);
    layout->addLayout(buttons);
    layout->addWidget(m_status);

    FillList();
    m_userEdit->setFocus();
}

QString CPowerDlg::Status() const
{
    return m_status->text();
}

void CPowerDlg::SetStatus(const QString& text)
{
    m_status->setText(text);
}

void CPowerDlg::FillList()
{
    CADORecordset power(m_db);
    OpenEachRow(power, u"SELECT * FROM power"_s, [&] {
        QString user;
        power.GetFieldText(u"user"_s, user);
        std::array<bool, kFlagCount> flags{};
        for (int i = 0; i < kFlagCount; ++i) {
            int value = 0;
            power.GetFieldInt(QLatin1StringView(FlagInfo(i).column), value);
            flags[i] = value != 0;
        }
        AppendRow(user, flags);
    });
}

void CPowerDlg::AppendRow(const QString& user, const std::array<bool, kFlagCount>& flags)
{
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    m_list->setItem(row, 0, NewCell(user, 0));
    ShowFlags(row, flags);
}

void CPowerDlg::ShowFlags(int row, const std::array<bool, kFlagCount>& flags)
{
    for (int i = 0; i < kFlagCount; ++i)
        m_list->setItem(row, i + 1, NewCell(YesNo(flags[i]), i + 1));
}

int CPowerDlg::FindRow(const QString& user) const
{
    for (int row = 0; row < m_list->rowCount(); ++row) {
        if (m_list->item(row, 0)->text() == user)
            return row;
    }
    return -1;
}

QString CPowerDlg::TypedUser()
{
    const QString user = m_userEdit->text();
    if (user.isEmpty())
        SetStatus(u"用户名必须填写！"_s);
    return user;
}

std::array<bool, CPowerDlg::kFlagCount> CPowerDlg::CheckedFlags() const
{
    std::array<bool, kFlagCount> flags{};
    for (int i = 0; i < kFlagCount; ++i)
        flags[i] = m_boxes[i]->isChecked();
    return flags;
}

void CPowerDlg::OnRowClicked(int row)
{
    if (row < 0 || row >= m_list->rowCount())
        return;
    m_userEdit->setText(m_list->item(row, 0)->text());
    for (int i = 0; i < kFlagCount; ++i)
        m_boxes[i]->setChecked(m_list->item(row, i + 1)->text() == YesNo(true));
}

void CPowerDlg::OnAdd()
{
    const QString user = TypedUser();
    if (user.isEmpty())
        return;
    const std::array<bool, kFlagCount> flags = CheckedFlags();
    CADORecordset power(m_db);
    if (!power.Open(u"SELECT * FROM power"_s)) {
        SetStatus(u"添加失败！"_s);
        return;
    }
    // Names are told apart exactly as written: "Tom" and "tom" are two users.
    bool taken = false;
    ForEachRow(power, [&] {
        QString existing;
        power.GetFieldText(u"user"_s, existing);
        taken = existing == user;
        return !taken;
    });
    if (taken) {
        SetStatus(u"此用户名已经存在，不能重复添加！"_s);
        return;
    }
    // The password stays empty until the new user sets one.
    if (!power.AddNew() || !SaveUser(power, user, flags)) {
        SetStatus(u"添加失败！"_s);
        return;
    }
    AppendRow(user, flags);
    SetStatus(u"添加成功！"_s);
}

void CPowerDlg::OnModify()
{
    const QString user = TypedUser();
    if (user.isEmpty())
        return;
    const std::array<bool, kFlagCount> flags = CheckedFlags();
    const int row = FindRow(user);
    if (row < 0) {
        SetStatus(u"此用户不存在，请选择一个已经存在的用户名！"_s);
        return;
    }
    // The boxes as shown are written; the password is left alone.
    CADORecordset power(m_db);
    if (!OpenUserRow(power, user)) {
        SetStatus(u"修改失败！"_s);
        return;
    }
    power.Edit();
    if (!SaveUser(power, user, flags)) {
        SetStatus(u"修改失败！"_s);
        return;
    }
    ShowFlags(row, flags);
    SetStatus(u"修改成功！"_s);
}

void CPowerDlg::OnDelete()
{
    const QString user = TypedUser();
    if (user.isEmpty())
        return;
    if (user == QString::fromUtf16(kAdministratorName)) {
        SetStatus(u"管理员用户不能删除！"_s);
        return;
    }
    if (!Ask(this, u"您确定要删除%1吗？"_s.arg(user), u"警告"_s))
        return;
    const int row = FindRow(user);
    if (row < 0) {
        SetStatus(u"没有找到您要删除的用户名"_s);
        return;
    }
    CADORecordset power(m_db);
    if (!OpenUserRow(power, user)) {
        SetStatus(u"删除失败！"_s);
        return;
    }
    if (!power.Delete()) {
        SetStatus(u"删除失败！"_s);
        return;
    }
    m_list->removeRow(row);
    SetStatus(u"删除成功！"_s);
}

#include "moc_powerdlg.cpp"
