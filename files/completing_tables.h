#pragma once
// What a load does once the lines are read, on the fresh tables alone:
// links resolved, partners the file does not hold put in, family counts,
// the name index, and the file's sources merged with the standard ones.
namespace lintora {

// progress: the progress window is shown.
void CompleteTables(bool progress);

}  // namespace lintora
