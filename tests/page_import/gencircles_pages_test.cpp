#include <string>
#include <vector>

#include "page_import/gencircles_individual.h"
#include "page_import/gencircles_pedigree.h"
#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/tree_pages_support.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::TreePageTest;

class GenCirclesTest : public TreePageTest {
protected:
    static int32_t FamilyOf(int32_t husband, int32_t wife) {
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if (g.Famil[f].fHusb == husband && g.Famil[f].fWife == wife) return f;
        return 0;
    }
    static std::string Who(int32_t i) {
        const IndivRec& r = g.Indiv[i];
        return r.iName.value() + "|" + r.iSex.value() + "|" + r.ibDate.value() + "|" + r.ibPlace.value();
    }
};

TEST_F(GenCirclesTest, IndividualPageFilesEachMarriageWithItsChildrenAndTheNotesOnce) {
    ProcessClipboard(ReadPage("gencircles_individual.txt"));
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(g.IndivCount, 9);
    ASSERT_EQ(g.FamilCount, 3);
    const int32_t walter = Named("Walter F. Ashby");
    ASSERT_GT(walter, 0);
    const IndivRec& W = g.Indiv[walter];
    EXPECT_EQ(Who(walter), "Walter F. Ashby|M|14 Mar 1880|Dover, Kent, Delaware");
    EXPECT_EQ(W.idDate.value() + "|" + W.idPlace.value(), "2 Feb 1951|Dover, Kent, Delaware");
    EXPECT_EQ(W.iblDate.value() + "|" + W.iblPlace.value(), "5 Feb 1951|Dover, Kent, Delaware");
    EXPECT_EQ(W.iAFN.value(), "7Q2W-1XZ");

    const int32_t thomas = Named("Thomas Ashby"), ruth = Named("Ruth Colby");
    EXPECT_EQ(Who(thomas), "Thomas Ashby|M|12 Jan 1850|Dover, Kent, Delaware");
    EXPECT_EQ(Who(ruth), "Ruth Colby|F|3 Apr 1853|Smyrna, Kent, Delaware");
    EXPECT_EQ(W.iFamc, FamilyOf(thomas, ruth));

    struct Marriage {
        const char *wife, *wifeBirth, *date, *place;
        std::vector<std::string> children;
    };
    const std::vector<Marriage> marriages = {
        {"Clara Bell", "9 Sep 1884|Milford, Sussex, Delaware", "20 Jun 1905", "Dover, Kent, Delaware",
         {"Henry Ashby|U|1 May 1906|Dover, Kent, Delaware", "Lucy Ashby|U|7 Aug 1908|Dover, Kent, Delaware"}},
        {"Edna Pryor", "1890|Camden, Kent, Delaware", "11 Nov 1920", "Camden, Kent, Delaware",
         {"Frank Ashby|U|2 Mar 1922|Dover, Kent, Delaware", "Rose Ashby|U|19 Jul 1925|Dover, Kent, Delaware"}},
    };
    for (const auto& m : marriages) {
        SCOPED_TRACE(m.wife);
        const int32_t wife = Named(m.wife);
        ASSERT_GT(wife, 0);
        EXPECT_EQ(Who(wife), std::string(m.wife) + "|F|" + m.wifeBirth);
        const int32_t f = FamilyOf(walter, wife);
        ASSERT_GT(f, 0);
        EXPECT_EQ(g.Famil[f].fmDate.value() + "|" + g.Famil[f].fmPlace.value(), std::string(m.date) + "|" + m.place);
        std::vector<std::string> children;
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iFamc == f) children.push_back(Who(i));
        EXPECT_EQ(children, m.children);
    }
    // The notes run from "Notes" to "Sources", stored once.
    EXPECT_EQ(NoteLines(walter), (std::vector<std::string>{
                                     "1 NOTE|Notes",
                                     "2 CONT|Walter kept the family store on Loockerman Street for forty years "
                                     "and served on the town coun",
                                     "2 CONC|cil."}));
    EXPECT_EQ(g.NotesCount, 3);
    EXPECT_EQ(g.PageMainIndiv, walter);
    EXPECT_EQ(windows.label, "9 Individuals added, 0 updated; 3 Families added, 0 updated (Tree #1)");
    testing::ExpectTablesConsistent();
}

// Without a "Birth:" line the page names nobody (the name is read from the
// line before it): neither wife nor any child is filed, and the user is told.
TEST_F(GenCirclesTest, IndividualPageWithoutBirthLineFilesNobody) {
    std::string page = ReadPage("gencircles_individual.txt");
    const std::size_t birth = page.find("Birth: 14 Mar 1880");
    ASSERT_NE(birth, std::string::npos);
    page.erase(birth, page.find('\n', birth) + 1 - birth);
    testing::ExpectPasteFilesNothing(page, ui);
}

