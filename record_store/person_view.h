#pragma once
// The selected-person summary shared by the main window's pop-up panel and
// the editor's Family tab: birth and death lines, the spouses with their
// families, the children of one family and the spouses' ages at a marriage.
// Reads the tables only; record numbers are checked before use.
#include <cstdint>
#include <string>
#include <vector>

namespace lintora {

inline constexpr int kMaxPanelSpouses = 14;
inline constexpr int kMaxPanelChildren = 29;

struct ChildEntry {
    int32_t indiv = 0;
    bool hasFam = false;  // husband or wife in a family with children
    std::string line;     // "<" or two blanks, birth year part, name
};

struct SpouseEntry {
    int32_t spouse = 0;  // 0 when the family names no spouse
    int32_t family = 0;
    std::string line;    // "Given Surname", " <unknown>" for no spouse
};

struct PersonPanel {
    std::string birth;     // "date - place"
    std::string death;
    std::string marriage;  // first marriage line, this person's age first
    std::vector<SpouseEntry> spouses;  // at most 14
    std::vector<ChildEntry> children;  // of the first marriage
    int32_t firstFamily = 0;
};

// "(a/b)", "(a/??)", "(??/b)" or "": the ages of a and b at the date.
std::string FormatMarrAges(int32_t a, int32_t b, const std::string& date);

// "date - place  ages" of family f, with husband's age first.
std::string MarriageLine(int32_t family);
std::string MarriageLine(int32_t family, int32_t first, int32_t second);

// The children of a family (up to 29) in record order; leaveOut is not
// listed (a person's siblings are his parents' children without him).
std::vector<ChildEntry> CollectChildren(int32_t family, int32_t leaveOut = 0);

// A spouse line: "Given Surname", " <unknown>" for no spouse.
std::string SpouseLine(int32_t spouse);

// One child line as the child lists show it.
ChildEntry ChildLine(int32_t child);

// The whole summary of person p.
PersonPanel ShowIndivPanel(int32_t p);

// The first family of person and spouse (in either role), 0 when none.
int32_t FindCouple(int32_t person, int32_t spouse);

}  // namespace lintora
