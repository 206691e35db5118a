#pragma once
// What the 31-box pedigree shows: the slots filled from the root, each box's
// one-line text, the note markers and the "more" buttons of the fifth
// generation. Reads the tables only; every record number taken from them is
// checked against IndivCount and FamilCount.
#include <array>
#include <cstdint>
#include <string>

namespace lintora {

inline constexpr int kTreeBoxes = 31;
inline constexpr int kMoreButtons = 16;  // beside boxes 15..30

struct PedigreeView {
    std::array<std::string, kTreeBoxes> caption;  // "" = empty box
    std::array<bool, kTreeBoxes> notes{};         // note marker shown
    std::array<std::string, kMoreButtons> more;   // "" = button hidden
    bool childButton = false;                     // the root is husband or wife somewhere
};

// True when n names a live individual (1..IndivCount, not pruned).
bool LiveIndiv(int32_t n);
// True when n names a live family (1..FamilCount, not pruned).
bool LiveFamil(int32_t n);

// " Given Surname  (1832-1899)": the years from birth (else christening) and
// death (else burial); "<unknown>" for no person.
std::string FormatLifeDates(int32_t person);

// The same text as a box or a parent label shows it: one leading blank.
std::string LifeDatesCaption(int32_t person);

// The live family as child of person, 0 when none.
int32_t FamilyAsChild(int32_t person);
// The live father (or mother) of family, 0 when none.
int32_t ParentIn(int32_t family, bool father);

// Fills g.TreeSlot 1..30 from the root in slot 0 (an invalid root empties
// the pedigree) and returns what the boxes show.
PedigreeView BuildPedigree();

// Caption of a fifth-generation "more" button for person: "" when he has no
// family as child, ">" when it names no parent, "n>" for n (1..9) further
// generations, the number alone from 10. Pedigree collapse counts once.
std::string MoreButtonCaption(int32_t person);

// The root that brings person into view: unchanged when he is in slots
// 0..14, the root's father or mother when he is in the fifth generation on
// that side, else the person himself.
int32_t TreePointerRoot(int32_t person);

}  // namespace lintora
