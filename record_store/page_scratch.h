#pragma once
// What a page parser reads from one pasted page, before it is filed.
#include <array>
#include <cstdint>
#include <string>

#include "record_store/fixed_text.h"

namespace lintora {

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
    std::string pgNotes;
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
