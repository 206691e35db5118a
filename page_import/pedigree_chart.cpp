#include "page_import/pedigree_chart.h"

#include <exception>
#include <string>
#include <vector>

#include "page_import/parse_support.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/linking.h"
#include "record_store/page_scratch.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

constexpr std::string_view kCopyright = "\xC2\xA9";

// A chart number: a plain digit string from 0 to 32. Anything else (a
// stray year on a line of its own) is no chart number.
bool ChartNumber(const std::string& field, int& number) {
    if (field.empty() || field.size() > 3) return false;
    int n = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n > kChartSpouse) return false;
    number = n;
    return true;
}

bool AllDigits(const std::string& field) {
    if (field.empty()) return false;
    for (char c : field)
        if (c < '0' || c > '9') return false;
    return true;
}

// The words of a numbered or spouse line after its first field: the name
// until a word ending in ":" starts the rest ("B: 1850").
void ReadWords(const std::vector<std::string>& fields, std::string& name, std::string& rest) {
    bool inRest = false;
    for (std::size_t k = 1; k < fields.size(); ++k) {
        const std::string& f = fields[k];
        if (!inRest && !f.empty() && f.back() == ':') inRest = true;
        if (inRest) rest += f + " ";
        else if (f != "Family") name += f + " ";
    }
}

bool StartsWithDigit(const std::string& s) { return !s.empty() && s[0] >= '0' && s[0] <= '9'; }

void SetEvent(ChartPerson& p, ChartEvent e, std::string date, const std::string* place) {
    std::string* d = nullptr;
    std::string* pl = nullptr;
    switch (e) {
        case ChartEvent::Birth: d = &p.bDate; pl = &p.bPlace; break;
        case ChartEvent::Christening: d = &p.cDate; pl = &p.cPlace; break;
        case ChartEvent::Death: d = &p.dDate; pl = &p.dPlace; break;
        case ChartEvent::Burial: d = &p.blDate; pl = &p.blPlace; break;
        case ChartEvent::Marriage: d = &p.mDate; pl = &p.mPlace; break;
    }
    if (!date.empty()) *d = std::move(date);
    if (place) *pl = *place;
}

void ShowCount(int filed) {
    MainWindow().SetStatusLabel("Processing..." + std::to_string(filed));
}

// Runs a chart parser; a failure names the page line it stopped at.
template <typename Body>
void RunChart(Body&& body) {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    std::ptrdiff_t line = 0;
    try {
        body(line);
    } catch (const std::exception& e) {
        Port().SetBusy(false);
        ShowProblem("Problem processing GNC:PED " + std::to_string(line) + " - " + e.what());
    }
    Port().SetBusy(false);
}

}  // namespace

void CollectChart(const PageLineCursor& page, const ChartEventLabel* labels, std::size_t labelCount,
                  ChartPersons& persons, std::ptrdiff_t& i) {
    for (auto& p : persons) p = ChartPerson{};
    int n = 0;
    for (i = 1; i <= page.Last(); ++i) {
        if (page.BeginsWith(i, "The Church of") || page.BeginsWith(i, kCopyright)) break;
        std::string text = page.Trimmed(i);
        g.LineFields = SplitFields(text, " ");
        const std::string first = FieldAt(g.LineFields, 0);

        int number = 0;
        if (ChartNumber(first, number)) {
            n = number;
            std::string name, rest;
            ReadWords(g.LineFields, name, rest);
            persons[n].name = TrimBlanks(name);
            persons[n].sex.clear();
            text = TrimBlanks(rest);
        } else if (AllDigits(first)) {
            // A number that is no chart number: the line is not read.
            continue;
        } else if (g.LineFields.size() >= 3 && first == "Family") {
            n = kChartSpouse;
            std::string name, rest;
            ReadWords(g.LineFields, name, rest);
            persons[n].name = TrimBlanks(name);
            persons[n].sex.clear();
            text = TrimBlanks(rest);
        }

        // A numbered line without a name takes it from the next line.
        if (TrimBlanks(persons[n].name).empty()) {
            const std::string next = page.Trimmed(i + 1);
            if (!next.empty() && !StartsWithDigit(next)) {
                if (next.starts_with("Family")) {
                    n = kChartSpouse;
                    persons[n].name = page.Trimmed(i + 2);
                    persons[n].sex.clear();
                } else if (!next.starts_with("The ") && !next.starts_with(kCopyright)) {
                    persons[n].name = next;
                    persons[n].sex.clear();
                }
            }
        }

        for (std::size_t k = 0; k < labelCount; ++k) {
            const ChartEventLabel& l = labels[k];
            if (!text.starts_with(l.label)) continue;
            std::string date;
            if (Utf8Length(text) > l.longerThan) date = Utf8Mid(text, l.datePos);
            // The place stands on the next line unless that is a label line.
            const std::string& below = page.At(i + 1);
            const std::string place = TrimBlanks(below);
            SetEvent(persons[n], l.event, date, below.find(':') == std::string::npos ? &place : nullptr);
        }
    }
}

