#pragma once
// MyTrees family page.

namespace lintora {

// Reads g.PageLines into the page scratch record: the husband as page
// person ("<unknown>" when the page names no father), the wife as spouse 1
// with the marriage, the children of the "Children:" list, and the notes.
// Files nothing itself; the paste entry files the scratch record. Never
// throws.
void ProcessFamKK();

}  // namespace lintora
