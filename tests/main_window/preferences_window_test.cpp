#include "main_window/preferences_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

#include "files/data_files.h"
#include "record_store/tables.h"
#include "tests/files/files_fixture.h"
#include "tests/support/qt_app.h"

namespace lintora {
namespace {

class PreferencesWindow : public testing::FilesTest {
protected:
    void SetUp() override {
        testing::EnsureApp();
        FilesTest::SetUp();
    }
};

TEST_F(PreferencesWindow, ColoursFollowTheChecksAndCancelKeepsTheClickedMode) {
    g.prefName = "Ann Author";
    g.prefEmail = "ann@example.org";
    g.prefNotes = "From my research";
    g.prefSourceSW = 0;
    LintoraPreferences w;
    EXPECT_EQ(w.windowTitle(), "GED File Creation Preferences");
    EXPECT_EQ(w.Text(1)->text(), "Ann Author");
    EXPECT_EQ(w.Text(10)->text(), "ann@example.org");
    EXPECT_EQ(w.NoteBox()->toPlainText(), "From my research");
    EXPECT_TRUE(w.Option(0)->isChecked());
    EXPECT_FALSE(LintoraPreferences::IsTeal(w.Text(1)));
    EXPECT_TRUE(LintoraPreferences::IsTeal(w.NoteBox()));  // note unchecked at start

    w.PrepCheck()->setChecked(false);
    w.PrepCheckClick();
    for (int i = 1; i <= 10; ++i) {
        EXPECT_TRUE(LintoraPreferences::IsTeal(w.Text(i))) << i;
        EXPECT_FALSE(w.Text(i)->isReadOnly());
    }
    w.PrepCheck()->setChecked(true);
    w.PrepCheckClick();
    EXPECT_FALSE(LintoraPreferences::IsTeal(w.Text(5)));

    w.SourceCheck()->setChecked(false);
    w.SourceCheckClick();
    EXPECT_FALSE(w.Option(0)->isEnabled());
    EXPECT_FALSE(w.Option(1)->isEnabled());
    EXPECT_TRUE(w.Option(0)->isChecked());
    w.SourceCheck()->setChecked(true);
    w.SourceCheckClick();

    w.NoteCheck()->setChecked(true);
    w.NoteCheckClick();
    EXPECT_FALSE(LintoraPreferences::IsTeal(w.NoteBox()));

    // The option stores the mode when clicked; Cancel stores no text.
    w.Text(1)->setText("Typed but cancelled");
    w.Option1Click(1);
    w.Command2Click();
    EXPECT_EQ(g.prefSourceSW, 1);
    EXPECT_EQ(g.prefName, "Ann Author");
    EXPECT_EQ(w.Text(1)->text(), "Typed but cancelled");  // the box keeps it
}

TEST_F(PreferencesWindow, ContinueWithoutPreparerWritesNoSubmitterAndPreferencesSurvive) {
    int32_t r = AddIndiv();
    testing::Person(r, "John", "Smith", "M", 0);
    g.prefName = "Ann Author";
    g.prefAddr1 = "1 Main Street";
    LintoraPreferences w;
    w.ShowForGedSave();
    EXPECT_FALSE(w.OkButton()->isVisible());
    EXPECT_TRUE(w.ContinueButton()->isVisible());
    EXPECT_EQ(w.ContinueButton()->toolTip(), "Create GED file");

    w.PrepCheck()->setChecked(false);
    w.PrepCheckClick();
    w.Text(8)->setText("555-0101");
    const auto out = dir / "out.ged";
    ui.fileAnswers.push_back(out.string());
    ui.Answer(MsgResult::Ok);
    w.Command3Click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(ui.Showed("successfully saved"));
    // The report belongs to the preferences window that asked for the save.
    EXPECT_EQ(ui.boxes.back().asker, static_cast<const QWidget*>(&w));

    const std::string ged = Read(out);
    ASSERT_NE(ged.find("0 @I1@ INDI"), std::string::npos) << ged;
    EXPECT_EQ(ged.find("SUBM"), std::string::npos);
    EXPECT_EQ(ged.find("Ann Author"), std::string::npos);
    EXPECT_EQ(ged.find("1 Main Street"), std::string::npos);

    // The next start reads back what Continue stored.
    g.prefName = g.prefPhone = g.prefAddr1 = "";
    ReadStartupSettings();
    EXPECT_EQ(g.prefName, "Ann Author");
    EXPECT_EQ(g.prefAddr1, "1 Main Street");
    EXPECT_EQ(g.prefPhone, "555-0101");
}

// A setting stored empty comes back as one blank; its box shows empty, so
// that what the user types there starts with the first letter typed, and the
// file gets each text without the blanks around it.
TEST_F(PreferencesWindow, ABlankSettingShowsEmptyAndTheFileGetsTextsWithoutOuterBlanks) {
    testing::Person(AddIndiv(), "John", "Smith", "M", 0);
    g.prefName = "Ann Author";
    g.prefAddr1 = "1 Main Street";
    g.prefAddr5 = " ";
    g.prefCountry = " ";
    g.prefNotes = " ";
    LintoraPreferences w;
    w.ShowForGedSave();
    EXPECT_EQ(w.Text(6)->text(), "");
    EXPECT_EQ(w.Text(7)->text(), "");
    EXPECT_EQ(w.NoteBox()->toPlainText(), "");
    EXPECT_EQ(w.Text(1)->text(), "Ann Author");
    // Clicked at its right end and typed into, as the user does.
    for (int box : {6, 7}) {
        QLineEdit* e = w.Text(box);
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(e->width() - 4, e->height() / 2));
        QTest::keyClicks(e, box == 6 ? "Kept after cancel" : "USA");
    }
    w.Text(8)->setText("  555-0101  ");
    const auto out = dir / "blanks.ged";
    ui.fileAnswers.push_back(out.string());
    ui.Answer(MsgResult::Ok);
    w.Command3Click();
    const std::string ged = Read(out);
    EXPECT_NE(ged.find("1 ADDR 1 Main Street\r\n2 CONT Kept after cancel\r\n2 CTRY USA\r\n1 PHON 555-0101\r\n"),
              std::string::npos)
        << ged;
    // The settings keep what the user typed, as they always did.
    g.prefAddr5 = g.prefCountry = g.prefPhone = "";
    ReadStartupSettings();
    EXPECT_EQ(g.prefAddr5, "Kept after cancel");
    EXPECT_EQ(g.prefCountry, "USA");
    EXPECT_EQ(g.prefPhone, "555-0101");
}

}  // namespace
}  // namespace lintora
