#include "internet_search/gui/search_window.h"
#include "main_window/main_window.h"
#include "platform/navigate.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "platform/qt/qt_platform.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "tests/internet_search/search_fixture.h"
#include "tests/support/launcher.h"
#include "tests/support/qt_app.h"

namespace lintora {
namespace {

class SearchWindowTest : public testing::ShippedSitesTest {
protected:
    static void SetUpTestSuite() { testing::EnsureApp(); }

    int32_t Person(const char* given, const char* surname, const char* birth = "", const char* birthPlace = "",
                   const char* death = "", const char* deathPlace = "", const char* afn = "") {
        int32_t n = AddIndiv();
        IndivRec& p = g.Indiv[n];
        p.iGivn = given;
        p.iSurn = surname;
        p.ibDate = birth;
        p.ibPlace = birthPlace;
        p.idDate = death;
        p.idPlace = deathPlace;
        p.iAFN = afn;
        return n;
    }
    int32_t Family(int32_t husband, int32_t wife, const char* date = "", const char* place = "") {
        int32_t f = AddFamil();
        g.Famil[f].fHusb = husband;
        g.Famil[f].fWife = wife;
        g.Famil[f].fmDate = date;
        g.Famil[f].fmPlace = place;
        return f;
    }

    // Mary Ann O'Neil with her parents and two husbands.
    int32_t MaryAnn() {
        int32_t mary = Person("Mary Ann", "O'Neil", "12 MAR 1850", "Salem, Marion, Ohio", "1900",
                              "Portland, Multnomah, Oregon, USA");
        int32_t john = Person("John", "O'Neil");
        int32_t bridget = Person("Bridget", "Murphy");
        g.Indiv[mary].iFamc = Family(john, bridget);
        Family(Person("Thomas", "Brown"), mary, "ABT 1875", "Salem, Marion, Ohio");
        Family(Person("William", "Grey"), mary, "1890");
        return mary;
    }

