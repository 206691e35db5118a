#include "main_window/source_panel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "files/data_files.h"
#include "platform/qt/filled_box.h"
#include "record_store/tables.h"
#include "tests/files/files_fixture.h"
#include "tests/support/qt_app.h"

namespace lintora {
namespace {

class SourcePanel : public testing::FilesTest {
protected:
    void SetUp() override {
        testing::EnsureApp();
        FilesTest::SetUp();
        int32_t r = AddRepository();
        g.Repository[r].rName = "FamilySearch";
        g.Repository[r].rAddr = "35 N West Temple";
        g.Repository[r].rFlag = "I";
        int32_t s = AddSource();
        g.Source[s].sTitle = "Ancestral File";
        g.Source[s].sAuthor = "Family History Department";
        g.Source[s].sPublish = "1999 - The Church of Jesus Christ of Latter-day Saints, Salt Lake City, Utah";
        g.Source[s].sRepos = 1;
        g.Source[s].sCitations = 4;
        g.Source[s].sFlag = "I";
        s = AddSource();
        g.Source[s].sTitle = "My notes";
        g.Source[s].sFlag = "U";
    }
    static void Type(QLineEdit* box, const QString& text, SourceEditFrame& panel) {
        box->setText(text);
        panel.TextChange();
    }
};

TEST_F(SourcePanel, NewTitleMakesAUserSourceThatTakesTheRepositoryAndTheOldStays) {
    SourceEditFrame panel;
    panel.Open();
    EXPECT_EQ(panel.SourceList()->count(), 2);
    EXPECT_EQ(panel.Box("sTitle")->text(), "Ancestral File");
    // Filled boxes show their beginning, the year of a long publisher first.
    for (const char* name : {"sTitle", "sAuthor", "sPublish", "rName", "rAddr"})
        EXPECT_EQ(panel.Box(name)->cursorPosition(), 0) << name;
    // At the panel's size in the main window the long publisher is marked as
    // cut; the short texts are not.
    panel.resize(340, 260);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsCutMark(panel.Box("sPublish")));
    for (const char* name : {"sTitle", "sAuthor", "rName", "rAddr"})
        EXPECT_FALSE(ShowsCutMark(panel.Box(name))) << name;
    EXPECT_FALSE(ShowsCutMark(panel.SourceList()));
    g.Source[1].sTitle = "Ancestral File, version 4.19, compiled by the Family History Department, Salt Lake City";
    panel.Open();
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsCutMark(panel.SourceList()));
    g.Source[1].sTitle = "Ancestral File";
    panel.Open();
    EXPECT_EQ(panel.SourceEditInfo()->text(), "4 citations in this batch");
    EXPECT_TRUE(panel.Box("sAuthor")->isReadOnly());  // a site data file source
    EXPECT_FALSE(panel.Box("sTitle")->isReadOnly());
    EXPECT_EQ(panel.ReposList()->itemText(0), "None");
    EXPECT_EQ(panel.ReposList()->currentIndex(), 1);
    EXPECT_EQ(panel.Box("rAddr")->text(), "35 N West Temple");
    EXPECT_TRUE(panel.Box("rAddr")->isReadOnly());
    EXPECT_TRUE(panel.CmdSrcEdit()->isHidden());

    // A new repository: its name typed over the shown one.
    Type(panel.Box("rName"), "County Archive", panel);
    EXPECT_FALSE(panel.CmdSrcEdit()->isHidden());
    Type(panel.Box("sTitle"), "Parish register", panel);
    panel.CmdSrcEditClick();

    ASSERT_EQ(g.RepositoryCount, 2);
    EXPECT_EQ(g.Repository[2].rName.value(), "County Archive");
    EXPECT_EQ(g.Repository[2].rFlag.value(), "U");
    EXPECT_EQ(g.Repository[1].rName.value(), "FamilySearch");
    ASSERT_EQ(g.SourceCount, 3);
    EXPECT_EQ(g.Source[3].sTitle.value(), "Parish register");
    EXPECT_EQ(g.Source[3].sAuthor.value(), "Family History Department");
    EXPECT_EQ(g.Source[3].sFlag.value(), "U");
    EXPECT_EQ(g.Source[3].sRepos, 2);
    EXPECT_EQ(g.Source[1].sTitle.value(), "Ancestral File");
    EXPECT_EQ(g.Source[1].sRepos, 1);  // the old source stays as it was
    EXPECT_EQ(panel.SourceList()->currentIndex(), 2);
    EXPECT_EQ(panel.ReposList()->itemText(0), "None");
    EXPECT_EQ(panel.SourceEditInfo()->text(), "0 citations in this batch");
    EXPECT_TRUE(panel.CmdSrcEdit()->isHidden());
    EXPECT_EQ(g.DataChanged, "N");
    // The new repository is in the user data file at once.
    EXPECT_NE(Read(UserDataFilePath()).find("County Archive"), std::string::npos);

    // Unchanged title: the user source is updated and linked to "None".
    panel.SourceList()->setCurrentIndex(1);
    panel.SourceListClick();
    EXPECT_FALSE(panel.Box("sAuthor")->isReadOnly());
    Type(panel.Box("sAuthor"), "Me", panel);
    panel.ReposList()->setCurrentIndex(0);
    panel.ReposListClick();
    panel.CmdSrcEditClick();
    EXPECT_EQ(g.Source[2].sAuthor.value(), "Me");
    EXPECT_EQ(g.Source[2].sRepos, 0);
    EXPECT_EQ(g.SourceCount, 3);
}

TEST_F(SourcePanel, NothingSelectedWritesNoSourceZero) {
    SourceEditFrame panel;
    panel.Open();
    panel.SourceList()->setCurrentIndex(-1);
    Type(panel.Box("sTitle"), "Stray", panel);
    const SourceRec before = g.Source[0];
    panel.CmdSrcEditClick();
    EXPECT_EQ(g.Source[0], before);
    EXPECT_EQ(g.SourceCount, 2);
}

}  // namespace
}  // namespace lintora
