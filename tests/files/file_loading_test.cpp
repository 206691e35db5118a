#include "files/file_loading.h"

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <sstream>

#include "files/data_files.h"
#include "files/file_saving.h"
#include "files/gedcom_reader.h"
#include "files/gedcom_writer.h"
#include "files/text_lines.h"
#include "record_store/clear.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "platform/disk/file_reading.h"
#include "platform/window_ports.h"
#include "tests/files/files_fixture.h"
#include "tests/support/as_user.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

// The individual loaded for an INDI pointer (without "@"), 0 if none: the
// reader's pointer map ends with its load.
int32_t IndivByXref(const std::string& xref) {
    for (int32_t i = 1; i <= g.IndivCount; ++i)
        if (g.Indiv[i].iXref.trimmed() == xref) return i;
    return 0;
}

class LoadWindows : public MainWindowPort, public SearchWindowPort {
public:
    std::vector<std::string> captions;
    int pickListHidden = 0, treesCleared = 0, treesBuilt = 0, commandsEnabled = 0;
    std::vector<std::pair<int, bool>> buttons;
    void SetMainCaption(const std::string& s) override { captions.push_back(s); }
    void HideParentPickList() override { ++pickListHidden; }
    void ClearTree() override { ++treesCleared; }
    void BuildTree() override { ++treesBuilt; }
    void EnableDataCommands() override { ++commandsEnabled; }
    void SetToolButtonEnabled(int i, bool on) override { buttons.push_back({i, on}); }
};

class LoadTest : public testing::FilesTest {
protected:
    LoadWindows loadWindows;
    LoadWindows& windows = loadWindows;

    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(testing::ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
        InstallWindowFakes(&loadWindows);
    }
    static std::string ReadBytes(const fs::path& p) { return Read(p); }
    // Writes text as a file of the test folder and loads it.
    void LoadText(const std::string& name, const std::string& text) {
        Write(dir / name, text);
        Load(dir / name);
    }
    void Load(const fs::path& p) {
        LoadFile(p.string());
        EXPECT_FALSE(ui.busy) << p;
    }
    static std::string Shared(const char* name) { return (testing::SharedGedcomDir() / name).string(); }
    int32_t FindByGiven(const std::string& given) {
        for (int32_t i = 1; i <= g.IndivCount; ++i)
            if (g.Indiv[i].iGivn.value() == given) return i;
        return 0;
    }
};

// What a shared test file holds, counted from its bytes.
struct FileCounts {
    std::vector<std::string> indis;
    int fams = 0;
};
FileCounts CountRecords(const std::string& bytes) {
    FileCounts c;
    std::regex indi(R"(^\s*0 @([^@]+)@ INDI\s*$)"), fam(R"(^\s*0 @[^@]+@ FAM\s*$)");
    std::string line;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
            std::smatch m;
            if (std::regex_match(line, m, indi)) c.indis.push_back(m[1]);
            else if (std::regex_match(line, fam)) ++c.fams;
            line.clear();
        } else {
            line += bytes[i];
        }
    }
    return c;
}

TEST_F(LoadTest, EverySharedFileLoadsWithAllItsRecords) {
    if (!testing::HaveSharedGedcom()) GTEST_SKIP() << testing::NoSharedGedcom();
    struct Case {
        const char* file;
        const char* xref;  // one person to look at
        const char* given;
        const char* surname;
        const char* birthPlace;
    };
    const Case cases[] = {
        {"ANSEL.GED", "CHILD0", "", "Special Characters 0",
         "slash l - uppercase (Ł), slash o - uppercase (Ø), slash d - uppercase (Đ), thorn - uppercase (Þ)"},
        {"Harry_Potter.ged", "I2", "Harry James", "Potter", "Godric's Hollow, England"},
        {"TGC55C.ged", "PERSON1", "William John", "Smith", "Salt Lake City, UT, USA"},
        {"TGC55CLF.ged", "PERSON1", "William John", "Smith", "Salt Lake City, UT, USA"},
        {"allged.ged", "PERSON1", "another name", "surname", "The place"},
        {"utf8_crlf_bom.ged", "I9", "Ellen", "Łowenstėin", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        FileCounts counts = CountRecords(ReadBytes(Shared(c.file)));
        ASSERT_FALSE(counts.indis.empty());
        ui.boxes.clear();
        Load(Shared(c.file));
        EXPECT_TRUE(ui.boxes.empty()) << (ui.boxes.empty() ? "" : ui.boxes[0].text);
        EXPECT_EQ(g.FamilCount, counts.fams);
        EXPECT_GE(g.IndivCount, static_cast<int32_t>(counts.indis.size()));
        for (const auto& x : counts.indis) EXPECT_GT(IndivByXref(x), 0) << x;
        // Every family has both partners, every partner and child link is in range.
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            EXPECT_GT(g.Famil[f].fHusb, 0);
            EXPECT_GT(g.Famil[f].fWife, 0);
            EXPECT_NE(g.Famil[f].fHusb, g.Famil[f].fWife);
        }
        for (int32_t i = 1; i <= g.IndivCount; ++i) EXPECT_LE(g.Indiv[i].iFamc, g.FamilCount);
        int32_t i = IndivByXref(c.xref);
        ASSERT_GT(i, 0);
        EXPECT_EQ(g.Indiv[i].iGivn.value(), c.given);
        EXPECT_EQ(g.Indiv[i].iSurn.value(), c.surname);
        EXPECT_EQ(g.Indiv[i].ibPlace.value(), c.birthPlace);
        EXPECT_EQ(g.DataChanged, "N");
        EXPECT_GT(g.TreeCount, 0);
        EXPECT_EQ(g.TreeSlot[0], 1);
    }
}

// What the file says, read with the plainest possible reading: per INDI
// its last name, birth and death; per FAM its partners and marriage date;
// per owner its note texts (inline or through a note record).
struct FileFacts {
    struct Person {
        std::string name, bDate, bPlace, dDate, dPlace;
        std::vector<std::string> notes;
    };
    struct Family {
        std::string husb, wife, mDate;
        std::vector<std::string> notes;
    };
    std::map<std::string, Person> people;
    std::map<std::string, Family> families;
};

bool Ascii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

