#include "page_import/ahnentafel_report.h"

#include <exception>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page_import/ahnentafel_parents.h"
#include "page_import/line_cursor.h"
#include "page_import/marriage_sentence.h"
#include "page_import/narrative_entry.h"
#include "page_import/paste.h"
#include "page_import/report_filing.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

// The entry number before the first period, when that period stands among
// the first seven characters; `line` becomes the text after it (or empty).
std::string EntryPrefix(std::string& line) {
    const std::size_t dot = line.find('.');
    if (dot == std::string::npos || dot + 1 > 7 || dot == 0) {
        line.clear();
        return {};
    }
    const std::string prefix = TrimBlanks(line.substr(0, dot));
    line = TrimBlanks(line.substr(dot + 1));
    return TrimBlanks(prefix.substr(0, prefix.find(' ')));
}

bool EndsOdd(const std::string& number) {
    return !number.empty() && std::string_view("13579").find(number.back()) != std::string_view::npos;
}

// The surname half of a name's phonetic key, "0000000000" when there is none.
std::string SurnameCode(const std::string& name) {
    const std::string code = Utf8Right(ParseNameParts(name).key, 10);
    return TrimBlanks(code).empty() ? std::string("0000000000") : code;
}

std::string StoredSurnameCode(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return std::string(10, ' ');
    return Utf8Right(g.Indiv[indiv].iNameKey.padded(), 10);
}

std::string NameOf(int32_t indiv) {
    return (indiv > 0 && indiv <= g.IndivCount) ? g.Indiv[indiv].iName.trimmed() : std::string();
}

class Ahnentafel {
public:
    ReportFiling filing;
    int32_t mainPerson = 0;

    explicit Ahnentafel(const PageLineCursor& page) : page_(page) {}

    void Run() {
        for (std::ptrdiff_t i = 1; i <= page_.Last(); ++i) ParentsOfEntry(page_.Trimmed(i));
        for (std::ptrdiff_t i = 1; i <= page_.Last(); ++i) Line(page_.Trimmed(i));
    }

private:
    const PageLineCursor& page_;
    // Pass 1: each entry's parents as its parents sentence names them.
    std::unordered_map<int32_t, std::string> entryFather_, entryMother_;
    // Pass 2: the name each ancestor number was last given.
    std::unordered_map<int32_t, std::string> nameByNumber_;
    int32_t lastEntry_ = 0;
    int32_t husband_ = 0, wife_ = 0, childrenFamily_ = 0;
    bool childrenList_ = false;
    std::string familyKey_;
    int living_ = 0;
    bool counted_ = true;
    int persons_ = 0;
    std::string firstSurname_;

    static std::string Lookup(const std::unordered_map<int32_t, std::string>& table, int32_t n) {
        const auto at = table.find(n);
        return at == table.end() ? std::string() : TrimBlanks(at->second);
    }

    static std::string HeadBeforeMarriage(const std::string& line) {
        for (std::string_view marker : {". She married ", ". He married "}) {
            const std::size_t p = line.find(marker);
            if (p != std::string::npos) return line.substr(0, p + 1);
        }
        return line;
    }

    void ParentsOfEntry(std::string line) {
        const std::string number = EntryPrefix(line);
        int32_t n = 0;
        if (!ReadWholeNumber(number, n) || n <= 0 || n <= lastEntry_) return;
        lastEntry_ = n;
        int none = 0;
        const AhnParents r = ParseAhnParents(HeadBeforeMarriage(line), nullptr, none, none);
        if (r.fatherNo >= 1) entryFather_[n] = TrimBlanks(r.fatherName);
        else if (r.motherNo >= 1) entryFather_[n] = "<unknown>";
        if (r.motherNo >= 1) entryMother_[n] = TrimBlanks(r.motherName);
        else if (r.fatherNo >= 1) entryMother_[n] = "<unknown>";
    }

