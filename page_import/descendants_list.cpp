#include "page_import/descendants_list.h"

#include <cmath>
#include <exception>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page_import/line_cursor.h"
#include "page_import/narrative_entry.h"
#include "page_import/paste.h"
#include "page_import/report_filing.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/fixed_text.h"
#include "record_store/matching.h"
#include "record_store/name_key.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

std::string LastWord(const std::string& name) {
    const std::string t = TrimBlanks(name);
    const std::size_t blank = t.rfind(' ');
    return blank == std::string::npos ? t : t.substr(blank + 1);
}

std::string KeyTail(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return std::string(10, ' ');
    return Utf8Right(g.Indiv[indiv].iNameKey.padded(), 10);
}

// Generation of a spouse line from the column of its "+": the list indents
// each generation by four, so (p + 1) / 4, halves to the even number.
int32_t GenerationAt(std::size_t plusColumn) {
    return static_cast<int32_t>(std::nearbyint(static_cast<double>(plusColumn + 1) / 4.0));
}

struct GenerationRow {
    int32_t person = 0;
    std::string personName, personSurname, personKey;
    std::string spouseName, spouseSurname, spouseKey;
    int32_t family = 0;
    int livingChildren = 0;
};

class DescendantsList {
public:
    ReportFiling filing;
    int32_t mainPerson = 0;

    DescendantsList(const PageLineCursor& page, const PageLineCursor& raw) : page_(page), raw_(raw) {}

    void Run() {
        for (std::ptrdiff_t i = 1; i <= page_.Last(); ++i) Line(i);
    }

private:
    const PageLineCursor& page_;
    const PageLineCursor& raw_;
    // Rows by generation, made as the page reaches them (row 0 stays blank).
    std::unordered_map<int32_t, GenerationRow> rows_;
    // Each person's sex before this paste touched him: a guess from the
    // list's layout only fills a sex nobody recorded.
    std::unordered_map<int32_t, std::string> sexBefore_;
    int32_t generation_ = 0;
    int livingSpouses_ = 0;
    int persons_ = 0;
    int32_t partner_ = 0;
    std::string partnerName_;
    std::string firstSurname_;
    int32_t deepest_ = 0;

    GenerationRow& Row(int32_t level) { return rows_[level]; }

    int32_t Filed(int32_t rec) {
        rec = filing.Person(rec);
        if (rec > 0) sexBefore_.emplace(rec, g.Indiv[rec].iSex.trimmed());
        return rec;
    }

    void GuessSex(int32_t rec, const char* sex) {
        if (rec <= 0 || rec > g.IndivCount) return;
        const auto before = sexBefore_.find(rec);
        const std::string was = before == sexBefore_.end() ? g.Indiv[rec].iSex.trimmed() : before->second;
        if (was.empty() || was == "U") g.Indiv[rec].iSex = sex;
    }

    static void Dates(int32_t rec, const std::string& birth, const std::string& death) {
        IndivRec& I = g.Indiv[rec];
        if (!TrimBlanks(birth).empty()) I.ibDate = TrimBlanks(birth);
        if (!TrimBlanks(death).empty()) I.idDate = TrimBlanks(death);
    }

    void Counted() {
        ++persons_;
        ShowPersonsFiled(persons_);
    }

    void Line(std::ptrdiff_t i) {
        const std::string line = page_.Trimmed(i);
        if (Utf8Length(line) <= 2) return;
        const char first = line[0];
        if (first != '+' && (first < '0' || first > '9')) return;
        std::string mark, name, birth, death;
        int32_t level = generation_;
        if (!ParseDesLine(line, mark, level, name, birth, death)) return;
        if (level != generation_) {
            generation_ = level;
            livingSpouses_ = 0;
        }
        if (mark == "+")
            Spouse(i, name, birth, death);
        else if (level >= 1)  // generation 0 has no parents' row
            Person(i, level, name, birth, death);
    }

    void Spouse(std::ptrdiff_t i, std::string name, const std::string& birth, const std::string& death) {
        const std::size_t plus = raw_.At(i).find('+');
        if (plus != std::string::npos) {
            const int32_t level = GenerationAt(plus + 1);
            generation_ = level;
            partner_ = Row(level).person;
            partnerName_ = Row(level).personName;
        }
        const int32_t level = generation_;
        if (UpperCase(TrimBlanks(name)) == "LIVING") name = "Living Unknown";
        MatchQuery q;
        q.name = TrimBlanks(name);
        q.bDate = TrimBlanks(birth);
        q.spouseName = partnerName_;
        q.spouseIndiv = partner_ > 0 && partner_ <= g.IndivCount ? partner_ : 0;
        std::string id;
        if (BeginsLiving(name)) {
            id = SoundexKey(LastWord(name), 10, 0) + "0000000000" + std::to_string(++livingSpouses_);
            q.genId = id;
            q.pageLocalId = true;
        } else {
            q.dDate = TrimBlanks(death);
        }
        const int32_t rec = Filed(FindIndivMatches(q));
        if (rec == 0) return;
        Dates(rec, birth, death);
        GuessSex(rec, "F");
        IndivRec& I = g.Indiv[rec];
        if (!id.empty() && I.iGenID.trimmed() == FixedText<24>(id).trimmed())
            I.iGenID = KeyTail(rec) + std::to_string(rec) + "00000";
        Counted();
        GenerationRow& row = Row(level);
        row.spouseName = TrimBlanks(name);
        row.spouseSurname = LastWord(name);
        row.spouseKey = KeyTail(rec);
        row.family = filing.Family(FindOrAddFamil(partner_, rec));
    }