FileFacts ReadFacts(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    // Value after "level tag ", kept as written.
    auto split = [](const std::string& l, std::string& tag) {
        std::size_t a = l.find(' ');
        std::size_t b = a == std::string::npos ? a : l.find(' ', a + 1);
        tag = a == std::string::npos ? "" : l.substr(a + 1, b == std::string::npos ? b : b - a - 1);
        return b == std::string::npos ? std::string() : l.substr(b + 1);
    };
    FileFacts f;
    std::map<std::string, std::string> noteRecords;
    std::vector<std::pair<std::vector<std::string>*, std::string>> pointers;
    std::string type, xref, tag1, tag, open;
    std::vector<std::string>* notes = nullptr;
    std::string* note = nullptr;
    for (const auto& l : lines) {
        if (l.empty()) continue;
        const char level = l[0];
        std::string value = split(l, tag);
        if (level == '0') {
            type = value.substr(0, value.find(' '));
            xref = tag.size() > 2 && tag.front() == '@' ? tag.substr(1, tag.size() - 2) : "";
            note = nullptr;
            notes = type == "INDI" ? &f.people[xref].notes : type == "FAM" ? &f.families[xref].notes : nullptr;
            if (type == "NOTE") {
                note = &noteRecords[xref];
                *note = value.size() > 5 ? "#" + value.substr(5) : "#";
            }
            continue;
        }
        if (level == '1') {
            tag1 = tag;
            if (note && (tag == "CONT" || tag == "CONC")) *note += (tag == "CONT" ? "\n" : "") + value;
            if (!notes) continue;
            if (tag == "NOTE") {
                const std::string v = TrimBlanks(value);
                if (v.size() > 2 && v.front() == '@' && v.back() == '@') {
                    pointers.push_back({notes, v.substr(1, v.size() - 2)});
                    open.clear();
                } else {
                    notes->push_back("#" + value);
                    open = "NOTE";
                }
            } else {
                open.clear();
            }
            if (type == "INDI" && tag == "NAME") {
                std::string joined;
                std::size_t start = 0;
                for (;;) {
                    std::size_t slash = value.find('/', start);
                    joined += TrimBlanks(value.substr(start, slash == std::string::npos ? slash : slash - start)) + " ";
                    if (slash == std::string::npos) break;
                    start = slash + 1;
                }
                f.people[xref].name = TrimBlanks(joined);
            }
            if (type == "FAM" && tag == "HUSB") f.families[xref].husb = TrimBlanks(value);
            if (type == "FAM" && tag == "WIFE") f.families[xref].wife = TrimBlanks(value);
            continue;
        }
        if (level == '2' && notes && open == "NOTE" && (tag == "CONT" || tag == "CONC")) {
            notes->back() += (tag == "CONT" ? "\n" : "") + value;
            continue;
        }
        if (level == '2' && tag == "DATE" && type == "INDI" && tag1 == "BIRT") f.people[xref].bDate = TrimBlanks(value);
        if (level == '2' && tag == "PLAC" && type == "INDI" && tag1 == "BIRT") f.people[xref].bPlace = TrimBlanks(value);
        if (level == '2' && tag == "DATE" && type == "INDI" && tag1 == "DEAT") f.people[xref].dDate = TrimBlanks(value);
        if (level == '2' && tag == "PLAC" && type == "INDI" && tag1 == "DEAT") f.people[xref].dPlace = TrimBlanks(value);
        if (level == '2' && tag == "DATE" && type == "FAM" && tag1 == "MARR") f.families[xref].mDate = TrimBlanks(value);
    }
    for (auto& [owner, x] : pointers)
        if (noteRecords.count(x)) owner->push_back(noteRecords[x]);
    for (auto& [x, p] : f.people) std::sort(p.notes.begin(), p.notes.end());
    for (auto& [x, fam] : f.families) std::sort(fam.notes.begin(), fam.notes.end());
    return f;
}

