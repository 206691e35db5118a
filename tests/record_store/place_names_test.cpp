#include "record_store/place_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lintora {
namespace {

using PlaceCases = std::vector<std::pair<std::string, std::string>>;

void ExpectNormalized(const PlaceCases& cases) {
    for (const auto& [text, expected] : cases) EXPECT_EQ(NormalizePlace(text), expected) << text;
}

TEST(NormalizePlace, GivesTheWorkedExamples) {
    ExpectNormalized({
        {"East Boston Suffolk Massachusetts", "East Boston, Suffolk, Massachusetts"},
        {"Suffolk County Massachusetts", "Suffolk County, Massachusetts"},
        {"St Louis Missouri", "St Louis, Missouri"},
        {"Oak Hill Cemetery Ohio", "Oak, Hill Cemetery, Ohio"},
        {"Isle of Man", "Isle, Man"},
        {"Boston 1850", "Boston"},
        {"Boston, Suffolk, MASSACHUSETTS 02134", "Boston, Suffolk, Massachusetts"},
        {"Dorchester <Boston Suffolk>", "<Boston, Suffolk>"},
        {"NEW YORK", "New, York"},
        {"North St Louis", "North St, Louis"},
        {"New York City New York", "New York, City, New York"},
        {"", ""},
        {"   ", ""},
        {"Salem > Essex < Mass", "Salem, >, Essex, <, Mass"},
    });
}

TEST(NormalizePlace, EdgesOfTheWordRules) {
    ExpectNormalized({
        // Joining words at either end of the list stay alone.
        {"Boston East", "Boston, East"},
        {"County Cork", "County, Cork"},
        // Periods, semicolons and runs of blanks separate words.
        {"St. Paul;  Ramsey   Minnesota", "St Paul, Ramsey, Minnesota"},
        {"Ft. Wayne Allen Co. Indiana", "Ft, Wayne, Allen Co, Indiana"},
        {"Los Angeles", "Los Angeles"},
        {"Burial Grounds", "Burial Grounds"},
        // Commas keep the parts, empty ones included, and only trim them.
        {"a,, b ,c", "A, , B, C"},
        {"Boston, MA 1850 ", "Boston, Ma"},
        {"12345", ""},
        {"<>", "<>"},
        // Only the digits at the end of the whole text go.
        {"<St Louis 63101> extra", "<St Louis, 63101>"},
        {"x <Ab>b> c", "<Ab>"},
        // The first ">" after the first "<" closes the brackets.
        {"Bad > Text < With > Brackets", "<With>"},
    });
}

TEST(NormalizePlace, HandlesLatin1LettersAndWholeCharacters) {
    ExpectNormalized({
        {"ÉVREUX Eure France", "Évreux, Eure, France"},
        {"Québec île Canada", "Québec, Canada"},
        {"Zürich, SCHWEIZ", "Zürich, Schweiz"},
        {"Łódź Polska", "Łódź, Polska"},
    });
}

}  // namespace
}  // namespace lintora
