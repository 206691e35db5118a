#include "record_store/notes.h"

#include <string>
#include <vector>

#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "platform/window_ports.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

struct Line {
    std::string tag, text;
    int owner;
};

class NotesTest : public CleanState {
protected:
    void SetUp() override {
        CleanState::SetUp();
        for (int i = 0; i < 3; ++i) AddIndiv();
        AddFamil();
        AddFamil();
    }
    // The lines stored for an owner, in table order.
    std::vector<Line> LinesOf(const std::string& kind, int owner) const {
        std::vector<Line> out;
        for (int k = 1; k <= g.NotesCount; ++k) {
            const NoteRec& n = g.Notes[k];
            if (n.nKind.value() == kind && n.nOwner == owner)
                out.push_back({n.nTag.value(), Utf8Left(n.nText.padded(), n.nLen), n.nOwner});
        }
        return out;
    }
    int32_t StoreIndiv(const std::string& text, int32_t who, const std::string& mode) {
        g.IndivNoteText = text;
        return StoreNotes("I", who, mode);
    }
};

// "Word " repeated: blanks every fifth character.
std::string Words(int length) {
    std::string s;
    while (static_cast<int>(s.size()) < length) s += "Word ";
    s.resize(length);
    if (s.back() == ' ') s.back() = 'x';
    return s;
}

TEST_F(NotesTest, LinesGetTheirPrefixesAndEmptyLinesAreDropped) {
    struct Case {
        std::string text;
        std::vector<std::pair<std::string, std::string>> lines;
    } cases[] = {
        {"a\r\n\r\nb", {{"1 NOTE", "a"}, {"2 CONT", "b"}}},
        {"\r\nfirst\r\nsecond", {{"1 NOTE", "first"}, {"2 CONT", "second"}}},
        {"lf only\nnext", {{"1 NOTE", "lf only"}, {"2 CONT", "next"}}},
        {std::string(89, 'a'), {{"1 NOTE", std::string(89, 'a')}}},
        {std::string(93, 'b'), {{"1 NOTE", std::string(93, 'b')}}},
        {std::string(94, 'c'), {{"1 NOTE", std::string(93, 'c')}, {"2 CONC", "c"}}},
        {"  kept inner  blanks  ", {{"1 NOTE", "kept inner  blanks"}}},
    };
    int32_t who = 1;
    for (const auto& c : cases) {
        ResetProgramState();
        AddIndiv();
        StoreIndiv(c.text, who, "Y");
        std::vector<Line> got = LinesOf("I", who);
        ASSERT_EQ(got.size(), c.lines.size()) << c.text;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].tag, c.lines[i].first) << c.text;
            EXPECT_EQ(got[i].text, c.lines[i].second) << c.text;
        }
        EXPECT_EQ(g.Indiv[who].iNoteFlg.value(), "Y");
    }
}

TEST_F(NotesTest, LongLineIsCutBetweenNonBlanksAndJoinsBack) {
    const std::string line = Words(200);
    StoreIndiv(line, 2, "Y");
    std::vector<Line> got = LinesOf("I", 2);
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[0].tag, "1 NOTE");
    std::string joined;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(got[i].tag, "2 CONC");
        }
        if (i + 1 < got.size()) {
            EXPECT_GE(got[i].text.size(), 90u);
            EXPECT_LE(got[i].text.size(), 93u);
            EXPECT_NE(got[i].text.back(), ' ');
            EXPECT_NE(got[i + 1].text.front(), ' ');
        }
        joined += got[i].text;
    }
    EXPECT_EQ(joined, line);
}

TEST_F(NotesTest, LineWithNoCutPointStaysWithinANoteLine) {
    // Blanks at every other character: no two neighbouring non-blanks.
    std::string line;
    for (int i = 0; i < 150; ++i) line += (i % 2 == 0) ? 'x' : ' ';
    StoreIndiv(line, 1, "Y");
    std::string joined;
    for (const Line& l : LinesOf("I", 1)) {
        EXPECT_LE(l.text.size(), 93u);
        joined += l.text;
    }
    EXPECT_EQ(joined, TrimBlanks(line));
}