// The note texts of one owner as the tables hold them, in the form ReadFacts gives.
std::vector<std::string> TableNotes(const char* kind, int32_t owner) {
    std::vector<std::string> out;
    for (int32_t n = 1; n <= g.NotesCount; ++n) {
        const NoteRec& N = g.Notes[n];
        if (N.nKind.value() != kind || N.nOwner != owner) continue;
        const std::string text = Utf8Left(N.nText.padded(), static_cast<std::size_t>(N.nLen));
        const std::string tag = N.nTag.value();
        if (tag == "1 NOTE" || out.empty()) out.push_back("#" + text);
        else out.back() += (tag == "2 CONT" ? "\n" : "") + text;
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Every name, birth, death, marriage, partner and note of the shared files
// arrives; values with non-ASCII bytes are left to the character-set tests.
TEST_F(LoadTest, SharedFilesArriveWhole) {
    if (!testing::HaveSharedGedcom()) GTEST_SKIP() << testing::NoSharedGedcom();
    auto same = [](const std::string& file, const std::string& table, std::size_t width) {
        if (!Ascii(file)) return;
        EXPECT_EQ(table, TrimBlanks(Utf8Left(file, width))) << file;
    };
    for (const char* name : {"ANSEL.GED", "Harry_Potter.ged", "TGC55C.ged", "TGC55CLF.ged", "allged.ged",
                             "utf8_crlf_bom.ged"}) {
        SCOPED_TRACE(name);
        const FileFacts facts = ReadFacts(ReadBytes(Shared(name)));
        Load(Shared(name));
        ASSERT_GT(g.IndivCount, 0);
        int notesCompared = 0;
        for (const auto& [x, p] : facts.people) {
            SCOPED_TRACE(x);
            const int32_t i = IndivByXref(x);
            ASSERT_GT(i, 0);
            const IndivRec& R = g.Indiv[i];
            same(p.name, R.iName.trimmed(), 120);
            same(p.bDate, R.ibDate.trimmed(), 100);
            same(p.bPlace, R.ibPlace.trimmed(), 100);
            same(p.dDate, R.idDate.trimmed(), 100);
            same(p.dPlace, R.idPlace.trimmed(), 100);
            bool ascii = std::all_of(p.notes.begin(), p.notes.end(), Ascii);
            if (ascii) {
                EXPECT_EQ(TableNotes("I", i), p.notes);
                notesCompared += static_cast<int>(p.notes.size());
            }
            EXPECT_EQ(R.iNoteFlg.value() == "Y", !p.notes.empty());
        }
        std::map<std::string, int32_t> famByXref;
        for (int32_t f = 1; f <= g.FamilCount; ++f) famByXref[g.Famil[f].fXref.trimmed()] = f;
        for (const auto& [x, fam] : facts.families) {
            SCOPED_TRACE(x);
            ASSERT_TRUE(famByXref.count(x));
            const FamilRec& F = g.Famil[famByXref[x]];
            auto pointer = [](const std::string& v) { return v.size() > 2 ? v.substr(1, v.size() - 2) : v; };
            if (!fam.husb.empty()) {
                EXPECT_EQ(F.fHusb, IndivByXref(pointer(fam.husb)));
            }
            if (!fam.wife.empty()) {
                EXPECT_EQ(F.fWife, IndivByXref(pointer(fam.wife)));
            }
            same(fam.mDate, F.fmDate.trimmed(), 100);
            if (std::all_of(fam.notes.begin(), fam.notes.end(), Ascii)) {
                EXPECT_EQ(TableNotes("F", famByXref[x]), fam.notes);
                notesCompared += static_cast<int>(fam.notes.size());
            }
        }
        if (std::string(name).rfind("TGC", 0) == 0 || std::string(name) == "allged.ged") {
            EXPECT_GT(notesCompared, 0);
        }
    }
}

TEST_F(LoadTest, SharedFilesKeepLinksAndNotes) {
    if (!testing::HaveSharedGedcom()) GTEST_SKIP() << testing::NoSharedGedcom();
    Load(Shared("Harry_Potter.ged"));
    int32_t harry = IndivByXref("I2");
    ASSERT_GT(harry, 0);
    const FamilRec& parents = g.Famil[g.Indiv[harry].iFamc];
    EXPECT_EQ(g.Indiv[parents.fHusb].iGivn.value(), "James");
    EXPECT_EQ(g.Indiv[parents.fWife].iGivn.value(), "Lily");

    // The torture test's CR and CR LF copies read alike, with the text of
    // its note records brought to their owners.
    Load(Shared("TGC55C.ged"));
    std::vector<std::string> cr;
    for (int32_t n = 1; n <= g.NotesCount; ++n)
        cr.push_back(g.Notes[n].nKind.value() + std::to_string(g.Notes[n].nOwner) + g.Notes[n].nTag.value() +
                     g.Notes[n].nText.value());
    int32_t person1 = IndivByXref("PERSON1");
    bool noteText = false, pointerText = false;
    for (int32_t n = 1; n <= g.NotesCount; ++n) {
        const NoteRec& N = g.Notes[n];
        EXPECT_NE(N.nKind.value(), "N");
        if (N.nKind.value() == "I" && N.nOwner == person1) {
            noteText = noteText || N.nLen > 0;
            pointerText = pointerText || std::regex_match(N.nText.value(), std::regex("N[0-9]+"));
        }
    }
    EXPECT_TRUE(noteText);
    EXPECT_FALSE(pointerText);
    Load(Shared("TGC55CLF.ged"));
    std::vector<std::string> crlf;
    for (int32_t n = 1; n <= g.NotesCount; ++n)
        crlf.push_back(g.Notes[n].nKind.value() + std::to_string(g.Notes[n].nOwner) +
                       g.Notes[n].nTag.value() + g.Notes[n].nText.value());
    EXPECT_EQ(cr, crlf);
}

TEST_F(LoadTest, AFileWithoutIndividualsLeavesTheWork) {
    LoadText("one.ged", "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Ann /Old/\r\n0 TRLR\r\n");
    ASSERT_EQ(g.IndivCount, 1);
    g.DataChanged = "Y";
    g.FirstSite = "LDS";
    const auto captions = windows.captions.size();
    ui.Answer(MsgResult::Ok);
    LoadText("empty.ged", "0 HEAD\r\n1 GEDC\r\n2 VERS 5.5\r\n2 FORM LINEAGE-LINKED\r\n1 CHAR ASCII\r\n"
                          "1 SUBM @U1@\r\n0 @U1@ SUBM\r\n1 NAME Ruth /Pell/\r\n0 TRLR\r\n");
    EXPECT_EQ(ui.boxes.back().text, "No GED data in file!");
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Old");
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(windows.captions.size(), captions);
    EXPECT_EQ(g.FileName, "one.ged");
    EXPECT_EQ(progress.ends, 2);  // each load puts the progress display back
}

// Every file that cannot be opened or read says why, the damaged line of a
// work file named, and the work stays as it was.
TEST_F(LoadTest, MissingEmptyOrBrokenFilesSayWhyAndLeaveTheWork) {
    LoadText("one.ged", "0 HEAD\n0 @I1@ INDI\n1 NAME Ann /Old/\n0 @F1@ FAM\n1 WIFE @I1@\n0 TRLR\n");
    ASSERT_EQ(g.IndivCount, 2);  // with a placeholder husband
    g.DataChanged = "Y";
    const int hidden = windows.pickListHidden;

    fs::create_directory(dir / "folder.lnt");
    fs::create_symlink(dir / "gone.lnt", dir / "link.lnt");
    fs::create_symlink(dir / "gone" / "family.lnt", dir / "linked.lnt");
    for (const char* name : {"missing.lnt", "folder.lnt", "link.lnt", "linked.lnt"}) {
        ui.Answer(MsgResult::Ok);
        Load(dir / name);
    }

    ui.Answer(MsgResult::Ok);
    LoadText("empty.ged", "");

    // One code of Ann's name damaged ("A" as 965): the whole file is refused.
    auto enc = [](const std::string& s) { return EncodeLine(s) + "\r\n"; };
    std::string name = enc("1 NAME Ann /Young/");
    ASSERT_EQ(name.substr(21, 3), "065");
    name.replace(21, 3, "965");
    ui.Answer(MsgResult::Ok);
    LoadText("bad.lnt", enc("0 @I1@ INDI") + name + enc("0 TRLR LDS IndANC"));

    ui.Answer(MsgResult::Ok);
    LoadText("text.txt", "Dear diary,\nnothing here.\n");

    ui.Answer(MsgResult::Ok);  // a name no save would give a file
    LoadText("fam;ily.ged", "0 HEAD\n0 @I1@ INDI\n1 NAME Eva /New/\n0 TRLR\n");

    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "missing.lnt cannot be opened: there is no such file",
                              "folder.lnt cannot be opened: it is a folder",
                              "link.lnt cannot be opened: it is a link to " + (dir / "gone.lnt").string() +
                                  ", which is not there",
                              "linked.lnt cannot be opened: it is a link to " + (dir / "gone" / "family.lnt").string() +
                                  ", which is not there",
                              "File is empty!",
                              "Error: Input file " + (dir / "bad.lnt").string() +
                                  " format not recognizable to Lintora\nLine 2 holds the code 965 at character 22, "
                                  "where a character code from 000 to 255 was expected.",
                              "No GED data in file!",
                              "That filename is illegal.64",
                          }));
    for (const auto& box : ui.boxes) EXPECT_EQ(box.icon, MsgIcon::Exclamation) << box.text;
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Old");
    EXPECT_EQ(g.Famil[1].fWife, 1);
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(g.LastWorkFile, (dir / "one.ged").string());
    EXPECT_EQ(g.FilePath, (dir / "one.ged").string());  // a failed open names nothing
    EXPECT_EQ(GetStartupSetting("datFilename", "?"), "one.ged");
    // The parent pick list is dismissed by every load, even one that fails.
    EXPECT_EQ(windows.pickListHidden, hidden + 8);
}

// 1,000 couples with a child each, saved as the program saves them: a
// file of 3,000 people in the kind asked for, at path.
void SaveThreeThousandPeople(const fs::path& path, const std::string& kind) {
    ClearWorkTables();
    for (int c = 1; c <= 1000; ++c) {
        const std::string n = std::to_string(c);
        const int32_t husband = AddIndiv(), wife = AddIndiv(), child = AddIndiv();
        testing::Person(husband, ("Peter" + n).c_str(), "Lund", "M", 0);
        testing::Person(wife, ("Karin" + n).c_str(), "Berg", "F", 0);
        testing::Person(child, ("Nils" + n).c_str(), "Lund", "M", 0);
        const int32_t f = AddFamil();
        g.Famil[f].fHusb = husband;
        g.Famil[f].fWife = wife;
        g.Indiv[child].iFamc = f;
    }
    g.FilePath = path.string();
    ASSERT_TRUE(SaveFile(g.FilePath, kind));
}

