#include "page_import/mytrees_family.h"

#include "page_import/mytrees_scan.h"
#include "page_import/mytrees_splitters.h"
#include "page_import/skipped_entries.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

void ProcessFamKK() {
    PageScratchRec& P = g.PageScratch;
    P.PageSpouseCount = 0;
    P.PageChildCount = 0;
    PageSpouse& wife = P.PageSpouses[1];
    // Whose "Birth/Chris" lines follow: "F" the father's, "M" the mother's.
    std::string partner;
    SkippedEntries skipped;
    MyTreesScan scan;
    scan.listHeading = "Children:";
    scan.entry = [&](const std::string& name, const std::string& date, const std::string& place) {
        const int16_t k = P.AddChild();
        if (k == 0) {
            skipped.Add();
            return;
        }
        PageChild& ch = P.PageChildren[k];
        ch.chName = name;
        ch.chbDate = date;
        ch.chbPlace = place;
        ch.chSex = "U";
    };
    scan.field = [&](const std::string& label, const std::string& value) {
        if (label == "Father") {
            if (!TrimBlanks(P.pgName).empty()) return;
            P.pgName = value;
            P.pgSex = "M";
            partner = "F";
            wife.spName = "<unknown>";
        } else if (label == "Mother") {
            if (TrimBlanks(P.pgName).empty()) {
                P.pgName = "<unknown>";
                P.pgSex = "M";
            }
            P.PageSpouseCount = 1;
            wife.spName = value;
            partner = "M";
        } else if (label == "Birth/Chris") {
            std::string date, place;
            SplitDatePlaceKK(value, date, place);
            date = TrimBlanks(date);
            place = TrimBlanks(place);
            if (partner == "F") {
                if (TrimBlanks(P.pgbDate).empty()) P.pgbDate = date;
                if (TrimBlanks(P.pgbPlace).empty()) P.pgbPlace = place;
            } else if (partner == "M") {
                // Her birth and her christening share the label: the
                // fuller text wins.
                if (Utf8Length(date) > Utf8Length(wife.spbDate.trimmed())) wife.spbDate = date;
                if (Utf8Length(place) > Utf8Length(wife.spbPlace.trimmed())) wife.spbPlace = place;
            }
        } else if (label == "Married") {
            std::string date, place;
            SplitDatePlaceKK(value, date, place);
            wife.spmDate = TrimBlanks(date);
            wife.spmPlace = TrimBlanks(place);
        }
        // "Sealed" and every other label are read past.
    };
    ScanMyTreesPage(scan);
    skipped.Report("children");
}

}  // namespace lintora
