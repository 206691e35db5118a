#include "page_import/event_splitters.h"

#include <cstdint>

#include "record_store/dates_places.h"
#include "record_store/fixed_text.h"
#include "record_store/place_names.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// What a site writes in place of a hidden or unknown event: never a place.
bool StatusWord(std::string_view text) {
    const std::string t = UpperCase(TrimBlanks(text));
    for (std::string_view w : {"DECEASED", "PRIVATE", "LIVING", "UNKNOWN", "Y"})
        if (t == w) return true;
    return false;
}

}  // namespace

bool ReadsAsDate(std::string_view text) {
    if (TrimBlanks(text).empty()) return false;
    std::string dmy = "0/0/0";
    int16_t year = 0, month = 0, day = 0;
    ParseDateParts(text, dmy, year, month, day);
    return dmy != "0/0/0";
}

void SplitDatePlaceAt(std::string& text, std::string& date, std::string& place,
                      std::string_view separator) {
    try {
        date.clear();
        place.clear();
        std::string s = TrimBlanks(text);
        if (s.empty()) return;
        // The sentence's own punctuation ("...Connecticut;") belongs to
        // neither date nor place.
        while (!s.empty() && std::string_view(".;,:").find(s.back()) != std::string_view::npos)
            s = TrimBlanks(std::string_view(s).substr(0, s.size() - 1));
        s = ReplaceAll(s, ".", "");
        text = s;

        const std::size_t at = separator.empty() ? std::string::npos : s.find(separator);
        std::string placePart;
        if (at != std::string::npos) {
            date = TrimBlanks(std::string_view(s).substr(0, at));
            placePart = s.substr(at + separator.size() - 1);
        } else {
            // "in Boston" left over from "He died in Boston": the separator
            // lost its leading blank to the trimming, but the rest is a place.
            const std::string word = TrimLeftBlanks(separator);
            if (!word.empty() && s.size() > word.size() && s.compare(0, word.size(), word) == 0) {
                placePart = s.substr(word.size());
            } else {
                date = s;
            }
        }
        date = ReplaceAll(date, "WFT Est", "");
        if (!ReadsAsDate(date)) {
            // Without a separator a text that is no date names the place;
            // it is not thrown away.
            if (at == std::string::npos && placePart.empty()) placePart = date;
            date.clear();
        }
        if (!TrimBlanks(placePart).empty() && !StatusWord(placePart)) place = NormalizePlace(placePart);
    } catch (...) {
        // Silent by design: the outputs keep what was set.
    }
}

void SplitNameDatePlace(std::string_view text, std::string& name, std::string& date,
                        std::string& place, std::string_view marker) {
    try {
        name.clear();
        date.clear();
        place.clear();
        std::string t = ReplaceAll(TrimBlanks(text), "*", "");
        if (t.empty()) return;
        t = ReplaceAll(t, "WFT Est.", "");
        const std::size_t p = marker.empty() ? 0 : InStrLast(t, marker);
        if (p < 3) {
            name = TrimBlanks(t);
            return;
        }
        // The event starts at the marker's last character (its closing blank).
        std::string event = TrimBlanks(Utf8Left(std::string_view(t).substr(p - 1 + marker.size() - 1), 120));
        name = TrimBlanks(std::string_view(t).substr(0, p - 1));
        SplitDatePlaceAt(event, date, place, " in ");
    } catch (...) {
        // Silent by design.
    }
}

}  // namespace lintora
