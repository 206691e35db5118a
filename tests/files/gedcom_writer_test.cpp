#include "files/gedcom_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "files/charset.h"
#include "files/text_lines.h"
#include "lintora_version.h"
#include "tests/files/files_fixture.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPath = "/home/jane/Trees/smith.ged";

void Note(int32_t n, const char* kind, int32_t owner, const char* tag, const std::string& text) {
    NoteRec& r = g.Notes[n];
    r.nKind = kind;
    r.nOwner = owner;
    r.nTag = tag;
    r.nText = text;
    r.nLen = static_cast<int16_t>(Utf8Length(text));
}

// A small work area with something of every kind the writer handles.
void FillSample() {
    Person(1, "José", "Müller", "M", 1);
    IndivRec& jose = g.Indiv[1];
    jose.iSuffix = "Jr";
    jose.iPrefix = "Dr";
    jose.iNick = "Pepe";
    jose.ibDate = "12 MAR 1850";
    jose.ibPlace = "Köln, Rheinland, Preußen";
    jose.idPlace = "Boston, Suffolk, Massachusetts";
    jose.iAFN = "1A2B-3C4";
    jose.iPIDno = 4711;
    jose.iExt = "x1";
    jose.iSubmNo = "SUB 9";
    jose.iGenID = "G17";
    jose.iNoteFlg = "Y";
    Person(2, "Anna", "Schmidt", "F", 1);
    g.Indiv[2].ibDate = "ABT 1855";
    g.Indiv[2].icPlace = "Bonn";
    g.Indiv[2].iCDno = 7;
    g.Indiv[2].iPIDno = 7;
    Person(3, "Karl", "Müller", "M", 2);
    g.Indiv[3].iFamc = 1;
    g.Indiv[3].iblDate = "1920";
    g.Indiv[3].iNoteFlg = "Y";
    Person(4, "Pruned", "Person", "F", 1);
    g.Indiv[4].iTree = 99;
    g.Indiv[4].iFamc = 1;
    Person(5, "", "Smith", " ", 0);
    g.Indiv[5].iFamc = 2;
    g.IndivCount = 5;

    FamilRec& f1 = g.Famil[1];
    f1.fRIN = 1;
    f1.fHusb = 1;
    f1.fWife = 2;
    f1.fmDate = "1 JUN 1875";
    f1.fmPlace = "Köln";
    f1.fSource = 1;
    f1.fNoteFlg = "Y";
    g.Famil[2].fRIN = 2;
    g.Famil[2].fHusb = 5;
    g.Famil[2].fTree = 99;
    g.Famil[3].fRIN = 3;
    g.Famil[3].fHusb = 3;
    g.FamilCount = 3;

    Note(1, "I", 1, "1 NOTE", "Born at sea");
    Note(2, "F", 1, "1 NOTE", "Married in the cathedral");
    Note(3, "I", 1, "2 CONT", "on the Mayflower, a long ");
    Note(4, "I", 1, "2 CONC", "journey.");
    Note(5, "I", 3, "2 CONT", "a line whose first line was lost");
    Note(6, "N", 0, "2 CONT", "a note record line");
    g.NotesCount = 6;

    g.Source.resize(5);
    g.SourceCount = 4;
    auto source = [](int k, const char* title, int16_t repos, int32_t citations) {
        SourceRec& s = g.Source[k];
        s.sRIN = static_cast<int16_t>(k);
        s.sTitle = title;
        s.sAuthor = "Author " + std::to_string(k);
        s.sPublish = "";
        s.sRepos = repos;
        s.sCitations = citations;
        s.sFlag = "I";
    };
    source(1, "Ancestral File", 1, 3);
    source(2, "RootsWeb WorldConnect Project", 0, 0);  // cited by Karl only
    source(3, "Never cited", 2, 0);
    source(4, "Cited elsewhere", 0, 2);
    g.Repository.resize(4);
    g.RepositoryCount = 3;
    auto repos = [](int k, const char* name, const char* addr, const char* cont, int32_t citations) {
        ReposRec& r = g.Repository[k];
        r.rRIN = static_cast<int16_t>(k);
        r.rName = name;
        r.rAddr = addr;
        r.rCont = cont;
        r.rCitations = citations;
        r.rFlag = "I";
    };
    repos(1, "FamilySearch", "35 North West Temple Street", "Salt Lake City", 0);
    repos(2, "Ancestry.com", "https://www.ancestry.com", "", 0);
    repos(3, "Other", "", "", 1);

    g.PrefText = {"", "Jane Preparer", " ", "1 High Street", "Springfield", "", "", "USA",
                  "555-1234", "", "jane@example.com", "Gathered with Lintora"};
    g.PrepCheck = true;
    g.SourceCheck = true;
    g.NoteCheck = true;
    g.Option1 = 1;
    g.FirstSite = "LDS";
    g.FirstType = "IndANC";
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// Golden files hold the build's version, company and program name as
// placeholders, so that a new version does not change them.
std::string Placeholders(std::string text, bool fill) {
    const std::pair<std::string, std::string> subs[] = {
        {"{VERS}", std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor)},
        {"{CORP}", kCompanyName},
        {"{EXE}", fs::path(kExeName).stem().string()},
    };
    for (const auto& [ph, value] : subs) {
        const std::string& from = fill ? ph : value;
        const std::string& to = fill ? value : ph;
        // Only header lines carry them.
        for (const char* prefix : {"2 VERS ", "2 CORP ", "1 SOUR "}) {
            std::string needle = std::string("\r\n") + prefix + from + "\r\n";
            auto pos = text.find(needle);
            if (pos != std::string::npos && pos < 200)
                text.replace(pos, needle.size(), std::string("\r\n") + prefix + to + "\r\n");
        }
    }
    return text;
}

