// Pages pasted again, and the partners of unnamed people: whole pages
// through the paste entry, with the tables they leave compared whole.
#include <filesystem>
#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "tests/page_import/tree_pages_support.h"
#include "tests/support/table_checks.h"

namespace lintora {
namespace {

using testing::ReadPage;
using testing::TablesInUse;

// Every person's name, in record order.
std::vector<std::string> People() {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= g.IndivCount; ++i) out.push_back(g.Indiv[i].iName.trimmed());
    return out;
}

// Every family as "husband + wife (m date): children", in record order.
std::vector<std::string> Families() {
    auto name = [](int32_t i) { return i > 0 ? g.Indiv[i].iName.trimmed() : std::string("-"); };
    std::vector<std::string> out;
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& F = g.Famil[f];
        std::string line = name(F.fHusb) + " + " + name(F.fWife);
        if (!F.fmDate.blank()) line += " (m " + F.fmDate.trimmed() + ")";
        std::string children;
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iFamc == f) children += (children.empty() ? ": " : ", ") + name(i);
        out.push_back(line + children);
    }
    return out;
}

// An Ancestral File individual record without identifiers; no marriages
// without a spouse.
std::string AFIndividual(const std::string& name, const std::string& sex, const std::string& events,
                         const std::string& spouse, const std::string& marriage = "") {
    return "FamilySearch(TM) Ancestral File Individual Record\n"
           "Ancestral File (TM) v4.19 Individual Record\n\n" +
           name + "\nSex: " + sex + "\n\nEvent(s):\n" + events +
           (spouse.empty() ? "" : "\nMarriages:\nSpouse: " + spouse + "\n" + marriage) +
           "\nSubmitter Information\n"
           "Use of this site constitutes your acceptance of the conditions of use.\n";
}

class RepasteTest : public testing::TreePageTest {
protected:
    // A page filed before, pasted again (re-processed as the user allows
    // when it is the last text pasted): it changes nothing and asks nothing.
    void ExpectPasteAddsNothing(const std::string& page) {
        const TablesInUse before = TablesInUse::Now();
        const std::size_t boxes = ui.boxes.size(), questions = ui.matchRequests.size();
        std::vector<std::string> expected;
        if (page == g.LastPaste) {
            ui.Answer(MsgResult::Yes);
            expected.push_back("Clipboard data unchanged and already processed.\nWould you like to re-process anyway?");
        }
        ProcessClipboard(page);
        EXPECT_TRUE(TablesInUse::Now() == before);
        const std::vector<std::string> shown = ui.Texts();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<std::ptrdiff_t>(boxes), shown.end()), expected);
        EXPECT_EQ(ui.matchRequests.size(), questions);
        EXPECT_EQ(windows.label.rfind("0 Individuals added", 0), 0u) << windows.label;
    }
};

