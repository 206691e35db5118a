// What the writer puts into a file comes back through the reader.
#include <gtest/gtest.h>

#include <map>

#include "files/data_files.h"
#include "files/file_loading.h"
#include "files/file_saving.h"
#include "files/gedcom_writer.h"
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
        ASSERT_TRUE(SaveFile("N", kind));
        Load(g.FilePath);
    }
    void Load(const std::string& path) {
        for (int k = 0; k < 8; ++k) ui.Answer(MsgResult::Ok);
        g.FilePath = path;
        LoadFile();
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

// Names, events, family links and each owner's note lines as the tables
// hold them (the note lines of one owner in their order).
std::vector<std::string> Summary() {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const IndivRec& r = g.Indiv[i];
        out.push_back(r.iName.value() + "|" + r.iSex.value() + "|" + r.ibDate.value() + "|" + r.ibPlace.value() +
                      "|" + r.icDate.value() + "|" + r.idDate.value() + "|" + r.idPlace.value() + "|" +
                      r.iblPlace.value() + "|" + r.iAFN.value() + "|" + std::to_string(r.iFamc));
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
    const fs::path shared = fs::path(LINTORA_TESTDATA_DIR) / "gedcom";
    if (!fs::is_directory(shared)) GTEST_SKIP() << "no shared test files at " << shared;
    for (const char* file : {"ANSEL.GED", "Harry_Potter.ged", "TGC55C.ged", "TGC55CLF.ged", "allged.ged",
                             "utf8_crlf_bom.ged"}) {
        SCOPED_TRACE(file);
        Load((shared / file).string());
        ASSERT_GT(g.IndivCount, 0);
        std::vector<std::string> first = Summary();
        g.PrepCheck = false;
        SaveAndLoad("again.ged", "GED");
        EXPECT_EQ(Summary(), first);
        ui.boxes.clear();
    }
}

}  // namespace
}  // namespace lintora::testing