void ExpectGolden(const std::string& name, const std::string& actual) {
    fs::path p = ProjectDir() / "tests" / "files" / "golden" / name;
    if (std::getenv("LINTORA_UPDATE_GOLDEN")) {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << Placeholders(actual, false);
    }
    std::ifstream in(p, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden file " << p;
    std::ostringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(Placeholders(ss.str(), true), actual) << "golden file " << name;
}

// Structural checks of GEDCOM 5.5 lines: levels step down freely but up by
// one, every pointer names a record of the file, and continuation and
// country lines stand under a line they belong to.
void ExpectValidGedcom(const std::vector<std::string>& lines) {
    std::set<std::string> defined;
    for (const auto& l : lines)
        if (l.size() > 2 && l[0] == '0' && l[2] == '@') defined.insert(l.substr(2, l.find('@', 3) - 1));
    int prevLevel = -1;
    std::vector<std::string> tags(10);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& l = lines[n];
        SCOPED_TRACE("line " + std::to_string(n + 1) + ": " + l);
        ASSERT_GE(l.size(), 3u);
        ASSERT_TRUE(l[0] >= '0' && l[0] <= '9');
        ASSERT_EQ(l[1], ' ');
        int level = l[0] - '0';
        EXPECT_LE(level, prevLevel + 1);
        std::string rest = l.substr(2);
        if (level == 0 && rest[0] == '@') rest = rest.substr(rest.find(' ') + 1);
        std::string tag = rest.substr(0, rest.find(' '));
        std::string value = rest.size() > tag.size() ? rest.substr(tag.size() + 1) : "";
        if (level > 0 && value.size() > 2 && value.front() == '@' && value.back() == '@') {
            EXPECT_TRUE(defined.count(value)) << "pointer to nothing: " << value;
        }
        if (tag == "CONT" || tag == "CONC") {
            const std::string& parent = tags[level - 1];
            EXPECT_TRUE(parent == "NOTE" || parent == "ADDR" || parent == "TEXT" || parent == "PUBL" ||
                        parent == "TITL" || parent == "AUTH")
                << "continuation under " << parent;
        }
        if (tag == "CTRY") {
            EXPECT_EQ(tags[level - 1], "ADDR");
        }
        tags[level] = tag;
        prevLevel = level;
    }
    EXPECT_EQ(lines.back().substr(0, 6), "0 TRLR");
}

