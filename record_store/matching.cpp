#include "record_store/matching.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "record_store/dates_places.h"
#include "record_store/name_key.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

constexpr std::size_t kKeyWidth = 2 * kNameKeyHalf;
constexpr int kMaxCandidateRows = 50;

bool IsBlank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

std::string Caps(std::string_view s) { return UpperCase(TrimBlanks(s)); }

// TrimBlanks without the copy.
std::string_view TrimView(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// First character (code point) of a trimmed text, or one blank.
std::string Initial(std::string_view s) {
    std::string t = TrimBlanks(s);
    return t.empty() ? std::string(" ") : Utf8Left(t, 1);
}

// The parts of a full name; the key always at its full width.
NameParts SplitParts(std::string_view fullName) {
    NameParts p = ParseNameParts(TrimBlanks(fullName));
    p.key.resize(kKeyWidth, ' ');
    return p;
}

// TrimView(stored) == want; a shorter stored text (the usual case while
// the whole table is searched for an identifier) is passed over at once.
bool HoldsTrimmed(const std::string& stored, const std::string& want) {
    if (stored.size() < want.size()) return false;
    // A trimmed want as long as the stored text can only be that text as it stands.
    if (!want.empty() && stored.size() == want.size() && want.front() != ' ' && want.back() != ' ')
        return stored.front() == want.front() && stored == want;
    return TrimView(stored) == want;
}

// Initial(s) == initial for an initial that is not a blank.
bool InitialIs(std::string_view s, const std::string& initial) {
    const std::string_view t = TrimView(s);
    if (t.size() < initial.size() || t[0] != initial[0]) return false;
    return t.compare(0, initial.size(), initial) == 0 && Utf8CharSize(t, 0) == initial.size();
}

// Caps(s) == "<UNKNOWN>"; recasing keeps the length and makes no ASCII
// letter of any other character.
bool ReadsUnknownMark(std::string_view s) {
    const std::string_view t = TrimView(s);
    return t.size() == 9 && UpperCase(t) == "<UNKNOWN>";
}

struct SplitName {
    std::string surname, given, key;
    bool unknown = false;  // the name reads "<unknown>" (or a spelling of it)
};

SplitName Split(std::string_view fullName) {
    NameParts p = SplitParts(fullName);
    return {TrimBlanks(p.surname), TrimBlanks(p.given), p.key, NamesNobody(fullName)};
}

// A key of blanks only (a name without letters) agrees with nothing.
bool KeysAgree(const std::string& a, const std::string& b) { return !IsBlank(a) && a == b; }

// Upper-case texts of the people's names, kept from match to match (one
// paste asks about every person against hundreds of others). Each is
// checked against the name as it stands before use, so an edited or
// renumbered record is simply recased again.
class CapsCache {
public:
    const std::string& Of(int32_t indiv, std::string_view text) {
        const auto i = static_cast<std::size_t>(indiv);
        if (entries_.size() <= i) entries_.resize(i + 1);
        Entry& e = entries_[i];
        if (e.text != text) {
            e.text = text;
            e.caps = UpperCase(text);
        }
        return e.caps;
    }

private:
    struct Entry {
        std::string text, caps;
    };
    std::vector<Entry> entries_;
};

CapsCache& NameCaps() {
    static CapsCache cache;
    return cache;
}
CapsCache& GivenCaps() {
    static CapsCache cache;
    return cache;
}
CapsCache& SurnameCaps() {
    static CapsCache cache;
    return cache;
}

// KeysAgree(key, field.padded()) without building the padded text.
template <std::size_t N>
bool KeyAgrees(const std::string& key, const FixedText<N>& field) {
    const std::string& v = field.value();
    // Most candidates differ at once; the padding is counted only then.
    if (key.size() < v.size() || key.compare(0, v.size(), v) != 0 || IsBlank(key)) return false;
    const std::size_t len = Utf8Length(v);
    if (len > N || key.size() != v.size() + (N - len)) return false;
    return key.find_first_not_of(' ', v.size()) == std::string::npos;
}

std::string StoredKey(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return std::string(kKeyWidth, ' ');
    return g.Indiv[indiv].iNameKey.padded();
}

std::string StoredName(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return {};
    return g.Indiv[indiv].iName.trimmed();
}

const FamilRec* FamilyOf(int32_t famil) {
    if (famil <= 0 || famil > g.FamilCount) return nullptr;
    return &g.Famil[famil];
}

int YearNumber(std::string_view date) {
    if (IsBlank(date)) return 0;
    std::string parts;
    int16_t year = 0, month = 0, day = 0;
    ParseDateParts(date, parts, year, month, day);
    return year;
}

std::string YearText(std::string_view date) {
    int y = YearNumber(date);
    return y > 0 ? std::to_string(y) : std::string();
}

// Whether text holds the year as a whole number (1850 is not in 18501).
bool HoldsYear(const std::string& text, const std::string& year) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t p = text.find(year); p != std::string::npos; p = text.find(year, p + 1)) {
        bool before = p > 0 && isDigit(text[p - 1]);
        bool after = p + year.size() < text.size() && isDigit(text[p + year.size()]);
        if (!before && !after) return true;
    }
    return false;
}

