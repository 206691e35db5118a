// A GEDCOM save of work whose letters ANSEL cannot hold: written in UTF-8,
// said so, and read back as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <string_view>

#include "files/charset.h"
#include "files/data_files.h"
#include "files/file_loading.h"
#include "files/file_saving.h"
#include "files/gedcom_writer.h"
#include "files/text_lines.h"
#include "record_store/notes.h"
#include "tests/files/files_fixture.h"

namespace lintora::testing {
namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Family 1 of husband and wife, the work's only family.
FamilRec& Couple(int32_t husband, int32_t wife) {
    FamilRec& f = g.Famil[1];
    f.fRIN = 1;
    f.fHusb = husband;
    f.fWife = wife;
    g.FamilCount = 1;
    return f;
}

class GedcomUtf8Test : public FilesTest {
protected:
    void SetUp() override {  // a load reloads the site data file
        FilesTest::SetUp();
        std::filesystem::copy_file(ProjectDir() / "files" / std::filesystem::path(SiteDataFilePath()).filename(),
                                   SiteDataFilePath());
    }
    std::string Save(const std::string& name) {
        g.FilePath = (dir / name).string();
        std::filesystem::remove(g.FilePath);
        ui.Answer(MsgResult::Ok);
        EXPECT_TRUE(SaveFile(g.FilePath, "GED"));
        return Read(g.FilePath);
    }
};

TEST_F(GedcomUtf8Test, CyrillicAndChineseWorkIsSavedInUtf8AndReadBack) {
    Person(1, "Иван", "Петров", "M", 0);
    g.Indiv[1].ibPlace = "Москва, Россия";
    Person(2, "Мария", "Петрова", "F", 0);
    Person(3, "小明", "王", "M", 0);
    g.Indiv[3].iFamc = 1;
    Person(4, "José", "Müller", "M", 0);
    g.IndivCount = 4;
    Couple(1, 2).fmPlace = "Санкт-Петербург";
    std::string story;  // a long note, stored as the editor stores it
    for (int k = 0; k < 6; ++k) story += "Родился в семье купца и служил приказчиком в лавке на Тверской улице. ";
    g.IndivNoteText = story + "\nПереехал в Петербург.";
    ASSERT_GT(StoreNotes("I", 1, "Y"), 4);
    g.PrepCheck = false;
    const auto notes = SeenWork::Now().notes;

    const std::string bytes = Save("petrov.ged");
    EXPECT_EQ(ui.boxes.back().text, g.FilePath + " successfully saved\n\nIt is written in UTF-8 (GEDCOM 5.5.1) "
                                                 "instead of ANSEL, which cannot hold letters such as \"И\" in the "
                                                 "record of Иван Петров.");
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_EQ(bytes.find('?'), std::string::npos);
    const std::vector<std::string> lines = SplitFileLines(bytes);
    EXPECT_EQ(lines.front(), "0 HEAD");  // no byte-order mark
    auto gedc = std::find(lines.begin(), lines.end(), "1 GEDC");
    ASSERT_GE(std::distance(gedc, lines.end()), 4);
    EXPECT_EQ(std::vector<std::string>(gedc, gedc + 4),
              (std::vector<std::string>{"1 GEDC", "2 VERS 5.5.1", "2 FORM LINEAGE-LINKED", "1 CHAR UTF-8"}));
    for (const char* line : {"1 NAME Иван /Петров/", "2 SURN Петров", "2 GIVN Иван", "2 PLAC Москва, Россия",
                             "1 NAME 小明 /王/", "2 PLAC Санкт-Петербург", "1 NAME José /Müller/"})
        EXPECT_TRUE(Has(lines, line)) << line;
    // Note lines of whole letters, no more than a note line holds.
    EXPECT_GE(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
                  EXPECT_LE(Utf8Length(l), 7 + kNoteLineWidth) << l;
                  return l.starts_with("2 CONC ");
              }),
              4);

    ASSERT_TRUE(LoadFile(g.FilePath));
    ASSERT_EQ(g.IndivCount, 4);
    const char* names[][3] = {
        {"Иван", "Петров", "Иван Петров"}, {"Мария", "Петрова", "Мария Петрова"},
        {"小明", "王", "小明 王"},          {"José", "Müller", "José Müller"},
    };
    for (int32_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(g.Indiv[i].iGivn.value(), names[i - 1][0]);
        EXPECT_EQ(g.Indiv[i].iSurn.value(), names[i - 1][1]);
        EXPECT_EQ(g.Indiv[i].iName.value(), names[i - 1][2]);
    }
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Москва, Россия");
    EXPECT_EQ(g.Famil[1].fmPlace.value(), "Санкт-Петербург");
    EXPECT_EQ(SeenWork::Now().notes, notes);
    EXPECT_EQ(Save("petrov.ged"), bytes);  // its own save again is the same file
}