class WriterTest : public FilesTest {};

TEST_F(WriterTest, GedcomPerItemCitationsMatchesGolden) {
    FillSample();
    auto lines = BuildFileLines(FileKind::Gedcom, kPath);
    ExpectValidGedcom(lines);
    std::string bytes = FileContents(FileKind::Gedcom, lines);
    EXPECT_EQ(bytes, Utf8ToAnsel(Joined(lines)));
    ExpectGolden("per_item.ged", bytes);
}

TEST_F(WriterTest, GedcomSingleCitationWithoutSubmitterMatchesGolden) {
    FillSample();
    g.Option1 = 0;
    g.PrepCheck = false;
    g.NoteCheck = false;
    auto lines = BuildFileLines(FileKind::Gedcom, kPath);
    ExpectValidGedcom(lines);
    ExpectGolden("single.ged", FileContents(FileKind::Gedcom, lines));
}

TEST_F(WriterTest, WorkFileMatchesGoldenAndIsEncodedLineByLine) {
    FillSample();
    // Export options shape the GEDCOM file only.
    g.SourceCheck = false;
    g.Option1 = 1;
    auto lines = BuildFileLines(FileKind::Work, kPath);
    ExpectValidGedcom(lines);
    ExpectGolden("work.txt", Joined(lines));
    std::vector<std::string> stored = SplitFileLines(FileContents(FileKind::Work, lines));
    ASSERT_EQ(stored.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(stored[i].find_first_not_of("0123456789"), std::string::npos);
        EXPECT_EQ(DecodeLine(stored[i]), lines[i]);
    }
}

TEST_F(WriterTest, EmptyTables) {
    g.PrepCheck = true;
    auto ged = BuildFileLines(FileKind::Gedcom, kPath);
    ASSERT_GE(ged.size(), 18u);
    EXPECT_EQ(ged.front(), "0 HEAD");
    EXPECT_EQ(ged[ged.size() - 3], "0 @SUB1@ SUBM");
    EXPECT_EQ(ged.back(), "0 TRLR");
    ExpectValidGedcom(ged);
    // No paste yet: the work trailer keeps its two blanks.
    EXPECT_EQ(BuildFileLines(FileKind::Work, kPath), std::vector<std::string>{"0 TRLR  "});
    g.MixedSources = "Y";
    EXPECT_EQ(BuildFileLines(FileKind::Work, kPath), std::vector<std::string>{"0 TRLR Mixed-Source Multiple"});
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
int Count(const std::vector<std::string>& lines, const std::string& prefix) {
    int n = 0;
    for (const auto& l : lines) n += l.rfind(prefix, 0) == 0;
    return n;
}

TEST_F(WriterTest, HeaderTakesClockVersionAndPath) {
    ui.clock = {2024, 12, 3, 7, 4, 0};
    auto lines = BuildFileLines(FileKind::Gedcom, kPath);
    EXPECT_TRUE(Has(lines, "1 DATE 3 Dec 2024"));
    EXPECT_TRUE(Has(lines, "2 TIME 7:4:0"));
    EXPECT_TRUE(Has(lines, std::string("1 FILE ") + kPath));
    EXPECT_TRUE(Has(lines, "1 CHAR ANSEL"));
    EXPECT_TRUE(Has(lines, "2 VERS " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor)));
}

