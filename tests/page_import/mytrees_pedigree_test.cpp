#include "page_import/mytrees_pedigree.h"

#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "tests/page_import/tree_pages_support.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::TreePageTest;

const std::string kCaution =
    "Lintora recognizes MyTrees pedigree data, however...\n"
    "On occasion some name fields are incorrectly parsed/omitted,\n"
    "and may be interpreted by Lintora in unexpected ways.\n"
    "Check your results carefully, and edit (or UnDo) accordingly.";

class MyTreesPedigreeTest : public TreePageTest {
protected:
    static int32_t Parents(int32_t child) { return child > 0 ? g.Indiv[child].iFamc : -1; }
};

TEST_F(MyTreesPedigreeTest, PageFilesFourteenPersonsInSevenFamilies) {
    ui.Answer(MsgResult::Ok);
    ProcessClipboard(ReadPage("mytrees_pedigree.txt"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, kCaution);
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Information);
    ASSERT_EQ(g.IndivCount, 14);
    ASSERT_EQ(g.FamilCount, 7);

    // Name, sex, birth and death of persons 1 to 14 in chart order; a wife
    // of the younger generations takes the surname of her parents' family.
    const std::vector<std::string> expected = {
        "Henry Augustus Pemberton|M|1838|1901", "Lydia-Ann Whitcomb|F|1841|1899", "Josiah Pemberton|M|1791|1860",
        "Ruth Chase|F|1793|1871", "Jean-Baptiste Whitcomb|M|1808|1870", "Abigail Farnsworth|F|1811|1880",
        "Eli Pemberton|M|1765|1830", "Sarah Dow|F|1768|1840", "Amos Chase|M|1762|1825",
        "Hannah Eastman|F|1766|1830", "Jonas Whitcomb|M|1758|1820", "Mary Blood|F|1760|1829",
        "Levi Farnsworth|M|1780|1850", "Lucy Lawrence|F|1784|1860"};
    std::vector<int32_t> r(15, 0);
    for (int k = 1; k <= 14; ++k) {
        const std::string& e = expected[k - 1];
        r[k] = Named(e.substr(0, e.find('|')));
        ASSERT_GT(r[k], 0) << e;
        const IndivRec& I = g.Indiv[r[k]];
        EXPECT_EQ(I.iName.value() + "|" + I.iSex.value() + "|" + I.ibDate.value() + "|" + I.idDate.value(), e);
    }
    // Each couple is one family with its marriage as date and place.
    const std::vector<std::string> marriages = {"10 Oct 1860|Lowell, Middlesex, MA",
                                                "3 Jun 1812|Concord, Merrimack, NH",
                                                "4 Oct 1832|Groton, Middlesex, MA",
                                                "1790|Concord",
                                                "1788|Hopkinton",
                                                "1780|Nashua",
                                                "1805|Groton"};
    std::vector<int32_t> couple(8, 0);
    for (int c = 1; c <= 7; ++c) {
        int32_t f = 0;
        for (int32_t i = 1; i <= g.FamilCount; ++i)
            if (g.Famil[i].fHusb == r[2 * c - 1] && g.Famil[i].fWife == r[2 * c]) f = i;
        ASSERT_GT(f, 0) << "couple " << c;
        couple[c] = f;
        EXPECT_EQ(g.Famil[f].fmDate.value() + "|" + g.Famil[f].fmPlace.value(), marriages[c - 1]);
    }
    // Persons 1 to 6 are children of the couple of persons 2k + 1 and 2k + 2.
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(Parents(r[k]), couple[k + 1]) << "person " << k;
    for (int k = 7; k <= 14; ++k) EXPECT_EQ(Parents(r[k]), 0) << "person " << k;
    EXPECT_EQ(g.PageMainIndiv, r[1]);
    EXPECT_EQ(g.PedCautionShown, "X");
    EXPECT_EQ(windows.label, "14 Individuals added, 0 updated; 7 Families added, 0 updated (Tree #1)");
    testing::ExpectTablesConsistent();

    // The same page again: everybody is found, and no caution is shown.
    ui.boxes.clear();
    ui.Answer(MsgResult::Yes);  // re-process the unchanged text
    ProcessClipboard(ReadPage("mytrees_pedigree.txt"));
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(g.IndivCount, 14);
    EXPECT_EQ(g.FamilCount, 7);
    EXPECT_EQ(windows.label, "0 Individuals added, 14 updated; 0 Families added, 7 updated (Tree #1)");
}