// A download or copy that stopped half way: what the file holds is loaded
// and the user told it may be incomplete; the next save over that file
// asks first, and a No leaves the file and the work's changed flag alone.
TEST_F(LoadTest, AFileCutShortLoadsWhatItHoldsSaysSoAndASaveOverItAsksFirst) {
    const std::string warning =
        " ends before its last line (0 TRLR): it may be incomplete. Saving over it would lose what is missing.";
    for (const char* name : {"family.ged", "family.lnt"}) {
        SCOPED_TRACE(name);
        const fs::path file = dir / name;
        ui.Answer(MsgResult::Ok);  // "... successfully saved"
        SaveThreeThousandPeople(file, fs::path(name).extension() == ".ged" ? "GED" : "LNT");
        std::string whole = Read(file);
        Write(file, whole.substr(0, whole.size() / 2));
        // What the half holds, counted from its plain lines.
        std::string plain;
        for (const auto& line : SplitFileLines(whole.substr(0, whole.size() / 2)))
            plain += (line.find_first_not_of("0123456789") == std::string::npos ? DecodeLine(line) : line) + "\n";
        const FileCounts half = CountRecords(plain);
        ASSERT_GT(half.indis.size(), 1000u);
        ASSERT_EQ(half.fams, 0);

        ui.boxes.clear();
        ui.Answer(MsgResult::Ok);
        Load(file);
        EXPECT_EQ(ui.Texts(), std::vector<std::string>{name + warning});
        EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
        EXPECT_EQ(g.IndivCount, static_cast<int32_t>(half.indis.size()));
        EXPECT_EQ(g.FamilCount, 0);
        EXPECT_EQ(g.DataChanged, "N");
    }

    // An edit, then a save over the cut file: No keeps both as they were.
    const int32_t held = g.IndivCount;
    const fs::path file = dir / "family.lnt";
    const std::string cut = Read(file);
    g.DataChanged = "Y";
    const std::string question = "family.lnt ends before its last line (0 TRLR) and may be incomplete. Saving over "
                                 "it would lose for good whatever is missing from it.\n\nSave over family.lnt all "
                                 "the same?";
    ui.boxes.clear();
    ui.fileAnswers.push_back(file.string());
    ui.Answer(MsgResult::No);
    EXPECT_FALSE(SaveFile(kAskForName, "LNT"));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(ui.boxes.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(Read(file), cut);
    EXPECT_EQ(g.DataChanged, "Y");

    // Yes writes it whole: opened again, there is nothing to say.
    ui.fileAnswers.push_back(file.string());
    ui.Answer(MsgResult::Yes);
    ui.Answer(MsgResult::Ok);  // "... successfully saved"
    EXPECT_TRUE(SaveFile(kAskForName, "LNT"));
    EXPECT_EQ(g.DataChanged, "N");
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{question, question, file.string() + " successfully saved"}));
    ui.boxes.clear();
    Load(file);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(g.IndivCount, held);
}

std::string Encoded(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines) out += EncodeLine(line) + "\r\n";
    return out;
}

// Records after the trailer (a file torn by an older save) are all there:
// they are loaded and said to be, and the first page is the trailer's. Cut
// inside its trailer ("0 TRLR AN" of "0 TRLR ANC Ind"), a work file lacks
// only the CR LF the program ends every line with: it is cut short and names
// no first page. Made whole since in the same inode, it is cut short no more.
TEST_F(LoadTest, AWorkFileIsJudgedByHowItEnds) {
    ui.Answer(MsgResult::Ok);
    LoadText("torn.lnt", Encoded({"0 @I1@ INDI", "0 TRLR LDS IndANC", "0 @I2@ INDI", "1 NAME Bo /Young/"}));
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.FirstSite + " " + g.FirstType, "LDS IndANC");
    const fs::path file = dir / "family.lnt";
    const std::string whole = Encoded({"0 @I1@ INDI", "1 NAME Ann /Old/", "0 TRLR ANC Ind"});
    const std::string cut = whole.substr(0, whole.size() - EncodeLine("C Ind").size() - 2);
    ASSERT_EQ(DecodeLine(SplitFileLines(cut).back()), "0 TRLR AN");
    ui.Answer(MsgResult::Ok);
    LoadText("family.lnt", cut);
    EXPECT_EQ(g.Indiv[g.IndivCount].iName.value(), "Ann Old");
    EXPECT_EQ(g.FirstSite + g.FirstType, "");
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "torn.lnt holds records after its last line (0 TRLR): they were loaded with the rest.",
                              "family.lnt ends before its last line (0 TRLR): it may be incomplete. Saving over it "
                              "would lose what is missing."}));
    EXPECT_FALSE(IsCutShort(StampOfFile((dir / "torn.lnt").string())));
    const FileStamp before = StampOfFile(file.string());
    EXPECT_TRUE(IsCutShort(before));
    Write(file, whole);
    ASSERT_EQ(StampOfFile(file.string()).inode, before.inode);
    EXPECT_FALSE(IsCutShort(StampOfFile(file.string())));
}

// A file with a second name is written in place and keeps its inode: once a
// save has written the cut file whole, the next one asks only whether to
// replace it.
TEST_F(LoadTest, ACutFileWrittenWholeInPlaceIsNotAskedAboutAgain) {
    const fs::path file = dir / "family.lnt", second = dir / "family-for-aunt.lnt";
    const std::string whole = Encoded({"0 @I1@ INDI", "1 NAME Ann /Old/", "0 TRLR LDS IndANC"});
    Write(file, whole.substr(0, whole.size() / 2));
    fs::create_hard_link(file, second);
    ui.Answer(MsgResult::Ok);
    Load(file);
    ui.boxes.clear();
    for (MsgResult answer : {MsgResult::Yes, MsgResult::Ok, MsgResult::No}) ui.Answer(answer);
    for (int save = 0; save < 2; ++save) {
        ui.fileAnswers.push_back(file.string());
        g.DataChanged = "Y";
        SaveFile(kAskForName, "LNT");
    }
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "family.lnt ends before its last line (0 TRLR) and may be incomplete. Saving over it "
                              "would lose for good whatever is missing from it.\n\nSave over family.lnt all the "
                              "same?",
                              file.string() + " successfully saved", "Overwrite existing file?"}));
    EXPECT_EQ(Read(second), Read(file));
}

TEST_F(LoadTest, AnyLineEndAndAByteOrderMarkReadAlike) {
    const std::string lines[] = {"0 HEAD", "1 CHAR UTF-8", "0 @I1@ INDI", "1 NAME José /Núñez/",
                                 "1 NOTE see page 1", "2 CONT 0 HEADS", "1 BIRT", "2 DATE 1 JAN 1900",
                                 "0 @F1@ FAM", "1 HUSB @I1@", "0 TRLR"};
    for (const char* end : {"\r\n", "\n", "\r"}) {
        for (const char* bom : {"", "\xEF\xBB\xBF"}) {
            SCOPED_TRACE(std::string(bom).size() + std::string(end).size());
            std::string text = bom;
            for (const auto& l : lines) text += l + end;
            LoadText("ends.ged", text);
            ASSERT_EQ(g.IndivCount, 2);
            EXPECT_EQ(g.Indiv[1].iGivn.value(), "José");
            EXPECT_EQ(g.Indiv[1].iSurn.value(), "Núñez");
            EXPECT_EQ(g.Indiv[1].ibDate.value(), "1 JAN 1900");
            // "0 HEAD" inside a note is text, not a header.
            EXPECT_EQ(g.NotesCount, 2);
            EXPECT_EQ(g.Notes[2].nText.value(), "0 HEADS");
            EXPECT_EQ(g.Famil[1].fHusb, 1);
        }
    }
}

