// Windows used by hand, with real keys and clicks: where the focus starts,
// where Tab leads, and where a window shown again comes back.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTreeWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "main_window/desc_list_window.h"
#include "main_window/parent_pick.h"
#include "main_window/preferences_window.h"
#include "tests/main_window/window_fixture.h"

namespace lintora {
namespace {

using testing::MainWindowTest;

class WindowUseTest : public MainWindowTest {
protected:
    // Opens a modal window with open(), runs look(window) inside it and
    // closes it with Escape if it is still open.
    template <typename Window, typename Open, typename Look>
    void InModal(Open open, Look look) {
        bool looked = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            look(window);
            looked = true;
            if (window->isVisible()) QTest::keyClick(window, Qt::Key_Escape);
        });
        open();
        ASSERT_TRUE(looked);
    }
    // Keys as the keyboard gives them: to the window, which hands them to
    // its focus.
    static void Type(QWidget* window, const QString& text) {
        for (QChar c : text) QTest::keyClick(window->windowHandle(), c.toLatin1());
    }
    static void Press(QWidget* window, Qt::Key key) { QTest::keyClick(window->windowHandle(), key); }
    // Presses Tab until the focus is on target; false if it never gets there.
    static bool TabTo(QWidget* window, QWidget* target) {
        for (int i = 0; i < 30 && window->focusWidget() != target; ++i) Press(window, Qt::Key_Tab);
        return window->focusWidget() == target;
    }
};

// A first opening: the name typed lands in the Name box, Tab leads from the
// note box on to OK. Opened again after the user left the focus on a tick
// box, the focus is in the Name box again, its text ready to be typed over.
TEST_F(WindowUseTest, PreferencesStartInTheNameBoxAndTabLeadsOutOfTheNote) {
    w->show();
    InModal<LintoraPreferences>([&] { w->mnuPrefs_Click(); }, [&](LintoraPreferences* p) {
        EXPECT_EQ(p->focusWidget(), p->Text(1));
        Type(p, "Anna Lindqvist");
        EXPECT_EQ(p->Text(1)->text(), "Anna Lindqvist");
        EXPECT_TRUE(p->PrepCheck()->isChecked());
        p->NoteCheck()->click();
        ASSERT_TRUE(TabTo(p, p->NoteBox()));
        Type(p, "From the parish books");
        Press(p, Qt::Key_Tab);
        EXPECT_NE(p->focusWidget(), p->NoteBox());
        EXPECT_EQ(p->NoteBox()->toPlainText(), "From the parish books");
        ASSERT_TRUE(TabTo(p, p->OkButton()));
        Press(p, Qt::Key_Space);
        EXPECT_FALSE(p->isVisible());
    });
    EXPECT_EQ(g.prefName, "Anna Lindqvist");
    EXPECT_EQ(g.prefNotes, "From the parish books");

    InModal<LintoraPreferences>([&] { w->mnuPrefs_Click(); }, [&](LintoraPreferences* p) {
        EXPECT_EQ(p->focusWidget(), p->Text(1));
        EXPECT_EQ(p->Text(1)->selectedText(), "Anna Lindqvist");
        EXPECT_EQ(p->Text(1)->cursorPosition(), 0);
        QTest::mouseClick(p->NoteCheck(), Qt::LeftButton);
        EXPECT_EQ(p->focusWidget(), p->NoteCheck());
        EXPECT_FALSE(p->NoteCheck()->isChecked());
    });
    InModal<LintoraPreferences>([&] { w->mnuPrefs_Click(); }, [&](LintoraPreferences* p) {
        EXPECT_EQ(p->focusWidget(), p->Text(1));
        Type(p, "Anna Berg");
        EXPECT_EQ(p->Text(1)->text(), "Anna Berg");
        EXPECT_FALSE(p->NoteCheck()->isChecked());
    });
}

// The user drags Preferences and the descendants list aside (the window
// manager moves them, not the program); closed and opened again they come
// back where he left them, and again where they were after that.
TEST_F(WindowUseTest, WindowsComeBackWhereTheUserLeftThem) {
    const int32_t father = Person("Samuel", "WHITLOCK", "M", "1801");
    Child(Person("John Henry", "WHITLOCK", "M", "1832"), Family(father, Person("Abigail", "MARSH", "F", "1805")));
    g.TreeSlot[0] = father;
    g.CurIndiv = father;
    w->RedrawTree();
    w->show();
    QCoreApplication::processEvents();

    auto walk = [&]<typename Window>(Window*, auto open) {
        QPoint dragged;
        InModal<Window>(open, [&](Window* window) {
            dragged = window->pos() + QPoint(37, 23);
            window->windowHandle()->setFramePosition(dragged);
            QCoreApplication::processEvents();
            ASSERT_EQ(window->pos(), dragged);
        });
        for (int again = 0; again < 2; ++again)
            InModal<Window>(open, [&](Window* window) {
                EXPECT_EQ(window->pos(), dragged) << Window::staticMetaObject.className() << " " << again;
            });
    };
    walk(static_cast<LintoraPreferences*>(nullptr), [&] { w->mnuPrefs_Click(); });
    walk(static_cast<LintoraDescList*>(nullptr), [&] { w->mnuPopup1Item_Click(3); });
}

