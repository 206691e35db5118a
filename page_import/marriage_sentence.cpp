#include "page_import/marriage_sentence.h"

#include <string_view>

#include "page_import/narrative_split.h"
#include "record_store/fixed_text.h"
#include "record_store/place_names.h"
#include "record_store/text_routines.h"

namespace lintora {

void SplitAtMarried(const std::string& line, std::string& head, std::string& tail, std::string& sex) {
    std::size_t p = line.find(". She married ");
    if (p != std::string::npos) {
        head = line.substr(0, p + 1);
        tail = line.substr(p + 14);
        sex = "F";
    } else if ((p = line.find(". He married ")) != std::string::npos) {
        head = line.substr(0, p + 1);
        tail = line.substr(p + 13);
        sex = "M";
    }
}

SpouseSentence NextSpouse(std::string& tail, const std::string& partnerSex) {
    SpouseSentence s;
    const bool woman = partnerSex == "F";
    const std::string current = tail;
    tail.clear();
    std::string text;
    const std::string_view again = woman ? " She married " : " He married ";
    const std::size_t p = current.find(again);
    if (p != std::string::npos) {
        text = current.substr(0, p);
        tail = current.substr(p + again.size());
    }
    if (TrimBlanks(tail).empty()) text = TrimBlanks(current);

    // The spouse's own sentences start with the pronoun of the other sex.
    const std::string_view pronoun = woman ? " He " : " She ";
    std::string head;
    const std::size_t q = text.find(pronoun);
    if (q != std::string::npos) {
        head = text.substr(0, q);
        s.events = TrimBlanks(std::string_view(text).substr(q + pronoun.size()));
    }
    if (s.events.empty()) head = TrimBlanks(text);

    std::string namePart = head, parents;
    for (std::string_view marker : {", daughter of ", ", son of "}) {
        const std::size_t at = head.find(marker);
        if (at == std::string::npos) continue;
        namePart = head.substr(0, at);
        parents = head.substr(at + marker.size());
        break;
    }
    if (!TrimBlanks(parents).empty()) {
        s.hasParents = true;
        const std::size_t a = parents.find(" and ");
        if (a != std::string::npos) {
            s.father = parents.substr(0, a);
            s.mother = parents.substr(a + 5);
        } else {
            s.father = TrimBlanks(parents);
            s.mother = "<unknown>";
        }
        s.father = ReplaceAll(s.father, ".", "");
        s.mother = ReplaceAll(s.mother, ".", "");
    }

    std::string nameDate = namePart, place;
    const std::size_t in = namePart.find(" in ");
    if (in != std::string::npos) {
        nameDate = namePart.substr(0, in);
        place = namePart.substr(in + 4);
    }
    std::string name, date;
    SplitANCDatePlace(nameDate, name, date);
    s.name = TrimBlanks(name);
    s.marrDate = TrimBlanks(date);
    // The sentence's own period is not part of the date.
    if (!s.marrDate.empty() && s.marrDate.back() == '.') s.marrDate = TrimBlanks(s.marrDate.substr(0, s.marrDate.size() - 1));
    if (!place.empty()) s.marrPlace = TrimBlanks(NormalizePlace(ReplaceAll(place, ".", "")));
    return s;
}

}  // namespace lintora
