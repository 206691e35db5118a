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

std::string Boxed(const std::string& stored) { return " " + TrimBlanks(stored); }

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

bool InIndivTable(int32_t n) { return n > 0 && n <= g.IndivCount && n < static_cast<int32_t>(g.Indiv.size()); }
bool InFamilTable(int32_t n) { return n > 0 && n <= g.FamilCount && n < static_cast<int32_t>(g.Famil.size()); }

EditValues EditValuesOf(int32_t indiv, int32_t famil) {
    EditValues v;
    const IndivRec blank;
    const IndivRec& r = InIndivTable(indiv) ? g.Indiv[indiv] : blank;
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
    v.mDate = InFamilTable(famil) ? Boxed(g.Famil[famil].fmDate.value()) : " ";
    v.mPlace = InFamilTable(famil) ? Boxed(g.Famil[famil].fmPlace.value()) : " ";
    v.source = r.iSource;
    return v;
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
    if (!InIndivTable(indiv)) return false;
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
    if (InFamilTable(famil) &&
        (Differs(b.mDate, g.Famil[famil].fmDate.value()) || Differs(b.mPlace, g.Famil[famil].fmPlace.value())))
        return true;
    if (g.IndivNoteChanged == "Y" || g.FamilNoteChanged == "Y") return true;
    return b.source >= 0 && b.source != r.iSource;
}

bool StoreEditValues(const EditValues& b, int32_t indiv, int32_t famil, bool addMode,
                     std::vector<std::string>& kept) {
    if (!InIndivTable(indiv)) return false;
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
                    if (InIndivTable(other)) g.Indiv[other].iSex = "M";
                } else if (F.fHusb != indiv && F.fWife == indiv && sex == "M") {
                    const int32_t other = F.fHusb;
                    F.fHusb = indiv;
                    F.fWife = other;
                    if (InIndivTable(other)) g.Indiv[other].iSex = "F";
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

    if (InFamilTable(famil)) {
        g.Famil[famil].fmDate = TrimBlanks(b.mDate);
        g.Famil[famil].fmPlace = TrimBlanks(b.mPlace);
    }
    return true;
}

}  // namespace lintora