TEST_F(LoadTest, CharacterSetOfTheHeaderIsHonoured) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    auto ged = [](const std::string& charSet, const std::string& surname) {
        return "0 HEAD\r\n" + (charSet.empty() ? std::string() : "1 CHAR " + charSet + "\r\n") +
               "0 @I1@ INDI\r\n1 NAME Jose /" + surname + "/\r\n0 TRLR\r\n";
    };
    // UTF-16 with its byte-order mark, and without one in either byte order.
    std::string utf16 = "\xFF\xFE", utf16le, utf16be;
    for (char c : ged("UNICODE", "X")) {
        const char lo = c == 'X' ? '\xE9' : c;  // é
        utf16 += std::string(1, lo) + '\0';
        utf16le += std::string(1, lo) + '\0';
        utf16be += std::string(1, '\0') + lo;
    }
    const Case cases[] = {
        {"ansel", ged("ANSEL", "\xE2" "e")},           // acute before the letter
        {"utf8", ged("UTF-8", "\xC3\xA9")},
        {"utf16", utf16},
        {"utf16 little-endian without mark", utf16le},
        {"utf16 big-endian without mark", utf16be},
        {"ascii 1252", ged("ASCII", "\xE9")},          // not UTF-8: Windows-1252
        {"none 1252", ged("", "\xE9")},
        {"ansel but utf8", ged("ANSEL", "\xC3\xA9")},  // plainly UTF-8
        {"ansi 1252", ged("ANSI", "\xE9")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadText("cs.ged", c.bytes);
        ASSERT_EQ(g.IndivCount, 1);
        EXPECT_EQ(g.Indiv[1].iSurn.value(), "é");
    }
}

// Writers that count bytes cut a letter between a line and its CONC line:
// a file that says UTF-8 joins the pieces of a value before it reads them,
// and only bytes that are no UTF-8 even then are read as Windows-1252.
TEST_F(LoadTest, Utf8LetterSplitBetweenConcLinesReadsWhole) {
    auto ged = [](const std::string& charSet, const std::string& place) {
        const std::string head =
            charSet.empty() ? "\xEF\xBB\xBF" "0 HEAD\r\n" : "0 HEAD\r\n1 CHAR " + charSet + "\r\n";
        return head + "1 SOUR BYTECOUNTER\r\n1 GEDC\r\n2 VERS 5.5.1\r\n0 @I1@ INDI\r\n"
               "1 NAME Алёна /Соко\xD0\r\n2 CONC \xBBова/\r\n"  // л cut in two
               "1 BIRT\r\n2 PLAC " + place + "\r\n"
               "1 NOTE \xD0\x9F\xD1\r\n2 CONC \x80ивет, мир! Ёлка\r\n"  // cut after its third byte
               "2 CONT Вторая строка\r\n0 TRLR\r\n";
    };
    const struct {
        std::string charSet, place, placeRead;
    } cases[] = {
        {"UTF-8", "Z\xFCrich, Швейцария", "Zürich, Швейцария"},  // a stray Windows-1252 byte
        {"UTF8", "Москва", "Москва"},
        {"ANSEL", "Москва", "Москва"},  // says ANSEL but is plainly UTF-8
        {"", "Z\xFCrich", "Zürich"},      // no CHAR line, but a byte-order mark
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charSet);
        LoadText("split.ged", ged(c.charSet, c.place));
        ASSERT_EQ(g.IndivCount, 1);
        EXPECT_EQ(g.Indiv[1].iName.value(), "Алёна Соколова");
        EXPECT_EQ(g.Indiv[1].iGivn.value(), "Алёна");
        EXPECT_EQ(g.Indiv[1].iSurn.value(), "Соколова");
        EXPECT_EQ(g.Indiv[1].ibPlace.value(), c.placeRead);
        std::vector<std::string> notes;
        for (int32_t n = 1; n <= g.NotesCount; ++n)
            notes.push_back(g.Notes[n].nTag.value() + "|" + g.Notes[n].nText.value());
        EXPECT_EQ(notes, (std::vector<std::string>{"1 NOTE|Пр", "2 CONC|ивет, мир! Ёлка", "2 CONT|Вторая строка"}));
        EXPECT_EQ(ui.boxes.size(), 0u);
    }
}

// CONC pieces are joined whatever the character set; an ANSEL mark cut from
// its letter finds it again.
TEST_F(LoadTest, ConcPiecesAreJoinedInEveryCharacterSet) {
    auto ged = [](const std::string& charSet, const std::string& renEnd, const std::string& concStart) {
        return "0 HEAD\r\n1 CHAR " + charSet + "\r\n0 @I1@ INDI\r\n1 NAME John /Smi\r\n2 CONC th/\r\n1 BIRT\r\n"
               "2 PLAC Saint-Pierre-\r\n3 CONC de-Semilly, Normandie\r\n1 NOTE Ren" + renEnd + "\r\n2 CONC " +
               concStart + " was here\r\n0 TRLR\r\n";
    };
    std::string utf16 = "\xFF\xFE";  // little-endian with its mark; é is U+00E9
    for (char c : ged("UNICODE", "\xE9", "")) utf16 += std::string(1, c) + '\0';
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"ANSEL", ged("ANSEL", "\xE2", "e")},  // the acute before its letter
        {"ASCII", ged("ASCII", "\xE9", "")},
        {"ANSI", ged("ANSI", "\xE9", "")},
        {"IBMPC", ged("IBMPC", "\x82", "")},
        {"UNICODE", utf16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadText("conc.ged", c.bytes);
        ASSERT_EQ(g.IndivCount, 1);
        EXPECT_EQ(g.Indiv[1].iName.value(), "John Smith");
        EXPECT_EQ(g.Indiv[1].iGivn.value(), "John");
        EXPECT_EQ(g.Indiv[1].iSurn.value(), "Smith");
        EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Saint-Pierre-de-Semilly, Normandie");
        std::vector<std::string> notes;
        for (int32_t n = 1; n <= g.NotesCount; ++n)
            notes.push_back(g.Notes[n].nTag.value() + "|" + g.Notes[n].nText.value());
        EXPECT_EQ(notes, (std::vector<std::string>{"1 NOTE|René", "2 CONC| was here"}));
        EXPECT_EQ(ui.boxes.size(), 0u);
    }
}