    // Shown and active, as the user sees it, so that focus moves for real
    // (the offscreen platform does not activate a window shown again).
    static void ShowActive(LintoraInetSet& w) {
        w.show();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
        QApplication::setActiveWindow(&w);
#else
        w.activateWindow();
#endif
        ASSERT_TRUE(QTest::qWaitFor([&w] { return w.isActiveWindow(); }));
    }
    // A double-click as a widget gets it: a click, then the second press
    // as a double-click, and its release.
    static void DoubleClick(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseDClick(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
    }
    // Clicks into a box and types over its text, as the user does.
    static void TypeInto(QLineEdit* box, const char* text) {
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->hasFocus());
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    static std::vector<std::string> Items(const QComboBox* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i) out.push_back(list->itemText(i).toStdString());
        return out;
    }
    static std::string Text(const QLineEdit* box) { return box->text().toStdString(); }
    static int V(const QCheckBox* box) { return LintoraInetSet::Value(box); }
    // The eleven criteria kept during an AFN search, in their order.
    static std::vector<int> Criteria(const LintoraInetSet& w) {
        std::vector<int> out;
        for (const QCheckBox* b : {w.chkIName, w.chkByear, w.chkDyear, w.chkBplace, w.chkDplace, w.chkMyear,
                                   w.chkMplace, w.chkFName, w.chkMName, w.chkSName, w.chkRegion})
            out.push_back(V(b));
        return out;
    }
};

TEST_F(SearchWindowTest, OpensFilledForThePersonOnTheFirstSite) {
    int32_t mary = MaryAnn();
    LintoraInetSet w;
    w.LoadInetSet(mary);
    EXPECT_EQ(w.windowTitle().toStdString(), "Internet Search - Select Criteria");
    EXPECT_EQ(Text(w.iFirst) + "|" + Text(w.iLast) + "|" + Text(w.iByear) + "|" + Text(w.iBplace), "Mary Ann|O'Neil|1850| Marion,  Ohio");
    EXPECT_EQ(Text(w.iDyear) + "|" + Text(w.iDplace), "1900| Oregon,  USA");
    EXPECT_EQ(Text(w.fFirst) + " " + Text(w.fLast) + "/" + Text(w.mFirst) + " " + Text(w.mLast), "John O'Neil/Bridget Murphy");
    EXPECT_EQ(Text(w.sFirst) + " " + Text(w.sLast) + "/" + Text(w.mYear) + "/" + Text(w.Mplace), "Thomas Brown/1875/ Marion,  Ohio");
    EXPECT_FALSE(w.btnSpouseSelect->isHidden());
    for (const QComboBox* range : {w.iBRange, w.iDRange, w.MRange}) {
        EXPECT_EQ(Items(range), (std::vector<std::string>{" Exact year", " + or - 2 years", " + or - 5 years",
                                                          " + or - 10 years", " + or - 20 years"}));
        EXPECT_EQ(range->currentIndex(), 0);
    }
    EXPECT_EQ(Items(w.SiteSelect).size(), 8u);
    EXPECT_EQ(w.SiteSelect->currentText().toStdString(), "FamilySearch");
    EXPECT_EQ(w.PageSelect->currentText().toStdString(), "Historical Records");
    EXPECT_EQ(w.PageSelect->count(), 6);
    // The page's criteria: the name set, the others enabled but clear; no AFN row.
    EXPECT_EQ(Criteria(w), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (const QCheckBox* b : {w.chkIName, w.chkByear, w.chkDyear, w.chkMyear, w.chkBplace, w.chkDplace,
                               w.chkMplace, w.chkFName, w.chkMName, w.chkSName, w.chkRegion})
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(w.chkAFN->isHidden());
    EXPECT_TRUE(LintoraInetSet::SwitchedOn(w.iBplace));
    EXPECT_FALSE(LintoraInetSet::SwitchedOn(w.iAFN));
    // "#J1FALL#": the country list on its default, with its states below.
    EXPECT_FALSE(w.Region1Select->isHidden());
    EXPECT_EQ(w.Region1Select->currentIndex(), 225);
    EXPECT_EQ(w.Region1Select->currentText().toStdString(), "United States");
    EXPECT_EQ(w.RegionTag(1), "ALLR1");
    EXPECT_EQ(w.Region2Select->count(), 51);
    EXPECT_EQ(w.Region2Select->currentText().toStdString(), "Alabama");
    EXPECT_TRUE(w.Region3Select->isHidden());

    // The next spouse, then the first again.
    w.btnSpouseSelect_Click();
    EXPECT_EQ(Text(w.sFirst) + " " + Text(w.sLast) + "/" + Text(w.mYear) + "/" + Text(w.Mplace), "William Grey/1890/");
    w.btnSpouseSelect_Click();
    EXPECT_EQ(Text(w.sFirst), "Thomas");

    w.show();
    w.resize(w.sizeHint());
    w.grab().save("/tmp/lintora_search_window.png");

    // Names and places too long for their boxes show their beginning, also
    // those of the next spouse.
    int32_t alexandrina = Person("Alexandrina Charlotte Augusta Victoria", "WHITLOCK-FITZWILLIAMSON", "1832",
                                 "Wellsville, Saint Lawrence County Township, New York State of America");
    Family(Person("Ferdinand Maximilian Joseph Maria", "HABSBURG-LOTHRINGEN"), alexandrina, "1855",
           "Nauvoo, Hancock County Commissioners District, Illinois Territory of the Union");
    Family(Person("Leopold Georg Christian Friedrich", "SAXE-COBURG-SAALFELD"), alexandrina);
    w.LoadInetSet(alexandrina);
    QApplication::processEvents();
    auto fromStart = [](const QLineEdit* box) {
        EXPECT_GT(box->fontMetrics().horizontalAdvance(box->text()), box->width()) << Text(box);
        EXPECT_EQ(box->cursorPosition(), 0) << Text(box);
        EXPECT_TRUE(LintoraInetSet::ShowsCutMark(box)) << Text(box);
    };
    for (const QLineEdit* box : {w.iFirst, w.iLast, w.iBplace, w.sFirst, w.sLast, w.Mplace}) fromStart(box);
    w.btnSpouseSelect_Click();
    EXPECT_EQ(Text(w.sLast), "SAXE-COBURG-SAALFELD");
    for (const QLineEdit* box : {w.sFirst, w.sLast}) fromStart(box);
    // What fits shows no mark; nor does a box being typed in.
    for (const QLineEdit* box : {w.iByear, w.iDplace, w.Mplace}) EXPECT_FALSE(LintoraInetSet::ShowsCutMark(box));
    ShowActive(w);
    QTest::mouseClick(w.iFirst, Qt::LeftButton);
    EXPECT_FALSE(LintoraInetSet::ShowsCutMark(w.iFirst));
    w.grab().save("/tmp/lintora_search_window_long.png");
}

TEST_F(SearchWindowTest, SearchOpensTheWholeAddressAndHidesTheWindow) {
    int32_t mary = MaryAnn();
    LintoraInetSet w;
    w.LoadInetSet(mary);
    w.show();
    LintoraInetSet::SetValue(w.chkByear, 1);
    LintoraInetSet::SetValue(w.chkBplace, 1);
    LintoraInetSet::SetValue(w.chkSName, 1);
    LintoraInetSet::SetValue(w.chkRegion, 1);
    w.Region1Select->setCurrentIndex(w.Region1Select->findText("Canada"));
    EXPECT_EQ(w.Region2Select->currentText().toStdString(), "Alberta");
    w.Region2Select->setCurrentIndex(w.Region2Select->findText("Ontario"));
    const std::string address =
        "https://www.familysearch.org/search/record/results?q.givenName=Mary&q.surname=O%27Neil"
        "&q.birthLikeDate.from=1850&q.birthLikeDate.to=1850&q.birthLikePlace=Marion+Ohio"
        "&q.deathLikeDate.from=&q.deathLikeDate.to=&q.deathLikePlace=&q.marriageLikeDate.from="
        "&q.marriageLikeDate.to=&q.marriageLikePlace=&q.spouseGivenName=Thomas&q.spouseSurname=Brown"
        "&q.fatherGivenName=&q.fatherSurname=&q.motherGivenName=&q.motherSurname="
        "&q.anyPlace=Ontario+Canada";
    // No browser: the user is told and the window stays for another try.
    ui.openError = "xdg-open reported a failure (exit status 3)";
    ui.Answer(MsgResult::Ok);
    w.btnGoInet_Click();
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Problem with navigation parms: " + address +
                                                   "\nxdg-open reported a failure (exit status 3)"});
    EXPECT_FALSE(w.isHidden());
    ui.openError.clear();
    w.btnGoInet_Click();
    EXPECT_TRUE(w.isHidden());
    ASSERT_EQ(ui.openedAddresses, (std::vector<std::string>{address, address}));
    EXPECT_EQ(g.SiteSelectPos, 0);
    EXPECT_EQ(g.PageSelectPos, 0);
}

TEST_F(SearchWindowTest, AnAfnPersonOpensOnTheAfnPageAndGetsHisCriteriaBack) {
    int32_t mary = MaryAnn();
    int32_t peter = Person("Peter", "Smith-Jones", "1820", "Bristol, Gloucestershire, England", "", "", "9XYZ-1Q");
    LintoraInetSet w;
    w.LoadInetSet(mary);
    LintoraInetSet::SetValue(w.chkByear, 1);
    LintoraInetSet::SetValue(w.chkBplace, 1);
    LintoraInetSet::SetValue(w.chkMplace, 1);
    w.cmdbtnExit_Click();

    w.LoadInetSet(peter);
    EXPECT_EQ(w.PageSelect->currentIndex(), 1);
    EXPECT_EQ(V(w.chkAFN), 1);
    EXPECT_FALSE(w.chkAFN->isHidden());
    EXPECT_EQ(Text(w.iAFN), "9XYZ-1Q");
    // The others off and disabled; the marriage place had no field for Peter.
    EXPECT_EQ(Criteria(w), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (const QCheckBox* b : {w.chkIName, w.chkByear, w.chkBplace, w.chkSName, w.chkMyear, w.chkRegion})
        EXPECT_FALSE(b->isEnabled());
    w.show();
    w.grab().save("/tmp/lintora_search_window_afn.png");
    w.btnGoInet_Click();
    ASSERT_EQ(ui.openedAddresses.size(), 1u);
    EXPECT_EQ(ui.openedAddresses[0], "https://www.familysearch.org/search/genealogies/results?q.afnId=9XYZ-1Q");

    // Unticking the AFN brings the first page and the kept criteria back.
    w.show();
    LintoraInetSet::SetValue(w.chkAFN, 0);
    EXPECT_EQ(w.PageSelect->currentIndex(), 0);
    EXPECT_EQ(Criteria(w), (std::vector<int>{1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(w.chkByear->isEnabled());
    w.btnGoInet_Click();
    ASSERT_EQ(ui.openedAddresses.size(), 2u);
    EXPECT_NE(ui.openedAddresses[1].find("?q.givenName=Peter&q.surname=Smith&q.birthLikeDate.from=1820&q.birthLikeDate.to=1820"
                                         "&q.birthLikePlace=Gloucestershire+England&"),
              std::string::npos)
        << ui.openedAddresses[1];
}

TEST_F(SearchWindowTest, APersonWithoutSurnameSeesOnlyHomePages) {
    int32_t anna = Person("Anna", "");
    LintoraInetSet w;
    w.LoadInetSet(anna);
    for (int site = 0; site < w.SiteSelect->count(); ++site) {
        w.SiteSelect->setCurrentIndex(site);
        EXPECT_EQ(Items(w.PageSelect), std::vector<std::string>{"Home"}) << site;
    }
    // A Home page takes no criteria but the name, and its address as it is.
    w.SiteSelect->setCurrentIndex(0);
    EXPECT_TRUE(w.chkByear->isHidden() || !w.chkByear->isEnabled());
    w.btnGoInet_Click();
    ASSERT_EQ(ui.openedAddresses.size(), 1u);
    EXPECT_EQ(ui.openedAddresses[0], "https://www.familysearch.org/");

    // Typing a surname and leaving the box lists every page.
    w.iLast->setText("Kowalska");
    w.iLast_LostFocus();
    EXPECT_EQ(w.PageSelect->count(), 6);
    EXPECT_EQ(w.PageSelect->currentIndex(), 0);
    EXPECT_EQ(V(w.chkIName), 1);
}

// Go takes no focus: it applies the rule of the box the focus is in first.
TEST_F(SearchWindowTest, GoAppliesTheRuleOfTheBoxBeingTyped) {
    int32_t mary = MaryAnn();
    LintoraInetSet w;
    w.LoadInetSet(mary);
    ShowActive(w);
    w.iBRange->setCurrentIndex(2);
    LintoraInetSet::SetValue(w.chkByear, 0);
    TypeInto(w.iByear, "1852");
    QTest::mouseClick(w.btnGoInet, Qt::LeftButton);
    EXPECT_EQ(w.focusWidget(), w.iByear);
    EXPECT_EQ(V(w.chkByear), 1);
    ASSERT_EQ(ui.openedAddresses.size(), 1u);
    EXPECT_EQ(ui.openedAddresses[0],
              "https://www.familysearch.org/search/record/results?q.givenName=Mary&q.surname=O%27Neil"
              "&q.birthLikeDate.from=1847&q.birthLikeDate.to=1857&q.birthLikePlace="
              "&q.deathLikeDate.from=&q.deathLikeDate.to=&q.deathLikePlace=&q.marriageLikeDate.from="
              "&q.marriageLikeDate.to=&q.marriageLikePlace=&q.spouseGivenName=&q.spouseSurname="
              "&q.fatherGivenName=&q.fatherSurname=&q.motherGivenName=&q.motherSurname=&q.anyPlace=+");

    // A surname typed for a person who had no name lists the search pages first.
    int32_t nameless = Person("", "");
    w.LoadInetSet(nameless);
    ShowActive(w);
    ASSERT_EQ(Items(w.PageSelect), std::vector<std::string>{"Home"});
    TypeInto(w.iLast, "Kowalska");
    QTest::mouseClick(w.btnGoInet, Qt::LeftButton);
    ASSERT_EQ(ui.openedAddresses.size(), 2u);
    EXPECT_EQ(ui.openedAddresses[1].substr(0, ui.openedAddresses[1].find("&q.birth")),
              "https://www.familysearch.org/search/record/results?q.givenName=&q.surname=Kowalska");
}

// A leave rule runs when the user leaves a box, not when the window's own
// rules move the focus by disabling the box that holds it.
TEST_F(SearchWindowTest, OnlyTheUserLeavingABoxRunsItsRule) {
    int32_t mary = MaryAnn();
    LintoraInetSet w;
    w.LoadInetSet(mary);
    ShowActive(w);
    QTest::mouseClick(w.iLast, Qt::LeftButton);
    QTest::keyClick(w.iLast, Qt::Key_Tab);
    EXPECT_EQ(Criteria(w), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(QApplication::focusWidget(), w.chkByear);
    // The user's own Tab out of a year box still ticks it.
    QTest::mouseClick(w.iDyear, Qt::LeftButton);
    QTest::keyClick(w.iDyear, Qt::Key_Tab);
    EXPECT_EQ(V(w.chkDyear), 1);
    w.cmdbtnExit_Click();

    // On the AFN page: leaving the AFN box keeps the page and the AFN search.
    int32_t peter = Person("Peter", "Smith-Jones", "1820", "Bristol, Gloucestershire, England", "", "", "9XYZ-1Q");
    LintoraInetSet::SetValue(w.chkDyear, 0);
    w.LoadInetSet(mary);
    LintoraInetSet::SetValue(w.chkByear, 1);
    LintoraInetSet::SetValue(w.chkBplace, 1);
    w.cmdbtnExit_Click();
    w.LoadInetSet(peter);
    ShowActive(w);
    ASSERT_EQ(w.PageSelect->currentIndex(), 1);
    ASSERT_EQ(V(w.chkAFN), 1);
    QTest::mouseClick(w.iAFN, Qt::LeftButton);
    QTest::keyClick(w.iAFN, Qt::Key_Tab);
    EXPECT_EQ(w.PageSelect->currentIndex(), 1);
    EXPECT_EQ(V(w.chkAFN), 1);
    const std::vector<int> kept{1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};

    // Unticking the AFN by mouse brings the kept criteria back.
    QTest::mouseClick(w.chkAFN, Qt::LeftButton);
    EXPECT_EQ(w.PageSelect->currentIndex(), 0);
    EXPECT_EQ(Criteria(w), kept);
    // And by key.
    w.PageSelect->setCurrentIndex(1);
    ASSERT_EQ(V(w.chkAFN), 1);
    w.chkAFN->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.chkAFN, Qt::Key_Space);
    EXPECT_EQ(w.PageSelect->currentIndex(), 0);
    EXPECT_EQ(Criteria(w), kept);
}

TEST_F(SearchWindowTest, MyTreesNeedsAYearAndTicksOneItself) {
    int32_t anna = Person("Anna Maria", "Kowalska");
    LintoraInetSet w;
    w.LoadInetSet(anna);
    w.show();
    w.SiteSelect->setCurrentIndex(4);
    ASSERT_EQ(w.SiteSelect->currentText().toStdString(), "MyTrees");
    w.PageSelect->setCurrentIndex(1);
    ASSERT_EQ(w.PageSelect->currentText().toStdString(), "Family trees");
    EXPECT_TRUE(w.iBRange->isEnabled());  // "#FRDATE#" switches on all three years
    EXPECT_TRUE(w.chkMyear->isEnabled());
    ui.Answer(MsgResult::Ok);
    w.btnGoInet_Click();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "MyTrees searches require a date-range.\nPlease provide birth year and/or death year and try again.");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Information);
    EXPECT_TRUE(ui.openedAddresses.empty());
    EXPECT_FALSE(w.isHidden());
    EXPECT_EQ(g.SiteSelectPos, 4);
    EXPECT_EQ(g.PageSelectPos, 1);

    // A death year typed: its box is ticked and the years go from-to.
    w.iDyear->setText("1901");
    w.iDRange->setCurrentIndex(2);  // choosing a range ticks the year
    EXPECT_EQ(V(w.chkDyear), 1);
    LintoraInetSet::SetValue(w.chkDyear, 0);
    w.btnGoInet_Click();
    EXPECT_EQ(V(w.chkDyear), 1);
    ASSERT_EQ(ui.openedAddresses.size(), 1u);
    EXPECT_EQ(ui.openedAddresses[0],
              "https://www.mytrees.com/search?firstname=Anna&lastname=Kowalska&event=3&fromyear=1896&toyear=1906"
              "&spousefirstname=&spouselastname=&fatherfirstname=&fatherlastname=&motherfirstname=&motherlastname=");
}

TEST_F(SearchWindowTest, CriterionRulesKeepTheBoxesConsistent) {
    int32_t mary = MaryAnn();
    LintoraInetSet w;
    w.LoadInetSet(mary);
    // The name criterion stays while it is enabled.
    LintoraInetSet::SetValue(w.chkIName, 0);
    EXPECT_EQ(V(w.chkIName), 1);
    // FamilySearch: one year criterion at a time.
    w.mYear->setText("1875");
    LintoraInetSet::SetValue(w.chkDyear, 1);
    LintoraInetSet::SetValue(w.chkMyear, 1);
    EXPECT_EQ(V(w.chkDyear), 0);
    w.iByear_LostFocus();
    EXPECT_EQ(V(w.chkByear), 1);
    EXPECT_EQ(V(w.chkMyear), 0);
    // Leaving a box runs its rule; focus going to another window does not.
    QFocusEvent toMessageBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w.iBplace, &toMessageBox);
    EXPECT_EQ(V(w.chkBplace), 0);
    QFocusEvent tabbedAway(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w.iBplace, &tabbedAway);
    EXPECT_EQ(V(w.chkBplace), 1);
    LintoraInetSet::SetValue(w.chkBplace, 0);
    // A box whose field is empty cannot be set.
    w.iBplace->clear();
    LintoraInetSet::SetValue(w.chkBplace, 1);
    EXPECT_EQ(V(w.chkBplace), 0);
    // Other sites: all three years together; MyTrees: spouse or parents.
    w.SiteSelect->setCurrentIndex(1);
    for (QCheckBox* b : {w.chkByear, w.chkDyear, w.chkMyear}) LintoraInetSet::SetValue(b, 1);
    EXPECT_EQ(V(w.chkByear) + V(w.chkDyear) + V(w.chkMyear), 3);
    w.SiteSelect->setCurrentIndex(4);
    w.PageSelect->setCurrentIndex(1);
    LintoraInetSet::SetValue(w.chkFName, 1);
    LintoraInetSet::SetValue(w.chkMName, 1);
    w.sLast_LostFocus();
    EXPECT_EQ(V(w.chkSName), 1);
    EXPECT_EQ(V(w.chkFName) + V(w.chkMName), 0);
    LintoraInetSet::SetValue(w.chkMName, 1);
    EXPECT_EQ(V(w.chkSName), 0);
    // Neither parent name: the box cannot be set.
    w.fFirst->clear();
    w.fLast->clear();
    LintoraInetSet::SetValue(w.chkFName, 1);
    EXPECT_EQ(V(w.chkFName), 0);
}

TEST_F(SearchWindowTest, RegionListsCascadeAndCountOnlyWhenShownAndChosen) {
    int32_t mary = MaryAnn();
    LintoraInetSet w;
    w.LoadInetSet(mary);
    w.PageSelect->setCurrentIndex(4);  // the IGI: "#REGIDX#"
    EXPECT_EQ(w.RegionTag(1), "IGIR1");
    EXPECT_EQ(w.Region1Select->currentIndex(), 12);
    EXPECT_EQ(w.Region1Select->currentText().toStdString(), "United States");
    EXPECT_EQ(w.Region2Select->count(), 51);
    EXPECT_TRUE(w.Region3Select->isHidden());
    w.Region1Select->setCurrentIndex(w.Region1Select->findText("British Isles"));
    EXPECT_EQ(Items(w.Region2Select),
              (std::vector<std::string>{"Channel Islands", "England", "Ireland", "Isle of Man", "Scotland", "Wales"}));
    EXPECT_TRUE(w.Region3Select->isHidden());
    w.Region2Select->setCurrentIndex(1);
    EXPECT_FALSE(w.Region3Select->isHidden());
    EXPECT_EQ(w.Region3Select->count(), 40);
    w.Region3Select->setCurrentIndex(w.Region3Select->findText("Lancashire"));
    LintoraInetSet::SetValue(w.chkRegion, 1);
    w.show();
    w.btnGoInet_Click();
    ASSERT_EQ(ui.openedAddresses.size(), 1u);
    const std::string& a = ui.openedAddresses[0];
    EXPECT_EQ(a.substr(a.find("&q.anyPlace=")), "&q.anyPlace=Lancashire+England+British+Isles&region=4");
    // A new level-1 choice starts the levels below afresh.
    w.Region1Select->setCurrentIndex(w.Region1Select->findText("Africa"));
    EXPECT_EQ(w.Region2Select->count(), 0);
    EXPECT_EQ(w.Region3Select->count(), 0);
    EXPECT_TRUE(w.Region3Select->isHidden());
    w.show();
    w.btnGoInet_Click();
    ASSERT_EQ(ui.openedAddresses.size(), 2u);
    const std::string& b = ui.openedAddresses[1];
    EXPECT_EQ(b.substr(b.find("&q.anyPlace=")), "&q.anyPlace=++Africa&region=1");
}

TEST_F(SearchWindowTest, PortResetsRangesAndEmptiesTheSiteLists) {
    int32_t mary = MaryAnn();
    LintoraInetSet w;
    EXPECT_EQ(&SearchWindow(), &w);
    SearchWindow().ResetRanges();  // nothing chosen yet: nothing to do
    EXPECT_EQ(w.iBRange->currentIndex(), -1);
    w.LoadInetSet(mary);
    w.iBRange->setCurrentIndex(3);
    w.MRange->setCurrentIndex(4);
    SearchWindow().ResetRanges();
    EXPECT_EQ(w.iBRange->currentIndex() + w.iDRange->currentIndex() + w.MRange->currentIndex(), 0);
    w.SiteSelect->setCurrentIndex(2);
    w.cmdbtnExit_Click();
    SearchWindow().ClearSiteLists();
    EXPECT_EQ(w.SiteSelect->count() + w.PageSelect->count(), 0);
    // The next preparation builds the lists again on the remembered site.
    w.LoadInetSet(mary);
    EXPECT_EQ(w.SiteSelect->count(), 8);
    EXPECT_EQ(w.SiteSelect->currentText().toStdString(), "RootsWeb");
    // Closing by the title-bar box remembers the lists as well.
    w.show();
    w.SiteSelect->setCurrentIndex(1);
    w.PageSelect->setCurrentIndex(1);
    w.close();
    EXPECT_TRUE(w.ClosedByTitleBar());
    EXPECT_EQ(g.SiteSelectPos, 1);
    EXPECT_EQ(g.PageSelectPos, 1);
}

TEST_F(SearchWindowTest, NobodyChosenLeavesEveryBoxEmpty) {
    LintoraInetSet w;
    w.LoadInetSet(0);
    for (const QLineEdit* box : {w.iAFN, w.iFirst, w.iLast, w.iByear, w.sFirst, w.fLast, w.Mplace})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(w.btnSpouseSelect->isHidden());
    EXPECT_EQ(w.SiteSelect->currentIndex(), 0);
    EXPECT_EQ(Items(w.PageSelect), std::vector<std::string>{"Home"});
    // An empty name can be typed.
    EXPECT_TRUE(w.iFirst->isEnabled());
    EXPECT_TRUE(w.iLast->isEnabled());
    // The time-line site opens in the browser and the window stays.
    w.show();
    w.btnGoTimeLine_Click();
    EXPECT_EQ(ui.openedAddresses, std::vector<std::string>{LintoraInetSet::kTimeLineAddress});
    EXPECT_FALSE(w.isHidden());
}

// Opening an address holds up neither the windows nor the user's clicks.
// A double-click opens once; a failure the launcher reports when it ends
// is told in the window that asked while that is still shown, else in the
// main window; once ended, the address opens again.
TEST_F(SearchWindowTest, AnOpenHoldsNothingUpAndItsFailureIsToldWhereItWasAsked) {
    const int32_t mary = MaryAnn();
    LintoraInetSet w;
    w.LoadInetSet(mary);
    ui.shown = [](const void* window) { return static_cast<const QWidget*>(window)->isVisible(); };
    ShowActive(w);
    const std::string timeLine = LintoraInetSet::kTimeLineAddress;
    DoubleClick(w.btnGoTimeLine);
    EXPECT_EQ(ui.openedAddresses, std::vector<std::string>{timeLine});
    ui.Answer(MsgResult::Ok);
    ui.FinishOpen("xdg-open reported a failure (exit status 4)");
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Problem with navigation parms: " + timeLine +
                                                   "\nxdg-open reported a failure (exit status 4)"});
    EXPECT_EQ(ui.boxes.back().asker, &w);
    QTest::mouseClick(w.btnGoTimeLine, Qt::LeftButton);
    EXPECT_EQ(ui.openedAddresses.size(), 2u);
    ui.FinishOpen();  // opened: nothing to tell

