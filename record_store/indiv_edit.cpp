#include "record_store/indiv_edit.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "record_store/dates_places.h"
#include "record_store/name_key.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

bool ValidIndiv(int32_t i) { return i > 0 && i <= g.IndivCount; }
bool ValidFamil(int32_t f) { return f > 0 && f <= g.FamilCount; }

std::string Boxed(const std::string& stored) { return " " + TrimBlanks(stored); }

int16_t YearOf(const std::string& date) {
    std::string text;
    int16_t y = 0, m = 0, d = 0;
    ParseDateParts(TrimBlanks(date), text, y, m, d);
    return y;
}

bool Differs(const std::string& box, const std::string& stored) { return TrimBlanks(box) != TrimBlanks(stored); }

// Compares a CD or PID box with its stored number: empty reads as 0, an
// unreadable text always differs.
bool NumberDiffers(const std::string& box, int64_t stored, int64_t low, int64_t high) {
    std::string t = TrimBlanks(box);
    if (t.empty()) t = "0";
    if (stored == 0) return t != "0";
    if (t == "0") return true;
    int64_t value = 0;
    if (!ReadWholeNumber(t, low, high, value)) return true;
    return value != stored;
}

}  // namespace

EditValues EditValuesOf(int32_t indiv, int32_t famil) {
    EditValues v;
    const IndivRec blank;
    const IndivRec& r = ValidIndiv(indiv) ? g.Indiv[indiv] : blank;
    v.givn = Boxed(r.iGivn.value());
    v.surn = Boxed(r.iSurn.value());
    v.title = Boxed(r.iTitle.value());
    v.suffix = Boxed(r.iSuffix.value());
    v.prefix = Boxed(r.iPrefix.value());
    v.nick = Boxed(r.iNick.value());
    v.afn = Boxed(r.iAFN.value());
    v.cdNo = " " + std::to_string(r.iCDno);
    v.pidNo = " " + std::to_string(r.iPIDno);
    v.sex = r.iSex.trimmed();
    v.submNo = Boxed(r.iSubmNo.value());
    v.bDate = Boxed(r.ibDate.value());
    v.cDate = Boxed(r.icDate.value());
    v.dDate = Boxed(r.idDate.value());
    v.blDate = Boxed(r.iblDate.value());
    v.bPlace = Boxed(r.ibPlace.value());
    v.cPlace = Boxed(r.icPlace.value());
    v.blPlace = Boxed(r.iblPlace.value());
    v.dPlace = Boxed(r.idPlace.value());
    v.mDate = ValidFamil(famil) ? Boxed(g.Famil[famil].fmDate.value()) : " ";
    v.mPlace = ValidFamil(famil) ? Boxed(g.Famil[famil].fmPlace.value()) : " ";
    v.source = r.iSource;
    return v;
}

std::string LifeDatesText(int32_t indiv) {
    if (!ValidIndiv(indiv)) return "<unknown>";
    const IndivRec& r = g.Indiv[indiv];
    int16_t b = YearOf(r.ibDate.value());
    if (b == 0) b = YearOf(r.icDate.value());
    int16_t d = YearOf(r.idDate.value());
    if (d == 0) d = YearOf(r.iblDate.value());
    std::string text = " " + r.iGivn.trimmed() + " " + r.iSurn.trimmed();
    if (b > 0 && d > 0)
        text += "  (" + std::to_string(b) + "-" + std::to_string(d) + ")";
    else if (b > 0)
        text += "  (" + std::to_string(b) + "-    )";
    else if (d > 0)
        text += "  (    -" + std::to_string(d) + ")";
    return text;
}

std::string SpouseLineText(int32_t indiv) {
    if (!ValidIndiv(indiv)) return " <unknown>";
    return g.Indiv[indiv].iGivn.trimmed() + " " + g.Indiv[indiv].iSurn.trimmed();
}

std::string ChildLineText(int32_t indiv) {
    if (!ValidIndiv(indiv)) return {};
    std::string mark = "  ";
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& F = g.Famil[f];
        if ((F.fHusb == indiv || F.fWife == indiv) && F.fChilCount > 0) {
            mark = "<";
            break;
        }
    }
    const IndivRec& r = g.Indiv[indiv];
    const int16_t year = YearOf(r.ibDate.value());
    const std::string years = year >= 1 ? " " + std::to_string(year) + " - " : " ------ - ";
    return mark + years + r.iGivn.trimmed() + " " + r.iSurn.trimmed();
}