// DOS programs write code page 437 and say IBMPC.
TEST_F(LoadTest, IbmpcFilesReadAsCodePage437) {
    LoadText("dos.ged", "0 HEAD\r\n1 SOUR DOSTREE\r\n1 CHAR IBMPC\r\n0 @I1@ INDI\r\n1 NAME Zo\x89 /M\x81ller/\r\n"
                        "1 BIRT\r\n2 PLAC K\x94ln, Preu\xE1\x65n\r\n1 NOTE Stra\xE1\x65 \x0F Nr. 5 \xC9\xCD\xBB\r\n"
                        "0 TRLR\r\n");
    ASSERT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iName.value(), "Zoë Müller");
    EXPECT_EQ(g.Indiv[1].iGivn.value(), "Zoë");
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Müller");
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Köln, Preußen");
    ASSERT_EQ(g.NotesCount, 1);
    EXPECT_EQ(g.Notes[1].nText.value(), "Straße   Nr. 5 ╔═╗");  // a control byte is a blank, as everywhere

    // A note line of many accented letters grows past the room its bytes
    // held, so it is read apart from the file's text: a tab in it is a
    // blank there too.
    std::string note = "1 NOTE Get\x84uft\tin der Stra\xE1" "enkirche";
    std::string want = "Getäuft in der Straßenkirche";
    for (int k = 0; k < 6; ++k) note += " K\x94ln M\x81nster", want += " Köln Münster";
    LoadText("long.ged", "0 HEAD\r\n1 CHAR IBMPC\r\n0 @I1@ INDI\r\n" + note + "\r\n0 TRLR\r\n");
    ASSERT_EQ(g.NotesCount, 1);
    EXPECT_EQ(g.Notes[1].nText.value(), want);

    // One that says IBMPC but is plainly UTF-8 is read as UTF-8.
    LoadText("utf8.ged", "0 HEAD\r\n1 SOUR WEBTREE\r\n1 CHAR IBMPC\r\n0 @I1@ INDI\r\n1 NAME Zoë /Müller/\r\n"
                         "1 BIRT\r\n2 PLAC Köln\r\n0 TRLR\r\n");
    ASSERT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iName.value(), "Zoë Müller");
    EXPECT_EQ(g.Indiv[1].iGivn.value(), "Zoë");
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Müller");
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Köln");
    EXPECT_EQ(ui.boxes.size(), 0u);
}

// A character set the program does not know is read as files without one
// are, and the load says so once; a missing CHAR line says nothing.
TEST_F(LoadTest, UnknownCharacterSetIsNamedOnce) {
    const std::string people = "0 @I1@ INDI\r\n1 NAME Jos\xC3\xA9 /Garc\xC3\xAD" "a/\r\n1 NOTE Caf\xE9\r\n"
                               "0 @I2@ INDI\r\n1 NAME Ana /G\xF3mez/\r\n0 TRLR\r\n";
    ui.Answer(MsgResult::Ok);
    LoadText("mac.ged", "0 HEAD\r\n1 CHAR Macintosh\r\n" + people);
    ASSERT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.Indiv[1].iName.value(), "José García");
    EXPECT_EQ(g.Indiv[2].iName.value(), "Ana Gómez");
    EXPECT_EQ(g.Notes[1].nText.value(), "Café");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The character set \"Macintosh\" named in mac.ged is not known: its text was read "
                                "as Windows-1252 (as UTF-8 where it is UTF-8).");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);

    LoadText("none.ged", "0 HEAD\r\n" + people);
    EXPECT_EQ(g.Indiv[1].iName.value(), "José García");
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(LoadTest, WorkFileTrailerAndHeaderFile) {
    auto enc = [](const std::string& s) { return EncodeLine(s) + "\r\n"; };
    // Padding after the trailer (an end-of-file mark) is no text.
    LoadText("w.lnt", enc("0 @I1@ INDI") + enc("1 NAME Ann /Old/") + enc("0 TRLR LDS IndANC") + "\x1A");
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "IndANC");
    EXPECT_EQ(g.MixedSources, "N");
    EXPECT_EQ(windows.captions.back(), "Lintora (w.lnt)");
    EXPECT_EQ(g.LastWorkFile, (dir / "w.lnt").string());
    EXPECT_EQ(GetStartupSetting("datFilename", "?"), "w.lnt");
    EXPECT_EQ(GetStartupSetting("InitDirWRK", "?"), dir.string());
    EXPECT_EQ(g.InitDirWRK, dir.string());

    LoadText("m.lnt", enc("0 @I1@ INDI") + enc("0 TRLR Mixed-Source Multiple"));
    EXPECT_EQ(g.FirstSite, "Mixed-Source");
    EXPECT_EQ(g.FirstType, "Multiple");
    EXPECT_EQ(g.MixedSources, "Y");

    // The trailer of work that no paste began, the file padded with an
    // end-of-file mark.
    LoadText("n.lnt", enc("0 @I1@ INDI") + enc("0 TRLR  ") + "\x1A");
    EXPECT_EQ(g.FirstSite, "");
    EXPECT_EQ(g.IndivCount, 1);

    // A GEDCOM trailer changes nothing; the header's FILE names no file of ours.
    LoadText("g.ged", "0 HEAD\r\n1 FILE C:\\other\\x.ged\r\n0 @I1@ INDI\r\n0 TRLR\r\n\r\n" + std::string(3, '\0'));
    EXPECT_EQ(g.FirstSite, "");
    EXPECT_EQ(g.MixedSources, "N");
    EXPECT_EQ(g.FilePath, (dir / "g.ged").string());
    EXPECT_EQ(g.FileName, "g.ged");
    EXPECT_EQ(windows.captions.back(), "Lintora (g.ged)");
}

// A GEDCOM file that a careless copy left with a blank line, then more
// people, after its trailer: they are loaded and the user is told.
TEST_F(LoadTest, RecordsAfterABlankLineAfterTheTrailerAreTold) {
    ui.Answer(MsgResult::Ok);
    LoadText("joined.ged", "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME Ann /Old/\r\n0 TRLR\r\n\r\n"
                           "0 @I2@ INDI\r\n1 NAME Bo /Young/\r\n1 SEX M\r\n");
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.Indiv[2].iName.value(), "Bo Young");
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{
                              "joined.ged holds records after its last line (0 TRLR): they were loaded with the rest."});
}

// A line end coded inside a work-file line stays inside its field as a blank.
TEST_F(LoadTest, DecodedWorkLinesPutNoLineEndIntoAField) {
    auto enc = [](const std::string& s) { return EncodeLine(s) + "\r\n"; };
    LoadText("w.lnt", enc("0 @I1@ INDI") + enc("1 NAME Ann /Old\rer/") + enc("1 BIRT") +
                          enc("2 PLAC Bos\nton\r\n") + enc("1 NOTE one\r\ntwo") + enc("0 TRLR LDS IndANC"));
    ASSERT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Old er");
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Bos ton");
    EXPECT_EQ(g.Notes[1].nText.value(), "one  two");
    EXPECT_EQ(g.NotesCount, 1);
}

TEST_F(LoadTest, RememberedRootOnlyForALiveIndividualOfTheRememberedFile) {
    std::string text = "0 HEAD\n";
    for (int i = 1; i <= 5; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\n";
    text += "0 TRLR\n";
    Write(dir / "five.lnt", text);
    g.datFilename = "five.lnt";
    g.datPos = 4;
    Load(dir / "five.lnt");
    EXPECT_EQ(g.TreeSlot[0], 4);
    EXPECT_EQ(g.datPos, 0);
    EXPECT_EQ(GetStartupSetting("datPos", "?"), "4");
    Load(dir / "five.lnt");  // consumed once
    EXPECT_EQ(g.TreeSlot[0], 1);

    g.datPos = 9;  // beyond the file
    Load(dir / "five.lnt");
    EXPECT_EQ(g.TreeSlot[0], 1);

    Write(dir / "other.lnt", text);
    g.datFilename = "five.lnt";
    g.datPos = 3;  // remembered for another file
    Load(dir / "other.lnt");
    EXPECT_EQ(g.TreeSlot[0], 1);
    EXPECT_EQ(GetStartupSetting("datPos", "?"), "1");
}

TEST_F(LoadTest, FullTablesSkipRecordsAndSayHowManyOnce) {
    std::string text = "0 HEAD\n";
    for (int i = 1; i <= kMaxIndiv + 3; ++i)
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME A /B" + std::to_string(i) + "/\n1 NOTE n\n";
    text += "0 TRLR\n";
    ui.Answer(MsgResult::Ok);  // the table's own announcement
    ui.Answer(MsgResult::Ok);  // the count of what was skipped
    LoadText("big.ged", text);
    EXPECT_EQ(g.IndivCount, kMaxIndiv);
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "Individual table is full - additional Individuals will be skipped");
    EXPECT_EQ(ui.boxes[1].text,
              "The tables are full: 3 individuals, 0 families and 0 note lines of big.ged were skipped.");
    EXPECT_EQ(g.Indiv[kMaxIndiv].iSurn.value(), "B" + std::to_string(kMaxIndiv));
    EXPECT_EQ(g.NotesCount, kMaxIndiv);
}