TEST_F(RepasteTest, AFamilyPageWithoutFatherFindsItsUnnamedHusbandAgain) {
    // MyTrees writes no father line, or one with nothing after it.
    const std::string sample = ReadPage("mytrees_family.txt");
    const std::size_t father = sample.find("Father:"), mother = sample.find("Mother:");
    const std::size_t third = sample.find("3. XWhitcomb"), notes = sample.find("\nNotes:");
    ASSERT_TRUE(father < mother && mother < third && third < notes && notes != std::string::npos);
    for (const std::string fatherLine : {"", "Father:\n"}) {
        SCOPED_TRACE(fatherLine);
        ResetProgramState();
        const std::string page =
            sample.substr(0, father) + fatherLine + sample.substr(mother, third - mother) + sample.substr(notes);
        ProcessClipboard(page);
        EXPECT_TRUE(ui.boxes.empty());
        const std::vector<std::string> people = {"Abigail FARNSWORTH", "<unknown>", "Lydia Ann WHITCOMB",
                                                 "Samuel WHITCOMB"};
        EXPECT_EQ(People(), people);
        const std::vector<std::string> families = {
            "<unknown> + Abigail FARNSWORTH (m 4 Oct 1832): Lydia Ann WHITCOMB, Samuel WHITCOMB"};
        EXPECT_EQ(Families(), families);
        ExpectPasteAddsNothing(page);
        EXPECT_EQ(windows.label, "0 Individuals added, 4 updated; 0 Families added, 1 updated (Tree #1)");

        // A namesake born 35 years later is another woman: her unnamed
        // husband is not taken from the first family.
        std::string namesake = page;
        const std::string born = "Birth/Chris: 1811 Groton, Middlesex, Massachusetts\nBirth/Chris: 20 Sep 1811 Groton";
        ASSERT_NE(namesake.find(born), std::string::npos);
        namesake.replace(namesake.find(born), born.size(), "Birth/Chris: 2 Jun 1846 Lowell");
        namesake.replace(namesake.find("1. Whitcomb, Lydia Ann"), 22, "1. Whitcomb, Ezra");
        const std::size_t samuel = namesake.find("2. Whitcomb, Samuel");
        namesake.erase(samuel, namesake.find('\n', samuel) + 1 - samuel);
        ui.Answer(MsgResult::Ok);  // her family forms a tree of its own
        ProcessClipboard(namesake);
        EXPECT_TRUE(ui.matchRequests.empty());
        EXPECT_EQ(People().size(), 7u);
        EXPECT_EQ(Families(), (std::vector<std::string>{
                                  families[0], "<unknown> + Abigail FARNSWORTH (m 4 Oct 1832): Ezra WHITCOMB"}));
        EXPECT_EQ(g.Indiv[5].ibDate.value(), "2 Jun 1846");
        ui.boxes.clear();
    }
}

TEST_F(RepasteTest, AWifeCalledUnknownIsTheUnnamedWifeOfHerHusband) {
    // The page's "Family" link follows a spouse without an AFN too.
    for (const std::string link : {"", "  Family"}) {
        SCOPED_TRACE(link);
        ResetProgramState();
        const std::string guillaume = AFIndividual("Guillaume IV of Luxembourg", "M",
                                                   "Birth: 22 Apr 1852\n\tBiebrich, Nassau, Germany\n"
                                                   "Death: 25 Feb 1912\n\tColmar-Berg, Luxembourg\n",
                                                   "Unknown" + link);
        ProcessClipboard(guillaume);
        ASSERT_EQ(People(), (std::vector<std::string>{"Guillaume IV of Luxembourg", "<unknown>"}));

        // Her own page: he is offered (his spouse on her page is unknown,
        // which tells nothing), and she is the unnamed wife already beside him.
        ui.matchAnswers.push_back(1);
        ProcessClipboard(AFIndividual("Unknown", "F", "", "Guillaume IV of Luxembourg" + link));
        ASSERT_EQ(ui.matchRequests.size(), 1u);
        EXPECT_EQ(ui.matchRequests[0].name, "Guillaume IV of Luxembourg");
        EXPECT_EQ(ui.matchRequests[0].rows[0].indiv, 1);
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(People(), (std::vector<std::string>{"Guillaume IV of Luxembourg", "<unknown>"}));
        EXPECT_EQ(Families(), std::vector<std::string>{"Guillaume IV of Luxembourg + <unknown>"});
        EXPECT_EQ(windows.label, "0 Individuals added, 2 updated; 0 Families added, 1 updated (Tree #1)");

        ExpectPasteAddsNothing(guillaume);
        ui.matchRequests.clear();
    }
}

