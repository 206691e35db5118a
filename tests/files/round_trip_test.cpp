// What the writer puts into a file comes back through the reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "files/data_files.h"
#include "files/file_loading.h"
#include "files/file_saving.h"
#include "files/gedcom_writer.h"
#include "files/text_lines.h"
#include "record_store/name_parsing.h"
#include "tests/files/files_fixture.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

class RoundTripTest : public FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(ProjectDir() / "files" / fs::path(SiteDataFilePath()).filename(), SiteDataFilePath());
        LoadDatFile("All");
    }
    // Saves without a dialog and loads the file back; boxes the load shows
    // are answered and collected.
    void SaveAndLoad(const std::string& name, const char* kind) {
        g.FilePath = (dir / name).string();
        std::error_code ec;
        fs::remove(g.FilePath, ec);
        ui.Answer(MsgResult::Ok);
        ASSERT_TRUE(SaveFile(g.FilePath, kind));
        Load(g.FilePath);
    }
    void Load(const std::string& path) {
        for (int k = 0; k < 8; ++k) ui.Answer(MsgResult::Ok);
        LoadFile(path);
        ui.answers.clear();
    }
};

TEST_F(RoundTripTest, WorkFileKeepsEveryFieldItCarries) {
    Person(1, "José", "Müller", "M", 1);
    IndivRec& j = g.Indiv[1];
    j.iSuffix = "Jr";
    j.iPrefix = "Dr";
    j.iNick = "Pepe";
    j.iTitle = "Baron";
    j.iExt = "x1";
    j.ibDate = "12 MAR 1850";
    j.ibPlace = "Köln, Rheinland, Preußen";
    j.icDate = "14 MAR 1850";
    j.idPlace = "Boston";
    j.iblDate = "1910";
    j.iAFN = "1A2B-3C4";
    j.iCDno = 7;
    j.iPIDno = 7;
    j.iSubmNo = "SUB 9";
    j.iGenID = "G17";
    j.iNoteFlg = "Y";
    Person(2, "Anna", "Schmidt", "F", 5);
    g.Indiv[2].iPIDno = 4711;
    Person(3, "Karl", "Müller", "M", 1);
    g.Indiv[3].iFamc = 1;
    g.IndivCount = 3;
    FamilRec& f = g.Famil[1];
    f.fRIN = 1;
    f.fHusb = 1;
    f.fWife = 2;
    f.fmDate = "1 JUN 1875";
    f.fmPlace = "Köln";
    f.fSource = 1;
    f.fChilCount = 1;
    f.fNoteFlg = "Y";
    g.FamilCount = 1;
    const struct { const char* kind; int32_t owner; const char* tag; const char* text; } notes[] = {
        {"I", 1, "1 NOTE", "Born at sea, "}, {"I", 1, "2 CONC", "on the way"}, {"I", 1, "2 CONT", ""},
        {"F", 1, "1 NOTE", "Married in the cathedral"},
    };
    for (const auto& n : notes) {
        NoteRec& r = g.Notes[++g.NotesCount];
        r.nKind = n.kind;
        r.nOwner = n.owner;
        r.nTag = n.tag;
        r.nText = n.text;
        r.nLen = static_cast<int16_t>(Utf8Length(n.text));
    }
    g.Source[1].sCitations = 3;
    g.Source[5].sCitations = 1;
    g.FirstSite = "LDS";
    g.FirstType = "IndANC";
    g.SourceCheck = false;  // export options do not touch the work file
    g.Option1 = 1;

    std::vector<std::string> before = BuildFileLines(FileKind::Work, "");
    SaveAndLoad("round.lnt", "LNT");
    ASSERT_EQ(g.IndivCount, 3);
    EXPECT_EQ(BuildFileLines(FileKind::Work, ""), before);
    // The fields that once were lost on the way.
    EXPECT_EQ(g.Indiv[1].iCDno, 7);
    EXPECT_EQ(g.Indiv[1].iPIDno, 7);
    EXPECT_EQ(g.Indiv[2].iPIDno, 4711);
    EXPECT_EQ(g.Source[g.Indiv[2].iSource].sTitle.value(), "RootsWeb WorldConnect Project");
    EXPECT_EQ(g.Source[g.Famil[1].fSource].sTitle.value(), "Ancestral File");
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "IndANC");
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Köln, Rheinland, Preußen");
}

// Brackets in a folder's name are the user's own: a work file in "Old
// [2019]" is saved there and opened again.
TEST_F(RoundTripTest, AFolderNamedWithBracketsIsTakenAsItIs) {
    Person(1, "Ingrid", "Berg", "F", 1);
    Person(2, "Nils", "Berg", "M", 1);
    g.IndivCount = 2;
    fs::create_directories(dir / "Old [2019]");
    const std::vector<std::string> before = BuildFileLines(FileKind::Work, "");
    SaveAndLoad("Old [2019]/fam.lnt", "LNT");
    const std::string path = (dir / "Old [2019]" / "fam.lnt").string();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, path + " successfully saved");
    EXPECT_EQ(g.LastWorkFile, path);
    EXPECT_EQ(BuildFileLines(FileKind::Work, ""), before);
}

// A letter that ANSEL spells with a slash: the name shown keeps to the
// surname as the GEDCOM file spells it, in ANSEL or in UTF-8 (which a
// Cyrillic name beside it asks for), and stays so through every save.
TEST_F(RoundTripTest, ANameShownKeepsToItsSurnameThroughEverySave) {
    for (const std::string other : {"Berg", "\xD0\x91\xD0\xB5\xD1\x80\xD0\xB3"}) {
        SCOPED_TRACE(other);
        Write(dir / "berg.ged", "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg\xC2\xBD/\r\n1 SEX M\r\n"
                                "0 @I2@ INDI\r\n1 NAME Ivan /" + other + "/\r\n1 SEX M\r\n0 TRLR\r\n");
        Load((dir / "berg.ged").string());
        ASSERT_EQ(g.Indiv[1].iName.value(), "Jan Berg\xC2\xBD");
        SaveAndLoad("saved.ged", "GED");
        const bool utf8 = Read(g.FilePath).find("\r\n1 CHAR UTF-8\r\n") != std::string::npos;
        const std::string surname = utf8 ? "Berg\xC2\xBD" : "Berg1/2";
        for (const char* kind : {"LNT", "GED", "LNT"}) {
            SCOPED_TRACE(kind);
            EXPECT_EQ(g.Indiv[1].iSurn.value() + "|" + g.Indiv[1].iName.value(), surname + "|Jan " + surname);
            SaveAndLoad(kind[0] == 'L' ? "saved.lnt" : "saved.ged", kind);
        }
        EXPECT_EQ(g.Indiv[1].iSurn.value() + "|" + g.Indiv[1].iName.value(), surname + "|Jan " + surname);
    }
}