TEST_F(MyTreesPedigreeTest, UnnamedGrandmotherIsFoundAgainThroughHerHusband) {
    g.PedCautionShown = "X";
    std::string page = ReadPage("mytrees_pedigree.txt");
    const std::string sarah = "& Sarah Dow - 1768-1840";
    ASSERT_NE(page.find(sarah), std::string::npos);
    page.replace(page.find(sarah), sarah.size(), "& Unknown");
    ProcessClipboard(page);
    ASSERT_EQ(g.IndivCount, 14);
    ASSERT_EQ(g.FamilCount, 7);
    const int32_t eli = Named("Eli Pemberton"), unnamed = Named("<unknown>");
    ASSERT_TRUE(eli && unnamed);
    const int32_t josiahs = Parents(Named("Josiah Pemberton"));
    ASSERT_GT(josiahs, 0);
    EXPECT_EQ(g.Famil[josiahs].fHusb, eli);
    EXPECT_EQ(g.Famil[josiahs].fWife, unnamed);

    ui.Answer(MsgResult::Yes);  // re-process the unchanged text
    ProcessClipboard(page);
    EXPECT_EQ(g.IndivCount, 14);
    EXPECT_EQ(g.FamilCount, 7);
    EXPECT_EQ(g.Famil[josiahs].fWife, unnamed);
    EXPECT_TRUE(ui.matchRequests.empty());
}

TEST_F(MyTreesPedigreeTest, GrandmotherWithoutNameAndAPageCutShort) {
    g.PedCautionShown = "X";
    // The page breaks off after the husband's parents: the lines the layout
    // looks ahead to are not there, and read as empty.
    g.PageLines = {"", "Husband's Line", "Hill Family (m 1800) DDC", "Tom - 1775-1840 &", "Hill Family (m 1825) DDC",
                   "Ned - 1801-1870 & Ann - 1803-1880"};
    InitPrep();
    ProcessPedKK();
    EXPECT_TRUE(ui.boxes.empty());
    // Tom, the grandfather, is filed alone: his wife has no name, so there
    // is no couple and Ned gets no parents from the page.
    ASSERT_EQ(g.IndivCount, 3);
    const int32_t tom = Named("Tom Hill"), ned = Named("Ned Hill"), ann = Named("Ann");
    ASSERT_TRUE(tom && ned && ann);
    EXPECT_EQ(g.Indiv[ann].ibDate.value() + "|" + g.Indiv[ann].idDate.value(), "1803|1880");
    ASSERT_EQ(g.FamilCount, 1);
    EXPECT_EQ(g.Famil[1].fHusb, ned);
    EXPECT_EQ(g.Famil[1].fWife, ann);
    EXPECT_EQ(g.Famil[1].fmDate.value(), "1825");
    EXPECT_EQ(g.Indiv[ned].iFamc, 0);
    // The central couple is not on this page.
    EXPECT_EQ(g.PageMainIndiv, 0);
    EXPECT_FALSE(ui.busy);
}

TEST_F(MyTreesPedigreeTest, RecordedParentsAreKeptAndTheMotherFoundByHerRecordedName) {
    g.PedCautionShown = "X";
    MatchQuery q;
    auto person = [&](const std::string& name, const std::string& sex) {
        q = MatchQuery{};
        q.name = name;
        const int32_t i = FindIndivMatches(q);
        g.Indiv[i].iSex = sex;
        g.Indiv[i].iTouched = 0;
        return i;
    };
    const int32_t ned = person("Ned Hill", "M"), dad = person("Tom Hill", "M"), mum = person("Ann Marie Bell", "F");
    g.Indiv[ned].ibDate = "1801";
    g.Indiv[dad].ibDate = "1775";
    const int32_t fam = FindOrAddFamil(dad, mum);
    g.Famil[fam].fTouched = 0;
    g.Indiv[ned].iFamc = fam;
    g.PageLines = {"",
                   "Husband's Line",
                   "Hill Family (m 1800) DDC",
                   "Tom - 1775-1840 & Annie - 1778-1850",
                   "Hill Family (m 1825) DDC",
                   "Ned - 1801-1870 & Kate - 1803-1880",
                   "",
                   "Wife's Line"};
    InitPrep();
    ProcessPedKK();
    // Ned and Tom agree by their dates, his wife by her recorded name and
    // her husband; only Kate is new.
    EXPECT_EQ(g.IndivCount, 4);
    EXPECT_EQ(g.Indiv[ned].iFamc, fam);
    EXPECT_EQ(g.Indiv[mum].iName.value(), "Ann Marie Bell");
    EXPECT_EQ(g.Indiv[mum].ibDate.value() + "|" + g.Indiv[mum].idDate.value(), "1778|1850");
    EXPECT_EQ(g.FamilCount, 2);
}

