#include "schedule/cataloguedlg.h"

#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/sqltext.h"
#include "kit/dialogbuttons.h"
#include "kit/filechoice.h"
#include "kit/messages.h"
#include "kit/pictureframe.h"
#include "schedule/cataloguecolumns.h"
#include "schedule/catalogueitems.h"
#include "schedule/cataloguekind.h"
#include "schedule/cataloguepicturelist.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kDuplicateCaption = u"重复"_s;

QStringList ChoosePictureFiles(QWidget* parent, const QString& folder)
{
    FileChoice choice;
    choice.kind = FileChoice::Kind::OpenMany;
    choice.objectName = u"choosePictures"_s;
    choice.folder = folder;
    choice.filters = {u"图片文件(*.bmp *.jpg *.jpeg *.gif *.png)"_s};
    return ChooseFiles(parent, choice);
}

QTableView* NewItemList(CCatalogueItemModel* model, const CatalogueKind& kind, QWidget* parent)
{
    auto* list = new QTableView(parent);
    list->setObjectName(u"IDC_ITEMLIST"_s);
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    // A fixed row height keeps long lists cheap to lay out.
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->horizontalHeader()->setSectionsMovable(true);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setStretchLastSection(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->setColumnWidth(0, 100);
    list->setColumnWidth(1, 150);
    if (kind.hasClient)
        list->setColumnWidth(2, 200);
    list->setColumnHidden(model->NumberColumn(), true);
    return list;
}

QLineEdit* NewLineEdit(const QString& objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

QPlainTextEdit* NewTextEdit(const QString& objectName, QWidget* parent)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(objectName);
    edit->setTabChangesFocus(true);
    edit->setMinimumHeight(60);
    return edit;
}

QStringList ItemTitles(const CatalogueKind& kind)
{
    QStringList titles{u"编号"_s, u"名称"_s};
    if (kind.hasClient)
        titles << u"所属企业"_s;
    return titles;
}

} // namespace