TEST_F(LoadTest, PartnersTheFileDoesNotHoldBecomeUnknownPersons) {
    LoadText("partners.ged",
             "0 @F1@ FAM\n1 HUSB @I9@\n0 @F2@ FAM\n1 WIFE @I1@\n0 @F3@ FAM\n0 @I1@ INDI\n1 NAME Ann /Old/\n0 TRLR\n");
    ASSERT_EQ(g.FamilCount, 3);
    // Family 1: both missing, husband first; family 2: husband; family 3: both.
    const struct { int32_t f; int32_t husb, wife; } rows[] = {{1, 2, 3}, {2, 4, 1}, {3, 5, 6}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.f);
        EXPECT_EQ(g.Famil[r.f].fHusb, r.husb);
        EXPECT_EQ(g.Famil[r.f].fWife, r.wife);
    }
    ASSERT_EQ(g.IndivCount, 6);
    for (int32_t i = 2; i <= 6; ++i) {
        SCOPED_TRACE(i);
        const IndivRec& R = g.Indiv[i];
        EXPECT_EQ(R.iName.value(), "<unknown>");
        EXPECT_EQ(R.iGivn.value(), "<unknown>");
        EXPECT_EQ(R.iSex.value(), i == 2 || i == 4 || i == 5 ? "M" : "F");
        EXPECT_EQ(R.iFamsCount, 1);
    }
}

TEST_F(LoadTest, PlaceholderNeverTakesAnExistingRecord) {
    std::string text = "0 HEAD\n";
    for (int i = 1; i <= kMaxIndiv; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\n";
    text += "0 @F1@ FAM\n1 HUSB @I1@\n0 TRLR\n";
    ui.Answer(MsgResult::Ok);  // the table's own announcement
    LoadText("fullfam.ged", text);
    EXPECT_EQ(g.IndivCount, kMaxIndiv);
    EXPECT_EQ(g.Famil[1].fHusb, 1);
    EXPECT_EQ(g.Famil[1].fWife, 0);
    EXPECT_TRUE(g.Indiv[kMaxIndiv].iName.blank());
}

// Lines put together at random from GEDCOM pieces (a fixed seed, so every
// run reads the same files): every load ends, and every link it leaves
// names a record that is there.
TEST_F(LoadTest, ScrambledFilesLeaveEveryLinkInRange) {
    const char* levels[] = {"0 ", "1 ", "2 ", "3 ", "0 @I1@", "0 @I2@", "0 @F1@", "0 @N1@", "0 @S1@", "0 @R1@", "12 "};
    const char* tags[] = {" INDI", " FAM", " NOTE", " SOUR", " REPO", " NAME", " HUSB", " WIFE", " CHIL", " FAMC",
                          " FAMS", " CONT", " CONC", " CDP2", " BIRT", " DATE", " PLAC", " SEX", " TRLR", " HEAD", "",
                          " NOTE", " NOTE", " CONT", " CONC"};
    const char* values[] = {"", " @I1@", " @I2@", " @F1@", " @N1@", " @S1@", " @R1@", " x /y/ z", " 12-34",
                            " 12", " -", " @", " @@", " \xE2" "e", " \xFF", "048032"};
    const char* ends[] = {"\r\n", "\n", "\r", "\r\r\n"};
    std::mt19937 rng(20061);
    auto pick = [&](const auto& list) { return std::string(list[rng() % std::size(list)]); };
    for (int file = 0; file < 200; ++file) {
        std::string text = file % 3 ? "0 HEAD\r\n1 CHAR ANSEL\r\n" : "";
        for (int n = static_cast<int>(rng() % 300); n > 0; --n) {
            std::string value = rng() % 40 ? pick(values) : " " + std::string(rng() % 400, 'a');
            text += pick(levels) + pick(tags) + value + pick(ends);
        }
        Write(dir / "scrambled.ged", text);
        for (int k = 0; k < 6; ++k) ui.Answer(MsgResult::Ok);
        Load(dir / "scrambled.ged");
        ui.answers.clear();
        SCOPED_TRACE(file);
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            ASSERT_LE(g.Famil[f].fHusb, g.IndivCount);
            ASSERT_LE(g.Famil[f].fWife, g.IndivCount);
        }
        for (int32_t i = 1; i <= g.IndivCount; ++i) ASSERT_LE(g.Indiv[i].iFamc, g.FamilCount);
        for (int32_t n = 1; n <= g.NotesCount; ++n) ASSERT_LE(g.Notes[n].nLen, 120);
        for (int32_t s = 1; s <= g.SourceCount; ++s) ASSERT_LE(g.Source[s].sRepos, g.RepositoryCount);
        for (int32_t i = 1; i <= g.IndivCount; ++i) ASSERT_LE(g.Indiv[i].iSource, g.SourceCount);
    }
}

TEST_F(LoadTest, BadLinesAreReportedOnceWithTheirCount) {
    std::string text = "0 HEAD\n0 @I1@ INDI\n";
    for (int i = 0; i < 7; ++i) text += "garbage " + std::to_string(i) + "\n";
    text += "1 NAME Ann /Old/\n0 TRLR\n";
    ui.Answer(MsgResult::Ok);
    LoadText("bad.ged", text);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Problem reading bad.ged: 7 lines were not understood and skipped (line 3, 4, 5, 6, 7, ...).\n"
              "Problem parsing GedRec: garbage 0");
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Old");
}

// A GEDCOM file is read as one whatever a line holds: a continuation that
// lost its level ("2600") is one line not understood, not a work file's code.
TEST_F(LoadTest, ALineOfDigitsInAGedcomFileIsOneBadLine) {
    ui.Answer(MsgResult::Ok);
    LoadText("lost.ged", "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Ann /Old/\r\n1 NOTE Born in\r\n2600\r\n"
                         "1 SEX F\r\n0 TRLR\r\n");
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Problem reading lost.ged: 1 line was not understood and skipped "
                                                   "(line 6).\nProblem parsing GedRec: 2600"});
    ASSERT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.Indiv[1].iName.value() + "|" + g.Indiv[1].iSex.value() + "|" + g.Notes[1].nText.value(),
              "Ann Old|F|Born in");
}

