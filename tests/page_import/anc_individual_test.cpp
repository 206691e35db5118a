#include "page_import/anc_individual.h"

#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/report_pages_support.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::ReportPageTest;

class AncIndividualTest : public ReportPageTest {
protected:
    const PageScratchRec& P = g.PageScratch;
    static int32_t FamilyOf(int32_t a, int32_t b) {
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if ((g.Famil[f].fHusb == a && g.Famil[f].fWife == b) || (g.Famil[f].fHusb == b && g.Famil[f].fWife == a))
                return f;
        return 0;
    }
};

TEST_F(AncIndividualTest, SamplePageFilesPersonParentsAndBothMarriages) {
    ProcessClipboard(ReadPage("anc_individual.txt"));
    ASSERT_EQ(g.PageType, "Ind");

    // The scratch record ends with the person, his parents and the last marriage.
    EXPECT_EQ(P.pgName, "Thomas Edward HARLOW");
    EXPECT_EQ(P.pgSex, "M");
    EXPECT_EQ(P.pgbDate, "14 Feb 1821");
    EXPECT_EQ(P.pgbPlace, "Plymouth, Plymouth, Massachusetts");
    EXPECT_EQ(P.pgdDate, "3 Oct 1889");
    // " 1" is cut, " 2" before it stays (the place normaliser drops it).
    EXPECT_EQ(P.pgdPlace, "Taunton, Bristol, Massachusetts");
    EXPECT_EQ(P.pgblPlace, "Mount Pleasant Cemetery, Taunton, Bristol, Massachusetts");
    EXPECT_EQ(P.pgNotes,
              "Occupation: Shipwright\r\nNote:\r\nThomas learned his trade in the Plymouth yards and "
              "moved to Taunton after his first wife died.\r\n\r\nSources:\r\n1. Title: Plymouth Church Records\r\n"
              "Abbrev: Plymouth Church Records\r\n");
    // The parents are listed twice: one parent set.
    ASSERT_EQ(P.PageParentSetCount, 1);
    EXPECT_EQ(P.PageParentSets[1].psFatherName.value(), "Edward HARLOW");
    EXPECT_EQ(P.PageParentSets[1].psFatherbDate.value(), "2 Mar 1790");
    EXPECT_EQ(P.PageParentSets[1].psFatherbPlace.value(), "Plymouth, Plymouth, Massachusetts");
    EXPECT_EQ(P.PageParentSets[1].psMotherName.value(), "Lydia BARTLETT");
    EXPECT_EQ(P.PageParentSets[1].psMotherbDate.value(), "1795");
    ASSERT_EQ(P.PageSpouseCount, 2);
    EXPECT_EQ(P.PageSpouses[1].spName.value(), "Mercy DOTEN");
    EXPECT_EQ(P.PageSpouses[1].spbDate.value(), "12 May 1823");
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "4 Jun 1844");
    EXPECT_EQ(P.PageSpouses[1].spmPlace.value(), "Plymouth, Plymouth, Massachusetts");
    EXPECT_EQ(P.PageSpouses[2].spName.value(), "Abigail WOOD");
    EXPECT_EQ(P.PageSpouses[2].spmDate.value(), "9 Sep 1855");
    // "Private" in place of her birth is neither date nor place.
    EXPECT_EQ(P.PageSpouses[2].spbDate.value(), "");
    EXPECT_EQ(P.PageSpouses[2].spbPlace.value(), "");
    ASSERT_EQ(P.PageChildCount, 1);
    EXPECT_EQ(P.PageChildren[1].chName.value(), "Lydia HARLOW");

    // Filed: the person once, in two families, each child in his own.
    ASSERT_EQ(g.IndivCount, 8);
    ASSERT_EQ(g.FamilCount, 3);
    const int32_t thomas = ByName("Thomas Edward HARLOW");
    const int32_t mercy = ByName("Mercy DOTEN"), abigail = ByName("Abigail WOOD");
    const int32_t first = FamilyOf(thomas, mercy), second = FamilyOf(thomas, abigail);
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(g.Famil[first].fHusb, thomas);
    EXPECT_EQ(g.Famil[first].fmDate.value(), "4 Jun 1844");
    EXPECT_EQ(g.Famil[second].fmPlace.value(), "Taunton, Bristol, Massachusetts");
    EXPECT_EQ(g.Indiv[ByName("Edward Thomas HARLOW")].iFamc, first);
    EXPECT_EQ(g.Indiv[ByName("Mercy Ann HARLOW")].iFamc, first);
    EXPECT_EQ(g.Indiv[ByName("Lydia HARLOW")].iFamc, second);
    const int32_t parents = FamilyOf(ByName("Edward HARLOW"), ByName("Lydia BARTLETT"));
    ASSERT_GT(parents, 0);
    EXPECT_EQ(g.Indiv[thomas].iFamc, parents);
    EXPECT_EQ(g.Indiv[thomas].idDate.value(), "3 Oct 1889");
    EXPECT_EQ(windows.label, "8 Individuals added, 0 updated; 3 Families added, 0 updated (Tree #1)");
    // Every note of the page, the sources after both marriages included, stored once.
    const std::vector<std::string> notes = testing::NoteLines(thomas);
    EXPECT_EQ(notes, (std::vector<std::string>{"1 NOTE|Occupation: Shipwright", "2 CONT|Note:",
                                                "2 CONT|Thomas learned his trade in the Plymouth yards and moved "
                                                "to Taunton after his first wife died",
                                                "2 CONC|.", "2 CONT|Sources:", "2 CONT|1. Title: Plymouth Church Records",
                                                "2 CONT|Abbrev: Plymouth Church Records"}));
    testing::ExpectTablesConsistent();

    // The same page again adds nobody and no note.
    ui.Answer(MsgResult::Yes);
    ProcessClipboard(ReadPage("anc_individual.txt"));
    EXPECT_EQ(g.IndivCount, 8);
    EXPECT_EQ(g.FamilCount, 3);
    EXPECT_EQ(testing::NoteLines(thomas), notes);
}