TEST_F(NotesTest, PieceLengthOutsideTheLineIsZero) {
    const std::string line = Words(100);
    for (int pos : {0, -5, 101, 500}) {
        int len = 93;
        ConcSplitLen(line, pos, len);
        EXPECT_EQ(len, 0) << pos;
    }
    int len = 100;
    ConcSplitLen(line, 95, len);
    EXPECT_EQ(len, 6);
}

TEST_F(NotesTest, CutsCountCharactersNotBytes) {
    std::string line;
    for (int i = 0; i < 100; ++i) line += "\xC3\xA9";  // é
    StoreIndiv(line, 1, "Y");
    std::vector<Line> got = LinesOf("I", 1);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(Utf8Length(got[0].text), 93u);
    EXPECT_EQ(Utf8Length(got[1].text), 7u);
    EXPECT_EQ(got[0].text + got[1].text, line);
}

TEST_F(NotesTest, AppendAddsSeparatorOnlyAfterALongerLastLine) {
    StoreIndiv("x", 1, "Y");
    StoreIndiv("more", 1, "N");
    std::vector<Line> one = LinesOf("I", 1);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[1].tag, "1 NOTE");
    EXPECT_EQ(one[1].text, "more");

    StoreIndiv("xy", 2, "Y");
    StoreIndiv("later", 2, "N");
    std::vector<Line> two = LinesOf("I", 2);
    ASSERT_EQ(two.size(), 4u);
    EXPECT_EQ(two[1].tag, "1 NOTE");
    EXPECT_EQ(two[1].text, "   ");
    EXPECT_EQ(two[2].tag, "2 CONT");
    EXPECT_EQ(two[2].text, "---");
    EXPECT_EQ(two[3].text, "later");
}

TEST_F(NotesTest, EmptyIndividualTextDetachesOnlyInReplaceMode) {
    StoreIndiv("old", 1, "Y");
    StoreIndiv("", 1, "N");
    EXPECT_EQ(LinesOf("I", 1).size(), 1u);
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "Y");
    StoreIndiv("   ", 1, "Y");
    EXPECT_TRUE(LinesOf("I", 1).empty());
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "N");
    EXPECT_EQ(LinesOf("I", 0).size(), 1u);  // detached, still in the table
}

TEST_F(NotesTest, FamilyStoreSetsOnlyThatFamilysFlag) {
    g.FamilNoteText = "";
    StoreNotes("F", 2, "Y");
    EXPECT_EQ(g.Famil[2].fNoteFlg.value(), "N");
    EXPECT_EQ(g.Famil[1].fNoteFlg.value(), "N");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(g.Indiv[i].iNoteFlg.value(), "N");
    g.FamilNoteText = "married in church";
    EXPECT_EQ(StoreNotes("F", 2, "Y"), 1);
    EXPECT_EQ(LinesOf("F", 2).size(), 1u);
    EXPECT_EQ(g.Famil[2].fNoteFlg.value(), "Y");
    EXPECT_EQ(g.Famil[1].fNoteFlg.value(), "N");
    EXPECT_TRUE(LinesOf("I", 2).empty());
}

TEST_F(NotesTest, SameTextFiledTwiceIsStoredOnce) {
    const std::string text = "Line one\r\nLine two\r\n" + Words(150);
    const int32_t first = StoreIndiv(text, 1, "N");
    EXPECT_GT(first, 0);
    const int32_t count = g.NotesCount;
    EXPECT_EQ(StoreIndiv(text, 1, "N"), 0);
    EXPECT_EQ(g.NotesCount, count);
    // After other notes, the same text still counts as there.
    StoreIndiv("something else", 1, "N");
    const int32_t count2 = g.NotesCount;
    EXPECT_EQ(StoreIndiv(text, 1, "N"), 0);
    EXPECT_EQ(g.NotesCount, count2);
    // Another person with the same text gets it, and a changed text is stored.
    EXPECT_EQ(StoreIndiv(text, 2, "N"), first);
    EXPECT_GT(StoreIndiv("Line one\r\nLine three", 1, "N"), 0);
}

