#include "views/noteview.h"

#include "views/vantreldoc.h"

using namespace Qt::StringLiterals;

CNoteView::CNoteView(CVantrelDoc& doc, QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName(u"NoteView"_s);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(false);
    doc.RegisterView(this);
}
