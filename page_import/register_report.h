#pragma once
// Ancestry and RootsWeb descendant register: numbered narrative entries,
// each followed by the couple's children.
namespace lintora {

// Files every person and family of the register in g.PageLines itself and
// sets g.PageMainIndiv. A child line and the child's own later entry meet
// in one record through the entry number, used as a page-local id.
void ProcessRegANC();

}  // namespace lintora
