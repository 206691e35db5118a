#include "files/gedcom_reader.h"

#include <sstream>

#include "record_store/name_key.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

class GedcomReaderTest : public CleanState {
protected:
    GedReader reader;
    void SetUp() override {
        CleanState::SetUp();
        BeginGedRead(reader);
    }
    void TearDown() override {
        EndGedRead();
        CleanState::TearDown();
    }
    // Feeds the lines of text (LF separated) as a load would.
    void Read(const std::string& text) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) ParseGedRec(line, ++lineNo);
        EndGedLines();
    }
    int32_t lineNo = 0;
    // The note lines of one owner as "tag|text" (text cut to its length).
    std::vector<std::string> NotesOf(const char* kind, int32_t owner) {
        std::vector<std::string> out;
        for (int32_t n = 1; n <= g.NotesCount; ++n) {
            const NoteRec& N = g.Notes[n];
            if (N.nKind.value() == kind && N.nOwner == owner)
                out.push_back(N.nTag.value() + "|" + N.nText.padded().substr(0, N.nLen));
        }
        return out;
    }
};

TEST_F(GedcomReaderTest, IndividualWithNameAndEvents) {
    Read("0 @I7@ INDI\n"
         "1 NAME John /Smith/\n"
         "1 SEX Male\n"
         "1 BIRT\n"
         "2 DATE 1 JAN 1900\n"
         "3 TIME 10:00\n"
         "2 PLAC Boston\n"
         "1 BAPM\n"
         "2 DATE 5 JAN 1900\n"
         "1 DEAT\n"
         "2 PLAC Salem\n"
         "1 AFN 12AB-34\n"
         "1 CDP2 12-3456\n"
         "1 _GID 17\n"
         "1 SUBN 99\n");
    ASSERT_EQ(g.IndivCount, 1);
    const IndivRec& R = g.Indiv[1];
    EXPECT_EQ(R.iXref.value(), "I7");
    EXPECT_EQ(R.iName.value(), "John Smith");
    EXPECT_EQ(R.iSurn.value(), "Smith");
    EXPECT_EQ(R.iGivn.value(), "John");
    EXPECT_EQ(R.iSex.value(), "M");
    EXPECT_EQ(R.ibDate.value(), "1 JAN 1900");
    EXPECT_EQ(R.ibPlace.value(), "Boston");
    EXPECT_TRUE(R.icDate.blank());
    EXPECT_TRUE(R.idDate.blank());
    EXPECT_EQ(R.idPlace.value(), "Salem");
    EXPECT_EQ(R.iAFN.value(), "12AB-34");
    EXPECT_EQ(R.iCDno, 12);
    EXPECT_EQ(R.iPIDno, 3456);
    EXPECT_EQ(R.iGenID.value(), "17");
    EXPECT_EQ(R.iSubmNo.value(), "99");
    EXPECT_EQ(reader.XrefCount, 1);
    EXPECT_EQ(reader.XrefMap[1].xXref, "I7");
    EXPECT_EQ(reader.XrefMap[1].xIndiv, 1);
    EXPECT_EQ(FindXrefIndiv("I7"), 1);
    EXPECT_EQ(reader.GedRead.badLines, 0);
}

TEST_F(GedcomReaderTest, NameLinesAndTheirParts) {
    Read("0 @I1@ INDI\n"
         "1 NAME Mary Ann /Van Dyke/ Jr\n"
         "2 NICK Polly\n"
         "2 _EXT ext\n"
         "0 @I2@ INDI\n"
         "1 NAME First /Name/\n"
         "1 NAME Second /Other/\n"
         "2 GIVN Given\n"
         "2 SURN \n"
         "0 @I3@ INDI\n"
         "1 NAME\n");
    ASSERT_EQ(g.IndivCount, 3);
    EXPECT_EQ(g.Indiv[1].iSurn.value(), "Van Dyke");
    EXPECT_EQ(g.Indiv[1].iGivn.value(), "Mary Ann");
    EXPECT_EQ(g.Indiv[1].iName.value(), "Mary Ann Van Dyke Jr");
    EXPECT_EQ(g.Indiv[1].iNick.value(), "Polly");
    EXPECT_EQ(g.Indiv[1].iExt.value(), "ext");
    // A later NAME line replaces the name; its slashes, not a SURN line, say what the surname is.
    EXPECT_EQ(g.Indiv[2].iSurn.value(), "Other");
    EXPECT_EQ(g.Indiv[2].iGivn.value(), "Given");
    EXPECT_TRUE(g.Indiv[3].iName.blank());
}