// Names, events, family links and each owner's note lines as the tables
// hold them (the note lines of one owner in their order).
std::vector<std::string> Summary() {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const IndivRec& r = g.Indiv[i];
        out.push_back(r.iName.value() + "|" + r.iGivn.value() + "|" + r.iSurn.value() + "|" + r.iSuffix.value() +
                      "|" + r.iSex.value() + "|" + r.ibDate.value() + "|" + r.ibPlace.value() + "|" +
                      r.icDate.value() + "|" + r.icPlace.value() + "|" + r.idDate.value() + "|" +
                      r.idPlace.value() + "|" + r.iblDate.value() + "|" + r.iblPlace.value() + "|" +
                      r.iAFN.value() + "|" + std::to_string(r.iFamc));
    }
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& r = g.Famil[f];
        out.push_back(std::to_string(r.fHusb) + "+" + std::to_string(r.fWife) + "|" + r.fmDate.value() + "|" +
                      r.fmPlace.value());
    }
    std::map<std::pair<std::string, int32_t>, std::vector<std::string>> notes;
    for (int32_t n = 1; n <= g.NotesCount; ++n) {
        const NoteRec& r = g.Notes[n];
        if (r.nKind.value() == "I" || r.nKind.value() == "F")
            notes[{r.nKind.value(), r.nOwner}].push_back(r.nTag.value() + r.nText.value());
    }
    for (const auto& [owner, lines] : notes) {
        out.push_back(owner.first + std::to_string(owner.second));
        out.insert(out.end(), lines.begin(), lines.end());
    }
    return out;
}

TEST_F(RoundTripTest, SharedGedcomFilesComeBackAsTheyWereRead) {
    if (!HaveSharedGedcom()) GTEST_SKIP() << NoSharedGedcom();
    const fs::path shared = SharedGedcomDir();
    for (const char* file : {"ANSEL.GED", "Harry_Potter.ged", "TGC55C.ged", "TGC55CLF.ged", "allged.ged",
                             "utf8_crlf_bom.ged"}) {
        SCOPED_TRACE(file);
        Load((shared / file).string());
        ASSERT_GT(g.IndivCount, 0);
        std::vector<std::string> first = Summary();
        g.PrepCheck = false;
        ui.boxes.clear();
        SaveAndLoad("again.ged", "GED");
        EXPECT_EQ(Summary(), first);
        // The save's own report, and nothing from the load.
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, g.FilePath + " successfully saved");
        ui.boxes.clear();
    }
}

// Save, load and save again: the second file is the first, byte for byte.
class SameFileTest : public RoundTripTest {
protected:
    std::string Save(const char* kind) {
        const std::string name = std::string("again.") + (std::string(kind) == "GED" ? "ged" : "lnt");
        g.FilePath = (dir / name).string();
        std::error_code ec;
        fs::remove(g.FilePath, ec);
        ui.Answer(MsgResult::Ok);
        EXPECT_TRUE(SaveFile(g.FilePath, kind));
        return Read(g.FilePath);
    }
    // Saves the work, loads that file, saves again; the two files must match.
    void ExpectSameFileAgain(const char* kind) {
        SCOPED_TRACE(kind);
        const std::string first = Save(kind);
        Load(g.FilePath);
        ASSERT_GT(g.IndivCount, 0);
        const std::string second = Save(kind);
        EXPECT_TRUE(second == first) << "the second file differs from the first";
        // Where they differ, line by line.
        auto a = SplitFileLines(first), b = SplitFileLines(second);
        for (std::size_t k = 0; k < std::min(a.size(), b.size()); ++k)
            if (a[k] != b[k]) {
                ADD_FAILURE() << "line " << k + 1 << ": " << a[k] << " | " << b[k];
                break;
            }
    }
};

TEST_F(SameFileTest, SharedGedcomFiles) {
    if (!HaveSharedGedcom()) GTEST_SKIP() << NoSharedGedcom();
    const fs::path shared = SharedGedcomDir();
    for (const auto& entry : fs::directory_iterator(shared)) {
        SCOPED_TRACE(entry.path().filename().string());
        for (const char* kind : {"GED", "LNT"}) {
            Load(entry.path().string());
            ASSERT_GT(g.IndivCount, 0);
            g.PrepCheck = true;
            g.PrefText[1] = "Jane Doe";
            ExpectSameFileAgain(kind);
        }
    }
}

// The names, titles, tabs and notes that real files showed coming back changed.
TEST_F(SameFileTest, NamesTitlesTabsAndNotesThatAnselSpellsOut) {
    Person(1, "Elizabeth", "", "F", 1);
    g.Indiv[1].iSuffix = "of York";
    g.Indiv[1].iTitle = "Queen\tConsort";
    g.Indiv[1].ibPlace = "Westminster,\tLondon\t";
    g.Indiv[1].iNoteFlg = "Y";
    Person(2, "LIVING", "", "M", 1);
    g.Indiv[2].iFamc = 1;
    Person(3, "John (Jack)", "Smith", "M", 2);
    Person(4, "Albert Augustus Charles", "", "M", 0);
    g.Indiv[4].iTitle = "Prince";
    g.Indiv[4].iSuffix = "Jr";
    Person(5, "Ann", "@X@", "F", 0);
    g.Indiv[5].iNick = "Nan";
    g.Indiv[5].iPrefix = "Capt";
    Person(6, "Sir John", "Smith", "M", 0);
    Person(7, "Ann/Marie", "", "F", 0);  // a slash that is no surname mark
    g.IndivCount = 7;
    g.Famil[1].fRIN = 1;
    g.Famil[1].fHusb = 3;
    g.Famil[1].fWife = 1;
    g.Famil[1].fChilCount = 1;
    g.Famil[1].fNoteFlg = "Y";
    g.FamilCount = 1;
    // Letters ANSEL lacks are written as several ASCII letters (the ellipsis
    // as "...", ij as "ij"); marks stay with their letters.
    std::string ij;
    for (int k = 0; k < 70; ++k) ij += "\xC4\xB3";
    const struct { const char* kind; int32_t owner; const char* tag; std::string text; } notes[] = {
        {"I", 1, "1 NOTE", std::string(119, 'a') + "\u2026"},
        {"I", 1, "2 CONC", ij},
        {"I", 1, "2 CONT", "tab\there \xC7\x96" "ber"},
        {"F", 1, "1 NOTE", std::string(118, 'q') + "q\xCC\x83 and more"},
    };
    for (const auto& n : notes) {
        NoteRec& r = g.Notes[++g.NotesCount];
        r.nKind = n.kind;
        r.nOwner = n.owner;
        r.nTag = n.tag;
        r.nText = n.text;
        r.nLen = static_cast<int16_t>(Utf8Length(r.nText.value()));
    }
    for (const char* kind : {"GED", "LNT"}) {
        ExpectSameFileAgain(kind);
        EXPECT_EQ(g.Indiv[1].iSurn.value(), "");
        EXPECT_EQ(g.Indiv[1].iSuffix.value(), "of York");
        EXPECT_EQ(g.Indiv[1].iTitle.value(), "Queen Consort");
        EXPECT_EQ(g.Indiv[2].iGivn.value(), "LIVING");
        EXPECT_EQ(g.Indiv[2].iSurn.value(), "");
        EXPECT_EQ(g.Indiv[3].iNick.value(), "");
        EXPECT_EQ(g.Indiv[5].iSurn.value(), "@X@");
        EXPECT_EQ(g.Indiv[6].iTitle.value(), "");
        EXPECT_EQ(g.Indiv[7].iGivn.value(), "Ann/Marie");
        EXPECT_EQ(g.Indiv[7].iSurn.value(), "");
        EXPECT_EQ(g.Indiv[7].iSuffix.value(), "");
        ExpectSameFileAgain(kind);
    }
}

