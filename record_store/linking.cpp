#include "record_store/linking.h"

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <vector>

#include "platform/platform.h"
#include "record_store/matching.h"
#include "record_store/name_parsing.h"
#include "record_store/notes.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

const char* const kSwitchCaption = "Unable to link to more than one set of parents...";
const char* const kChildSwitchCaption = "Unable to link child to more than one set of parents...";

bool IsBlank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }
bool ValidIndiv(int32_t i) { return i > 0 && i <= g.IndivCount; }
bool ValidFamil(int32_t f) { return f > 0 && f <= g.FamilCount; }

// A page value replaces a stored one only when it says something.
template <std::size_t N>
void CopyText(FixedText<N>& field, std::string_view pageValue) {
    std::string t = TrimBlanks(pageValue);
    if (!t.empty()) field = t;
}

// Who a page says a person is: his name and identifiers.
struct PagePersonIds {
    std::string_view name, afn;
    int16_t cdNo = 0;
    int32_t pidNo = 0;
};

PagePersonIds ParentOf(const PageParentSet& set, bool father) {
    if (father) return {set.psFatherName.value(), set.psFatherAFN.value(), set.psFatherCDno, set.psFatherPIDno};
    return {set.psMotherName.value(), set.psMotherAFN.value(), set.psMotherCDno, set.psMotherPIDno};
}

// Whether the page says who a person is: a name that is no spelling of
// unknown, or an identifier.
bool NamesSomebody(const PagePersonIds& p) {
    return (!IsBlank(p.name) && !NamesNobody(p.name)) || !IsBlank(p.afn) || (p.cdNo > 0 && p.pidNo > 0);
}

// A parent set with nobody in it links nothing.
bool SetNamesNobody(const PageParentSet& set) {
    return !NamesSomebody(ParentOf(set, true)) && !NamesSomebody(ParentOf(set, false));
}

// An unnamed partner (a father, or a page person) is known only by the
// other, so she is filed before him when the page names her: he is then
// looked for among her own partners, never taken from another family by
// her name.
bool UnnamedBesideNamed(const PagePersonIds& unnamed, const PagePersonIds& named) {
    return !IsBlank(unnamed.name) && !NamesSomebody(unnamed) && NamesSomebody(named);
}

// Copies the name parts of a page name into a record; the key stays. A
// name that only says unknown (a person found by his identifier) leaves
// the parts he has.
void CopyNameParts(IndivRec& r, std::string_view fullName) {
    if (NamesNobody(fullName)) return;
    const NameParts p = ParseNameParts(TrimBlanks(fullName));
    CopyText(r.iGivn, p.given);
    CopyText(r.iSurn, p.surname);
    CopyText(r.iSuffix, p.suffix);
    CopyText(r.iPrefix, p.prefix);
    CopyText(r.iTitle, p.title);
    CopyText(r.iNick, p.nickname);
}

// The four events a page gives for a person, each only when it says something.
void CopyEvents(IndivRec& r, std::string_view bDate, std::string_view bPlace, std::string_view cDate,
                std::string_view cPlace, std::string_view dDate, std::string_view dPlace, std::string_view blDate,
                std::string_view blPlace) {
    CopyText(r.ibDate, bDate);
    CopyText(r.ibPlace, bPlace);
    CopyText(r.icDate, cDate);
    CopyText(r.icPlace, cPlace);
    CopyText(r.idDate, dDate);
    CopyText(r.idPlace, dPlace);
    CopyText(r.iblDate, blDate);
    CopyText(r.iblPlace, blPlace);
}

// Keeps the surname index right when page data changed a record's surname.
class SurnameWatch {
public:
    explicit SurnameWatch(int32_t indiv) : indiv_(indiv), old_(g.Indiv[indiv].iSurn.value()) {}
    ~SurnameWatch() { ReindexSurname(indiv_, old_); }
    SurnameWatch(const SurnameWatch&) = delete;
    SurnameWatch& operator=(const SurnameWatch&) = delete;

private:
    int32_t indiv_;
    std::string old_;
};

std::string PartnerName(int32_t indiv) { return ValidIndiv(indiv) ? g.Indiv[indiv].iName.trimmed() : ""; }