EditRelatives GatherRelatives(int32_t indiv) {
    EditRelatives rel;
    if (!ValidIndiv(indiv)) return rel;
    const int32_t famc = g.Indiv[indiv].iFamc;
    if (ValidFamil(famc)) {
        rel.famc = famc;
        const FamilRec& F = g.Famil[famc];
        rel.father = ValidIndiv(F.fHusb) ? F.fHusb : 0;
        rel.mother = ValidIndiv(F.fWife) ? F.fWife : 0;
        for (int32_t i = 1; i <= g.IndivCount && static_cast<int>(rel.siblings.size()) < kMaxEditChildren; ++i)
            if (i != indiv && g.Indiv[i].iFamc == famc && g.Indiv[i].iTree != kRemovedTree)
                rel.siblings.push_back(i);
    }
    for (int32_t f = 1; f <= g.FamilCount && static_cast<int>(rel.spouses.size()) < kMaxEditSpouses; ++f) {
        const FamilRec& F = g.Famil[f];
        if (F.fTree == kRemovedTree) continue;
        int32_t spouse;
        if (F.fHusb == indiv)
            spouse = F.fWife;
        else if (F.fWife == indiv)
            spouse = F.fHusb;
        else
            continue;
        rel.spouses.push_back(ValidIndiv(spouse) ? spouse : 0);
        rel.spouseFams.push_back(f);
    }
    return rel;
}

std::vector<int32_t> ChildrenOf(int32_t famil) {
    std::vector<int32_t> children;
    if (!ValidFamil(famil)) return children;
    for (int32_t i = 1; i <= g.IndivCount && static_cast<int>(children.size()) < kMaxEditChildren; ++i)
        if (g.Indiv[i].iFamc == famil && g.Indiv[i].iTree != kRemovedTree) children.push_back(i);
    return children;
}

int32_t FamilyOfCouple(int32_t a, int32_t b) {
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& F = g.Famil[f];
        if ((F.fHusb == a && F.fWife == b) || (F.fHusb == b && F.fWife == a)) return f;
    }
    return 0;
}

bool ReadWholeNumber(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    const std::string t = TrimBlanks(text);
    if (t.empty()) return false;
    double d = 0;
    const char* first = t.data();
    if (*first == '+') ++first;
    auto [end, ec] = std::from_chars(first, t.data() + t.size(), d);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(d)) return false;
    const double r = std::nearbyint(d);  // the default rounding takes a half to the even number
    if (r < static_cast<double>(low) || r > static_cast<double>(high)) return false;
    value = static_cast<int64_t>(r);
    return true;
}

bool ValidSex(const std::string& sex) { return sex == "M" || sex == "F" || sex == "U"; }

bool EditDiffers(const EditValues& b, int32_t indiv, int32_t famil) {
    if (!ValidIndiv(indiv)) return false;
    const IndivRec& r = g.Indiv[indiv];
    if (Differs(b.sex, r.iSex.value()) || Differs(b.givn, r.iGivn.value()) || Differs(b.surn, r.iSurn.value()) ||
        Differs(b.title, r.iTitle.value()) || Differs(b.prefix, r.iPrefix.value()) ||
        Differs(b.suffix, r.iSuffix.value()) || Differs(b.nick, r.iNick.value()) ||
        Differs(b.afn, r.iAFN.value()) || Differs(b.submNo, r.iSubmNo.value()) ||
        Differs(b.bDate, r.ibDate.value()) || Differs(b.bPlace, r.ibPlace.value()) ||
        Differs(b.cDate, r.icDate.value()) || Differs(b.cPlace, r.icPlace.value()) ||
        Differs(b.dDate, r.idDate.value()) || Differs(b.dPlace, r.idPlace.value()) ||
        Differs(b.blDate, r.iblDate.value()) || Differs(b.blPlace, r.iblPlace.value()))
        return true;
    if (NumberDiffers(b.cdNo, r.iCDno, INT16_MIN, INT16_MAX)) return true;
    if (NumberDiffers(b.pidNo, r.iPIDno, INT32_MIN, INT32_MAX)) return true;
    if (ValidFamil(famil) &&
        (Differs(b.mDate, g.Famil[famil].fmDate.value()) || Differs(b.mPlace, g.Famil[famil].fmPlace.value())))
        return true;
    if (g.IndivNoteChanged == "Y" || g.FamilNoteChanged == "Y") return true;
    return b.source >= 0 && b.source != r.iSource;
}