// Letters ANSEL spells out (a blank for a no-break space, two letters for
// one) where the spelling fits, ANSEL pairs whose bytes also read as UTF-8,
// and note text that begins like a pointer: each file comes back as it was
// written.
TEST_F(SameFileTest, SpeltLettersAndPointerLikeTextComeBackAsWritten) {
    Person(1, "Ann", "Baker", "F", 0);
    g.Indiv[1].ibPlace = "Sir\xC2\xA0(Jack)";
    g.Indiv[1].idPlace = std::string(97, 'a') + "\xC4\xB3";  // spelt "ij", one less than the field holds
    g.Indiv[1].icPlace = std::string(97, 'a') + "\u2026";  // spelt "...", as much as the field holds
    g.Indiv[1].iblPlace = "\xE2\x99\xAF\xC3\xB8";  // sharp and o with stroke: C4 B2 in ANSEL
    g.Indiv[1].iNoteFlg = "Y";
    Person(2, "Tom", "Baker", "M", 0);
    g.Indiv[2].iNoteFlg = "Y";
    g.IndivCount = 2;
    const struct { int32_t owner; const char* tag; const char* text; } notes[] = {
        {1, "1 NOTE", "@X@ IV"}, {1, "2 CONT", "second"}, {2, "1 NOTE", " @N1@"},
    };
    for (const auto& n : notes) {
        NoteRec& r = g.Notes[++g.NotesCount];
        r.nKind = "I";
        r.nOwner = n.owner;
        r.nTag = n.tag;
        r.nText = n.text;
        r.nLen = static_cast<int16_t>(Utf8Length(n.text));
    }
    const SeenWork before = SeenWork::Now();
    ExpectSameFileAgain("LNT");
    EXPECT_EQ(SeenWork::Now().notes, before.notes);
    ExpectSameFileAgain("GED");
    EXPECT_TRUE(Read(g.FilePath).find("1 CHAR ANSEL\r\n") != std::string::npos);
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Sir (Jack)");
    EXPECT_EQ(g.Indiv[1].idPlace.value(), std::string(97, 'a') + "ij");
    EXPECT_EQ(g.Indiv[1].icPlace.value(), std::string(97, 'a') + "...");
    EXPECT_EQ(g.Indiv[1].iblPlace.value(), "\xE2\x99\xAF\xC3\xB8");
    EXPECT_EQ(SeenWork::Now().notes, before.notes);
}

// What real files showed changing between a load and the reload of its own
// save: notes opening with blank lines, names whose slashes or part lines
// decide, control characters, family pointers that name nothing or twice,
// families without partners.
TEST_F(SameFileTest, LoadedWorkIsItsOwnSaveReopened) {
    const std::string file = std::string(
        "0 HEAD\r\n1 CHAR ANSEL\r\n"
        "0 @I1@ INDI\r\n1 NAME Louis_IV of_Hesse //\r\n1 SEX M\r\n1 FAMS @F1@\r\n1 FAMS @F9@\r\n1 NOTE @N1@\r\n"
        "0 @I2@ INDI\r\n1 NAME John /Smith/\r\n2 GIVN John (Jack)\r\n1 SEX M\r\n1 BIRT\r\n"
        "2 PLAC Dover\x05Kent\r\n1 FAMC @F1@\r\n1 FAMC @F2@\r\n"
        "0 @I3@ INDI\r\n1 NAME A\r\n2 GIVN A (C)\r\n1 SEX F\r\n1 FAMC @F2@\r\n"
        "0 @I4@ INDI\r\n1 NAME l2\r\n1 NOTE\r\n2 CONT\r\n2 CONC \t\r\n2 CONT Moved west\r\n"
        "0 @I5@ INDI\r\n1 NAME Ann /Baker/") + std::string(1, '\0') + "\r\n1 SEX F\r\n1 FAMS @F1@\r\n"
        "1 DEAT\r\n2 PLAC Salem\x1f\r\n"
        "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I5@\r\n1 CHIL @I2@\r\n"
        "0 @F2@ FAM\r\n1 CHIL @I2@\r\n1 CHIL @I3@\r\n"
        "0 @N1@ NOTE\r\n1 CONC\r\n1 CONT Served in the militia\r\n"
        "0 TRLR\r\n";
    Write(dir / "real.ged", file);
    Load((dir / "real.ged").string());
    ASSERT_EQ(g.IndivCount, 7);
    const SeenWork loaded = SeenWork::Now();
    struct Want {
        const char *name, *given, *surname, *suffix;
        int16_t fams;
    };
    const Want want[] = {
        {"Louis_IV of_Hesse", "Louis_IV of_Hesse", "", "", 1}, {"John (Jack) Smith", "John (Jack)", "Smith", "", 0},
        {"A (C)", "A (C)", "", "", 0},                          {"L2", "L2", "", "", 0},
        {"Ann Baker", "Ann", "Baker", "", 1},                   {"<unknown>", "<unknown>", "", "", 1},
        {"<unknown>", "<unknown>", "", "", 1},
    };
    for (int32_t i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        const IndivRec& R = g.Indiv[i];
        EXPECT_EQ(R.iName.value(), want[i - 1].name);
        EXPECT_EQ(R.iGivn.value(), want[i - 1].given);
        EXPECT_EQ(R.iSurn.value(), want[i - 1].surname);
        EXPECT_EQ(R.iSuffix.value(), want[i - 1].suffix);
        EXPECT_EQ(R.iNameKey.padded(), NameKeyOf(want[i - 1].given, want[i - 1].surname));
        EXPECT_EQ(R.iFamsCount, want[i - 1].fams);
    }
    EXPECT_EQ(g.Indiv[2].ibPlace.value(), "Dover Kent");
    EXPECT_EQ(g.Indiv[5].idPlace.value(), "Salem");
    // The second FAMC line names the family; the first family keeps no child.
    EXPECT_EQ(g.Indiv[2].iFamc, 2);
    EXPECT_EQ(g.Indiv[3].iFamc, 2);
    EXPECT_EQ(g.Famil[1].fChilCount, 0);
    EXPECT_EQ(g.Famil[2].fChilCount, 2);
    EXPECT_EQ((std::vector<int32_t>{g.Famil[2].fHusb, g.Famil[2].fWife}), (std::vector<int32_t>{6, 7}));
    const std::vector<std::string> noteOf1{"1 NOTE|Served in the militia|21"}, noteOf4{"1 NOTE|Moved west|10"};
    EXPECT_EQ(loaded.notes, (decltype(loaded.notes){{{"I", 1}, noteOf1}, {{"I", 4}, noteOf4}}));

    for (const char* kind : {"GED", "LNT"}) {
        SCOPED_TRACE(kind);
        Load((dir / "real.ged").string());
        Save(kind);
        Load(g.FilePath);
        ExpectSameWork(SeenWork::Now(), loaded);
        Load((dir / "real.ged").string());
        ExpectSameFileAgain(kind);
    }
}