int FileChart(const ChartPersons& persons, bool countSpouse) {
    PageScratchRec& P = g.PageScratch;
    const int32_t before = g.PageMainIndiv;
    int32_t first = 0;
    int32_t spouseFiled = 0;
    int filed = 0;
    auto asPagePerson = [&P](const ChartPerson& c) {
        P.pgName = c.name;
        P.pgSex = c.sex;
        P.pgbDate = c.bDate;
        P.pgbPlace = c.bPlace;
        P.pgcDate = c.cDate;
        P.pgcPlace = c.cPlace;
        P.pgdDate = c.dDate;
        P.pgdPlace = c.dPlace;
        P.pgblDate = c.blDate;
        P.pgblPlace = c.blPlace;
    };
    auto fileOne = [&](bool showCount) {
        const int32_t filedAs = LinkPageFamily();
        ++filed;
        if (showCount) ShowCount(filed);
        if (first == 0 && filedAs > 0) first = filedAs;
    };
    for (int k = 1; k <= 15; ++k) {
        ChartPerson self = persons[k];
        int partner = kChartSpouse;
        if (k > 1) {
            const bool father = (k % 2 == 0);
            self.sex = father ? "M" : "F";
            partner = father ? k + 1 : k - 1;
        }
        InitPrep();
        asPagePerson(self);
        const ChartPerson& dad = persons[2 * k];
        const ChartPerson& mum = persons[2 * k + 1];
        if (TrimBlanks(dad.name) != TrimBlanks(mum.name)) {
            P.PageParentSetCount = 1;
            PageParentSet& set = P.PageParentSets[1];
            set.psFatherName = dad.name;
            set.psFatherbDate = dad.bDate;
            set.psMotherName = mum.name;
            set.psMotherbDate = mum.bDate;
        }
        const ChartPerson& spouse = persons[partner];
        if (!TrimBlanks(spouse.name).empty()) {
            P.PageSpouseCount = 1;
            PageSpouse& sp = P.PageSpouses[1];
            sp.spName = spouse.name;
            sp.spbDate = spouse.bDate;
            if (k == 1) {
                // Person 1's spouse is filed here with all the chart says of him.
                sp.spbPlace = spouse.bPlace;
                sp.spcDate = spouse.cDate;
                sp.spcPlace = spouse.cPlace;
                sp.spdDate = spouse.dDate;
                sp.spdPlace = spouse.dPlace;
                sp.spblDate = spouse.blDate;
                sp.spblPlace = spouse.blPlace;
            }
            // The marriage is kept with the husband (and with person 1).
            const ChartPerson& husband = partner > k ? persons[k] : spouse;
            sp.spmDate = husband.mDate;
            sp.spmPlace = husband.mPlace;
        }
        if (!TrimBlanks(P.pgName).empty()) fileOne(true);
        if (k == 1 && P.PageSpouseCount == 1) spouseFiled = P.PageSpouses[1].spRIN;
    }
    InitPrep();
    asPagePerson(persons[kChartSpouse]);
    if (spouseFiled > 0 && spouseFiled <= g.IndivCount) {
        // Filed again by name alone he would not find the record just made
        // for him (it is marked as taken by this paste) and be filed twice.
        ++filed;
        if (countSpouse) ShowCount(filed);
        if (first == 0) first = spouseFiled;
    } else if (!TrimBlanks(P.pgName).empty()) {
        fileOne(countSpouse);
    }
    g.PageMainIndiv = first > 0 ? first : before;
    return filed;
}

void ParsePedigreeChart(const ChartEventLabel* labels, std::size_t labelCount, bool countSpouse) {
    RunChart([&](std::ptrdiff_t& line) {
        ChartPersons persons;
        const PageLineCursor page(g.PageLines);
        CollectChart(page, labels, labelCount, persons, line);
        FileChart(persons, countSpouse);
    });
}

}  // namespace lintora