// Work that ANSEL holds, typographic marks spelt in ASCII included, is
// saved as ever: GEDCOM 5.5 in ANSEL with the usual message.
TEST_F(GedcomUtf8Test, WorkThatFitsAnselIsSavedInAnselAsBefore) {
    Person(1, "José", "Müller", "M", 0);
    g.Indiv[1].ibPlace = "\u201CK\u00F6ln\u201D \u2013 Preu\u00DFen\u2026 \u0133";
    g.Indiv[1].idPlace = "Lot 4,\u00A0Concession III";
    g.IndivCount = 1;
    const std::vector<std::string> lines = SplitFileLines(Save("mueller.ged"));
    EXPECT_EQ(ui.boxes.back().text, g.FilePath + " successfully saved");
    for (const char* line : {"2 VERS 5.5", "1 CHAR ANSEL", "1 NAME Jos\xE2" "e /M\xE8uller/",
                             "2 PLAC \"K\xE8oln\" - Preu\xCF" "en... ij", "2 PLAC Lot 4, Concession III"})
        EXPECT_TRUE(Has(lines, line)) << line;
}

// Other readers of ANSEL know one mark on a plain letter: a family whose
// names ANSEL spells with two marks, or with a mark on one of its own
// letters, is saved in UTF-8 and read back whole; names with one mark on a
// plain letter stay in ANSEL.
TEST_F(GedcomUtf8Test, LettersWithTwoMarksMakeTheFileUtf8AndOneMarkStaysAnsel) {
    Person(1, "Tomás", "Ruiz", "M", 0);
    Person(2, "José", "Ruiz", "M", 0);
    g.Indiv[2].iFamc = 1;
    g.IndivCount = 2;
    Couple(1, 0);
    g.PrepCheck = false;
    std::vector<std::string> lines = SplitFileLines(Save("ruiz.ged"));
    EXPECT_EQ(ui.boxes.back().text, g.FilePath + " successfully saved");
    for (const char* line : {"1 CHAR ANSEL", "1 NAME Tom\xE2" "as /Ruiz/", "2 GIVN Tom\xE2" "as",
                             "1 NAME Jos\xE2" "e /Ruiz/"})
        EXPECT_TRUE(Has(lines, line)) << line;

    ResetWork();
    Person(1, "Đức Thắng", "Nguyễn", "M", 0);
    g.Indiv[1].ibPlace = "Hà Nội, Việt Nam";
    Person(2, "Thị Lan", "Trần", "F", 0);
    Person(3, "O\u0323\u0300s\u0323un", "Lǚ", "F", 0);  // Ọ̀ṣun with its marks after the letters
    g.Indiv[3].iFamc = 1;
    g.IndivCount = 3;
    Couple(1, 2);
    g.PrepCheck = false;
    lines = SplitFileLines(Save("nguyen.ged"));
    EXPECT_EQ(ui.boxes.back().text, g.FilePath + " successfully saved\n\nIt is written in UTF-8 (GEDCOM 5.5.1) "
                                                 "instead of ANSEL, which cannot hold letters such as \"ứ\" in the "
                                                 "record of Đức Thắng Nguyễn.");
    EXPECT_TRUE(Has(lines, "1 CHAR UTF-8"));
    std::vector<std::string> names;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(names),
                 [](const std::string& l) { return l.starts_with("1 NAME ") || l.starts_with("2 PLAC "); });
    EXPECT_EQ(names, (std::vector<std::string>{
                         "1 NAME \xC4\x90\xE1\xBB\xA9" "c Th\xE1\xBA\xAF" "ng /Nguy\xE1\xBB\x85n/",
                         "2 PLAC H\xC3\xA0 N\xE1\xBB\x99i, Vi\xE1\xBB\x87t Nam",
                         "1 NAME Th\xE1\xBB\x8B Lan /Tr\xE1\xBA\xA7n/",
                         "1 NAME O\xCC\xA3\xCC\x80s\xCC\xA3un /L\xC7\x9A/",
                     }));

    ASSERT_TRUE(LoadFile(g.FilePath));
    ASSERT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.Indiv[1].iName.value(), "Đức Thắng Nguyễn");
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Hà Nội, Việt Nam");
    EXPECT_EQ(g.Indiv[2].iName.value(), "Thị Lan Trần");
    EXPECT_EQ(g.Indiv[3].iGivn.value(), "O\u0323\u0300s\u0323un");
    EXPECT_EQ(g.Indiv[3].iSurn.value(), "Lǚ");
}