// The slashes and the name-part lines say what the name is; the word-order
// guess fills in only what they leave open, and the key follows the
// stored names.
TEST_F(GedcomReaderTest, NamesAsTheFileGivesThem) {
    Read("0 @I1@ INDI\n1 NAME Albert Augustus Charles //\n"
         "0 @I2@ INDI\n1 NAME LIVING //\n"
         "0 @I3@ INDI\n1 NAME Elizabeth //of York\n"
         "0 @I4@ INDI\n1 NAME Mary /Van Dyke/\n"
         // Our own file: the part lines win over what the NAME line suggests.
         "0 @I5@ INDI\n1 NAME John (Jack) /Smith/\n2 SURN Smith\n2 GIVN John (Jack)\n"
         "0 @I6@ INDI\n1 NAME X //\n2 SURN \n2 GIVN X\n"
         "0 @I7@ INDI\n1 NAME Sir John /Smith/ Jr\n2 GIVN Sir John\n2 SURN Smith\n2 NICK Jo\n"
         "0 @I8@ INDI\n1 NAME Anne /@X@/\n2 SURN @X@\n2 GIVN @Y@\n1 FAMC @F1@\n1 AFN @Z@\n"
         // Slashes that decide: no suffix, rank or nickname guessed from the words before them.
         "0 @I9@ INDI\n1 NAME Louis_IV of_Hesse //\n"
         "0 @I10@ INDI\n1 NAME Capt John (Jack) Smith //\n"
         "0 @I11@ INDI\n1 NAME Louis_IV of_Hesse //\n2 NSFX IV\n"
         // The display name is what the parts make of it, part lines included.
         "0 @I12@ INDI\n1 NAME John /Smith/\n2 GIVN John (Jack)\n"
         "0 @I13@ INDI\n1 NAME A\n2 GIVN A (C)\n"
         "0 @I14@ INDI\n1 NAME l2\n"
         // A NAME line that writes more than the parts (the prefix, periods) is the name shown.
         "0 @I15@ INDI\n1 NAME Dr. John /Smith/ Jr.\n2 NPFX Dr.\n2 GIVN John\n2 SURN Smith\n2 NSFX Jr.\n");
    ASSERT_EQ(g.IndivCount, 15);
    struct Want {
        const char *given, *surname, *suffix, *nick, *title, *name;
        const char* prefix = "";
    };
    const Want want[] = {
        {"Albert Augustus Charles", "", "", "", "", "Albert Augustus Charles"},
        {"LIVING", "", "", "", "", "LIVING"},
        {"Elizabeth", "", "of York", "", "", "Elizabeth of York"},
        {"Mary", "Van Dyke", "", "", "", "Mary Van Dyke"},
        {"John (Jack)", "Smith", "", "", "", "John (Jack) Smith"},
        {"X", "", "", "", "", "X"},
        {"Sir John", "Smith", "Jr", "Jo", "", "Sir John Smith Jr"},
        {"@Y@", "@X@", "", "", "", "@Y@ @X@"},
        {"Louis_IV of_Hesse", "", "", "", "", "Louis_IV of_Hesse"},
        {"Capt John (Jack) Smith", "", "", "", "", "Capt John (Jack) Smith"},
        {"Louis_IV of_Hesse", "", "IV", "", "", "Louis_IV of_Hesse IV"},
        {"John (Jack)", "Smith", "", "", "", "John (Jack) Smith"},
        {"A (C)", "", "", "", "", "A (C)"},
        {"L2", "", "", "", "", "L2"},
        {"John", "Smith", "Jr.", "", "", "Dr. John Smith Jr.", "Dr."},
    };
    for (int32_t i = 1; i <= 15; ++i) {
        SCOPED_TRACE(i);
        const IndivRec& R = g.Indiv[i];
        const Want& w = want[i - 1];
        EXPECT_EQ(R.iGivn.value(), w.given);
        EXPECT_EQ(R.iSurn.value(), w.surname);
        EXPECT_EQ(R.iSuffix.value(), w.suffix);
        EXPECT_EQ(R.iNick.value(), w.nick);
        EXPECT_EQ(R.iTitle.value(), w.title);
        EXPECT_EQ(R.iPrefix.value(), w.prefix);
        EXPECT_EQ(R.iName.value(), w.name);
        EXPECT_EQ(R.iNameKey.padded(), NameKeyOf(w.given, w.surname));
    }
    EXPECT_EQ(g.Indiv[4].iNameKey.padded(), NameKeyHalf("Mary") + NameKeyHalf("Van Dyke"));
    // Marks stay on text; a pointer loses them.
    EXPECT_EQ(g.Indiv[8].iFamcXref.value(), "F1");
    EXPECT_EQ(g.Indiv[8].iAFN.value(), "@Z@");
}