// Marker for one event date. A date without a year, on the page or in the
// record, tells nothing either way.
char DateMarker(const std::string& pageDate, const std::string& pageYear, const FixedText<100>& stored) {
    if (IsBlank(pageDate) || pageYear.empty()) return 'U';
    std::string s = stored.trimmed();
    if (s.empty() || YearNumber(s) == 0) return 'U';
    if (s == TrimBlanks(pageDate)) return '=';
    return HoldsYear(s, pageYear) ? 'Y' : 'N';
}

// A page parent against a stored one: '=' agree, 'N' differ. A
// placeholder, on the page or in the table, tells nobody apart: it agrees
// only when the page's family is the stored family itself, and otherwise
// leaves the test undecided ('U').
char ParentMarker(const SplitName& page, int32_t stored, bool sameFamily) {
    const bool storedNobody = stored > 0 && stored <= g.IndivCount && NamesNobody(g.Indiv[stored].iName.value());
    if (page.unknown || storedNobody) return sameFamily ? '=' : 'U';
    return page.key == StoredKey(stored) ? '=' : 'N';
}

char BothParents(char a, char b) {
    if (a == 'N' || b == 'N') return 'N';
    return a == 'U' || b == 'U' ? 'U' : '=';
}

char Better(char a, char b) {
    auto rank = [](char m) { return m == '=' ? 2 : m == 'U' ? 1 : 0; };
    return rank(a) >= rank(b) ? a : b;
}

// The page's two parents against a family's husband and wife. Crosswise
// they can only agree: a father compared with a wife decides nothing else.
char ParentsMarker(const SplitName& father, const SplitName& mother, const FamilRec& f, bool sameFamily) {
    const char straight =
        BothParents(ParentMarker(father, f.fHusb, sameFamily), ParentMarker(mother, f.fWife, sameFamily));
    const char crosswise =
        BothParents(ParentMarker(father, f.fWife, sameFamily), ParentMarker(mother, f.fHusb, sameFamily));
    return crosswise == '=' ? '=' : straight;
}

struct Markers {
    char full = 'U', contains = 'U', surnGivn = 'U', key = 'U', givnOnly = 'U';
    char birth = 'U', chr = 'U', death = 'U', spouse = 'U', parents = 'U';
    std::string agreedSpouseSurname;
    bool spouseIsHisRecord = false;  // the partner who agreed is the page spouse's own record
};

// A spouse the page names, with what else it says of him; the identifiers
// as wide as the record fields they are compared with.
struct PageSpouseView {
    PageSpouseView(SplitName n, const PartnerIds& i, int32_t rec)
        : name(std::move(n)),
          afn(FixedText<14>(TrimBlanks(i.afn)).trimmed()),
          genId(FixedText<24>(TrimBlanks(i.genId)).trimmed()),
          cdNo(i.cdNo),
          pidNo(i.pidNo),
          indiv(rec) {}
    SplitName name;
    std::string afn, genId;
    int16_t cdNo;
    int32_t pidNo;
    int32_t indiv;  // his record when already filed, else 0
};

