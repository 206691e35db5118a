#include "record_store/gui/match_select.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "platform/qt/qt_platform.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
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
    const QStringList headings = {"Name", "Birth/Chr", "Death", "Spouse", "Father", "Mother"};
    const QLabel* heads[] = {d.Label1, d.Label2, d.Label3, d.Label4, d.Label5, d.Label6};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(heads[c]->text(), headings[c]);
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

    // Nine candidates and more fill the list alone: no blank row is added.
    for (int n : {9, 12}) {
        MatchRequest many;
        for (int k = 1; k <= n; ++k) many.rows.push_back({"Candidate " + std::to_string(k), "", "", "", "", "", k});
        d.Fill(many);
        ASSERT_EQ(list->topLevelItemCount(), n);
        EXPECT_EQ(list->topLevelItem(n - 1)->text(6), QString::number(n));
    }
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

// The dialog deciding a real close match: the person being filed is John
// born 1832 married to Eliza; the table holds a John born 1833 married to
// Sarah, close but not sure enough to be taken without asking.
class MatchDecisionTest : public MatchSelectTest {
protected:
    QtPlatform platform;
    int32_t john = 0;

    void SetUp() override {
        ResetProgramState();
        UseMatchSelectDialog(platform);
        InstallPlatform(&platform);
        john = CreateIndivFromPage("John Henry WHITLOCK", "", "", 0, 0, "");
        int32_t sarah = CreateIndivFromPage("Sarah COLE", "", "", 0, 0, "");
        ASSERT_TRUE(john > 0 && sarah > 0);
        g.Indiv[john].ibDate = "1833";
        ASSERT_GT(FindOrAddFamil(john, sarah), 0);
        g.Indiv[john].iTouched = g.Indiv[sarah].iTouched = 0;
    }
    void TearDown() override {
        InstallPlatform(nullptr);
        ResetProgramState();
    }
    static MatchQuery Pending() {
        MatchQuery q;
        q.name = "John Henry WHITLOCK";
        q.afn = "1B2C-3DF";
        q.bDate = "12 Mar 1832";
        q.spouseName = "Eliza Ann BENNETT";
        return q;
    }
    // Row of the list that holds record n, or a blank row for n = 0.
    static int RowOf(frmMatchSelect& d, int32_t n) {
        for (int row = 0; row < d.MatchListView->topLevelItemCount(); ++row)
            if (d.MatchListView->topLevelItem(row)->text(frmMatchSelect::colID).toInt() == n) return row;
        return -1;
    }
};

TEST_F(MatchDecisionTest, TheUsersDecisionFilesThePerson) {
    struct Case {
        const char* what;
        std::function<void(frmMatchSelect&, int32_t)> act;
        bool chooseJohn;
    } cases[] = {
        {"double click on the candidate",
         [](frmMatchSelect& d, int32_t john) { d.MatchListView_DblClick(RowOf(d, john)); }, true},
        {"blank row clicked, then the candidate",
         [](frmMatchSelect& d, int32_t john) {
             d.MatchListView_Click(RowOf(d, 0));
             ASSERT_TRUE(d.isVisible());
             d.MatchListView_Click(RowOf(d, john));
         },
         true},
        {"Not a match", [](frmMatchSelect& d, int32_t) { d.Command1->click(); }, false},
        {"double click on a blank row", [](frmMatchSelect& d, int32_t) { d.MatchListView_DblClick(RowOf(d, 0)); },
         false},
        {"close box", [](frmMatchSelect& d, int32_t) { d.close(); }, false},
    };
    for (const Case& c : cases) {
        SetUp();
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmMatchSelect*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr) << c.what;
            shown = true;
            EXPECT_EQ(d->lblMatchName->text(), " John Henry WHITLOCK") << c.what;
            ASSERT_GE(RowOf(*d, john), 0) << c.what;
            c.act(*d, john);
        });
        MatchQuery q = Pending();
        const int32_t filed = FindIndivMatches(q);
        EXPECT_TRUE(shown) << c.what;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.what;
        EXPECT_EQ(g.LastIndiv, filed) << c.what;
        if (c.chooseJohn) {
            EXPECT_EQ(filed, john) << c.what;
            EXPECT_EQ(g.IndivCount, 2) << c.what;
            continue;
        }
        // A new person, from the pending values; the label's leading blank stays behind.
        ASSERT_EQ(filed, 3) << c.what;
        EXPECT_EQ(g.IndivCount, 3) << c.what;
        EXPECT_EQ(g.Indiv[filed].iName.value(), "John Henry WHITLOCK") << c.what;
        EXPECT_EQ(g.Indiv[filed].iGivn.value(), "John Henry") << c.what;
        EXPECT_EQ(g.Indiv[filed].iAFN.value(), "1B2C-3DF") << c.what;
        EXPECT_EQ(g.Indiv[filed].iTouched, 1) << c.what;
        EXPECT_TRUE(g.Indiv[john].iAFN.blank()) << c.what;
    }
}

}  // namespace
}  // namespace lintora
