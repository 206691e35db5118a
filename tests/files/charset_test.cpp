#include "files/charset.h"

#include <gtest/gtest.h>

#include <string>

namespace lintora {
namespace {

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

// Every spacing character of ANSEL with the character it stands for.
struct SpacingCase {
    int code;
    const char* utf8;
};
const SpacingCase kSpacingCases[] = {
    {0xA1, "Ł"}, {0xA2, "Ø"}, {0xA3, "Đ"}, {0xA4, "Þ"}, {0xA5, "Æ"}, {0xA6, "Œ"},
    {0xA7, "ʹ"}, {0xA8, "·"}, {0xA9, "♭"}, {0xAA, "®"}, {0xAB, "±"}, {0xAC, "Ơ"},
    {0xAD, "Ư"}, {0xAE, "ʼ"}, {0xB0, "ʻ"}, {0xB1, "ł"}, {0xB2, "ø"}, {0xB3, "đ"},
    {0xB4, "þ"}, {0xB5, "æ"}, {0xB6, "œ"}, {0xB7, "ʺ"}, {0xB8, "ı"}, {0xB9, "£"},
    {0xBA, "ð"}, {0xBC, "ơ"}, {0xBD, "ư"}, {0xBE, "□"}, {0xBF, "■"}, {0xC0, "°"},
    {0xC1, "ℓ"}, {0xC2, "℗"}, {0xC3, "©"}, {0xC4, "♯"}, {0xC5, "¿"}, {0xC6, "¡"},
    {0xC8, "€"}, {0xCF, "ß"},
};

TEST(AnselSpacing, EveryCodeReadsAndWritesItsCharacter) {
    for (const auto& c : kSpacingCases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(AnselToUtf8(Byte(c.code)), c.utf8);
        EXPECT_EQ(Utf8ToAnsel(c.utf8), Byte(c.code));
    }
}

TEST(AnselSpacing, ReadOnlyCodesWriteTheirUsualForm) {
    EXPECT_EQ(AnselToUtf8(Byte(0xC7)), "ß");
    EXPECT_EQ(Utf8ToAnsel("ß"), Byte(0xCF));
    EXPECT_EQ(AnselToUtf8(Byte(0xCD) + Byte(0xCE)), "eo");
    EXPECT_EQ(AnselToUtf8("a" + Byte(0x88) + "b" + Byte(0x89)), "ab");
    EXPECT_EQ(SpellInAnsel("Ð").lost, "Ð");  // the code of Đ would read back as Đ
}

// Each mark code with the Unicode combining mark it stands for.
const std::pair<int, const char*> kMarkCases[] = {
    {0xE0, "\u0309"}, {0xE1, "\u0300"}, {0xE2, "\u0301"}, {0xE3, "\u0302"}, {0xE4, "\u0303"},
    {0xE5, "\u0304"}, {0xE6, "\u0306"}, {0xE7, "\u0307"}, {0xE8, "\u0308"}, {0xE9, "\u030C"},
    {0xEA, "\u030A"}, {0xEB, "\uFE20"}, {0xEC, "\uFE21"}, {0xED, "\u0315"}, {0xEE, "\u030B"},
    {0xEF, "\u0310"}, {0xF0, "\u0327"}, {0xF1, "\u0328"}, {0xF2, "\u0323"}, {0xF3, "\u0324"},
    {0xF4, "\u0325"}, {0xF5, "\u0333"}, {0xF6, "\u0332"}, {0xF7, "\u0326"}, {0xF8, "\u031C"},
    {0xF9, "\u032E"}, {0xFA, "\uFE22"}, {0xFB, "\uFE23"}, {0xFE, "\u0313"},
};

TEST(AnselMarks, EveryMarkOnEveryLetterRoundTrips) {
    for (const auto& [code, mark] : kMarkCases) {
        for (char letter : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) {
            std::string ansel = Byte(code) + letter;
            std::string utf8 = AnselToUtf8(ansel);
            SCOPED_TRACE(ansel);
            EXPECT_TRUE(IsValidUtf8(utf8));
            EXPECT_EQ(Utf8ToAnsel(utf8), ansel);
            // Decomposed input writes the same bytes as precomposed input.
            EXPECT_EQ(Utf8ToAnsel(std::string(1, letter) + mark), ansel);
        }
    }
}

TEST(AnselMarks, LettersAreComposedWhereUnicodeHasThem) {
    const std::pair<std::string, std::string> cases[] = {
        {Byte(0xE2) + "e", "é"},
        {"M" + Byte(0xE8) + "uller", "Müller"},
        {Byte(0xE9) + "Capek", "Čapek"},
        {Byte(0xF0) + "c", "ç"},
        {Byte(0xE8) + Byte(0xE2) + "u", "ǘ"},           // two marks on one letter
        {Byte(0xE2) + Byte(0xB1), "ł\u0301"},           // no precomposed form
        {Byte(0xE2) + Byte(0xB2), "ǿ"},
        {Byte(0xEB) + "t" + Byte(0xEC) + "s", "t\uFE20s\uFE21"},
    };
    for (const auto& [ansel, utf8] : cases) {
        EXPECT_EQ(AnselToUtf8(ansel), utf8);
        EXPECT_EQ(Utf8ToAnsel(utf8), ansel);
    }
}

TEST(AnselBytes, EveryByteReadsAsValidText) {
    for (int b = 0; b < 256; ++b) {
        std::string utf8 = AnselToUtf8(Byte(b) + "a");
        EXPECT_TRUE(IsValidUtf8(utf8)) << b;
        EXPECT_FALSE(utf8.empty()) << b;
        if (b < 0x80) {
            EXPECT_EQ(utf8, Byte(b) + "a");
        }
    }
    // Codes ANSEL leaves undefined.
    for (int b : {0x80, 0x9F, 0xA0, 0xAF, 0xBB, 0xC9, 0xD0, 0xDF, 0xFC, 0xFD, 0xFF})
        EXPECT_EQ(AnselToUtf8(Byte(b)), "\uFFFD") << b;
    EXPECT_EQ(AnselToUtf8("x" + Byte(0xE2)), "x\u0301");  // a mark with no letter after it
}

TEST(AnselFallback, CharactersWithoutAnselFormBecomeAscii) {
    const std::pair<std::string, std::string> cases[] = {
        {"\u201CHi\u201D", "\"Hi\""}, {"a\u2013b", "a-b"}, {"\u2039a\u00ADb\u203A", "'ab'"},
        {"\u0133", "ij"}, {"\u2026", "..."}, {"\u0416", "?"}, {"\u03A9", "?"},
        {"\u00A0", " "}, {"\u0301x", "x"},
    };
    for (const auto& [utf8, ansel] : cases) EXPECT_EQ(Utf8ToAnsel(utf8), ansel) << utf8;
    // Nothing outside ASCII and the ANSEL codes is ever written.
    std::string all;
    for (char32_t cp = 0x80; cp < 0x2200; ++cp) AppendUtf8(all, cp);
    std::string ansel = Utf8ToAnsel(all);
    EXPECT_TRUE(IsValidUtf8(AnselToUtf8(ansel)));
    // Invalid UTF-8 is read as Windows-1252.
    EXPECT_EQ(Utf8ToAnsel("Jos" + Byte(0xE9)), "Jos" + Byte(0xE2) + "e");
}

// What ANSEL holds, spelt out or not, against what it cannot hold at all:
// text that fits is never written with "?", and the first letter that does
// not fit is named with its marks.
TEST(AnselFit, FirstLetterAnselCannotHold) {
    const std::pair<std::string, std::string> cases[] = {
        {"José Müller, Köln, ß Ø ł đ ơ ư € Dvořák Erdős m\u0304", ""}, {"Jos" + Byte(0xE9), ""},  // a stray byte: é
        {"Jose\u0301 Mu\u0308ller", "e\u0301"},  // comes back as the one letter é, other bytes
        {"Köln ǿ … Nguyễn", "ǿ"},  // a mark on ANSEL's own ø
        {"\u201CDas Haus\u201D \u2013 1850\u2026 \u0133 \u01C9 \u00A0\u00AD", ""},
        {"Lot 12\u00B23", "\u00B2"}, {"1\u00BD", "\u00BD"}, {"\uFB01ne \u017F", "\uFB01"},  // no ASCII spelling
        {"Ivan Иван", "И"}, {"王小明", "王"}, {"Ωmega", "Ω"}, {"\U0001F600", "\U0001F600"}, {"\u00A4", "\u00A4"},
        {"Ħal", "Ħ"}, {"x\u0331y", "x\u0331"}, {"\u0301x", "\u0301"},  // no H; marks ANSEL lacks or nothing carries
    };
    for (const auto& [utf8, missing] : cases) EXPECT_EQ(SpellInAnsel(utf8).lost, missing) << utf8;
    for (char32_t cp = 0x80; cp < 0x2200; ++cp) {
        std::string one, marked = "a";
        AppendUtf8(one, cp);
        AppendUtf8(marked, cp);
        for (const std::string& s : {one, marked}) {
            if (SpellInAnsel(s).lost.empty()) {
                EXPECT_EQ(Utf8ToAnsel(s).find('?'), std::string::npos) << s;
            }
        }
    }
}

// Readers of ANSEL know one mark on a plain letter: a letter that ANSEL
// spells with two marks, or with a mark on one of its own letters, does not
// fit, whether it comes precomposed or as a letter with combining marks,
// and whether the quick verdict for letters below U+0250 or the letter by
// letter one decides.
TEST(AnselFit, OneMarkOnAPlainLetterOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"Nguyễn", "ễ"}, {"Trần", "ầ"}, {"Việt", "ệ"}, {"Đức Thắng", "ứ"}, {"Lǚ", "ǚ"},
        {"O\u0323\u0300s\u0323un", "O\u0323\u0300"},  // Ọ̀ṣun
        {"ḗ", "ḗ"}, {"Ǻ", "Ǻ"}, {"ớ", "ớ"}, {"ǽ", "ǽ"}, {"ǿ", "ǿ"}, {"ø\u0301", "ø\u0301"},
        {"Tomás Ruiz, José, Łódź, Ørsted, ẹ, ṣ, ạ, m\u0304, ư, Đ", ""},
    };
    for (const auto& [utf8, missing] : cases) EXPECT_EQ(SpellInAnsel(utf8).lost, missing) << utf8;
    // "ʹ" (U+02B9, an ANSEL sign) sends every text past the quick verdict.
    for (char32_t cp = 0x80; cp < 0x250; ++cp) {
        std::string one;
        AppendUtf8(one, cp);
        EXPECT_EQ(SpellInAnsel(one).lost, SpellInAnsel(one + "ʹ").lost) << one;
    }
    // Old files spell such letters with two marks; they still read back.
    EXPECT_EQ(AnselToUtf8("Nguy" + Byte(0xE3) + Byte(0xE4) + "en " + Byte(0xE2) + Byte(0xBD)), "Nguyễn ứ");
}

