#pragma once

#include <QDialog>
#include <QString>

#include <map>

class CClock;
class CVantrelDoc;
class QDateTimeEdit;
class QLineEdit;
class QPushButton;

// "便笺分类查询": lists notes in the main window by a range of days, by a text in their
// caption, by a text in their content, or all of them, the latest day first; the dialog closes
// after any query, also one that finds nothing. Enter presses the "查询" of the group whose
// control has the focus. Texts go into the statements only through SqlText; LIKE's wildcards
// % and _ keep their meaning.
class CNotepaperQueryDlg : public QDialog
{
    Q_OBJECT
public:
    enum Group { kDateGroup, kCaptionGroup, kContentGroup };

    // The longest search text: SQLite refuses a LIKE pattern of more than 50,000 bytes, and a
    // character takes at most three bytes of UTF-8.
    static constexpr int kSearchMaxLength = 16000;

    // The date pickers start at `clock`'s now.
    CNotepaperQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent = nullptr);

    void OnQueryDate();
    void OnQueryCaption();
    void OnQueryContent();
    void OnQueryAll();

    QPushButton* QueryButton(Group group) const { return m_queryButtons.at(group); }

private:
    void BuildControls();
    void Run(const QString& sql);

    CVantrelDoc& m_doc;
    QDateTimeEdit* m_start = nullptr;
    QDateTimeEdit* m_end = nullptr;
    QLineEdit* m_caption = nullptr;
    QLineEdit* m_content = nullptr;
    std::map<Group, QPushButton*> m_queryButtons;
};