// Makes newFam the person's family as child; when he already has other
// parents, the user decides.
void MoveToParents(int32_t person, int32_t newFam, const std::string& subject, const char* caption) {
    if (!ValidIndiv(person) || !ValidFamil(newFam)) return;
    int32_t& famc = g.Indiv[person].iFamc;
    if (famc == newFam) return;
    if (!ValidFamil(famc)) {
        famc = newFam;
        return;
    }
    const FamilRec& oldF = g.Famil[famc];
    const FamilRec& newF = g.Famil[newFam];
    const std::string text = subject + " is the child of another set of parents:\n" + PartnerName(oldF.fHusb) +
                             " and " + PartnerName(oldF.fWife) +
                             "\nWould you like to switch the child over to these parents?\n" +
                             PartnerName(newF.fHusb) + " and " + PartnerName(newF.fWife);
    if (MsgBox(text, MsgButtons::YesNo, MsgIcon::None, caption) != MsgResult::Yes) return;
    FamilRec& left = g.Famil[famc];
    if (left.fChilCount > 0) --left.fChilCount;
    famc = newFam;
}

// Takes back a family just appended that nobody came to belong to.
void DropLastFamily(int32_t f) {
    if (f != g.FamilCount) return;
    for (int32_t partner : {g.Famil[f].fHusb, g.Famil[f].fWife})
        if (ValidIndiv(partner) && g.Indiv[partner].iFamsCount > 0) --g.Indiv[partner].iFamsCount;
    g.Famil[f] = FamilRec{};
    --g.FamilCount;
    g.LastFamil = g.FamilCount;
}

// The person and everyone he is married to: none of them can be his parent.
std::vector<int32_t> SelfAndPartners(int32_t person) {
    std::vector<int32_t> out;
    if (!ValidIndiv(person)) return out;
    out.push_back(person);
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& F = g.Famil[f];
        if (F.fHusb == person && ValidIndiv(F.fWife)) out.push_back(F.fWife);
        if (F.fWife == person && ValidIndiv(F.fHusb)) out.push_back(F.fHusb);
    }
    return out;
}

// The person's own parents and children: none of them can be his spouse.
std::vector<int32_t> ParentsAndChildren(int32_t person) {
    std::vector<int32_t> out;
    if (!ValidIndiv(person)) return out;
    const int32_t famc = g.Indiv[person].iFamc;
    if (ValidFamil(famc))
        for (int32_t parent : {g.Famil[famc].fHusb, g.Famil[famc].fWife})
            if (ValidIndiv(parent) && parent != person) out.push_back(parent);
    std::vector<char> his(static_cast<std::size_t>(g.FamilCount) + 1, 0);
    bool any = false;
    for (int32_t f = 1; f <= g.FamilCount; ++f)
        if (g.Famil[f].fHusb == person || g.Famil[f].fWife == person) {
            his[static_cast<std::size_t>(f)] = 1;
            any = true;
        }
    for (int32_t i = 1; any && i <= g.IndivCount; ++i)
        if (i != person && ValidFamil(g.Indiv[i].iFamc) && his[static_cast<std::size_t>(g.Indiv[i].iFamc)])
            out.push_back(i);
    return out;
}

// Files one parent of a set or of a spouse; 0 when he is not filed. The
// matcher never takes him for the child, the child's partners, the other
// parent or that parent's own parents and children (he is filed as
// somebody else, or new, instead).
int32_t FileParent(MatchQuery& q, int32_t child, int32_t otherParent) {
    q.notThese = SelfAndPartners(child);
    if (ValidIndiv(otherParent)) {
        q.notThese.push_back(otherParent);
        for (int32_t kin : ParentsAndChildren(otherParent)) q.notThese.push_back(kin);
    }
    return FindIndivMatches(q);
}

// One parent of a page's parent set, as the fields of that set name him.
struct SetParent {
    FixedText<120>& name;
    FixedText<30>& afn;
    int16_t cdNo;
    int32_t pidNo;
    FixedText<30>& bDate;
    FixedText<120>& bPlace;
    int32_t& rin;
    FixedText<120>& partnerName;
    PartnerIds partnerIds;
    const char* sex;
};

