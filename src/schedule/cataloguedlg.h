#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class CADODatabase;
class CADORecordset;
class CCatalogueItemModel;
class CCataloguePictureList;
class CPictureFrame;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
struct CatalogueKind;

// A catalogue of goods with their pictures: the raw materials (CMaterialDlg) or the products
// (CProductDlg). The item list on the left sorts three ways (two for products); the fields in
// the middle add, modify and delete items, each reporting in the status line; the pictures of
// the chosen item are listed on the right, where pictures are attached, detached and shown,
// and a click on the shown picture opens it at full size. Only the paths of pictures are
// stored, relative to the picture home directory.
class CCatalogueDlg : public QDialog
{
    Q_OBJECT
public:
    // Asks the user for picture files, starting in `folder`; none when the user cancels.
    using PictureChooser = std::function<QStringList(QWidget* parent, const QString& folder)>;

    CCatalogueDlg(const CatalogueKind& kind, CADODatabase* database, const QString& pictureHome,
                  QWidget* parent = nullptr);
    ~CCatalogueDlg() override;

    // Replaces the open-file dialog (tests choose files without one).
    void SetPictureChooser(PictureChooser chooser) { m_chooser = std::move(chooser); }

    // The commands of the dialog's buttons and lists.
    void OnSort(int column);
    void OnItemChosen();
    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnPictureChosen();
    void OnAddPicture();
    void OnDeletePicture();
    void OnPictureClicked();

    QTableView* ItemList() const { return m_items; }
    CCatalogueItemModel& Items() const { return *m_model; }
    CCataloguePictureList* PictureList() const { return m_pictures; }
    CPictureFrame* Frame() const { return m_frame; }
    QString Status() const;
    // The stored path of the picture shown; "" when none.
    QString ShownPath() const { return m_strShownPath; }
    // The edit of a field ("name", "number", "client", "price", "property", "remark"); null for
    // a field this catalogue lacks.
    QWidget* Control(const QString& field) const;

private:
    struct Fields
    {
        QString number, name, client, price, property, remark;
    };

    void LoadItems();
    Fields ReadFields() const;
    void ShowFields(CADORecordset& recordset);
    void WriteFields(CADORecordset& recordset, const Fields& fields) const;
    QStringList ListTexts(const Fields& fields) const;
    void LoadPictures(int item);
    // The item number of the selected item row; -1 when none is selected.
    int SelectedItem(int* row = nullptr) const;
    // Whether another item (not `except`) has the name; Yes to the question when one has.
    // `open` reports whether the table could be read.
    bool NameAccepted(const QString& name, int except, bool& open);
    bool DeleteItemAndPictures(int item);
    bool AttachPicture(int item, const QString& chosen);
    void ShowPicture(const QString& relative);
    void ClearShownPicture();
    void SetStatus(const QString& text);
    QString ItemSql(int item) const;

    const CatalogueKind& m_kind;
    CADODatabase* m_pDb;
    QString m_strHome;
    QString m_strShownPath;
    PictureChooser m_chooser;

    CCatalogueItemModel* m_model;
    QTableView* m_items;
    QLineEdit* m_nameEdit;
    QLineEdit* m_numberEdit;
    QLineEdit* m_priceEdit;
    QLineEdit* m_clientEdit = nullptr;
    QPlainTextEdit* m_propertyEdit;
    QPlainTextEdit* m_remarkEdit;
    QLineEdit* m_statusEdit;
    CCataloguePictureList* m_pictures;
    CPictureFrame* m_frame;
};

// "原料管理": the raw materials and the enterprises they come from.
class CMaterialDlg : public CCatalogueDlg
{
    Q_OBJECT
public:
    CMaterialDlg(CADODatabase* database, const QString& pictureHome, QWidget* parent = nullptr);
};

// "产品管理": the products.
class CProductDlg : public CCatalogueDlg
{
    Q_OBJECT
public:
    CProductDlg(CADODatabase* database, const QString& pictureHome, QWidget* parent = nullptr);
};
