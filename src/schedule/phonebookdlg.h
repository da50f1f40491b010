#pragma once

#include <QDialog>
#include <QString>

class CADODatabase;
class CVantrelDoc;
class QLineEdit;

// "常用电话查询": lists in the main window the common telephone numbers of the reference file
// (emergency, public service and customer service numbers) whose name, number or description
// contains a text, or all of them for an empty text; the dialog then closes.
class CPhoneBookDlg : public QDialog
{
    Q_OBJECT
public:
    CPhoneBookDlg(CADODatabase* reference, CVantrelDoc& doc, QWidget* parent = nullptr);

    static QString QueryStatement(const QString& text);

    void OnQuery();

    QLineEdit* SearchText() const { return m_text; }

private:
    CADODatabase* m_pAreaDb;
    CVantrelDoc& m_doc;
    QLineEdit* m_text;
};
