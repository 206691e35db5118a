#include "record_store/name_parsing.h"

#include <string>
#include <vector>

#include "record_store/fixed_text.h"
#include "record_store/name_key.h"
#include "record_store/program_state.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

const std::string kBlankHalf(10, ' ');

struct NameRow {
    std::string fullName;
    std::string surnameCase;  // setting in force before the call
    std::string given, surname, prefix, suffix, title, nickname, key;
};

class ParseNamePartsTest : public CleanState {
protected:
    void Check(const std::vector<NameRow>& rows) {
        for (const auto& r : rows) {
            g.SurnameCase = r.surnameCase;
            const NameParts p = ParseNameParts(r.fullName);
            EXPECT_EQ(p.given, r.given) << r.fullName;
            EXPECT_EQ(p.surname, r.surname) << r.fullName;
            EXPECT_EQ(p.prefix, r.prefix) << r.fullName;
            EXPECT_EQ(p.suffix, r.suffix) << r.fullName;
            EXPECT_EQ(p.title, r.title) << r.fullName;
            EXPECT_EQ(p.nickname, r.nickname) << r.fullName;
            if (!r.key.empty()) {
                EXPECT_EQ(p.key, r.key) << r.fullName;
            }
        }
    }
};

TEST_F(ParseNamePartsTest, SplitsTheWorkedExamples) {
    Check({
        // full name, case, given, surname, prefix, suffix, title, nickname, key
        {"John Smith", "M", "John", "Smith", "", "", "", "", "J500000000S530000000"},
        {"SMITH", "M", "", "SMITH", "", "", "", "", kBlankHalf + "S530000000"},
        {"Mary", "M", "Mary", "", "", "", "", "", "M600000000" + kBlankHalf},
        {"John Smith, Jr", "M", "John", "Smith", "", "Jr", "", "", ""},
        {"John Smith, Esq", "M", "John", "Smith", "", "", "Esq", "", ""},
        {"John Smith Jr", "M", "John", "Smith", "", "Jr", "", "", ""},
        {"John Smith, Jr, Esq", "M", "John", "Smith", "", "Jr", "Esq", "", ""},
        {"John Henry I", "M", "John", "Henry", "", "I", "", "", ""},
        {"John I Smith", "M", "John I", "Smith", "", "", "", "", ""},
        {"Capt John Smith", "M", "John", "Smith", "Capt", "", "", "", ""},
        {"Lt. Col. John Smith", "M", "John", "Smith", "Col", "", "", "", ""},
        {"Sir John Smith", "M", "John", "Smith", "", "", "Sir", "", ""},
        {"Mary (Polly) Smith", "M", "Mary", "Smith", "", "", "", "Polly", ""},
        {"John \"jack\" Smith", "M", "John", "Smith", "", "", "", "Jack", ""},
        {"Mary Ann VAN DYKE", "U", "Mary Ann", "VAN DYKE", "", "", "", "", ""},
        {"Mary Ann VAN DYKE", "P", "Mary Ann", "Van Dyke", "", "", "", "", ""},
        {"John J Smith", "M", "John J", "Smith", "", "", "", "", ""},
        {"Mary Smith - Jones", "M", "Mary", "Smith - Jones", "", "", "", "", ""},
        {"mary jones", "P", "Mary", "Jones", "", "", "", "", ""},
        {"mary jones", "M", "Mary", "jones", "", "", "", "", ""},
        {"Mary Jones", "U", "Mary", "JONES", "", "", "", "", ""},
        {"JOHN HENRY SMITH", "U", "John Henry", "SMITH", "", "", "", "", ""},
        {"john smith-jones", "P", "John", "Smith-Jones", "", "", "", "", ""},
        {"Smith", "M", "Smith", "", "", "", "", "", "S530000000" + kBlankHalf},
        {"Sir", "M", "", "Sir", "", "", "", "", ""},
        {"   ", "M", "", "", "", "", "", "", std::string(20, ' ')},
    });
}

TEST_F(ParseNamePartsTest, FirstNameParsedDecidesTheSurnameCase) {
    struct Row {
        std::string first, decided, later, laterSurname;
    };
    const std::vector<Row> rows = {
        {"JOHN SMITH", "U", "Mary Jones", "JONES"},
        {"John Smith", "M", "mary jones", "jones"},
        {"john smith", "P", "mary jones", "Jones"},
        {"Mary Ann VAN DYKE", "U", "Ann Lee", "LEE"},
        // A placeholder for a missing name is not the user's writing.
        {"<unknown>", " ", "JOHN SMITH", "SMITH"},
        {"<UNKNOWN>", " ", "john smith", "Smith"},
    };
    for (const auto& r : rows) {
        g.SurnameCase = " ";
        ParseNameParts(r.first);
        EXPECT_EQ(g.SurnameCase, r.decided) << r.first;
        EXPECT_EQ(ParseNameParts(r.later).surname, r.laterSurname) << r.first;
    }
}

TEST_F(ParseNamePartsTest, KeyKeepsBothHalvesAtTheirPlace) {
    g.SurnameCase = "M";
    for (std::string name : {"SMITH", "1850 Smith", "(Mrs) SMITH"}) {
        const NameParts p = ParseNameParts(name);
        EXPECT_EQ(p.key, kBlankHalf + "S530000000") << name;
        // Stored in the record field it reads back the same at full width.
        FixedText<20> stored = p.key;
        EXPECT_EQ(stored.padded(), p.key) << name;
    }
    EXPECT_EQ(ParseNameParts("Mary 123").key, "M600000000" + kBlankHalf);
}

