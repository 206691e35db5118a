#pragma once
// What a page parser reads from one pasted page, before it is filed.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "record_store/fixed_text.h"
#include "record_store/utf8_text.h"

namespace lintora {

// The page notes: a text that keeps its length in characters as it grows,
// so the limit on the notes of a long page costs nothing per line.
class PageNotesText {
public:
    PageNotesText() = default;
    PageNotesText(std::string s) : s_(std::move(s)), chars_(Utf8Length(s_)) {}
    PageNotesText& operator=(std::string s) {
        s_ = std::move(s);
        chars_ = Utf8Length(s_);
        return *this;
    }
    PageNotesText& operator=(const char* s) { return *this = std::string(s); }
    PageNotesText& operator+=(std::string_view t) {
        const std::size_t old = s_.size();
        s_.append(t);
        // Whether a byte starts a character depends on the byte before it
        // too, so the count resumes from the old last byte (always a start
        // as the first byte of the view, hence the one taken off).
        chars_ += old == 0 ? Utf8Length(s_) : Utf8Length(std::string_view(s_).substr(old - 1)) - 1;
        return *this;
    }
    PageNotesText& operator+=(char c) { return *this += std::string_view(&c, 1); }
    void clear() {
        s_.clear();
        chars_ = 0;
    }

    const std::string& str() const { return s_; }
    operator const std::string&() const { return s_; }
    operator std::string_view() const { return s_; }
    std::size_t size() const { return s_.size(); }
    bool empty() const { return s_.empty(); }
    std::size_t find(std::string_view t, std::size_t pos = 0) const { return s_.find(t, pos); }
    // Utf8Length(str()), kept as the text changes.
    std::size_t chars() const { return chars_; }

    friend bool operator==(const PageNotesText& a, const PageNotesText& b) { return a.s_ == b.s_; }
    friend bool operator==(const PageNotesText& a, const std::string& b) { return a.s_ == b; }

private:
    std::string s_;
    std::size_t chars_ = 0;
};

struct PageParent {
    std::string Name;
    std::string AFN;
    int16_t CDno = 0;
    int32_t PIDno = 0;
    std::string GenID;
    int32_t RIN = 0;
    std::string bDate;
    std::string bPlace;
};

struct PageParentSet {
    FixedText<120> psFatherName;
    FixedText<30> psFatherAFN;
    int16_t psFatherCDno = 0;
    int32_t psFatherPIDno = 0;
    FixedText<24> psFatherGenID;
    FixedText<30> psFatherbDate;
    FixedText<120> psFatherbPlace;
    int32_t psFatherRIN = 0;
    FixedText<120> psMotherName;
    FixedText<30> psMotherAFN;
    int16_t psMotherCDno = 0;
    int32_t psMotherPIDno = 0;
    FixedText<24> psMotherGenID;  // as wide as every other generated id
    FixedText<30> psMotherbDate;
    FixedText<120> psMotherbPlace;
    int32_t psMotherRIN = 0;
    FixedText<120> psMarrDate;
    FixedText<120> psMarrPlace;
};

struct PageSpouse {
    FixedText<120> spName;
    FixedText<30> spAFN;
    int16_t spCDno = 0;
    int32_t spPIDno = 0;
    FixedText<24> spGenID;
    FixedText<120> spmDate, spmPlace;
    FixedText<120> spbDate, spbPlace;
    FixedText<120> spcDate, spcPlace;
    FixedText<120> spdDate, spdPlace;
    FixedText<120> spblDate, spblPlace;
    int32_t spRIN = 0;
};

struct PageChild {
    FixedText<120> chName;
    FixedText<30> chAFN;
    FixedText<24> chGenID;
    FixedText<1> chSex;
    FixedText<120> chbDate, chbPlace;
    FixedText<120> chcDate, chcPlace;
    FixedText<120> chdDate, chdPlace;
    FixedText<120> chblDate, chblPlace;
    int32_t chRIN = 0;
};

inline constexpr int16_t kMaxParentSets = 10;
inline constexpr int16_t kMaxPageSpouses = 16;
inline constexpr int16_t kMaxPageChildren = 30;

struct PageScratchRec {
    int32_t pgRIN = 0;
    std::string pgAFN;
    int16_t pgCDno = 0;
    int32_t pgPIDno = 0;
    std::string pgGenID, pgGivn, pgSurn, pgPrefix, pgSuffix, pgTitle, pgNick, pgName, pgSex;
    std::string pgbDate, pgbPlace, pgcDate, pgcPlace, pgdDate, pgdPlace, pgblDate, pgblPlace;
    std::string pgSubmNo, pgFilmNo, pgPageNo, pgRefNo;
    PageNotesText pgNotes;
    std::string pgNameKey;

    PageParent SpouseFather;
    PageParent SpouseMother;

    // Entries 1..count are in use; index 0 never is.
    std::array<PageParentSet, kMaxParentSets + 1> PageParentSets{};
    int16_t PageParentSetCount = 0;
    std::array<PageSpouse, kMaxPageSpouses + 1> PageSpouses{};
    int16_t PageSpouseCount = 0;
    std::array<PageChild, kMaxPageChildren + 1> PageChildren{};
    int16_t PageChildCount = 0;

    // Each returns the new entry's index, or 0 when the page already holds
    // as many as there is room for (the extra entry is skipped).
    int16_t AddParentSet();
    int16_t AddSpouse();
    int16_t AddChild();
};

// Empties the page scratch record (ParentSetChoice and the line buffers stay).
void InitPrep();

}  // namespace lintora