// The unnamed father a child is already recorded with, or 0: a mother
// filed before her unnamed husband is looked for as his wife.
int32_t RecordedUnnamedFather(int32_t child) {
    if (!ValidIndiv(child) || !ValidFamil(g.Indiv[child].iFamc)) return 0;
    const int32_t father = g.Famil[g.Indiv[child].iFamc].fHusb;
    return ValidIndiv(father) && NamesNobody(g.Indiv[father].iName.value()) ? father : 0;
}

// The father's or the mother's fields of a parent set, with what the set
// says of the other parent.
SetParent SideOf(PageParentSet& set, bool father) {
    if (father)
        return {set.psFatherName,   set.psFatherAFN,    set.psFatherCDno, set.psFatherPIDno,
                set.psFatherbDate,  set.psFatherbPlace, set.psFatherRIN,  set.psMotherName,
                {set.psMotherAFN.trimmed(), set.psMotherCDno, set.psMotherPIDno, ""},
                "M"};
    return {set.psMotherName,   set.psMotherAFN,    set.psMotherCDno, set.psMotherPIDno,
            set.psMotherbDate,  set.psMotherbPlace, set.psMotherRIN,  set.psFatherName,
            {set.psFatherAFN.trimmed(), set.psFatherCDno, set.psFatherPIDno, ""},
            "F"};
}

// Files a parent of the page person and copies the set's data about him;
// returns his record or 0. partner is the other parent's record when he is
// known though not yet filed from this page (0 = none).
int32_t FileSetParent(const SetParent& p, int32_t child, int32_t otherParent, int32_t partner = 0) {
    MatchQuery q;
    q.name = p.name.value();
    q.afn = p.afn.value();
    q.cdNo = p.cdNo;
    q.pidNo = p.pidNo;
    q.relCode = "IP";
    q.bDate = p.bDate.value();
    q.spouseName = p.partnerName.value();
    q.spouseIds = p.partnerIds;
    q.spouseIndiv = ValidIndiv(otherParent) ? otherParent : ValidIndiv(partner) ? partner : 0;
    const int32_t r = FileParent(q, child, otherParent);
    p.name = q.name;
    p.afn = q.afn;
    p.bDate = q.bDate;
    p.partnerName = q.spouseName;
    if (r == 0) return 0;
    IndivRec& rec = g.Indiv[r];
    rec.iSex = p.sex;
    {
        SurnameWatch watch(r);
        CopyNameParts(rec, p.name.value());
    }
    CopyText(rec.iAFN, p.afn.value());
    if (p.cdNo > 0) rec.iCDno = p.cdNo;
    if (p.pidNo > 0) rec.iPIDno = p.pidNo;
    CopyText(rec.ibPlace, p.bPlace.value());
    CopyText(rec.ibDate, p.bDate.value());
    p.rin = r;
    return r;
}

}  // namespace