// The unnamed woman's page files her husbands around her, so that Henry is
// the last record in the tables when his own page names her; his record
// finds her as it would anywhere else in the tables.
TEST_F(RepasteTest, AnUnknownWifeIsFoundBesideAHusbandWhoIsTheLastRecord) {
    const std::string top = "MyTrees.com - Family Trees, Genealogy and Ancestry\n"
                             "Home | Search | Submit Your Tree | Help\nIndividual Record\n";
    const std::string bottom = "\nCopyright (c) 1999-2004 Fficiency Software, Inc. All rights reserved.\n";
    ProcessClipboard(top + "Name: Unknown\nSex: Female\n\nSpouses:\n" +
                     "1. Farrar, Edward - born: 1835 @ Lowell, Middlesex, Massachusetts\n" +
                     "2. Pemberton, Henry Augustus - born: 14 Feb 1838 @ Concord, Merrimack, New Hampshire\n" + bottom);
    ASSERT_EQ(People(), (std::vector<std::string>{"Edward FARRAR", "<unknown>", "Henry Augustus PEMBERTON"}));

    std::string henry = ReadPage("mytrees_individual.txt");
    const std::string wives = "1. Whitcomb, Lydia Ann - born: 3 May 1841 @ Nashua, Hillsborough, New Hampshire\n"
                              "2. XFarrar, Harriet - Birth/Chris: 1849 @ Lowell, Middlesex, Massachusetts\n";
    ASSERT_NE(henry.find(wives), std::string::npos);
    henry.replace(henry.find(wives), wives.size(),
                  "1. Unknown\n2. Whitcomb, Lydia Ann - born: 3 May 1841 @ Nashua, Hillsborough, New Hampshire\n");
    ProcessClipboard(henry);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.matchRequests.empty());
    EXPECT_EQ(People(), (std::vector<std::string>{"Edward FARRAR", "<unknown>", "Henry Augustus PEMBERTON",
                                                  "Lydia Ann WHITCOMB"}));
    EXPECT_EQ(Families(), (std::vector<std::string>{"Edward FARRAR + <unknown>", "Henry Augustus PEMBERTON + <unknown>",
                                                    "Henry Augustus PEMBERTON + Lydia Ann WHITCOMB"}));
    EXPECT_EQ(windows.label, "1 Individuals added, 2 updated; 1 Families added, 1 updated (Tree #1)");
    ExpectPasteAddsNothing(henry);
}

TEST_F(RepasteTest, APersonTakenThroughTheQuestionCountsAsUpdated) {
    ProcessClipboard(AFIndividual("Peter III ROMANOV", "M", "Birth: 1729\n\tKiel\n", ""));
    // A better page gives another birth year: he is offered, and taken.
    ui.matchAnswers.push_back(1);
    ProcessClipboard(AFIndividual("Peter III ROMANOV", "M",
                                  "Birth: 21 Feb 1728\n\tKiel, Holstein, Germany\n"
                                  "Death: 17 Jul 1762\n\tRopsha, Saint Petersburg, Russia\n",
                                  ""));
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(People(), std::vector<std::string>{"Peter III ROMANOV"});
    EXPECT_EQ(g.Indiv[1].ibDate.value() + "|" + g.Indiv[1].idDate.value(), "21 Feb 1728|17 Jul 1762");
    EXPECT_EQ(windows.label, "0 Individuals added, 1 updated; 0 Families added, 0 updated (Tree #1)");
}

TEST_F(RepasteTest, ANamedSpouseIsJudgedByNameNotByHisWifesRecord) {
    const std::string peter =
        AFIndividual("Peter III ROMANOV", "M", "Birth: 21 Feb 1728\n\tKiel, Holstein, Germany\n",
                     "Catherine II the Great", "Marriage: 1 Sep 1745\n\tSaint Petersburg, Russia\n");
    ProcessClipboard(peter);
    // Catherine I is taken as Catherine II (one name holds the other); her
    // husband Peter I is not therefore Peter III, whose wife she now is:
    // the names tell, the user is asked and says he is not.
    ui.matchAnswers.push_back(0);
    ProcessClipboard(AFIndividual("Catherine I", "F", "", "Peter I the Great ROMANOV"));
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(ui.matchRequests[0].name, "Peter I the Great ROMANOV");
    EXPECT_EQ(ui.matchRequests[0].rows[0].indiv, 1);
    EXPECT_EQ(People(),
              (std::vector<std::string>{"Peter III ROMANOV", "Catherine II the Great", "Peter I the Great ROMANOV"}));
    EXPECT_EQ(Families(), (std::vector<std::string>{"Peter III ROMANOV + Catherine II the Great (m 1 Sep 1745)",
                                                    "Peter I the Great ROMANOV + Catherine II the Great"}));
    ExpectPasteAddsNothing(peter);
}