    // Go hides the window at once; the second click of a double-click
    // reaches nothing that opens.
    DoubleClick(w.btnGoInet);
    EXPECT_TRUE(w.isHidden());
    ASSERT_EQ(ui.openedAddresses.size(), 3u);
    const std::string search = ui.openedAddresses.back();
    EXPECT_EQ(search.substr(0, 57), "https://www.familysearch.org/search/record/results?q.give");
    // Shown again and Go pressed while that open still starts: the window
    // goes, the search is not opened twice.
    ShowActive(w);
    QTest::mouseClick(w.btnGoInet, Qt::LeftButton);
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(ui.openedAddresses.size(), 3u);
    ui.Answer(MsgResult::Ok);
    ui.FinishOpen("xdg-open reported a failure (exit status 3)");
    EXPECT_EQ(ui.boxes.back().text, "Problem with navigation parms: " + search + "\nxdg-open reported a failure (exit status 3)");
    EXPECT_EQ(ui.boxes.back().asker, nullptr);  // the main window
    EXPECT_FALSE(ui.busy);
    EXPECT_TRUE(ui.PendingOpens().empty());
}

// With the real launcher: Go neither waits for the browser nor shows the
// hourglass, and the launcher's late failure is told over the main window,
// the search window being gone by then.
TEST_F(SearchWindowTest, GoDoesNotWaitForTheBrowser) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QWidget mainWindow;
    mainWindow.show();
    QtPlatform desktop;
    desktop.launcher = testing::Launcher(dir, "no-browser", "sleep 0.5; exit 3");
    desktop.dialogParent = &mainWindow;
    InstallPlatform(&desktop);
    QString told;
    QWidget* owner = nullptr;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text().remove(QChar(0x200B));
            owner = box->parentWidget();
            box->accept();
        }
    });
    answer.start(10);
    LintoraInetSet w(&mainWindow);
    w.LoadInetSet(MaryAnn());
    ShowActive(w);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(w.btnGoInet, Qt::LeftButton);
    EXPECT_LT(clock.elapsed(), 400);
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&owner] { return owner != nullptr; }, 5000));
    EXPECT_EQ(owner, &mainWindow);
    EXPECT_TRUE(told.startsWith("Problem with navigation parms: https://www.familysearch.org/search/record/results?q."));
    EXPECT_TRUE(told.endsWith(QString::fromStdString("\n" + desktop.launcher + " reported a failure (exit status 3)")))
        << told.toStdString();
    InstallPlatform(&ui);
}

