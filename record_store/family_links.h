#pragma once
// The editor's link and unlink changes over the tables: a new spouse, a
// family as child, and undoing either. Each checks the records it is given
// and changes nothing when they cannot be linked; the trees are renumbered
// after every change.
#include <cstdint>

namespace lintora {

// Whether LinkNewSpouse and LinkToParents would link these records.
bool CanLinkSpouse(int32_t indiv, int32_t picked);
bool CanLinkParents(int32_t indiv, int32_t fam);

// Makes a new family of indiv and picked (a family is added even when they
// share one already). The picked person is the husband when his sex is "M"
// or indiv's is "F". Returns the family, or 0 when nothing was linked: a
// person linked to himself, a removed or out-of-range person, a full table.
int32_t LinkNewSpouse(int32_t indiv, int32_t picked);

// Takes indiv out of family fam. withChildren: the family is removed
// (tree 99, no partners) and its children lose it as family as child;
// otherwise a new "<unknown>" person takes indiv's place (0 when the table
// is full) and the spouse and children stay. False when indiv is no partner
// of fam.
bool UnlinkSpouseFamily(int32_t indiv, int32_t fam, bool withChildren);

// Makes fam indiv's family as child (replacing an earlier one). Returns
// fam, or 0 when refused: out of range, removed, or a family in which indiv
// or one of his descendants is husband or wife.
int32_t LinkToParents(int32_t indiv, int32_t fam);

// Takes indiv out of his family as child; false when he has none.
bool UnlinkFromParents(int32_t indiv);

// Every child of fam loses it as family as child. Returns how many did.
int32_t UnlinkChildrenOf(int32_t fam);

// Children of fam by their family-as-child links, removed ones left out.
int32_t CountChildren(int32_t fam);

// Whether person descends from ancestor through the family-as-child links.
bool IsDescendant(int32_t person, int32_t ancestor);

}  // namespace lintora
