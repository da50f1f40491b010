#pragma once

#include "kit/clock.h"
#include "views/clientcontactboxes.h"
#include "views/recorddlg.h"

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <map>

class CADODatabase;
class CVantrelView;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
struct CRecordRequest;
struct TradeTwin;

// What tells the purchase order dialog from the sales order dialog.
struct OrderDialogKind
{
    const TradeTwin& trade;
    const char16_t* objectName;
    const char16_t* title;       // "采购" / "销售"
    const char16_t* clientLabel; // "供应商：" / "客户："
    const char16_t* detailLabel; // "采购详情：" / "销售详情："
    const char16_t* help;
    RecordSaveTexts saveTexts;
};

extern const OrderDialogKind kPurchaseOrderKind;
extern const OrderDialogKind kSaleOrderKind;

// Adds an order of one trade or changes one (a row of `inputdata` or `outputdata`): who the
// counterpart is (a client chosen in a type-ahead box, and one of its contacts), the order's own
// number text 单号, what was traded and for how much, and whether it is settled. 单号 must be
// unique within the trade. In modify mode the dialog rewrites its row of the main order list and
// the list's totals row after the save.
//
// The opener sets the members before the dialog is shown; the dialog reads them when it first
// shows, as it fills its boxes.
class COrderDlg : public CRecordDlg
{
    Q_OBJECT
public:
    // `list` is the main list whose row m_nItem a modify rewrites; it may be null. The date
    // starts at `clock`'s now.
    COrderDlg(const OrderDialogKind& kind, CADODatabase* database, CVantrelView* list,
              const CClock& clock, QWidget* parent = nullptr);

    QDateTime m_tmRecord; // the stored date, at 00:00:00 (modify)
    QString m_strClient;  // the stored client name (modify)
    QString m_strLinkman; // the stored contact name (modify)

    // Members from a record list's request: the mode and, for a modify, the stored row (texts
    // by column name, `date` as QDate, `number` and `sum` as double, `square` 0 or 1).
    void SetRequest(const CRecordRequest& request);

    // "添加": checks the input and saves.
    void OnOK() override;

    const OrderDialogKind& Kind() const { return m_kind; }
    // The control of a column of the order table: QLineEdit, QPlainTextEdit, QCheckBox
    // ("square"), QDateTimeEdit ("date"), or the client and contact QComboBox.
    QWidget* Control(const QString& field) const;
    CAutoCompleteCombo& ClientBox() { return m_parties->ClientBox(); }
    QComboBox* ContactBox() const { return m_contactBox; }
    // Every client in table order, and the contacts of the client in the box.
    const CNameEntries& Clients() const { return m_parties->Clients(); }
    const CNameEntries& Linkmen() const { return m_parties->Contacts(); }
    QString HelpText() const;

protected:
    // Fills the client and contact boxes and moves the members into the controls.
    void OnInitDialog() override;

private:
    void BuildControls();
    QLineEdit* AddEdit(const char* field);
    void SelectStoredParties();
    bool ReadNumbers(double& number, double& sum);
    bool CheckPaper(const QString& paper);
    bool IsDuplicatePaper(const QString& paper) const;
    bool Save(int number, const QVariantMap& values);
    // The order as the dialog would store it for `client`, by column name.
    QVariantMap Values(double number, double sum, const QString& client) const;
    void RewriteOrderRow(QVariantMap values);

    const OrderDialogKind& m_kind;
    CClock m_clock;
    QPointer<CVantrelView> m_list;
    QVariantMap m_fields;
    std::map<QString, QWidget*> m_controls;
    QPlainTextEdit* m_help = nullptr;
    QDateTimeEdit* m_date = nullptr;
    QComboBox* m_clientCombo = nullptr;
    QComboBox* m_contactBox = nullptr;
    QCheckBox* m_square = nullptr;
    CClientContactBoxes* m_parties = nullptr;
};

// "采购": the purchase order dialog.
class CPurchaseDlg : public COrderDlg
{
    Q_OBJECT
public:
    CPurchaseDlg(CADODatabase* database, CVantrelView* list, const CClock& clock,
                 QWidget* parent = nullptr)
        : COrderDlg(kPurchaseOrderKind, database, list, clock, parent)
    {
    }
    static const OrderDialogKind& DialogKind() { return kPurchaseOrderKind; }
};

// "销售": the sales order dialog.
class CSaleDlg : public COrderDlg
{
    Q_OBJECT
public:
    CSaleDlg(CADODatabase* database, CVantrelView* list, const CClock& clock,
             QWidget* parent = nullptr)
        : COrderDlg(kSaleOrderKind, database, list, clock, parent)
    {
    }
    static const OrderDialogKind& DialogKind() { return kSaleOrderKind; }
};
