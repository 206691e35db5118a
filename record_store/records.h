#pragma once
// Record layouts of the in-memory tables.
#include <cstdint>
#include <string>

#include "record_store/fixed_text.h"

namespace lintora {

struct IndivRec {
    int32_t iRIN = 0;
    FixedText<24> iXref;
    FixedText<14> iAFN;
    int16_t iCDno = 0;
    int32_t iPIDno = 0;
    FixedText<24> iGenID;
    FixedText<120> iName;
    FixedText<120> iSurn;
    FixedText<120> iGivn;
    FixedText<120> iTitle;
    FixedText<120> iNick;
    FixedText<120> iPrefix;
    FixedText<120> iSuffix;
    FixedText<20> iNameKey;
    FixedText<23> iExt;
    FixedText<1> iSex;
    FixedText<100> ibDate;
    int16_t ibSpare = 0;
    FixedText<100> ibPlace;
    FixedText<100> icDate;
    int16_t icSpare = 0;
    FixedText<100> icPlace;
    FixedText<100> idDate;
    int16_t idSpare = 0;
    FixedText<100> idPlace;
    FixedText<100> iblDate;
    int16_t iblSpare = 0;
    FixedText<100> iblPlace;
    int32_t iFamc = 0;
    FixedText<24> iFamcXref;
    int16_t iFamsCount = 0;
    FixedText<100> iSpareA;
    FixedText<100> iSpareB;
    FixedText<40> iSubmNo;
    FixedText<100> iSpareC;
    int16_t iSource = 0;
    FixedText<30> iSourXref;
    FixedText<30> iFilmNo;
    FixedText<12> iPageNo;
    FixedText<12> iRefNo;
    FixedText<18> iNoteXref;
    FixedText<1> iNoteFlg;
    FixedText<1> iSpareFlag;
    int16_t iTree = 0;
    int16_t iGen = 0;
    int16_t iTouched = 0;
    FixedText<2> iSpareCode;
    FixedText<12> iChanDate;
    FixedText<12> iChanTime;

    bool operator==(const IndivRec&) const = default;
};

struct FamilRec {
    int32_t fRIN = 0;
    FixedText<24> fXref;
    FixedText<24> fHusbXref;
    FixedText<24> fWifeXref;
    int32_t fHusb = 0;
    int32_t fWife = 0;
    FixedText<100> fmDate;
    FixedText<100> fmPlace;
    int16_t fChilCount = 0;
    FixedText<18> fNoteXref;
    FixedText<1> fNoteFlg;
    int16_t fSource = 0;
    FixedText<30> fSourXref;
    int16_t fTree = 0;
    int16_t fGen = 0;
    int16_t fTouched = 0;

    bool operator==(const FamilRec&) const = default;
};

struct NoteRec {
    FixedText<18> nXref;
    FixedText<1> nKind;
    int32_t nOwner = 0;
    FixedText<6> nTag;
    FixedText<120> nText;
    int16_t nLen = 0;

    bool operator==(const NoteRec&) const = default;
};

// Source and repository ids keep their whole text: a cut to three characters
// would make S100 and S10 the same source.
struct SourceRec {
    int16_t sRIN = 0;
    std::string sXref;
    FixedText<12> sSite;
    FixedText<6> sKind;
    FixedText<3> sSpare1;
    FixedText<3> sSpare2;
    FixedText<120> sTitle;
    FixedText<120> sAuthor;
    FixedText<120> sPublish;
    FixedText<120> sAbbr;
    int16_t sRepos = 0;
    std::string sReposXref;
    int32_t sCitations = 0;
    FixedText<1> sFlag;

    bool operator==(const SourceRec&) const = default;
};

struct ReposRec {
    int16_t rRIN = 0;
    std::string rXref;
    FixedText<120> rName;
    FixedText<120> rAddr;
    FixedText<120> rCont;
    int32_t rCitations = 0;
    FixedText<1> rFlag;

    bool operator==(const ReposRec&) const = default;
};

// One search page of the site data file.
struct LinkRec {
    std::string lSiteNo;
    FixedText<30> lSiteName;
    FixedText<40> lPageName;
    FixedText<800> lUrl;

    bool operator==(const LinkRec&) const = default;
};

// One region of the search window's three-level region lists.
struct RegionRec {
    FixedText<5> rgTag;
    FixedText<60> rgName;
    FixedText<4> rgAux;
    FixedText<6> rgParent;
    FixedText<8> rgCode;
    FixedText<60> rgText;
    int16_t rgIndex = 0;

    bool operator==(const RegionRec&) const = default;
};

// Table capacities.
inline constexpr int32_t kMaxIndiv = 10000;
inline constexpr int32_t kMaxFamil = 5000;
inline constexpr int32_t kMaxNotes = 80000;
inline constexpr int32_t kMaxGrowable = 32767;  // 16-bit numbering of sources and repositories
inline constexpr int16_t kMaxLinks = 50;
inline constexpr int16_t kMaxRegions = 1300;

}  // namespace lintora