TEST_F(MyTreesPedigreeTest, LifeYearsAreTheBirthAndTheDeath) {
    g.PedCautionShown = "X";
    std::string page = ReadPage("mytrees_pedigree.txt");
    auto replace = [&page](const std::string& from, const std::string& to) {
        ASSERT_NE(page.find(from), std::string::npos) << from;
        page.replace(page.find(from), from.size(), to);
    };
    replace("Pemberton Family (m 10 Oct 1860 Lowell, Middlesex, MA) DDC", "Pemberton Family (m 1868 Boston) DDC");
    replace("Henry Augustus - 1838-1901 & Lydia-Ann - 1841-1899", "Edwin - 1844-1915 & Clara - 1847-");
    replace("Eli - 1765-1830", "Eli - -1830");
    // Eli gathered before from his own page, which knows his death alone:
    // the chart's "-1830" is that death, and finds him without a question.
    ProcessClipboard("MyTrees.com - Family Trees, Genealogy and Ancestry\nHome | Search | Submit Your Tree | Help\n"
                     "Individual Record\nName: Eli PEMBERTON\nSex: Male\n"
                     "Death: 1830 Concord, Merrimack, New Hampshire\n\n"
                     "Copyright (c) 1999-2004 Fficiency Software, Inc. All rights reserved.\n");
    ASSERT_EQ(g.IndivCount, 1);
    ProcessClipboard(page);
    EXPECT_TRUE(ui.matchRequests.empty());
    EXPECT_EQ(windows.label, "13 Individuals added, 1 updated; 7 Families added, 0 updated (Tree #1)");
    ASSERT_EQ(g.IndivCount, 14);
    // Birth and death of each person the page changed.
    auto lifeOf = [this](const std::string& name) {
        const int32_t i = Named(name);
        return i > 0 ? g.Indiv[i].ibDate.value() + "|" + g.Indiv[i].idDate.value() : "not filed";
    };
    EXPECT_EQ(lifeOf("Edwin Pemberton"), "1844|1915");
    EXPECT_EQ(lifeOf("Clara Whitcomb"), "1847|");
    EXPECT_EQ(lifeOf("Eli PEMBERTON"), "|1830");
    EXPECT_EQ(g.Indiv[1].idPlace.value(), "Concord, Merrimack, New Hampshire");
    EXPECT_EQ(lifeOf("Sarah Dow"), "1768|1840");

    // His own page, with the day of his birth, is the same man.
    ProcessClipboard("MyTrees.com - Family Trees, Genealogy and Ancestry\nHome | Search | Submit Your Tree | Help\n"
                     "Individual Record\nName: Edwin PEMBERTON\nSex: Male\n"
                     "Birth: 12 Mar 1844 Lowell, Middlesex, Massachusetts\n"
                     "Death: 2 Jan 1915 Boston, Suffolk, Massachusetts\n\n"
                     "Spouses:\n1. Whitcomb, Clara - born: 1847 @ Nashua, Hillsborough, New Hampshire\n\n"
                     "Copyright (c) 1999-2004 Fficiency Software, Inc. All rights reserved.\n");
    EXPECT_TRUE(ui.matchRequests.empty());
    EXPECT_EQ(g.IndivCount, 14);
    EXPECT_EQ(g.FamilCount, 7);
    EXPECT_EQ(lifeOf("Edwin Pemberton"), "12 Mar 1844|2 Jan 1915");
    EXPECT_EQ(windows.label, "0 Individuals added, 2 updated; 0 Families added, 1 updated (Tree #1)");
}

}  // namespace
}  // namespace lintora