TEST_F(NotesTest, OwnersOutsideTheirTablesStoreNothing) {
    g.IndivNoteText = "text";
    g.FamilNoteText = "text";
    for (int32_t bad : {0, -1, 4, kMaxIndiv + 1}) EXPECT_EQ(StoreNotes("I", bad, "N"), 0);
    for (int32_t bad : {0, 3}) EXPECT_EQ(StoreNotes("F", bad, "N"), 0);
    EXPECT_EQ(StoreNotes("Q", 1, "N"), 0);
    EXPECT_EQ(g.NotesCount, 0);
    EXPECT_EQ(g.Indiv[0].iNoteFlg.value(), "");
}

TEST_F(NotesTest, FullNoteTableSkipsTheRest) {
    // Appending takes what fits and announces the last free line.
    g.NotesCount = kMaxNotes - 2;
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(StoreIndiv("a\r\nb\r\nc\r\nd", 1, "N"), 2);
    EXPECT_EQ(g.NotesCount, kMaxNotes);
    EXPECT_TRUE(ui.Showed("Notes table is full"));
}

TEST_F(NotesTest, ReplacingNeedsRoomForTheWholeText) {
    StoreIndiv("old one\r\nold two", 1, "Y");
    g.NotesCount = kMaxNotes - 2;
    // Four new lines do not fit: the old notes stay attached, with the message.
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(StoreIndiv("a\r\nb\r\nc\r\nd", 1, "Y"), -1);
    EXPECT_TRUE(ui.Showed("Notes table is full"));
    EXPECT_EQ(LinesOf("I", 1).size(), 2u);
    EXPECT_EQ(g.NotesCount, kMaxNotes - 2);
    EXPECT_EQ(g.Indiv[1].iNoteFlg.value(), "Y");
    // Two fit exactly (the last free line is announced).
    ui.Answer(MsgResult::Ok);
    EXPECT_EQ(StoreIndiv("a\r\nb", 1, "Y"), 2);
    ASSERT_EQ(LinesOf("I", 1).size(), 2u);
    EXPECT_EQ(LinesOf("I", 1)[1].text, "b");
}

TEST_F(NotesTest, ReplacingWithTheSameTextAddsNoLines) {
    StoreIndiv("first line\r\n" + Words(200), 1, "Y");
    const int32_t count = g.NotesCount;
    g.CurIndiv = 1;
    for (int i = 0; i < 10; ++i) {
        LoadEditNotes();
        EXPECT_EQ(StoreNotes("I", 1, "Y"), 0);
    }
    EXPECT_EQ(g.NotesCount, count);
    // Blanks around lines and empty lines are no change either.
    EXPECT_EQ(StoreIndiv("  first line \r\n\r\n" + Words(200), 1, "Y"), 0);
    EXPECT_GT(StoreIndiv("first line", 1, "Y"), 0);
}

TEST_F(NotesTest, EmptyFamilyTextClearsTheFamilysFlag) {
    g.FamilNoteText = "family";
    StoreNotes("F", 2, "Y");
    EXPECT_EQ(g.Famil[2].fNoteFlg.value(), "Y");
    g.FamilNoteText = " ";
    EXPECT_EQ(StoreNotes("F", 2, "N"), 0);
    EXPECT_EQ(g.Famil[2].fNoteFlg.value(), "Y");
    StoreNotes("F", 2, "Y");
    EXPECT_EQ(g.Famil[2].fNoteFlg.value(), "N");
    EXPECT_TRUE(LinesOf("F", 2).empty());
}

class NotesWindow : public EditorPort {
public:
    std::string notes, switchCaption, tabCaption;
    void ShowNotes(const std::string& n, const std::string& s, const std::string& t) override {
        notes = n;
        switchCaption = s;
        tabCaption = t;
    }
};

