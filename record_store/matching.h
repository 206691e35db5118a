#pragma once
// Duplicate matching: is a person about to be filed already in the table?
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// What a page says of a person's spouse besides the name.
struct PartnerIds {
    std::string afn;         // blank when none
    int16_t cdNo = 0;        // disc and pin numbers, 0 when none
    int32_t pidNo = 0;
    std::string genId;       // a generated id that is not only this page's; blank when none
};

// One person about to be filed, as the caller found him. The three
// relatives' names (and the name itself) come back cleaned: "_" and "?"
// removed, "unknown" spellings turned into "<unknown>".
struct MatchQuery {
    std::string name;        // full name, given names before the surname
    std::string ext;         // extension text, carried to a new record
    std::string afn;         // Ancestral File number, blank when none
    int16_t cdNo = 0;        // disc number, 0 when none
    int32_t pidNo = 0;       // pin number, 0 when none
    std::string relCode;     // "IN" page person, "IP", "IS", "SP", "CH", or empty
    std::string genId;       // generated id, blank when none
    // The generated id only tells this page's people apart (the stored one
    // is rewritten after filing): it finds its own record but never keeps
    // off a candidate whose id differs.
    bool pageLocalId = false;
    std::string bDate, cDate, dDate;
    std::string spouseName;  // blank when none
    std::string fatherName;  // blank when none
    std::string motherName;  // blank when none
    // The family the person is being filed into as a child (0 = none known).
    // Generated ids are only unique within one couple's children, so an
    // equal id identifies a candidate only when he is a child of this
    // family or of none.
    int32_t childOfFamily = 0;
    // Records that cannot be this person (the child he is a parent of, that
    // child's partners, his partner's own parents and children): never
    // matched, offered or taken by identifier.
    std::vector<int32_t> notThese;
    // What the page says of the spouse besides his name, and his record
    // when he is already filed (0 = not yet). Where this person or the
    // spouse is a placeholder "<unknown>", only that record makes a stored
    // partner the spouse: a placeholder made for one family is never taken
    // into another's. Named partners are judged by their names.
    PartnerIds spouseIds;
    int32_t spouseIndiv = 0;
};

// Whether a name says nobody: "<unknown>" or a spelling that cleaning turns
// into it (UNKNOWN, UNKNOWN UNKNOWN, UNK), in any case, blanks aside.
bool NamesNobody(std::string_view name);

// Finds the person (by identifiers, by an automatic match, or by the
// user's choice among close matches) or creates him. Returns the record
// number, also left in g.LastIndiv, or 0 when nobody was filed (blank
// name, full table, a failure); g.LastIndiv is then unchanged.
int32_t FindIndivMatches(MatchQuery& q);

// Appends a new individual from a page's six values, marked touched and
// entered in the surname index. Returns the new record number (also in
// g.LastIndiv), or 0 when the table is full or the name is blank.
int32_t CreateIndivFromPage(const std::string& name, const std::string& ext, const std::string& afn,
                            int16_t cdNo, int32_t pidNo, const std::string& genId);

// Moves an individual to the surname-index buckets of his current surname
// initial when it no longer agrees with the one he was entered under.
void ReindexSurname(int32_t indiv, const std::string& oldSurname);

}  // namespace lintora
