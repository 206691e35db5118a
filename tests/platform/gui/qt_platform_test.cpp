#include "platform/qt/qt_platform.h"
#include "platform/navigate.h"
#include "tests/support/launcher.h"
#include "tests/support/qt_app.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTest>
#include <QThread>
#include <QFile>
#include <QTimer>
#include <QTreeView>
#include <QScreen>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <tuple>

namespace lintora {
namespace {

using testing::EnsureApp;

class QtPlatformTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApp(); }
    QtPlatform platform;
};

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Presses a button of the next message box and tells what the box showed.
void PressWhenShown(Seen& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size())};
        if (press == QMessageBox::NoButton)
            box->close();
        else
            box->button(press)->click();
    });
}

TEST_F(QtPlatformTest, MessageBoxesCarryTheProgramTitleAndReturnThePressedButton) {
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        QMessageBox::StandardButton press;
        MsgResult result;
        int count;
        QMessageBox::Icon qicon;
    } cases[] = {
        {MsgButtons::Ok, MsgIcon::Information, QMessageBox::Ok, MsgResult::Ok, 1, QMessageBox::Information},
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::No, MsgResult::No, 2, QMessageBox::Question},
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::Yes, MsgResult::Yes, 2, QMessageBox::Question},
        {MsgButtons::YesNoCancel, MsgIcon::Exclamation, QMessageBox::Cancel, MsgResult::Cancel, 3,
         QMessageBox::Warning},
        {MsgButtons::OkCancel, MsgIcon::None, QMessageBox::Cancel, MsgResult::Cancel, 2, QMessageBox::NoIcon},
        {MsgButtons::YesNoCancel, MsgIcon::Question, QMessageBox::NoButton, MsgResult::Cancel, 3,
         QMessageBox::Question},
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::NoButton, MsgResult::Dismissed, 2,
         QMessageBox::Question},
    };
    for (const Case& c : cases) {
        Seen seen;
        PressWhenShown(seen, c.press);
        EXPECT_EQ(platform.MsgBox("Do you wish to save your changes?", c.buttons, c.icon, ""), c.result);
        EXPECT_EQ(seen.title, "Lintora");
        EXPECT_EQ(seen.text, "Do you wish to save your changes?");
        EXPECT_EQ(seen.icon, c.qicon);
        EXPECT_EQ(seen.buttons, c.count);
    }
    Seen seen;
    PressWhenShown(seen, QMessageBox::Ok);
    platform.MsgBox("x", MsgButtons::Ok, MsgIcon::None, "Own title");
    EXPECT_EQ(seen.title, "Own title");
}

// A long address in a message wraps inside the box rather than running off
// its edge: every line of the shown text fits the box's text, and the text
// read without its break marks is the message as given.
TEST_F(QtPlatformTest, ALongAddressInAMessageIsShownWhole) {
    const QString address =
        "https://www.familysearch.org/search/record/results?count=20&query=%2Bgivenname%3AThomas%20Edward~"
        "%20%2Bsurname%3AHarlow~%20%2Bbirth_place%3APlymouth~%20%2Bbirth_year%3A1820-1822~&collection_id=1743384";
    const QString message = "Problem with navigation parms: " + address;
    QString shown;
    bool fits = false;
    int lines = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        shown = label->text();
        // The label's text laid out at the label's width, as it is drawn.
        QTextLayout layout(shown, label->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        const int width = label->contentsRect().width();
        layout.beginLayout();
        fits = width > 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            fits = fits && line.naturalTextWidth() <= width;
            ++lines;
        }
        layout.endLayout();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(platform.MsgBox(message.toStdString(), MsgButtons::Ok, MsgIcon::Exclamation, ""), MsgResult::Ok);
    EXPECT_TRUE(fits) << shown.toStdString();
    EXPECT_GT(lines, 1);
    EXPECT_EQ(QString(shown).remove(QChar(0x200B)), message);
    EXPECT_TRUE(shown.startsWith("Problem with navigation parms: https:"));
}