TEST_F(GenCirclesTest, PedigreeAfterTheIndividualPageAddsNoDuplicate) {
    ProcessClipboard(ReadPage("gencircles_individual.txt"));
    ASSERT_EQ(g.IndivCount, 9);
    ProcessClipboard(ReadPage("gencircles_pedigree.txt"));
    EXPECT_TRUE(ui.boxes.empty());
    // Walter and his parents are found again; the 12 others are new.
    ASSERT_EQ(g.IndivCount, 21);
    EXPECT_EQ(windows.label, "12 Individuals added, 3 updated; 6 Families added, 1 updated (Tree #1)");
    const std::vector<std::string> chart = {"",
                                            "Walter F. Ashby|M|14 Mar 1880|Dover, Kent, Delaware",
                                            "Thomas Ashby|M|12 Jan 1850|Dover, Kent, Delaware",
                                            "Ruth Colby|F|3 Apr 1853|Smyrna, Kent, Delaware",
                                            "Samuel Sr Ashby|M|5 May 1822|Lewes, Sussex, Delaware",
                                            "Martha Greer|F|17 Oct 1825|Lewes, Sussex, Delaware",
                                            "Isaac Colby|M|1820|Smyrna, Kent, Delaware",
                                            "Hannah Pratt|F|1824|Smyrna, Kent, Delaware",
                                            "Jonas Ashby|M|1795|Lewes, Sussex, Delaware",
                                            "Mary Wells|F|1798|",
                                            "Peter Greer|M|1790|",
                                            "Ann Lowe|F|1793|",
                                            "Amos Colby|M|1788|",
                                            "Ellen Shaw|F|1791|",
                                            "Eli Pratt|M|1794|",
                                            "Sarah Dean|F|1797|"};
    std::vector<int32_t> r(16, 0);
    for (int k = 1; k <= 15; ++k) {
        r[k] = Named(chart[k].substr(0, chart[k].find('|')));
        ASSERT_GT(r[k], 0) << chart[k];
        EXPECT_EQ(Who(r[k]), chart[k]);
    }
    // Slots 1 to 7 are children of slots 2k and 2k + 1; the oldest
    // generation gets no parents from the chart.
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(g.Indiv[r[k]].iFamc, FamilyOf(r[2 * k], r[2 * k + 1])) << k;
    for (int k = 8; k <= 15; ++k) EXPECT_EQ(g.Indiv[r[k]].iFamc, 0) << k;
    // The death text gives date and place as well.
    EXPECT_EQ(g.Indiv[r[2]].idDate.value() + "|" + g.Indiv[r[2]].idPlace.value(), "30 Aug 1911|Dover, Kent, Delaware");
    EXPECT_EQ(g.PageMainIndiv, r[1]);
    testing::ExpectTablesConsistent();
}

TEST_F(GenCirclesTest, PedigreeSlotsBeyondTheChartAndEmptyNames) {
    // Slot 3 has no name; a 17th "Birth:" line and what follows it are
    // passed over and the chart is still filed.
    g.PageLines = {"", "Death: 1999", "Ann Hill", "Birth: 1900", "Sex: F", "Tom Hill", "Birth: 1870", "",
                   "Birth: 1872"};
    const std::vector<std::string> older = {"Abel Hill", "Bea Dunn",  "Carl Hill", "Dora Lamb", "Eli Dunn",
                                            "Fay Moss",  "Gus Hill",  "Hope Kerr", "Ivan Lamb", "Jill Ford",
                                            "Karl Dunn", "Lena Roth", "Max Moss",  "Nora Finch"};
    for (const std::string& name : older) g.PageLines.insert(g.PageLines.end(), {name, "Birth: 1800"});
    g.PageLines.push_back("Sex: X");
    InitPrep();
    ProcessPedGNC();
    EXPECT_TRUE(ui.boxes.empty());
    const int32_t ann = Named("Ann Hill"), tom = Named("Tom Hill");
    ASSERT_TRUE(ann && tom);
    EXPECT_EQ(g.Indiv[ann].iSex.value(), "F");
    EXPECT_TRUE(g.Indiv[ann].idDate.blank());
    // Ann's mother has no name: her father alone makes her parents' family.
    ASSERT_GT(g.Indiv[ann].iFamc, 0);
    EXPECT_EQ(g.Famil[g.Indiv[ann].iFamc].fHusb, tom);
    EXPECT_EQ(g.Famil[g.Indiv[ann].iFamc].fWife, 0);
    EXPECT_GT(Named("Lena Roth"), 0);   // slot 15
    EXPECT_EQ(Named("Max Moss"), 0);    // slot 16 is read, never filed
    EXPECT_EQ(Named("Nora Finch"), 0);  // the 17th: passed over
    EXPECT_EQ(g.IndivCount, 14);        // slots 1, 2 and 4 to 15
    EXPECT_EQ(g.PageMainIndiv, ann);
    testing::ExpectTablesConsistent();
}

