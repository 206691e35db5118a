#include "page_import/af_pedigree.h"

#include <stdexcept>
#include <string>

#include "page_import/igi_pedigree.h"
#include "page_import/pedigree_chart.h"
#include "tests/page_import/fs_pages_support.h"
#include "tests/support/case_names.h"

namespace lintora {
namespace {

using testing::FSPageTest;
using testing::ReadPage;

const char* const kNames[16] = {"",
                                "John Henry WHITLOCK",
                                "Samuel WHITLOCK",
                                "Abigail MARSH",
                                "Ezra WHITLOCK",
                                "Lydia CARVER",
                                "Nathan MARSH",
                                "Prudence OLCOTT",
                                "Amos WHITLOCK",
                                "Sarah DEMING",
                                "Eli CARVER",
                                "Martha BOOTH",
                                "Jonas MARSH",
                                "Hepzibah TILLEY",
                                "Caleb OLCOTT",
                                "Ruth STANLEY"};

class PedigreeChartTest : public FSPageTest {
protected:
    // Every person of the sample charts is filed once, persons 1 to 7 with
    // both parents, person 1 with his spouse.
    void ExpectWholeChartFiled() {
        EXPECT_TRUE(ui.boxes.empty());
        ASSERT_EQ(g.IndivCount, 16);
        ASSERT_EQ(g.FamilCount, 8);
        for (int n = 1; n <= 7; ++n) ExpectChildOf(kNames[n], kNames[2 * n], kNames[2 * n + 1]);
        for (int n = 8; n <= 15; ++n) EXPECT_EQ(g.Indiv[ByName(kNames[n])].iFamc, 0) << kNames[n];
        for (int n = 2; n <= 14; n += 2) {
            EXPECT_EQ(g.Indiv[ByName(kNames[n])].iSex.value(), "M") << kNames[n];
            EXPECT_EQ(g.Indiv[ByName(kNames[n + 1])].iSex.value(), "F") << kNames[n + 1];
        }
        const int32_t one = ByName(kNames[1]);
        const int32_t f = FamilyOf(one, ByName("Eliza Ann BENNETT"));
        ASSERT_GT(f, 0);
        EXPECT_EQ(g.Famil[f].fmPlace.value(), "Nauvoo, Hancock, Illinois");
        EXPECT_EQ(g.Indiv[one].idPlace.value(), "Provo, Utah, Utah");
        EXPECT_EQ(g.PageMainIndiv, one);
        EXPECT_EQ(g.TreeSlot[0], one);
        EXPECT_EQ(g.TreeCount, 1);
        testing::ExpectTablesConsistent();
    }
};

TEST_F(PedigreeChartTest, AncestralFileChartCollectsEveryPerson) {
    SplitPageText(ReadPage("af_pedigree.txt"));
    ChartPersons c;
    std::ptrdiff_t line = 0;
    const ChartEventLabel labels[] = {{"B:", 3, 4, ChartEvent::Birth}, {"Bu:", 3, 4, ChartEvent::Burial},
                                      {"D:", 3, 4, ChartEvent::Death}, {"M:", 3, 4, ChartEvent::Marriage}};
    CollectChart(PageLineCursor(g.PageLines), labels, std::size(labels), c, line);
    for (int n = 1; n <= 15; ++n) EXPECT_EQ(c[n].name, kNames[n]) << n;
    EXPECT_EQ(c[32].name, "Eliza Ann BENNETT");
    EXPECT_EQ(c[32].bDate, "3 Feb 1836");
    EXPECT_EQ(c[32].bPlace, "Kirtland, Lake, Ohio");
    EXPECT_EQ(c[1].bDate, "12 Mar 1835");
    EXPECT_EQ(c[1].bPlace, "Wellsville, Allegany, New York");
    EXPECT_EQ(c[1].mDate, "15 Jun 1855");
    EXPECT_EQ(c[1].dDate, "4 Nov 1902");
    // A three-character label keeps the blank after it.
    EXPECT_EQ(c[2].blDate, " 7 Nov 1871");
    EXPECT_EQ(c[2].blPlace, "Provo, Utah, Utah");
    EXPECT_EQ(c[4].name, "Ezra WHITLOCK");  // number alone, name on the next line
    EXPECT_EQ(c[4].mDate, "3 May 1800");
    EXPECT_EQ(c[15].bPlace, "Windsor, Hartford, Connecticut");
    for (int n = 16; n < 32; ++n) EXPECT_TRUE(c[n].name.empty()) << n;
    EXPECT_EQ(g.PageLines[static_cast<std::size_t>(line)], "The Church of Jesus Christ of Latter-day Saints");
}

TEST_F(PedigreeChartTest, AncestralFileChartFilesEveryPersonWithBothParents) {
    ProcessClipboard(ReadPage("af_pedigree.txt"));
    ExpectWholeChartFiled();
    EXPECT_EQ(g.Indiv[ByName(kNames[2])].iblDate.value(), "7 Nov 1871");
    // Sixteen persons were filed, the count shown before the spouse of person 1.
    EXPECT_NE(std::find(windows.labels.begin(), windows.labels.end(), "Processing...15"), windows.labels.end());
    EXPECT_EQ(std::find(windows.labels.begin(), windows.labels.end(), "Processing...16"), windows.labels.end());

    // Pasting the chart again finds every person.
    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ReadPage("af_pedigree.txt"));
    EXPECT_EQ(g.IndivCount, 16);
    EXPECT_EQ(g.FamilCount, 8);
}

TEST_F(PedigreeChartTest, IGIChartFilesEveryPersonWithBothParents) {
    ProcessClipboard(ReadPage("igi_pedigree.txt"));
    ExpectWholeChartFiled();
    EXPECT_EQ(g.Indiv[ByName(kNames[2])].icDate.value(), "20 MAR 1804");
    EXPECT_EQ(g.Indiv[ByName(kNames[3])].ibDate.value(), "12 MAR 1807");
    EXPECT_NE(std::find(windows.labels.begin(), windows.labels.end(), "Processing...16"), windows.labels.end());
}

// Person 1's spouse given with a name and nothing else is filed once, as
// his wife, on either chart.
class SpouseNameAloneTest : public PedigreeChartTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SpouseNameAloneTest, IsFiledOnce) {
    std::string page = ReadPage(GetParam());
    const std::size_t spouse = page.find("BENNETT\n");
    ASSERT_NE(spouse, std::string::npos);
    const std::size_t events = spouse + 8, next = page.find("\n2 Samuel", events);
    page.erase(events, next + 1 - events);
    ProcessClipboard(page);
    ExpectWholeChartFiled();
    EXPECT_EQ(g.Indiv[ByName("Eliza Ann BENNETT")].iSex.value(), "F");
}

