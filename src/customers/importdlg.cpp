#include "customers/importdlg.h"

#include "customers/clientlist.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString KindNoun(ImportKind kind)
{
    return kind == ImportKind::Clients ? u"客户"_s : u"联系人"_s;
}

QTableWidget* NewTable(const QString& name, QWidget* parent)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->verticalHeader()->setDefaultSectionSize(22);
    return table;
}

QTableWidgetItem* NewItem(const QString& text)
{
    // A long cell shows its beginning; the report says when it is too long.
    auto* item = new QTableWidgetItem(text.left(200));
    item->setToolTip(text.left(1000));
    return item;
}

} // namespace

CImportDlg::CImportDlg(ImportKind kind, CADODatabase* database, CVantrelDoc& doc, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_db(database), m_doc(doc), m_plan(kind, database),
      m_file(new QLabel(this)), m_columns(NewTable(u"IDC_IMPORT_COLUMNS"_s, this)),
      m_preview(NewTable(u"IDC_IMPORT_PREVIEW"_s, this)), m_report(new QPlainTextEdit(this)),
      m_import(NewDialogButton(u"导入"_s, u"IDOK"_s, this))
{
    setObjectName(kind == ImportKind::Clients ? u"IDD_IMPORTCLIENT"_s : u"IDD_IMPORTLINKMAN"_s);
    setWindowTitle(u"导入"_s + KindNoun(kind));

    m_file->setObjectName(u"IDC_IMPORT_FILE"_s);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_columns->setColumnCount(3);
    m_columns->setHorizontalHeaderLabels({u"文件中的列"_s, u"导入为"_s, u"第一行的内容"_s});
    m_columns->horizontalHeader()->setStretchLastSection(true);
    m_columns->setColumnWidth(0, 160);
    m_columns->setColumnWidth(1, 150);
    m_report->setObjectName(u"IDC_IMPORT_REPORT"_s);
    m_report->setReadOnly(true);
    m_report->setMaximumHeight(140);

    m_import->setDefault(true);
    connect(m_import, &QPushButton::clicked, this, [this] { OnImport(); });
    auto* cancel = NewDialogButton(u"取消"_s, u"IDCANCEL"_s, this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_import);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(
        new QLabel(u"请为文件中的每一列选择对应的字段（已按标题行给出建议）："_s, this));
    layout->addWidget(m_columns, 2);
    layout->addWidget(new QLabel(u"文件的前 %1 行："_s.arg(kPreviewRows), this));
    layout->addWidget(m_preview, 2);
    layout->addWidget(m_report);
    layout->addLayout(buttons);
    resize(760, 620);
}

bool CImportDlg::Load(const QString& path)
{
    const ImportTableResult result = ReadImportTable(path, m_table);
    if (!result.Read()) {
        Warn(this, result.message);
        return false;
    }
    if (m_table.rows.size() < 2) {
        Warn(this, u"文件中只有标题行，没有可以导入的数据。"_s);
        return false;
    }
    m_file->setText(u"文件：%1（%2 行数据）"_s.arg(QDir::toNativeSeparators(path))
                        .arg(m_table.rows.size() - 1));
    FillColumns();
    FillPreview();
    Replan();
    return true;
}

void CImportDlg::FillColumns()
{
    const QStringList& header = m_table.rows.front();
    // A data row may have fewer cells; one with more is skipped, so the header's columns are
    // all there is to choose for.
    const int columns = int(header.size());
    const std::vector<int> suggested = SuggestImportFields(m_kind, header);
    const auto fields = ImportFields(m_kind);
    m_columns->setRowCount(columns);
    m_fieldBoxes.clear();
    for (int column = 0; column < columns; ++column) {
        const QString title =
            header[column].isEmpty() ? u"第 %1 列"_s.arg(column + 1) : header[column];
        m_columns->setItem(column, 0, NewItem(title));
        const QStringList& first = m_table.rows[1];
        m_columns->setItem(column, 2, NewItem(column < first.size() ? first[column] : QString()));
        auto* box = new QComboBox(m_columns);
        box->setObjectName(u"field%1"_s.arg(column));
        box->addItem(u"（不导入）"_s, -1);
        for (size_t f = 0; f < fields.size(); ++f)
            box->addItem(QString::fromUtf16(fields[f].label), int(f));
        box->setCurrentIndex(box->findData(suggested[size_t(column)]));
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, column] { OnFieldChosen(column); });
        m_columns->setCellWidget(column, 1, box);
        m_fieldBoxes.push_back(box);
    }
}