struct Person {
    std::string name, nameCaps, surname, given, key;
    std::string surnameCaps, givenCaps;
    std::string birthYear, chrYear, deathYear;
    SplitName father, mother;
    std::string afn, genId;  // as wide as the record fields they are compared with
    std::vector<PageSpouseView> otherSpouses;                   // page spouses 2..n
    std::vector<std::pair<SplitName, SplitName>> otherParents;  // parent sets 2..n
};

bool IsAutomatic(const Markers& m, const Person& p) {
    const bool na = m.full == '=' || m.surnGivn == '=';
    const bool nk = na || m.key == '=';
    const bool ng = nk || m.givnOnly == '=';
    const bool nd = m.birth == 'U' && m.chr == 'U' && m.death == 'U';
    const bool noNo = m.parents != 'N' && m.spouse != 'N';
    const bool yearish = m.birth == 'Y' || (m.birth == 'U' && (m.chr == 'Y' || m.death == 'Y'));
    if (nk && (m.birth == '=' || (m.birth == 'U' && m.chr == '='))) return true;
    if (na && m.birth == 'U' && m.death == '=') return true;
    if (na && m.parents == '=') return true;
    if (na && m.spouse == '=' && m.parents != 'N' && !m.agreedSpouseSurname.empty()) return true;
    if (ng && m.spouse != 'N' && m.parents == '=' && nd) return true;
    if (ng && m.spouse == '=' && m.parents != 'N' && nd) return true;
    if (m.givnOnly == '=' && noNo &&
        (m.birth == '=' || (m.birth == 'U' && (m.chr == '=' || m.death == '='))))
        return true;
    if (m.givnOnly == '=' && (m.parents == '=' || m.spouse == '=') && yearish) return true;
    if (nk && noNo && yearish) return true;
    if (m.contains == '=' && noNo && (m.birth == '=' || m.chr == '=' || m.death == '=')) return true;
    if (m.contains == '=' && noNo && (m.parents == '=' || m.spouse == '=') && nd) return true;
    if (m.full == '=' && p.nameCaps == "<UNKNOWN>" && m.spouse == '=') return true;
    if (m.surnGivn == '=' && Caps(p.given) == "LIVING" && m.spouse == '=') return true;
    return false;
}

// Each person's families as husband or wife, in family order, with the
// partner in each. Built on first use within one match, when the tables
// cannot change, so it always agrees with them.
class PartnerIndex {
public:
    struct Entry {
        int32_t famil, partner;
    };

    // The entries of person c (1..IndivCount), in family order.
    std::pair<const Entry*, const Entry*> Of(int32_t c) {
        if (!built_) Build();
        if (c <= 0 || c > g.IndivCount) return {nullptr, nullptr};
        return {entries_.data() + start_[c], entries_.data() + start_[c + 1]};
    }

private:
    void Build() {
        built_ = true;
        const int32_t n = g.IndivCount;
        start_.assign(static_cast<std::size_t>(n) + 2, 0);
        auto owns = [n](int32_t i) { return i > 0 && i <= n; };
        // A family naming the same person as husband and wife counts once,
        // as husband.
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            const FamilRec& F = g.Famil[f];
            if (owns(F.fHusb)) ++start_[F.fHusb + 1];
            if (owns(F.fWife) && F.fWife != F.fHusb) ++start_[F.fWife + 1];
        }
        for (int32_t i = 1; i <= n + 1; ++i) start_[i] += start_[i - 1];
        entries_.resize(static_cast<std::size_t>(start_[n + 1]));
        std::vector<int32_t> next(start_.begin(), start_.end() - 1);
        for (int32_t f = 1; f <= g.FamilCount; ++f) {
            const FamilRec& F = g.Famil[f];
            if (owns(F.fHusb)) entries_[next[F.fHusb]++] = {f, F.fWife};
            if (owns(F.fWife) && F.fWife != F.fHusb) entries_[next[F.fWife]++] = {f, F.fHusb};
        }
    }

    bool built_ = false;
    std::vector<int32_t> start_;
    std::vector<Entry> entries_;
};

