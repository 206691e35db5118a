// Files written by the program read back into the same tables.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/data_files.h"
#include "files/file_loading.h"
#include "files/gedcom_reader.h"
#include "files/gedcom_writer.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "tests/files/files_fixture.h"

namespace lintora {
namespace {

namespace fs = std::filesystem;

class RoundTripTest : public testing::FilesTest {
protected:
    void SetUp() override {
        FilesTest::SetUp();
        fs::copy_file(testing::ProjectDir() / "files" / "Lintora11.dat", dir / "app" / "Lintora11.dat");
        LoadDatFile("Limited");
    }
    // Writes the tables as a file of the kind and returns its lines.
    std::vector<std::string> Save(FileKind kind, const fs::path& p) {
        std::vector<std::string> lines = BuildFileLines(kind, p.string());
        std::ofstream(p, std::ios::binary) << FileContents(kind, lines);
        return lines;
    }
    void Load(const fs::path& p) {
        g.FilePath = p.string();
        LoadFile();
    }
};


// A work with every field the work file carries.
void FillWork() {
    g.FirstSite = "LDS";
    g.FirstType = "IndANC";
    int32_t s = AddSource();
    g.Source[s].sTitle = "Family Bible";
    g.Source[s].sAuthor = "Grandmother";
    g.Source[s].sPublish = "1890";
    g.Source[s].sRepos = 1;
    for (int k = 0; k < 4; ++k) AddIndiv();
    IndivRec& a = g.Indiv[1];
    a.iGivn = "John Henry";
    a.iSurn = "Smith";
    a.iSuffix = "Jr";
    a.iPrefix = "Capt";
    a.iNick = "Jack";
    a.iTitle = "Esq";
    a.iExt = "ext text";
    a.iSex = "M";
    a.ibDate = "1 JAN 1850";
    a.ibPlace = "Boston, Suffolk, Massachusetts";
    a.icDate = "5 JAN 1850";
    a.idPlace = "Salem";
    a.iblDate = "ABT 1920";
    a.iblPlace = "Salem cemetery";
    a.iAFN = "1234-AB";
    a.iCDno = 0;
    a.iPIDno = 4711;
    a.iSubmNo = "SUB-99";
    a.iGenID = "17";
    a.iSource = static_cast<int16_t>(s);
    a.iNoteFlg = "Y";
    a.iChanDate = "3 Mar 2005";
    a.iChanTime = "9:8:7";
    IndivRec& b = g.Indiv[2];
    b.iGivn = "Mary";
    b.iSurn = "Müller";
    b.iSex = "F";
    b.iCDno = 7;
    b.iPIDno = 7;
    b.iSource = 1;
    IndivRec& c = g.Indiv[3];
    c.iGivn = "Ann";
    c.iSurn = "Smith";
    c.iSex = "F";
    c.iCDno = 5;
    c.iFamc = 1;
    c.iSource = 1;
    IndivRec& d = g.Indiv[4];  // no sex, no name
    d.iTree = 99;              // removed: not written
    int32_t f = AddFamil();
    g.Famil[f].fHusb = 1;
    g.Famil[f].fWife = 2;
    g.Famil[f].fmDate = "10 JUN 1875";
    g.Famil[f].fmPlace = "Salem";
    g.Famil[f].fSource = static_cast<int16_t>(s);
    g.Famil[f].fNoteFlg = "Y";
    g.Indiv[1].iFamsCount = g.Indiv[2].iFamsCount = 1;
    auto note = [](const char* kind, int32_t owner, const char* tag, const std::string& text) {
        int32_t n = AddNotes();
        g.Notes[n].nKind = kind;
        g.Notes[n].nOwner = owner;
        g.Notes[n].nTag = tag;
        g.Notes[n].nText = text;
        g.Notes[n].nLen = static_cast<int16_t>(Utf8Length(text));
    };
    note("I", 1, "1 NOTE", "Born at ");
    note("I", 1, "2 CONC", "sea");
    note("I", 1, "2 CONT", "");
    note("I", 1, "2 CONT", "  indented");
    note("F", 1, "1 NOTE", "Married twice");
}

TEST_F(RoundTripTest, WorkFileReadsBackIntoTheSameTables) {
    FillWork();
    const IndivRec before = g.Indiv[1];
    std::vector<std::string> first = Save(FileKind::Work, dir / "a.lnt");
    ResetProgramState();
    g.AppPath = (dir / "app").string();
    Load(dir / "a.lnt");
    EXPECT_TRUE(ui.boxes.empty());
    std::vector<std::string> second = Save(FileKind::Work, dir / "b.lnt");
    EXPECT_EQ(first, second);
    EXPECT_EQ(g.FirstSite, "LDS");
    EXPECT_EQ(g.FirstType, "IndANC");
    ASSERT_EQ(g.IndivCount, 3);
    const IndivRec& a = g.Indiv[1];
    for (auto [got, want] : {std::pair{a.iGivn, before.iGivn}, {a.iSurn, before.iSurn}, {a.iSuffix, before.iSuffix},
                             {a.iPrefix, before.iPrefix}, {a.iNick, before.iNick}, {a.iTitle, before.iTitle}})
        EXPECT_EQ(got.value(), want.value());
    EXPECT_EQ(a.iExt, before.iExt);
    EXPECT_EQ(a.ibPlace, before.ibPlace);
    EXPECT_EQ(a.iblDate, before.iblDate);
    EXPECT_EQ(a.iAFN, before.iAFN);
    EXPECT_EQ(a.iCDno, 0);
    EXPECT_EQ(a.iPIDno, 4711);
    EXPECT_EQ(a.iSubmNo, before.iSubmNo);
    EXPECT_EQ(a.iGenID, before.iGenID);
    EXPECT_EQ(a.iChanDate, before.iChanDate);
    EXPECT_EQ(a.iChanTime, before.iChanTime);
    EXPECT_EQ(g.Source[a.iSource].sTitle.value(), "Family Bible");
    EXPECT_EQ(g.Source[a.iSource].sRepos, 1);
    EXPECT_EQ(g.Indiv[2].iSurn.value(), "Müller");
    EXPECT_EQ(g.Indiv[2].iCDno, 7);
    EXPECT_EQ(g.Indiv[2].iPIDno, 7);
    EXPECT_EQ(g.Indiv[3].iCDno, 5);
    EXPECT_EQ(g.Indiv[3].iFamc, 1);
    EXPECT_EQ(g.Famil[1].fHusb, 1);
    EXPECT_EQ(g.Famil[1].fWife, 2);
    EXPECT_EQ(g.Famil[1].fmDate.value(), "10 JUN 1875");
}

struct Person {
    std::string given, surname, sex, events, notes;
    int32_t famc = 0;
    bool operator==(const Person&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const Person& p) {
        return o << "[" << p.given << "|" << p.surname << "|" << p.sex << "|" << p.events << "|famc " << p.famc
                 << "|notes:" << p.notes << "]";
    }
};
struct Couple {
    int32_t husb = 0, wife = 0;
    std::string marriage, notes;
    bool operator==(const Couple&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const Couple& c) {
        return o << "[" << c.husb << "+" << c.wife << "|" << c.marriage << "|notes:" << c.notes << "]";
    }
};

std::string NotesOf(const char* kind, int32_t owner) {
    std::string out;
    for (int32_t n = 1; n <= g.NotesCount; ++n) {
        const NoteRec& N = g.Notes[n];
        if (N.nKind.value() != kind || N.nOwner != owner) continue;
        out += N.nTag.value() == "2 CONC" ? "" : "\n";
        out += Utf8Left(N.nText.padded(), static_cast<std::size_t>(N.nLen));
    }
    return out;
}

std::vector<Person> People() {
    std::vector<Person> out;
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const IndivRec& r = g.Indiv[i];
        out.push_back({r.iGivn.value(), r.iSurn.value(), r.iSex.value(),
                       r.ibDate.value() + "|" + r.ibPlace.value() + "|" + r.icDate.value() + "|" +
                           r.icPlace.value() + "|" + r.idDate.value() + "|" + r.idPlace.value() + "|" +
                           r.iblDate.value() + "|" + r.iblPlace.value(),
                       NotesOf("I", i), r.iFamc});
    }
    return out;
}

std::vector<Couple> Couples() {
    std::vector<Couple> out;
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& r = g.Famil[f];
        out.push_back({r.fHusb, r.fWife, r.fmDate.value() + "|" + r.fmPlace.value(), NotesOf("F", f)});
    }
    return out;
}

TEST_F(RoundTripTest, GedcomFilesLoadSaveAndLoadAlike) {
    if (!fs::is_directory(LINTORA_TESTDATA_DIR "/gedcom")) GTEST_SKIP() << "no shared test files";
    for (const char* file : {"ANSEL.GED", "Harry_Potter.ged", "TGC55C.ged", "TGC55CLF.ged", "allged.ged",
                             "utf8_crlf_bom.ged"}) {
        SCOPED_TRACE(file);
        Load(std::string(LINTORA_TESTDATA_DIR "/gedcom/") + file);
        ASSERT_GT(g.IndivCount, 0);
        const auto people = People();
        const auto couples = Couples();
        Save(FileKind::Gedcom, dir / "out.ged");
        Load(dir / "out.ged");
        const auto again = People();
        ASSERT_EQ(again.size(), people.size());
        for (std::size_t i = 0; i < people.size(); ++i) EXPECT_EQ(again[i], people[i]) << "individual " << i + 1;
        EXPECT_EQ(Couples(), couples);
        EXPECT_TRUE(ui.boxes.empty()) << (ui.boxes.empty() ? "" : ui.boxes[0].text);
    }
}

}  // namespace
}  // namespace lintora