TEST_F(WriterTest, DiscAndPinNumbersWheneverEitherIsSet) {
    const struct { int16_t cd; int32_t pin; const char* line; } cases[] = {
        {0, 0, nullptr}, {7, 7, "1 CDP2 7-7"}, {0, 4711, "1 CDP2 0-4711"}, {12, 0, "1 CDP2 12-0"},
    };
    for (const auto& c : cases) {
        ResetProgramState();
        Person(1, "A", "B", "M", 0);
        g.IndivCount = 1;
        g.Indiv[1].iCDno = c.cd;
        g.Indiv[1].iPIDno = c.pin;
        auto work = BuildFileLines(FileKind::Work, kPath);
        EXPECT_EQ(Count(work, "1 CDP2"), c.line ? 1 : 0) << c.cd << "-" << c.pin;
        if (c.line) {
            EXPECT_TRUE(Has(work, c.line));
        }
        EXPECT_EQ(Count(BuildFileLines(FileKind::Gedcom, kPath), "1 CDP2"), 0);
    }
}

TEST_F(WriterTest, NamesEventsAndSex) {
    Person(1, "", "Smith", " ", 0);
    Person(2, "John", "Smith", "M", 0);
    g.Indiv[2].iSuffix = "Jr";
    g.Indiv[2].iName = "John Smith Jr";
    g.Indiv[2].ibPlace = "Boston";
    g.IndivCount = 2;
    auto lines = BuildFileLines(FileKind::Gedcom, kPath);
    EXPECT_TRUE(Has(lines, "1 NAME  /Smith/"));
    EXPECT_TRUE(Has(lines, "2 GIVN "));
    EXPECT_TRUE(Has(lines, "1 SEX  "));
    EXPECT_TRUE(Has(lines, "1 NAME John /Smith/Jr"));
    EXPECT_TRUE(Has(lines, "2 NSFX Jr"));
    auto birt = std::find(lines.begin(), lines.end(), "1 BIRT");
    ASSERT_NE(birt, lines.end());
    EXPECT_EQ(*(birt + 1), "2 PLAC Boston");
    EXPECT_EQ(Count(lines, "1 BIRT"), 1);
    EXPECT_EQ(Count(lines, "1 DEAT"), 0);
}

// An event or marriage is written when it has a date or a place, and then
// only the lines it has.
TEST_F(WriterTest, EventAndMarriageLinesFollowTheirDateAndPlace) {
    const struct { const char* date; const char* place; std::vector<std::string> lines; } cases[] = {
        {"1850", "Boston", {"2 DATE 1850", "2 PLAC Boston"}},
        {"1850", "  ", {"2 DATE 1850"}},
        {" ", "Boston", {"2 PLAC Boston"}},
        {"", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.date + "][" + c.place + "]");
        ResetProgramState();
        Person(1, "A", "B", "M", 0);
        Person(2, "C", "D", "F", 0);
        g.IndivCount = 2;
        g.Indiv[1].idDate = c.date;
        g.Indiv[1].idPlace = c.place;
        g.Indiv[2].iblDate = c.date;
        g.Indiv[2].iblPlace = c.place;
        g.Famil[1].fRIN = 1;
        g.Famil[1].fHusb = 1;
        g.Famil[1].fWife = 2;
        g.Famil[1].fmDate = c.date;
        g.Famil[1].fmPlace = c.place;
        g.FamilCount = 1;
        g.SourceCheck = false;
        auto lines = BuildFileLines(FileKind::Gedcom, kPath);
        for (const char* tag : {"1 DEAT", "1 BURI", "1 MARR"}) {
            auto at = std::find(lines.begin(), lines.end(), tag);
            if (c.lines.empty()) {
                EXPECT_EQ(at, lines.end()) << tag;
                continue;
            }
            ASSERT_NE(at, lines.end()) << tag;
            std::vector<std::string> under(at + 1, at + 1 + static_cast<std::ptrdiff_t>(c.lines.size()));
            EXPECT_EQ(under, c.lines) << tag;
            EXPECT_NE((at + 1 + static_cast<std::ptrdiff_t>(c.lines.size()))->substr(0, 2), "2 ") << tag;
        }
    }
}

