#include "workspace/workspace.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "files/data_files.h"
#include "files/file_saving.h"
#include "page_import/paste.h"
#include "platform/window_ports.h"
#include "record_store/indiv_edit.h"
#include "record_store/program_state.h"
#include "tests/files/files_fixture.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

class Watch : public MainWindowPort {
public:
    std::string label, caption;
    int pickLoaded = 0, pickHidden = 0;
    void SetStatusLabel(const std::string& s) override { label = s; }
    void SetMainCaption(const std::string& s) override { caption = s; }
    void LoadParentPickList() override { ++pickLoaded; }
    void HideParentPickList() override { ++pickHidden; }
    void FindTreePointer(int32_t indiv) override { g.TreeSlot[0] = indiv; }
};

const char* const kTwoParentSets =
    "FamilySearch Ancestral File Individual Record\n"
    "Ann LEE (AFN: 5-A)\nSex: F\n"
    "Father: Tom LEE (AFN: 5-B)\nMother: Sue KANE (AFN: 5-C)\n"
    "Father: Tim LEE (AFN: 5-D)\nMother: Sal DOW (AFN: 5-E)\n";

class CommandsTest : public testing::FilesTest {
protected:
    Watch w;
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(testing::ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
        InstallWindowFakes(&w);
    }
    bool NoMarks() const {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iTouched != 0) return false;
        for (int32_t f = 1; f <= g.FamilCount; ++f)
            if (g.Famil[f].fTouched != 0) return false;
        return true;
    }
    // Tom LEE gathered earlier; then a page with two parent sets, the first
    // naming him, so the pick list is offered.
    void PasteUpToThePickList() {
        PasteText("FamilySearch Ancestral File Individual Record\nTom LEE (AFN: 5-B)\nSex: M\n");
        ui.Answer(MsgResult::Ok);  // Ann starts a tree of her own until her parents are known
        PasteText(kTwoParentSets);
        ASSERT_EQ(w.pickLoaded, 1);
        ASSERT_EQ(g.IndivCount, 2);
    }
};

TEST_F(CommandsTest, APickLinksReportsAndLeavesNoMarksForTheNextPaste) {
    PasteUpToThePickList();
    const int hidden = w.pickHidden;
    PickParentSet(1);
    EXPECT_EQ(w.pickHidden, hidden + 1);
    ASSERT_EQ(g.IndivCount, 3);  // Sue added, Tom found
    const FamilRec& parents = g.Famil[g.Indiv[2].iFamc];
    EXPECT_EQ(parents.fHusb, 1);
    EXPECT_EQ(parents.fWife, 3);
    EXPECT_EQ(g.Indiv[1].iTree, g.Indiv[2].iTree);
    EXPECT_EQ(w.label, "2 Individuals added, 1 updated; 1 Families added, 0 updated (Tree #1)");
    EXPECT_TRUE(NoMarks());

    // The next paste names Tom again: he is no update of that paste's own.
    PasteText("FamilySearch Ancestral File Individual Record\nBob LEE (AFN: 5-F)\nSex: M\n"
              "Father: Tom LEE (AFN: 5-B)\nMother: Sue KANE (AFN: 5-C)\n");
    EXPECT_EQ(w.label, "1 Individuals added, 2 updated; 0 Families added, 1 updated (Tree #1)");

    // A set the page does not hold links nothing.
    const int32_t count = g.IndivCount;
    PickParentSet(0);
    PickParentSet(11);
    EXPECT_EQ(g.IndivCount, count);
}

TEST_F(CommandsTest, ACancelLinksNoParentsAndReportsAgain) {
    PasteUpToThePickList();
    w.label.clear();
    CancelParentPick();
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.Indiv[2].iFamc, 0);
    EXPECT_EQ(w.label, "1 Individuals added, 0 updated; 0 Families added, 0 updated (Tree #2)");
    EXPECT_TRUE(NoMarks());
}