TEST_F(RepasteTest, AnUnnamedChartBoxGivesOnePlaceholderInOneFamily) {
    std::string page = ReadPage("af_pedigree.txt");
    const std::string jonas = "12 Jonas MARSH\nB: 12 Mar 1748\nWindsor, Hartford, Connecticut\n";
    ASSERT_NE(page.find(jonas), std::string::npos);
    page.replace(page.find(jonas), jonas.size(), "12 Unknown\n");
    ProcessClipboard(page);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(ui.matchRequests.empty());
    EXPECT_EQ(People(),
              (std::vector<std::string>{"John Henry WHITLOCK", "Eliza Ann BENNETT", "Samuel WHITLOCK", "Abigail MARSH",
                                        "Ezra WHITLOCK", "Lydia CARVER", "Nathan MARSH", "Prudence OLCOTT",
                                        "Amos WHITLOCK", "Sarah DEMING", "Eli CARVER", "Martha BOOTH",
                                        "Hepzibah TILLEY", "<unknown>", "Caleb OLCOTT", "Ruth STANLEY"}));
    EXPECT_EQ(Families(),
              (std::vector<std::string>{"John Henry WHITLOCK + Eliza Ann BENNETT (m 15 Jun 1855)",
                                        "Samuel WHITLOCK + Abigail MARSH (m 3 May 1828): John Henry WHITLOCK",
                                        "Ezra WHITLOCK + Lydia CARVER (m 3 May 1800): Samuel WHITLOCK",
                                        "Nathan MARSH + Prudence OLCOTT (m 3 May 1800): Abigail MARSH",
                                        "Amos WHITLOCK + Sarah DEMING (m 3 May 1772): Ezra WHITLOCK",
                                        "Eli CARVER + Martha BOOTH (m 3 May 1772): Lydia CARVER",
                                        "<unknown> + Hepzibah TILLEY (m 3 May 1772): Nathan MARSH",
                                        "Caleb OLCOTT + Ruth STANLEY (m 3 May 1772): Prudence OLCOTT"}));
    ExpectPasteAddsNothing(page);
}

// A paste that finds no data clears the marks of people taken by a paste:
// Clara, pasted next with another birth year, is offered, not filed twice.
TEST_F(RepasteTest, APasteThatFindsNoDataLeavesItsPeopleToBeMatched) {
    ProcessClipboard(AFIndividual("Clara BELL", "F", "Birth: 9 Sep 1884\n\tMilford, Sussex, Delaware\n",
                                  "Walter F. ASHBY", "Marriage: 20 Jun 1905\n\tDover, Kent, Delaware\n"));
    const std::vector<std::string> filed = People();
    const int32_t clara = Named("Clara BELL");
    g.Indiv[clara].iTouched = 1;
    g.Famil[1].fTouched = 1;

    ui.Answer(MsgResult::Ok);  // "... unable to extract any data ..."
    ProcessClipboard("FamilySearch(TM) Ancestral File Individual Record\n"
                     "Ancestral File (TM) v4.19 Individual Record\n\nSubmitter Information\n");

    ui.matchAnswers.push_back(clara);
    ProcessClipboard(AFIndividual("Clara BELL", "F", "Birth: 1886\n\tMilford, Sussex, Delaware\n", ""));
    ASSERT_EQ(ui.matchRequests.size(), 1u);
    EXPECT_EQ(ui.matchRequests[0].rows[0].indiv, clara);
    EXPECT_EQ(People(), filed);
    EXPECT_EQ(windows.label, "0 Individuals added, 1 updated; 0 Families added, 0 updated (Tree #1)");
}

// Every sample page, and the same page again: the second paste finds
// everybody it filed and asks nothing.
TEST_F(RepasteTest, EverySamplePagePastedAgainAddsNothing) {
    const auto folder = std::filesystem::path(LINTORA_SOURCE_DIR) / "tests" / "page_import" / "pages";
    int pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ResetProgramState();
        g.PedCautionShown = "X";
        ui.boxes.clear();
        const std::string page = ReadPage(name);
        ProcessClipboard(page);
        ASSERT_GT(g.IndivCount, 0);
        EXPECT_TRUE(ui.boxes.empty());
        ExpectPasteAddsNothing(page);
        ++pages;
    }
    EXPECT_EQ(pages, 18);
}

}  // namespace
}  // namespace lintora