// Where ANSEL would not give the text back as it stood, or a mark has no letter before it, the work goes out in
// UTF-8 and comes back letter for letter. A sign that shows as nothing is named, never quoted.
TEST_F(GedcomUtf8Test, SpellingsThatWouldNotComeBackMakeTheFileUtf8) {
    const std::string place =
        "Chapel of St Nicholas, Chiddingstone Causeway, Penshurst, Sevenoaks Rural District, county of \u2026Kent";
    const std::string given = "Maria Anna Josepha Antonia Walburga Theresia Amalia Christina Johanna Elisabeth "
                              "Franziska Xaveria Ignatia Leopoldina J\u2026";  // as a page cut it
    ASSERT_EQ(Utf8Length(place), 99u);  // a letter under the field's 100
    ASSERT_EQ(Utf8Length(given), 119u);  // under the field's 120
    struct Case {
        std::function<void()> set;
        std::string letter, who, line;  // letter: as quoted, or "U+..." where it shows as nothing
        std::function<std::string()> back;
        bool tooLong = false;  // the message says the spelling would not fit
    };
    const auto invisible = [](std::string place, std::string sign) {
        return Case{[place] { g.Indiv[1].ibPlace = place; }, sign, "Ann Baker", "2 PLAC " + place,
                    [] { return g.Indiv[1].ibPlace.value(); }};
    };
    const Case cases[] = {
        {[&] { g.Indiv[1].ibPlace = place; }, "\u2026", "Ann Baker", "2 PLAC " + place,
         [] { return g.Indiv[1].ibPlace.value(); }, true},
        {[&] { g.Indiv[1].iGivn = given; }, "\u2026", given + " Baker", "2 GIVN " + given,
         [] { return g.Indiv[1].iGivn.value(); }, true},
        {[] { g.IndivNoteText = "\u00A0"; StoreNotes("I", 1, "Y"); }, "\u00A0", "Ann Baker", "1 NOTE \u00A0",
         [] { return std::to_string(g.NotesCount) + "|" + g.Notes[1].nText.value(); }},
        {[] { g.Indiv[1].iSurn = "Berg\u00BD"; }, "\u00BD", "Ann Berg\u00BD", "1 NAME Ann /Berg\u00BD/",
         [] { return g.Indiv[1].iSurn.value(); }},
        {[] { g.Indiv[1].iGivn = "\u0301Ann\u00F7a"; }, "\u0301", "\u0301Ann\u00F7a Baker",
         "1 NAME \u0301Ann\u00F7a /Baker/", [] { return g.Indiv[1].iGivn.value() + "|" + g.Indiv[1].iSurn.value(); }},
        {[] { g.Indiv[1].iSurn = "\u0301Berg"; }, "\u0301", "Ann \u0301Berg", "2 SURN \u0301Berg",
         [] { return g.Indiv[1].iSurn.value(); }},
        {[] { g.Indiv[1].iGivn = "Jose\u0301"; }, "e\u0301", "Jose\u0301 Baker", "2 GIVN Jose\u0301",
         [] { return g.Indiv[1].iGivn.value(); }},  // ANSEL would give back "é", the one letter
        // A note that begins with a mark: the mark never joins the tag.
        {[] { g.IndivNoteText = "\u0301abc"; StoreNotes("I", 1, "Y"); }, "\u0301", "Ann Baker", "1 NOTE \u0301abc",
         [] { return std::to_string(g.NotesCount) + "|" + g.Notes[1].nText.value(); }},
        {[] { g.Indiv[1].iGivn = "\u00A0Ann"; g.Indiv[1].iName = "\u00A0Ann Baker"; }, "\u00A0", "\u00A0Ann Baker", "2 GIVN \u00A0Ann",
         [] { return g.Indiv[1].iGivn.value() + "|" + g.Indiv[1].iName.value(); }},
        invisible("Ashford,\u2009Kent", "U+2009 THIN SPACE"), invisible("Ashford\u2065, Kent", "U+2065"),  // unassigned
        invisible("Ashford\u200B, Kent", "U+200B ZERO WIDTH SPACE"),
        invisible("Haifa\u200F, Israel", "U+200F RIGHT-TO-LEFT MARK"),
        invisible("St Mary's,\u2028Ashford", "U+2028 LINE SEPARATOR"),
        invisible("Lot 2\u2062b, Kent", "U+2062 INVISIBLE TIMES"),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ResetWork();
        Person(1, "Ann", "Baker", "F", 0);
        g.IndivCount = 1;
        g.PrepCheck = false;
        c.set();
        const std::string before = c.back();
        const std::vector<std::string> lines = SplitFileLines(Save("baker.ged"));
        EXPECT_EQ(ui.boxes.back().text,
                  g.FilePath + " successfully saved\n\nIt is written in UTF-8 (GEDCOM 5.5.1) instead of ANSEL, " +
                      (c.tooLong ? "in which the spelling of a text with \"" + c.letter + "\" in the record of " +
                                       c.who + " would not fit its field."
                                 : "which cannot hold letters such as " +
                                       (c.letter.starts_with("U+") ? c.letter : "\"" + c.letter + "\"") +
                                       " in the record of " + c.who + "."));
        EXPECT_TRUE(Has(lines, "1 CHAR UTF-8"));
        EXPECT_TRUE(Has(lines, c.line));
        ASSERT_TRUE(LoadFile(g.FilePath));
        EXPECT_EQ(c.back(), before);
    }
}