// Ann, her husband Jim and Tom gathered before: the page updates Ann, Jim
// and their family, and the result line keeps saying so after the choice,
// which adds its own updates.
TEST_F(CommandsTest, TheChoiceKeepsThePastesUpdatesOnTheResultLine) {
    const std::string jim = "Spouse: Jim ROE (AFN: 5-G)\nMarriage: 4 May 1890\n";
    for (const bool pick : {false, true}) {
        SCOPED_TRACE(pick ? "pick" : "cancel");
        ResetProgramState();
        InstallWindowFakes(&w);
        PasteText("FamilySearch Ancestral File Individual Record\nAnn LEE (AFN: 5-A)\nSex: F\n" + jim);
        ui.Answer(MsgResult::Ok);  // Tom starts a tree of his own
        PasteText("FamilySearch Ancestral File Individual Record\nTom LEE (AFN: 5-B)\nSex: M\n");
        PasteText(kTwoParentSets + jim);
        ASSERT_EQ(w.label, "0 Individuals added, 2 updated; 0 Families added, 1 updated (Tree #1)");
        if (pick) PickParentSet(1);
        else CancelParentPick();
        EXPECT_EQ(w.label, pick ? "1 Individuals added, 3 updated; 1 Families added, 1 updated (Tree #1)"
                                : "0 Individuals added, 2 updated; 0 Families added, 1 updated (Tree #1)");
        EXPECT_TRUE(NoMarks());
    }
}

TEST_F(CommandsTest, UndoForgetsThePasteSoItMayComeAgainUnasked) {
    PasteText(kTwoParentSets);
    ASSERT_EQ(g.IndivCount, 1);
    UndoLastChange();
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.LastPaste, "");
    EXPECT_EQ(TrimBlanks(g.PageScratch.pgName), "");
    PasteText(kTwoParentSets);  // no "unchanged" question
    EXPECT_EQ(g.IndivCount, 1);
}

// Two pastes and no save: the undo of the second leaves the first one's
// people, who are still to be saved.
TEST_F(CommandsTest, UndoOfTheSecondUnsavedPasteLeavesTheWorkChanged) {
    PasteUpToThePickList();
    UndoLastChange();
    ASSERT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iName.trimmed(), "Tom LEE");
    EXPECT_EQ(g.DataChanged, "Y");
}

TEST_F(CommandsTest, SaveClearAndOpenAgain) {
    ui.Answer(MsgResult::Ok);
    EXPECT_FALSE(SaveWorkFile());
    EXPECT_EQ(ui.boxes.back().text, "No work data to save!");

    PasteText(kTwoParentSets);
    CancelParentPick();
    const fs::path path = dir / "lee.lnt";
    ui.fileAnswers.push_back(path.string());
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    EXPECT_TRUE(SaveWorkFile());
    EXPECT_TRUE(fs::exists(path));

    w.caption = "Lintora (lee.lnt)";
    ui.Answer(MsgResult::No);
    EXPECT_FALSE(ClearWorkArea());
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(w.caption, "Lintora (lee.lnt)");  // No keeps the caption
    ui.Answer(MsgResult::Yes);
    EXPECT_TRUE(ClearWorkArea());
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.LastWorkFile, "");
    EXPECT_EQ(w.caption, "Lintora");
    EXPECT_GT(g.SourceCount, 0);  // the data files' sources are back

    EXPECT_FALSE(OpenFile(""));
    EXPECT_TRUE(OpenFile(path.string()));
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iAFN.trimmed(), "5-A");
    EXPECT_EQ(w.caption, "Lintora (lee.lnt)");

    // Opening through the dialog; a cancelled dialog opens nothing.
    ui.fileAnswers.push_back("");
    EXPECT_FALSE(OpenWorkFile());
    ui.fileAnswers.push_back(path.string());
    EXPECT_TRUE(OpenWorkFile());
    EXPECT_EQ(ui.fileRequests.back().initialDir, dir.string());

    // Changed work, Yes to saving, the save dialog cancelled: nothing opens.
    g.Indiv[1].iGivn = "Changed";
    g.DataChanged = "Y";
    const auto asked = ui.fileRequests.size();
    ui.Answer(MsgResult::Yes);
    ui.fileAnswers.push_back("");
    EXPECT_FALSE(OpenWorkFile());
    EXPECT_EQ(ui.fileRequests.size(), asked + 1);  // only the save dialog
    EXPECT_EQ(g.Indiv[1].iGivn.value(), "Changed");
    EXPECT_EQ(g.DataChanged, "Y");
}

