#pragma once

#include <QDialog>
#include <QString>

class CADODatabase;
class CVantrelDoc;
class QComboBox;
class QLineEdit;
class QPushButton;

// "邮编、电话区号查询": looks up Chinese postcodes and area codes ("国内部分") or international
// dialling codes ("国际部分") in the reference file, by the chosen field containing a text, and
// lists what it finds in the main window; the dialog then closes.
class CZipQueryDlg : public QDialog
{
    Q_OBJECT
public:
    // The field choices, in their order: 省份, 城市, 邮编, 区号 and 洲, 国家及地区, 区号.
    CZipQueryDlg(CADODatabase* reference, CVantrelDoc& doc, QWidget* parent = nullptr);

    // The statement of a field position and a search text; empty for a position outside the
    // choices, which runs nothing.
    static QString DomesticStatement(int field, const QString& text);
    static QString InternationalStatement(int field, const QString& text);

    void OnDomesticQuery();
    void OnInternationalQuery();

    QComboBox* DomesticField() const { return m_domesticField; }
    QLineEdit* DomesticText() const { return m_domesticText; }
    QComboBox* InternationalField() const { return m_internationalField; }
    QLineEdit* InternationalText() const { return m_internationalText; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs the search of one part: refuses an empty text, otherwise fills the list and closes.
    void Query(const QLineEdit* text, int category, const QString& sql);

    CADODatabase* m_pAreaDb;
    CVantrelDoc& m_doc;
    QComboBox* m_domesticField;
    QLineEdit* m_domesticText;
    QPushButton* m_domesticQuery;
    QComboBox* m_internationalField;
    QLineEdit* m_internationalText;
    QPushButton* m_internationalQuery;
};
