#pragma once

#include <QDialog>
#include <QString>

class CADODatabase;
class CVantrelDoc;
class QComboBox;
class QLineEdit;

// "通讯录查询": lists address-book entries in the main window by group, name, telephone number
// or address (each a part of the field), or all of them. A name typed as ASCII letters also
// finds the names whose pinyin initials begin with it. A query that runs closes the dialog.
class CAddressQueryDlg : public QDialog
{
    Q_OBJECT
public:
    enum class Query { All, Group, Name, Telephone, Address };

    CAddressQueryDlg(CADODatabase* database, CVantrelDoc& doc, QWidget* parent = nullptr);

    // The statement a query runs for a value; the value is not checked (an empty one lists the
    // entries whose searched field holds anything).
    static QString QueryStatement(Query query, const QString& value = {});

    void OnQuery(Query query);

    QComboBox* GroupCombo() const { return m_group; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* TelephoneEdit() const { return m_telephone; }
    QLineEdit* AddressEdit() const { return m_address; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void InitDialog();

    CADODatabase* m_db;
    CVantrelDoc& m_doc;
    bool m_bInitialised = false;
    QComboBox* m_group;
    QLineEdit* m_name;
    QLineEdit* m_telephone;
    QLineEdit* m_address;
};
