#include <string>
#include <vector>

#include "page_import/mytrees_family.h"
#include "page_import/mytrees_individual.h"
#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/tree_pages_support.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::TreePageTest;

class MyTreesPagesTest : public TreePageTest {
protected:
    static void Lines(const std::vector<std::string>& lines) {
        g.PageLines = lines;
        InitPrep();
    }
};

TEST_F(MyTreesPagesTest, IndividualPageFilesThePersonHisSpousesAndNotes) {
    ProcessClipboard(ReadPage("mytrees_individual.txt"));
    EXPECT_TRUE(ui.boxes.empty());
    const PageScratchRec& P = g.PageScratch;
    EXPECT_EQ(P.pgGivn + "|" + P.pgSurn, "Henry Augustus|PEMBERTON");
    EXPECT_EQ(P.pgNameKey.size(), 20u);
    ASSERT_EQ(g.IndivCount, 3);
    ASSERT_EQ(g.FamilCount, 2);
    const IndivRec& H = g.Indiv[1];
    EXPECT_EQ(H.iName.value(), "Henry Augustus PEMBERTON");
    EXPECT_EQ(H.iSex.value(), "M");
    EXPECT_EQ(H.ibDate.value() + "|" + H.ibPlace.value(), "14 Feb 1838|Concord, Merrimack, New Hampshire");
    EXPECT_EQ(H.icDate.value() + "|" + H.icPlace.value(), "2 Mar 1838|Concord, Merrimack, New Hampshire");
    EXPECT_EQ(H.idDate.value() + "|" + H.idPlace.value(), "9 Oct 1901|Lowell, Middlesex, Massachusetts");
    EXPECT_EQ(H.iblDate.value() + "|" + H.iblPlace.value(),
              "12 Oct 1901|Lowell Cemetery, Lowell, Middlesex, Massachusetts");
    // The page's "Father:" and "Mother:" lines are no part of this layout.
    EXPECT_EQ(H.iFamc, 0);

    const IndivRec& lydia = g.Indiv[2];
    EXPECT_EQ(lydia.iName.value(), "Lydia Ann WHITCOMB");
    EXPECT_EQ(lydia.iSex.value(), "F");
    EXPECT_EQ(lydia.ibDate.value() + "|" + lydia.ibPlace.value(), "3 May 1841|Nashua, Hillsborough, New Hampshire");
    const IndivRec& harriet = g.Indiv[3];
    EXPECT_EQ(harriet.iName.value(), "Harriet FARRAR");
    EXPECT_EQ(harriet.ibDate.value() + "|" + harriet.ibPlace.value(), "1849|Lowell, Middlesex, Massachusetts");
    for (int32_t f = 1; f <= 2; ++f) {
        EXPECT_EQ(g.Famil[f].fHusb, 1);
        EXPECT_EQ(g.Famil[f].fWife, f + 1);
        EXPECT_TRUE(g.Famil[f].fmDate.blank());
    }
    EXPECT_EQ(NoteLines(1), (std::vector<std::string>{
                                "1 NOTE|Henry worked as a machinist in the Lowell mills and served two years "
                                "with the 6th Massachuset",
                                "2 CONC|ts Volunteer Infantry.", "2 CONT|Buried beside his first wife."}));
    EXPECT_EQ(g.NotesCount, 3);
    EXPECT_EQ(g.PageMainIndiv, 1);
    EXPECT_EQ(windows.label, "3 Individuals added, 0 updated; 2 Families added, 0 updated (Tree #1)");
    EXPECT_EQ(g.FirstSite + g.FirstType, "MYTInd");
}

TEST_F(MyTreesPagesTest, FamilyPagePutsHusbandWifeAndChildrenInOneFamily) {
    ProcessClipboard(ReadPage("mytrees_family.txt"));
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.IndivCount, 5);
    ASSERT_EQ(g.FamilCount, 1);
    const FamilRec& F = g.Famil[1];
    const IndivRec& samuel = g.Indiv[F.fHusb];
    const IndivRec& abigail = g.Indiv[F.fWife];
    EXPECT_EQ(samuel.iName.value() + "|" + samuel.iSex.value(), "Samuel WHITCOMB|M");
    // His first birth line gives both date and place; a later one adds nothing.
    EXPECT_EQ(samuel.ibDate.value() + "|" + samuel.ibPlace.value(), "1808|Nashua, Hillsborough, New Hampshire");
    EXPECT_TRUE(samuel.idDate.blank());
    EXPECT_EQ(abigail.iName.value() + "|" + abigail.iSex.value(), "Abigail FARNSWORTH|F");
    // Hers keeps the fuller date and the fuller place, from different lines.
    EXPECT_EQ(abigail.ibDate.value() + "|" + abigail.ibPlace.value(), "20 Sep 1811|Groton, Middlesex, Massachusetts");
    EXPECT_EQ(F.fmDate.value() + "|" + F.fmPlace.value(), "4 Oct 1832|Groton, Middlesex, Massachusetts");
    EXPECT_EQ(F.fChilCount, 3);

    const std::vector<std::string> children = {"Lydia Ann WHITCOMB|3 May 1841|Nashua, Hillsborough, New Hampshire",
                                               "Samuel WHITCOMB|1843|Nashua, Hillsborough, New Hampshire",
                                               "Mary WHITCOMB|1846|"};
    for (std::size_t k = 0; k < children.size(); ++k) {
        const int32_t c = g.PageScratch.PageChildren[k + 1].chRIN;
        ASSERT_GT(c, 0);
        const IndivRec& C = g.Indiv[c];
        EXPECT_EQ(C.iName.value() + "|" + C.ibDate.value() + "|" + C.ibPlace.value(), children[k]);
        EXPECT_EQ(C.iSex.value(), "U");
        EXPECT_EQ(C.iFamc, 1);
    }
    EXPECT_EQ(NoteLines(F.fHusb), (std::vector<std::string>{"1 NOTE|The family moved to Lowell in 1850."}));
    EXPECT_EQ(g.PageMainIndiv, F.fHusb);
    testing::ExpectTablesConsistent();
}