// One line below a name-bearing individual, and the field it must fill.
TEST_F(GedcomReaderTest, EachIndividualTagFillsItsField) {
    struct Row {
        const char* lines;
        std::string (*field)(const IndivRec&);
        const char* expected;
    };
    const Row rows[] = {
        {"1 TITL Baron", [](const IndivRec& r) { return r.iTitle.value(); }, "Baron"},
        {"2 TITL Sir", [](const IndivRec& r) { return r.iTitle.value(); }, "Sir"},
        {"2 NPFX Dr", [](const IndivRec& r) { return r.iPrefix.value(); }, "Dr"},
        {"2 NSFX III", [](const IndivRec& r) { return r.iSuffix.value(); }, "III"},
        {"2 NICK Jack", [](const IndivRec& r) { return r.iNick.value(); }, "Jack"},
        {"2 SURN Smyth", [](const IndivRec& r) { return r.iSurn.value(); }, "Smith"},
        {"2 NPFX  ", [](const IndivRec& r) { return r.iPrefix.value(); }, ""},
        {"2 SPFX van\n1 ALIA @I9@", [](const IndivRec& r) { return r.iName.value(); }, "John van Smith"},
        {"2 SURN \n2 SPFX de", [](const IndivRec& r) { return r.iSurn.value(); }, "Smith"},
        {"1 CHR\n2 DATE 2 JAN 1900\n2 PLAC Leeds",
         [](const IndivRec& r) { return r.icDate.value() + "|" + r.icPlace.value(); }, "2 JAN 1900|Leeds"},
        {"1 BURI\n2 DATE 1950\n2 PLAC Hull\n2 NOTE x",
         [](const IndivRec& r) { return r.iblDate.value() + "|" + r.iblPlace.value(); }, "1950|Hull"},
        {"1 EMIG\n2 PLAC York\n1 IMMI\n2 DATE 1901",
         [](const IndivRec& r) { return r.ibPlace.value() + r.icDate.value() + r.idPlace.value(); }, ""},
        {"1 FAMS @F1@\n1 FAMS @F2@", [](const IndivRec& r) { return std::to_string(r.iFamsCount); }, "2"},
        {"1 FAMC @F3@", [](const IndivRec& r) { return r.iFamcXref.value(); }, "F3"},
        {"1 SOUR @S1@\n1 SOUR @S2@\n2 PAGE 4", [](const IndivRec& r) { return r.iSourXref.value(); }, "S2"},
        {"1 NOTE @N5@ see above",
         [](const IndivRec& r) { return r.iNoteXref.value() + "|" + r.iNoteFlg.value(); }, "@N5@ see above|N"},
        {"1 SEX", [](const IndivRec& r) { return r.iSex.value(); }, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lines);
        ResetProgramState();
        BeginGedRead(reader);
        Read(std::string("0 @I1@ INDI\n1 NAME John /Smith/\n") + row.lines + "\n");
        ASSERT_EQ(g.IndivCount, 1);
        EXPECT_EQ(row.field(g.Indiv[1]), row.expected);
        EXPECT_EQ(reader.GedRead.badLines, 0);
    }
}

