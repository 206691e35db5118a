#include "internet_search/search_address.h"

#include <algorithm>
#include <array>
#include <vector>

#include "record_store/fixed_text.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// The first character (code point) of a UTF-8 text.
std::string FirstCharacter(std::string_view s) { return Utf8Left(s, 1); }

std::string FirstWord(std::string_view s) {
    std::string t = TrimBlanks(s);
    return t.substr(0, t.find(' '));
}

struct YearCriterion {
    bool counts = false;
    int year = 0;
    int range = 0;
    std::string rangeText = "0";
    // The years the range spans, for sites that take a from-to pair.
    std::string fromText, toText;
};

YearCriterion ReadYear(int check, const std::string& box, int rangeLine) {
    YearCriterion c;
    if (check != 1) return c;
    c.year = YearValue(box);
    c.counts = c.year > 0;
    c.rangeText = RangeText(rangeLine);
    c.range = std::stoi(c.rangeText);
    if (c.counts) {
        c.fromText = std::to_string(std::max(1, c.year - c.range));
        c.toText = std::to_string(c.year + c.range);
    }
    return c;
}

}  // namespace

std::string RangeText(int line) {
    static const char* const kRanges[5] = {"0", "2", "5", "10", "20"};
    return line >= 0 && line < 5 ? kRanges[line] : "0";
}

int YearValue(std::string_view text) {
    std::string t = TrimBlanks(text);
    if (t.empty() || t.size() > 4) return -1;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v >= 1 ? v : -1;
}