// The time line still being opened for the search window, the main window
// asks for the same address and for its support page: each ask starts a
// launcher of its own. Only the search window's own second press, while its
// open still runs, starts none.
TEST_F(SearchWindowTest, AnotherWindowsAskWhileAnOpenRunsGetsALauncherOfItsOwn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath("opened");
    QWidget mainWindow;
    mainWindow.show();
    QtPlatform desktop;
    desktop.launcher = testing::Launcher(dir, "browser", QString("echo \"$1\" >> '%1'; sleep 0.5").arg(log));
    desktop.dialogParent = &mainWindow;
    InstallPlatform(&desktop);
    LintoraInetSet w(&mainWindow);
    w.LoadInetSet(MaryAnn());
    ShowActive(w);
    const std::string timeLine = LintoraInetSet::kTimeLineAddress;

    QTest::mouseClick(w.btnGoTimeLine, Qt::LeftButton);
    // Asked as the main window asks, in no window of its own (Help > Help).
    EXPECT_TRUE(NavigateTo(timeLine));
    EXPECT_TRUE(NavigateTo(kSupportPage));
    QTest::mouseClick(w.btnGoTimeLine, Qt::LeftButton);
    EXPECT_EQ(desktop.PendingOpens().size(), 3u);
    ASSERT_TRUE(QTest::qWaitFor([&desktop] { return desktop.PendingOpens().empty(); }, 5000));
    QFile opened(log);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    // The launchers run side by side: their lines come in any order.
    QStringList lines = QString::fromUtf8(opened.readAll()).split('\n', Qt::SkipEmptyParts);
    lines.sort();
    EXPECT_EQ(lines.join(" | ").toStdString(), std::string(kSupportPage) + " | " + timeLine + " | " + timeLine);
    InstallPlatform(&ui);
}

