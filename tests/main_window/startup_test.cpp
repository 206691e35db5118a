// The program started, used and ended as a person does: stored settings,
// files opened and saved at once, undo, and the questions about unsaved
// work.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

#include "main_window/preferences_window.h"
#include "platform/settings_store.h"
#include "tests/main_window/window_fixture.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;
using testing::MainWindowTest;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class StartupTest : public MainWindowTest {
protected:
    std::string Setting(const std::string& key) const { return GetSetting("Lintora", "Startup", key, "?"); }
    LintoraPreferences* Preferences() const { return w->findChild<LintoraPreferences*>(); }
};

TEST_F(StartupTest, PreferencesShowWhatWasStoredAndContinueWritesThem) {
    SaveSettings("Lintora", "Startup",
                 {{"prefName", "Anna Lindqvist"},
                  {"prefAddr1", "12 Elm Street"},
                  {"prefCountry", "Sweden"},
                  {"prefEmail", "anna@example.se"},
                  {"prefSourceSW", "1"},
                  {"prefNotes", "From the parish books"}});
    StartProgram();

    // From the menu (modal): the stored preferences, the stored citation mode.
    std::vector<std::string> shown;
    bool multiple = false;
    QTimer::singleShot(0, [&] {
        LintoraPreferences* p = Preferences();
        ASSERT_NE(p, nullptr);
        for (int i : {1, 2, 7, 10}) shown.push_back(p->Text(i)->text().toStdString());
        shown.push_back(p->NoteBox()->toPlainText().toStdString());
        multiple = p->Option(1)->isChecked();
        QTest::mouseClick(p->CancelButton(), Qt::LeftButton);
    });
    w->mnuPrefs_Click();
    EXPECT_EQ(shown, (std::vector<std::string>{"Anna Lindqvist", "12 Elm Street", "Sweden", "anna@example.se",
                                               "From the parish books"}));
    EXPECT_TRUE(multiple);

    // Save As GED, Continue: the submitter is the stored preparer, and the
    // stored preferences are still there afterwards.
    const int32_t john = Person("John", "Whitlock", "M", "1832");
    g.TreeSlot[0] = john;
    g.DataChanged = "Y";
    w->mnuFileItem_Click(2);
    LintoraPreferences* p = Preferences();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->isVisible());
    const fs::path ged = dir / "work" / "whitlock.ged";
    ui.fileAnswers.push_back(ged.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    QTest::mouseClick(p->ContinueButton(), Qt::LeftButton);
    const std::string text = Slurp(ged);
    EXPECT_NE(text.find("0 @SUB1@ SUBM\r\n1 NAME Anna Lindqvist\r\n1 ADDR 12 Elm Street\r\n2 CTRY Sweden\r\n"),
              std::string::npos);
    EXPECT_EQ(Setting("prefName"), "Anna Lindqvist");
    EXPECT_EQ(Setting("prefSourceSW"), "1");
    EXPECT_EQ(Setting("prefNotes"), "From the parish books");
}

}  // namespace
}  // namespace lintora
