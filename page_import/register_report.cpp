#include "page_import/register_report.h"

#include <exception>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page_import/line_cursor.h"
#include "page_import/marriage_sentence.h"
#include "page_import/narrative_entry.h"
#include "page_import/paste.h"
#include "page_import/report_filing.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

std::string Key(std::string_view names) { return UpperCase(TrimBlanks(names)); }

class Register {
public:
    ReportFiling filing;
    int32_t mainPerson = 0;

    void Run(const PageLineCursor& page) {
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) Line(page.Trimmed(i));
    }

private:
    int32_t lastEntry_ = 9;  // a first entry numbered 1..9 is a main entry
    std::unordered_map<int32_t, int32_t> familyOfEntry_;
    std::unordered_map<std::string, int32_t> couples_;  // first row of a key wins
    int32_t currentFamily_ = 0;
    int persons_ = 0;
    std::string firstSurname_;

    // "Children of William Smith and Sarah Brown are: ..." finds the couple's
    // family; returns the text after the marker.
    std::string Header(const std::string& line, std::size_t namesFrom, std::size_t marker, std::size_t markerLen) {
        std::string names = Utf8Mid(line.substr(0, marker), namesFrom);
        names = ReplaceAll(names, ".", "");
        if (!names.empty() && names.front() == '?') names = "<unknown>" + names.substr(1);
        if (!names.empty() && names.back() == '?') names = names.substr(0, names.size() - 1) + "<unknown>";
        currentFamily_ = 0;
        const auto found = couples_.find(Key(names));
        if (found != couples_.end()) currentFamily_ = found->second;
        return TrimBlanks(std::string_view(line).substr(marker + markerLen));
    }

    int32_t File(const std::string& id, const std::string& text, int32_t famc, std::string& sex,
                 const std::string& spouse, int32_t spouseRec = 0) {
        ++persons_;
        return filing.Person(AddIndivANC(id, text, famc, sex, spouse, spouseRec));
    }

    void AddCouple(const std::string& key, int32_t fam) { couples_.emplace(Key(key), fam); }

    void Line(std::string line) {
        if (Utf8Length(line) < 2) return;
        if (line.rfind("Children", 0) == 0) {
            const std::size_t are = line.find("are:");
            if (are != std::string::npos) line = Header(line, 13, are, 4);
        } else if (line.rfind("Child", 0) == 0) {
            const std::size_t is = line.find("is:");
            if (is != std::string::npos) line = Header(line, 9, is, 3);
        }
        if (!line.empty() && line[0] == '+') line = TrimBlanks(line.substr(1));
        const std::size_t dot = line.find('.');
        std::string number;
        if (dot != std::string::npos && dot + 1 < line.size()) {
            const std::string prefix = TrimBlanks(line.substr(0, dot));
            number = TrimBlanks(prefix.substr(0, prefix.find(' ')));
            line = TrimBlanks(line.substr(dot + 1));
        }
        int32_t n = 0;
        if (number.empty() || !ReadWholeNumber(number, n) || n <= 0) return;
        number = std::to_string(n);

        std::string sex = "U", head = line, tail;
        SplitAtMarried(line, head, tail, sex);

        const bool child = n > lastEntry_;
        if (child) {
            familyOfEntry_[n] = currentFamily_;
        } else {
            head = TrimBlanks(StripParenthesized(head));
            const auto f = familyOfEntry_.find(n);
            currentFamily_ = f == familyOfEntry_.end() ? 0 : f->second;
        }
        lastEntry_ = n;
        ShowPersonsFiled(persons_);

        std::string saved = head;
        if (TrimBlanks(tail).empty()) {
            if (child) {
                File(number, head, currentFamily_, sex, "");
                return;
            }
            tail = " <unknown>.";
        }
        int32_t partner = 0;
        std::string partnerName;
        while (!TrimBlanks(tail).empty()) {
            const SpouseSentence s = NextSpouse(tail, sex);
            int32_t parentsFamily = 0;
            if (s.hasParents) {
                std::string m = "M", f = "F";
                auto unnamed = [](const std::string& n) {
                    const std::string t = TrimBlanks(n);
                    return t == "?" || t == "<unknown>";
                };
                const std::string fatherId = BeginsLiving(s.father) ? s.mother : "";
                const std::string motherId = BeginsLiving(s.mother) ? s.father : "";
                // An unnamed father is known only by his wife: she is filed first.
                const auto [father, mother] = FileCouple(
                    unnamed(s.father) && !unnamed(s.mother),
                    [&](int32_t wife) { return File(fatherId, s.father, 0, m, s.mother, wife); },
                    [&](int32_t husband) { return File(motherId, s.mother, 0, f, s.father, husband); });
                parentsFamily = filing.Family(FindOrAddFamil(father, mother));
            }
            if (!TrimBlanks(saved).empty()) {
                partner = File(number, saved, currentFamily_, sex, s.name);
                if (partner > 0) {
                    const IndivRec& P = g.Indiv[partner];
                    partnerName = P.iName.trimmed();
                    if (firstSurname_.empty()) firstSurname_ = P.iSurn.trimmed();
                    if (P.iSurn.trimmed() == firstSurname_) mainPerson = partner;
                }
                saved.clear();
            }
            std::string spouseSex = sex == "F" ? "M" : sex == "M" ? "F" : "U";
            const int32_t spouse =
                File("", TrimBlanks(s.name + " " + s.events), parentsFamily, spouseSex, partnerName, partner);
            std::string spouseName = spouse > 0 ? g.Indiv[spouse].iName.trimmed() : std::string();

            int32_t fam = 0;
            if (spouse > 0 && g.Indiv[spouse].iSex.trimmed() == "M")
                fam = filing.Family(FindOrAddFamil(spouse, partner));
            else
                fam = filing.Family(FindOrAddFamil(partner, spouse));
            if (fam > 0) {
                // A page without the marriage's date or place keeps what is known.
                if (!s.marrDate.empty()) g.Famil[fam].fmDate = s.marrDate;
                if (!s.marrPlace.empty()) g.Famil[fam].fmPlace = s.marrPlace;
            }
            if (Key(spouseName) == "LIVING UNKNOWN") spouseName = "Living";
            if (child || fam == 0) continue;
            if (Key(spouseName) == "<UNKNOWN>") {
                AddCouple(partnerName, fam);
            } else {
                AddCouple(TrimBlanks(partnerName) + " and " + TrimBlanks(spouseName), fam);
                AddCouple(TrimBlanks(spouseName) + " and " + TrimBlanks(partnerName), fam);
            }
        }
    }
};

}  // namespace

void ProcessRegANC() {
    const std::vector<std::string> lines = WithoutRepeatedLines(g.PageLines);
    const PageLineCursor page(lines);
    Register reg;
    RunReportParse("Register", reg.filing, reg.mainPerson, [&] { reg.Run(page); });
}

}  // namespace lintora