TEST_F(WriterTest, CitationsOnlyToRecordsOfTheFile) {
    FillSample();
    g.Indiv[2].iSource = 0;   // no source: no citation, never "@S0@"
    g.Indiv[3].iSource = 99;  // beyond the table
    for (FileKind kind : {FileKind::Gedcom, FileKind::Work}) {
        auto lines = BuildFileLines(kind, kPath);
        ExpectValidGedcom(lines);
        EXPECT_FALSE(Has(lines, "1 SOUR @S0@"));
        EXPECT_FALSE(Has(lines, "1 SOUR @S99@"));
        EXPECT_FALSE(Has(lines, "0 @S3@ SOUR"));  // no citations, cited by nobody
        EXPECT_TRUE(Has(lines, "0 @S4@ SOUR"));   // counted citations
        EXPECT_TRUE(Has(lines, "0 @REP1@ REPO"));  // a written source points to it
        EXPECT_FALSE(Has(lines, "0 @REP2@ REPO"));
        EXPECT_TRUE(Has(lines, "0 @REP3@ REPO"));  // its own count
    }
    EXPECT_EQ(g.Repository[1].rCitations, 1);
}

TEST_F(WriterTest, SourceOptionShapesOnlyTheGedcomFile) {
    FillSample();
    g.SourceCheck = false;
    g.NoteCheck = true;
    auto ged = BuildFileLines(FileKind::Gedcom, kPath);
    EXPECT_EQ(Count(ged, "1 SOUR @"), 0);
    EXPECT_FALSE(Has(ged, "0 @S1@ SOUR"));
    EXPECT_EQ(Count(ged, "0 @REP"), 0);
    EXPECT_EQ(Count(ged, "1 NOTE Gathered with Lintora"), 4);
    auto work = BuildFileLines(FileKind::Work, kPath);
    // One citation per individual and family that has a source, whatever the mode.
    EXPECT_EQ(Count(work, "1 SOUR @S1@"), 3);
    EXPECT_EQ(Count(work, "1 SOUR @S2@"), 1);
    EXPECT_TRUE(Has(work, "0 @S2@ SOUR"));
    EXPECT_EQ(Count(work, "1 NOTE Gathered"), 0);
    EXPECT_EQ(Count(work, "0 @SUB1@"), 0);
    EXPECT_EQ(Count(work, "0 HEAD"), 0);
}

TEST_F(WriterTest, SubmitterAddressLinesStandUnderAnAddress) {
    const struct { std::array<std::string, 12> text; std::vector<std::string> expect; } cases[] = {
        {{"", "Jane", "", "Main St", "", "", "", "", "", "", "", ""}, {"1 ADDR Main St"}},
        {{"", "Jane", "", "", "", "", "", "USA", "", "", "", ""}, {"1 ADDR USA", "2 CTRY USA"}},
        {{"", "Jane", "1 Road", "", "", "", "Town", "", "", "", "", ""}, {"1 ADDR 1 Road", "2 CONT Town"}},
        {{"", " Jane ", "", "", "", "", "", "", "", "", "", ""}, {"1 NAME Jane"}},
    };
    for (const auto& c : cases) {
        g.PrefText = c.text;
        g.PrepCheck = true;
        auto lines = BuildFileLines(FileKind::Gedcom, kPath);
        ExpectValidGedcom(lines);
        auto subm = std::find(lines.begin(), lines.end(), "0 @SUB1@ SUBM");
        ASSERT_NE(subm, lines.end());
        std::vector<std::string> after(subm + 2, lines.end() - 1);
        if (c.expect[0].rfind("1 NAME", 0) == 0) after.assign(subm + 1, subm + 2);
        EXPECT_EQ(after, c.expect);
    }
}

