#pragma once
// Small pieces the FamilySearch page parsers share: field access, link-word
// cutting, and the bookkeeping of page-scratch lists that run full.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "page_import/skipped_entries.h"

namespace lintora {

// Field i of a split line; empty when the line has fewer fields.
std::string FieldAt(const std::vector<std::string>& fields, std::size_t i);

// Cuts a link word the page prints after a name ("Family", "Pedigree"):
// the text up to its last occurrence, when that starts after position 2.
// A text that begins with the word keeps it.
std::string CutLinkWord(const std::string& text, std::string_view word);

// Parent sets as "Father" and "Mother" lines build them: a father opens a
// set, a mother completes it or, when it already has a mother, opens one of
// her own. A set that does not fit is skipped together with the lines that
// belong to it; nothing is written into the last kept set.
class ParentSetLines {
public:
    // With countLostMothers a mother line of a skipped set counts as one
    // more skipped entry.
    explicit ParentSetLines(SkippedEntries& skipped, bool countLostMothers = false)
        : skipped_(skipped), countLostMothers_(countLostMothers) {}
    // The new set (both names "<unknown>"), or 0 when it is skipped.
    int16_t Father();
    // The set a mother line fills, or 0 when it is skipped. With
    // resetMother the set's mother name becomes "<unknown>" first.
    int16_t Mother(bool resetMother);

private:
    SkippedEntries& skipped_;
    bool countLostMothers_;
    bool lastSkipped_ = false;
};

// The events a family group page lists under each person.
enum class FamilyEvent { Birth, Christening, Death, Burial };

// Files an event line of a family group page on the person its section is
// about: 'H' the husband, 'W' the wife, 'C' the last child (unless that child
// was skipped). An empty date or place keeps what the field held.
void PutFamilyGroupEvent(char section, bool childSkipped, FamilyEvent event, const std::string& date,
                         const std::string& place);

}  // namespace lintora