    int32_t File(const std::string& id, const std::string& text, int32_t famc, std::string& sex,
                 const std::string& spouse, bool count, int32_t spouseRec = 0) {
        if (count) ++persons_;
        return filing.Person(AddIndivANC(id, text, famc, sex, spouse, spouseRec));
    }

    // A children header closes the couple of the entries just read.
    void Header() {
        if (husband_ == 0 && wife_ == 0) {
            // Nobody to be the parents: no family of two unknown persons.
            childrenFamily_ = 0;
            familyKey_ = StoredSurnameCode(0) + StoredSurnameCode(0);
        } else {
            if (wife_ == 0) {
                std::string f = "F";
                wife_ = File("", "<unknown>", 0, f, NameOf(husband_), true, husband_);
            }
            if (husband_ == 0) {
                std::string m = "M";
                husband_ = File("", "<unknown>", 0, m, NameOf(wife_), true, wife_);
            }
            childrenFamily_ = filing.Family(FindOrAddFamil(husband_, wife_));
            familyKey_ = StoredSurnameCode(husband_) + StoredSurnameCode(wife_);
        }
        living_ = 0;
        husband_ = wife_ = 0;
        childrenList_ = true;
    }

    void Line(std::string line) {
        if (Utf8Length(line) < 2) {
            childrenList_ = false;
            return;
        }
        if (line.rfind("Child", 0) == 0) {  // "Children ... are:", "Child ... is:", and any other Child... line
            Header();
            std::size_t at = line.find("are:");
            std::size_t len = 4;
            if (at == std::string::npos) {
                at = line.find("is:");
                len = 3;
            }
            if (at != std::string::npos) line = TrimBlanks(line.substr(at + len));
        }
        std::string number = EntryPrefix(line);
        if (number.empty()) return;

        std::string sex = "U";
        int32_t n = 0;
        const bool numbered = ReadWholeNumber(number, n) && n > 0;
        if (!numbered) {
            childrenList_ = true;
        } else {
            number = std::to_string(n);
            if (!childrenList_) {
                sex = number == "1" ? "U" : EndsOdd(number) ? "F" : "M";
            } else {
                const std::size_t dot = line.find(". ");
                if (dot != std::string::npos && dot > 0 && std::string_view("ivx").find(line[dot - 1]) != std::string_view::npos)
                    line = TrimBlanks(line.substr(dot + 2));
            }
        }
        std::string head = line, tail;
        SplitAtMarried(line, head, tail, sex);
        const std::string marriageSex = sex;
        ShowPersonsFiled(persons_);

        int32_t rec = 0;
        if (!childrenList_) {
            rec = Ancestor(number, n, head, tail, sex);
        } else {
            rec = Child(numbered ? number : std::string(), numbered ? n : 0, head, sex);
        }
        const int32_t partner = rec;
        const std::string partnerName = NameOf(rec);
        if (rec > 0 && !BeginsLiving(head) && firstSurname_.empty()) {
            firstSurname_ = g.Indiv[rec].iSurn.trimmed();
            mainPerson = rec;
        }
        Marriages(tail, marriageSex, partner, partnerName);
    }

