#pragma once

#include "trade/stattables.h"

#include <QDialog>

#include <vector>

class CClock;
class CVantrelDoc;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct TradeTwin;
struct StatChartFigures;

// "统计": totals purchase or sales amounts by calendar month into a two-column table in the
// main list, with the same figures as a bar chart in the lower pane. "某客户各月对比" lists one
// client's amount in each month of a span (which may cross years), "某月各个客户对比" every
// client's amount in one month. The dialog stays open for the next table; "关闭" ends it.
//
// Years run from 1900 to 9999 and months from 1 to 12; anything else, or an edit that holds
// no whole number, is refused with a message and nothing is listed.
class CStatDlg : public QDialog
{
    Q_OBJECT
public:
    // The year and month boxes start at `clock`'s today.
    CStatDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent = nullptr);

    // "某客户各月对比" and "某月各个客户对比": their "统计" buttons.
    void OnStatClient();
    void OnStatMonth();

    QRadioButton* TradeButton(int trade) const { return m_trade[trade]; }
    QRadioButton* BasisButton(int basis) const { return m_basis[basis]; }
    QLineEdit* FromYear() const { return m_fromYear; }
    QLineEdit* FromMonth() const { return m_fromMonth; }
    QLineEdit* ToYear() const { return m_toYear; }
    QLineEdit* ToMonth() const { return m_toMonth; }
    QComboBox* ClientList() const { return m_client; }
    QLineEdit* Year() const { return m_year; }
    QLineEdit* Month() const { return m_month; }
    QPushButton* ClientButton() const { return m_clientButton; }
    QPushButton* MonthButton() const { return m_monthButton; }
    // The rows of the table made last.
    const std::vector<CStatEntry>& Entries() const { return m_entries; }

private:
    void BuildControls(const QDate& today);
    void LoadClients();
    const TradeTwin& Trade() const;
    StatBasis Basis() const;
    // A year and a month of the edits, refused with a message when out of range.
    bool ReadMonth(QLineEdit* yearEdit, QLineEdit* monthEdit, int& year, int& month);
    bool ReadWhole(QLineEdit* edit, int& value);
    bool Refuse(QLineEdit* edit, const QString& message);
    // The main list shows m_entries as the table, the lower pane their chart.
    void ShowTable(const QString& title, bool months);

    CVantrelDoc& m_doc;
    QRadioButton* m_trade[2] = {};
    QRadioButton* m_basis[2] = {};
    QLineEdit* m_fromYear = nullptr;
    QLineEdit* m_fromMonth = nullptr;
    QLineEdit* m_toYear = nullptr;
    QLineEdit* m_toMonth = nullptr;
    QComboBox* m_client = nullptr;
    QLineEdit* m_year = nullptr;
    QLineEdit* m_month = nullptr;
    QPushButton* m_clientButton = nullptr;
    QPushButton* m_monthButton = nullptr;
    std::vector<CStatEntry> m_entries;
};