TEST_F(WriterTest, OneFamilyLinkPerPersonAndFamily) {
    Person(1, "A", "B", "M", 0);
    g.IndivCount = 1;
    g.Famil[1].fRIN = 1;
    g.Famil[1].fHusb = 1;
    g.Famil[1].fWife = 1;  // never made by the program, but not written twice
    g.Famil[2].fRIN = 2;
    g.Famil[2].fHusb = 7;  // beyond the table
    g.FamilCount = 2;
    auto lines = BuildFileLines(FileKind::Gedcom, kPath);
    ExpectValidGedcom(lines);
    EXPECT_EQ(Count(lines, "1 FAMS @F1@"), 1);
    EXPECT_EQ(Count(lines, "1 HUSB"), 1);
    EXPECT_EQ(Count(lines, "1 WIFE"), 0);
}

TEST_F(WriterTest, NoteLinesKeepTheirLengthAndOpenWithNote) {
    Person(1, "A", "B", "M", 0);
    g.Indiv[1].iNoteFlg = "Y";
    g.IndivCount = 1;
    Note(1, "I", 1, "2 CONC", "starts with a join ");  // trailing blank kept by the length
    Note(2, "I", 1, "2 CONT", "");
    Note(3, "I", 1, "1 NOTE", "cut here");
    g.Notes[3].nLen = 3;
    g.NotesCount = 3;
    auto lines = BuildFileLines(FileKind::Work, kPath);
    EXPECT_TRUE(Has(lines, "1 NOTE starts with a join "));
    EXPECT_TRUE(Has(lines, "2 CONT "));
    EXPECT_TRUE(Has(lines, "1 NOTE cut"));
    g.Indiv[1].iNoteFlg = "N";
    EXPECT_EQ(Count(BuildFileLines(FileKind::Work, kPath), "1 NOTE"), 0);

    // Blank lines never open a note, which a reader would skip: the first
    // line with text does; a note of blank lines alone is not written.
    Person(2, "C", "D", "F", 0);
    g.Indiv[2].iNoteFlg = "Y";
    g.IndivCount = 2;
    Note(4, "I", 2, "1 NOTE", "");
    Note(5, "I", 2, "2 CONT", "\t ");
    Note(6, "I", 2, "2 CONC", "Served");
    Note(7, "I", 2, "2 CONT", "");
    Note(8, "I", 2, "1 NOTE", "  ");
    Note(9, "I", 2, "1 NOTE", "");
    Note(10, "I", 2, "2 CONC", "again");
    g.NotesCount = 10;
    for (FileKind kind : {FileKind::Gedcom, FileKind::Work}) {
        std::vector<std::string> notes;
        bool second = false;
        for (const std::string& line : BuildFileLines(kind, kPath)) {
            second = second || line == "0 @I2@ INDI";
            if (second && (line.starts_with("1 NOTE") || line.starts_with("2 CON"))) notes.push_back(line);
        }
        EXPECT_EQ(notes, (std::vector<std::string>{"1 NOTE Served", "2 CONT ", "1 NOTE again"}));
    }
}

TEST_F(WriterTest, LineEndsInsideValuesDoNotBreakLines) {
    Person(1, "A", "B", "M", 0);
    g.Indiv[1].ibPlace = "Boston\r\n0 @X@ INDI";
    g.IndivCount = 1;
    auto lines = BuildFileLines(FileKind::Gedcom, kPath);
    EXPECT_TRUE(Has(lines, "2 PLAC Boston  0 @X@ INDI"));
}