int32_t ApplyPagePerson(int32_t firstSpouse) {
    PageScratchRec& ps = g.PageScratch;
    MatchQuery q;
    q.name = ps.pgName;
    q.afn = ps.pgAFN;
    q.cdNo = ps.pgCDno;
    q.pidNo = ps.pgPIDno;
    q.relCode = "IN";
    q.bDate = ps.pgbDate;
    q.cDate = ps.pgcDate;
    q.dDate = ps.pgdDate;
    q.spouseName = ps.PageSpouses[1].spName.value();
    q.fatherName = ps.PageParentSets[1].psFatherName.value();
    q.motherName = ps.PageParentSets[1].psMotherName.value();
    const PageSpouse& first = ps.PageSpouses[1];
    q.spouseIds = {first.spAFN.trimmed(), first.spCDno, first.spPIDno, ""};
    if (ValidIndiv(firstSpouse)) {
        q.spouseIndiv = firstSpouse;
        q.notThese = ParentsAndChildren(firstSpouse);
        q.notThese.push_back(firstSpouse);
    }
    const int32_t p = FindIndivMatches(q);
    ps.PageSpouses[1].spName = q.spouseName;
    ps.PageParentSets[1].psFatherName = q.fatherName;
    ps.PageParentSets[1].psMotherName = q.motherName;
    if (!ValidIndiv(p)) return 0;

    ps.pgRIN = p;
    IndivRec& r = g.Indiv[p];
    SurnameWatch watch(p);
    CopyText(r.iAFN, ps.pgAFN);
    if (ps.pgCDno > 0) r.iCDno = ps.pgCDno;
    if (ps.pgPIDno > 0) r.iPIDno = ps.pgPIDno;
    CopyText(r.iGivn, ps.pgGivn);
    CopyText(r.iSurn, ps.pgSurn);
    CopyText(r.iSuffix, ps.pgSuffix);
    CopyText(r.iPrefix, ps.pgPrefix);
    CopyText(r.iTitle, ps.pgTitle);
    CopyText(r.iNick, ps.pgNick);
    CopyText(r.iNameKey, ps.pgNameKey);
    CopyText(r.iSex, ps.pgSex);
    CopyEvents(r, ps.pgbDate, ps.pgbPlace, ps.pgcDate, ps.pgcPlace, ps.pgdDate, ps.pgdPlace, ps.pgblDate,
               ps.pgblPlace);
    CopyText(r.iSubmNo, ps.pgSubmNo);
    CopyText(r.iFilmNo, ps.pgFilmNo);
    CopyText(r.iPageNo, ps.pgPageNo);
    CopyText(r.iRefNo, ps.pgRefNo);
    return p;
}