// Escape typed into a box is a dismissal: a question without Cancel says so
// rather than answering No; the others answer as their Cancel or OK.
TEST_F(QtPlatformTest, EscapeDismissesABoxAsItsCancelOrAsNeitherYesNorNo) {
    const std::pair<MsgButtons, MsgResult> cases[] = {{MsgButtons::YesNo, MsgResult::Dismissed},
                                                      {MsgButtons::YesNoCancel, MsgResult::Cancel},
                                                      {MsgButtons::OkCancel, MsgResult::Cancel},
                                                      {MsgButtons::Ok, MsgResult::Ok}};
    for (const auto& [buttons, result] : cases) {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        });
        EXPECT_EQ(platform.MsgBox("Do you wish to save your changes?", buttons, MsgIcon::Question, ""), result);
    }
    // Typing N still answers No.
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_N); });
    EXPECT_EQ(platform.MsgBox("Do you wish to save your changes?", MsgButtons::YesNo, MsgIcon::Question, ""),
              MsgResult::No);
}

TEST_F(QtPlatformTest, BusyPointerShowsOnceAndGoes) {
    platform.SetBusy(true);
    platform.SetBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    platform.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtPlatformTest, ClockIsTheLocalOne) {
    // Read between two looks at Qt's local clock: the same second as one of them.
    auto spelt = [](const QDateTime& d) {
        return std::tuple(d.date().year(), d.date().month(), d.date().day(), d.time().hour(),
                          d.time().minute(), d.time().second());
    };
    auto near = [&](const LocalTime& t, const QDateTime& before, const QDateTime& after) {
        const auto got = std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second);
        return got == spelt(before) || got == spelt(after);
    };
    QDateTime before = QDateTime::currentDateTime();
    const LocalTime first = platform.Now();
    EXPECT_TRUE(near(first, before, QDateTime::currentDateTime()));
    // The clock moves on with the seconds, however often it is read.
    LocalTime later = first;
    for (int k = 0; k < 300 && later.second == first.second; ++k) {
        QTest::qWait(10);
        before = QDateTime::currentDateTime();
        later = platform.Now();
    }
    EXPECT_NE(later.second, first.second);
    EXPECT_TRUE(near(later, before, QDateTime::currentDateTime()));
}

TEST_F(QtPlatformTest, FileDialogsReturnTheChosenPathOrNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FileDialogRequest r{"Save Work File", "Work files (*.lnt)", dir.path().toStdString(), "tree.lnt"};
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Save Work File");
        static_cast<QDialog*>(d)->accept();  // as the Save button does
    });
    EXPECT_EQ(platform.SaveFileDialog(r), QDir(dir.path()).filePath("tree.lnt").toStdString());

    // A folder that is not there: the dialog opens at home, not in the
    // working folder.
    r.initialDir = dir.filePath("gone").toStdString();
    r.fileName.clear();
    QString opened;
    QTimer::singleShot(0, [&opened] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        opened = d->directory().absolutePath();
        d->reject();
    });
    EXPECT_EQ(platform.OpenFileDialog(r), "");
    EXPECT_EQ(opened, QDir::homePath());
}

// A folder of GEDCOM files as the Save As GED and Open dialogs show it: the
// dialog stays on the screen, and every name, size, type and date in its
// detail columns is shown whole.
TEST_F(QtPlatformTest, FileDialogsShowTheirColumnsWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::pair<const char*, int> files[] = {{"allged.ged", 31744}, {"ANSEL.GED", 10412},
                                                 {"Harry_Potter.ged", 4331}, {"minimal55.ged", 156},
                                                 {"TGC55CLF.ged", 69812}, {"utf8_crlf_bom.ged", 1157}};
    for (const auto& [name, bytes] : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(bytes, 'x'));
    }
    // The desktop's own font is larger than the test platform's: the
    // dialog must fit its columns to the letters, not to fixed widths.
    const QFont usual = QApplication::font();
    QFont large = usual;
    large.setPointSizeF(usual.pointSizeF() * 1.4);
    QApplication::setFont(large);
    for (const bool save : {true, false}) {
        SCOPED_TRACE(save ? "save" : "open");
        QStringList cut;
        QSize size;
        QRect screen;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            auto* details = d->findChild<QTreeView*>("treeView");
            ASSERT_NE(details, nullptr);
            const auto shown = [details] {
                return details->model()->rowCount(details->rootIndex()) == 6 &&
                       details->model()->index(0, 1, details->rootIndex()).data().toString().size() > 0;
            };
            EXPECT_TRUE(QTest::qWaitFor(shown, 5000));
            QTest::qWait(50);
            size = d->size();
            screen = d->screen()->availableGeometry();
            for (int r = 0; r < 6; ++r)
                for (int c = 0; c < 4; ++c) {
                    const QModelIndex at = details->model()->index(r, c, details->rootIndex());
                    if (details->columnWidth(c) < details->sizeHintForIndex(at).width())
                        cut << at.data().toString();
                }
            d->reject();
        });
        const FileDialogRequest r{"Save GED File", "GED Files (*.ged)", dir.path().toStdString(), ""};
        EXPECT_EQ(save ? platform.SaveFileDialog(r) : platform.OpenFileDialog(r), "");
        EXPECT_TRUE(cut.isEmpty()) << cut.join(" | ").toStdString();
        EXPECT_LE(size.width(), screen.width());
        EXPECT_LE(size.height(), screen.height());
    }
    QApplication::setFont(usual);
}

