#pragma once

#include <QDialog>
#include <QString>

class CADODatabase;
class CADORecordset;
class QLineEdit;
class QTableWidget;

// "分类属性默认资料管理": the values of the eleven attribute dictionaries. The user picks a kind
// on the left, sees its values on the right and adds, renames or deletes one; each dictionary
// keeps at most one row per value. Messages are plain boxes and the dialog stays open.
class CCategoryDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CCategoryDlg(CADODatabase* database, QWidget* parent = nullptr);

    // The kind whose values are listed; -1 when none is chosen.
    int SelectedKind() const { return m_nKind; }
    // Chooses a kind as a click on its row does and lists its values.
    void SelectKind(int kind);
    // Puts a listed value into the value edit, as a click on it does.
    void SelectValue(int row);

    void OnAdd();
    void OnModify();
    void OnDelete();

    QTableWidget* KindList() const { return m_kinds; }
    QTableWidget* ValueList() const { return m_values; }
    QLineEdit* ValueEdit() const { return m_valueEdit; }

private:
    void FillValues();
    void AppendValue(const QString& value);
    // The selected row of the values list, -1 when none.
    int SelectedValueRow() const;
    QString ValueAt(int row) const;
    // False, after telling the user, when no kind is chosen.
    bool KindChosen();
    // Opens the rows of the chosen kind's dictionary that hold `value`; false when the statement
    // fails or, after telling the user `taken`, when there are any.
    bool OpenNewValue(CADORecordset& recordset, const QString& value, const QString& taken);
    // Opens the dictionary row behind a listed value and stands on it; false when the statement
    // fails or, after telling the user `missing`, when the row is gone.
    bool OpenListedValue(CADORecordset& recordset, int row, const QString& missing);

    CADODatabase* m_db;
    int m_nKind = -1;
    QTableWidget* m_kinds;
    QTableWidget* m_values;
    QLineEdit* m_valueEdit;
};