// Names as pages write them: two spellings of a surname with a slash
// (Ancestry), small particles (a FamilySearch family group), an initial with
// its period (GenCircles); and one the editor gives a prefix and a suffix.
class NamesShownTest : public CommandsTest {
protected:
    void PasteAndEditNames() {
        PasteText("Ancestry World Tree Project: Individual Record\n"
                  "Ancestry.com | Family Trees | Individual Record\n"
                  "Given Name: Abigail\nSurname: Whitcomb/Whitcombe\nSex: F\n"
                  "Birth: 4 May 1761 in Hingham, Plymouth, Massachusetts\n"
                  "Father: Josiah Whitcomb b: 1730\nMother: Mary Lincoln b: 1735\n");
        ui.Answer(MsgResult::Ok);  // each page starts a tree of its own
        ui.Answer(MsgResult::Ok);
        PasteText("FamilySearch(TM) International Genealogical Index v5.0\nFamily Group Record\nMexico\n"
                  "Search Results | Download | Print\n\nHusband\nJuan Ortiz   Pedigree\n"
                  "Birth:  12 MAR 1821  Puebla, Puebla, Mexico\n\nWife\nRosa Garza   Pedigree\n\n"
                  "Marriage:  5 AUG 1845  Puebla, Puebla, Mexico\n\nChildren\n"
                  "1.  Mar\xC3\xAD" "a de la Luz Ortiz   Pedigree\nFemale\n"
                  "Birth:  2 MAY 1846  Puebla, Puebla, Mexico\n");
        PasteText("GenCircles - Individual Information\nHome | Global Tree | SmartMatching(TM) | Upload | Help\n"
                  "Louis E. Tremblay 3 SmartMatches\nBirth: 14 Mar 1880 in Chicoutimi, Quebec\nSex: M\n\n"
                  "Spouses & Children\nMarie Roy (Wife) b. 1884 in Chicoutimi, Quebec\n"
                  "Marriage: 20 Jun 1905 in Chicoutimi, Quebec\nCopyright 2004 GenCircles. All rights reserved.\n");
        Edit(4, "Don", "Sr");  // Juan Ortiz
    }
    // The editor's boxes of person i with a prefix and a suffix (and another
    // surname), stored.
    static void Edit(int32_t i, const char* prefix, const char* suffix, const char* surname = nullptr) {
        EditValues boxes = EditValuesOf(i, 0);
        boxes.prefix = prefix;
        boxes.suffix = suffix;
        if (surname) boxes.surn = surname;
        std::vector<std::string> kept;
        ASSERT_TRUE(StoreEditValues(boxes, i, 0, false, kept));
    }
    static std::string Names() {
        std::string out;
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            const IndivRec& r = g.Indiv[i];
            out += r.iName.value() + " = " + r.iGivn.value() + " / " + r.iSurn.value() + "\n";
        }
        return out;
    }
    // Saves the work as kind ("LNT", "GED") in a new file and opens it.
    void SaveAndOpen(const char* kind) {
        const fs::path path = dir / (std::string("names.") + (kind[0] == 'L' ? "lnt" : "ged"));
        g.FilePath = path.string();
        fs::remove(path);
        ui.Answer(MsgResult::Ok);  // "... successfully saved"
        ASSERT_TRUE(SaveFile(g.FilePath, kind));
        ASSERT_TRUE(OpenFile(path.string()));
    }
};

// Each name is shown, and its surname kept, as pasted or edited, reopened
// from a work file and from GEDCOM, save after save.
TEST_F(NamesShownTest, PastedAndEditedNamesReopenAsShown) {
    PasteAndEditNames();
    const std::string shown = Names();
    ASSERT_EQ(shown, "Abigail Whitcomb/Whitcombe = Abigail / Whitcomb/Whitcombe\n"
                     "Josiah Whitcomb = Josiah / Whitcomb\nMary Lincoln = Mary / Lincoln\n"
                     "Don Juan Ortiz Sr = Juan / Ortiz\nRosa Garza = Rosa / Garza\n"
                     "Mar\xC3\xAD" "a de la Luz Ortiz = Mar\xC3\xAD" "a De La Luz / Ortiz\n"
                     "Louis E. Tremblay = Louis E / Tremblay\nMarie Roy = Marie / Roy\n");
    for (const char* kind : {"LNT", "LNT", "GED", "GED", "LNT"}) {
        SCOPED_TRACE(kind);
        SaveAndOpen(kind);
        EXPECT_EQ(Names(), shown);
    }
}