    int32_t Ancestor(const std::string& number, int32_t n, std::string& head, std::string& tail, std::string& sex) {
        counted_ = true;
        int added = 0, families = 0;
        const AhnParents r = ParseAhnParents(head, &filing, added, families);
        // The parents sentence tells the sex; without one the number does.
        if (r.sex != "U") sex = r.sex;
        if (r.fatherNo >= 1) {
            if (Lookup(nameByNumber_, r.fatherNo).empty()) ++persons_;
            nameByNumber_[r.fatherNo] = TrimBlanks(r.fatherName);
        }
        if (r.motherNo >= 1) {
            if (Lookup(nameByNumber_, r.motherNo).empty()) ++persons_;
            nameByNumber_[r.motherNo] = TrimBlanks(r.motherName);
        }
        head = TrimBlanks(r.lead);
        std::string partner;
        if (number == "1") {
            tail.clear();  // the first person's marriage is not read
        } else {
            partner = Lookup(nameByNumber_, EndsOdd(number) ? n - 1 : n + 1);
        }
        int32_t rec = 0;
        if (!BeginsLiving(head)) {
            rec = File(number, head, r.family, sex, partner, true);
        } else if (number != "1") {
            std::string id = number;
            const std::string father = Lookup(entryFather_, n);
            if (!father.empty()) {
                const std::string mother = Lookup(entryMother_, n);
                id = SurnameCode(father) + (mother.empty() ? std::string("0000000000") : SurnameCode(mother)) + "1";
            }
            rec = File(id, head, r.family, sex, partner, true);
        }
        if (EndsOdd(number)) wife_ = rec;
        else husband_ = rec;
        return rec;
    }

    int32_t Child(const std::string& number, int32_t n, std::string head, std::string& sex) {
        counted_ = true;
        std::string partner;
        if (!number.empty() && number != "1") {
            counted_ = false;  // an ancestor already counted under his own entry
            partner = Lookup(nameByNumber_, EndsOdd(number) ? n - 1 : n + 1);
        }
        std::string id = number;
        // Without a surname code from either parent the id would be the bare
        // count, the id of another entry: such a child gets none of his own.
        if (BeginsLiving(head) && !TrimBlanks(familyKey_).empty())
            id = TrimBlanks(familyKey_) + std::to_string(++living_);
        if (TrimBlanks(head) == "?") head = "<unknown>";
        const int32_t rec = File(id, head, childrenFamily_, sex, partner, counted_);
        if (rec > 0 && firstSurname_.empty() && n == 1) {
            firstSurname_ = g.Indiv[rec].iSurn.trimmed();
            mainPerson = rec;
        }
        return rec;
    }

    void Marriages(std::string tail, const std::string& sex, int32_t partner, const std::string& partnerName) {
        while (!TrimBlanks(tail).empty()) {
            SpouseSentence s = NextSpouse(tail, sex);
            int32_t parentsFamily = 0;
            if (s.hasParents) {
                for (std::string* name : {&s.father, &s.mother})
                    if (TrimBlanks(*name) == "?") *name = "<unknown>";
                std::string m = "M", f = "F";
                // An unnamed father is known only by his wife: she is filed first.
                const auto [father, mother] = FileCouple(
                    s.father == "<unknown>" && s.mother != "<unknown>",
                    [&](int32_t wife) { return File("", s.father, 0, m, s.mother, counted_, wife); },
                    [&](int32_t husband) { return File("", s.mother, 0, f, s.father, counted_, husband); });
                parentsFamily = filing.Family(FindOrAddFamil(father, mother));
            }
            std::string spouseSex = sex == "F" ? "M" : sex == "M" ? "F" : "U";
            const int32_t spouse =
                File("", TrimBlanks(s.name + " " + s.events), parentsFamily, spouseSex, partnerName, counted_, partner);
            int32_t fam = 0;
            if (spouse > 0 && g.Indiv[spouse].iSex.trimmed() == "F")
                fam = filing.Family(FindOrAddFamil(partner, spouse));
            else
                fam = filing.Family(FindOrAddFamil(spouse, partner));
            if (fam > 0) {
                if (!s.marrDate.empty()) g.Famil[fam].fmDate = s.marrDate;
                if (!s.marrPlace.empty()) g.Famil[fam].fmPlace = s.marrPlace;
            }
            counted_ = true;
        }
    }
};

}  // namespace

void ProcessAhnANC() {
    const std::vector<std::string> lines = WithoutRepeatedLines(g.PageLines);
    const PageLineCursor page(lines);
    Ahnentafel ahn(page);
    RunReportParse("Ahnentafel", ahn.filing, ahn.mainPerson, [&] { ahn.Run(); });
}

}  // namespace lintora