// Note text that opens with a whole line's worth of blanks (or of control
// characters, read as blanks): the note opens at its text, as a save writes
// it, so the reopened note has the same lines and the files match.
TEST_F(SameFileTest, NoteOpeningWithALineOfBlanks) {
    const std::string blanks(130, ' '), controls(125, '\x01');
    const std::string file =
        "0 HEAD\r\n1 CHAR ANSEL\r\n"
        "0 @I1@ INDI\r\n1 NAME Hannah /Gray/\r\n1 SEX F\r\n1 NOTE " + blanks + "Kept the inn at Dover\r\n"
        "2 CONT after her husband died\r\n"
        "0 @I2@ INDI\r\n1 NAME Amos /Gray/\r\n1 SEX M\r\n1 NOTE\r\n2 CONC " + controls + "Miller\r\n"
        "1 NOTE @N1@\r\n"
        "0 @N1@ NOTE " + blanks + "Served in the militia\r\n"
        "0 TRLR\r\n";
    Write(dir / "blanks.ged", file);
    for (const char* kind : {"GED", "LNT"}) {
        SCOPED_TRACE(kind);
        Load((dir / "blanks.ged").string());
        ASSERT_EQ(g.IndivCount, 2);
        const SeenWork loaded = SeenWork::Now();
        const std::vector<std::string> hannah{"1 NOTE|" + blanks.substr(120) + "Kept the inn at Dover|31",
                                              "2 CONT|after her husband died|22"},
            amos{"1 NOTE|     Miller|11", "1 NOTE|" + blanks.substr(120) + "Served in the militia|31"};
        EXPECT_EQ(loaded.notes, (decltype(loaded.notes){{{"I", 1}, hannah}, {{"I", 2}, amos}}));
        Save(kind);
        Load(g.FilePath);
        ExpectSameWork(SeenWork::Now(), loaded);
        ExpectSameFileAgain(kind);
    }
}

// A GEDCOM file's names as the tables, the screen and our own save give
// them back: each person's given names, surname and suffix, the name as
// shown, and the name lines of the saved file (those between the INDI line
// and the SEX line). The saved file, and a work file, give the same names
// back (the GEDCOM surname as ANSEL spells it, where it spells a letter out
// in ASCII), and each saved again is the same file.
class GedcomNamesTest : public SameFileTest {
protected:
    struct Want {
        const char *given, *surname, *suffix, *shown;
        std::vector<std::string> saved;
        const char* nick = "";
        const char* spelt = nullptr;  // the surname as an ANSEL file gives it back, where it differs
        const char* shownSpelt = nullptr;  // the name shown so, where it differs otherwise
    };
    // The name fields of the first people, the surname as ANSEL spells it where asked.
    static void ExpectParts(const std::vector<Want>& want, bool ansel) {
        for (std::size_t k = 0; k < want.size(); ++k) {
            SCOPED_TRACE(want[k].shown);
            const IndivRec& R = g.Indiv[static_cast<int32_t>(k) + 1];
            const char* surname = ansel && want[k].spelt ? want[k].spelt : want[k].surname;
            EXPECT_EQ(R.iGivn.value(), want[k].given);
            EXPECT_EQ(R.iSurn.value(), surname);
            EXPECT_EQ(R.iSuffix.value(), want[k].suffix);
            EXPECT_EQ(R.iNick.value(), want[k].nick);
            EXPECT_EQ(R.iNameKey.padded(), NameKeyOf(want[k].given, surname));
            // The name shown keeps to the surname as spelt.
            std::string shown = want[k].shown;
            if (surname != want[k].surname)
                shown.replace(shown.find(want[k].surname), std::strlen(want[k].surname), surname);
            EXPECT_EQ(R.iName.value(), ansel && want[k].shownSpelt ? want[k].shownSpelt : shown);
        }
    }
    void ExpectNames(const std::string& file, const std::vector<Want>& want) {
        Write(dir / "names.ged", file);
        Load((dir / "names.ged").string());
        ASSERT_GE(g.IndivCount, static_cast<int32_t>(want.size()));
        ExpectParts(want, false);
        const SeenWork loaded = SeenWork::Now();
        g.PrepCheck = false;
        const std::vector<std::string> saved = SplitFileLines(Save("GED"));
        for (std::size_t k = 0; k < want.size(); ++k) {
            SCOPED_TRACE(want[k].shown);
            auto at = std::find(saved.begin(), saved.end(), "0 @I" + std::to_string(k + 1) + "@ INDI");
            ASSERT_NE(at, saved.end());
            auto sex = std::find_if(at, saved.end(), [](const std::string& l) { return l.rfind("1 SEX", 0) == 0; });
            EXPECT_EQ(std::vector<std::string>(at + 1, sex), want[k].saved);
        }
        Load(g.FilePath);
        ExpectParts(want, true);
        ExpectSameFileAgain("GED");
        Load((dir / "names.ged").string());
        Save("LNT");
        Load(g.FilePath);
        ExpectSameWork(SeenWork::Now(), loaded);
        ExpectSameFileAgain("LNT");
    }
};

// Empty slashes say there is no surname; the words before them are the
// given names whole, also where the guess from the word order would find
// no surname either (a regnal number joined by "_", as royal files write
// it) or the same surname as the slashes.
TEST_F(GedcomNamesTest, SlashesDecideWithoutGuessingFromTheWordsBeforeThem) {
    ExpectNames("0 HEAD\r\n1 SOUR PAF\r\n1 CHAR ANSEL\r\n"
                "0 @I1@ INDI\r\n1 NAME Frederick_III  //\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 18 OCT 1831\r\n"
                "1 FAMS @F1@\r\n"
                "0 @I2@ INDI\r\n1 NAME Victoria Adelaide Mary //\r\n1 SEX F\r\n1 FAMS @F1@\r\n"
                "0 @I3@ INDI\r\n1 NAME William_II  //\r\n1 SEX M\r\n1 FAMC @F1@\r\n"
                "0 @I4@ INDI\r\n1 NAME Edward VII /Windsor/\r\n1 SEX M\r\n"
                "0 @I5@ INDI\r\n1 NAME John /Smith/ Jr\r\n1 SEX M\r\n"
                "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 CHIL @I3@\r\n1 MARR\r\n2 DATE 25 JAN 1858\r\n"
                "0 TRLR\r\n",
                {
                    {"Frederick_III", "", "", "Frederick_III",
                     {"1 NAME Frederick_III //", "2 SURN ", "2 GIVN Frederick_III"}},
                    {"Victoria Adelaide Mary", "", "", "Victoria Adelaide Mary",
                     {"1 NAME Victoria Adelaide Mary //", "2 SURN ", "2 GIVN Victoria Adelaide Mary"}},
                    {"William_II", "", "", "William_II", {"1 NAME William_II //", "2 SURN ", "2 GIVN William_II"}},
                    {"Edward VII", "Windsor", "", "Edward VII Windsor",
                     {"1 NAME Edward VII /Windsor/", "2 SURN Windsor", "2 GIVN Edward VII"}},
                    {"John", "Smith", "Jr", "John Smith Jr",
                     {"1 NAME John /Smith/Jr", "2 SURN Smith", "2 GIVN John", "2 NSFX Jr"}},
                });
}