TEST_F(ParseNamePartsTest, MrsIsKeptInTheGivenNamesButNotInTheKey) {
    Check({
        {"Mary (Mrs) Smith", "M", "Mrs Mary", "Smith", "", "", "", "", "M600000000S530000000"},
        {"Mary (mrs) Smith", "M", "Mrs Mary", "Smith", "", "", "", "", "M600000000S530000000"},
        {"Mrs. Mary Smith", "M", "Mrs Mary", "Smith", "", "", "", "", "M600000000S530000000"},
        {"(Mrs) SMITH", "M", "Mrs", "SMITH", "", "", "", "", kBlankHalf + "S530000000"},
    });
}

// Faults of the plain rules that would lose or garble a name part.
TEST_F(ParseNamePartsTest, KeepsPartsThePlainRulesWouldLose) {
    Check({
        // A lone apostrophe leaves the nickname in parentheses alone.
        {"Mary (Polly) O'Brien", "M", "Mary", "O'Brien", "", "", "", "Polly", ""},
        // Apostrophes inside words are no quotes.
        {"D'Arcy O'Brien", "M", "D'arcy", "O'Brien", "", "", "", "", ""},
        {"John 'jack' O'Brien", "M", "John", "O'Brien", "", "", "", "Jack", ""},
        {"Mary 'Polly O'Brien", "M", "Mary 'polly", "O'Brien", "", "", "", "", ""},
        // A quoted nickname may stand right before a comma.
        {"John Smith 'Jack', Jr", "M", "John", "Smith", "", "Jr", "", "Jack", ""},
        // A surname in capitals with a suffix stays the surname.
        {"SMITH, JR", "M", "", "SMITH", "", "Jr", "", "", kBlankHalf + "S530000000"},
        {"SMITH JR", "M", "", "SMITH", "", "Jr", "", "", ""},
        // Roman numerals stay in capitals.
        {"John Smith III", "M", "John", "Smith", "", "III", "", "", ""},
        {"John Smith, iv", "M", "John", "Smith", "", "IV", "", "", ""},
        // A lone hyphenated given name keeps its second capital.
        {"Mary-Ann", "M", "Mary-Ann", "", "", "", "", "", ""},
        // Empty words left by a removed nickname add no blanks.
        {"Mary (Polly) Ann VAN DYKE", "U", "Mary Ann", "VAN DYKE", "", "", "", "Polly", ""},
    });
}

TEST_F(ParseNamePartsTest, WorksOnCharactersNotBytes) {
    std::string longNick;
    for (int i = 0; i < 130; ++i) longNick += "é";
    Check({
        {"JOSÉ ÁLVAREZ", " ", "José", "ÁLVAREZ", "", "", "", "", ""},
        {"élodie durand", "P", "Élodie", "Durand", "", "", "", "", ""},
        {"marie-élise dupont", "P", "Marie-Élise", "Dupont", "", "", "", "", ""},
        // É is one character: an initial, not a surname in capitals.
        {"Anne É Smith", "M", "Anne É", "Smith", "", "", "", "", ""},
        {"Anne É", "M", "Anne É", "", "", "", "", "", ""},
        {"Ève ÉD Smith", "M", "Ève", "ÉD Smith", "", "", "", "", ""},
    });
    g.SurnameCase = "M";
    const NameParts p = ParseNameParts("Ann (" + longNick + ") Lee");
    EXPECT_EQ(Utf8Length(p.nickname), 120u);
    EXPECT_EQ(p.nickname, "É" + longNick.substr(0, 119 * 2));
}

TEST_F(ParseNamePartsTest, ReferenceFormFillsEveryOutput) {
    g.SurnameCase = "M";
    std::string surname = "x", given = "x", prefix = "x", suffix = "x", title = "x", nick = "x", key = "x";
    ParseNameParts("Sgt John Smith, Jr", surname, given, prefix, suffix, title, nick, key);
    EXPECT_EQ(surname, "Smith");
    EXPECT_EQ(given, "John");
    EXPECT_EQ(prefix, "Sgt");
    EXPECT_EQ(suffix, "Jr");
    EXPECT_EQ(title, "");
    EXPECT_EQ(nick, "");
    EXPECT_EQ(key, "J500000000S530000000");
}

TEST(NameKeyOf, GivenHalfIsTheFirstWordThatIsNoMarriedTitle) {
    const std::string smith = NameKeyHalf("Smith");
    EXPECT_EQ(NameKeyOf("Mary Ann", "Smith"), NameKeyHalf("Mary") + smith);
    EXPECT_EQ(NameKeyOf("  Mrs  mrs Mary", "Smith"), NameKeyHalf("Mary") + smith);
    EXPECT_EQ(NameKeyOf("MRS", "Smith"), NameKeyHalf("") + smith);
    EXPECT_EQ(NameKeyOf("", ""), std::string(20, ' '));
    EXPECT_EQ(NameKeyOf("Mrsa Jane", "Smith"), NameKeyHalf("Mrsa") + smith);
    // After the stop marker the rest counts as one word.
    EXPECT_EQ(NameKeyOf("Mrs ~TWA Jane Ann", "Smith"), NameKeyHalf("Jane Ann") + smith);
    EXPECT_EQ(NameKeyOf("Mrs ~TWA", "Smith"), NameKeyHalf("~TWA") + smith);  // as the last word, a word
}

}  // namespace
}  // namespace lintora
