#include "page_import/splitters.h"

#include "record_store/dates_places.h"
#include "record_store/fixed_text.h"
#include "record_store/place_names.h"
#include "record_store/text_routines.h"

namespace lintora {

void SplitNameAFN(std::string& text, std::string& name, std::string& afn) {
    try {
        // Worked on a copy, so that outputs passed as the same string as
        // the text cannot spoil it.
        const std::string whole = text;
        afn.assign(1, ' ');
        name = whole;
        const std::size_t close = InStrLast(whole, ")");
        if (close <= 2) return;
        const std::string_view before = std::string_view(whole).substr(0, close - 1);
        text = before;  // whatever stood after the last ")" is dropped
        const std::size_t open = InStrLast(before, "(AFN:");
        if (open == 0) {
            // A ")" without an AFN belongs to the name itself (a nickname):
            // keep the name whole rather than cut it at that ")".
            name = TrimBlanks(whole);
            return;
        }
        name = TrimBlanks(before.substr(0, open - 1));
        std::string_view number = before.substr(open - 1 + 5);
        // The number ends at its own ")" when later parentheses follow it.
        number = number.substr(0, number.find(')'));
        afn = TrimBlanks(Utf8Left(number, 20));
    } catch (...) {
        // Ends quietly with what it has; the parser goes on.
    }
}

void SplitDatePlace(std::string& text, std::string& date, std::string& place) {
    try {
        const std::string line = text;
        date.clear();
        place.clear();
        const std::size_t at = InStrLast(line, "Place:");
        // No date is taken from a line without a "Place:" after its label.
        if (at > 2) {
            place = TrimBlanks(Utf8Left(std::string_view(line).substr(at - 1 + 6), 120));
            text = TrimBlanks(std::string_view(line).substr(0, at - 1));
            const std::size_t colon = InStrLast(text, ": ");
            if (colon >= 1) date = TrimBlanks(Utf8Left(std::string_view(text).substr(colon), 30));
        }
        place = NormalizePlace(place);
    } catch (...) {
        // Ends quietly with what it has; the parser goes on.
    }
}

void SplitIGIDatePlace(const std::string& text, std::string& date, std::string& place) {
    date.clear();
    place.clear();
    try {
        if (TrimBlanks(text).empty()) return;
        // A following label line taken as the value of an empty one.
        if (text.find(':') != std::string::npos) return;
        const std::size_t p = InStrLast(text, "  ");
        if (p > 2) {
            place = TrimBlanks(Utf8Left(std::string_view(text).substr(p), 120));
            date = TrimBlanks(std::string_view(text).substr(0, p - 1));
        } else {
            date = TrimBlanks(text);
            std::string ymd;
            int16_t y = 0, m = 0, d = 0;
            ParseDateParts(date, ymd, y, m, d);
            if (TrimBlanks(ymd) == "0/0/0") {
                date.clear();
                place = TrimBlanks(text);
            }
        }
        place = NormalizePlace(place);
    } catch (...) {
        // Ends quietly with what it has.
    }
}

}  // namespace lintora
