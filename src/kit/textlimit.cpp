#include "kit/textlimit.h"

#include <QPlainTextEdit>
#include <QTextCursor>

void LimitPlainText(QPlainTextEdit* edit, int maxLength)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxLength] {
        const QString text = edit->toPlainText();
        if (text.size() <= maxLength)
            return;
        qsizetype keep = maxLength;
        // A character beyond the first 65,536 takes two places: keep it whole or not at all.
        if (keep > 0 && text.at(keep - 1).isHighSurrogate())
            --keep;
        QTextCursor cursor(edit->document());
        cursor.setPosition(int(keep));
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        edit->moveCursor(QTextCursor::End);
    });
}