// A letter ANSEL would spell with "/" changes a number or a word in any
// field ("1½" as "11/2", "K÷ln" as "K/ln"): the work goes out in UTF-8 and
// comes back as written.
TEST_F(GedcomUtf8Test, LettersSpeltWithASlashMakeTheFileUtf8InEveryField) {
    Person(1, "Ann", "Baker", "F", 0);
    g.Indiv[1].ibPlace = "1\u00BD miles north of Ashford, Kent, England";
    Person(2, "Tom", "Baker", "M", 0);
    g.IndivCount = 2;
    Couple(2, 1).fmPlace = "K\u00F7ln";
    g.FamilNoteText = "Paid \u00BE of the tithe and 5\u2030 of the rent, \u00BC in kind";
    StoreNotes("F", 1, "Y");
    g.PrepCheck = false;
    const auto notes = SeenWork::Now().notes;
    const std::vector<std::string> lines = SplitFileLines(Save("baker.ged"));
    EXPECT_EQ(ui.boxes.back().text, g.FilePath + " successfully saved\n\nIt is written in UTF-8 (GEDCOM 5.5.1) "
                                                 "instead of ANSEL, which cannot hold letters such as \"\u00BD\" in "
                                                 "the record of Ann Baker.");
    for (const char* line : {"1 CHAR UTF-8", "2 PLAC 1\u00BD miles north of Ashford, Kent, England",
                             "2 PLAC K\u00F7ln", "1 NOTE Paid \u00BE of the tithe and 5\u2030 of the rent, \u00BC in kind"})
        EXPECT_TRUE(Has(lines, line)) << line;
    ASSERT_TRUE(LoadFile(g.FilePath));
    EXPECT_EQ(g.Indiv[1].ibPlace.value() + "|" + g.Famil[1].fmPlace.value(),
              "1\u00BD miles north of Ashford, Kent, England|K\u00F7ln");
    EXPECT_EQ(SeenWork::Now().notes, notes);
}