// Two different identifiers of the same kind name two different people,
// whatever their names and dates say. A blank or zero one says nothing.
bool IdsDiffer(std::string_view afn, std::string_view genId, int16_t cdNo, int32_t pidNo, const IndivRec& C) {
    const std::string_view cAfn = TrimView(C.iAFN.value()), cGenId = TrimView(C.iGenID.value());
    if (!afn.empty() && !cAfn.empty() && afn != cAfn) return true;
    if (!genId.empty() && !cGenId.empty() && genId != cGenId) return true;
    const bool pageNumbers = cdNo > 0 && pidNo > 0, storedNumbers = C.iCDno > 0 && C.iPIDno > 0;
    return pageNumbers && storedNumbers && (cdNo != C.iCDno || pidNo != C.iPIDno);
}

// Whether the page's spouse sp is c's stored partner. His record, when
// known, decides where c or he is a placeholder, who has no name to be
// judged by; between named partners it decides nothing, and they are
// judged by identifiers, then names. An unknown name, on the page or in
// the table, agrees with nothing.
bool SpouseAgrees(const PageSpouseView& sp, int32_t c, int32_t partner) {
    if (partner <= 0 || partner > g.IndivCount) return false;
    if (sp.indiv > 0 && (NamesNobody(g.Indiv[c].iName.value()) || NamesNobody(g.Indiv[sp.indiv].iName.value())))
        return partner == sp.indiv;
    const IndivRec& P = g.Indiv[partner];
    if (IdsDiffer(sp.afn, sp.genId, sp.cdNo, sp.pidNo, P)) return false;
    if (!sp.afn.empty() && HoldsTrimmed(P.iAFN.value(), sp.afn)) return true;
    if (sp.cdNo > 0 && sp.pidNo > 0 && sp.cdNo == P.iCDno && sp.pidNo == P.iPIDno) return true;
    if (sp.name.unknown || NamesNobody(P.iName.value())) return false;
    // A placeholder is known by his partner's record or identifiers only:
    // a name alone may be any family's.
    if (NamesNobody(g.Indiv[c].iName.value())) return false;
    return KeysAgree(sp.name.key, StoredKey(partner));
}

// Compares the page's spouses with the partner of each family of c (never
// with c himself); the first agreement ends the search. An unknown spouse
// is compared like any other: he agrees with nobody, so c's partners give
// no agreement.
void TestSpouses(int32_t c, const std::vector<const PageSpouseView*>& spouses, PartnerIndex& partners,
                 Markers& m) {
    const auto [first, last] = partners.Of(c);
    for (const PageSpouseView* sp : spouses) {
        for (const PartnerIndex::Entry* e = first; e != last; ++e) {
            m.spouse = 'N';
            if (SpouseAgrees(*sp, c, e->partner)) {
                m.spouse = '=';
                m.agreedSpouseSurname = sp->name.surname;
                m.spouseIsHisRecord = sp->indiv > 0 && e->partner == sp->indiv;
                return;
            }
        }
    }
}

