#include "page_import/narrative_entry.h"

#include <array>
#include <exception>
#include <string_view>

#include "page_import/event_splitters.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// How much of the text before a clause stays for the clauses still to come.
enum class Keep { Before, BeforeAndBlank };

struct Clause {
    std::string_view text;
    char sex;  // ' ' when the clause does not say
    Keep keep;
};

// Tried in this order within each group; the first that occurs decides.
constexpr std::array<Clause, 3> kBurial = {{{" He was buried ", 'M', Keep::Before},
                                            {" She was buried ", 'F', Keep::Before},
                                            {" was buried ", ' ', Keep::BeforeAndBlank}}};
constexpr std::array<Clause, 4> kDeath = {{{", and died ", ' ', Keep::Before},
                                           {" She died ", 'F', Keep::BeforeAndBlank},
                                           {" He died ", 'M', Keep::BeforeAndBlank},
                                           {" died ", ' ', Keep::BeforeAndBlank}}};
constexpr std::array<Clause, 3> kChristening = {{{" He was christened ", 'M', Keep::Before},
                                                 {" She was christened ", 'F', Keep::Before},
                                                 {" was christened ", ' ', Keep::BeforeAndBlank}}};
// ", born " is how a register's child lines put it ("+ 4 i. John Smith,
// born 1850"); without it the date would end up in the name.
constexpr std::array<Clause, 4> kBirth = {{{"She was born ", 'F', Keep::Before},
                                           {"He was born ", 'M', Keep::Before},
                                           {" was born ", ' ', Keep::Before},
                                           {", born ", ' ', Keep::Before}}};

// Cuts the group's clause off s; returns whether one was found.
template <std::size_t N>
bool CutClause(std::string& s, const std::array<Clause, N>& group, std::string& event, char& sex) {
    for (const Clause& c : group) {
        const std::size_t p = s.find(c.text);
        if (p == std::string::npos) continue;
        event = s.substr(p + c.text.size());
        s.erase(c.keep == Keep::Before ? p : p + 1);
        if (c.sex != ' ') sex = c.sex;
        return true;
    }
    return false;
}

std::string GivenAndSurname(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return {};
    const IndivRec& I = g.Indiv[indiv];
    return TrimBlanks(I.iGivn.trimmed() + " " + I.iSurn.trimmed());
}

template <std::size_t N>
void WriteIfGiven(FixedText<N>& field, const std::string& value) {
    if (!TrimBlanks(value).empty()) field = TrimBlanks(value);
}

}  // namespace

int32_t AddIndivANC(const std::string& genId, const std::string& text, int32_t famc, std::string& sex,
                    const std::string& spouseName, int32_t spouseIndiv) {
    try {
        std::string s = text, burial, death, christening, birth, name;
        char stated = ' ';
        CutClause(s, kBurial, burial, stated);
        CutClause(s, kDeath, death, stated);
        CutClause(s, kChristening, christening, stated);
        CutClause(s, kBirth, birth, stated);
        name = s;  // the text before the birth clause, or all that is left
        name = ReplaceAll(ReplaceAll(name, ".", ""), "WFT Est", "");
        // The comma before ", died" is the sentence's, not the name's.
        while (!name.empty() && name.back() == ',') name = TrimBlanks(name.substr(0, name.size() - 1));

        // A clause that follows after a comma leaves that comma on the text before it.
        for (std::string* event : {&burial, &death, &christening, &birth}) {
            *event = TrimBlanks(*event);
            while (!event->empty() && event->back() == ',') *event = TrimBlanks(event->substr(0, event->size() - 1));
        }
        std::string bDate, bPlace, cDate, cPlace, dDate, dPlace, blDate, blPlace;
        SplitDatePlaceAt(birth, bDate, bPlace, " in ");
        SplitDatePlaceAt(christening, cDate, cPlace, " in ");
        SplitDatePlaceAt(death, dDate, dPlace, " in ");
        SplitDatePlaceAt(burial, blDate, blPlace, " in ");

        const bool family = famc > 0 && famc <= g.FamilCount;
        MatchQuery q;
        if (family) {
            q.fatherName = GivenAndSurname(g.Famil[famc].fHusb);
            q.motherName = GivenAndSurname(g.Famil[famc].fWife);
            q.childOfFamily = famc;
        }
        q.name = TrimBlanks(name) == "?" ? std::string("<unknown>") : TrimBlanks(name);
        q.genId = TrimBlanks(genId);
        q.bDate = bDate;
        q.cDate = cDate;
        q.dDate = dDate;
        q.spouseName = spouseName;
        q.spouseIndiv = spouseIndiv > 0 && spouseIndiv <= g.IndivCount ? spouseIndiv : 0;
        const int32_t rec = FindIndivMatches(q);
        if (stated != ' ') sex = std::string(1, stated);
        if (rec <= 0 || rec > g.IndivCount) return 0;

        IndivRec& I = g.Indiv[rec];
        const std::string newSex = TrimBlanks(sex);
        const std::string oldSex = I.iSex.trimmed();
        // A sex the sentence states is written; the caller's guess only
        // fills a sex nobody recorded; "U" never replaces a known one.
        if (!newSex.empty() && newSex != "U" &&
            (stated != ' ' || oldSex.empty() || oldSex == "U"))
            I.iSex = newSex;
        else if (newSex == "U" && oldSex.empty())
            I.iSex = newSex;
        if (I.iFamc == 0 && family && g.Famil[famc].fHusb != rec && g.Famil[famc].fWife != rec) I.iFamc = famc;
        WriteIfGiven(I.ibDate, bDate);
        WriteIfGiven(I.ibPlace, bPlace);
        WriteIfGiven(I.icDate, cDate);
        WriteIfGiven(I.icPlace, cPlace);
        WriteIfGiven(I.idDate, dDate);
        WriteIfGiven(I.idPlace, dPlace);
        WriteIfGiven(I.iblDate, blDate);
        WriteIfGiven(I.iblPlace, blPlace);
        return rec;
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem encountered in AddIndivANC: \n") + e.what() + "\n" + text);
        return 0;
    }
}