TEST_F(GedcomReaderTest, FamilySourceAndDroppedEvents) {
    Read("0 @F1@ FAM\n1 SOUR @S4@\n1 ANUL Y\n1 EVEN\n2 DATE 1930\n1 MARR\n2 DATE 1920\n3 TIME 10:00\n"
         "2 SOUR @S5@\n");
    ASSERT_EQ(g.FamilCount, 1);
    EXPECT_EQ(g.Famil[1].fSourXref.value(), "S4");
    EXPECT_EQ(g.Famil[1].fmDate.value(), "1920");
    EXPECT_TRUE(g.Famil[1].fmPlace.blank());
}

TEST_F(GedcomReaderTest, BadValuesAreCountedNotShown) {
    Read("0 @I1@ INDI\n"
         "1 CDP2 12\n"
         "1 CDP2 x-1\n"
         "this is not gedcom\n"
         "1x NAME y\n"
         "123 DEEP\n"
         "\n"
         "   \n");
    EXPECT_EQ(g.Indiv[1].iCDno, 12);
    EXPECT_EQ(g.Indiv[1].iPIDno, 0);
    EXPECT_EQ(reader.GedRead.badLines, 5);
    EXPECT_EQ(reader.GedRead.badLineNos, (std::vector<int32_t>{2, 3, 4, 5, 6}));
    // The first one named with its path as the file spells it.
    EXPECT_EQ(reader.GedRead.firstBadLine, "Problem processing Indiv (ProcessINDI): \nINDI:CDP2: 12\nSubscript out of range");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(GedcomReaderTest, RecordTypeComesFromTheWords) {
    // A blank after the type, or none before the pointer's type, still reads.
    Read("0 @I1@ INDI \n"
         "1 NAME A /B/\n"
         "0 @F1@ FAM \n"
         "1 HUSB @I1@\n"
         "0 HEAD\n"
         "1 FILE other.ged\n"
         "1 SOUR PROG\n");
    EXPECT_EQ(g.IndivCount, 1);
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_EQ(g.Famil[1].fHusb, 1);
    EXPECT_EQ(g.GedSourceCount, 0);  // the header's SOUR is no source record
    EXPECT_TRUE(g.FilePath.empty());
    EXPECT_TRUE(g.FileName.empty());
}

TEST_F(GedcomReaderTest, FamiliesBeforeTheirIndividualsAreLinked) {
    Read("0 @F2@ FAM\n"
         "1 HUSB @I7@\n"
         "1 WIFE @I8@\n"
         "1 CHIL @I9@\n"
         "1 MARR\n"
         "2 DATE 1920\n"
         "2 PLAC Paris\n"
         "1 DIV\n"
         "2 DATE 1930\n"
         "0 @I8@ INDI\n"
         "1 NAME Wife /W/\n"
         "0 @I7@ INDI\n"
         "1 NAME Husb /H/\n"
         "0 @I9@ INDI\n"
         "1 NAME Child /H/\n");
    EXPECT_EQ(g.Famil[1].fHusb, 0);
    ResolveGedLinks();
    EXPECT_EQ(g.Famil[1].fHusb, 2);
    EXPECT_EQ(g.Famil[1].fWife, 1);
    EXPECT_EQ(g.Famil[1].fChilCount, 1);
    EXPECT_EQ(g.Famil[1].fmDate.value(), "1920");
    EXPECT_EQ(g.Famil[1].fmPlace.value(), "Paris");
    // No FAMC line: the family's CHIL line links the child.
    EXPECT_EQ(g.Indiv[3].iFamc, 1);
}

TEST_F(GedcomReaderTest, FamcLinkWinsOverChildLine) {
    Read("0 @I1@ INDI\n"
         "1 FAMC @F2@\n"
         "0 @F1@ FAM\n"
         "1 CHIL @I1@\n"
         "0 @F2@ FAM\n"
         "1 CHIL @I1@\n"
         "0 @I2@ INDI\n");
    ResolveGedLinks();
    EXPECT_EQ(g.Indiv[1].iFamc, 2);
    EXPECT_EQ(g.Indiv[2].iFamc, 0);  // a blank FAMC never matches
}

TEST_F(GedcomReaderTest, NobodyIsHisOwnSpouseOrChild) {
    Read("0 @I1@ INDI\n1 FAMC @F1@\n0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I1@\n1 CHIL @I1@\n"
         "0 @@ INDI\n0 @F2@ FAM\n1 WIFE\n");
    ResolveGedLinks();
    EXPECT_EQ(g.Famil[1].fHusb, 1);
    EXPECT_EQ(g.Famil[1].fWife, 0);
    EXPECT_EQ(g.Indiv[1].iFamc, 0);
    // A blank pointer names nobody, not the record with a blank pointer.
    EXPECT_EQ(g.IndivCount, 2);
    EXPECT_EQ(g.Famil[2].fWife, 0);
}

TEST_F(GedcomReaderTest, NoteLinesKeepTheirBlanks) {
    Read("0 @I1@ INDI\n"
         "1 NOTE Born at \n"
         "2 CONC sea\n"
         "2 CONT  on the Mayflower\n"
         "2 CONT\n"
         "0 @F1@ FAM\n"
         "1 NOTE Wed\n"
         "2 CONC ding\n");
    EXPECT_EQ(NotesOf("I", 1), (std::vector<std::string>{"1 NOTE|Born at ", "2 CONC|sea",
                                                         "2 CONT| on the Mayflower", "2 CONT|"}));
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "Y");
    EXPECT_EQ(NotesOf("F", 1), (std::vector<std::string>{"1 NOTE|Wed", "2 CONC|ding"}));
    EXPECT_EQ(g.Famil[1].fNoteFlg.value(), "Y");
}

