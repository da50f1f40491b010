#include "data/gbktext.h"
#include "kit/autocompletecombo.h"
#include "kit/autocompletelist.h"
#include "kit/completionindex.h"
#include "support/printers.h"
#include "support/typing.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A dialog with a client box, another edit and a default button, as the record dialogs have.
class AutoCompleteTest : public ::testing::Test
{
protected:
    AutoCompleteTest()
    {
        auto* layout = new QVBoxLayout(&m_dialog);
        m_combo = new QComboBox(&m_dialog);
        m_combo->setObjectName(u"client"_s);
        m_other = new QLineEdit(&m_dialog);
        auto* ok = new QPushButton(u"添加"_s, &m_dialog);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &m_dialog, &QDialog::accept);
        layout->addWidget(m_combo);
        layout->addWidget(m_other);
        layout->addWidget(ok);
        m_dialog.resize(300, 200);
        EXPECT_TRUE(m_box.Init(m_combo));
        m_list = m_box.List();
    }

    void Fill(const QStringList& names)
    {
        for (const QString& name : names) {
            m_box.AddString(name);
            m_box.AddCompletion(name);
        }
    }

    void Show()
    {
        m_dialog.show();
        m_dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
        m_combo->setFocus();
        m_box.SetText(QString());
    }

    void Type(const QString& text) { TypeInto(m_combo, text); }
    void Key(Qt::Key key) { QTest::keyClick(m_combo, key); }

    static QStringList Numbered(const QString& prefix, int count)
    {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << u"%1%2"_s.arg(prefix).arg(i, 2, 10, QChar(u'0'));
        return names;
    }

    void SendMouse(QEvent::Type type, const QPoint& local, Qt::MouseButton button,
                   Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(local), QPointF(m_list->mapToGlobal(local)), button,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(m_list, &event);
    }

    QDialog m_dialog;
    QComboBox* m_combo;
    QLineEdit* m_other;
    CAutoCompleteCombo m_box;
    CAutoCompleteList* m_list;
};

TEST_F(AutoCompleteTest, ShowsEntriesBeginningWithTheTextInCodePageOrder)
{
    Fill({u"apple"_s, u"Banana"_s, u"grape a"_s, u"APRICOT"_s, u"avocado"_s, u"北京"_s, u"北方"_s,
          u"北海"_s, u"安徽"_s, u"b2"_s, u"B1"_s});
    Show();
    QSignalSpy changed(&m_box, &CAutoCompleteCombo::Changed);

    Type(u"a"_s);
    EXPECT_TRUE(m_list->isVisible());
    EXPECT_EQ(m_list->Matches(), (QStringList{u"apple"_s, u"APRICOT"_s, u"avocado"_s}));
    EXPECT_EQ(changed.count(), 1);
    Type(u"P"_s);
    EXPECT_EQ(m_list->Matches(), (QStringList{u"apple"_s, u"APRICOT"_s}));

    // Letters without regard to case, the rest in code-page order: 方 海 京 by their sound.
    m_box.SetText(QString());
    Type(u"b"_s);
    EXPECT_EQ(m_list->Matches(), (QStringList{u"B1"_s, u"b2"_s, u"Banana"_s}));
    m_box.SetText(QString());
    Type(u"北"_s);
    EXPECT_EQ(m_list->Matches(), (QStringList{u"北方"_s, u"北海"_s, u"北京"_s}));

    // A text that begins no entry hides the list; the owner still hears of the change.
    changed.clear();
    Type(u"x"_s);
    EXPECT_FALSE(m_list->isVisible());
    EXPECT_EQ(changed.count(), 1);
    Key(Qt::Key_Backspace);
    EXPECT_TRUE(m_list->isVisible());
    // So does an emptied box.
    m_combo->lineEdit()->selectAll();
    Key(Qt::Key_Backspace);
    EXPECT_EQ(m_box.Text(), QString());
    EXPECT_FALSE(m_list->isVisible());
}