// A short country list: the preset position lies beyond it and nothing is
// chosen, so the search carries no region.
TEST_F(SearchWindowTest, APresetBeyondTheRegionListChoosesNothing) {
    int32_t mary = MaryAnn();
    g.RegionCount = 100;
    LintoraInetSet w;
    w.LoadInetSet(mary);
    EXPECT_EQ(w.Region1Select->count(), 100);
    EXPECT_EQ(w.Region1Select->currentIndex(), -1);
    EXPECT_EQ(w.Region2Select->count(), 0);
    LintoraInetSet::SetValue(w.chkRegion, 1);
    w.show();
    w.btnGoInet_Click();
    ASSERT_EQ(ui.openedAddresses.size(), 1u);
    EXPECT_EQ(ui.openedAddresses[0].substr(ui.openedAddresses[0].find("&q.anyPlace=")), "&q.anyPlace=+");
}

// The main window's way in: modal, back when the window is hidden; after
// a title-bar close the next showing is a new window.
TEST_F(SearchWindowTest, ShownModallyUntilHidden) {
    int32_t mary = MaryAnn();
    LintoraInetSet* seen = nullptr;
    QTimer::singleShot(0, [&] {
        seen = qobject_cast<LintoraInetSet*>(QApplication::activeModalWidget());
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->iFirst->text().toStdString(), "Mary Ann");
        seen->SiteSelect->setCurrentIndex(1);
        seen->cmdbtnExit_Click();
    });
    ShowSearchWindow(mary);
    EXPECT_EQ(g.SiteSelectPos, 1);
    EXPECT_EQ(&SearchWindow(), seen);
    LintoraInetSet* second = nullptr;
    QTimer::singleShot(0, [&] {
        second = qobject_cast<LintoraInetSet*>(QApplication::activeModalWidget());
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->SiteSelect->currentText().toStdString(), "Ancestry");
        second->close();
    });
    ShowSearchWindow(mary);
    EXPECT_EQ(second, seen);  // hidden, not closed: the same window
    EXPECT_TRUE(second->ClosedByTitleBar());
    LintoraInetSet* third = nullptr;
    QTimer::singleShot(0, [&] {
        third = qobject_cast<LintoraInetSet*>(QApplication::activeModalWidget());
        ASSERT_NE(third, nullptr);
        third->cmdbtnExit_Click();
    });
    ShowSearchWindow(mary);
    EXPECT_FALSE(third->ClosedByTitleBar());
    EXPECT_EQ(third->SiteSelect->currentText().toStdString(), "Ancestry");
    // Escape in a box closes as Close does: the positions are stored and
    // the window is kept.
    QTimer::singleShot(0, [&] {
        third->SiteSelect->setCurrentIndex(4);
        third->PageSelect->setCurrentIndex(1);
        third->iLast->setFocus();
        QTest::keyClick(third->iLast, Qt::Key_Escape);
    });
    ShowSearchWindow(mary);
    EXPECT_EQ(g.SiteSelectPos, 4);
    EXPECT_EQ(g.PageSelectPos, 1);
    EXPECT_FALSE(third->ClosedByTitleBar());
    EXPECT_EQ(&SearchWindow(), third);
}

}  // namespace
}  // namespace lintora