TEST(Utf8Repair, StrayBytesReadAsWindows1252) {
    EXPECT_EQ(Utf8Repaired("Иван"), "Иван");
    EXPECT_EQ(Utf8Repaired("Jos" + Byte(0xE9) + " Иван" + Byte(0x93)), "José Иван\u201C");
    EXPECT_EQ(Utf8Repaired(Byte(0xD0)), "Ð");  // a sequence cut short
}

TEST(Windows1252, HighBytes) {
    EXPECT_EQ(Windows1252ToUtf8(Byte(0x80)), "€");
    EXPECT_EQ(Windows1252ToUtf8(Byte(0x93) + "x" + Byte(0x94)), "\u201Cx\u201D");
    EXPECT_EQ(Windows1252ToUtf8("Jos" + Byte(0xE9)), "José");
    EXPECT_EQ(Windows1252ToUtf8(Byte(0x81)), "\u0081");
    for (int b = 0; b < 256; ++b) EXPECT_TRUE(IsValidUtf8(Windows1252ToUtf8(Byte(b)))) << b;
    EXPECT_EQ(ToUtf8("José"), "José");
    EXPECT_EQ(ToUtf8("Jos" + Byte(0xE9)), "José");
}

// Files of DOS programs: the whole upper half of code page 437, box drawing
// and Greek included; control characters stay what they are.
TEST(CodePage437, UpperHalf) {
    std::string high;
    for (int b = 0x80; b < 0x100; ++b) high += Byte(b);
    EXPECT_EQ(Cp437ToUtf8(high),
              "ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
              "└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0");
    EXPECT_EQ(Cp437ToUtf8("Zo\x89 M\x81ller\x0F\x7F"), "Zoë Müller\x0F\x7F");
}

