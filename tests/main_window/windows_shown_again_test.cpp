// Windows that are closed and opened again, as a person uses them: where
// they come back.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "main_window/desc_list_window.h"
#include "main_window/preferences_window.h"
#include "tests/main_window/window_fixture.h"

namespace lintora {
namespace {

using testing::MainWindowTest;

class WindowsShownAgainTest : public MainWindowTest {
protected:
    // Opens a modal window with open(), runs look(window) inside it and
    // closes it with Escape.
    template <typename Window, typename Open, typename Look>
    void InModal(Open open, Look look) {
        bool looked = false;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            look(window);
            looked = true;
            QTest::keyClick(window, Qt::Key_Escape);
        });
        open();
        ASSERT_TRUE(looked);
    }
};

// The user drags Preferences and the descendants list aside (the window
// manager moves them, not the program); closed and opened again they come
// back where he left them, and again where they were after that.
TEST_F(WindowsShownAgainTest, WindowsComeBackWhereTheUserLeftThem) {
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

}  // namespace
}  // namespace lintora
