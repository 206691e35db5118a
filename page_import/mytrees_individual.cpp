#include "page_import/mytrees_individual.h"

#include "page_import/mytrees_scan.h"
#include "page_import/mytrees_splitters.h"
#include "page_import/skipped_entries.h"
#include "record_store/fixed_text.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// The first value the page gives for an event's date and for its place,
// each kept on its own.
void FirstEvent(const std::string& value, std::string& date, std::string& place) {
    std::string d, p;
    SplitDatePlaceKK(value, d, p);
    if (TrimBlanks(date).empty()) date = d;
    if (TrimBlanks(place).empty()) place = TrimBlanks(p);
}

}  // namespace

void ProcessIndKK() {
    PageScratchRec& P = g.PageScratch;
    P.PageSpouseCount = 0;
    SkippedEntries skipped;
    MyTreesScan scan;
    scan.listHeading = "Spouses:";
    scan.entry = [&](const std::string& name, const std::string& date, const std::string& place) {
        const int16_t k = P.AddSpouse();
        if (k == 0) {
            skipped.Add();
            return;
        }
        PageSpouse& sp = P.PageSpouses[k];
        sp.spName = name;
        sp.spbDate = date;
        sp.spbPlace = place;
    };
    scan.field = [&](const std::string& label, const std::string& value) {
        if (label == "Name") {
            if (!TrimBlanks(P.pgName).empty()) return;
            P.pgName = value;
            const NameParts parts = ParseNameParts(P.pgName);
            P.pgSurn = parts.surname;
            P.pgGivn = parts.given;
            P.pgPrefix = parts.prefix;
            P.pgSuffix = parts.suffix;
            P.pgTitle = parts.title;
            P.pgNick = parts.nickname;
            P.pgNameKey = TrimBlanks(parts.key);
        } else if (label == "Sex") {
            // "female" is as much a woman as "Female".
            if (TrimBlanks(P.pgSex).empty()) P.pgSex = UpperCase(Utf8Left(value, 1));
        } else if (label == "Birth") {
            FirstEvent(value, P.pgbDate, P.pgbPlace);
        } else if (label == "Baptism/Christening/Bar Mitzvah") {
            FirstEvent(value, P.pgcDate, P.pgcPlace);
        } else if (label == "Death") {
            FirstEvent(value, P.pgdDate, P.pgdPlace);
        } else if (label == "Burial") {
            FirstEvent(value, P.pgblDate, P.pgblPlace);
        }
        // "Baptism", "Endowment" and "Sealed to Parents" (the ordinances)
        // and every other label are read past.
    };
    ScanMyTreesPage(scan);
    skipped.Report("spouses");
}

}  // namespace lintora