TEST(Utf16, ByteOrders) {
    using namespace std::string_literals;
    EXPECT_EQ(Utf16ToUtf8("\xFF\xFE" "A\0\xE9\0"s), "Aé");
    EXPECT_EQ(Utf16ToUtf8("\xFE\xFF\0A\0\xE9"s), "Aé");
    EXPECT_EQ(Utf16ToUtf8("A\0"s), "A");                              // no mark: little-endian
    EXPECT_EQ(Utf16ToUtf8("\xFF\xFE\x3D\xD8\x00\xDE"s), "\U0001F600");  // surrogate pair
    EXPECT_EQ(Utf16ToUtf8("\xFF\xFE\x3D\xD8" "A\0"s), "\uFFFDA");      // unpaired high
    EXPECT_EQ(Utf16ToUtf8("\xFF\xFE\x00\xDE"s), "\uFFFD");             // lone low
    EXPECT_EQ(Utf16ToUtf8("\xFF\xFE" "A\0B"s), "A\uFFFD");             // odd last byte
}

TEST(Utf8Check, WellFormedAndIllFormed) {
    const std::pair<std::string, bool> cases[] = {
        {"", true}, {"plain", true}, {"é€\U0001F600", true},
        {"\xC0\x80", false}, {"\xE0\x80\x80", false}, {"\xED\xA0\x80", false},
        {"\xF4\x90\x80\x80", false}, {"\xC3", false}, {"\x80", false}, {"\xFF", false},
        {"\xF0\x9F\x98", false},
    };
    for (const auto& [s, ok] : cases) EXPECT_EQ(IsValidUtf8(s), ok) << s;
}

}  // namespace
}  // namespace lintora
