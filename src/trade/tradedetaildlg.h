#pragma once

#include "kit/clock.h"
#include "views/nameentry.h"
#include "views/recorddlg.h"

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QStringList>

class CADODatabase;
class CMiddleListView;
class CVantrelView;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
struct TradeTwin;

// "明细": adds one payment of a purchase order (made) or of a sales order (received), a row of
// inputdetail or outputdetail, or changes one. The order is chosen by its 单号 in a sorted list
// of the trade's orders; the row keeps the order's number. A modify may choose another order,
// which moves the payment there. After a save the dialog brings the secondary list (the
// payments of an order) and the order's row in the main list up to date.
//
// The opener sets the members before the dialog is shown; the dialog reads them when it first
// shows, as it fills the 单号 list.
class CTradeDetailDlg : public CRecordDlg
{
    Q_OBJECT
public:
    // `trade` gives the tables; `lower` is the secondary list and `main` the main list that a
    // save updates; either may be null. The date starts at `clock`'s now.
    CTradeDetailDlg(CADODatabase* database, const TradeTwin& trade, CMiddleListView* lower,
                    CVantrelView* main, const CClock& clock, QWidget* parent = nullptr);

    const int m_bSale;      // 0 purchases, 1 sales: fixed by the trade
    int m_bPreselect = 0;   // 1: the 单号 list starts on the order named m_strOrder
    QString m_strOrder;     // the 单号 to start on (preselection and modify)
    QDateTime m_tmRecord;   // modify: the stored date, at 00:00:00
    double m_fNumber = 0.0; // 数量
    double m_fSum = 0.0;    // 金额
    QString m_strPerson;    // 经手人
    QString m_strTaster;    // 审批人
    QString m_strDetail;    // 交易详情
    QString m_strRemark;    // 备注

    // Members from a record list's request: the mode, the order to start on, and for a modify
    // the stored row (paper as int, date as QDate, number and sum as double, texts).
    void SetRequest(const CRecordRequest& request);

    // "确定": checks the input and saves.
    void OnOK() override;

    // The control of a column of the detail tables ("paper" is the 单号 list, "date" the date
    // picker); "help" is the help text.
    QWidget* Control(const QString& field) const;
    QComboBox* OrderBox() const { return m_orderBox; }
    QDateTimeEdit* DatePicker() const { return m_datePicker; }
    const CNameEntries& Orders() const { return m_orders; }

protected:
    // Fills the 单号 list and moves the members into the controls.
    void OnInitDialog() override;

private:
    void BuildControls();
    void LoadOrders();
    void ApplyMembers();
    // The number of the order the list names; -1 when none.
    int ChosenOrder(const QString& name) const;
    // Writes the payment; false (after its message) when it could not be saved.
    bool Save(int order, const QDateTime& date);

    const TradeTwin& m_trade;
    CClock m_clock;
    QPointer<CMiddleListView> m_lower;
    QPointer<CVantrelView> m_main;
    CNameEntries m_orders;
    // The order the payment belonged to when it was read for a modify; -1 when adding.
    int m_nOrder = -1;
    QStringList m_orderNames; // the 单号 list's entries, in its order

    QComboBox* m_orderBox = nullptr;
    QDateTimeEdit* m_datePicker = nullptr;
    QLineEdit* m_numberEdit = nullptr;
    QLineEdit* m_sumEdit = nullptr;
    QLineEdit* m_personEdit = nullptr;
    QLineEdit* m_tasterEdit = nullptr;
    QPlainTextEdit* m_detailEdit = nullptr;
    QLineEdit* m_remarkEdit = nullptr;
    QPlainTextEdit* m_help = nullptr;
};
