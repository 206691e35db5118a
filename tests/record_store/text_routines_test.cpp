#include "record_store/text_routines.h"

#include <string>
#include <vector>

#include "record_store/program_state.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using Fields = std::vector<std::string>;

struct SplitCase {
    std::string text, delimiter;
    Fields expected;
};

TEST(SplitFields, KeepsEmptyFieldsAndTheRestAsLastElement) {
    const std::vector<SplitCase> cases = {
        {"a,,b,", ",", {"a", "", "b", ""}},
        {"abc", ",", {"abc"}},
        {"", ",", {""}},
        {"one  two", "", {"one", "", "two"}},
        {",x", ",", {"", "x"}},
        {"a::b:c", "::", {"a", "b:c"}},
        {"a,~TWA,b,c", ",", {"a", "b,c"}},
        {"Müller,Zoë", ",", {"Müller", "Zoë"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitFields(c.text, c.delimiter), c.expected) << c.text;
}

TEST(NextToken, PopsTheFirstFieldOrReturnsTheStopMarker) {
    std::string text = "a, b, c";
    EXPECT_EQ(NextToken(text, ", "), "a");
    EXPECT_EQ(text, "b, c");
    EXPECT_EQ(NextToken(text, ", "), "b");
    EXPECT_EQ(NextToken(text, ", "), "~TWA");
    EXPECT_EQ(text, "c");
}

TEST(NextToken, EmptyDelimiterEndsALoopThatWaitsForTheStopMarker) {
    std::string text = "a b";
    int rounds = 0;
    while (NextToken(text, "") != kStopMarker && rounds < 5) ++rounds;
    EXPECT_EQ(rounds, 0);
    EXPECT_EQ(text, "a b");
}

TEST(InStrLast, FindsTheLastOccurrence) {
    EXPECT_EQ(InStrLast("a/b/c", "/"), 4u);
    EXPECT_EQ(InStrLast("abc", "/"), 0u);
    EXPECT_EQ(InStrLast("abc", ""), 3u);
    EXPECT_EQ(InStrLast("", "/"), 0u);
    EXPECT_EQ(InStrLast("x--y--z", "--"), 5u);
    // No 32,767-character limit.
    std::string longText(40000, 'a');
    longText += "/b";
    EXPECT_EQ(InStrLast(longText, "/"), 40001u);
}

struct ReplaceCase {
    std::string text, search, replacement, expected;
};

TEST(ReplaceAll, ReplacesEveryOccurrenceAndRetrims) {
    const std::vector<ReplaceCase> cases = {
        {" a.b. ", ".", "", "ab"},
        {"x - y", " - ", "-", "x-y"},
        {"a    b  c", "  ", " ", "a b c"},
        {"  a  ", "", "x", "a"},
        {"-a-", "-", "", "a"},
        {"x -y", "-", "", "x y"},
        {"a,b", ",", " , ", "a , b"},
        {"...", ".", "", ""},
        {"é.è", ".", "", "éè"},
        // A removal or insertion that completes a match with what follows
        // is matched again, and blanks left at either end go at once.
        {"aabcbc", "abc", "", ""},
        {"xaabcbcy", "abc", "", "xy"},
        {"aaaa", "aa", "a", "a"},
        {"ab  c", "ab", "", "c"},
        {"c  ab", "ab", "", "c"},
        {"a.b", "a.", " ", "b"},
        {"a . b", ".", "", "a  b"},
        {"* * *", "*", "", ""},
        {"x**y", "*", "", "xy"},
        {"abab", "ab", "b", "bb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement), c.expected)
            << c.text << " [" << c.search << "->" << c.replacement << "]";
}

TEST(ReplaceAll, LongRunsOfTheSearchText) {
    EXPECT_EQ(ReplaceAll(std::string(400000, '*'), "*", ""), "");
    EXPECT_EQ(ReplaceAll("a" + std::string(100001, ' ') + "b", "  ", " "), "a b");
    EXPECT_EQ(ReplaceAll(std::string(80000, '.') + "x", ".", ""), "x");
    EXPECT_EQ(ReplaceAll(std::string(1000, '-'), "-", "+"), std::string(1000, '+'));
}

TEST(ReplaceAll, EndsWhenTheReplacementHoldsTheSearchText) {
    EXPECT_EQ(ReplaceAll("a b", "a", "aa"), "aa b");
    EXPECT_EQ(ReplaceAll("x x", "x", " x "), "x   x");
    EXPECT_EQ(ReplaceAll("ab", "b", "b"), "ab");
    EXPECT_EQ(ReplaceAll("--", "-", "--"), "----");
}

struct SplitAtCase {
    std::string text, delimiter, before, after;
};

TEST(SplitAtFirst, SplitsTheTrimmedTextAtTheFirstDelimiter) {
    const std::vector<SplitAtCase> cases = {
        {"  Smith, John ", ",", "Smith", " John"},
        {"  Smith John ", ",", "  Smith John ", ""},
        {"   ", ",", "", ""},
        {" a b ", "", " a b ", ""},
        {"Smith,", ",", "Smith", ""},
        {",x,y", ",", "", "x,y"},
    };
    for (const auto& c : cases) {
        std::string before = "old", after = "old";
        SplitAtFirst(c.text, c.delimiter, before, after);
        EXPECT_EQ(before, c.before) << c.text;
        EXPECT_EQ(after, c.after) << c.text;
    }
}

TEST(SplitAtFirst, TextMayBeOneOfItsOwnOutputs) {
    std::string name = " Smith, John", rest;
    SplitAtFirst(name, ",", name, rest);
    EXPECT_EQ(name, "Smith");
    EXPECT_EQ(rest, " John");
    std::string word = " Smith ", other;
    SplitAtFirst(word, ",", other, word);
    EXPECT_EQ(other, " Smith ");
    EXPECT_EQ(word, "");
}

class AppendNoteLineTest : public testing::CleanState {};

TEST_F(AppendNoteLineTest, ChoosesTheSeparatorByTheLineAndTheNextLine) {
    const std::string fifty(50, 'x');
    struct Case {
        std::string line, next, expected;
    };
    const std::vector<Case> cases = {
        {"A sentence.", std::string(60, 'y'), "A sentence.\r\n"},
        {"  Trailing dots..", "next", "Trailing dots.. "},
        {"", "next", "\r\n"},
        {"   ", "next", "\r\n"},
        {fifty, std::string(10, 'y'), fifty + " "},
        {fifty, " ab ", fifty + "\r\n"},
        {"Short line", std::string(60, 'y'), "Short line\r\n"},
        // 39 characters, 78 bytes: still a short line.
        {[] { std::string s; for (int i = 0; i < 39; ++i) s += "é"; return s; }(), "next line",
         [] { std::string s; for (int i = 0; i < 39; ++i) s += "é"; return s + "\r\n"; }()},
    };
    for (const auto& c : cases) {
        g.PageScratch.pgNotes.clear();
        AppendNoteLine(c.line, c.next);
        EXPECT_EQ(g.PageScratch.pgNotes, c.expected) << c.line;
    }
}

TEST_F(AppendNoteLineTest, StopsOnceTheNotesAreFull) {
    g.PageScratch.pgNotes = std::string(kMaxPageNotes, 'n');
    AppendNoteLine("One more.", "");
    EXPECT_EQ(g.PageScratch.pgNotes.size(), kMaxPageNotes + 11);
    AppendNoteLine("Ignored.", "");
    EXPECT_EQ(g.PageScratch.pgNotes.size(), kMaxPageNotes + 11);

    // The limit counts characters, not bytes.
    g.PageScratch.pgNotes.clear();
    for (std::size_t i = 0; i < kMaxPageNotes / 2; ++i) g.PageScratch.pgNotes += "é";
    AppendNoteLine("Kept.", "");
    EXPECT_NE(g.PageScratch.pgNotes.find("Kept."), std::string::npos);
}

// The notes keep their character count through every kind of change; a
// piece may finish a character the text before it began.
TEST_F(AppendNoteLineTest, NotesKeepTheirCharacterCount) {
    PageNotesText n;
    const std::vector<std::string> pieces = {"abc", "\xC3", "\xA9", "\x80\x80", "x\xA9", "", "\xE2\x82", "\xAC."};
    std::string whole;
    for (const auto& piece : pieces) {
        n += piece;
        whole += piece;
        EXPECT_EQ(n.chars(), Utf8Length(whole)) << whole;
    }
    n += '\xA9';
    EXPECT_EQ(n.chars(), Utf8Length(whole + "\xA9"));
    n = std::string("\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(n.chars(), 3u);
    n.clear();
    n += "\xA9";
    EXPECT_EQ(n.chars(), 1u);

    // A long page: the limit still falls on the same line as by a recount.
    g.PageScratch.pgNotes.clear();
    const std::string line = "Ein \xC3\xA4lterer Eintrag aus dem Kirchenbuch der Gemeinde, Seite 12";
    std::size_t lines = 0;
    while (lines < 5000) {
        const std::size_t before = g.PageScratch.pgNotes.size();
        AppendNoteLine(line, line);
        if (g.PageScratch.pgNotes.size() == before) break;
        ++lines;
        EXPECT_EQ(g.PageScratch.pgNotes.chars(), Utf8Length(g.PageScratch.pgNotes.str()));
    }
    const std::size_t perLine = Utf8Length(line) + 1;
    EXPECT_EQ(lines, kMaxPageNotes / perLine + 1);
}

TEST(LetterCase, CoversAsciiAndLatin1Letters) {
    EXPECT_EQ(UpperCase("école été ÿ ß x÷y"), "ÉCOLE ÉTÉ ÿ ß X÷Y");
    EXPECT_EQ(LowerCase("ÉCOLE ÀÖ×Ø"), "école àö×ø");
    EXPECT_EQ(UpperCase("Łódź"), "ŁÓDź");  // Ł and ź lie outside Latin-1
    EXPECT_EQ(ProperCase("éMILE de la CROIX\tjr\nnew"), "Émile De La Croix\tJr\nNew");
    EXPECT_EQ(ProperCase("o'brien 1st"), "O'brien 1st");
    EXPECT_TRUE(StartsLowerCase("of"));
    EXPECT_TRUE(StartsLowerCase("église"));
    EXPECT_FALSE(StartsLowerCase("Église"));
    EXPECT_FALSE(StartsLowerCase("1850"));
    EXPECT_FALSE(StartsLowerCase(""));
}

}  // namespace
}  // namespace lintora