void CImportDlg::FillPreview()
{
    const QStringList& header = m_table.rows.front();
    int columns = int(header.size());
    const int rows = std::min<int>(kPreviewRows, int(m_table.rows.size()) - 1);
    for (int row = 1; row <= rows; ++row)
        columns = std::max<int>(columns, int(m_table.rows[size_t(row)].size()));
    m_preview->setColumnCount(columns);
    m_preview->setRowCount(rows);
    QStringList titles;
    for (int column = 0; column < columns; ++column)
        titles << (column < header.size() && !header[column].isEmpty()
                       ? header[column]
                       : u"第 %1 列"_s.arg(column + 1));
    m_preview->setHorizontalHeaderLabels(titles);
    QStringList lines;
    for (int row = 1; row <= rows; ++row) {
        lines << QString::number(row + 1); // the file's line, the header being line 1
        const QStringList& cells = m_table.rows[size_t(row)];
        for (int column = 0; column < cells.size(); ++column)
            m_preview->setItem(row - 1, column, NewItem(cells[column]));
    }
    m_preview->setVerticalHeaderLabels(lines);
}

QComboBox* CImportDlg::FieldBox(int column) const
{
    return column >= 0 && column < int(m_fieldBoxes.size()) ? m_fieldBoxes[size_t(column)]
                                                            : nullptr;
}

QString CImportDlg::ReportText() const
{
    return m_report->toPlainText();
}

std::vector<int> CImportDlg::ChosenFields() const
{
    std::vector<int> fields;
    for (const QComboBox* box : m_fieldBoxes)
        fields.push_back(box->currentData().toInt());
    return fields;
}

void CImportDlg::OnFieldChosen(int column)
{
    // A field takes one column: the column that had it before gives it up.
    const int field = m_fieldBoxes[size_t(column)]->currentData().toInt();
    if (field >= 0)
        for (size_t other = 0; other < m_fieldBoxes.size(); ++other)
            if (int(other) != column && m_fieldBoxes[other]->currentData().toInt() == field) {
                const QSignalBlocker blocker(m_fieldBoxes[other]);
                m_fieldBoxes[other]->setCurrentIndex(0);
            }
    Replan();
}

void CImportDlg::Replan()
{
    if (!m_plan.Plan(m_table, ChosenFields())) {
        m_report->setPlainText(u"无法读取已有的资料，现在不能导入。"_s);
        return;
    }
    m_report->setPlainText(m_plan.Report());
}

void CImportDlg::OnImport()
{
    const std::vector<int> fields = ChosenFields();
    auto chosen = [&](const char* field) {
        const int index = ImportFieldIndex(m_kind, field);
        return std::find(fields.begin(), fields.end(), index) != fields.end();
    };
    if (!chosen("name")) {
        Warn(this, m_kind == ImportKind::Clients ? u"请指定哪一列是客户的“名称”！"_s
                                                 : u"请指定哪一列是联系人的“姓名”！"_s);
        return;
    }
    if (m_kind == ImportKind::Contacts && !chosen("client")) {
        Warn(this, u"请指定哪一列是联系人的“所属客户”！"_s);
        return;
    }
    int first = -1;
    int last = -1;
    QString failure;
    if (!m_plan.Import(m_table, fields, first, last, failure)) {
        Warn(this, failure);
        Replan();
        return;
    }
    const int added = last - first + 1;
    const int skipped = m_plan.SkippedCount();
    QString text = u"导入完成：添加了 %1 个%2"_s.arg(added).arg(KindNoun(m_kind));
    text += skipped > 0 ? u"，跳过 %1 行。"_s.arg(skipped) : u"。"_s;
    ShowAdded(first, last);
    Inform(this, text);
    accept();
}

void CImportDlg::ShowAdded(int first, int last)
{
    const QString added = u"[no] >= %1 AND [no] <= %2"_s.arg(first).arg(last);
    if (m_kind == ImportKind::Clients)
        ShowClientList(m_doc, m_db, u"SELECT * FROM client WHERE %1 ORDER BY [name]"_s.arg(added));
    else
        ShowClientList(m_doc, m_db,
                       u"SELECT * FROM client WHERE [no] IN (SELECT [client] FROM linkman WHERE "
                       "%1) ORDER BY [name]"_s.arg(added));
}
