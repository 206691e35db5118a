#include "main_window/list_texts.h"

#include <vector>

#include "record_store/dates_places.h"
#include "record_store/fixed_text.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {
namespace {

std::string PadLeft(std::string s, std::size_t width) {
    if (s.size() < width) s.insert(0, width - s.size(), ' ');
    return s;
}

}  // namespace

std::string ListNameText(const IndivRec& r) {
    const std::string given = TrimBlanks(r.iPrefix.trimmed() + " " + r.iGivn.trimmed() + " " + r.iSuffix.trimmed());
    return TrimBlanks(r.iSurn.trimmed() + ", " + given);
}

std::string ListSpouseText(int32_t indiv) {
    if (indiv < 1 || indiv > g.IndivCount || indiv >= static_cast<int32_t>(g.Indiv.size())) return "<unknown>,  ";
    const IndivRec& r = g.Indiv[indiv];
    return r.iSurn.trimmed() + ", " + r.iGivn.trimmed() + " " + r.iSuffix.trimmed();
}

std::string ListDateText(const std::string& date, bool marks) {
    std::string form;
    int16_t year = 0, month = 0, day = 0;
    ParseDateParts(TrimBlanks(date), form, year, month, day);
    if (year == 0) return {};
    std::string out = std::to_string(year);
    if (month >= 1 && month <= 12) out += " " + Months[static_cast<std::size_t>(month - 1)].substr(0, 3);
    if (day > 0) out += " " + std::to_string(day);
    if (!marks) return out;
    const std::string upper = UpperCase(date);
    if (upper.find("AFT") != std::string::npos) out += " >";
    if (upper.find("BEF") != std::string::npos) out += " <";
    if (upper.find("ABT") != std::string::npos) out += " @";
    if (upper.find("ABOUT") != std::string::npos) out += " @";
    return out;
}

int32_t ListDateKey(const std::string& date) {
    std::string form;
    int16_t year = 0, month = 0, day = 0;
    ParseDateParts(TrimBlanks(date), form, year, month, day);
    if (year == 0) return 0;
    return year * 10000 + (month >= 1 && month <= 12 ? month : 0) * 100 + (day > 0 && day < 100 ? day : 0);
}

std::string ListPlaceText(const std::string& place) {
    std::string unused;
    std::array<std::string, 4> parts;
    SplitPlace(TrimBlanks(place), unused, parts[0], parts[1], parts[2], parts[3]);
    std::string out;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (it->empty()) continue;
        if (!out.empty()) out += ", ";
        out += *it;
    }
    return out;
}

std::string ListIdText(const IndivRec& r) {
    if (g.FirstSite == "LDS" && !g.FirstType.ends_with("ANC")) return std::to_string(r.iCDno) + "-" + std::to_string(r.iPIDno);
    return r.iAFN.trimmed();
}

std::string ListIdCaption(const std::string& currentCaption) {
    if (g.FirstSite != "LDS") return currentCaption;
    return g.FirstType.ends_with("ANC") ? "AFN" : "Disc/PID#";
}

std::string ListTreeText(int32_t tree, int32_t generation) {
    std::string gen;
    if (generation >= 10)
        gen = std::to_string(generation) + " ";
    else if (generation >= 0)
        gen = " " + std::to_string(generation) + " ";
    else if (generation >= -9)
        gen = " " + std::to_string(generation);
    else
        gen = std::to_string(generation);
    return PadLeft(std::to_string(tree), 2) + "/" + gen;
}

int32_t ListTreeSort(int32_t tree, int32_t generation) { return tree * 1000 + generation + 100; }

std::string ListRecNoText(int32_t index) { return PadLeft(std::to_string(index), 4) + "  "; }

std::string ListParentNameText(const std::string& name) {
    const NameParts p = ParseNameParts(TrimBlanks(name));
    return TrimBlanks(TrimBlanks(p.surname) + ", " + TrimBlanks(p.given) + " " + TrimBlanks(p.suffix));
}

std::string ListChildCountText(int32_t count) {
    if (count >= 10) return std::to_string(count);
    if (count >= 1) return " " + std::to_string(count);
    return " 0";
}

}  // namespace lintora