TEST_F(GedcomReaderTest, BlankNoteLineFilesNothing) {
    Read("0 @I1@ INDI\n1 NOTE\n1 NOTE   \n2 CONC\n2 CONT  \n"
         "0 @I2@ INDI\n1 NOTE First\n1 NOTE\n2 CONC second\n2 CONT third\n"
         "0 @I3@ INDI\n1 NOTE\n2 CONT\n2 CONC  \n2 CONT Second\n2 CONT\n2 CONC end\n"
         "0 @F1@ FAM\n1 NOTE \n2 CONT\n"
         // Nor does a pointer, or text marked as one: what continues them opens a note.
         "0 @I4@ INDI\n1 NOTE @N5@\n2 CONT\n2 CONT on\n1 NOTE @X@ text\n2 CONC more\n");
    EXPECT_TRUE(NotesOf("I", 1).empty());
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "N");
    // The blank line's first continuation with text opens a note of its own;
    // blank lines later in the note stay.
    EXPECT_EQ(NotesOf("I", 2), (std::vector<std::string>{"1 NOTE|First", "1 NOTE|second", "2 CONT|third"}));
    EXPECT_EQ(NotesOf("I", 3), (std::vector<std::string>{"1 NOTE|Second", "2 CONT|", "2 CONC|end"}));
    EXPECT_TRUE(NotesOf("F", 1).empty());
    EXPECT_EQ(g.Famil[1].fNoteFlg.value(), "N");
    EXPECT_EQ(NotesOf("I", 4), (std::vector<std::string>{"1 NOTE|on", "1 NOTE|more"}));
}

TEST_F(GedcomReaderTest, LongNoteTextContinuesInsteadOfBeingCut) {
    std::string text(300, 'x');
    text[119] = ' ';
    Read("0 @I1@ INDI\n1 NOTE " + text + "\n");
    auto lines = NotesOf("I", 1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "1 NOTE|" + text.substr(0, 120));
    EXPECT_EQ(lines[1], "2 CONC|" + text.substr(120, 120));
    EXPECT_EQ(lines[2], "2 CONC|" + text.substr(240));
}