std::string StripParenthesized(const std::string& text) {
    try {
        const std::size_t open = text.find('(');
        if (open == std::string::npos) return text;
        const std::size_t q = InStrLast(text, "1)");
        if (q == 0) return text;
        // After that "1)", without the text's last character.
        const std::size_t from = q - 1 + 2;
        std::string tail = from < text.size() ? text.substr(from, text.size() - from - 1) : std::string();

        std::vector<std::size_t> opens, closes;
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (text[k] == '(' && opens.size() < 20) opens.push_back(k);
            if (text[k] == ')' && closes.size() < 20) closes.push_back(k);
        }
        std::size_t cut = opens[0];
        const bool onePair = opens.size() == 1 && closes.size() == 1;
        if (!onePair && opens.size() > 1 && !closes.empty() && closes[0] < opens[1]) cut = opens[1];
        return text.substr(0, cut) + " " + tail;
    } catch (...) {
        return text;
    }
}

void InferSexFromSpouses(const std::vector<int32_t>& families) {
    std::vector<char> ours(static_cast<std::size_t>(g.FamilCount) + 1, 0);
    for (int32_t f : families)
        if (f > 0 && f <= g.FamilCount) ours[f] = 1;
    auto sexOf = [](int32_t i) { return (i > 0 && i <= g.IndivCount) ? g.Indiv[i].iSex.trimmed() : std::string(); };
    auto surnameOf = [](int32_t i) {
        return (i > 0 && i <= g.IndivCount) ? g.Indiv[i].iSurn.trimmed() : std::string();
    };
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        if (!ours[f]) continue;
        FamilRec& F = g.Famil[f];
        if (sexOf(F.fHusb) == "F") std::swap(F.fHusb, F.fWife);
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const int32_t f = g.Indiv[i].iFamc;
        if (f <= 0 || f > g.FamilCount || !ours[f]) continue;
        FamilRec& F = g.Famil[f];
        const std::string own = g.Indiv[i].iSurn.trimmed();
        // A surname is only a hint: it never changes the recorded sex of a
        // person filed before this paste.
        auto older = [](int32_t p, const char* sex) {
            return p > 0 && p <= g.PasteStartIndivCount && g.Indiv[p].iSex.trimmed() == sex;
        };
        if (older(F.fHusb, "M") || older(F.fWife, "F")) continue;
        if (surnameOf(F.fWife) == own && surnameOf(F.fHusb) != own) {
            std::swap(F.fHusb, F.fWife);
            if (F.fHusb > 0 && F.fHusb <= g.IndivCount) g.Indiv[F.fHusb].iSex = "M";
            if (F.fWife > 0 && F.fWife <= g.IndivCount) g.Indiv[F.fWife].iSex = "F";
        }
    }
}

}  // namespace lintora
