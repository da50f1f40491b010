#pragma once

#include <QDialog>
#include <QString>

class CADODatabase;
class CVantrelDoc;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;

// "客户分类查询": lists in the main window the clients that have a given value of one of their
// attributes (or whose name contains a text), or all clients. A successful query closes the
// dialog; every refusal leaves it open.
class CClientQueryDlg : public QDialog
{
    Q_OBJECT
public:
    // Row 0 of the kinds list is "名称"; row i + 1 is attribute kind i.
    static constexpr int kNameRow = 0;

    CClientQueryDlg(CADODatabase* database, CVantrelDoc& doc, QWidget* parent = nullptr);

    // The chosen row of the kinds list; -1 when none.
    int SelectedKind() const { return m_nKind; }
    // Chooses a kind as a click on its row does and offers its dictionary's values.
    void SelectKind(int row);

    void OnQuery();
    void OnQueryAll();

    // The statement a query runs for a kinds-list row and a value.
    static QString QueryStatement(int row, const QString& value);
    static QString QueryAllStatement();

    QTableWidget* KindList() const { return m_kinds; }
    QLineEdit* ValueEdit() const { return m_valueEdit; }
    QListWidget* ValueList() const { return m_valueList; }
    QString HelpText() const;

private:
    void Run(const QString& sql);

    CADODatabase* m_db;
    CVantrelDoc& m_doc;
    int m_nKind = -1;
    QTableWidget* m_kinds;
    // The value combo: an edit for free text over the always visible list of suggestions.
    QLineEdit* m_valueEdit;
    QListWidget* m_valueList;
    QPlainTextEdit* m_help;
};