CCatalogueDlg::CCatalogueDlg(const CatalogueKind& kind, CADODatabase* database,
                             const QString& pictureHome, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_pDb(database), m_strHome(pictureHome),
      m_chooser(ChoosePictureFiles), m_model(new CCatalogueItemModel(ItemTitles(kind), this)),
      m_items(NewItemList(m_model, kind, this)), m_nameEdit(NewLineEdit(u"IDC_NAME"_s, this)),
      m_numberEdit(NewLineEdit(u"IDC_NUMBER"_s, this)),
      m_priceEdit(NewLineEdit(u"IDC_PRICE"_s, this)),
      m_propertyEdit(NewTextEdit(u"IDC_PROPERTY"_s, this)),
      m_remarkEdit(NewTextEdit(u"IDC_REMARK"_s, this)),
      m_statusEdit(NewLineEdit(u"IDC_STATUS"_s, this)), m_pictures(new CCataloguePictureList(this)),
      m_frame(new CPictureFrame(this))
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.title);
    m_statusEdit->setReadOnly(true);
    m_statusEdit->setFocusPolicy(Qt::ClickFocus);
    m_pictures->setObjectName(u"IDC_PICTURELIST"_s);
    m_pictures->SetHome(pictureHome);
    m_frame->setObjectName(u"IDC_PICTURE"_s);
    m_frame->setMinimumSize(220, 165);

    // Left: the sort choices above the item list.
    auto* sortGroup = new QGroupBox(u"排序规则"_s, this);
    auto* sortLine = new QHBoxLayout(sortGroup);
    auto* sorts = new QButtonGroup(this);
    for (const CatalogueKind::SortChoice& choice : kind.sorts) {
        auto* radio = new QRadioButton(choice.label, sortGroup);
        radio->setObjectName(choice.objectName);
        sorts->addButton(radio, choice.column);
        sortLine->addWidget(radio);
    }
    sortLine->addStretch(1);
    sorts->buttons().constFirst()->setChecked(true);
    auto* left = new QVBoxLayout;
    left->addWidget(sortGroup);
    left->addWidget(m_items, 1);

    // Middle: the item's fields, its commands and the status line.
    auto* fields = new QGridLayout;
    const auto addField = [this, fields](const QString& label, QWidget* edit) {
        const int row = fields->rowCount();
        auto* caption = new QLabel(label, this);
        caption->setBuddy(edit);
        fields->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignTop);
        fields->addWidget(edit, row, 1);
    };
    addField(u"名称："_s, m_nameEdit);
    addField(u"编号："_s, m_numberEdit);
    addField(u"报价："_s, m_priceEdit);
    if (kind.hasClient) {
        m_clientEdit = NewLineEdit(u"IDC_CLIENT"_s, this);
        addField(u"所属企业："_s, m_clientEdit);
    }
    addField(u"属性："_s, m_propertyEdit);
    addField(u"备注："_s, m_remarkEdit);
    auto* add = NewDialogButton(u"添加"_s, u"IDOK"_s, this);
    auto* modify = NewDialogButton(u"修改"_s, u"IDC_MODIFY"_s, this);
    auto* remove = NewDialogButton(u"删除"_s, u"IDC_DELETE"_s, this);
    auto* commands = new QHBoxLayout;
    commands->addWidget(add);
    commands->addWidget(modify);
    commands->addWidget(remove);
    auto* middle = new QVBoxLayout;
    middle->addLayout(fields, 1);
    middle->addLayout(commands);
    middle->addWidget(m_statusEdit);

    // Right: the pictures of the chosen item and the picture shown.
    auto* pictureGroup = new QGroupBox(u"图片"_s, this);
    auto* addPicture = NewDialogButton(u"添加"_s, u"IDC_ADDPICTURE"_s, pictureGroup);
    auto* removePicture = NewDialogButton(u"删除"_s, u"IDC_DELETEPICTURE"_s, pictureGroup);
    auto* pictureCommands = new QHBoxLayout;
    pictureCommands->addWidget(addPicture);
    pictureCommands->addWidget(removePicture);
    pictureCommands->addStretch(1);
    auto* right = new QVBoxLayout(pictureGroup);
    right->addWidget(m_pictures, 1);
    right->addLayout(pictureCommands);
    right->addWidget(m_frame, 1);

    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    auto* closeLine = new QHBoxLayout;
    closeLine->addStretch(1);
    closeLine->addWidget(close);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(middle, 2);
    columns->addWidget(pictureGroup, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(closeLine);

    connect(sorts, &QButtonGroup::idClicked, this, &CCatalogueDlg::OnSort);
    connect(m_items->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCatalogueDlg::OnItemChosen);
    connect(add, &QPushButton::clicked, this, &CCatalogueDlg::OnAdd);
    connect(modify, &QPushButton::clicked, this, &CCatalogueDlg::OnModify);
    connect(remove, &QPushButton::clicked, this, &CCatalogueDlg::OnDelete);
    connect(m_pictures, &QTableWidget::itemSelectionChanged, this, &CCatalogueDlg::OnPictureChosen);
    connect(addPicture, &QPushButton::clicked, this, &CCatalogueDlg::OnAddPicture);
    connect(removePicture, &QPushButton::clicked, this, &CCatalogueDlg::OnDeletePicture);
    connect(m_frame, &CPictureFrame::clicked, this, &CCatalogueDlg::OnPictureClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    LoadItems();
}

CCatalogueDlg::~CCatalogueDlg() = default;

QWidget* CCatalogueDlg::Control(const QString& field) const
{
    if (field == u"name")
        return m_nameEdit;
    if (field == u"number")
        return m_numberEdit;
    if (field == u"client")
        return m_clientEdit;
    if (field == u"price")
        return m_priceEdit;
    if (field == u"property")
        return m_propertyEdit;
    if (field == u"remark")
        return m_remarkEdit;
    return nullptr;
}

QString CCatalogueDlg::Status() const
{
    return m_statusEdit->text();
}

void CCatalogueDlg::SetStatus(const QString& text)
{
    m_statusEdit->setText(text);
}

QString CCatalogueDlg::ItemSql(int item) const
{
    return u"SELECT * FROM %1 WHERE [no] = %2"_s.arg(m_kind.table, QString::number(item));
}

void CCatalogueDlg::LoadItems()
{
    CADORecordset recordset(m_pDb);
    std::vector<CCatalogueItemModel::Item> items;
    const bool opened = OpenEachRow(recordset, m_kind.loadSql, [&] {
        static const QStringList kColumns{u"number"_s, u"name"_s, u"client"_s};
        CCatalogueItemModel::Item item;
        for (int column = 0; column < m_model->NumberColumn(); ++column) {
            QString text;
            recordset.GetFieldText(kColumns[column], text);
            item.texts << text;
        }
        recordset.GetFieldInt(u"no"_s, item.no);
        items.push_back(std::move(item));
    });
    if (!opened)
        SetStatus(m_kind.tableMissing);
    m_model->SetItems(std::move(items));
    WidenCatalogueColumns(m_items, 0, m_model->Count() - 1);
}

void CCatalogueDlg::OnSort(int column)
{
    m_model->SortByColumn(column);
}

int CCatalogueDlg::SelectedItem(int* row) const
{
    const QModelIndexList rows = m_items->selectionModel()->selectedRows();
    const int selected = rows.isEmpty() ? -1 : rows.first().row();
    if (row)
        *row = selected;
    return selected < 0 ? -1 : m_model->At(selected).no;
}

CCatalogueDlg::Fields CCatalogueDlg::ReadFields() const
{
    Fields fields;
    fields.number = m_numberEdit->text();
    fields.name = m_nameEdit->text();
    fields.client = m_clientEdit ? m_clientEdit->text() : QString();
    fields.price = m_priceEdit->text();
    fields.property = m_propertyEdit->toPlainText();
    fields.remark = m_remarkEdit->toPlainText();
    return fields;
}

void CCatalogueDlg::ShowFields(CADORecordset& recordset)
{
    const auto text = [&recordset](const QString& field) {
        QString value;
        recordset.GetFieldText(field, value);
        return value;
    };
    m_numberEdit->setText(text(u"number"_s));
    m_nameEdit->setText(text(u"name"_s));
    if (m_clientEdit)
        m_clientEdit->setText(text(u"client"_s));
    m_priceEdit->setText(text(u"price"_s));
    m_propertyEdit->setPlainText(text(u"property"_s));
    m_remarkEdit->setPlainText(text(u"remark"_s));
}

void CCatalogueDlg::WriteFields(CADORecordset& recordset, const Fields& fields) const
{
    recordset.SetFieldText(u"number"_s, fields.number);
    recordset.SetFieldText(u"name"_s, fields.name);
    if (m_kind.hasClient)
        recordset.SetFieldText(u"client"_s, fields.client);
    recordset.SetFieldText(u"price"_s, fields.price);
    recordset.SetFieldText(u"property"_s, fields.property);
    recordset.SetFieldText(u"remark"_s, fields.remark);
}

QStringList CCatalogueDlg::ListTexts(const Fields& fields) const
{
    QStringList texts{fields.number, fields.name};
    if (m_kind.hasClient)
        texts << fields.client;
    return texts;
}

void CCatalogueDlg::OnItemChosen()
{
    int row = -1;
    const int item = SelectedItem(&row);
    if (row < 0)
        return;
    CADORecordset recordset(m_pDb);
    if (!recordset.Open(ItemSql(item))) {
        SetStatus(m_kind.tableMissing);
        return;
    }
    if (recordset.GetRecordCount() < 1) {
        SetStatus(m_kind.notFound);
        return;
    }
    ShowFields(recordset);
    LoadPictures(item);
}

void CCatalogueDlg::LoadPictures(int item)
{
    m_pictures->Reset();
    CADORecordset recordset(m_pDb);
    const QString sql =
        u"SELECT * FROM %1 WHERE [id] = %2"_s.arg(m_kind.imageTable, QString::number(item));
    if (!recordset.Open(sql)) {
        SetStatus(m_kind.imageTableMissing);
        return;
    }
    const int pathField = recordset.GetFieldIndex(u"path"_s);
    const int numberField = recordset.GetFieldIndex(u"no"_s);
    ForEachRow(recordset, [&] {
        QString path;
        int no = -1;
        recordset.GetFieldText(pathField, path);
        recordset.GetFieldInt(numberField, no);
        m_pictures->Append(no, path);
    });
}

void CCatalogueDlg::OnAdd()
{
    const Fields fields = ReadFields();
    CADORecordset recordset(m_pDb);
    if (!recordset.Open(
            u"SELECT * FROM %1 WHERE [name] = '%2'"_s.arg(m_kind.table, SqlText(fields.name)))) {
        SetStatus(m_kind.tableMissing);
        return;
    }
    if (recordset.GetRecordCount() > 0 && !Ask(this, m_kind.duplicate, kDuplicateCaption))
        return;
    int item = -1;
    bool saved = recordset.AddNew();
    if (saved) {
        WriteFields(recordset, fields);
        saved = recordset.Update() && recordset.GetFieldInt(u"no"_s, item);
    }
    if (!saved) {
        SetStatus(u"记录无法保存，添加失败！"_s);
        return;
    }
    const int row = m_model->Append({ListTexts(fields), item});
    WidenCatalogueColumns(m_items, row, row);
    SetStatus(u"添加成功！"_s);
}

bool CCatalogueDlg::NameAccepted(const QString& name, int except, bool& open)
{
    CADORecordset recordset(m_pDb);
    open = recordset.Open(u"SELECT * FROM %1 WHERE [name] = '%2' AND [no] <> %3"_s.arg(
        m_kind.table, SqlText(name), QString::number(except)));
    if (!open)
        return false;
    return recordset.GetRecordCount() < 1 || Ask(this, m_kind.duplicate, kDuplicateCaption);
}

void CCatalogueDlg::OnModify()
{
    int row = -1;
    const int item = SelectedItem(&row);
    if (row < 0) {
        SetStatus(u"请先从左侧列表中选择一条要修改的记录！"_s);
        return;
    }
    const Fields fields = ReadFields();
    bool open = false;
    if (!NameAccepted(fields.name, item, open)) {
        if (!open)
            SetStatus(m_kind.tableMissing);
        return;
    }
    CADORecordset recordset(m_pDb);
    if (!recordset.Open(ItemSql(item))) {
        SetStatus(m_kind.tableMissing);
        return;
    }
    if (recordset.GetRecordCount() < 1) {
        SetStatus(u"没有找到要修改的记录！"_s);
        return;
    }
    recordset.Edit();
    WriteFields(recordset, fields);
    if (!recordset.Update()) {
        SetStatus(u"记录无法保存，修改失败！"_s);
        return;
    }
    m_model->Replace(row, ListTexts(fields));
    WidenCatalogueColumns(m_items, row, row);
    SetStatus(u"修改成功！"_s);
}

void CCatalogueDlg::OnDelete()
{
    int row = -1;
    const int item = SelectedItem(&row);
    if (row < 0) {
        SetStatus(u"请先从左侧列表中选择一条要删除的记录！"_s);
        return;
    }
    if (!Ask(this, u"删除操作将会删除其基本资料及所属图片路径资料，您是否确定要删除？"_s,
             u"警告"_s))
        return;
    if (!DeleteItemAndPictures(item))
        return;
    // The pictures listed and shown were the deleted item's.
    m_pictures->Reset();
    ClearShownPicture();
    // Nothing stays selected while the row goes, so the list does not choose the next row on
    // its own; the row that takes its place is then chosen like a click, fields and pictures.
    m_items->selectionModel()->clear();
    m_model->Remove(row);
    SetStatus(u"删除成功！"_s);
    if (m_model->Count() > 0)
        m_items->selectRow(std::min(row, m_model->Count() - 1));
}

bool CCatalogueDlg::DeleteItemAndPictures(int item)
{
    // One transaction: the item goes with all its picture rows, or nothing goes.
    if (!m_pDb || !m_pDb->BeginTransaction()) {
        SetStatus(u"记录无法删除，删除失败！"_s);
        return false;
    }
    const auto fail = [this](const QString& text) {
        m_pDb->RollbackTransaction();
        SetStatus(text);
        return false;
    };
    CADORecordset pictures(m_pDb);
    const QString pictureSql =
        u"SELECT * FROM %1 WHERE [id] = %2"_s.arg(m_kind.imageTable, QString::number(item));
    if (!pictures.Open(pictureSql))
        return fail(m_kind.imageTableMissing);
    bool deleted = true;
    ForEachRow(pictures, [&]() -> bool {
        deleted = pictures.Delete();
        return deleted;
    });
    if (!deleted)
        return fail(u"记录无法删除，删除失败！"_s);
    CADORecordset record(m_pDb);
    if (!record.Open(ItemSql(item)))
        return fail(m_kind.tableMissing);
    if (record.GetRecordCount() < 1)
        return fail(u"没有找到要删除的记录！"_s);
    if (!record.Delete() || !m_pDb->CommitTransaction())
        return fail(u"记录无法删除，删除失败！"_s);
    return true;
}

CMaterialDlg::CMaterialDlg(CADODatabase* database, const QString& pictureHome, QWidget* parent)
    : CCatalogueDlg(MaterialCatalogue(), database, pictureHome, parent)
{
}

CProductDlg::CProductDlg(CADODatabase* database, const QString& pictureHome, QWidget* parent)
    : CCatalogueDlg(ProductCatalogue(), database, pictureHome, parent)
{
}