// Marks candidate c. Returns false, leaving the other markers unset, when
// the names alone rule out both taking c and listing him: every rule for
// either needs one of these name agreements.
bool MarkCandidate(int32_t c, const MatchQuery& q, const Person& p, const PageSpouseView& spouse,
                   PartnerIndex& partners, Markers& m) {
    const IndivRec& C = g.Indiv[c];
    const std::string_view cName = TrimView(C.iName.value()), cSurn = TrimView(C.iSurn.value()),
                           cGivn = TrimView(C.iGivn.value());
    const std::string& cNameCaps = NameCaps().Of(c, cName);
    if (cNameCaps == p.nameCaps) m.full = '=';
    if (!cGivn.empty() && !cSurn.empty() && !cName.empty() &&
        (p.nameCaps.find(cNameCaps) != std::string::npos || cNameCaps.find(p.nameCaps) != std::string::npos))
        m.contains = '=';
    // Recasing keeps the length, so names of different lengths never agree.
    const bool givenEqual = cGivn.size() == p.given.size() && GivenCaps().Of(c, cGivn) == p.givenCaps;
    if (givenEqual && cSurn.size() == p.surname.size() && SurnameCaps().Of(c, cSurn) == p.surnameCaps &&
        !(p.surname.empty() && p.given.empty()))
        m.surnGivn = '=';
    const bool eitherSurnameMissing = cSurn.empty() || p.surname.empty();
    if (givenEqual && !p.given.empty() && eitherSurnameMissing) m.givnOnly = '=';
    if (KeyAgrees(p.key, C.iNameKey)) m.key = '=';
    if (m.full != '=' && m.contains != '=' && m.surnGivn != '=' && m.key != '=' && m.givnOnly != '=' &&
        !(givenEqual && eitherSurnameMissing))
        return false;
    m.birth = DateMarker(q.bDate, p.birthYear, C.ibDate);
    m.chr = DateMarker(q.cDate, p.chrYear, C.icDate);
    m.death = DateMarker(q.dDate, p.deathYear, C.idDate);

    const FamilRec* parents = FamilyOf(C.iFamc);
    if (parents && !IsBlank(q.fatherName)) {
        const bool sameFamily = q.childOfFamily > 0 && C.iFamc == q.childOfFamily;
        m.parents = ParentsMarker(p.father, p.mother, *parents, sameFamily);
    }
    if (!IsBlank(q.spouseName) && C.iFamsCount > 0) TestSpouses(c, {&spouse}, partners, m);

    if (q.relCode == "IN") {
        if (!IsBlank(q.spouseName) && m.spouse != '=' && !p.otherSpouses.empty()) {
            std::vector<const PageSpouseView*> others;
            for (const auto& s : p.otherSpouses) others.push_back(&s);
            TestSpouses(c, others, partners, m);
        }
        if (m.parents != '=' && parents && !p.otherParents.empty()) {
            // The first set counts here only when it was compared.
            char best = IsBlank(q.fatherName) ? 'N' : m.parents;
            for (const auto& [father, mother] : p.otherParents) {
                best = Better(best, ParentsMarker(father, mother, *parents, false));
                if (best == '=') break;
            }
            m.parents = best;
        }
    }
    return true;
}

bool GenIdAgrees(const MatchQuery& q, const Person& p, const IndivRec& C) {
    if (p.genId.empty() || !HoldsTrimmed(C.iGenID.value(), p.genId)) return false;
    return q.childOfFamily <= 0 || C.iFamc == 0 || C.iFamc == q.childOfFamily;
}

bool ExactMatch(const MatchQuery& q, const Person& p, const IndivRec& C) {
    if (!p.afn.empty() && HoldsTrimmed(C.iAFN.value(), p.afn)) return true;
    if (GenIdAgrees(q, p, C)) return true;
    return q.cdNo > 0 && q.cdNo == C.iCDno && q.pidNo > 0 && q.pidNo == C.iPIDno;
}

bool IdentifiersDiffer(const MatchQuery& q, const Person& p, const IndivRec& C) {
    return IdsDiffer(p.afn, q.pageLocalId ? std::string_view() : std::string_view(p.genId), q.cdNo, q.pidNo, C);
}

bool Excluded(const MatchQuery& q, int32_t c) {
    return std::find(q.notThese.begin(), q.notThese.end(), c) != q.notThese.end();
}

