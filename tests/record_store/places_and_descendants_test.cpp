#include <gtest/gtest.h>

#include "record_store/descendants.h"
#include "record_store/place_editing.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "tests/support/scripted_platform.h"

namespace lintora {
namespace {

using testing::CleanState;

int32_t Person(const char* given, const char* surname, const char* birth = "", const char* death = "") {
    int32_t r = AddIndiv();
    g.Indiv[r].iGivn = given;
    g.Indiv[r].iSurn = surname;
    g.Indiv[r].iName = std::string(given) + " " + surname;
    g.Indiv[r].ibDate = birth;
    g.Indiv[r].idDate = death;
    return r;
}

int32_t Couple(int32_t husband, int32_t wife) {
    int32_t f = AddFamil();
    g.Famil[f].fHusb = husband;
    g.Famil[f].fWife = wife;
    return f;
}

class PlaceEditing : public CleanState {};

TEST_F(PlaceEditing, ListsEventPlacesOnceWithCountsAndChangesOnlyThem) {
    for (int i = 0; i < 3; ++i) g.Indiv[Person("A", "B")].ibPlace = "Salem";
    int32_t fourth = Person("C", "D");
    g.Indiv[fourth].iblPlace = "  Salem ";
    g.Indiv[fourth].icPlace = "salem";
    g.Indiv[fourth].idPlace = "Boston";
    int32_t f = Couple(1, fourth);
    g.Famil[f].fmPlace = "Salem";
    int32_t removed = Person("E", "F");
    g.Indiv[removed].ibPlace = "Salem";
    g.Indiv[removed].iTree = kRemovedTree;

    auto places = CollectPlaces();
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].place, "Salem");
    EXPECT_EQ(places[0].count, 4);
    EXPECT_EQ(places[1].place, "salem");
    EXPECT_EQ(places[2].place, "Boston");

    g.DataChanged = "N";
    EXPECT_EQ(ReplacePlace(" Salem", "Salem, Oregon "), 4);  // fields, not people
    EXPECT_EQ(g.DataChanged, "Y");
    EXPECT_EQ(g.Indiv[fourth].iblPlace.value(), "Salem, Oregon");
    EXPECT_EQ(g.Indiv[fourth].icPlace.value(), "salem");
    EXPECT_EQ(g.Famil[f].fmPlace.value(), "Salem");
    EXPECT_EQ(g.Indiv[removed].ibPlace.value(), "Salem");
    EXPECT_EQ(PlaceChangeReport(4, "Salem", "Salem, Oregon"), "4 occurrences of Salem\n changed to Salem, Oregon");

    // Nothing real to change: no count, flag untouched.
    g.DataChanged = "N";
    EXPECT_EQ(ReplacePlace("Salem", "Anywhere"), 0);
    EXPECT_EQ(ReplacePlace("Boston", "Boston"), 0);
    EXPECT_EQ(ReplacePlace("Boston", "   "), 0);
    EXPECT_EQ(g.DataChanged, "N");

    // A long replacement is cut to the field's 100 characters.
    EXPECT_EQ(ReplacePlace("Boston", std::string(130, 'x')), 1);
    EXPECT_EQ(g.Indiv[fourth].idPlace.value(), std::string(100, 'x'));
}

TEST_F(PlaceEditing, RowToSelectAfterReload) {
    struct Case { int32_t count, pos, row; } cases[] = {
        {0, 1, 0}, {5, 20, 1}, {9, 8, 1}, {10, 1, 1}, {30, 12, 14}, {30, 29, 30}, {12, 11, 12},
    };
    for (const auto& c : cases) EXPECT_EQ(PlaceRowToSelect(c.count, c.pos), c.row) << c.count << "/" << c.pos;
}

class Descendants : public CleanState {};

TEST_F(Descendants, ThreeGenerationsWithSpousesIndentedByGeneration) {
    int32_t john = Person("John", "Smith", "1850", "12 Mar 1920");
    g.Indiv[john].iPrefix = "Rev";
    int32_t mary = Person("Mary", "Jones", "1855");
    int32_t ann = Person("Ann", "Smith", "1880", "1950");
    int32_t peter = Person("Peter", "Brown", "1878", "1940");
    int32_t tom = Person("Tom", "Brown", "1905");
    int32_t second = Person("Jane", "Doe", "abt. June");
    int32_t late = Person("Paul", "Smith", "1890");
    int32_t f1 = Couple(john, mary);
    int32_t f2 = Couple(peter, ann);
    int32_t f3 = Couple(john, second);
    g.Indiv[ann].iFamc = f1;
    g.Indiv[tom].iFamc = f2;
    g.Indiv[late].iFamc = f3;
    Couple(tom, 0);  // a marriage without a partner

    auto lines = BuildDescendantOutline(john);
    std::vector<std::string> texts;
    for (auto& l : lines) texts.push_back(l.text);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "1  John SMITH, Rev  (1850 - 1920)",
                         "    +  Mary JONES  (1855 -     )",
                         "        2  Ann SMITH  (1880 - 1950)",
                         "            +  Peter BROWN  (1878 - 1940)",
                         "                3  Tom BROWN  (1905 -     )",
                         "                    +    (     -     )",
                         "    +  Jane DOE  (     -     )",
                         "        2  Paul SMITH  (1890 -     )",
                     }));
    EXPECT_EQ(lines[0].indiv, john);
    EXPECT_EQ(lines[3].indiv, peter);
    EXPECT_EQ(lines[5].indiv, 0);
}

TEST_F(Descendants, LonePersonAndEndlessChainsEnd) {
    int32_t alone = Person("Lone", "Wolf");
    auto lines = BuildDescendantOutline(alone);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].text, "(no descendant list for this person)");
    EXPECT_EQ(lines[1].indiv, 0);
    EXPECT_TRUE(BuildDescendantOutline(0).empty());
    EXPECT_TRUE(BuildDescendantOutline(99).empty());

    // Twelve generations, then a loop back to the first: children stop at
    // generation 11 (indented 80 blanks).
    int32_t first = Person("G", "One");
    int32_t parent = first;
    for (int gen = 2; gen <= 12; ++gen) {
        int32_t child = Person("G", "Next");
        g.Indiv[child].iFamc = Couple(parent, 0);
        parent = child;
    }
    g.Indiv[first].iFamc = Couple(parent, 0);
    lines = BuildDescendantOutline(first);
    int deepest = 0;
    for (auto& l : lines) {
        auto digits = l.text.find_first_not_of(' ');
        if (l.text.compare(digits, 1, "+") != 0) deepest = std::max(deepest, std::stoi(l.text.substr(digits)));
    }
    EXPECT_EQ(deepest, 11);
    EXPECT_EQ(lines[lines.size() - 2].text.find_first_not_of(' '), 80u);
}

}  // namespace
}  // namespace lintora