TEST_F(AutoCompleteTest, ListIsAtMostEightRowsWithAScrollBarBeyond)
{
    Fill(Numbered(u"甲"_s, 3) + Numbered(u"乙"_s, 20));
    Show();
    const int rowHeight = m_list->RowHeight();
    const int border = CAutoCompleteList::kBorder;

    Type(u"甲"_s);
    ASSERT_TRUE(m_list->isVisible());
    EXPECT_EQ(m_list->MatchCount(), 3);
    EXPECT_EQ(m_list->height(), 3 * rowHeight + 2 * border);
    EXPECT_EQ(m_list->width(), m_combo->width());
    EXPECT_EQ(m_list->pos(), m_combo->mapToGlobal(QPoint(0, m_combo->height())));
    EXPECT_FALSE(m_list->ScrollBarShown());

    m_box.SetText(QString());
    Type(u"乙"_s);
    EXPECT_EQ(m_list->MatchCount(), 20);
    EXPECT_EQ(m_list->height(), 8 * rowHeight + 2 * border);
    EXPECT_EQ(m_list->VisibleRows(), 8);
    EXPECT_TRUE(m_list->ScrollBarShown());
    EXPECT_EQ(m_list->ScrollBar()->maximum(), 12);
}

TEST_F(AutoCompleteTest, KeysMoveTheSelectionWrapAndFillTheBox)
{
    const QStringList names = Numbered(u"c"_s, 20);
    Fill(names);
    Show();
    QSignalSpy changed(&m_box, &CAutoCompleteCombo::Changed);
    Type(u"c"_s);

    // Up from the first row, highlighted on showing, wraps to the last row, which is scrolled
    // into view.
    Key(Qt::Key_Up);
    EXPECT_EQ(m_list->SelectedIndex(), 19);
    EXPECT_EQ(m_box.Text(), names[19]);
    EXPECT_TRUE(m_combo->lineEdit()->isModified());
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_list->TopIndex() == 12; }, 2000));
    // Down from the last wraps to the first; the combo's own selection does not move.
    const int ownSelection = m_combo->currentIndex();
    Key(Qt::Key_Down);
    EXPECT_EQ(m_list->SelectedIndex(), 0);
    EXPECT_EQ(m_box.Text(), names[0]);
    EXPECT_EQ(m_combo->currentIndex(), ownSelection);
    EXPECT_TRUE(m_list->isVisible()); // taking an entry is no new matching pass
    EXPECT_EQ(m_list->MatchCount(), 20);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(m_list->SelectedIndex(), 8);
    Key(Qt::Key_End);
    EXPECT_EQ(m_list->SelectedIndex(), 19);
    Key(Qt::Key_PageDown); // at most the last, no wrap
    EXPECT_EQ(m_list->SelectedIndex(), 19);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(m_list->SelectedIndex(), 11);
    Key(Qt::Key_Home);
    EXPECT_EQ(m_list->SelectedIndex(), 0);
    EXPECT_EQ(changed.count(), 1 + 7);

    // Escape closes the list and tells the owner; hiding forgets the selection.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(m_list->isVisible());
    EXPECT_EQ(m_list->SelectedIndex(), -1);
    EXPECT_EQ(m_list->TopIndex(), 0);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(changed.count(), 1 + 7 + 1);
    // Hidden, the keys are the combo's own again.
    Key(Qt::Key_Down);
    EXPECT_NE(m_combo->currentIndex(), ownSelection);
}