TEST_F(MyTreesPagesTest, IndividualLabelsKeepTheirFirstValues) {
    Lines({"", "Individual Record", "Name: Ann HILL", "Name: Anna HULL", "Sex: female", "Sex: Male",
           "Birth: 1850 Leeds", "Birth: 3 Jan 1851 York", "Death: Leeds", "Death: 1900: York", "Burial: 1900",
           "Endowment: 1 Jan 1920 SLAKE", "X:", "Spouses:", "1. Cole, Tom - born: 1848", "Sp", "Copyright"});
    ProcessIndKK();
    const PageScratchRec& P = g.PageScratch;
    EXPECT_EQ(P.pgName, "Ann HILL");
    // The sex is read whatever its case.
    EXPECT_EQ(P.pgSex, "F");
    EXPECT_EQ(P.pgbDate + "|" + P.pgbPlace, "1850|Leeds");
    // Date and place are each taken from the first line that has one; a
    // second colon ends the value.
    EXPECT_EQ(P.pgdDate + "|" + P.pgdPlace, "1900|Leeds");
    EXPECT_EQ(P.pgblDate + "|" + P.pgblPlace, "1900|");
    ASSERT_EQ(P.PageSpouseCount, 1);
    EXPECT_EQ(P.PageSpouses[1].spName.value() + "|" + P.PageSpouses[1].spbDate.value(), "Tom COLE|1848");
    EXPECT_TRUE(P.pgNotes.empty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(MyTreesPagesTest, PageWithoutFooterKeepsItsLastEntryAndNote) {
    Lines({"", "Family Record", "Father: Tom COLE", "Children:", "1. Cole, Ann - born: 1870",
           "2. Cole, Ben - born: 1872"});
    ProcessFamKK();
    ASSERT_EQ(g.PageScratch.PageChildCount, 2);
    EXPECT_EQ(g.PageScratch.PageChildren[2].chName.value(), "Ben COLE");

    Lines({"", "Individual Record", "Name: Tom COLE", "Notes:", "He farmed at Otley."});
    ProcessIndKK();
    EXPECT_EQ(g.PageScratch.pgNotes, "He farmed at Otley.\r\n");
}

TEST_F(MyTreesPagesTest, ChildrenBeyondTheRoomAreSkippedOnceAndTheRestIsRead) {
    std::vector<std::string> lines = {"", "Family Record", "Father: Tom COLE", "Mother: Ann DAY", "Children:"};
    for (int k = 1; k <= 33; ++k) lines.push_back(std::to_string(k) + ". Cole, Kid" + std::to_string(k));
    lines.insert(lines.end(), {"Notes:", "Thirty-three children are listed.", "Copyright 2004",
                               "Married: 1 May 1860 Leeds"});
    Lines(lines);
    ui.Answer(MsgResult::Ok);
    ProcessFamKK();
    const PageScratchRec& P = g.PageScratch;
    EXPECT_EQ(P.PageChildCount, 30);
    EXPECT_EQ(P.PageChildren[30].chName.value(), "Kid30 COLE");
    EXPECT_EQ(P.pgNotes, "Thirty-three children are listed.\r\n");
    // Lines after the footer are fields again.
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "1 May 1860");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "This page holds more children than Lintora can take from one page - 3 of them were skipped.");
}

TEST_F(MyTreesPagesTest, FamilyPageParents) {
    // No "Father" line: the husband is unknown, the mother his wife; a
    // birth line before either parent belongs to nobody.
    Lines({"", "Family Record", "Birth/Chris: 1800 Hull", "Mother: Ann DAY", "Birth/Chris: 1802 York", "Copyright"});
    ProcessFamKK();
    const PageScratchRec& P = g.PageScratch;
    EXPECT_EQ(P.pgName + "|" + P.pgSex + "|" + P.pgbDate, "<unknown>|M|");
    EXPECT_EQ(P.PageSpouseCount, 1);
    EXPECT_EQ(P.PageSpouses[1].spName.value() + "|" + P.PageSpouses[1].spbDate.value(), "Ann DAY|1802");
}

}  // namespace
}  // namespace lintora
