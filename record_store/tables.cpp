#include "record_store/tables.h"

#include <exception>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/platform.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "platform/window_ports.h"

namespace lintora {

namespace {

void Problem(const std::string& prefix, const std::exception& e) {
    ShowProblem(prefix + "\n" + e.what());
}

std::string UpperSurname(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return {};
    return UpperCase(g.Indiv[indiv].iSurn.trimmed());
}

template <typename Rec, typename Count>
int32_t AppendGrowable(std::vector<Rec>& table, Count& count, int16_t* ub, const char* prefix) {
    try {
        if (count >= kMaxGrowable) {
            ShowProblem(std::string(prefix) + std::to_string(count) + "\nthe table cannot grow further");
            return 0;
        }
        table.resize(static_cast<std::size_t>(count) + 2);
        ++count;
        if (ub) *ub = static_cast<int16_t>(count);
        Rec rec;
        if constexpr (std::is_same_v<Rec, SourceRec>) {
            rec.sRIN = static_cast<int16_t>(count);
            rec.sFlag = "P";
        } else {
            rec.rRIN = static_cast<int16_t>(count);
            rec.rFlag = "P";
        }
        table[count] = rec;
        return count;
    } catch (const std::exception& e) {
        Problem(std::string(prefix) + std::to_string(count), e);
        return 0;
    }
}

}  // namespace

int32_t AddIndiv() {
    try {
        if (g.IndivCount == kMaxIndiv - 1)
            MsgBox(kIndivTableFull);
        if (g.IndivCount >= kMaxIndiv) return 0;
        const int32_t n = g.IndivCount + 1;
        IndivRec& rec = g.Indiv.Fresh(static_cast<std::size_t>(n));
        rec.iRIN = n;
        rec.iNoteFlg = "N";
        rec.iSource = g.PasteSource;
        // A file's people are added within the same second or so: the stamp
        // is spelt out again only when the clock reads otherwise.
        static LocalTime stampedAt{-1, -1, -1, -1, -1, -1};
        static std::string stampDate, stampTime;
        const LocalTime t = Port().Now();
        if (t.year != stampedAt.year || t.month != stampedAt.month || t.day != stampedAt.day ||
            t.hour != stampedAt.hour || t.minute != stampedAt.minute || t.second != stampedAt.second) {
            int m = (t.month >= 1 && t.month <= 12) ? t.month - 1 : 12;
            stampDate = std::to_string(t.day) + " " + Months[m] + " " + std::to_string(t.year);
            stampTime = std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
            stampedAt = t;
        }
        rec.iChanDate = stampDate;
        rec.iChanTime = stampTime;
        g.IndivCount = g.LastIndiv = n;
        if (g.PasteSource > 0 && g.PasteSource <= g.SourceCount) {
            SourceRec& s = g.Source[g.PasteSource];
            ++s.sCitations;
            if (s.sRepos > 0 && s.sRepos <= g.RepositoryCount) ++g.Repository[s.sRepos].rCitations;
        }
        return g.LastIndiv;
    } catch (const std::exception& e) {
        Problem("Problem adding Indiv: " + std::to_string(g.IndivCount) + " - " +
                    std::to_string(g.LastIndiv),
                e);
        return 0;
    }
}

int32_t AddFamil() {
    try {
        if (g.FamilCount == kMaxFamil - 1)
            MsgBox(kFamilTableFull);
        if (g.FamilCount >= kMaxFamil) return 0;
        const int32_t n = g.FamilCount + 1;
        FamilRec& rec = g.Famil.Fresh(static_cast<std::size_t>(n));
        rec.fRIN = n;
        rec.fNoteFlg = "N";
        rec.fSource = g.PasteSource;
        g.FamilCount = g.LastFamil = n;
        return g.LastFamil;
    } catch (const std::exception& e) {
        Problem("Problem adding Famil: " + std::to_string(g.FamilCount) + " - " +
                    std::to_string(g.LastFamil),
                e);
        return 0;
    }
}

int32_t FindOrAddFamil(int32_t husband, int32_t wife) {
    try {
        MainWindow().ClearMarriageList();
        // A family needs at least one partner, and nobody marries himself.
        if ((husband == 0 && wife == 0) || (husband == wife)) return 0;
        if (husband < 0 || husband > g.IndivCount || wife < 0 || wife > g.IndivCount) return 0;
        const bool husbUnknown = UpperSurname(husband) == "<UNKNOWN>";
        const bool wifeUnknown = UpperSurname(wife) == "<UNKNOWN>";
        const int32_t count = g.FamilCount;
        for (int32_t f = 1; f <= count; ++f) {
            FamilRec& F = g.Famil[f];
            bool take = (F.fHusb == husband && F.fWife == wife) ||
                        (F.fHusb == wife && F.fWife == husband);
            if (!take && husbUnknown)
                take = (F.fWife == wife && UpperSurname(F.fHusb) == "<UNKNOWN>") ||
                       F.fWife == husband;
            if (!take && wifeUnknown)
                take = (F.fHusb == husband && UpperSurname(F.fWife) == "<UNKNOWN>") ||
                       F.fHusb == wife;
            if (take) {
                F.fTouched = 1;
                g.LastFamil = f;
                return f;
            }
        }
        int32_t f = AddFamil();
        if (f == 0) return 0;
        FamilRec& F = g.Famil[f];
        F.fTouched = 1;
        F.fXref = std::to_string(f);
        F.fWife = wife;
        F.fHusb = husband;
        if (husband > 0) ++g.Indiv[husband].iFamsCount;
        if (wife > 0) ++g.Indiv[wife].iFamsCount;
        return f;
    } catch (const std::exception& e) {
        Problem("Problem with Famil table: " + std::to_string(husband) + " - " + std::to_string(wife), e);
        return 0;
    }
}

int32_t AddNotes() {
    try {
        if (g.NotesCount == kMaxNotes - 1)
            MsgBox(kNotesTableFull);
        if (g.NotesCount >= kMaxNotes) return 0;
        const int32_t n = g.NotesCount + 1;
        g.Notes.Fresh(static_cast<std::size_t>(n));
        g.NotesCount = g.LastNote = n;
        return g.LastNote;
    } catch (const std::exception& e) {
        Problem("Problem adding Notes: " + std::to_string(g.LastNote), e);
        return 0;
    }
}

int32_t AddSource() { return AppendGrowable(g.Source, g.SourceCount, &g.SourceUB, "Problem adding Source: "); }

int32_t AddGedSource() {
    return AppendGrowable(g.GedSource, g.GedSourceCount, nullptr, "Problem adding GED Source: ");
}

int32_t AddRepository() {
    return AppendGrowable(g.Repository, g.RepositoryCount, &g.RepositoryUB, "Problem adding Repository: ");
}

int32_t AddGedRepository() {
    return AppendGrowable(g.GedRepository, g.GedRepositoryCount, nullptr,
                          "Problem adding Repository (GED): ");
}

int NameIndexBucket(char c) {
    static const char* groups[4] = {"ABCD", "EFGHI", "JKLM", "NOPQR"};
    for (int b = 0; b < 4; ++b)
        if (c != '\0' && std::string_view(groups[b]).find(c) != std::string_view::npos) return b;
    return 4;
}

void EnterNameIndex(int32_t indiv) {
    if (indiv <= 0 || indiv > g.IndivCount) return;
    const IndivRec& r = g.Indiv[indiv];
    char c = r.iSurn.blank() ? ' ' : r.iSurn.first();
    auto enter = [&](int b) {
        g.NameIdx[b].push_back(indiv);
        g.NameIdxCount[b] = static_cast<int32_t>(g.NameIdx[b].size()) - 1;
    };
    enter(NameIndexBucket(c));
    if (c == ' ')
        for (int b = 0; b < 4; ++b) enter(b);
}

void BuildNameIndex() {
    for (int b = 0; b < 5; ++b) {
        g.NameIdx[b].assign(1, 0);
        g.NameIdx[b].reserve(static_cast<std::size_t>(g.IndivCount) + 1);
        g.NameIdxCount[b] = 0;
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) EnterNameIndex(i);
}

}  // namespace lintora