TEST_F(NotesTest, ReloadGivesTheTextBackTrimmedLineByLine) {
    NotesWindow w;
    InstallWindowFakes(&w);
    StoreIndiv("  first  \r\n second\r\n" + Words(120), 1, "Y");
    g.FamilNoteText = "fam";
    StoreNotes("F", 1, "Y");
    g.CurIndiv = 1;
    g.CurFamil = 1;
    g.IndivNoteChanged = "Y";
    LoadEditNotes();
    RemoveWindowFakes();
    EXPECT_EQ(g.IndivNoteText, " first\r\nsecond\r\n" + Words(120));
    EXPECT_EQ(g.FamilNoteText, " fam");
    EXPECT_EQ(g.IndivNoteChanged, "N");
    EXPECT_EQ(w.notes, g.IndivNoteText);
    EXPECT_EQ(w.switchCaption, "Show Family Notes");
    EXPECT_EQ(w.tabCaption, "Notes*");

    // A person without notes: the tab carries no mark.
    InstallWindowFakes(&w);
    g.CurIndiv = 2;
    LoadEditNotes();
    RemoveWindowFakes();
    EXPECT_EQ(w.notes, " ");
    EXPECT_EQ(w.tabCaption, "Notes");
    EXPECT_EQ(g.FamilNoteText, " fam");
}

TEST_F(NotesTest, GatheringEdgeCases) {
    // A vertical tab shows as a line break.
    StoreIndiv(std::string("a\vb"), 1, "Y");
    // Detached lines (owner 0) belong to nobody.
    StoreIndiv("gone", 2, "Y");
    StoreIndiv("", 2, "Y");
    g.FamilNoteText = "detached family";
    StoreNotes("F", 2, "Y");
    g.FamilNoteText = "";
    StoreNotes("F", 2, "Y");

    g.CurIndiv = 1;
    g.CurFamil = 0;
    LoadEditNotes();
    EXPECT_EQ(g.IndivNoteText, " a\r\nb");
    EXPECT_EQ(g.FamilNoteText, " ");

    g.CurIndiv = 0;
    LoadEditNotes();
    EXPECT_EQ(g.IndivNoteText, " ");

    // A very long text is shown whole: a cut would lose the rest at the next save.
    ResetProgramState();
    AddIndiv();
    AddFamil();
    std::string big;
    for (int i = 0; i < 800; ++i) big += std::string(88, 'n') + "\r\n";
    g.IndivNoteText = big;
    g.FamilNoteText = big;
    StoreNotes("I", 1, "Y");
    StoreNotes("F", 1, "Y");
    g.CurIndiv = 1;
    g.CurFamil = 1;
    LoadEditNotes();
    EXPECT_GT(Utf8Length(g.IndivNoteText), 70000u);
    EXPECT_EQ(g.IndivNoteText, g.FamilNoteText);
    EXPECT_EQ(g.FamilNoteOwner, 1);
}

TEST_F(NotesTest, ConcPiecesJoinBeforeTrimmingAndEachNoteHasItsLine) {
    // As a GEDCOM file may hold them: a CONC cut next to a blank, and two NOTEs.
    auto put = [](const char* tag, const std::string& text) {
        const int32_t k = AddNotes();
        g.Notes[k].nKind = "I";
        g.Notes[k].nOwner = 1;
        g.Notes[k].nTag = tag;
        g.Notes[k].nText = text;
        g.Notes[k].nLen = static_cast<int16_t>(text.size());
    };
    put("1 NOTE", "Lived in the old ");
    put("2 CONC", "mill house");
    put("2 CONT", "then moved");
    put("1 NOTE", "Second note");
    g.CurIndiv = 1;
    LoadEditNotes();
    EXPECT_EQ(g.IndivNoteText, " Lived in the old mill house\r\nthen moved\r\nSecond note");
}

}  // namespace
}  // namespace lintora
