#pragma once
// The person sentences of the Ancestry and RootsWeb narrative reports
// ("John Smith was born 12 Mar 1850 in Ohio, and died 3 Jan 1920 in Iowa.
// He was buried in Des Moines.") and the repair of husband and wife roles
// after such a report is filed.
#include <cstdint>
#include <string>
#include <vector>

namespace lintora {

// Files the person a sentence describes: the name before the first event
// clause ("?" as "<unknown>"), birth, christening, death and burial split
// into date and place. genId is handed to the matcher; famc (0 = none) is
// the family he is listed in as a child. `sex` goes in as the caller's
// guess and comes back as the sentence states it ("He died", "She was
// born"; the birth clause decides last). A stated sex is written; a guess
// only over a blank or "U" sex; "U" never. Blank event values leave the
// record's fields alone. spouseIndiv is the spouse's record when he is
// already filed (0 = not yet). Returns the record (also g.LastIndiv) or 0.
int32_t AddIndivANC(const std::string& genId, const std::string& text, int32_t famc, std::string& sex,
                    const std::string& spouseName, int32_t spouseIndiv = 0);

// The sentence with the parenthesised ancestor list after the name removed
// ("Anna Berg (Karl2, Nils1) was born 1850." gives "Anna Berg  was born
// 1850"); a text without "(" or without a closing "1)" comes back unchanged.
std::string StripParenthesized(const std::string& text);

// Puts husband and wife in their places in the given families (those this
// paste filed): a husband recorded "F" changes places with the wife; a
// child who shares the wife's surname but not the husband's makes the wife
// the husband ("M") and the husband the wife ("F"), unless that would
// change the recorded sex of someone filed before this paste.
void InferSexFromSpouses(const std::vector<int32_t>& families);

}  // namespace lintora
