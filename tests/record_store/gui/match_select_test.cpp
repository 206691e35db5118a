#include "record_store/gui/match_select.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "platform/qt/qt_platform.h"
#include "tests/support/qt_app.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::EnsureApp;

MatchRequest TwoCandidates() {
    MatchRequest r;
    r.name = "John Smith";
    r.birth = "1850";
    r.death = "1920";
    r.spouse = "Mary Jones";
    r.father = "William Smith";
    r.mother = "Ann Brown";
    r.rows.push_back({"John Smith", "1851", "1921", "Mary Jones", "William Smith", "", 7});
    r.rows.push_back({"John Smyth", "1849", "", "", "", "Ann Brown", 12});
    return r;
}

// Runs the dialog modally and acts on it once it is up.
template <typename Act>
int32_t ChooseWhileShown(const MatchRequest& r, Act act) {
    QTimer::singleShot(0, [act] {
        auto* d = qobject_cast<frmMatchSelect*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(d->isVisible());
        act(*d);
    });
    return frmMatchSelect::Choose(r);
}

class MatchSelectTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApp(); }
};

TEST_F(MatchSelectTest, ShowsThePendingPersonAboveAndCandidatesInTheList) {
    frmMatchSelect d;
    d.Fill(TwoCandidates());
    EXPECT_EQ(d.windowTitle(), "Close matches found - Click to select ");
    EXPECT_EQ(d.Label7->text(), "Close matches found - Click on line below to select...");
    EXPECT_EQ(d.Label2->text(), "Birth/Chr");
    EXPECT_EQ(d.lblMatchName->text(), " John Smith");
    EXPECT_EQ(d.lblMatchBday->text(), "1850");
    EXPECT_EQ(d.lblMatchMother->text(), "Ann Brown");
    EXPECT_EQ(d.Command1->text(), "Not a match");
    EXPECT_EQ(d.MatchListView->toolTip(), "Click on a name if a match, otherwise click Not a match");

    QTreeWidget* list = d.MatchListView;
    const QStringList headers = {"Name", "Birth", "Death", "Spouse", "Father", "Mother", "iID", "ix"};
    ASSERT_EQ(list->columnCount(), headers.size());
    for (int c = 0; c < headers.size(); ++c) EXPECT_EQ(list->headerItem()->text(c), headers[c]);
    EXPECT_TRUE(list->isColumnHidden(frmMatchSelect::colID));
    EXPECT_TRUE(list->isColumnHidden(frmMatchSelect::colIx));
    EXPECT_EQ(list->columnWidth(0), 3387 / 15);

    ASSERT_EQ(list->topLevelItemCount(), 10);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "John Smith");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "1851");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "Mary Jones");
    EXPECT_EQ(list->topLevelItem(0)->text(6), "7");
    EXPECT_EQ(list->topLevelItem(1)->text(5), "Ann Brown");
    EXPECT_EQ(list->topLevelItem(1)->text(6), "12");
    for (int row = 2; row < 10; ++row) {
        EXPECT_EQ(list->topLevelItem(row)->text(0), "");
        EXPECT_EQ(list->topLevelItem(row)->text(6), "0");
    }

    // Refilled for the next decision, the old rows go.
    MatchRequest one;
    one.rows.push_back({"Only", "", "", "", "", "", 3});
    d.Fill(one);
    EXPECT_EQ(list->topLevelItemCount(), 10);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Only");
}

TEST_F(MatchSelectTest, ClicksAndButtonDecide) {
    struct Case {
        const char* what;
        std::function<void(frmMatchSelect&)> act;
        int32_t chosen;
    } cases[] = {
        {"click on a candidate", [](frmMatchSelect& d) { d.MatchListView_Click(1); }, 12},
        {"double click on a candidate", [](frmMatchSelect& d) { d.MatchListView_DblClick(0); }, 7},
        {"double click on a blank row", [](frmMatchSelect& d) { d.MatchListView_DblClick(5); }, 0},
        {"Not a match", [](frmMatchSelect& d) { d.Command1->click(); }, 0},
        {"close box", [](frmMatchSelect& d) { d.close(); }, 0},
        {"list signal", [](frmMatchSelect& d) {
             emit d.MatchListView->itemClicked(d.MatchListView->topLevelItem(0), 0);
         }, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseWhileShown(TwoCandidates(), c.act), c.chosen) << c.what;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.what;
    }
}

TEST_F(MatchSelectTest, ClickOnABlankRowLeavesTheWindowOpen) {
    frmMatchSelect d;
    d.Fill(TwoCandidates());
    d.show();
    d.MatchListView_Click(4);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Chosen(), 0);
    d.MatchListView_Click(99);  // no such row
    d.MatchListView_Click(-1);
    EXPECT_TRUE(d.isVisible());
    d.MatchListView_Click(0);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.Chosen(), 7);
}

TEST_F(MatchSelectTest, PlatformAsksThroughTheDialog) {
    QtPlatform platform;
    EXPECT_EQ(platform.ChooseMatch(TwoCandidates()), 0);  // nobody to ask
    UseMatchSelectDialog(platform);
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<frmMatchSelect*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->MatchListView_Click(1);
    });
    EXPECT_EQ(platform.ChooseMatch(TwoCandidates()), 12);
}

}  // namespace
}  // namespace lintora