namespace {

// Finds page spouse sp as the partner of page (0 while the page person is
// not yet filed); the matcher's cleaned dates go back into the page.
int32_t FindPageSpouse(PageSpouse& sp, int32_t page) {
    const PageScratchRec& ps = g.PageScratch;
    MatchQuery q;
    q.name = sp.spName.trimmed();
    q.afn = sp.spAFN.trimmed();
    q.cdNo = sp.spCDno;
    q.pidNo = sp.spPIDno;
    q.relCode = "IS";
    q.bDate = sp.spbDate.value();
    q.cDate = sp.spcDate.value();
    q.dDate = sp.spdDate.value();
    q.spouseName = ps.pgName;
    q.fatherName = ps.SpouseFather.Name;
    q.motherName = ps.SpouseMother.Name;
    q.spouseIds = {TrimBlanks(ps.pgAFN), ps.pgCDno, ps.pgPIDno, ""};
    q.spouseIndiv = ValidIndiv(page) ? page : 0;
    q.notThese = ParentsAndChildren(page);
    const int32_t s = FindIndivMatches(q);
    sp.spbDate = q.bDate;
    sp.spcDate = q.cDate;
    sp.spdDate = q.dDate;
    return s;
}

// Files page spouse k, found as record s, beside the page person: his
// data, the couple's family and his parents. Returns s, or 0 when nothing
// of him is written.
int32_t FileSpouse(int16_t k, int32_t s, int32_t& fam, const std::string& sexHint) {
    fam = 0;
    PageScratchRec& ps = g.PageScratch;
    const int32_t page = ps.pgRIN;
    if (!ValidIndiv(page)) return 0;
    PageSpouse& sp = ps.PageSpouses[k];

    // The page's sex as the record keeps it ("Male" is "M"); whatever it
    // says, the page person takes one of the couple's places.
    auto sexCode = [](std::string_view text) { return FixedText<1>(TrimBlanks(text)).trimmed(); };
    const std::string pgSex = sexCode(ps.pgSex);
    if ((pgSex.empty() || pgSex == "U") && !TrimBlanks(sexHint).empty()) ps.pgSex = TrimBlanks(sexHint);
    int32_t husband = 0, wife = 0;
    if (sexCode(ps.pgSex) == "F") wife = page;
    else husband = page;

    // Nobody filed, or the page person himself: nothing of this spouse is written.
    if (!ValidIndiv(s) || s == page) return 0;

    IndivRec& r = g.Indiv[s];
    const std::string rSex = r.iSex.trimmed();
    if (rSex.empty() || rSex == "U") r.iSex = husband > 0 ? "F" : "M";
    if (husband > 0) wife = s;
    else husband = s;
    sp.spRIN = s;
    {
        SurnameWatch watch(s);
        CopyNameParts(r, sp.spName.value());
    }
    CopyText(r.iAFN, sp.spAFN.value());
    if (sp.spCDno > 0) r.iCDno = sp.spCDno;
    if (sp.spPIDno > 0) r.iPIDno = sp.spPIDno;
    CopyEvents(r, sp.spbDate.value(), sp.spbPlace.value(), sp.spcDate.value(), sp.spcPlace.value(),
               sp.spdDate.value(), sp.spdPlace.value(), sp.spblDate.value(), sp.spblPlace.value());

    const int32_t f = FindOrAddFamil(husband, wife);
    if (!ValidFamil(f)) return s;
    FamilRec& F = g.Famil[f];
    // A page without the marriage keeps what is known of it.
    CopyText(F.fmDate, sp.spmDate.value());
    CopyText(F.fmPlace, sp.spmPlace.value());
    fam = f;
    if (ps.PageChildCount > 0) F.fChilCount = std::min(ps.PageChildCount, kMaxPageChildren);

    PageParent& pf = ps.SpouseFather;
    PageParent& pm = ps.SpouseMother;
    // Of the spouse's parents a page gives names and AFNs only.
    const PagePersonIds fatherIds{pf.Name, pf.AFN}, motherIds{pm.Name, pm.AFN};
    if (!NamesSomebody(fatherIds) && !NamesSomebody(motherIds)) return s;

    // The spouse's parents: sex and AFN are all the page says of them.
    // other: the parent already filed from this page; known: the partner
    // already recorded, though not yet filed from it (0 = none).
    auto fileSpouseParent = [&](PageParent& who, const PageParent& partner, const char* sexOf, int32_t other,
                                int32_t known) {
        MatchQuery q;
        q.name = who.Name;
        q.afn = who.AFN;
        q.relCode = "SP";
        q.spouseName = partner.Name;
        q.spouseIds.afn = partner.AFN;
        q.spouseIndiv = ValidIndiv(other) ? other : ValidIndiv(known) ? known : 0;
        const int32_t r = FileParent(q, s, other);
        if (r > 0) {
            g.Indiv[r].iSex = sexOf;
            CopyText(g.Indiv[r].iAFN, who.AFN);
            who.RIN = r;
        }
        return r;
    };
    const bool motherFirst = UnnamedBesideNamed(fatherIds, motherIds);
    const auto [father, mother] = FileCouple(
        motherFirst, [&](int32_t wife) { return fileSpouseParent(pf, pm, "M", wife, 0); },
        [&](int32_t husband) {
            return fileSpouseParent(pm, pf, "F", husband, motherFirst ? RecordedUnnamedFather(s) : 0);
        });
    if (father == 0 && mother == 0) return s;
    const int32_t parents = FindOrAddFamil(father, mother);
    if (!ValidFamil(parents)) return s;
    MoveToParents(s, parents, sp.spName.trimmed(), kSwitchCaption);
    if (g.Famil[parents].fChilCount == 0) g.Famil[parents].fChilCount = 1;
    return s;
}

}  // namespace

int32_t LinkPageSpouse(int16_t k, int32_t& fam, const std::string& sexHint) {
    fam = 0;
    PageScratchRec& ps = g.PageScratch;
    if (k < 1 || k > std::min(ps.PageSpouseCount, kMaxPageSpouses)) return 0;
    if (!ValidIndiv(ps.pgRIN)) return 0;
    return FileSpouse(k, FindPageSpouse(ps.PageSpouses[k], ps.pgRIN), fam, sexHint);
}