bool Listable(int32_t c, const MatchQuery& q, const Person& p, const Markers& m) {
    const IndivRec& C = g.Indiv[c];
    const std::string cSurn = C.iSurn.trimmed();
    const bool close = (GivenCaps().Of(c, TrimView(C.iGivn.value())) == p.givenCaps && m.parents != 'N' &&
                        (cSurn.empty() || p.surname.empty())) ||
                       KeyAgrees(p.key, C.iNameKey);
    if (!close) return false;
    if (C.iTouched > 0) return false;
    if (!IsBlank(q.afn) && !C.iAFN.blank()) return false;
    if (q.cdNo > 0 && C.iCDno > 0) return false;
    if (q.pidNo > 0 && C.iPIDno > 0) return false;
    if (!IsBlank(q.genId) && !C.iGenID.blank()) return false;
    if (!p.birthYear.empty()) {
        int cy = YearNumber(C.ibDate.value());
        if (cy > 0 && std::abs(cy - std::stoi(p.birthYear)) > 15) return false;
    }
    if (const FamilRec* F = FamilyOf(C.iFamc)) {
        if (!IsBlank(q.fatherName) && !IsBlank(q.motherName) && p.father.key != StoredKey(F->fHusb) &&
            p.mother.key != StoredKey(F->fWife))
            return false;
        const std::string sc = Caps(q.spouseName);
        if (!sc.empty() && sc != "<UNKNOWN>" &&
            (sc == UpperCase(StoredName(F->fHusb)) || sc == UpperCase(StoredName(F->fWife))))
            return false;
    }
    if (p.nameCaps == "<UNKNOWN>" && (IsBlank(q.spouseName) || m.spouse == 'N')) return false;
    return true;
}

MatchCandidateRow CandidateRow(int32_t c, PartnerIndex& partners) {
    const IndivRec& C = g.Indiv[c];
    MatchCandidateRow row;
    row.indiv = c;
    row.name = C.iGivn.trimmed() + " " + C.iSurn.trimmed();
    std::string by = YearText(C.ibDate.value());
    if (by.empty()) by = YearText(C.icDate.value());
    row.birth = " " + by;
    row.death = " " + YearText(C.idDate.value());
    if (const FamilRec* F = FamilyOf(C.iFamc)) {
        row.father = StoredName(F->fHusb);
        row.mother = StoredName(F->fWife);
    }
    const auto [first, last] = partners.Of(c);
    if (first != last) row.spouse = StoredName(first->partner);
    return row;
}

// A candidate whose spouse is one of his own parents is a muddle of the
// records, not a person to offer. A candidate without a spouse is kept.
bool RowIsMuddled(const MatchCandidateRow& row) {
    const std::string s = Caps(row.spouse);
    if (s.empty() || s == "<UNKNOWN>" || s == "UNKNOWN") return false;
    return s == Caps(row.father) || s == Caps(row.mother);
}

// The candidates to look at, in scan order, each once.
std::vector<int32_t> CandidateSet(const std::string& initial) {
    std::vector<int32_t> out;
    const unsigned char c = static_cast<unsigned char>(initial[0]);
    if (initial.size() == 1 && c >= 'A' && c <= 'Z') {
        const int b = NameIndexBucket(static_cast<char>(c));
        const auto& bucket = g.NameIdx[b];
        const int32_t n = std::min<int32_t>(g.NameIdxCount[b], static_cast<int32_t>(bucket.size()) - 1);
        std::vector<char> seen(static_cast<std::size_t>(g.IndivCount) + 1, 0);
        for (int32_t e = 1; e <= n; ++e) {
            const int32_t i = bucket[e];
            if (i <= 0 || i > g.IndivCount || seen[i]) continue;
            seen[i] = 1;
            out.push_back(i);
        }
    } else {
        out.reserve(static_cast<std::size_t>(g.IndivCount));
        for (int32_t i = 1; i <= g.IndivCount; ++i) out.push_back(i);
    }
    return out;
}

std::string RemoveMarks(const std::string& s) { return ReplaceAll(ReplaceAll(s, "_", ""), "?", ""); }

// A spelling of unknown that cleaning turns into "<unknown>".
bool ReadsUnknown(std::string_view s) { return NamesNobody(s) && !ReadsUnknownMark(s); }

void Clean(MatchQuery& q) {
    if (!IsBlank(q.spouseName)) {
        q.spouseName = RemoveMarks(q.spouseName);
        if (IsBlank(q.spouseName)) q.spouseName = "<unknown>";
    }
    if (!IsBlank(q.fatherName)) q.fatherName = RemoveMarks(q.fatherName);
    if (!IsBlank(q.motherName)) q.motherName = RemoveMarks(q.motherName);
    for (std::string* s : {&q.name, &q.spouseName, &q.fatherName, &q.motherName})
        if (ReadsUnknown(*s)) *s = "<unknown>";
}