// Once a question is answered, its window is the active one again: its
// keys work and a pointer resting on a cut text shows that text whole,
// without a click first (a display without a window manager hands the
// activation back to nobody).
TEST_F(QtPlatformTest, AnAnsweredQuestionLeavesItsWindowActive) {
    QWidget mainWindow;
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    platform.dialogParent = &mainWindow;
    for (const QMessageBox::StandardButton press : {QMessageBox::No, QMessageBox::Ok}) {
        QTimer::singleShot(0, [press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->button(press)->click();
        });
        if (press == QMessageBox::No)
            EXPECT_EQ(platform.MsgBox("Backup work before pruning?", MsgButtons::YesNoCancel, MsgIcon::None,
                                      "Warning!"),
                      MsgResult::No);
        else
            platform.MsgBox("Problem with navigation parms: https://t.example/", MsgButtons::Ok,
                            MsgIcon::Exclamation, "");
        EXPECT_TRUE(QTest::qWaitForWindowActive(&mainWindow, 1000));
    }
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->reject();
    });
    EXPECT_EQ(platform.OpenFileDialog({"Open Workfile", "", "", ""}), "");
    EXPECT_TRUE(QTest::qWaitForWindowActive(&mainWindow, 1000));
    platform.dialogParent = nullptr;
}

// A box or file dialog belongs to the window that asks while that window is
// up, else to a modal window in front, else to the main window.
TEST_F(QtPlatformTest, QuestionsBelongToTheWindowThatAsks) {
    QWidget mainWindow;
    mainWindow.show();
    platform.dialogParent = &mainWindow;
    QDialog editor(&mainWindow);
    editor.show();
    auto ownerOfBox = [&] {
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&owner] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(qobject_cast<QMessageBox*>(box), nullptr);
            owner = box->parentWidget();
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
        });
        EXPECT_EQ(platform.MsgBox("Changes to Thomas Smith have not been saved.", MsgButtons::YesNo,
                                  MsgIcon::Question, "A gentle reminder"),
                  MsgResult::Yes);
        return owner;
    };
    EXPECT_EQ(ownerOfBox(), &mainWindow);
    {
        // Asked from a control inside the editor: the editor owns it.
        QPushButton button(&editor);
        const AskingWidget asking(&button);
        EXPECT_EQ(ownerOfBox(), &editor);
        QTimer::singleShot(0, [&editor] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->parentWidget(), &editor);
            d->reject();
        });
        EXPECT_EQ(platform.SaveFileDialog({"Save GED File", "", "", ""}), "");
        // Hidden, it cannot be in front: the main window takes the box.
        editor.hide();
        EXPECT_EQ(ownerOfBox(), &mainWindow);
    }
    // Nobody named, but a modal window up: it is the one in use.
    QDialog search(&mainWindow);
    search.setModal(true);
    search.show();
    EXPECT_EQ(ownerOfBox(), &search);
    search.hide();
    EXPECT_EQ(ownerOfBox(), &mainWindow);
    platform.dialogParent = nullptr;
}

}  // namespace
}  // namespace lintora

namespace lintora {
namespace {

using testing::Launcher;

// The launcher gets the address as its one argument; no shell reads it.
TEST_F(QtPlatformTest, AddressesGoToTheLauncherAsOneArgument) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("argument");
    platform.launcher = Launcher(dir, "launcher.sh", QString("printf '%s|%s' \"$#\" \"$1\" > '%1'").arg(out));
    const std::string address = "https://t.example/s?g=a;touch%20x&s=$(id)`id`";
    std::vector<std::string> ends;
    auto ended = [&ends](const std::string& problem) { ends.push_back(problem); };
    EXPECT_EQ(platform.OpenAddress(address, ended), "");
    ASSERT_TRUE(QTest::qWaitFor([&ends] { return !ends.empty(); }));
    EXPECT_EQ(ends, std::vector<std::string>{""});
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), "1|" + address);

    platform.launcher = dir.filePath("no-such-launcher").toStdString();
    EXPECT_EQ(platform.OpenAddress("https://t.example/", ended), platform.launcher + " could not be started");
    QTest::qWait(50);
    EXPECT_EQ(ends.size(), 1u);  // nothing started, nothing ends
}