// A name shown as long as its field, whose ANSEL spelling would be longer,
// is judged as every field is: the work goes out in UTF-8 and the name
// shown comes back whole, not cut inside a spelt letter.
TEST_F(GedcomUtf8Test, ANameShownThatAnselWouldSpellPastItsFieldMakesTheFileUtf8) {
    const std::string given = "Maria Anna Josepha Antonia Walburga Theresia Amalia Christin";
    const std::string surname = "von Habsburg-Lothringen zu Toskana und Este-Modena Lothrin";
    ASSERT_EQ(given.size(), 60u);
    ASSERT_EQ(surname.size(), 58u);
    g.FilePath = (dir / "long.ged").string();
    Write(g.FilePath, "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME " + given + " /" + surname +
                          "\u00ABC/\r\n1 SEX F\r\n0 TRLR\r\n");
    ASSERT_TRUE(LoadFile(g.FilePath));
    ASSERT_EQ(g.Indiv[1].iName.value(), given + " " + surname + "\u00AB");  // the field's 120 letters
    const SeenWork before = SeenWork::Now();
    const std::vector<std::string> lines = SplitFileLines(Save("saved.ged"));
    EXPECT_EQ(ui.boxes.back().text, g.FilePath + " successfully saved\n\nIt is written in UTF-8 (GEDCOM 5.5.1) "
                                                 "instead of ANSEL, in which the spelling of a text with \"\u00AB\" "
                                                 "in the record of " + given + " " + surname + "\u00ABC would not fit "
                                                 "its field.");
    EXPECT_TRUE(Has(lines, "1 CHAR UTF-8"));
    ASSERT_TRUE(LoadFile(g.FilePath));
    ExpectSameWork(SeenWork::Now(), before);
}