int32_t Choose(const MatchQuery& q, const Person& p, const std::vector<MatchCandidateRow>& rows) {
    MatchRequest req;
    req.name = TrimBlanks(q.name);  // the dialog puts its own blank before it
    req.birth = " " + (p.birthYear.empty() ? p.chrYear : p.birthYear);
    req.death = " " + p.deathYear;
    req.spouse = " " + TrimBlanks(q.spouseName);
    req.father = " " + TrimBlanks(q.fatherName);
    req.mother = " " + TrimBlanks(q.motherName);
    req.rows = rows;
    if (rows.size() < 9) {
        MatchCandidateRow pad;
        pad.name = "   ";
        pad.birth = pad.death = pad.spouse = pad.father = pad.mother = " ";
        req.rows.resize(10, pad);
    }
    Port().SetBusy(false);
    const int32_t chosen = Port().ChooseMatch(req);
    Port().SetBusy(true);
    // Only a listed candidate can be chosen; anything else means a new person.
    for (const auto& row : rows)
        if (chosen > 0 && row.indiv == chosen) return chosen;
    return 0;
}

int32_t Match(MatchQuery& q) {
    Clean(q);
    if (IsBlank(q.name)) return 0;

    Person p;
    p.name = TrimBlanks(q.name);
    p.nameCaps = UpperCase(p.name);
    p.birthYear = YearText(q.bDate);
    p.chrYear = YearText(q.cDate);
    p.deathYear = YearText(q.dDate);
    p.afn = FixedText<14>(TrimBlanks(q.afn)).trimmed();
    p.genId = FixedText<24>(TrimBlanks(q.genId)).trimmed();
    p.father = Split(q.fatherName);
    p.mother = Split(q.motherName);
    const int32_t spouseRec = q.spouseIndiv > 0 && q.spouseIndiv <= g.IndivCount ? q.spouseIndiv : 0;
    const PageSpouseView spouse{Split(q.spouseName), q.spouseIds, spouseRec};
    const SplitName self = Split(p.name);
    p.surname = self.surname;
    p.given = self.given;
    p.key = self.key;
    p.surnameCaps = UpperCase(p.surname);
    p.givenCaps = UpperCase(p.given);
    if (q.relCode == "IN") {
        const PageScratchRec& ps = g.PageScratch;
        const int16_t nSp = std::min(ps.PageSpouseCount, kMaxPageSpouses);
        for (int16_t k = 2; k <= nSp; ++k) {
            const PageSpouse& sp = ps.PageSpouses[k];
            p.otherSpouses.emplace_back(Split(sp.spName.trimmed()),
                                        PartnerIds{sp.spAFN.trimmed(), sp.spCDno, sp.spPIDno, ""}, 0);
        }
        const int16_t nPs = std::min(ps.PageParentSetCount, kMaxParentSets);
        for (int16_t k = 2; k <= nPs; ++k)
            p.otherParents.emplace_back(Split(ps.PageParentSets[k].psFatherName.trimmed()),
                                        Split(ps.PageParentSets[k].psMotherName.trimmed()));
    }

    std::vector<MatchCandidateRow> rows;
    if (p.nameCaps != "<XUNKNOWN>") {
        // An identifier names the person whatever his name is now, so it is
        // looked for in the whole table, not only under the surname initial.
        const bool identified = !p.afn.empty() || !p.genId.empty() || (q.cdNo > 0 && q.pidNo > 0);
        for (int32_t c = 1; identified && c <= g.IndivCount; ++c) {
            if (ExactMatch(q, p, g.Indiv[c]) && !Excluded(q, c)) {
                g.Indiv[c].iTouched = 1;
                g.LastIndiv = c;
                return c;
            }
        }
        const std::string initial = Initial(p.surname);
        const bool anyInitial = initial == " ";
        PartnerIndex partners;
        for (int32_t c : CandidateSet(initial)) {
            IndivRec& C = g.Indiv[c];
            if (Excluded(q, c) || IdentifiersDiffer(q, p, C)) continue;
            if (!(anyInitial || InitialIs(C.iSurn.value(), initial) || C.iSurn.blank() ||
                  ReadsUnknownMark(C.iName.value())))
                continue;
            Markers m;
            if (!MarkCandidate(c, q, p, spouse, partners, m)) continue;
            bool automatic = IsAutomatic(m, p);
            // A placeholder filed by this paste is kept from every other
            // unnamed person of it, but not from the page spouse he was
            // made beside.
            if (automatic && p.nameCaps == "<UNKNOWN>" && C.iTouched == 1 && !m.spouseIsHisRecord) automatic = false;
            if (automatic && (Caps(Utf8Left(C.iGivn.trimmed(), 6)) != "LIVING" || m.spouse == '=' ||
                              GenIdAgrees(q, p, C))) {
                C.iTouched = 1;
                g.LastIndiv = c;
                return c;
            }
            if (static_cast<int>(rows.size()) < kMaxCandidateRows && Listable(c, q, p, m)) {
                MatchCandidateRow row = CandidateRow(c, partners);
                if (!RowIsMuddled(row)) rows.push_back(std::move(row));
            }
        }
    }

    if (!rows.empty()) {
        const int32_t chosen = Choose(q, p, rows);
        if (chosen > 0) {
            // Taken by the user as by a rule: the paste counts him as updated.
            g.Indiv[chosen].iTouched = 1;
            g.LastIndiv = chosen;
            return chosen;
        }
    }
    return CreateIndivFromPage(q.name, q.ext, q.afn, q.cdNo, q.pidNo, q.genId);
}