// Surname first, as Hungarian and East Asian files write names: the words
// after the slashes that the part lines name as given names (or as the
// nickname) are no suffix. A suffix comes from NSFX, or from words after
// the slashes that no part line names. The name is shown, and saved, as
// the NAME line writes it.
TEST_F(GedcomNamesTest, GivenNamesAfterTheSurnameAreNoSuffix) {
    ExpectNames("0 HEAD\r\n1 SOUR FTM\r\n1 CHAR UTF-8\r\n"
                "0 @I1@ INDI\r\n1 NAME /Kovacs/ Janos\r\n2 GIVN Janos\r\n2 SURN Kovacs\r\n1 SEX M\r\n"
                "1 FAMS @F1@\r\n"
                "0 @I2@ INDI\r\n1 NAME /Nagy/ Erzsebet Maria\r\n2 SURN Nagy\r\n2 GIVN Erzsebet Maria\r\n1 SEX F\r\n"
                "1 FAMS @F1@\r\n"
                "0 @I3@ INDI\r\n1 NAME /Kovacs/ Peter Jr\r\n2 GIVN Peter\r\n2 SURN Kovacs\r\n1 SEX M\r\n"
                "1 FAMC @F1@\r\n"
                "0 @I4@ INDI\r\n1 NAME /Kovacs/ Laszlo\r\n2 NSFX Sr\r\n2 GIVN Laszlo\r\n2 SURN Kovacs\r\n1 SEX M\r\n"
                "0 @I5@ INDI\r\n1 NAME /Szabo/ Istvan Pista\r\n2 GIVN Istvan\r\n2 NICK Pista\r\n2 SURN Szabo\r\n"
                "1 SEX M\r\n"
                "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 CHIL @I3@\r\n1 MARR\r\n2 DATE 1921\r\n"
                "2 PLAC Debrecen\r\n"
                "0 TRLR\r\n",
                {
                    {"Janos", "Kovacs", "", "Kovacs Janos", {"1 NAME /Kovacs/ Janos", "2 SURN Kovacs", "2 GIVN Janos"}},
                    {"Erzsebet Maria", "Nagy", "", "Nagy Erzsebet Maria",
                     {"1 NAME /Nagy/ Erzsebet Maria", "2 SURN Nagy", "2 GIVN Erzsebet Maria"}},
                    {"Peter", "Kovacs", "Jr", "Kovacs Peter Jr",
                     {"1 NAME /Kovacs/ Peter Jr", "2 SURN Kovacs", "2 GIVN Peter", "2 NSFX Jr"}},
                    {"Laszlo", "Kovacs", "Sr", "Kovacs Laszlo",
                     {"1 NAME /Kovacs/ Laszlo", "2 SURN Kovacs", "2 GIVN Laszlo", "2 NSFX Sr"}},
                    {"Istvan", "Szabo", "", "Szabo Istvan Pista",
                     {"1 NAME /Szabo/ Istvan Pista", "2 SURN Szabo", "2 GIVN Istvan", "2 NICK Pista"}, "Pista"},
                });
}

// A surname prefix (SPFX) stays with the surname as the NAME line's
// slashes show it, in whichever order the part lines come; where the
// slashes leave it out, it goes before their surname. It is saved so that
// a reader of our file gets it too.
TEST_F(GedcomNamesTest, SurnamePrefixStaysWithTheSurname) {
    ExpectNames("0 HEAD\r\n1 SOUR Aldfaer\r\n1 CHAR ANSEL\r\n"
                "0 @I1@ INDI\r\n1 NAME Mary Ann /van der Berg/\r\n2 GIVN Mary Ann\r\n2 SPFX van der\r\n"
                "2 SURN Berg\r\n1 SEX F\r\n1 FAMS @F1@\r\n"
                "0 @I2@ INDI\r\n1 NAME Pieter /de Vries/\r\n2 GIVN Pieter\r\n2 SURN Vries\r\n2 SPFX de\r\n"
                "1 SEX M\r\n1 FAMS @F1@\r\n"
                // A NAME line without the prefix, or with it in capitals, or without part lines.
                "0 @I3@ INDI\r\n1 NAME Johannes /Berg/\r\n2 GIVN Johannes\r\n2 SPFX van der\r\n2 SURN Berg\r\n"
                "1 SEX M\r\n1 FAMC @F1@\r\n"
                "0 @I4@ INDI\r\n1 NAME Willem /Van den Bosch/\r\n2 SPFX van den\r\n2 SURN Bosch\r\n1 SEX M\r\n"
                "0 @I5@ INDI\r\n1 NAME Anna /Van Dyke/\r\n2 SPFX Van\r\n1 SEX F\r\n"
                "0 @F1@ FAM\r\n1 HUSB @I2@\r\n1 WIFE @I1@\r\n1 CHIL @I3@\r\n"
                "0 TRLR\r\n",
                {
                    {"Mary Ann", "van der Berg", "", "Mary Ann van der Berg",
                     {"1 NAME Mary Ann /van der Berg/", "2 SURN van der Berg", "2 GIVN Mary Ann"}},
                    {"Pieter", "de Vries", "", "Pieter de Vries",
                     {"1 NAME Pieter /de Vries/", "2 SURN de Vries", "2 GIVN Pieter"}},
                    {"Johannes", "van der Berg", "", "Johannes van der Berg",
                     {"1 NAME Johannes /van der Berg/", "2 SURN van der Berg", "2 GIVN Johannes"}},
                    {"Willem", "Van den Bosch", "", "Willem Van den Bosch",
                     {"1 NAME Willem /Van den Bosch/", "2 SURN Van den Bosch", "2 GIVN Willem"}},
                    {"Anna", "Van Dyke", "", "Anna Van Dyke",
                     {"1 NAME Anna /Van Dyke/", "2 SURN Van Dyke", "2 GIVN Anna"}},
                });
}

// The surname is what stands between the slashes, as written, whatever the
// prefix and surname lines make of it (an elided prefix, the standard's
// comma list, a SURN line that holds the prefix too).
TEST_F(GedcomNamesTest, SlashesSayWhatTheSurnameIs) {
    ExpectNames("0 HEAD\r\n1 SOUR Legacy\r\n1 CHAR ANSEL\r\n"
                "0 @I1@ INDI\r\n1 NAME Charles /d'Artagnan/\r\n2 SPFX d'\r\n2 SURN d'Artagnan\r\n1 SEX M\r\n"
                "0 @I2@ INDI\r\n1 NAME Sean /O'Brien/\r\n2 GIVN Sean\r\n2 SPFX O'\r\n2 SURN Brien\r\n1 SEX M\r\n"
                "0 @I3@ INDI\r\n1 NAME Juan /de la Cruz/\r\n2 SPFX de, la\r\n2 SURN Cruz\r\n1 SEX M\r\n"
                "0 @I4@ INDI\r\n1 NAME Rosa /de la Cruz/\r\n2 SPFX de, la\r\n2 SURN de la Cruz\r\n1 SEX F\r\n"
                "0 @I5@ INDI\r\n1 NAME Ludwig /van Beethoven/\r\n2 SPFX van\r\n2 SURN Beethoven\r\n1 SEX M\r\n"
                "0 TRLR\r\n",
                {
                    {"Charles", "d'Artagnan", "", "Charles d'Artagnan",
                     {"1 NAME Charles /d'Artagnan/", "2 SURN d'Artagnan", "2 GIVN Charles"}},
                    {"Sean", "O'Brien", "", "Sean O'Brien", {"1 NAME Sean /O'Brien/", "2 SURN O'Brien", "2 GIVN Sean"}},
                    {"Juan", "de la Cruz", "", "Juan de la Cruz",
                     {"1 NAME Juan /de la Cruz/", "2 SURN de la Cruz", "2 GIVN Juan"}},
                    {"Rosa", "de la Cruz", "", "Rosa de la Cruz",
                     {"1 NAME Rosa /de la Cruz/", "2 SURN de la Cruz", "2 GIVN Rosa"}},
                    {"Ludwig", "van Beethoven", "", "Ludwig van Beethoven",
                     {"1 NAME Ludwig /van Beethoven/", "2 SURN van Beethoven", "2 GIVN Ludwig"}},
                });
}

