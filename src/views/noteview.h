#pragma once

#include <QPlainTextEdit>

class CVantrelDoc;

// The text view in the lower right pane: the long text of the note, appointment or reminder
// clicked in the main list. Lines wrap; the text can be edited, but nothing typed is saved.
class CNoteView : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CNoteView(CVantrelDoc& doc, QWidget* parent = nullptr);

    void SetText(const QString& text) { setPlainText(text); }
    QString Text() const { return toPlainText(); }
};
