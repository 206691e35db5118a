#include "page_import/ahnentafel_parents.h"

#include <exception>
#include <string_view>

#include "page_import/report_filing.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/matching.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

constexpr std::string_view kSonOf = ". He was the son of ";
constexpr std::string_view kDaughterOf = ". She was the daughter of ";

// "4. John Smith" -> number 4 and name "John Smith". Returns false when the
// part holds no "." or the text before it is no number (then the whole
// part is the name).
bool NumberAndName(const std::string& part, int32_t& number, std::string& name) {
    const std::size_t d = part.find('.');
    int32_t n = 0;
    if (d != std::string::npos && ReadWholeNumber(part.substr(0, d), n) && n > 0) {
        number = n;
        // The period and the character after it (a blank) are skipped.
        name = d + 2 <= part.size() ? TrimBlanks(std::string_view(part).substr(d + 2)) : std::string();
        return true;
    }
    name = TrimBlanks(part);
    return false;
}

bool Odd(int32_t n) { return n % 2 != 0; }

int32_t FileParent(const std::string& name, int32_t number, const std::string& spouse, int32_t spouseRec,
                   const char* sex, ReportFiling& filing, int& added) {
    MatchQuery q;
    q.name = name;
    if (number > 0) q.genId = std::to_string(number);
    q.spouseName = spouse;
    q.spouseIndiv = spouseRec;
    const int32_t before = g.IndivCount;
    const int32_t rec = filing.Person(FindIndivMatches(q));
    if (rec == 0) return 0;
    g.Indiv[rec].iSex = sex;
    if (g.IndivCount > before && rec == g.IndivCount) ++added;
    return rec;
}

}  // namespace

AhnParents ParseAhnParents(const std::string& text, ReportFiling* filing, int& indivAdded, int& familAdded) {
    AhnParents r;
    r.lead = text;
    try {
        if (TrimBlanks(text).empty()) return r;
        std::string rest;
        std::size_t p = text.find(kSonOf);
        if (p != std::string::npos) {
            r.sex = "M";
            rest = text.substr(p + kSonOf.size());
        } else if ((p = text.find(kDaughterOf)) != std::string::npos) {
            r.sex = "F";
            rest = text.substr(p + kDaughterOf.size());
        } else {
            return r;
        }
        r.lead = text.substr(0, p + 1);

        std::string part1 = rest, part2 = " ";
        const std::size_t a = rest.find(" and ");
        if (a != std::string::npos) {
            part1 = rest.substr(0, a + 1);
            part2 = rest.substr(a + 5);
        }
        int32_t number = 0;
        std::string name;
        bool part1IsMother = false;
        if (NumberAndName(part1, number, name) && Odd(number)) {
            r.motherNo = number;
            r.motherName = name;
            part1IsMother = true;
        } else {
            r.fatherNo = number;
            r.fatherName = name;
        }
        if (!part1IsMother && r.motherName.empty()) {
            number = 0;
            NumberAndName(part2, number, name);
            r.motherNo = number;
            r.motherName = name;
        }
        for (std::string* n : {&r.fatherName, &r.motherName})
            if (!n->empty() && n->back() == '.') n->pop_back();
        if (TrimBlanks(r.fatherName).empty() && TrimBlanks(r.motherName).empty() && r.fatherNo == r.motherNo)
            return r;
        for (std::string* n : {&r.fatherName, &r.motherName}) {
            if (TrimBlanks(*n).empty() || TrimBlanks(*n) == "?") *n = "<unknown>";
            *n = ReplaceAll(*n, ".", "");
        }
        // Without any number there is nothing to derive, and no id is made.
        if (r.fatherNo == 0 && r.motherNo > 0)
            r.fatherNo = r.motherNo - 1;
        else if (r.motherNo == 0 && r.fatherNo > 0)
            r.motherNo = r.fatherNo + 1;

        if (filing == nullptr) return r;
        // An unnamed father is known only by his wife: she is filed first.
        const auto [father, mother] = FileCouple(
            r.fatherName == "<unknown>" && r.motherName != "<unknown>",
            [&](int32_t wife) { return FileParent(r.fatherName, r.fatherNo, r.motherName, wife, "M", *filing, indivAdded); },
            [&](int32_t husband) {
                return FileParent(r.motherName, r.motherNo, r.fatherName, husband, "F", *filing, indivAdded);
            });
        const int32_t familiesBefore = g.FamilCount;
        const int32_t fam = filing->Family(FindOrAddFamil(father, mother));
        if (fam > 0) {
            r.family = fam;
            if (g.FamilCount > familiesBefore) ++familAdded;
        }
    } catch (const TablesFull&) {
        throw;
    } catch (const std::exception& e) {
        ShowProblem(std::string("Problem encountered processing Ahn parents (") + e.what() +
                    ").\nSome data may or may not have been processed.");
    }
    return r;
}

}  // namespace lintora
