#pragma once
// What the Ancestry and RootsWeb report parsers share while they file
// persons themselves: the records this paste filed (so that clean-ups and
// sex repairs never reach older records), the stop at a full table, and
// reading entry numbers.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lintora {

// Thrown when a filing failed because the individual or family table is
// full: the table has already said so once, so the parse stops quietly.
struct TablesFull {};

class ReportFiling {
public:
    // Remembers an individual filed by this paste and returns it. A 0 from
    // a full table ends the parse (TablesFull); any other 0 is passed back.
    int32_t Person(int32_t indiv);
    // The same for a family.
    int32_t Family(int32_t famil);

    const std::vector<int32_t>& Families() const { return families_; }
    const std::vector<int32_t>& Persons() const { return persons_; }

    // Generated ids only live for the page: every person filed here loses
    // his id, unless his given name is LIVING and the id is more than a
    // bare entry number (such ids let the next paste find him again).
    void ClearPageIds() const;

private:
    std::vector<int32_t> persons_;
    std::vector<int32_t> families_;
};

// A whole number of at most nine digits (optional sign); anything else,
// including a longer number, is no entry number.
bool ReadWholeNumber(std::string_view text, int32_t& value);

// Shows "Problem encountered processing <what> (<why>).\nSome data may or
// may not have been processed." (exclamation icon).
void ReportParseProblem(const std::string& what, const std::string& why);

// Runs one report parse (run) under "Processing..." with the ending the
// report parsers share. A full table stops it quietly; any other failure is
// reported as a problem with <what>, and the tree and paste results are
// shown again. The page ids always go; after a parse that was not broken
// off by a failure, sexes are inferred from the families filed and
// mainPerson becomes the page's main person.
void RunReportParse(const std::string& what, const ReportFiling& filing, const int32_t& mainPerson,
                    const std::function<void()>& run);

// Says which of the individual and family tables is already full (the
// table's own message, which it shows only as it takes its last record).
void SayTablesFull();

// Status label "Processing..." followed by the persons filed so far.
void ShowPersonsFiled(int persons);

// Given names (or a name) that begin with LIVING in any case.
bool BeginsLiving(std::string_view text);

// The last n code points of s.
std::string Utf8Right(std::string_view s, std::size_t n);

}  // namespace lintora

namespace lintora {

// The page lines with every line after the second that repeats an earlier
// line of more than 8 characters (both trimmed) turned into one blank, so a
// repeated entry is never filed twice.
std::vector<std::string> WithoutRepeatedLines(const std::vector<std::string>& lines);

}  // namespace lintora