// After a surname written first, the words that a part line names are no
// suffix, also where the line spells them another way (accents, quotes,
// hyphens) or names more of them; words that no part line names, also one
// the given names before the slashes already hold, are the suffix, and a
// blank NSFX line changes nothing.
TEST_F(GedcomNamesTest, PartLinesNameTheWordsAfterTheSurnameAsAReaderReadsThem) {
    ExpectNames("0 HEAD\r\n1 SOUR FTM\r\n1 CHAR UTF-8\r\n"
                "0 @I1@ INDI\r\n1 NAME /Kov\xC3\xA1" "cs/ J\xC3\xA1nos\r\n2 GIVN Janos\r\n1 SEX M\r\n"
                "0 @I2@ INDI\r\n1 NAME /Szabo/ Istvan \"Pista\"\r\n2 GIVN Istvan\r\n2 NICK Pista\r\n1 SEX M\r\n"
                "0 @I3@ INDI\r\n1 NAME /Wang/ Xiao-Ming\r\n2 GIVN Xiao Ming\r\n1 SEX M\r\n"
                "0 @I4@ INDI\r\n1 NAME /Kovacs/ Janos\r\n2 GIVN Janos Istvan\r\n1 SEX M\r\n"
                "0 @I5@ INDI\r\n1 NAME /Toth/ Anna Jr\r\n2 GIVN Anna\r\n2 NSFX Jr\r\n1 SEX F\r\n"
                "0 @I6@ INDI\r\n1 NAME Jean /Dupont/ Jean\r\n2 GIVN Jean\r\n1 SEX M\r\n"
                "0 @I7@ INDI\r\n1 NAME /Nagy/ Peter\r\n2 NSFX\r\n2 GIVN Peter\r\n1 SEX M\r\n"
                "0 @I8@ INDI\r\n1 NAME Gabor /Horvath/\r\n2 NSFX Jr\r\n2 NSFX\r\n1 SEX M\r\n"
                "0 TRLR\r\n",
                {
                    {"Janos", "Kov\xC3\xA1" "cs", "", "Kov\xC3\xA1" "cs J\xC3\xA1nos",
                     {"1 NAME /Kov\xE2" "acs/ J\xE2" "anos", "2 SURN Kov\xE2" "acs", "2 GIVN Janos"}},
                    {"Istvan", "Szabo", "", "Szabo Istvan \"Pista\"",
                     {"1 NAME /Szabo/ Istvan \"Pista\"", "2 SURN Szabo", "2 GIVN Istvan", "2 NICK Pista"}, "Pista"},
                    {"Xiao Ming", "Wang", "", "Wang Xiao-Ming",
                     {"1 NAME /Wang/ Xiao-Ming", "2 SURN Wang", "2 GIVN Xiao Ming"}},
                    {"Janos Istvan", "Kovacs", "", "Janos Istvan Kovacs",
                     {"1 NAME Janos Istvan /Kovacs/", "2 SURN Kovacs", "2 GIVN Janos Istvan"}},
                    {"Anna", "Toth", "Jr", "Toth Anna Jr",
                     {"1 NAME /Toth/ Anna Jr", "2 SURN Toth", "2 GIVN Anna", "2 NSFX Jr"}},
                    {"Jean", "Dupont", "Jean", "Jean Dupont Jean",
                     {"1 NAME Jean /Dupont/Jean", "2 SURN Dupont", "2 GIVN Jean", "2 NSFX Jean"}},
                    {"Peter", "Nagy", "", "Nagy Peter", {"1 NAME /Nagy/ Peter", "2 SURN Nagy", "2 GIVN Peter"}},
                    {"Gabor", "Horvath", "Jr", "Gabor Horvath",
                     {"1 NAME Gabor /Horvath/", "2 SURN Horvath", "2 GIVN Gabor", "2 NSFX Jr"}},
                });
}

// A NAME without slashes and a line for one part: the other part is the
// NAME's words less those the lines name, as written. A prefix goes before
// the surname once, and off the end of a GIVN line's names; alone it makes
// no surname.
TEST_F(GedcomNamesTest, WithoutSlashesTheOtherPartIsTheWordsNoLineNames) {
    ExpectNames("0 HEAD\r\n1 SOUR GENJ\r\n1 CHAR ANSEL\r\n"
                "0 @I1@ INDI\r\n1 NAME Berg Jan\r\n2 SURN Berg\r\n1 SEX M\r\n"
                "0 @I2@ INDI\r\n1 NAME Kovacs Janos\r\n2 GIVN Janos\r\n1 SEX M\r\n"
                "0 @I3@ INDI\r\n1 NAME Jan van der Berg\r\n2 SPFX van der\r\n2 SURN Berg\r\n1 SEX M\r\n"
                "0 @I4@ INDI\r\n1 NAME Sean O'Brien\r\n2 SPFX O'\r\n2 SURN Brien\r\n1 SEX M\r\n"
                "0 @I5@ INDI\r\n1 NAME Juan de la Cruz\r\n2 SURN Cruz\r\n2 SPFX de, la\r\n1 SEX M\r\n"
                "0 @I6@ INDI\r\n1 NAME John 'Jack' Smith\r\n2 GIVN John\r\n2 NICK Jack\r\n1 SEX M\r\n"
                "0 @I7@ INDI\r\n1 NAME Anna Van Berg\r\n2 SPFX van\r\n2 SURN Van Berg\r\n1 SEX F\r\n"
                "0 @I8@ INDI\r\n1 NAME Jan Berg\r\n2 SPFX van\r\n1 SEX M\r\n"
                "0 @I9@ INDI\r\n1 NAME Ludwig van Beethoven\r\n2 GIVN Ludwig van\r\n2 SPFX van\r\n2 SURN Beethoven\r\n"
                "1 SEX M\r\n"
                "0 @I10@ INDI\r\n1 NAME Carl\r\n2 SPFX van\r\n1 SEX M\r\n"
                "0 TRLR\r\n",
                {
                    {"Jan", "Berg", "", "Jan Berg", {"1 NAME Jan /Berg/", "2 SURN Berg", "2 GIVN Jan"}},
                    {"Janos", "Kovacs", "", "Janos Kovacs", {"1 NAME Janos /Kovacs/", "2 SURN Kovacs", "2 GIVN Janos"}},
                    {"Jan", "van der Berg", "", "Jan van der Berg",
                     {"1 NAME Jan /van der Berg/", "2 SURN van der Berg", "2 GIVN Jan"}},
                    {"Sean", "O'Brien", "", "Sean O'Brien", {"1 NAME Sean /O'Brien/", "2 SURN O'Brien", "2 GIVN Sean"}},
                    {"Juan", "de la Cruz", "", "Juan de la Cruz",
                     {"1 NAME Juan /de la Cruz/", "2 SURN de la Cruz", "2 GIVN Juan"}},
                    {"John", "Smith", "", "John Smith",
                     {"1 NAME John /Smith/", "2 SURN Smith", "2 GIVN John", "2 NICK Jack"}, "Jack"},
                    {"Anna", "Van Berg", "", "Anna Van Berg",
                     {"1 NAME Anna /Van Berg/", "2 SURN Van Berg", "2 GIVN Anna"}},
                    {"Jan", "van Berg", "", "Jan van Berg", {"1 NAME Jan /van Berg/", "2 SURN van Berg", "2 GIVN Jan"}},
                    {"Ludwig", "van Beethoven", "", "Ludwig van Beethoven",
                     {"1 NAME Ludwig /van Beethoven/", "2 SURN van Beethoven", "2 GIVN Ludwig"}},
                    {"Carl", "", "", "Carl", {"1 NAME Carl //", "2 SURN ", "2 GIVN Carl"}},
                });
}

