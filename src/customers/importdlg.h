#pragma once

#include "customers/importfields.h"
#include "customers/importplan.h"
#include "data/importtable.h"

#include <QDialog>
#include <QString>

#include <vector>

class CADODatabase;
class CVantrelDoc;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// "导入客户" / "导入联系人": shows the first rows of a spreadsheet, lets the user say which
// field each column is (suggested from the header), and says before anything is written how
// many rows will be added and how many skipped, and why. "导入" adds them all in one
// transaction, or nothing; the main list then shows the clients added (for contacts: the
// clients that received them).
class CImportDlg : public QDialog
{
    Q_OBJECT
public:
    // Rows of the file the preview shows.
    static constexpr int kPreviewRows = 20;

    CImportDlg(ImportKind kind, CADODatabase* database, CVantrelDoc& doc,
               QWidget* parent = nullptr);

    // Reads the file and fills the dialog; false after telling the user why it cannot be
    // imported.
    bool Load(const QString& path);

    // "导入".
    void OnImport();

    // The field box of a file column; its current data is the field's index (-1: not
    // imported).
    QComboBox* FieldBox(int column) const;
    QTableWidget* Preview() const { return m_preview; }
    QString ReportText() const;
    const CImportPlan& Plan() const { return m_plan; }

private:
    void FillColumns();
    void FillPreview();
    void OnFieldChosen(int column);
    void Replan();
    std::vector<int> ChosenFields() const;
    void ShowAdded(int first, int last);

    ImportKind m_kind;
    CADODatabase* m_db;
    CVantrelDoc& m_doc;
    ImportTable m_table;
    CImportPlan m_plan;
    QLabel* m_file;
    QTableWidget* m_columns;
    QTableWidget* m_preview;
    QPlainTextEdit* m_report;
    QPushButton* m_import;
    std::vector<QComboBox*> m_fieldBoxes;
};
