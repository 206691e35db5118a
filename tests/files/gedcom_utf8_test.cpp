// A GEDCOM save of work whose letters ANSEL cannot hold: written in UTF-8,
// said so, and read back as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "files/charset.h"
#include "files/file_loading.h"
#include "files/file_saving.h"
#include "files/gedcom_writer.h"
#include "files/text_lines.h"
#include "record_store/notes.h"
#include "tests/files/files_fixture.h"

namespace lintora::testing {
namespace {

namespace fs = std::filesystem;

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void AddNote(const char* kind, int32_t owner, const char* tag, const std::string& text) {
    NoteRec& r = g.Notes[++g.NotesCount];
    r.nKind = kind;
    r.nOwner = owner;
    r.nTag = tag;
    r.nText = text;
    r.nLen = static_cast<int16_t>(Utf8Length(text));
}

// An owner's note as the editor shows it: CONT starts a line, CONC joins.
std::string NoteOf(int32_t owner) {
    std::string text;
    for (int32_t n = 1; n <= g.NotesCount; ++n) {
        const NoteRec& r = g.Notes[n];
        if (r.nKind.value() != "I" || r.nOwner != owner) continue;
        if (r.nTag.value() != "2 CONC" && !text.empty()) text += "\n";
        text += Utf8Left(r.nText.padded(), static_cast<std::size_t>(r.nLen));
    }
    return text;
}

class GedcomUtf8Test : public FilesTest {
protected:
    std::string Save(const std::string& name) {
        g.FilePath = (dir / name).string();
        ui.Answer(MsgResult::Ok);
        EXPECT_TRUE(SaveFile("N", "GED"));
        return Read(g.FilePath);
    }
    void Load(const std::string& path) {
        for (int k = 0; k < 8; ++k) ui.Answer(MsgResult::Ok);
        g.FilePath = path;
        ASSERT_TRUE(LoadFile());
        ui.answers.clear();
    }
};

TEST_F(GedcomUtf8Test, CyrillicAndChineseWorkIsSavedInUtf8AndReadBack) {
    Person(1, "Иван", "Петров", "M", 0);
    g.Indiv[1].ibDate = "12 MAR 1880";
    g.Indiv[1].ibPlace = "Москва, Россия";
    Person(2, "Мария", "Петрова", "F", 0);
    Person(3, "小明", "王", "M", 0);
    g.Indiv[3].iFamc = 1;
    g.Indiv[3].idPlace = "北京";
    Person(4, "José", "Müller", "M", 0);
    g.IndivCount = 4;
    g.Famil[1].fRIN = 1;
    g.Famil[1].fHusb = 1;
    g.Famil[1].fWife = 2;
    g.Famil[1].fmPlace = "Санкт-Петербург";
    g.FamilCount = 1;
    // A long note as the editor stores it (pieces joined by CONC), and a
    // whole note line of Cyrillic as a file gives it.
    std::string story;
    for (int k = 0; k < 6; ++k) story += "Родился в семье купца и служил приказчиком в лавке на Тверской улице. ";
    g.IndivNoteText = story + "\nПереехал в Петербург.";
    ASSERT_GT(StoreNotes("I", 1, "Y"), 4);
    std::string line;
    for (int k = 0; k < 60; ++k) line += "жи";
    AddNote("I", 1, "2 CONT", line);
    g.Indiv[1].iNoteFlg = "Y";
    g.PrepCheck = false;
    g.SourceCheck = false;
    const std::string note = NoteOf(1);

    const std::string bytes = Save("petrov.ged");
    const std::string path = g.FilePath;
    EXPECT_EQ(ui.boxes.back().text, path + " successfully saved\n\nIt is written in UTF-8 (GEDCOM 5.5.1) instead of "
                                           "ANSEL, which cannot hold letters such as \"И\" in the record of Иван Петров.");
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_EQ(bytes.find('?'), std::string::npos);
    const std::vector<std::string> lines = SplitFileLines(bytes);
    EXPECT_EQ(lines.front(), "0 HEAD");  // no byte-order mark
    auto gedc = std::find(lines.begin(), lines.end(), "1 GEDC");
    ASSERT_GE(std::distance(gedc, lines.end()), 4);
    EXPECT_EQ(std::vector<std::string>(gedc, gedc + 4),
              (std::vector<std::string>{"1 GEDC", "2 VERS 5.5.1", "2 FORM LINEAGE-LINKED", "1 CHAR UTF-8"}));
    for (const char* line : {"1 NAME Иван /Петров/", "2 SURN Петров", "2 GIVN Иван", "2 PLAC Москва, Россия",
                             "1 NAME 小明 /王/", "2 PLAC 北京", "2 PLAC Санкт-Петербург", "1 NAME José /Müller/"})
        EXPECT_TRUE(Has(lines, line)) << line;
    // Note lines hold whole letters, no more of them than a note line holds.
    int conc = 0;
    for (const std::string& l : lines) {
        if (!l.starts_with("1 NOTE ") && !l.starts_with("2 CONT ") && !l.starts_with("2 CONC ")) continue;
        conc += l.starts_with("2 CONC ");
        EXPECT_LE(Utf8Length(l.substr(7)), kNoteLineWidth) << l;
    }
    EXPECT_GE(conc, 4);

    Load(path);
    ASSERT_EQ(g.IndivCount, 4);
    const struct { const char *given, *surname, *shown; } want[] = {
        {"Иван", "Петров", "Иван Петров"}, {"Мария", "Петрова", "Мария Петрова"},
        {"小明", "王", "小明 王"},          {"José", "Müller", "José Müller"},
    };
    for (int32_t i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g.Indiv[i].iGivn.value(), want[i - 1].given);
        EXPECT_EQ(g.Indiv[i].iSurn.value(), want[i - 1].surname);
        EXPECT_EQ(g.Indiv[i].iName.value(), want[i - 1].shown);
    }
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Москва, Россия");
    EXPECT_EQ(g.Indiv[3].idPlace.value(), "北京");
    EXPECT_EQ(g.Famil[1].fmPlace.value(), "Санкт-Петербург");
    EXPECT_EQ(NoteOf(1), note);
    // Its own save again is the same file.
    fs::remove(path);
    EXPECT_EQ(Save("petrov.ged"), bytes);
}

// Work that ANSEL holds, typographic marks spelt in ASCII included, is
// saved as ever: GEDCOM 5.5 in ANSEL with the usual message.
TEST_F(GedcomUtf8Test, WorkThatFitsAnselIsSavedInAnselAsBefore) {
    Person(1, "José", "Müller", "M", 0);
    g.Indiv[1].ibPlace = "Köln, Preußen";
    g.Indiv[1].iNoteFlg = "Y";
    g.IndivCount = 1;
    AddNote("I", 1, "1 NOTE", "\u201CDas ﬁnste Haus\u201D \u2013 1850\u2026");
    g.PrepCheck = false;
    const std::string bytes = Save("mueller.ged");
    EXPECT_EQ(ui.boxes.back().text, g.FilePath + " successfully saved");
    const std::vector<std::string> lines = SplitFileLines(bytes);
    for (const char* line : {"2 VERS 5.5", "1 CHAR ANSEL", "1 NAME Jos\xE2" "e /M\xE8uller/",
                             "2 PLAC K\xE8oln, Preu\xCF" "en", "1 NOTE \"Das finste Haus\" - 1850..."})
        EXPECT_TRUE(Has(lines, line)) << line;
    EXPECT_FALSE(Has(lines, "1 CHAR UTF-8"));
}

// The character set is decided over everything the file holds, and only
// over that: a letter ANSEL lacks anywhere in it makes the file UTF-8 and
// is named with its place; one in a field the file does not carry does not.
TEST_F(GedcomUtf8Test, EveryPartOfTheFileDecidesAndNothingElse) {
    const struct {
        const char* what;
        std::function<void()> set;
        std::string letter, where;
    } cases[] = {
        {"nothing", [] {}, "", ""},
        {"a Maltese place", [] { g.Indiv[1].idPlace = "Ħal Qormi"; }, "Ħ", "the record of Ann Baker"},
        {"a mark ANSEL lacks", [] { g.Indiv[2].iGivn = "T\u0331om"; }, "T\u0331", "the record of T\u0331om Baker"},
        {"a family note", [] { AddNote("F", 1, "1 NOTE", "Венчались в церкви"); }, "В",
         "the family of Tom Baker and Ann Baker"},
        {"a source title", [] { g.Source[1].sTitle = "Метрическая книга"; }, "М",
         "the source \"Метрическая книга\""},
        {"a repository address", [] { g.Repository[1].rAddr = "Αθήνα"; }, "Α", "the repository \"State Archive\""},
        {"the submitter's address", [] { g.PrefText[2] = "ул. Ленина 5"; }, "у", "the submitter record"},
        {"the file's folder", [] { g.FilePath = "/home/иван/tree.ged"; }, "и", "the name of the file"},
        // Not in a GEDCOM file: a work-file field, the display name, a
        // pruned person, a source nobody cites.
        {"fields it does not carry",
         [] {
             g.Indiv[1].iExt = "Иван";
             g.Indiv[2].iName = "Иван";
             Person(3, "Иван", "Петров", "M", 0);
             g.Indiv[3].iTree = 99;
             g.IndivCount = 3;
             g.Source[2].sTitle = "Метрическая книга";
         },
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProgramState();
        Person(1, "Ann", "Baker", "F", 1);
        Person(2, "Tom", "Baker", "M", 1);
        g.IndivCount = 2;
        g.Famil[1].fRIN = 1;
        g.Famil[1].fHusb = 2;
        g.Famil[1].fWife = 1;
        g.Famil[1].fNoteFlg = "Y";
        g.FamilCount = 1;
        g.Source.resize(3);
        g.SourceCount = 2;
        g.Source[1].sTitle = "Parish register";
        g.Source[1].sRepos = 1;
        g.Source[1].sCitations = 2;
        g.Source[2].sTitle = "Unused";
        g.Repository.resize(2);
        g.RepositoryCount = 1;
        g.Repository[1].rName = "State Archive";
        g.PrefText[1] = "Jane Doe";
        g.PrepCheck = true;
        g.SourceCheck = true;
        g.FilePath = "/home/jane/tree.ged";
        c.set();
        NotInAnsel why;
        const std::vector<std::string> lines = BuildFileLines(FileKind::Gedcom, g.FilePath, false, &why);
        EXPECT_EQ(why.letter, c.letter);
        EXPECT_EQ(why.where, c.where);
        EXPECT_EQ(Has(lines, "1 CHAR UTF-8"), !c.letter.empty());
        EXPECT_EQ(Has(lines, "1 CHAR ANSEL"), c.letter.empty());
        const std::string bytes = FileContents(FileKind::Gedcom, lines);
        EXPECT_EQ(bytes.find('?'), std::string::npos);
        if (!c.letter.empty()) {
            EXPECT_NE(bytes.find(c.letter), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace lintora::testing