// A surname that holds a slash, from a SURN line or a prefix line, is saved
// with blanks between the NAME line's slashes and as it is on the SURN line,
// which a reader keeps. A prefix the slashes leave out goes before their
// surname, and off the end of the given names; one the surname already has,
// in any case or with either apostrophe, is not doubled, nor kept at the
// end of a GIVN line whose NAME line's given names lack it. A slash in the
// given names stays in the name shown.
TEST_F(GedcomNamesTest, SlashesInSurnamesAndPrefixesOutsideTheSlashesSurviveEverySave) {
    ExpectNames("0 HEAD\r\n1 SOUR FTW\r\n1 CHAR UTF-8\r\n"
                "0 @I1@ INDI\r\n1 NAME Sir\r\n2 SURN Ann/Marie\r\n1 SEX F\r\n"
                "0 @I2@ INDI\r\n1 NAME Sir\r\n2 SURN A/B\r\n1 SEX M\r\n"
                "0 @I3@ INDI\r\n1 NAME Piet\r\n2 SPFX van/der\r\n2 SURN Berg\r\n1 SEX M\r\n"
                "0 @I4@ INDI\r\n1 NAME Sir\r\n2 SURN Ann/\r\n1 SEX F\r\n"
                "0 @I5@ INDI\r\n1 NAME Sir\r\n2 SURN /\r\n1 SEX M\r\n"
                "0 @I7@ INDI\r\n1 NAME Joseph Tag /Torture/\r\n2 SPFX Le\r\n2 SURN Torture\r\n1 SEX M\r\n"
                "0 @I8@ INDI\r\n1 NAME Carl /Paulson/\r\n2 SPFX van\r\n1 SEX M\r\n"
                "0 @I9@ INDI\r\n1 NAME Ludwig van /Beethoven/\r\n2 SPFX van\r\n2 SURN Beethoven\r\n1 SEX M\r\n"
                "0 @I10@ INDI\r\n1 NAME Pat O' /Brien/\r\n2 GIVN Pat O'\r\n2 SPFX O\xE2\x80\x99\r\n1 SEX M\r\n"
                "0 @I11@ INDI\r\n1 NAME Anna /Van Berg/\r\n2 SPFX van\r\n2 SURN Van Berg\r\n1 SEX F\r\n"
                "0 @I12@ INDI\r\n1 NAME Sean /O\xE2\x80\x99" "Brien/\r\n2 SPFX O'\r\n1 SEX M\r\n"
                "0 @I13@ INDI\r\n1 NAME Rosa /Cruz/\r\n2 SPFX de, la\r\n2 SURN Garcia\r\n1 SEX F\r\n"
                "0 @I14@ INDI\r\n1 NAME Kov\xC3\xA1" "cs J\xC3\xA1nos\r\n2 GIVN J\xC3\xA1nos\r\n2 SURN Kovacs\r\n"
                "1 SEX M\r\n"
                "0 @I15@ INDI\r\n1 NAME Kovacs, Janos\r\n2 SURN Kovacs\r\n1 SEX M\r\n"
                "0 @I16@ INDI\r\n1 NAME William /Smith/ \xE2\x80\x98" "Bill\xE2\x80\x99\r\n2 NICK Bill\r\n1 SEX M\r\n"
                "0 @I17@ INDI\r\n1 NAME Sean\r\n2 SPFX O\xE2\x80\x99\r\n2 SURN Brien\r\n1 SEX M\r\n"
                "0 @I18@ INDI\r\n1 NAME William (4th/5th Baron) /FitzHUGH/\r\n2 GIVN William (4th/5th Baron)\r\n"
                "2 SURN FitzHUGH\r\n1 SEX M\r\n"
                "0 @I19@ INDI\r\n1 NAME Ludwig /Beethoven/\r\n2 GIVN Ludwig van\r\n2 SPFX van\r\n1 SEX M\r\n"
                "0 @I20@ INDI\r\n1 NAME Carl //\r\n2 SPFX van\r\n1 SEX M\r\n"
                "0 @I21@ INDI\r\n1 NAME Jan /van Berg/\r\n2 GIVN Jan van\r\n2 SPFX van\r\n2 SURN van Berg\r\n"
                "1 SEX M\r\n"
                "0 @I22@ INDI\r\n1 NAME Maria de la /Cruz/\r\n2 SPFX de la\r\n1 SEX F\r\n"
                "0 TRLR\r\n",
                {
                    {"Sir", "Ann/Marie", "", "Sir Ann/Marie",
                     {"1 NAME Sir /Ann Marie/", "2 SURN Ann/Marie", "2 GIVN Sir"}},
                    {"Sir", "A/B", "", "Sir A/B", {"1 NAME Sir /A B/", "2 SURN A/B", "2 GIVN Sir"}},
                    {"Piet", "van/der Berg", "", "Piet van/der Berg",
                     {"1 NAME Piet /van der Berg/", "2 SURN van/der Berg", "2 GIVN Piet"}},
                    {"Sir", "Ann/", "", "Sir Ann", {"1 NAME Sir /Ann /", "2 SURN Ann/", "2 GIVN Sir"}},
                    {"Sir", "/", "", "Sir", {"1 NAME Sir / /", "2 SURN /", "2 GIVN Sir"}},
                    {"Joseph Tag", "Le Torture", "", "Joseph Tag Le Torture",
                     {"1 NAME Joseph Tag /Le Torture/", "2 SURN Le Torture", "2 GIVN Joseph Tag"}},
                    {"Carl", "van Paulson", "", "Carl van Paulson",
                     {"1 NAME Carl /van Paulson/", "2 SURN van Paulson", "2 GIVN Carl"}},
                    {"Ludwig", "van Beethoven", "", "Ludwig van Beethoven",
                     {"1 NAME Ludwig /van Beethoven/", "2 SURN van Beethoven", "2 GIVN Ludwig"}},
                    {"Pat", "O\xE2\x80\x99" "Brien", "", "Pat O\xE2\x80\x99" "Brien",
                     {"1 NAME Pat /O'Brien/", "2 SURN O'Brien", "2 GIVN Pat"}, "", "O'Brien"},
                    {"Anna", "Van Berg", "", "Anna Van Berg",
                     {"1 NAME Anna /Van Berg/", "2 SURN Van Berg", "2 GIVN Anna"}},
                    {"Sean", "O\xE2\x80\x99" "Brien", "", "Sean O\xE2\x80\x99" "Brien",
                     {"1 NAME Sean /O'Brien/", "2 SURN O'Brien", "2 GIVN Sean"}, "", "O'Brien"},
                    {"Rosa", "Cruz", "", "Rosa Cruz", {"1 NAME Rosa /Cruz/", "2 SURN Cruz", "2 GIVN Rosa"}},
                    {"J\xC3\xA1nos", "Kovacs", "", "J\xC3\xA1nos Kovacs",
                     {"1 NAME J\xE2" "anos /Kovacs/", "2 SURN Kovacs", "2 GIVN J\xE2" "anos"}},
                    {"Janos", "Kovacs", "", "Janos Kovacs", {"1 NAME Janos /Kovacs/", "2 SURN Kovacs", "2 GIVN Janos"}},
                    {"William", "Smith", "", "William Smith \xE2\x80\x98" "Bill\xE2\x80\x99",
                     {"1 NAME William /Smith/ 'Bill'", "2 SURN Smith", "2 GIVN William", "2 NICK Bill"}, "Bill", nullptr,
                     "William Smith 'Bill'"},
                    {"Sean", "O\xE2\x80\x99" "Brien", "", "Sean O\xE2\x80\x99" "Brien",
                     {"1 NAME Sean /O'Brien/", "2 SURN O'Brien", "2 GIVN Sean"}, "", "O'Brien"},
                    {"William (4th/5th Baron)", "FitzHUGH", "", "William (4th/5th Baron) FitzHUGH",
                     {"1 NAME William (4th 5th Baron) /FitzHUGH/", "2 SURN FitzHUGH",
                      "2 GIVN William (4th/5th Baron)"}},
                    {"Ludwig", "van Beethoven", "", "Ludwig van Beethoven",
                     {"1 NAME Ludwig /van Beethoven/", "2 SURN van Beethoven", "2 GIVN Ludwig"}},
                    {"Carl", "", "", "Carl", {"1 NAME Carl //", "2 SURN ", "2 GIVN Carl"}},
                    {"Jan", "van Berg", "", "Jan van Berg", {"1 NAME Jan /van Berg/", "2 SURN van Berg", "2 GIVN Jan"}},
                    {"Maria", "de la Cruz", "", "Maria de la Cruz",
                     {"1 NAME Maria /de la Cruz/", "2 SURN de la Cruz", "2 GIVN Maria"}},
                });
}