int32_t LinkPageChild(int16_t k, int32_t fam) {
    PageScratchRec& ps = g.PageScratch;
    if (k < 1 || k > std::min(ps.PageChildCount, kMaxPageChildren)) return 0;
    if (!ValidFamil(fam)) fam = 0;
    PageChild& ch = ps.PageChildren[k];

    MatchQuery q;
    int32_t husband = 0, wife = 0;
    if (fam > 0) {
        husband = g.Famil[fam].fHusb;
        wife = g.Famil[fam].fWife;
        q.fatherName = PartnerName(husband);
        q.motherName = PartnerName(wife);
        if (UpperCase(Utf8Left(ch.chName.trimmed(), 6)) == "LIVING" && ch.chGenID.blank()) {
            auto surnameCode = [](int32_t i) {
                std::string key = ValidIndiv(i) ? g.Indiv[i].iNameKey.padded() : std::string(20, ' ');
                return key.substr(key.size() - 10);
            };
            ch.chGenID = surnameCode(husband) + surnameCode(wife) + std::to_string(k);
        }
    }
    q.name = ch.chName.value();
    q.afn = ch.chAFN.value();
    q.relCode = "CH";
    q.genId = ch.chGenID.value();
    q.bDate = ch.chbDate.value();
    q.cDate = ch.chcDate.value();
    q.dDate = ch.chdDate.value();
    q.childOfFamily = fam;
    const int32_t c = FindIndivMatches(q);
    ch.chName = q.name;
    ch.chAFN = q.afn;
    ch.chGenID = q.genId;
    ch.chbDate = q.bDate;
    ch.chcDate = q.cDate;
    ch.chdDate = q.dDate;
    // Nobody filed, or a person who cannot be this child: the page person
    // or a partner of the family he would be a child of.
    if (!ValidIndiv(c) || c == ps.pgRIN || c == husband || c == wife) return 0;

    ch.chRIN = c;
    IndivRec& r = g.Indiv[c];
    {
        SurnameWatch watch(c);
        CopyNameParts(r, ch.chName.value());
    }
    CopyText(r.iAFN, ch.chAFN.value());
    CopyText(r.iGenID, ch.chGenID.value());
    CopyText(r.iSex, ch.chSex.value());
    CopyEvents(r, ch.chbDate.value(), ch.chbPlace.value(), ch.chcDate.value(), ch.chcPlace.value(),
               ch.chdDate.value(), ch.chdPlace.value(), ch.chblDate.value(), ch.chblPlace.value());
    // Without a family the child's parents are left as they are.
    if (fam > 0) MoveToParents(c, fam, ch.chName.trimmed(), kChildSwitchCaption);
    return c;
}

int32_t LinkChildToParents(int16_t s) {
    try {
        PageScratchRec& ps = g.PageScratch;
        if (s < 1 || s > std::min(ps.PageParentSetCount, kMaxParentSets)) return 0;
        const int32_t page = ps.pgRIN;
        if (!ValidIndiv(page)) return 0;
        PageParentSet& set = ps.PageParentSets[s];
        if (SetNamesNobody(set)) return 0;

        const SetParent fatherSide = SideOf(set, true), motherSide = SideOf(set, false);
        const bool motherFirst = UnnamedBesideNamed(ParentOf(set, true), ParentOf(set, false));
        const auto [father, mother] = FileCouple(
            motherFirst, [&](int32_t wife) { return FileSetParent(fatherSide, page, wife); },
            [&](int32_t husband) {
                return FileSetParent(motherSide, page, husband, motherFirst ? RecordedUnnamedFather(page) : 0);
            });

        if (father == 0 && mother == 0) return 0;
        const int32_t f = FindOrAddFamil(father, mother);
        if (!ValidFamil(f)) return 0;
        MoveToParents(page, f, TrimBlanks(ps.pgName), kSwitchCaption);
        return f;
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem processing parents...\n") + e.what());
        return 0;
    }
}