// The list shows under the box with room around its rows and the first match highlighted, so
// Enter takes it; the keys move the highlight first. Enter never closes the dialog while the
// list is shown. Near the foot of the screen the list shows above the box instead.
TEST_F(AutoCompleteTest, EnterTakesTheHighlightedMatchNotTheDialog)
{
    Fill({u"大明"_s, u"大华"_s, u"大华电子"_s});
    Show();
    QSignalSpy changed(&m_box, &CAutoCompleteCombo::Changed);
    Type(u"大"_s);
    ASSERT_TRUE(m_list->isVisible());
    EXPECT_GE(m_list->RowHeight(), m_list->fontMetrics().height() + 4);
    EXPECT_EQ(m_list->height(), 3 * m_list->RowHeight() + 2 * CAutoCompleteList::kBorder);
    EXPECT_GE(m_list->geometry().top(), m_combo->mapToGlobal(QPoint(0, m_combo->height())).y());
    EXPECT_EQ(m_list->SelectedIndex(), 0);
    const QImage image = m_list->grab().toImage();
    EXPECT_EQ(image.pixelColor(m_list->width() / 2, m_list->RowRect(0).center().y()),
              m_list->palette().color(QPalette::Highlight));

    changed.clear();
    Key(Qt::Key_Return);
    EXPECT_FALSE(m_list->isVisible());
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), 0);
    EXPECT_EQ(m_box.Text(), u"大华"_s);
    EXPECT_EQ(changed.count(), 1);

    // Typing on narrows the list and highlights its first match again; Down moves on from it.
    Type(u"电"_s);
    EXPECT_EQ(m_list->Matches(), (QStringList{u"大华电子"_s}));
    EXPECT_EQ(m_list->SelectedIndex(), 0);
    m_box.SetText(QString());
    Type(u"大"_s);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(m_box.Text(), u"大华电子"_s);
    // Escape keeps what was typed.
    m_box.SetText(QString());
    Type(u"大"_s);
    Key(Qt::Key_Escape);
    EXPECT_EQ(m_box.Text(), u"大"_s);
    // With the list hidden Enter is the dialog's again.
    Key(Qt::Key_Return);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), int(QDialog::Accepted));

    // At the foot of the screen the list shows above the box, not off the screen.
    const QRect screen = m_dialog.screen()->availableGeometry();
    m_dialog.move(screen.left(), screen.bottom() - m_combo->geometry().bottom() - 10);
    Show();
    Type(u"大"_s);
    ASSERT_TRUE(m_list->isVisible());
    EXPECT_LE(m_list->geometry().bottom(), m_combo->mapToGlobal(QPoint(0, 0)).y());
    EXPECT_GE(m_list->geometry().top(), screen.top());
}

TEST_F(AutoCompleteTest, MouseHoverSelectsAndAClickTakesTheEntry)
{
    Fill({u"m1"_s, u"m2"_s, u"m3"_s});
    Show();
    QSignalSpy changed(&m_box, &CAutoCompleteCombo::Changed);
    Type(u"m"_s);
    ASSERT_TRUE(m_list->isVisible());

    SendMouse(QEvent::MouseMove, m_list->RowRect(2).center(), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_list->SelectedIndex(), 2);
    EXPECT_EQ(m_box.Text(), u"m"_s); // hovering takes nothing

    // The selected row is painted in the highlight colour, the others on the window colour.
    // (Right of the texts, left of the size grip in the corner.)
    const QImage image = m_list->grab().toImage();
    const int x = m_list->GripRect().left() - 3;
    EXPECT_EQ(image.pixelColor(x, m_list->RowRect(2).center().y()),
              m_list->palette().color(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(x, m_list->RowRect(0).center().y()),
              m_list->palette().color(QPalette::Base));
    EXPECT_EQ(image.pixelColor(0, 0), m_list->palette().color(QPalette::Text)); // the frame

    changed.clear();
    QTest::mouseClick(m_list, Qt::LeftButton, {}, m_list->RowRect(1).center());
    EXPECT_EQ(m_box.Text(), u"m2"_s);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(m_list->isVisible()); // stays on show a moment
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_list->isVisible(); }, 3000));

    // A right click hides the list.
    m_box.SetText(QString());
    Type(u"m"_s);
    ASSERT_TRUE(m_list->isVisible());
    QTest::mouseClick(m_list, Qt::RightButton, {}, m_list->RowRect(0).center());
    EXPECT_FALSE(m_list->isVisible());
}