TEST_F(GenCirclesTest, IndividualPageWithOneSpouseStoresItsNotesOnce) {
    // The filing at the end stores the notes, and so does the page's own
    // notes step: one copy stays.
    g.PageLines = {"",
                   "Ann Hill",
                   "Birth: 1900 in Leeds",
                   "Sex: F",
                   "Father: Tom Hill b. 1870",
                   "Mother: Eve Ray",
                   "Father: Tom Hill b. 1870",
                   "Mother: Eve Ray",
                   "Ned Cole (Husband) b. 1898",
                   "Marriage: 1920 in York",
                   "Notes",
                   "She taught school.",
                   "SmartMatches",
                   "Sources"};
    InitPrep();
    ProcessIndGNC();
    const int32_t ann = Named("Ann Hill");
    ASSERT_GT(ann, 0);
    EXPECT_EQ(NoteLines(ann), (std::vector<std::string>{"1 NOTE|Notes", "2 CONT|She taught school."}));
    // The repeated pair is one parent set.
    EXPECT_EQ(g.PageScratch.PageParentSetCount, 1);
    EXPECT_EQ(g.FamilCount, 2);
    EXPECT_EQ(g.Famil[FamilyOf(Named("Ned Cole"), ann)].fmPlace.value(), "York");
    EXPECT_EQ(g.Indiv[ann].iFamc, FamilyOf(Named("Tom Hill"), Named("Eve Ray")));
}

TEST_F(GenCirclesTest, EntriesBeyondTheRoomAreSkippedOnceAndTheRestIsRead) {
    // Seventeen wives, the last with two children: she and her children
    // find no room; the notes after them are still read and stored.
    const std::vector<std::string> given = {"Ada", "Bea", "Cara", "Dot", "Eve", "Fern", "Gail", "Hope", "Iris",
                                            "Joy", "Kay", "Lil", "May", "Nell", "Opal", "Pearl", "Queen"};
    std::vector<std::string> lines = {"", "Tom Hill", "Birth: 1800 in Leeds", "Sex: M"};
    for (const std::string& g1 : given) lines.push_back(g1 + " Wife" + " (Wife) b. 1805");
    lines.insert(lines.end(), {"Marriage: 1830 in York", "Children:", "Kit Hill b. 1831", "Max Hill b. 1833",
                               "Notes", "A busy man.", "Sources"});
    g.PageLines = lines;
    InitPrep();
    ui.Answer(MsgResult::Ok);
    ProcessIndGNC();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "This page holds more parents, spouses or children than Lintora can take from one page - 3 of them "
              "were skipped.");
    const int32_t tom = Named("Tom Hill");
    ASSERT_GT(tom, 0);
    EXPECT_EQ(g.IndivCount, 17);  // Tom and 16 wives
    EXPECT_EQ(g.FamilCount, 16);
    EXPECT_EQ(Named("Queen Wife"), 0);
    EXPECT_EQ(Named("Kit Hill"), 0);
    // The marriage line of the skipped wife is no other wife's marriage.
    EXPECT_TRUE(g.Famil[FamilyOf(tom, Named("Pearl Wife"))].fmDate.blank());
    EXPECT_EQ(NoteLines(tom), (std::vector<std::string>{"1 NOTE|Notes", "2 CONT|A busy man."}));
    testing::ExpectTablesConsistent();
}

TEST(GenCirclesLines, PersonLines) {
    struct Case {
        const char *text, *name, *date, *place;
    };
    const std::vector<Case> cases = {
        {"3. Smith, John, Jr (Husband)", "John Jr Smith", "", ""},
        {"12. Jones, Mary (Wife) b. 12 Mar 1820 in Boston, Suffolk.", "Mary Jones", "12 Mar 1820",
         "Boston, Suffolk"},
        // Only a leading list number loses its period.
        {"John F. Kennedy", "John F. Kennedy", "", ""},
        {"Descendants Ruth Colby b. 1853", "Ruth Colby", "1853", ""},
        {"John Smith Jr", "John Jr Smith", "", ""},
        {"Smith,John", "John Smith", "", ""},
        {"John Smith b. 1850 b. 1851", "John Smith b. 1850", "1851", ""},
        {"   ", "", "", ""},
    };
    for (const auto& c : cases) {
        std::string name = "x", date = "x", place = "x";
        ParsePersonLineGNC(c.text, name, date, place);
        EXPECT_EQ(name + "|" + date + "|" + place, std::string(c.name) + "|" + c.date + "|" + c.place) << c.text;
    }
    EXPECT_EQ(StripSmartMatches("John Henry Smith 12 SmartMatches"), "John Henry Smith");
    // A footnote digit goes; the words stay apart.
    EXPECT_EQ(StripSmartMatches("John1 Smith2"), "John Smith");
    EXPECT_EQ(StripSmartMatches("Smith, Walter F. 3 SmartMatches"), "Walter F. Smith");
    EXPECT_EQ(StripSmartMatches("SmartMatches"), "");
}

}  // namespace
}  // namespace lintora
