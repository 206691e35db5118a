#pragma once
// The individual editor's work over the tables, apart from its window: the
// box texts of a person, whether the boxes differ from the stored records,
// and writing them back. The window maps its controls to EditValues and
// calls these; its Family tab is filled by person_view like the pop-up panel.
#include <cstdint>
#include <string>
#include <vector>

namespace lintora {

// What the editor's boxes hold. Texts as shown (the stored ones carry one
// leading blank, the sex box none); source is the source list position
// (0 = "none", -1 = nothing selected).
struct EditValues {
    std::string givn, surn, title, suffix, prefix, nick;
    std::string afn, cdNo, pidNo, sex, submNo;
    std::string bDate, cDate, dDate, blDate;
    std::string bPlace, cPlace, dPlace, blPlace;
    std::string mDate, mPlace;
    int source = 0;

    bool operator==(const EditValues&) const = default;
};

// True when n lies inside the individual (family) table; removed records
// count, so that the editor can still show and step past them.
bool InIndivTable(int32_t n);
bool InFamilTable(int32_t n);

// The box texts of individual indiv and the marriage of family famil, as the
// load writes them. A record outside its table gives blank boxes.
EditValues EditValuesOf(int32_t indiv, int32_t famil);

// Reads a box as a whole number within [low, high]: a fraction is rounded
// to the nearest whole number, a half to the even one. False when the text
// is no number or out of range.
bool ReadWholeNumber(const std::string& text, int64_t low, int64_t high, int64_t& value);

// True when the boxes differ from the stored person indiv, the marriage of
// famil (0: no marriage boxes) or the notes changed flags of g. An
// unreadable CD or PID box counts as a change; an unselected source does not.
bool EditDiffers(const EditValues& boxes, int32_t indiv, int32_t famil);

// True for the only sex letters a record may hold.
bool ValidSex(const std::string& sex);

// Writes the boxes into individual indiv and the marriage of famil (not
// written when 0), with the sex exchange of his families, the source
// citation counts and the name key; no snapshot, no window. An invalid sex
// or an unreadable number keeps the stored value; each such case adds a
// sentence to `kept`. Returns false when indiv is outside the table.
bool StoreEditValues(const EditValues& boxes, int32_t indiv, int32_t famil, bool addMode,
                     std::vector<std::string>& kept);

}  // namespace lintora