TEST_F(AutoCompleteTest, GripResizesAndTheSizeIsKept)
{
    Fill({u"g1"_s, u"g2"_s});
    Show();
    Type(u"g"_s);
    ASSERT_TRUE(m_list->isVisible());
    const QSize before = m_list->size();
    const QPoint grip = m_list->GripRect().center();

    SendMouse(QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseMove, grip + QPoint(40, 60), Qt::NoButton, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, grip + QPoint(40, 60), Qt::LeftButton, Qt::NoButton);
    const QSize grown = before + QSize(40, 60);
    EXPECT_EQ(m_list->size(), grown);
    EXPECT_EQ(m_list->SavedSize(), grown);
    EXPECT_EQ(m_box.Text(), u"g"_s);

    // The kept size holds for the next showing; a click below the last row does nothing.
    Key(Qt::Key_Escape);
    Type(u"1"_s);
    ASSERT_TRUE(m_list->isVisible());
    EXPECT_EQ(m_list->size(), grown);
    QTest::mouseClick(m_list, Qt::LeftButton, {},
                      QPoint(10, m_list->RowRect(0).bottom() + m_list->RowHeight()));
    EXPECT_TRUE(m_list->isVisible());
    EXPECT_EQ(m_box.Text(), u"g1"_s);

    // Never narrower than the box.
    const QPoint corner = m_list->GripRect().center();
    SendMouse(QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseMove, corner - QPoint(1000, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, corner - QPoint(1000, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_list->width(), m_combo->width());
}

TEST_F(AutoCompleteTest, HidesWhenTheDialogMovesOrTheBoxLosesTheFocus)
{
    Fill({u"h1"_s, u"h2"_s});
    Show();
    Type(u"h"_s);
    ASSERT_TRUE(m_list->isVisible());
    m_dialog.move(m_dialog.pos() + QPoint(30, 10));
    EXPECT_TRUE(m_list->isVisible()); // noticed by the watch, not at once
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_list->isVisible(); }, 2000));

    Type(u"1"_s);
    ASSERT_TRUE(m_list->isVisible());
    m_other->setFocus();
    EXPECT_FALSE(m_list->isVisible());

    // A press elsewhere in the dialog closes it too.
    m_combo->setFocus();
    Type(u"2"_s);
    m_box.SetText(QString());
    Type(u"h"_s);
    ASSERT_TRUE(m_list->isVisible());
    QTest::mouseClick(&m_dialog, Qt::LeftButton, {}, QPoint(2, m_dialog.height() - 2));
    EXPECT_FALSE(m_list->isVisible());

    // So do a click on the list's frame and a switch of the application.
    Type(u"1"_s);
    ASSERT_TRUE(m_list->isVisible());
    QTest::mouseClick(m_list, Qt::LeftButton, {}, QPoint(0, 5));
    EXPECT_FALSE(m_list->isVisible());
    EXPECT_EQ(m_box.Text(), u"h1"_s);
    Key(Qt::Key_Backspace);
    ASSERT_TRUE(m_list->isVisible());
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(m_list->isVisible());
    // And the combo's own drop-down list opening.
    Type(u"1"_s);
    ASSERT_TRUE(m_list->isVisible());
    m_combo->showPopup();
    EXPECT_FALSE(m_list->isVisible());
    m_combo->hidePopup();
}