// What other programs read: titles as the individual's own TITL line, no
// control characters, note lines no longer than a reader keeps once ANSEL
// has spelt out the letters it lacks.
TEST_F(WriterTest, TitlesControlCharactersAndNotesAsOthersReadThem) {
    Person(1, "Ann\t", "Bo\vle", "F", 0);
    g.Indiv[1].iTitle = "Queen\tof England";
    g.Indiv[1].ibPlace = "London\t";
    g.Indiv[1].iNoteFlg = "Y";
    g.IndivCount = 1;
    const std::string a119(119, 'a');
    Note(1, "I", 1, "1 NOTE", a119 + "\u2026");  // 120 characters; ANSEL writes the ellipsis as three
    Note(2, "I", 1, "2 CONT", "tab\there");
    g.NotesCount = 2;
    auto ged = BuildFileLines(FileKind::Gedcom, kPath);
    auto work = BuildFileLines(FileKind::Work, kPath);
    for (const auto* lines : {&ged, &work})
        for (const auto& l : *lines)
            EXPECT_TRUE(std::none_of(l.begin(), l.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
                << l;
    EXPECT_TRUE(Has(ged, "1 NAME Ann /Bo le/"));
    EXPECT_TRUE(Has(ged, "2 PLAC London"));
    EXPECT_TRUE(Has(ged, "1 TITL Queen of England"));
    EXPECT_EQ(Count(ged, "2 TITL"), 0);
    EXPECT_TRUE(Has(work, "2 TITL Queen of England"));
    EXPECT_EQ(Count(work, "1 TITL"), 0);
    // Just before the sex line, after the name lines.
    auto titl = std::find(ged.begin(), ged.end(), "1 TITL Queen of England");
    ASSERT_NE(titl, ged.end());
    EXPECT_EQ((titl + 1)->substr(0, 5), "1 SEX");
    auto note = std::find(ged.begin(), ged.end(), "1 NOTE " + a119 + ".");
    ASSERT_NE(note, ged.end());
    EXPECT_EQ(*(note + 1), "2 CONC ..");
    EXPECT_EQ(*(note + 2), "2 CONT tab here");
    EXPECT_TRUE(Has(work, "1 NOTE " + a119 + "\u2026"));
}

// ---- Work-file line encoding ----

TEST(WorkLineEncoding, EveryByteValue) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        char digits[4];
        std::snprintf(digits, sizeof digits, "%03d", b);
        EXPECT_EQ(EncodeLine(one), digits);
        EXPECT_EQ(DecodeLine(digits), one);
        all += one;
    }
    std::string encoded = EncodeLine(all);
    EXPECT_EQ(encoded.size(), 768u);
    EXPECT_EQ(DecodeLine(encoded), all);
}

TEST(WorkLineEncoding, WorkedExamplesAndBadGroups) {
    EXPECT_EQ(EncodeLine("abc"), "097098099");
    EXPECT_EQ(EncodeLine("\t"), "009");
    EXPECT_EQ(EncodeLine(""), "");
    EXPECT_EQ(EncodeLine("é"), "195169");  // UTF-8 bytes
    EXPECT_EQ(DecodeLine("09"), "\t");       // a short last group
    EXPECT_EQ(DecodeLine("0971"), "a\x01");
    for (const char* bad : {"256", "abc", "09x", "097-98", "999"}) {
        EXPECT_THROW(DecodeLine(bad), std::invalid_argument) << bad;
        std::string out;
        EXPECT_FALSE(TryDecodeLine(bad, out)) << bad;
    }
}

TEST_F(FilesTest, EncodeWorkFileInPlace) {
    fs::path p = dir / "plainxxx";  // a name ending in xxx is no special case
    Write(p, "0 @I1@ INDI\r\n1 NAME A /B/\n0 TRLR  ");
    EXPECT_EQ(EncodeWorkFile(p.string()), "");
    auto lines = SplitFileLines(Read(p));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(DecodeLine(lines[0]), "0 @I1@ INDI");
    EXPECT_EQ(DecodeLine(lines[2]), "0 TRLR  ");
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"app", "config", "plainxxx", "state"}));
    EXPECT_EQ(EncodeWorkFile((dir / "missing.lnt").string()), "");
    EXPECT_FALSE(fs::exists(dir / "missing.lnt"));
}

}  // namespace
}  // namespace lintora::testing