    void Person(std::ptrdiff_t i, int32_t level, const std::string& name, const std::string& birth,
                const std::string& death) {
        const std::string surname = LastWord(name);
        if (level > 1 && Row(level - 1).family == 0 && Row(level - 1).person > 0) {
            // The parent has no spouse on the list: an unknown partner stands in.
            GenerationRow& up = Row(level - 1);
            const bool otherSurname = TrimBlanks(up.personSurname) != surname;
            if (otherSurname) GuessSex(up.person, "F");
            MatchQuery q;
            q.name = up.spouseName;
            q.spouseName = up.personName;
            q.spouseIndiv = up.person <= g.IndivCount ? up.person : 0;
            const int32_t stand = Filed(FindIndivMatches(q));
            Counted();
            if (stand > 0) {
                if (otherSurname) GuessSex(stand, "M");
                up.spouseKey = KeyTail(stand);
                up.family = filing.Family(FindOrAddFamil(up.person, stand));
            }
        }
        const GenerationRow up = Row(level - 1);

        MatchQuery q;
        q.name = TrimBlanks(name);
        q.bDate = TrimBlanks(birth);
        q.dDate = TrimBlanks(death);
        if (page_.InPage(i + 1) && page_.BeginsWith(i + 1, "+")) {
            const std::size_t plus = raw_.At(i + 1).find('+');
            if (plus != std::string::npos && static_cast<int64_t>(plus) + 1 == 4LL * level - 1) {
                std::string mark, spouse, b, d;
                int32_t ignored = 0;
                if (ParseDesLine(page_.Trimmed(i + 1), mark, ignored, spouse, b, d)) q.spouseName = TrimBlanks(spouse);
            }
        }
        q.fatherName = TrimBlanks(up.personName);
        q.motherName = TrimBlanks(up.spouseName);
        q.childOfFamily = level > 1 ? up.family : 0;
        if (BeginsLiving(name)) {
            const bool spouseFirst = TrimBlanks(up.spouseSurname) == surname;
            q.genId = spouseFirst ? TrimBlanks(up.spouseKey) + TrimBlanks(up.personKey)
                                  : TrimBlanks(up.personKey) + TrimBlanks(up.spouseKey);
            q.genId += std::to_string(++Row(level - 1).livingChildren);
        }
        const int32_t rec = Filed(FindIndivMatches(q));
        if (rec == 0) return;
        Dates(rec, birth, death);
        GuessSex(rec, "M");
        Counted();
        if (level > 1 && up.family > 0 && up.family <= g.FamilCount && g.Famil[up.family].fHusb != rec &&
            g.Famil[up.family].fWife != rec)
            g.Indiv[rec].iFamc = up.family;

        partner_ = rec;
        partnerName_ = TrimBlanks(name);
        GenerationRow& row = Row(level);
        row = GenerationRow{};
        row.person = rec;
        row.personName = TrimBlanks(name);
        row.personSurname = surname;
        row.personKey = KeyTail(rec);
        row.spouseName = "<unknown>";
        row.spouseSurname = "<unknown>";

        if (firstSurname_.empty()) firstSurname_ = g.Indiv[rec].iSurn.trimmed();
        if (g.Indiv[rec].iSurn.trimmed() == firstSurname_ && level > deepest_) {
            mainPerson = rec;
            deepest_ = level;
        }
    }
};

}  // namespace

bool ParseDesLine(const std::string& line, std::string& mark, int32_t& level, std::string& name,
                  std::string& birth, std::string& death) {
    name.clear();
    birth.clear();
    death.clear();
    mark = " ";
    std::string text = ReplaceAll(TrimBlanks(line), "*", "");
    if (TrimBlanks(text).empty()) return false;
    text = ReplaceAll(text, "WFT Est.", "");
    const std::vector<std::string> words = SplitFields(text, " ");
    if (words[0] == "+") {
        mark = "+";
    } else {
        int32_t n = 0;
        if (!ReadWholeNumber(words[0], n) || n < 0) return false;
        level = n;
    }
    // The rest after the generation number (of any width) or the "+".
    text = words.size() > 1 ? text.substr(words[0].size() + 1) : std::string();
    const std::vector<std::string> f = SplitFields(text, ":");
    if (f.size() == 2) {
        if (!f[0].empty() && f[0].back() == 'b')
            birth = TrimBlanks(f[1]);
        else
            death = TrimBlanks(f[1]);
    } else if (f.size() == 3) {
        birth = TrimBlanks(Utf8Left(f[1], f[1].empty() ? 0 : Utf8Length(f[1]) - 1));
        death = TrimBlanks(f[2]);
    }
    name = f.size() == 1 ? TrimBlanks(f[0]) : TrimBlanks(Utf8Left(f[0], f[0].empty() ? 0 : Utf8Length(f[0]) - 1));
    if (name == "?") name = "<unknown>";
    return true;
}

void ProcessDesANC() {
    const PageLineCursor page(g.PageLines);
    const PageLineCursor raw(g.PageRawLines);
    DescendantsList list(page, raw);
    RunReportParse("Descendants", list.filing, list.mainPerson, [&] { list.Run(); });
}

}  // namespace lintora