TEST_F(AutoCompleteTest, PassesComboOperationsThrough)
{
    Fill({u"apple"_s, u"Apricot"_s, u"pear"_s});
    EXPECT_EQ(m_box.ControlKind(), CAutoCompleteCombo::kComboBox);
    EXPECT_EQ(m_box.GetCount(), 3);
    EXPECT_EQ(m_box.FindString(-1, u"AP"_s), 0);
    EXPECT_EQ(m_box.FindString(0, u"AP"_s), 1);
    EXPECT_EQ(m_box.FindString(1, u"ap"_s), 0); // wraps round
    EXPECT_EQ(m_box.FindStringExact(-1, u"apricot"_s), -1);
    EXPECT_EQ(m_box.FindStringExact(-1, u"Apricot"_s), 1);
    EXPECT_EQ(m_box.SetCurSel(2), 2);
    EXPECT_EQ(m_box.GetCurSel(), 2);
    EXPECT_EQ(m_box.Text(), u"pear"_s);
    EXPECT_FALSE(m_list->isVisible()); // the program's own change starts no matching
    QString text;
    EXPECT_EQ(m_box.GetLBText(1, text), 7);
    EXPECT_EQ(text, u"Apricot"_s);
    EXPECT_EQ(m_box.GetLBText(3, text), -1);
    EXPECT_EQ(m_box.SetCurSel(5), -1);
}

// The index sorts once by character ranks; the matches must be exactly the entries a plain
// scan finds, in the order a plain code-page comparison gives.
TEST(CompletionIndex, MatchesEqualAScanSortedInCodePageOrder)
{
    const QStringList alphabet = {u"a"_s, u"A"_s,  u"b"_s,  u"Z"_s,  u"_"_s,  u"["_s,
                                  u"1"_s, u"北"_s, u"京"_s, u"方"_s, u"海"_s, u"😀"_s,
                                  u"é"_s, u" "_s,  u"z"_s,  u"'"_s};
    std::mt19937 random(7);
    CCompletionIndex index;
    std::vector<QString> entries;
    for (int i = 0; i < 600; ++i) {
        QString entry;
        const int length = 1 + int(random() % 5);
        for (int j = 0; j < length; ++j)
            entry += alphabet[qsizetype(random() % alphabet.size())];
        entries.push_back(entry);
        index.Add(entry);
    }
    QStringList prefixes = alphabet;
    prefixes << u"ab"_s << u"AB"_s << u"北京"_s << u"😀a"_s << u"a "_s << u"nothing"_s;
    for (const QString& prefix : prefixes) {
        std::vector<QString> expected;
        for (const QString& entry : entries)
            if (FoldAsciiCase(entry).startsWith(FoldAsciiCase(prefix)))
                expected.push_back(entry);
        std::stable_sort(expected.begin(), expected.end(),
                         [](const QString& a, const QString& b) { return CompareGbk(a, b) < 0; });
        EXPECT_EQ(index.Matches(prefix), QStringList(expected.begin(), expected.end()))
            << prefix.toStdString();
    }
    EXPECT_TRUE(index.Matches(QString()).isEmpty());
}

TEST(AutoCompleteEdit, WorksOnALineEditWithoutComboOperations)
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    CAutoCompleteCombo box;
    ASSERT_TRUE(box.Init(edit));
    EXPECT_EQ(box.ControlKind(), CAutoCompleteCombo::kEdit);
    EXPECT_FALSE(box.Init(edit));
    EXPECT_EQ(box.AddString(u"x"_s), -1);
    EXPECT_EQ(box.GetCount(), -1);
    EXPECT_EQ(box.GetCurSel(), -1);
    QString text;
    EXPECT_EQ(box.GetLBText(0, text), -1);
    box.AddCompletion(u"Xiamen"_s);
    dialog.show();
    edit->setFocus();
    TypeInto(edit, u"x"_s);
    EXPECT_TRUE(box.List()->isVisible());
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), u"Xiamen"_s);

    CAutoCompleteCombo none;
    EXPECT_FALSE(none.Init(new QPushButton(&dialog)));
    EXPECT_EQ(none.ControlKind(), CAutoCompleteCombo::kNotAttached);
}

} // namespace
