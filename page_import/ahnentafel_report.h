#pragma once
// Ancestry and RootsWeb ahnentafel: numbered ancestor entries (the father
// of n is 2n, the mother 2n + 1), each couple perhaps followed by its
// children.
namespace lintora {

// Files every person and family of the report in g.PageLines itself and
// sets g.PageMainIndiv. Ancestor numbers serve as page-local ids, so an
// entry, the parents sentence naming it and a child line carrying its
// number meet in one record.
void ProcessAhnANC();

}  // namespace lintora