// Opens started from a main window, with real launchers in dir; every
// message box is answered as it comes up, its text and owner kept in told.
class LauncherTest : public QtPlatformTest {
protected:
    QTemporaryDir dir;
    QWidget mainWindow;
    std::vector<std::pair<QString, QWidget*>> told;
    QTimer answer;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        mainWindow.show();
        platform.dialogParent = &mainWindow;
        InstallPlatform(&platform);
        QObject::connect(&answer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                told.emplace_back(box->text().remove(QChar(0x200B)), box->parentWidget());
                EXPECT_EQ(box->icon(), QMessageBox::Warning);
                box->accept();
            }
        });
        answer.start(10);
    }
    void TearDown() override {
        InstallPlatform(nullptr);
        platform.dialogParent = nullptr;
    }
    // What a failure of the launcher with status says about address.
    std::string Failure(const std::string& address, int status) const {
        return "Problem with navigation parms: " + address + "\n" + platform.launcher +
               " reported a failure (exit status " + std::to_string(status) + ")";
    }
};

// The launcher is not waited for: the open returns at once, with no
// hourglass, and the windows go on. A failure it reports when it ends is
// told then, in the window that asked while that is still shown, else in
// the main window; one still busy after the wait counts as started.
TEST_F(LauncherTest, ALauncherIsNotWaitedForAndItsFailureIsToldWhereItWasAsked) {
    const std::string address = "https://t.example/help";

    auto editor = std::make_unique<QDialog>(&mainWindow);
    editor->show();
    platform.launcher = Launcher(dir, "no-browser", "sleep 0.4; exit 3");
    QElapsedTimer clock;
    clock.start();
    {
        QPushButton help(editor.get());
        const AskingWidget asking(&help);
        EXPECT_TRUE(NavigateTo(address));
        // Pressed again while it starts: not opened twice.
        EXPECT_TRUE(NavigateTo(address));
    }
    EXPECT_LT(clock.elapsed(), 300);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(told.empty());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !told.empty(); }));
    EXPECT_EQ(told.front().first.toStdString(), Failure(address, 3));
    EXPECT_EQ(told.front().second, editor.get());
    QTest::qWait(300);
    EXPECT_EQ(told.size(), 1u);

    // The window that asked is gone by the end: the main window tells it.
    platform.launcher = Launcher(dir, "no-browser-at-all", "sleep 0.2; exit 4");
    {
        const AskingWidget asking(editor.get());
        EXPECT_TRUE(NavigateTo(address));
    }
    editor.reset();
    ASSERT_TRUE(QTest::qWaitFor([this] { return told.size() == 2; }));
    EXPECT_EQ(told.back().first.toStdString(), Failure(address, 4));
    EXPECT_EQ(told.back().second, &mainWindow);

    // Still busy after the wait: started, and nothing more is said.
    platform.launcher = Launcher(dir, "slow", "sleep 0.6; exit 1");
    platform.openWaitMs = 100;
    EXPECT_TRUE(NavigateTo(address));
    QTest::qWait(900);
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Status 1 (xdg-open's "wrong call") is a failure like any other. Told after
// the window that asked has hidden, it belongs to the main window, not to
// another window that is up by then.
TEST_F(LauncherTest, AFailureWithStatusOneIsToldOverTheMainWindowOnceTheAskerHid) {
    platform.launcher = Launcher(dir, "wrong-call", "sleep 0.3; exit 1");
    const std::string address = "https://t.example/timeline";
    QDialog search(&mainWindow);
    search.show();
    {
        QPushButton go(&search);
        const AskingWidget asking(&go);
        EXPECT_TRUE(NavigateTo(address));
    }
    search.hide();
    QDialog preferences(&mainWindow);
    preferences.setModal(true);
    preferences.show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !told.empty(); }, 5000));
    EXPECT_EQ(told.front().first.toStdString(), Failure(address, 1));
    EXPECT_EQ(told.front().second, &mainWindow);
    EXPECT_TRUE(platform.PendingOpens().empty());
}

}  // namespace
}  // namespace lintora