namespace {

// The first parent set, in page order, whose father and mother are both
// already in the tables by their identifiers; 0 when none is.
int16_t RecognisedParentSet() {
    const PageScratchRec& ps = g.PageScratch;
    const int16_t n = std::min(ps.PageParentSetCount, kMaxParentSets);
    for (int16_t s = 1; s <= n; ++s) {
        const PageParentSet& set = ps.PageParentSets[s];
        if (SetNamesNobody(set)) continue;
        const std::string fAfn = set.psFatherAFN.trimmed(), mAfn = set.psMotherAFN.trimmed();
        int32_t father = 0, mother = 0;
        for (int32_t i = 1; i <= g.IndivCount; ++i) {
            const IndivRec& r = g.Indiv[i];
            const std::string afn = r.iAFN.trimmed();
            if ((!fAfn.empty() && fAfn == afn) ||
                (set.psFatherCDno > 0 && set.psFatherPIDno > 0 && set.psFatherCDno == r.iCDno &&
                 set.psFatherPIDno == r.iPIDno))
                father = i;
            if ((!mAfn.empty() && mAfn == afn) ||
                (set.psMotherCDno > 0 && set.psMotherPIDno > 0 && set.psMotherCDno == r.iCDno &&
                 set.psMotherPIDno == r.iPIDno))
                mother = i;
            if (father > 0 && mother > 0) return s;
        }
    }
    return 0;
}

}  // namespace

int32_t LinkPageFamily() {
    try {
        g.IndivAdded = 0;
        g.FamilAdded = 0;
        g.IndivUpdated = 0;
        g.FamilUpdated = 0;
        PageScratchRec& ps = g.PageScratch;

        // An unnamed page person is found among the partners of his first
        // spouse, who is found before him.
        const PageSpouse& sp1 = ps.PageSpouses[1];
        const PagePersonIds pageIds{ps.pgName, ps.pgAFN, ps.pgCDno, ps.pgPIDno};
        const PagePersonIds spouseIds{sp1.spName.value(), sp1.spAFN.value(), sp1.spCDno, sp1.spPIDno};
        const bool spouseFirst = ps.PageSpouseCount >= 1 && UnnamedBesideNamed(pageIds, spouseIds);
        const int32_t firstSpouse = spouseFirst ? FindPageSpouse(ps.PageSpouses[1], 0) : 0;

        const int32_t page = ApplyPagePerson(firstSpouse);
        g.PageMainIndiv = page;
        // Without the page person nothing else on the page has anyone to belong to.
        if (page == 0) return 0;

        const std::string sex = g.Indiv[page].iSex.trimmed();
        const std::string sexHint = (sex == "M" || sex == "F") ? sex : "";

        const std::string notes = TrimBlanks(ps.pgNotes);
        // A page filed again finds its notes already stored and adds nothing.
        if (!notes.empty()) {
            g.IndivNoteText = notes;
            StoreNotes("I", page, "N");
        }

        int32_t firstFam = 0;
        const int16_t spouses = std::min(ps.PageSpouseCount, kMaxPageSpouses);
        for (int16_t k = 1; k <= spouses; ++k) {
            int32_t fam = 0;
            if (k == 1 && spouseFirst) FileSpouse(1, firstSpouse, fam, sexHint);
            else LinkPageSpouse(k, fam, sexHint);
            if (k == 1) firstFam = fam;
        }

        const int16_t children = std::min(ps.PageChildCount, kMaxPageChildren);
        int32_t madeForChildren = 0;
        if (children > 0 && firstFam == 0) {
            // No couple to put them in: the children belong to the page
            // person alone.
            const int32_t before = g.FamilCount;
            const bool isWife = g.Indiv[page].iSex.trimmed() == "F";
            firstFam = isWife ? FindOrAddFamil(0, page) : FindOrAddFamil(page, 0);
            if (g.FamilCount > before) madeForChildren = firstFam;
        }
        bool used = false;
        for (int16_t k = 1; k <= children; ++k) {
            const int32_t c = LinkPageChild(k, firstFam);
            if (c > 0 && madeForChildren > 0 && g.Indiv[c].iFamc == madeForChildren) used = true;
        }
        if (madeForChildren > 0 && !used) DropLastFamily(madeForChildren);

        const int16_t sets = std::min(ps.PageParentSetCount, kMaxParentSets);
        if (sets == 1) {
            LinkChildToParents(1);
        } else if (sets > 1) {
            g.ParentSetChoice = 0;
            g.ParentSetChoice = RecognisedParentSet();
            if (g.ParentSetChoice > 0) LinkChildToParents(g.ParentSetChoice);
            else MainWindow().LoadParentPickList();
        }
        return page;
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem processing Input...\n") + e.what());
        return g.PageMainIndiv;
    }
}

}  // namespace lintora
