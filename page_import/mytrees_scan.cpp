#include "page_import/mytrees_scan.h"

#include <vector>

#include "page_import/line_cursor.h"
#include "page_import/mytrees_splitters.h"
#include "platform/platform.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

void ScanMyTreesPage(const MyTreesScan& scan) {
    MainWindow().SetStatusLabel("Processing...");
    Port().SetBusy(true);
    try {
        const PageLineCursor page(g.PageLines);
        bool notes = false, list = false;
        for (std::ptrdiff_t i = 1; i <= page.Last(); ++i) {
            const std::string line = page.Trimmed(i);
            std::string next;
            if (line.starts_with("Copyright")) {
                notes = false;
                list = false;
            } else {
                next = page.Trimmed(i + 1);
            }
            if (notes) AppendNoteLine(line, next);
            if (line == "Notes:") {
                notes = true;
                list = false;
            }
            const bool longEnough = Utf8Length(line) > 2;
            if (list && longEnough) {
                std::string name, date, place;
                SplitPersonEntryKK(line, name, date, place);
                if (!TrimBlanks(name).empty()) scan.entry(TrimBlanks(name), date, place);
            }
            if (line == scan.listHeading) list = true;
            if (longEnough && !notes && !list) {
                g.LineFields = SplitFields(line, ":");
                g.LineLabel = TrimBlanks(g.LineFields[0]);
                const std::string value = g.LineFields.size() > 1 ? TrimBlanks(g.LineFields[1]) : std::string();
                scan.field(g.LineLabel, value);
            }
        }
    } catch (...) {
        // Ends quietly; the paste entry files what was gathered.
    }
    Port().SetBusy(false);
}

}  // namespace lintora