std::string PrepareUrlValue(std::string_view value, bool firstWordOnly) {
    std::string text;
    text.reserve(value.size());
    for (char c : value) text += (c == ',' || IsBlank(c)) ? ' ' : c;
    text = TrimBlanks(text);
    if (firstWordOnly) {
        text = text.substr(0, text.find(' '));
    } else {
        std::string joined;
        bool inRun = false;
        for (char c : text) {
            if (c == ' ' || c == '+') {
                inRun = true;
                continue;
            }
            if (inRun && !joined.empty()) joined += ' ';
            inRun = false;
            joined += c;
        }
        text = std::move(joined);
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if (c == ' ') {
            out += '+';
        } else if (Unreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string FillUrlTags(std::string_view urlTemplate, const UrlTag* tags, std::size_t count) {
    std::string_view t = urlTemplate;
    std::string out;
    out.reserve(t.size() + 64);
    std::size_t i = 0;
    while (i < t.size()) {
        std::size_t hash = t.find('#', i);
        if (hash == std::string_view::npos) {
            out.append(t.substr(i));
            break;
        }
        out.append(t.substr(i, hash - i));
        const UrlTag* found = nullptr;
        if (hash + 8 <= t.size()) {
            std::string_view candidate = t.substr(hash, 8);
            for (std::size_t k = 0; k < count && !found; ++k)
                if (tags[k].tag == candidate) found = &tags[k];
        }
        if (found) {
            out += found->value;
            i = hash + 8;
        } else {
            out += '#';
            i = hash + 1;
        }
    }
    return TrimBlanks(out);
}

MyTreesYear CheckMyTreesYears(const SearchValues& v) {
    if (TrimBlanks(v.site) != "MyTrees") return MyTreesYear::Ready;
    if ((v.chkByear == 1 && YearValue(v.bYear) > 0) || (v.chkDyear == 1 && YearValue(v.dYear) > 0))
        return MyTreesYear::Ready;
    if (YearValue(v.bYear) > 0) return MyTreesYear::TickBirth;
    if (YearValue(v.dYear) > 0) return MyTreesYear::TickDeath;
    return MyTreesYear::Refuse;
}

std::string BuildSearchAddress(const SearchValues& v) {
    const std::string site = TrimBlanks(v.site);
    const bool myTrees = site == "MyTrees";
    const bool familySearch = site == "FamilySearch";
    const std::string templ = TrimBlanks(v.urlTemplate);
    if (templ.empty()) return {};

    // Given names: the first, and the initial of the last when there are more.
    std::string firstName = TrimBlanks(v.first);
    std::string middleInitial;
    std::vector<std::string> given = SplitFields(firstName, " ");
    if (given.size() >= 2) {
        firstName = TrimBlanks(given.front());
        middleInitial = FirstCharacter(given.back());
    }

    // Year criteria: the last one that counts gives the event.
    YearCriterion birth = ReadYear(v.chkByear, v.bYear, v.bRange);
    YearCriterion death = ReadYear(v.chkDyear, v.dYear, v.dRange);
    YearCriterion marriage = ReadYear(v.chkMyear, v.mYear, v.mRange);
    std::string eventCode = "0", eventRange = "0", eventYear, toYearText;
    bool anyYear = false, fromSet = false;
    int fromYear = 0, toYear = 0;
    if (birth.counts) {
        eventCode = "1";
        eventRange = birth.rangeText;
        eventYear = TrimBlanks(v.bYear);
        anyYear = fromSet = true;
        fromYear = birth.year - birth.range;
        toYear = birth.year + birth.range;
    }
    if (death.counts) {
        eventCode = "3";
        eventRange = death.rangeText;
        eventYear = TrimBlanks(v.dYear);
        if (!fromSet) fromYear = death.year - death.range;
        anyYear = fromSet = true;
        toYear = death.year + death.range;
    }
    if (marriage.counts) {
        eventCode = "2";
        eventRange = marriage.rangeText;
        eventYear = TrimBlanks(v.mYear);
        int from = marriage.year - marriage.range, to = marriage.year + marriage.range;
        fromYear = fromSet ? std::min(fromYear, from) : from;
        toYear = std::max(toYear, to);
        anyYear = fromSet = true;
    }
    if (myTrees && fromSet && fromYear > 0) {
        eventYear = std::to_string(fromYear);
        toYearText = std::to_string(toYear);
    }

    // Regions: each level only when it was chosen.
    const bool region = v.chkRegion == 1;
    std::string code1, code2, code3, text1, text2, text3, index1 = "0", index2 = "0";
    if (region && v.region1) {
        code1 = v.region1->rgCode.trimmed();
        text1 = v.region1->rgText.trimmed();
        index1 = std::to_string(v.region1->rgIndex);
    }
    if (region && v.region2) {
        code2 = v.region2->rgCode.trimmed();
        text2 = v.region2->rgText.trimmed();
        index2 = std::to_string(v.region2->rgIndex);
    }
    if (region && v.region3) {
        code3 = v.region3->rgCode.trimmed();
        text3 = v.region3->rgText.trimmed();
    }

    auto value = [&](const std::string& text, bool ticked) {
        return ticked ? PrepareUrlValue(text, myTrees) : std::string();
    };
    auto pair = [](const std::string& a, const std::string& b) { return TrimBlanks(a) + " " + TrimBlanks(b); };
    const std::string givenForSite = familySearch ? FirstWord(v.first) : TrimBlanks(v.first);
    const std::string surnameForSite =
        familySearch ? TrimBlanks(TrimBlanks(v.last).substr(0, TrimBlanks(v.last).find('-'))) : TrimBlanks(v.last);
    const bool name = v.chkIName == 1, father = v.chkFName == 1, mother = v.chkMName == 1,
               spouse = v.chkSName == 1;
    const std::array<UrlTag, 48> tags = {{
        {"#LDSAFN#", value(v.afn, v.chkAFN == 1)},
        {"#IFNAME#", value(givenForSite, name)},
        {"#ILNAME#", value(surnameForSite, name)},
        {"#FFNAME#", value(v.fFirst, father)},
        {"#FLNAME#", value(v.fLast, father)},
        {"#MFNAME#", value(v.mFirst, mother)},
        {"#MLNAME#", value(v.mLast, mother)},
        {"#SFNAME#", value(v.sFirst, spouse)},
        {"#SLNAME#", value(v.sLast, spouse)},
        {"#FATHER#", value(pair(v.fFirst, v.fLast), father)},
        {"#MOTHER#", value(pair(v.mFirst, v.mLast), mother)},
        {"#SPOUSE#", value(pair(v.sFirst, v.sLast), spouse)},
        {"#BTDATE#", value(v.bYear, birth.counts)},
        {"#BRANGE#", value(birth.rangeText, birth.counts)},
        {"#DTDATE#", value(v.dYear, death.counts)},
        {"#DRANGE#", value(death.rangeText, death.counts)},
        {"#MADATE#", value(v.mYear, marriage.counts)},
        {"#MRANGE#", value(marriage.rangeText, marriage.counts)},
        {"#BFYEAR#", value(birth.fromText, birth.counts)},
        {"#BTYEAR#", value(birth.toText, birth.counts)},
        {"#DFYEAR#", value(death.fromText, death.counts)},
        {"#DTYEAR#", value(death.toText, death.counts)},
        {"#MFYEAR#", value(marriage.fromText, marriage.counts)},
        {"#MTYEAR#", value(marriage.toText, marriage.counts)},
        {"#BPLACE#", value(v.bPlace, v.chkBplace == 1)},
        {"#DPLACE#", value(v.dPlace, v.chkDplace == 1)},
        {"#MPLACE#", value(v.mPlace, v.chkMplace == 1)},
        {"#EVENTX#", value(eventCode, anyYear)},
        {"#XRANGE#", value(eventRange, anyYear)},
        {"#FRDATE#", value(eventYear, anyYear)},
        {"#TODATE#", value(toYearText, anyYear)},
        {"#IFIRST#", value(firstName, true)},
        {"#IMIDDL#", value(middleInitial, true)},
        {"#J1ABBR#", value(code1, region)},
        {"#J2ABBR#", value(code2, region)},
        {"#J3ABBR#", value(code3, region)},
        {"#J1INDX#", value(index1, region)},
        {"#J2INDX#", value(index2, region)},
        {"#J1FALL#", value(text1, region)},
        {"#J2FALL#", value(text2, region)},
        {"#J1FAFN#", value(text1, region)},
        {"#J2FAFN#", value(text2, region)},
        {"#J1FPRF#", value(text1, region)},
        {"#J2FPRF#", value(text2, region)},
        {"#J2FIGI#", value(text2, region)},
        {"#J3FIGI#", value(text3, region)},
        {"#REGIDX#", value(index1, region)},
        {"#REGTXT#", value(text1, region)},
    }};
    return FillUrlTags(templ, tags.data(), tags.size());
}

}  // namespace lintora
