#include "kit/textlimit.h"

#include "data/gbktext.h"

#include <QPlainTextEdit>
#include <QTextCursor>

void LimitPlainText(QPlainTextEdit* edit, int maxBytes)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxBytes] {
        const QString text = edit->toPlainText();
        if (GbkLength(text) <= maxBytes)
            return;
        QTextCursor cursor(edit->document());
        cursor.setPosition(int(GbkLeft(text, maxBytes).size()));
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        edit->moveCursor(QTextCursor::End);
    });
}