// Other programs read the names from our GEDCOM file as shown, from the
// standard lines alone: the NAME line as the name is written, with the
// surname between slashes.
TEST_F(NamesShownTest, AGedcomFileHoldsTheNamesShownInStandardLinesOnly) {
    PasteAndEditNames();
    SaveAndOpen("GED");
    std::vector<std::string> names, ours;
    std::istringstream file(Read(g.FilePath));
    bool person = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("0 ")) person = line.ends_with(" INDI");
        if (person && line.starts_with("1 NAME ")) names.push_back(line);
        const std::size_t tag = line.find(' ');
        if (tag != std::string::npos && line.compare(tag + 1, 1, "_") == 0) ours.push_back(line);
    }
    EXPECT_EQ(ours, std::vector<std::string>{});
    EXPECT_EQ(names, (std::vector<std::string>{"1 NAME Abigail /Whitcomb Whitcombe/", "1 NAME Josiah /Whitcomb/",
                                               "1 NAME Mary /Lincoln/", "1 NAME Don Juan /Ortiz/ Sr",
                                               "1 NAME Rosa /Garza/", "1 NAME Mar\xE2" "ia de la Luz /Ortiz/",
                                               "1 NAME Louis E. /Tremblay/", "1 NAME Marie /Roy/"}));
}

// A given name that holds a slash, pasted from an Ancestry page: shown as
// pasted, written with a blank for it on the NAME line; and the page's source counts the
// people filed with it. Both alike after every save of either kind.
TEST_F(NamesShownTest, ASlashedGivenNameAndThePastesCitationsComeBackFromEverySave) {
    LoadDatFile("All");  // the sources a page cites
    PasteText("Ancestry World Tree Project: Individual Record\n"
              "Ancestry.com | Family Trees | Individual Record\n"
              "Given Name: Thomas/Tom\nSurname: Whitcomb\nSex: M\n"
              "Birth: 2 Jun 1788 in Hingham, Plymouth, Massachusetts\n"
              "Father: Josiah Whitcomb b: 1730\nMother: Mary Lincoln b: 1735\n");
    ASSERT_GT(g.PasteSource, 0);
    const std::string title = g.Source[g.PasteSource].sTitle.value();
    const auto seen = [&] {
        std::string cited = "no source";
        for (int32_t s = 1; s <= g.SourceCount; ++s)
            if (g.Source[s].sTitle.value() == title) cited = std::to_string(g.Source[s].sCitations) + " citations";
        return Names() + cited;
    };
    const std::string pasted = seen();
    ASSERT_EQ(pasted, "Thomas/Tom Whitcomb = Thomas/Tom / Whitcomb\nJosiah Whitcomb = Josiah / Whitcomb\n"
                      "Mary Lincoln = Mary / Lincoln\n3 citations");
    for (const char* kind : {"GED", "GED", "LNT", "GED"}) {
        SCOPED_TRACE(kind);
        SaveAndOpen(kind);
        EXPECT_EQ(seen(), pasted);
    }
    EXPECT_NE(Read(g.FilePath).find("1 NAME Thomas Tom /Whitcomb/\r\n"), std::string::npos);
}

// A name shown without its surname's words, as the editor makes one with a
// prefix and no surname: no NAME line holds it, so the work file keeps it
// on a line of its own and GEDCOM gives the name the parts make.
TEST_F(NamesShownTest, OnlyTheWorkFileKeepsANameShownThatNoNameLineHolds) {
    PasteAndEditNames();
    Edit(8, "Sister", "", "");  // Marie Roy, who took the veil
    ASSERT_EQ(g.Indiv[8].iName.value(), "Sister Marie");
    for (const char* kind : {"LNT", "LNT", "GED"}) {
        SCOPED_TRACE(kind);
        SaveAndOpen(kind);
        EXPECT_EQ(g.Indiv[8].iName.value() + "|" + g.Indiv[8].iPrefix.value() + "|" + g.Indiv[8].iGivn.value(),
                  kind[0] == 'L' ? "Sister Marie|Sister|Marie" : "Marie|Sister|Marie");
    }
}

}  // namespace
}  // namespace lintora