// A SURN line that differs from the slashes only by the prefix: the prefix
// goes to the surname once, and off the given names, wherever NAME puts it.
TEST_F(GedcomNamesTest, APrefixTheSurnLineAddsGoesToTheSurnameOnce) {
    const Want jan{"Jan", "van Berg", "", "Jan van Berg", {"1 NAME Jan /van Berg/", "2 SURN van Berg", "2 GIVN Jan"}},
        berg{"", "van Berg", "", "van Berg", {"1 NAME  /van Berg/", "2 SURN van Berg", "2 GIVN "}};
    ExpectNames("0 HEAD\r\n1 SOUR Aldfaer\r\n1 CHAR ANSEL\r\n"
                "0 @I1@ INDI\r\n1 NAME Jan van /Berg/\r\n2 GIVN Jan van\r\n2 SPFX van\r\n2 SURN van Berg\r\n"
                "1 SEX M\r\n"
                "0 @I2@ INDI\r\n1 NAME Maria de la /Cruz/\r\n2 GIVN Maria de la\r\n2 SPFX de la\r\n"
                "2 SURN de la Cruz\r\n1 SEX F\r\n"
                "0 @I3@ INDI\r\n1 NAME Jan /van Berg/\r\n2 GIVN Jan van\r\n2 SPFX van\r\n2 SURN Berg\r\n1 SEX M\r\n"
                "0 @I4@ INDI\r\n1 NAME van /Berg/\r\n2 SPFX van\r\n1 SEX M\r\n"
                "0 @I5@ INDI\r\n1 NAME van /Berg/\r\n2 GIVN van\r\n2 SPFX van\r\n2 SURN van Berg\r\n1 SEX M\r\n"
                "0 TRLR\r\n",
                {jan,
                 {"Maria", "de la Cruz", "", "Maria de la Cruz",
                  {"1 NAME Maria /de la Cruz/", "2 SURN de la Cruz", "2 GIVN Maria"}},
                 jan, berg, berg});
}

// A slash outside the surname's pair is a blank in the NAME line (other
// readers look there for the surname's slashes alone) and comes back from
// the part line, to the name shown too; a NAME line holding it reads the same.
TEST_F(GedcomNamesTest, ASlashOutsideTheSurnameIsABlankInTheNameLineAndComesBackFromThePartLine) {
    const Want thomas{"Thomas/Tom", "Whitcomb", "", "Thomas/Tom Whitcomb",
                      {"1 NAME Thomas Tom /Whitcomb/", "2 SURN Whitcomb", "2 GIVN Thomas/Tom"}};
    ExpectNames("0 HEAD\r\n1 SOUR PAF\r\n1 CHAR ANSEL\r\n"
                "0 @I1@ INDI\r\n1 NAME Thomas Tom /Whitcomb/\r\n2 GIVN Thomas/Tom\r\n2 SURN Whitcomb\r\n1 SEX M\r\n"
                "0 @I2@ INDI\r\n1 NAME John /Smith/ III IV\r\n2 GIVN John\r\n2 SURN Smith\r\n2 NSFX III/IV\r\n"
                "1 SEX M\r\n"
                "0 @I3@ INDI\r\n1 NAME Thomas/Tom /Whitcomb/\r\n2 SURN Whitcomb\r\n2 GIVN Thomas/Tom\r\n1 SEX M\r\n"
                "0 @I4@ INDI\r\n1 NAME Rev. Thomas Tom /Whitcomb/\r\n2 SURN Whitcomb\r\n2 GIVN Thomas/Tom\r\n"
                "2 NPFX Rev.\r\n1 SEX M\r\n"
                "0 TRLR\r\n",
                {thomas,
                 {"John", "Smith", "III/IV", "John Smith III/IV",
                  {"1 NAME John /Smith/III IV", "2 SURN Smith", "2 GIVN John", "2 NSFX III/IV"}},
                 thomas,
                 {"Thomas/Tom", "Whitcomb", "", "Rev. Thomas/Tom Whitcomb",
                  {"1 NAME Rev. Thomas Tom /Whitcomb/", "2 SURN Whitcomb", "2 GIVN Thomas/Tom", "2 NPFX Rev."}}});
}

// A name shown that its parts do not make (a page's own spelling, a comma
// between given names) comes back from GEDCOM: NAME writes it, the parts theirs.
TEST_F(RoundTripTest, ANameShownThatItsPartsDoNotMakeComesBackFromGedcom) {
    const struct { const char *given, *surname, *shown, *nameLine; } cases[] = {
        {"Mar\xC3\xAD" "a", "P\xC3\x89REZ", "Mar\xC3\xAD" "a P\xC3\xA9rez", "1 NAME Mar\xE2" "ia /P\xE2" "erez/"},
        {"Johann Georg", "M\xC3\x9CLLER", "Johann,Georg M\xC3\xBCller", "1 NAME Johann,Georg /M\xE8uller/"},
        {"Anna", "Berg", "Anna BERG", "1 NAME Anna /BERG/"},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        Person(static_cast<int32_t>(k) + 1, cases[k].given, cases[k].surname, "F", 0);
        g.Indiv[k + 1].iName = cases[k].shown;
    }
    g.IndivCount = static_cast<int32_t>(std::size(cases));
    for (int save = 1; save <= 2; ++save) {
        SaveAndLoad("shown.ged", "GED");
        const std::vector<std::string> lines = SplitFileLines(Read(g.FilePath));
        for (std::size_t k = 0; k < std::size(cases); ++k) {
            SCOPED_TRACE(cases[k].shown);
            const IndivRec& r = g.Indiv[k + 1];
            EXPECT_EQ(r.iName.value() + "|" + r.iGivn.value() + "|" + r.iSurn.value(),
                      std::string(cases[k].shown) + "|" + cases[k].given + "|" + cases[k].surname);
            EXPECT_NE(std::find(lines.begin(), lines.end(), cases[k].nameLine), lines.end());
        }
    }
}

}  // namespace
}  // namespace lintora::testing