bool StoreEditValues(const EditValues& b, int32_t indiv, int32_t famil, bool addMode,
                     std::vector<std::string>& kept) {
    if (!ValidIndiv(indiv)) return false;
    IndivRec& r = g.Indiv[indiv];

    // The display name follows every part it is made of.
    const bool nameChanged = addMode || Differs(b.givn, r.iGivn.value()) || Differs(b.surn, r.iSurn.value()) ||
                             Differs(b.prefix, r.iPrefix.value()) || Differs(b.suffix, r.iSuffix.value());
    const std::string givn = TrimBlanks(b.givn);
    const std::string surn = TrimBlanks(b.surn);
    r.iGivn = givn;
    r.iSurn = surn;
    if (nameChanged) {
        r.iName = TrimBlanks(TrimBlanks(b.prefix) + " " + givn + " " + surn + " " + TrimBlanks(b.suffix));
        const std::string first = TrimBlanks(SplitFields(givn, " ").front());
        r.iNameKey = NameKeyHalf(first) + NameKeyHalf(surn);
    }

    r.iTitle = TrimBlanks(b.title);
    r.iPrefix = TrimBlanks(b.prefix);
    r.iSuffix = TrimBlanks(b.suffix);
    r.iNick = TrimBlanks(b.nick);
    r.iAFN = TrimBlanks(b.afn);

    int64_t number = 0;
    const std::string cd = TrimBlanks(b.cdNo);
    if (cd.empty())
        r.iCDno = 0;
    else if (ReadWholeNumber(cd, INT16_MIN, INT16_MAX, number))
        r.iCDno = static_cast<int16_t>(number);
    else
        kept.push_back("CD# \"" + cd + "\" is not a whole number from -32768 to 32767; " +
                       std::to_string(r.iCDno) + " is kept.");
    const std::string pid = TrimBlanks(b.pidNo);
    if (pid.empty())
        r.iPIDno = 0;
    else if (ReadWholeNumber(pid, INT32_MIN, INT32_MAX, number))
        r.iPIDno = static_cast<int32_t>(number);
    else
        kept.push_back("PID# \"" + pid + "\" is not a whole number; " + std::to_string(r.iPIDno) + " is kept.");

    r.iSubmNo = TrimBlanks(b.submNo);
    r.ibDate = TrimBlanks(b.bDate);
    r.ibPlace = TrimBlanks(b.bPlace);
    r.icDate = TrimBlanks(b.cDate);
    r.icPlace = TrimBlanks(b.cPlace);
    r.idDate = TrimBlanks(b.dDate);
    r.idPlace = TrimBlanks(b.dPlace);
    r.iblDate = TrimBlanks(b.blDate);
    r.iblPlace = TrimBlanks(b.blPlace);

    // Sex, and with it the roles in his families.
    const std::string sex = TrimBlanks(b.sex);
    if (sex != r.iSex.trimmed()) {
        if (!ValidSex(sex)) {
            kept.push_back("Sex must be either M, F, or U");
        } else {
            r.iSex = sex;
            for (int32_t f = 1; f <= g.FamilCount; ++f) {
                FamilRec& F = g.Famil[f];
                if (F.fHusb == indiv && sex == "F") {
                    const int32_t other = F.fWife;
                    F.fWife = indiv;
                    F.fHusb = other;
                    if (ValidIndiv(other)) g.Indiv[other].iSex = "M";
                } else if (F.fHusb != indiv && F.fWife == indiv && sex == "M") {
                    const int32_t other = F.fHusb;
                    F.fHusb = indiv;
                    F.fWife = other;
                    if (ValidIndiv(other)) g.Indiv[other].iSex = "F";
                }
            }
        }
    }

    // The citation moves from the old source to the picked one.
    if (b.source >= 0 && b.source <= g.SourceCount && b.source != r.iSource) {
        const int32_t old = r.iSource;
        if (old > 0 && old <= g.SourceCount && g.Source[old].sCitations > 0) --g.Source[old].sCitations;
        r.iSource = static_cast<int16_t>(b.source);
        if (b.source > 0) ++g.Source[b.source].sCitations;
    }

    BuildNameIndex();

    if (ValidFamil(famil)) {
        g.Famil[famil].fmDate = TrimBlanks(b.mDate);
        g.Famil[famil].fmPlace = TrimBlanks(b.mPlace);
    }
    return true;
}

}  // namespace lintora