INSTANTIATE_TEST_SUITE_P(Charts, SpouseNameAloneTest, ::testing::Values("af_pedigree.txt", "igi_pedigree.txt"),
                         testing::NamedBy());

TEST_F(PedigreeChartTest, WalkRules) {
    const std::string head = "FamilySearch International Genealogical Index\nPedigree Chart\n";
    // A stray year and a number past 32 are no chart numbers and are not
    // read; the chart has no closing line and is filed all the same.
    Parse(&ProcessPedIGI, head +
                              "Intro Person\n"           // before the first number: slot 0, never filed
                              "1 Ann LEE Death: 1900\n"  // an event on the numbered line
                              "Leeds\n"
                              "1850\n"
                              "33 Nobody HERE\n"
                              "Marriage: 1870\n"         // place line with a colon: no place
                              "Birth: 1901\n"            // a numbered line below is the place
                              "2\n"                      // stays empty: a numbered line follows
                              "3 Sue KANE\nBirth: 1830\nYork\n"
                              "15\n"                     // empty, and the spouse line follows
                              "Family\nAl ROE\nBirth: 1848\nDover\n");
    ASSERT_EQ(g.IndivCount, 3);
    const int32_t ann = ByName("Ann LEE");
    const IndivRec& a = g.Indiv[ann];
    EXPECT_EQ(a.ibDate.value(), "1901");
    EXPECT_EQ(a.ibPlace.value(), "2");
    EXPECT_EQ(a.idDate.value(), "1900");
    EXPECT_EQ(a.idPlace.value(), "Leeds");
    // One empty parent: the set holds the other alone.
    ASSERT_GT(a.iFamc, 0);
    EXPECT_EQ(g.Famil[a.iFamc].fHusb, 0);
    EXPECT_EQ(g.Famil[a.iFamc].fWife, ByName("Sue KANE"));
    const int32_t f = FamilyOf(ann, ByName("Al ROE"));
    ASSERT_GT(f, 0);
    EXPECT_EQ(g.Famil[f].fmDate.value(), "1870");
    EXPECT_EQ(g.Famil[f].fmPlace.value(), "");
    EXPECT_TRUE(ui.boxes.empty());

    // A chart whose first line is the closing line files nothing, and the
    // page's main person stays.
    ResetProgramState();
    g.PageMainIndiv = 7;
    Parse(&ParseAFPedigree, "FamilySearch Ancestral File\n\xC2\xA9 2002 Intellectual Reserve\n1 Ann LEE\n");
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.PageMainIndiv, 7);

    // Parents with the same name give no parent set; the name look-ahead on
    // the last line reads an empty line.
    ResetProgramState();
    Parse(&ParseAFPedigree, "FamilySearch Ancestral File\nPedigree Chart\n1 Ann LEE\n2 Sam LEE\n3 Sam LEE\n4");
    EXPECT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.Indiv[ByName("Ann LEE")].iFamc, 0);
}

// A status label that fails once the second person is filed.
class FailingLabel : public testing::RecordingWindows {
public:
    void SetStatusLabel(const std::string& s) override {
        if (s == "Processing...2") throw std::runtime_error("label gone");
        RecordingWindows::SetStatusLabel(s);
    }
};

TEST_F(PedigreeChartTest, AFailureWhileFilingKeepsWhatWasFiledAndNamesTheLine) {
    FailingLabel failing;
    InstallWindowFakes(&failing);
    ui.Answer(MsgResult::Ok);
    ProcessClipboard(ReadPage("af_pedigree.txt"));
    ASSERT_FALSE(ui.boxes.empty());
    // The walk ended at the closing line, page line 78 (the first line is 0).
    EXPECT_EQ(ui.boxes[0].text, "Problem processing GNC:PED 78 - label gone");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
    // Person 1 with his parents and spouse, then person 2 with his parents: filed.
    EXPECT_EQ(g.IndivCount, 6);
    ExpectChildOf(kNames[2], kNames[4], kNames[5]);
    EXPECT_FALSE(ui.busy);
    testing::ExpectTablesConsistent();
    InstallWindowFakes(&windows);
}

}  // namespace
}  // namespace lintora