TEST_F(LoadTest, SourcesAreMergedWithTheStandardOnes) {
    LoadText("src.ged",
             "0 HEAD\n"
             "0 @I1@ INDI\n1 SOUR @S1@\n"
             "0 @I2@ INDI\n1 SOUR @S12@\n"
             "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 SOUR @S12@\n"
             "0 @F2@ FAM\n1 HUSB @I1@\n1 SOUR @S14@\n"
             "0 @S1@ SOUR\n1 TITL Ancestral File\n"
             "0 @S12@ SOUR\n1 REPO @REP12@\n1 TITL Parish book\n1 AUTH Clerk\n"
             "0 @S13@ SOUR\n1 TITL Nobody cites me\n"
             "0 @S14@ SOUR\n1 TITL Family bible\n"
             "0 @REP12@ REPO\n1 NAME Archive\n1 ADDR Main St\n1 CONT Town\n"
             "0 TRLR\n");
    // Seven standard ones, the parish book and the bible: the citations
    // are the individuals filed with a source, as a paste counts them.
    ASSERT_EQ(g.SourceCount, 9);
    EXPECT_EQ(g.Source[9].sTitle.value() + "|" + std::to_string(g.Source[9].sCitations), "Family bible|0");
    EXPECT_EQ(g.Famil[2].fSource, 9);
    EXPECT_EQ(g.Indiv[1].iSource, 1);
    EXPECT_EQ(g.Source[1].sCitations, 1);
    EXPECT_EQ(g.Source[1].sXref, "S1");
    const SourceRec& S = g.Source[8];
    EXPECT_EQ(S.sTitle.value(), "Parish book");
    EXPECT_EQ(S.sFlag.value(), "U");
    EXPECT_EQ(S.sCitations, 1);
    EXPECT_EQ(g.Indiv[2].iSource, 8);
    EXPECT_EQ(g.Famil[1].fSource, 8);
    ASSERT_EQ(g.RepositoryCount, 6);  // five standard ones and the archive
    EXPECT_EQ(S.sRepos, 6);
    EXPECT_EQ(g.Repository[6].rName.value(), "Archive");
    EXPECT_EQ(g.Repository[6].rCont.value(), "Town");
    EXPECT_EQ(g.Repository[6].rFlag.value(), "U");
}

// The file's repository pointers name the file's own repositories; the
// standard sources keep theirs, and a standard repository keeps the
// reference the data files know it by.
TEST_F(LoadTest, FileRepositoryPointersDoNotRelinkTheStandardSources) {
    LoadText("repo.ged",
             "0 HEAD\n"
             "0 @I1@ INDI\n1 SOUR @S1@\n"
             "0 @I2@ INDI\n1 SOUR @S2@\n"
             "0 @S1@ SOUR\n1 REPO @R1@\n1 TITL Parish book\n"
             "0 @S2@ SOUR\n1 REPO @REP9@\n1 TITL Town records\n"
             "0 @R1@ REPO\n1 NAME Family History Library\n"
             "0 @REP9@ REPO\n1 NAME FamilySearch\n"
             "0 TRLR\n");
    ASSERT_EQ(g.SourceCount, 9);
    for (int32_t s = 1; s <= 3; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(g.Source[s].sRepos, 1);
    }
    EXPECT_EQ(g.Repository[1].rName.value(), "FamilySearch");
    EXPECT_EQ(g.Repository[1].rXref, "R1");
    ASSERT_EQ(g.RepositoryCount, 6);
    EXPECT_EQ(g.Repository[6].rName.value(), "Family History Library");
    EXPECT_EQ(g.Source[8].sTitle.value(), "Parish book");
    EXPECT_EQ(g.Source[8].sRepos, 6);
    EXPECT_EQ(g.Source[9].sTitle.value(), "Town records");
    EXPECT_EQ(g.Source[9].sRepos, 1);
    EXPECT_EQ(g.Repository[1].rCitations, 1);
}

TEST_F(LoadTest, LoadedPeopleDoNotCiteTheLastPaste) {
    g.PasteSource = 2;
    LoadText("p.ged", "0 HEAD\n0 @I1@ INDI\n0 TRLR\n");
    EXPECT_EQ(g.Indiv[1].iSource, 0);
    EXPECT_EQ(g.Source[2].sCitations, 0);
    EXPECT_EQ(g.PasteSource, 2);
}

TEST_F(LoadTest, SurnameCaseFollowsTheFirstIndividual) {
    LoadText("u.ged", "0 @I1@ INDI\n1 NAME Ann /OLD/\n0 @I2@ INDI\n1 NAME Bo /Young/\n0 TRLR\n");
    EXPECT_EQ(g.SurnameCase, "U");
    LoadText("p.ged", "0 @I1@ INDI\n1 NAME Ann /Old/\n0 TRLR\n");
    EXPECT_EQ(g.SurnameCase, "P");
}

TEST_F(LoadTest, LongFilesShowProgress) {
    std::string text = "0 @I1@ INDI\n1 NOTE ";
    const std::string trailer = "\n0 TRLR\n";
    text += std::string(50000 - text.size() - trailer.size(), 'x') + trailer;
    ASSERT_EQ(text.size(), 50000u);
    LoadText("exact.ged", text);
    EXPECT_TRUE(progress.values.empty());
    progress = testing::RecordedProgress{};
    LoadText("more.ged", text + "\n");
    EXPECT_FALSE(progress.values.empty());
    EXPECT_EQ(progress.labels.front(), "Reading more.ged (50001)");
    EXPECT_EQ(progress.labels.back(), "Building tree...");
    EXPECT_EQ(progress.ends, 1);
    // The long note is kept whole, on continuation lines.
    int32_t chars = 0;
    for (int32_t n = 1; n <= g.NotesCount; ++n) chars += g.Notes[n].nLen;
    EXPECT_EQ(chars, 50000 - 27);
}

TEST_F(LoadTest, SuccessfulLoadResetsTheWindowsAndCommands) {
    LoadText("a.ged", "0 @I1@ INDI\n0 TRLR\n");
    EXPECT_GE(windows.treesCleared, 1);
    EXPECT_EQ(windows.treesBuilt, 1);
    EXPECT_EQ(windows.commandsEnabled, 1);
    ASSERT_FALSE(windows.buttons.empty());
    EXPECT_EQ(windows.buttons.back(), std::make_pair(9, false));
}

// A file in a folder that a closed folder further up hides names the
// folder that is closed, not the file's own.
TEST_F(LoadTest, AClosedFolderOnTheWayIsTheOneNamed) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
    const fs::path trees = dir / "trees", file = trees / "1855" / "family.lnt";
    fs::create_directories(file.parent_path());
    Write(file, "0 HEAD\r\n0 TRLR\r\n");
    ::chmod(dir.c_str(), 0755);
    ::chmod(trees.c_str(), 0700);
    const std::string said = testing::AsUser(1003, {1003}, [&] {
        ui.Answer(MsgResult::Ok);
        Load(file);
        std::string texts;
        for (const std::string& text : ui.Texts()) texts += text + "\n";
        return texts;
    });
    EXPECT_EQ(said, "family.lnt cannot be opened: you may not open its folder " + trees.string() + "\n");
}

}  // namespace
}  // namespace lintora