// With an empty "Name:" the page has no person: neither marriage, nor
// any child of them, is filed, and the user is told nothing was found.
TEST_F(AncIndividualTest, PageWithEmptyNameFilesNobody) {
    std::string page = ReadPage("anc_individual.txt");
    const std::string names = "Given Name: Thomas Edward\nSurname: HARLOW\n";
    ASSERT_NE(page.find(names), std::string::npos);
    page.replace(page.find(names), names.size(), "Name: \n");
    testing::ExpectPasteFilesNothing(page, ui);
}

TEST_F(AncIndividualTest, UpperCaseTagsAndNameFromGivenAndSurname) {
    SplitPageText("Ancestry.com\nGIVN: Ann\nSURN: Lee\nsex: F\nBORN: 1850 in Kent.\nNICK: Nan\n");
    InitPrep();
    ProcessIndANC();
    EXPECT_EQ(P.pgName, "Ann Lee");
    EXPECT_EQ(P.pgSex, "F");
    EXPECT_EQ(P.pgbDate, "1850");
    EXPECT_EQ(P.pgbPlace, "Kent");
    EXPECT_EQ(P.pgNick, "Nan");
    EXPECT_EQ(g.IndivCount, 1);
}

// Footnote marks: each of " 9" .. " 1" is cut once, in that order.
TEST_F(AncIndividualTest, FootnoteMarksAndSecondColon) {
    SplitPageText("Ancestry.com\nName: Ann Lee\nSex: F\nBirth: 1850 2 1\nDeath: 1900 1 2\n"
                  "Christening: 10:30 in Kent\nMarriage 1 Tom Ray\nFather: Tom Lee\nNote: ignored after Father\n");
    InitPrep();
    ProcessIndANC();
    EXPECT_EQ(P.pgbDate, "1850 2");
    EXPECT_EQ(P.pgdDate, "1900");
    EXPECT_EQ(P.pgcDate, "10");
    EXPECT_EQ(P.pgcPlace, "");
    // No "Married:" line in the next two: no marriage date.
    EXPECT_EQ(P.PageSpouses[1].spmDate.value(), "");
    EXPECT_EQ(P.pgNotes, "");
}

TEST_F(AncIndividualTest, MoreMarriagesThanRoomSkipsTheExtraWithOneMessage) {
    const char* wives[] = {"Astrid", "Britt", "Cecilia", "Dagny", "Elin",  "Frida", "Greta", "Hanna", "Ingrid",
                           "Jenny",  "Karin", "Lena",    "Maja",  "Nora",  "Olga",  "Petra", "Rut",   "Signe"};
    const char* kids[] = {"Abel", "Bruno", "Carl",   "Dirk",  "Emil", "Felix", "Gustav", "Hugo", "Ivar",
                          "Jakob", "Knut", "Lars", "Magnus", "Nils", "Oskar", "Per",   "Rune",   "Sven"};
    std::string page = "Ancestry.com\nName: Tom Ray\nSex: M\n";
    for (int k = 0; k < 18; ++k) {
        page += "Marriage " + std::to_string(k + 1) + (k < 9 ? "  " : " ") + wives[k] + " Holm b: 18" +
                std::to_string(10 + k) + "\nChildren\nHas No Children " + kids[k] + " Ray b: 18" +
                std::to_string(50 + k) + "\n\n";
    }
    ui.Answer(MsgResult::Ok);
    SplitPageText(page);
    InitPrep();
    ProcessIndANC();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find("4 of them were skipped"), std::string::npos) << ui.boxes[0].text;
    // 1 person, 16 wives, 16 children; the children of skipped marriages are skipped too.
    EXPECT_EQ(g.IndivCount, 33);
    EXPECT_EQ(g.FamilCount, 16);
    testing::ExpectTablesConsistent();
}

}  // namespace
}  // namespace lintora
