#include "record_store/utf8_text.h"

#include <string>

#include <gtest/gtest.h>

namespace lintora {
namespace {

TEST(Utf8Text, WalksCharactersAndCutsOnlyBetweenThem) {
    // A, a stray continuation byte, é (2 bytes), € (3 bytes), 𝄞 (4 bytes), z.
    const std::string s = "A\x80\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9Ez";
    std::string walked;
    for (std::size_t i = 0; i < s.size(); i += Utf8CharSize(s, i)) walked += std::to_string(Utf8CharSize(s, i));
    EXPECT_EQ(walked, "112341");
    EXPECT_EQ(Utf8CharSize(s, s.size()), 0u);
    EXPECT_EQ(Utf8Length(s), 6u);
    EXPECT_EQ(Utf8Left(s, 3), "A\x80\xC3\xA9");
    EXPECT_EQ(Utf8Left(s, 99), s);
    EXPECT_EQ(Utf8Mid(s, 4, 1), "\xE2\x82\xAC");
    EXPECT_EQ(Utf8Mid(s, 5), "\xF0\x9D\x84\x9Ez");
    EXPECT_EQ(Utf8Mid(s, 0, 1), "A");  // position 0 reads as 1
    EXPECT_EQ(Utf8Mid(s, 7), "");
}

TEST(Utf8Text, CaseOverAsciiAndLatin1Only) {
    EXPECT_EQ(UpperCase("m\xC3\xBCller \xC3\xA6 \xC3\x9F \xC3\xB7 \xC5\x93"),
              "M\xC3\x9CLLER \xC3\x86 \xC3\x9F \xC3\xB7 \xC5\x93");  // ß, ÷ and œ stay
    EXPECT_EQ(LowerCase("\xC3\x89MILE ZOLA"), "\xC3\xA9mile zola");
    EXPECT_EQ(ProperCase("o'neil-SMITH\t\xC3\xA9MILE"), "O'neil-smith\t\xC3\x89mile");
    EXPECT_TRUE(StartsLowerCase("\xC3\xA9mile"));
    EXPECT_FALSE(StartsLowerCase("\xC3\x89mile"));
    EXPECT_FALSE(StartsLowerCase(""));
}

TEST(Utf8Text, HasSmallLetterSaysWhetherCapitalsWouldChangeTheText) {
    const std::string texts[] = {"", "SMITH", "Smith", "O'BRIEN-JONES", "M\xC3\x9CLLER", "M\xC3\xBCLLER",
                                 "\xC3\x97\xC3\xB7", "STRASSE \xC3\x9F", "\xC3", "\xC3" "a", "\xC3" "A",
                                 "\x80" "a", "\xE2\x82\xAC", "\xE2\x82\xAC" "b", "\xC5\xB8", "1850 /"};
    for (const std::string& t : texts) EXPECT_EQ(HasSmallLetter(t), UpperCase(t) != t) << t;
    EXPECT_FALSE(HasSmallLetter("M\xC3\x9CLLER"));
    EXPECT_TRUE(HasSmallLetter("M\xC3\xBCLLER"));
}

TEST(Utf8Text, BaseLettersSetAccentsAsideOverLatin1AndLatinExtendedA) {
    // Kovács Őrs Łukasz Œuvre Straße Ÿ, then × € and a stray byte, which stay.
    EXPECT_EQ(BaseLetters("Kov\xC3\xA1" "cs \xC5\x90rs \xC5\x81ukasz \xC5\x92uvre Stra\xC3\x9F" "e \xC5\xB8 "
                          "\xC3\x97\xE2\x82\xAC\x80"),
              "KOVACS ORS LUKASZ OEUVRE STRASSE Y \xC3\x97\xE2\x82\xAC\x80");
    EXPECT_EQ(BaseLetterOf("\xC5\xBF"), "S");  // long s, the last letter of the block
    EXPECT_EQ(BaseLetterOf("-"), "");
}

}  // namespace
}  // namespace lintora