// Every sign of the Latin, punctuation, currency and letterlike blocks, in a
// place and a note, comes back as it stood or as its ASCII spelling in ANSEL.
TEST_F(GedcomUtf8Test, EverySignComesBackAsItStoodOrAsItsAsciiSpelling) {
    const std::pair<std::u32string_view, std::string> spellings[] = {
        {U"‘’‚‛‹›′´", "'"}, {U"“”„‟″", "\""}, {U"«", "<<"}, {U"»", ">>"}, {U"‐‑‒–—―", "-"}, {U"…", "..."},
        {U"•", "*"},        {U"†‡", "+"},     {U"™", "TM"}, {U"¦", "|"},  {U"ŉ", "'n"},     {U"\u00A0", " "},
        {U"\u00AD", ""},
    };
    std::map<char32_t, std::string> spelt;
    for (const auto& [signs, ascii] : spellings)
        for (char32_t cp : signs) spelt[cp] = ascii;
    const std::u32string ligatures = U"ĲĳǇǈǉǊǋǌǱǲǳ";
    for (std::size_t k = 0; k < ligatures.size(); ++k) spelt[ligatures[k]] = {"IJijLJLjljNJNjnjDZDzdz" + 2 * k, 2};
    const std::u32string inAnsel = U"¡£©®°±·¿ÆØÞßæðøþĐđıŁłŒœƠơƯư€ℓ℗ÉéŘřǎȟ";  // codes of their own, or marks
    for (const auto& [from, to] : {std::pair{0xA0, 0x24F}, {0x2000, 0x206F}, {0x20A0, 0x20CF}, {0x2100, 0x214F}}) {
        for (char32_t cp = from; cp <= char32_t(to); ++cp) {
            std::string sign;
            AppendUtf8(sign, cp);
            SCOPED_TRACE(sign + " " + std::to_string(cp));
            ResetWork();
            Person(1, "Ann", "Baker", "F", 0);
            g.IndivCount = 1;
            g.PrepCheck = false;
            g.FilePath = (dir / "sign.ged").string();
            g.Indiv[1].ibPlace = "Lot 12" + sign + "3";
            g.IndivNoteText = "Paid 5" + sign + "6 in kind";
            StoreNotes("I", 1, "Y");
            NotInAnsel why;  // written as a save writes it, without its syncs
            const std::vector<std::string> lines = BuildFileLines(FileKind::Gedcom, g.FilePath, false, &why);
            Write(g.FilePath, FileContents(FileKind::Gedcom, lines));
            const bool utf8 = Has(lines, "1 CHAR UTF-8");
            ASSERT_TRUE(LoadFile(g.FilePath));
            const std::string back = spelt.contains(cp) ? spelt[cp] : sign;
            EXPECT_EQ(g.Indiv[1].ibPlace.value() + "|" + g.Notes[1].nText.value(),
                      "Lot 12" + back + "3|Paid 5" + back + "6 in kind");
            EXPECT_EQ(why.letter + "|" + why.where, utf8 ? sign + "|the record of Ann Baker" : "|");
            EXPECT_FALSE(utf8 && (spelt.contains(cp) || inAnsel.find(cp) != std::u32string::npos));
        }
    }
}

// Everything the file holds decides, and only that: a letter ANSEL lacks
// anywhere in it makes the file UTF-8 and is named with its place.
TEST_F(GedcomUtf8Test, EveryPartOfTheFileDecidesAndNothingElse) {
    const struct {
        std::function<void()> set;
        std::string letter, where;
    } cases[] = {
        {[] { g.Indiv[1].idPlace = "Ħal Qormi"; }, "Ħ", "the record of Ann Baker"},  // no H
        {[] { g.FamilNoteText = "Венчались"; StoreNotes("F", 1, "Y"); }, "В", "the family of Tom Baker and Ann Baker"},
        {[] { g.Source[1].sTitle = "Книга"; }, "К", "the source \"Книга\""},
        {[] { g.Repository[1].rAddr = "Αθήνα"; }, "Α", "the repository \"State Archive\""},
        {[] { g.PrefText[2] = "ул. Ленина 5"; }, "у", "the submitter record"},
        {[] { g.FilePath = "/home/иван/tree.ged"; }, "и", "the name of the file"},
        // Not in the file: a work-file field, the display name, a source nobody cites.
        {[] {
             g.Indiv[1].iExt = "Иван";
             g.Indiv[2].iName = "Иван";
             g.Source[2].sTitle = "Иван";
         },
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        ResetWork();
        Person(1, "Ann", "Baker", "F", 1);
        Person(2, "Tom", "Baker", "M", 1);
        g.IndivCount = 2;
        Couple(2, 1);
        g.Source.resize(3);
        g.SourceCount = 2;
        g.Source[1].sRepos = 1;
        g.Repository.resize(2);
        g.RepositoryCount = 1;
        g.Repository[1].rName = "State Archive";
        g.PrepCheck = g.SourceCheck = true;
        g.FilePath = "/home/jane/tree.ged";
        c.set();
        NotInAnsel why;
        const std::vector<std::string> lines = BuildFileLines(FileKind::Gedcom, g.FilePath, false, &why);
        EXPECT_EQ(why.letter + "|" + why.where, c.letter + "|" + c.where);
        EXPECT_EQ(Has(lines, "1 CHAR UTF-8"), !c.letter.empty());
        EXPECT_NE(FileContents(FileKind::Gedcom, lines).find(c.letter), std::string::npos);
    }
}

}  // namespace
}  // namespace lintora::testing
