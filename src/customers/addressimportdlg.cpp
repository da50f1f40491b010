#include "customers/addressimportdlg.h"

#include "customers/addressgroups.h"
#include "customers/addressimport.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The names of a duplicate question: a few of them, then how many there are.
QString NamesOf(const QStringList& names)
{
    constexpr qsizetype kShown = 5;
    QString shown = names.mid(0, kShown).join(u"、"_s);
    if (names.size() > kShown)
        shown += u" 等 %1 人"_s.arg(names.size());
    return shown;
}

} // namespace

CAddressImportDlg::CAddressImportDlg(CADODatabase* database, AddressCardsRead read,
                                     const QString& path, QWidget* parent)
    : QDialog(parent), m_db(database), m_read(std::move(read)), m_group(new QComboBox(this)),
      m_cardGroups(new QCheckBox(u"名片带有分类（CATEGORIES）时，放入名片中的分类"_s, this))
{
    setObjectName(u"IDD_ADDRESSIMPORT"_s);
    setWindowTitle(u"导入通讯录"_s);
    m_group->setObjectName(u"IDC_GROUP"_s);
    m_group->setEditable(true);
    m_group->setCompleter(nullptr);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->setMaxVisibleItems(20);
    m_cardGroups->setObjectName(u"IDC_CARDGROUPS"_s);

    auto* form = new QFormLayout;
    auto* file = new QLabel(QDir::toNativeSeparators(QFileInfo(path).fileName()), this);
    file->setObjectName(u"IDC_FILE"_s);
    file->setToolTip(QDir::toNativeSeparators(path));
    form->addRow(u"文件："_s, file);
    QString counts = u"可以导入的名片 %1 张"_s.arg(m_read.cards.size());
    if (!m_read.skipped.empty())
        counts += u"，无法导入的 %1 张"_s.arg(m_read.skipped.size());
    auto* summary = new QLabel(counts, this);
    summary->setObjectName(u"IDC_COUNTS"_s);
    form->addRow(u"名片："_s, summary);
    form->addRow(u"导入到分类："_s, m_group);
    form->addRow(QString(), m_cardGroups);

    QDialogButtonBox* buttons = NewDialogButtonBox(this, QDialogButtonBox::Cancel);
    QPushButton* import = NewDialogButton(u"导入"_s, u"IDOK"_s, this);
    import->setDefault(true);
    buttons->addButton(import, QDialogButtonBox::ActionRole);
    connect(import, &QPushButton::clicked, this, &CAddressImportDlg::OnImport);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CAddressImportDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialised) {
        m_bInitialised = true;
        FillGroupCombo(m_group, m_db, this);
        m_group->setEditText(QString());
    }
    QDialog::showEvent(event);
}

void CAddressImportDlg::OnImport()
{
    const QString group = m_group->currentText();
    std::vector<AddressEntry> entries =
        EntriesToImport(m_read.cards, group, m_cardGroups->isChecked());
    std::vector<AddressDuplicates> duplicates;
    if (!FindAddressDuplicates(m_db, entries, duplicates)) {
        Warn(this, u"读取通讯录失败，没有导入任何名片！"_s);
        return;
    }
    // One question per group, in the address dialog's words; No leaves that group's
    // duplicates out.
    std::vector<bool> leftOut(entries.size(), false);
    int duplicatesLeftOut = 0;
    for (const AddressDuplicates& duplicate : duplicates) {
        const QString where = duplicate.group.isEmpty() ? u"不属于任何分类的联系人中"_s
                                                        : u"分类“%1”中"_s.arg(duplicate.group);
        const QString question = u"%1已经有 %2。\n同分类下已经存在该联系人，是否要重复添加？"_s.arg(
            where, NamesOf(duplicate.names));
        if (Ask(this, question, u"重复"_s))
            continue;
        for (size_t place : duplicate.entries)
            leftOut[place] = true;
        duplicatesLeftOut += int(duplicate.entries.size());
    }
    std::vector<AddressEntry> kept;
    std::vector<AddressCard> imported;
    kept.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        if (leftOut[i])
            continue;
        kept.push_back(std::move(entries[i]));
        imported.push_back(m_read.cards[i]);
    }
    if (!kept.empty()) {
        const AddressImportOutcome outcome = StoreAddressEntries(m_db, kept);
        if (!outcome.stored) {
            Warn(this, u"导入失败，没有导入任何名片！\n%1"_s.arg(outcome.error));
            return;
        }
        m_firstNo = outcome.firstNo;
        m_lastNo = outcome.lastNo;
    }
    Inform(this,
           AddressImportReport(int(kept.size()), m_read.skipped, duplicatesLeftOut, imported));
    accept();
}