char IndexInitial(std::string_view surname) {
    if (IsBlank(surname)) return ' ';
    return surname.front();
}

}  // namespace

bool NamesNobody(std::string_view name) {
    const std::string c = Caps(name);
    return c == "<UNKNOWN>" || c == "UNKNOWN" || c == "UNKNOWN UNKNOWN" || c == "UNK";
}

int32_t FindIndivMatches(MatchQuery& q) {
    try {
        return Match(q);
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem with Indiv table: \n") + e.what());
        return 0;
    }
}

int32_t CreateIndivFromPage(const std::string& name, const std::string& ext, const std::string& afn,
                            int16_t cdNo, int32_t pidNo, const std::string& genId) {
    const std::string full = TrimBlanks(name);
    if (full.empty()) return 0;
    const int32_t n = AddIndiv();
    if (n == 0) return 0;
    IndivRec& r = g.Indiv[n];
    r.iXref = std::to_string(n);
    r.iAFN = TrimBlanks(afn);
    r.iGenID = TrimBlanks(genId);
    r.iName = full;
    r.iExt = TrimBlanks(ext);
    r.iCDno = cdNo;
    r.iPIDno = pidNo;
    const NameParts parts = SplitParts(full);
    r.iSurn = TrimBlanks(parts.surname);
    r.iGivn = TrimBlanks(parts.given);
    r.iPrefix = TrimBlanks(parts.prefix);
    r.iSuffix = TrimBlanks(parts.suffix);
    r.iTitle = TrimBlanks(parts.title);
    r.iNick = TrimBlanks(parts.nickname);
    r.iNameKey = parts.key;
    r.iTouched = 1;
    EnterNameIndex(n);
    return n;
}

void ReindexSurname(int32_t indiv, const std::string& oldSurname) {
    if (indiv <= 0 || indiv > g.IndivCount) return;
    const char before = IndexInitial(oldSurname);
    const char now = IndexInitial(g.Indiv[indiv].iSurn.value());
    const bool sameBuckets =
        before == now || (before != ' ' && now != ' ' && NameIndexBucket(before) == NameIndexBucket(now));
    if (sameBuckets) return;
    for (int b = 0; b < 5; ++b) {
        auto& bucket = g.NameIdx[b];
        if (bucket.empty()) bucket.assign(1, 0);
        bucket.erase(std::remove(bucket.begin() + 1, bucket.end(), indiv), bucket.end());
        g.NameIdxCount[b] = static_cast<int32_t>(bucket.size()) - 1;
    }
    EnterNameIndex(indiv);
}

}  // namespace lintora