// A page naming two sets of parents: the choice panel opens over the
// pedigree, and Escape answers it as Cancel does: no parents linked.
TEST_F(WindowUseTest, EscapeCancelsTheParentSetChoice) {
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QGuiApplication::clipboard()->setText(
        "FamilySearch(TM) Ancestral File Individual Record\n"
        "Ancestral File (TM) v4.19 Individual Record\n\n"
        "Ann LEE (AFN: 3C4D-5FG)\nSex: F\n\n"
        "Event(s):\nBirth: 1840\n\tSalem, Essex, Massachusetts\n\n"
        "Parents:\nFather: Tom LEE\nMother: Sue KANE\n"
        "Father: Will LEE\nMother: Kate ROE\n\n"
        "Submitter Information\n");
    w->Timer1_Timer();
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    auto* pick = static_cast<ParentPickPanel*>(w->Panel("parents"));
    ASSERT_TRUE(pick->isVisible());
    ASSERT_EQ(pick->ParentList()->topLevelItemCount(), 2);
    const int32_t ann = g.TreeSlot[0];
    ASSERT_GT(ann, 0);

    // The window manager hands the keyboard back once the paste's progress window is gone.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }));
    QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(pick->isVisible());
    EXPECT_EQ(g.Indiv[ann].iFamc, 0);
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(w->lblTree[0]->text(), " Ann LEE  (1840-    )");
    EXPECT_TRUE(w->lblTree[1]->text().isEmpty());
}

// On a 1024 x 768 screen the whole window fits, its status panels with it;
// the pedigree scrolls to its fifth generation and the "more" buttons, and a
// long message line does not widen the window again.
TEST_F(WindowUseTest, TheMainWindowFitsASmallScreenAndThePedigreeScrolls) {
    Ancestors(g.TreeSlot[0] = Person("Edward Augustus", "HANOVER", "M", "1767", "1820"), 5, 1767);
    LoadGenTree();
    w->RedrawTree();
    w->show();
    // It opens no larger than the screen it is on.
    const QRect screen = w->screen()->availableGeometry();
    EXPECT_LE(w->frameGeometry().width(), screen.width());
    EXPECT_LE(w->frameGeometry().height(), screen.height());

    const QSize small(1024 - 16, 768 - 48);
    w->resize(small);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), small);
    for (QLabel* panel : w->statusPanels)
        EXPECT_LE(panel->mapTo(w, QPoint(panel->width(), 0)).x(), w->width()) << panel->toolTip().toStdString();
    auto* scroll = w->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    ASSERT_TRUE(scroll->horizontalScrollBar()->isVisible());
    const auto inView = [&](QWidget* x) {
        return scroll->viewport()->rect().contains(QRect(x->mapTo(scroll->viewport(), QPoint(0, 0)), x->size()));
    };
    QPushButton* more = w->Command1[15];
    ASSERT_TRUE(more->isVisibleTo(w));
    EXPECT_FALSE(inView(more));
    // Scrolled to the right, as with the scroll bar's arrow held down.
    for (int i = 0; i < 200 && !inView(more); ++i)
        QTest::mouseClick(scroll->horizontalScrollBar(), Qt::LeftButton, {},
                          QPoint(scroll->horizontalScrollBar()->width() - 4, 4));
    EXPECT_TRUE(inView(more));
    EXPECT_TRUE(inView(w->lblTree[30]));
    EXPECT_TRUE(inView(w->lblTree[15]));
    const int32_t mother = g.TreeSlot[2];
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_EQ(g.TreeSlot[0], mother);

    // Scrolled back to the root, a panel opening at the right edge is
    // brought into view.
    scroll->horizontalScrollBar()->setValue(0);
    w->mnuEditItem_Click(0);
    ASSERT_TRUE(w->Panel("place")->isVisible());
    EXPECT_TRUE(inView(w->Panel("place")));

    w->lblDspMsg->setText(QString(300, QChar('x')));
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), small);
}

}  // namespace
}  // namespace lintora