TEST_F(GedcomReaderTest, NotePointerBringsTheNoteText) {
    Read("0 @N1@ NOTE First line\n"
         "1 CONT second\n"
         "1 CONC  half\n"
         "0 @I1@ INDI\n"
         "1 NOTE @N1@\n"
         "1 NOTE @N2@\n"
         "0 @F1@ FAM\n"
         "1 NOTE @N2@\n"
         "0 @N2@ NOTE\n"
         "1 CONC later\n"
         "0 @I2@ INDI\n"
         "1 NOTE @N9@\n"
         // Blank lines before a note record's text, or nothing but them.
         "0 @N3@ NOTE\n1 CONC\n1 CONT  \n1 CONT Served in the militia\n1 CONT\n"
         "0 @N4@ NOTE \n1 CONT\n"
         "0 @I3@ INDI\n1 NOTE @N3@\n1 NOTE @N4@\n"
         "0 @I4@ INDI\n1 NOTE @N4@\n");
    EXPECT_EQ(g.NotesCount, 0);  // nothing filed until the records are all read
    ResolveGedLinks();
    EXPECT_EQ(NotesOf("I", 1), (std::vector<std::string>{"1 NOTE|First line", "2 CONT|second",
                                                         "2 CONC| half", "1 NOTE|later"}));
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "Y");
    EXPECT_EQ(NotesOf("F", 1), (std::vector<std::string>{"1 NOTE|later"}));
    // A pointer to a note that is not there brings nothing, not the text "N9".
    EXPECT_TRUE(NotesOf("I", 2).empty());
    EXPECT_EQ(g.Indiv[2].iNoteXref.value(), "N9");
    EXPECT_EQ(g.Indiv[2].iNoteFlg.value(), "N");
    EXPECT_EQ(NotesOf("I", 3), (std::vector<std::string>{"1 NOTE|Served in the militia", "2 CONT|"}));
    EXPECT_TRUE(NotesOf("I", 4).empty());
    EXPECT_EQ(g.Indiv[4].iNoteFlg.value(), "N");
}

TEST_F(GedcomReaderTest, SourcesAndRepositoriesKeepWholeIdentifiers) {
    Read("0 @S123@ SOUR\n"
         "1 TITL Parish register\n"
         "1 AUTH Clerk\n"
         "1 PUBL 1850\n"
         "1 ABBR PR\n"
         "1 REPO @REP12@\n"
         "0 @REP12@ REPO\n"
         "1 NAME Archive\n"
         "1 ADDR Main St\n"
         "1 CONT Town\n"
         "0 @REP13@ REPO\n"
         "1 ADDR Side St\n"
         "2 CONT Village\n"
         "2 CONT Second\n");
    ASSERT_EQ(g.GedSourceCount, 1);
    const SourceRec& S = g.GedSource[1];
    EXPECT_EQ(S.sXref, "S123");
    EXPECT_EQ(S.sTitle.value(), "Parish register");
    EXPECT_EQ(S.sAuthor.value(), "Clerk");
    EXPECT_EQ(S.sPublish.value(), "1850");
    EXPECT_EQ(S.sAbbr.value(), "PR");
    EXPECT_EQ(S.sReposXref, "REP12");
    ASSERT_EQ(g.GedRepositoryCount, 2);
    EXPECT_EQ(g.GedRepository[1].rXref, "REP12");
    EXPECT_EQ(g.GedRepository[1].rName.value(), "Archive");
    EXPECT_EQ(g.GedRepository[1].rAddr.value(), "Main St");
    EXPECT_EQ(g.GedRepository[1].rCont.value(), "Town");
    EXPECT_EQ(g.GedRepository[2].rCont.value(), "Village");
}

