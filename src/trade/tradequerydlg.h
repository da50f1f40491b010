#pragma once

#include "views/clientcontactboxes.h"

#include <QDialog>
#include <QString>

#include <map>

class CClock;
class CVantrelDoc;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
struct TradeTwin;

// What tells the purchase query from the sales query besides the trade's tables and lists,
// which come from its twin descriptor.
struct TradeQueryTwin
{
    const TradeTwin* trade;
    const char16_t* title;          // "采购查询" / "销售查询"
    const char16_t* dialogName;     // the dialog's object name
    const char16_t* settledCaption; // the last group box: "是否已结帐" / "是否结清"
    const char16_t* detailEntry;    // keyword entry 4: "采购详情" / "销售详情"
    // How "查询全部" and the settled queries sort: "ORDER BY date DESC, paper" for purchases,
    // "ORDER BY date DESC" for sales.
    const char16_t* settledOrder;
    bool sortedContacts; // the contact box sorts its names (purchases) or keeps table order
};

extern const TradeQueryTwin kPurchaseQueryTwin;
extern const TradeQueryTwin kSaleQueryTwin;

// "采购查询" / "销售查询": seven ways to list the trade's orders in the main window (the date
// range, a quantity or amount range, a keyword in one field, the client, the contact, settled
// or not, all four of date, keyword, client and contact together, or every order). A query
// that runs fills the main list with the orders, their paid amounts and the totals row, lays
// the secondary list out for payments, and closes the dialog; the two checks of the date and
// the value ranges refuse with a message and leave it open.
//
// Each group's "查询" becomes the default button (the one Enter presses) when one of the
// group's controls takes the focus. Texts go into the statements only through SqlText; a
// keyword keeps LIKE's wildcards % and _.
class CTradeQueryDlg : public QDialog
{
    Q_OBJECT
public:
    // The groups that have a "查询" button of their own.
    enum Group {
        kDateGroup,
        kRangeGroup,
        kKeywordGroup,
        kClientGroup,
        kContactGroup,
        kSettledGroup
    };

    // The longest keyword the edit takes. SQLite refuses a LIKE pattern of more than 50,000
    // bytes; a character takes at most 3 bytes of UTF-8 (a surrogate pair 4 for two), so a
    // keyword of this length between its two % stays below that (48,002 bytes at most).
    static constexpr int kKeywordMaxLength = 16000;

    // The date pickers start at `clock`'s now.
    CTradeQueryDlg(const TradeQueryTwin& twin, CVantrelDoc& doc, const CClock& clock,
                   QWidget* parent = nullptr);

    const TradeQueryTwin& Twin() const { return m_twin; }

    void OnQueryDate();
    void OnQueryRange();
    void OnQueryKeyword();
    void OnQueryClient();
    void OnQueryContact();
    void OnQuerySettled();
    void OnQueryCombined();
    void OnQueryAll();

    QDateTimeEdit* StartPicker() const { return m_start; }
    QDateTimeEdit* EndPicker() const { return m_end; }
    QComboBox* RangeField() const { return m_rangeField; }
    QLineEdit* FirstValue() const { return m_first; }
    QLineEdit* SecondValue() const { return m_second; }
    QComboBox* KeywordField() const { return m_keywordField; }
    QLineEdit* KeywordEdit() const { return m_keyword; }
    QComboBox* ClientCombo() const { return m_clientCombo; }
    CAutoCompleteCombo& ClientBox() { return m_parties->ClientBox(); }
    const CNameEntries& Clients() const { return m_parties->Clients(); }
    QComboBox* ContactBox() const { return m_contactBox; }
    QRadioButton* UnsettledButton() const { return m_unsettled; }
    QRadioButton* SettledButton() const { return m_settled; }
    QPushButton* QueryButton(Group group) const { return m_queryButtons[group]; }
    QString HelpText() const;

private:
    void BuildControls();
    // The group whose "查询" a focused widget stands for, found through its ancestors.
    void MakeDefault(Group group);

    // "SELECT * FROM <table> WHERE [date] >= <start> AND [date] <= <end>".
    QString DateRangeStatement() const;
    // " AND [<field>] LIKE '%<keyword>%'" for the keyword list's field.
    QString KeywordClause() const;
    void Run(const QString& sql);

    const TradeQueryTwin& m_twin;
    CVantrelDoc& m_doc;
    QPlainTextEdit* m_help = nullptr;
    QDateTimeEdit* m_start = nullptr;
    QDateTimeEdit* m_end = nullptr;
    QComboBox* m_rangeField = nullptr;
    QLineEdit* m_first = nullptr;
    QLineEdit* m_second = nullptr;
    QComboBox* m_keywordField = nullptr;
    QLineEdit* m_keyword = nullptr;
    QComboBox* m_clientCombo = nullptr;
    QComboBox* m_contactBox = nullptr;
    QRadioButton* m_unsettled = nullptr;
    QRadioButton* m_settled = nullptr;
    CClientContactBoxes* m_parties = nullptr;
    QPushButton* m_queryButtons[kSettledGroup + 1] = {};
    // The controls of each group, for the default button.
};

// "采购查询" over `inputdata`.
class CPurchaseQueryDlg : public CTradeQueryDlg
{
    Q_OBJECT
public:
    CPurchaseQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent = nullptr);
};

// "销售查询" over `outputdata`.
class CSaleQueryDlg : public CTradeQueryDlg
{
    Q_OBJECT
public:
    CSaleQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent = nullptr);
};
