#include "kit/autocompletecombo.h"

#include "kit/autocompletelist.h"
#include "kit/longlistcombo.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
// The first item after `startAfter` (-1: from the top), wrapping round, whose text matches.
template <typename Matches> int FindItem(const QComboBox& combo, int startAfter, Matches matches)
{
    const int count = combo.count();
    const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        if (matches(combo.itemText(index)))
            return index;
    }
    return -1;
}
} // namespace

CAutoCompleteCombo::CAutoCompleteCombo(QObject* parent) : QObject(parent) {}

CAutoCompleteCombo::~CAutoCompleteCombo()
{
    WatchClicks(false);
    if (m_list) {
        m_list->removeEventFilter(this);
        delete m_list.data();
    }
}

bool CAutoCompleteCombo::Init(QWidget* control)
{
    if (m_kind != kNotAttached || !control)
        return false;
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // The pop-up does the completing; the combo's own inline completion would fight it.
        combo->setCompleter(nullptr);
        // A client box holds every client.
        PrepareLongList(combo, kBoxCharacters);
        m_combo = combo;
        m_edit = combo->lineEdit();
        m_kind = kComboBox;
        connect(combo, &QComboBox::activated, this, [this] {
            HidePopup();
            Q_EMIT Changed();
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        m_edit = edit;
        m_kind = kEdit;
    } else {
        return false;
    }
    m_control = control;
    m_list = new CAutoCompleteList(control);
    connect(m_list, &CAutoCompleteList::EntryClicked, this, &CAutoCompleteCombo::TakeSelected);
    connect(m_edit, &QLineEdit::textEdited, this, &CAutoCompleteCombo::OnTextEdited);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &CAutoCompleteCombo::HidePopup);
    m_controlId = control;
    m_editId = m_edit.data();
    m_listId = m_list.data();
    control->installEventFilter(this);
    if (m_edit != control)
        m_edit->installEventFilter(this);
    m_list->installEventFilter(this);
    if (control->window() != control) {
        m_windowId = control->window();
        control->window()->installEventFilter(this);
    }
    return true;
}

void CAutoCompleteCombo::AddCompletion(const QString& text)
{
    if (m_list)
        m_list->AddCompletion(text);
}

int CAutoCompleteCombo::AddString(const QString& text)
{
    if (!m_combo)
        return -1;
    m_combo->addItem(text);
    return m_combo->count() - 1;
}

void CAutoCompleteCombo::AddStrings(const QStringList& texts)
{
    if (m_combo)
        m_combo->addItems(texts);
}

int CAutoCompleteCombo::FindString(int startAfter, const QString& text) const
{
    if (!m_combo)
        return -1;
    return FindItem(*m_combo, startAfter, [&](const QString& item) {
        return item.startsWith(text, Qt::CaseInsensitive);
    });
}

int CAutoCompleteCombo::FindStringExact(int startAfter, const QString& text) const
{
    if (!m_combo)
        return -1;
    return FindItem(*m_combo, startAfter, [&](const QString& item) { return item == text; });
}

int CAutoCompleteCombo::GetCurSel() const
{
    return m_combo ? m_combo->currentIndex() : -1;
}

int CAutoCompleteCombo::SetCurSel(int index)
{
    if (!m_combo)
        return -1;
    if (index < -1 || index >= m_combo->count())
        return -1;
    m_bBusy = true;
    m_combo->setCurrentIndex(index);
    if (index < 0)
        m_edit->clear();
    m_bBusy = false;
    return index;
}

int CAutoCompleteCombo::GetLBText(int index, QString& text) const
{
    if (!m_combo || index < 0 || index >= m_combo->count())
        return -1;
    text = m_combo->itemText(index);
    return int(text.size());
}

int CAutoCompleteCombo::GetCount() const
{
    return m_combo ? m_combo->count() : -1;
}

QString CAutoCompleteCombo::Text() const
{
    return m_edit ? m_edit->text() : QString();
}

void CAutoCompleteCombo::SetText(const QString& text)
{
    if (!m_edit)
        return;
    m_bBusy = true;
    m_edit->setText(text);
    m_bBusy = false;
}

void CAutoCompleteCombo::OnTextEdited()
{
    if (m_bBusy || !m_list)
        return;
    WatchClicks(m_list->ShowMatches(Text()));
    Q_EMIT Changed();
}

void CAutoCompleteCombo::TakeSelected()
{
    if (!m_list || !m_edit)
        return;
    const QString text = m_list->SelectedText();
    if (text.isNull())
        return;
    m_bBusy = true;
    m_edit->setText(text); // the caret goes to the end
    m_edit->setModified(true);
    m_bBusy = false;
    Q_EMIT Changed();
}

bool CAutoCompleteCombo::HandleKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        m_list->MoveSelection(key);
        TakeSelected();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The box takes the highlighted match (the box's text already is the entry the keys
        // moved to); taking it tells the owner.
        TakeSelected();
        HidePopup();
        return true;
    case Qt::Key_Escape:
        HidePopup();
        Q_EMIT Changed();
        return true;
    default:
        return false;
    }
}

bool CAutoCompleteCombo::IsPopupShown() const
{
    return m_list && m_list->isVisible();
}

void CAutoCompleteCombo::HidePopup()
{
    if (m_list)
        m_list->HideList();
    WatchClicks(false);
}

void CAutoCompleteCombo::WatchClicks(bool on)
{
    if (on == m_bWatchingClicks)
        return;
    m_bWatchingClicks = on;
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool CAutoCompleteCombo::IsInsideBoxOrPopup(QObject* object) const
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget)
        return true; // the window-system side of a widget: the widget itself decides
    return (m_list && (widget == m_list || m_list->isAncestorOf(widget))) ||
           (m_control && (widget == m_control || m_control->isAncestorOf(widget)));
}

bool CAutoCompleteCombo::eventFilter(QObject* watched, QEvent* event)
{
    const bool onBox = watched == m_controlId || watched == m_editId;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (onBox && IsPopupShown())
            return HandleKey(static_cast<QKeyEvent*>(event)->key());
        break;
    case QEvent::FocusOut:
        if (onBox)
            HidePopup();
        break;
    case QEvent::Hide:
        if (watched == m_listId)
            WatchClicks(false);
        else if (watched == m_windowId)
            HidePopup();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (m_bWatchingClicks && IsPopupShown() && !IsInsideBoxOrPopup(watched))
            HidePopup();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