// A title, author or publisher split over CONC and CONT lines comes back
// whole, as far as the field holds: CONC joins as written, CONT with a blank.
TEST_F(GedcomReaderTest, SourceTextsContinueOnConcAndContLines) {
    Read("0 @S1@ SOUR\n"
         "1 TITL Everything about Tags, But \n"
         "2 CONC Were Afraid to Ask!\n"
         "2 CONT New line\n"
         "1 AUTH Author using lines if \n"
         "2 CONC necessary.\n"
         "1 PUBL Publisher\n"
         "2 CONT \n"
         "2 CONT Town\n"
         "1 REPO @R1@\n"
         "2 CONC ignored\n"
         "1 NOTE x\n"
         "2 CONC y\n"
         "0 @S2@ SOUR\n"
         "1 TITL " + std::string(118, 't') + "\n"
         "2 CONC uvwxyz\n");
    ASSERT_EQ(g.GedSourceCount, 2);
    EXPECT_EQ(g.GedSource[1].sTitle.value(), "Everything about Tags, But Were Afraid to Ask! New line");
    EXPECT_EQ(g.GedSource[1].sAuthor.value(), "Author using lines if necessary.");
    EXPECT_EQ(g.GedSource[1].sPublish.value(), "Publisher  Town");
    EXPECT_EQ(g.GedSource[1].sReposXref, "R1");
    EXPECT_EQ(g.GedSource[2].sTitle.value(), std::string(118, 't') + "uv");
    EXPECT_EQ(reader.GedRead.badLines, 0);
}

TEST_F(GedcomReaderTest, ChangeStampIsKept) {
    Read("0 @I1@ INDI\n1 CHAN\n2 DATE 3 Mar 2005\n3 TIME 9:8:7\n0 @I2@ INDI\n1 CHAN\n2 DATE\n");
    EXPECT_EQ(g.Indiv[1].iChanDate.value(), "3 Mar 2005");
    EXPECT_EQ(g.Indiv[1].iChanTime.value(), "9:8:7");
    EXPECT_EQ(g.Indiv[2].iChanDate.value(), "6 Jan 2006");  // stamped when read
}

TEST_F(GedcomReaderTest, FullIndividualTableSkipsTheRestOfTheRecord) {
    g.IndivCount = kMaxIndiv;
    g.Indiv[kMaxIndiv].iSurn = "Last";
    Read("0 @I1@ INDI\n1 NAME New /Person/\n1 NOTE text\n0 @F1@ FAM\n1 HUSB @I1@\n");
    EXPECT_EQ(g.Indiv[kMaxIndiv].iSurn.value(), "Last");
    EXPECT_EQ(g.NotesCount, 0);
    EXPECT_EQ(reader.GedRead.skippedIndivs, 1);
    EXPECT_EQ(reader.XrefCount, 0);
    EXPECT_EQ(g.FamilCount, 1);
    EXPECT_EQ(g.Famil[1].fHusb, 0);
}

TEST_F(GedcomReaderTest, FullFamilyAndNoteTablesAreCounted) {
    g.FamilCount = kMaxFamil;
    g.NotesCount = kMaxNotes;
    Read("0 @I1@ INDI\n1 NOTE a\n2 CONT b\n0 @F1@ FAM\n1 MARR\n2 DATE 1900\n0 @F2@ FAM\n");
    EXPECT_EQ(reader.GedRead.skippedFamils, 2);
    EXPECT_EQ(reader.GedRead.skippedNotes, 2);
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "N");
    EXPECT_TRUE(g.Famil[kMaxFamil].fmDate.blank());
}

TEST_F(GedcomReaderTest, LevelsAreBoundedAndSkippedLevelsMatchNothing) {
    Read("0 @I1@ INDI\n"
         "1 BIRT\n"
         "3 DATE 1900\n"
         "99 X deep\n"
         "2 PLAC Here\n");
    EXPECT_TRUE(g.Indiv[1].ibDate.blank());
    EXPECT_EQ(g.Indiv[1].ibPlace.value(), "Here");
    EXPECT_EQ(reader.GedRead.badLines, 0);
    EXPECT_LE(reader.GedTagStack.size(), 100u);
}

}  // namespace
}  // namespace lintora
