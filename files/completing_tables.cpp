#include "files/completing_tables.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "files/gedcom_reader.h"
#include "files/load_messages.h"
#include "record_store/name_parsing.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// The GEDCOM sources and repositories, cited or named like ours, into
// Source and Repository; the citing records then point at them.
void MergeGedSources() {
    std::unordered_map<std::string, int32_t> gedSource;  // pointer -> GedSource
    for (int32_t k = g.GedSourceCount; k >= 1; --k) gedSource[TrimBlanks(g.GedSource[k].sXref)] = k;
    // The citations are the individuals filed with a source, as a paste
    // counts them; a source that only families cite is kept all the same.
    std::vector<bool> cited(static_cast<std::size_t>(g.GedSourceCount) + 1, false);
    auto cite = [&](const std::string& xref, int32_t counted) {
        auto it = xref.empty() ? gedSource.end() : gedSource.find(xref);
        if (it == gedSource.end()) return;
        g.GedSource[it->second].sCitations += counted;
        cited[static_cast<std::size_t>(it->second)] = true;
    };
    for (int32_t i = 1; i <= g.IndivCount; ++i) cite(g.Indiv[i].iSourXref.trimmed(), 1);
    for (int32_t f = 1; f <= g.FamilCount; ++f) cite(g.Famil[f].fSourXref.trimmed(), 0);

    std::unordered_map<std::string, int32_t> source;  // GEDCOM pointer -> Source
    for (int32_t k = 1; k <= g.GedSourceCount; ++k) {
        SourceRec& G = g.GedSource[k];
        const std::string title = G.sTitle.trimmed();
        if (title.empty()) continue;
        for (int32_t s = 1; s <= g.SourceCount; ++s) {
            if (g.Source[s].sTitle.trimmed() != title) continue;
            g.Source[s].sCitations = G.sCitations;
            g.Source[s].sXref = G.sXref;
            G.sCitations = 0;
            cited[static_cast<std::size_t>(k)] = false;
            source.emplace(TrimBlanks(G.sXref), s);
            break;
        }
    }
    // A GEDCOM repository counts as cited when a source that is kept names it.
    std::unordered_map<std::string, int32_t> gedRepos;
    for (int32_t k = g.GedRepositoryCount; k >= 1; --k) gedRepos[TrimBlanks(g.GedRepository[k].rXref)] = k;
    for (int32_t k = 1; k <= g.GedSourceCount; ++k) {
        const SourceRec& G = g.GedSource[k];
        if (!cited[static_cast<std::size_t>(k)]) continue;
        auto it = gedRepos.find(TrimBlanks(G.sReposXref));
        if (it != gedRepos.end()) ++g.GedRepository[it->second].rCitations;
    }
    std::unordered_map<std::string, int32_t> repos;  // GEDCOM pointer -> Repository
    for (int32_t k = 1; k <= g.GedRepositoryCount; ++k) {
        ReposRec& G = g.GedRepository[k];
        const std::string name = G.rName.trimmed();
        if (name.empty()) continue;
        for (int32_t r = 1; r <= g.RepositoryCount; ++r) {
            if (g.Repository[r].rName.trimmed() != name) continue;
            // Its own reference stays: the data files know it by that.
            g.Repository[r].rCitations = G.rCitations;
            G.rCitations = 0;
            repos.emplace(TrimBlanks(G.rXref), r);
            break;
        }
    }
    // Sources from the data files are linked already; the file's pointers
    // name only the file's own repositories.
    const int32_t firstFromFile = g.SourceCount + 1;
    for (int32_t k = 1; k <= g.GedSourceCount; ++k) {
        const SourceRec G = g.GedSource[k];
        if (!cited[static_cast<std::size_t>(k)]) continue;
        int32_t s = AddSource();
        if (s == 0) break;
        SourceRec& S = g.Source[s];
        S.sCitations = G.sCitations;
        S.sTitle = G.sTitle;
        S.sAbbr = G.sAbbr;
        S.sAuthor = G.sAuthor;
        S.sPublish = G.sPublish;
        S.sXref = G.sXref;
        S.sReposXref = G.sReposXref;
        S.sFlag = "U";
        source.emplace(TrimBlanks(G.sXref), s);
    }
    for (int32_t k = 1; k <= g.GedRepositoryCount; ++k) {
        const ReposRec G = g.GedRepository[k];
        if (G.rCitations <= 0) continue;
        int32_t r = AddRepository();
        if (r == 0) break;
        ReposRec& R = g.Repository[r];
        R.rCitations = G.rCitations;
        R.rXref = G.rXref;
        R.rName = G.rName;
        R.rAddr = G.rAddr;
        R.rCont = G.rCont;
        R.rFlag = "U";
        repos.emplace(TrimBlanks(G.rXref), r);
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        auto it = source.find(g.Indiv[i].iSourXref.trimmed());
        if (!g.Indiv[i].iSourXref.blank() && it != source.end())
            g.Indiv[i].iSource = static_cast<int16_t>(it->second);
    }
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        auto it = source.find(g.Famil[f].fSourXref.trimmed());
        if (!g.Famil[f].fSourXref.blank() && it != source.end())
            g.Famil[f].fSource = static_cast<int16_t>(it->second);
    }
    for (int32_t s = firstFromFile; s <= g.SourceCount; ++s) {
        SourceRec& S = g.Source[s];
        auto it = repos.find(TrimBlanks(S.sReposXref));
        if (it != repos.end()) S.sRepos = static_cast<int16_t>(it->second);
    }
}

// Partners the file names but does not hold become "<unknown>" persons.
void AddPlaceholderSpouses() {
    auto placeholder = [](const char* sex) -> int32_t {
        int32_t i = AddIndiv();
        if (i == 0) return 0;
        IndivRec& R = g.Indiv[i];
        R.iName = "<unknown>";
        R.iGivn = "<unknown>";
        R.iNameKey = NameKeyOf(R.iGivn.value(), "");
        R.iSex = sex;
        R.iFamsCount = 1;
        return i;
    };
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        if (g.Famil[f].fHusb == 0) g.Famil[f].fHusb = placeholder("M");
        if (g.Famil[f].fWife == 0) g.Famil[f].fWife = placeholder("F");
    }
}

// The counts follow the links, as a save writes them (a FAMS line for each
// family the person is a partner of, a CHIL line for each child) and a
// reload counts them; pointers that name no family count nothing.
void CountFamilyLinks() {
    for (int32_t i = 1; i <= g.IndivCount; ++i) g.Indiv[i].iFamsCount = 0;
    for (int32_t f = 1; f <= g.FamilCount; ++f) g.Famil[f].fChilCount = 0;
    auto raise = [](int16_t& count) {
        if (count < INT16_MAX) ++count;
    };
    for (int32_t f = 1; f <= g.FamilCount; ++f) {
        const FamilRec& F = g.Famil[f];
        if (F.fHusb > 0 && F.fHusb <= g.IndivCount) raise(g.Indiv[F.fHusb].iFamsCount);
        if (F.fWife > 0 && F.fWife <= g.IndivCount && F.fWife != F.fHusb) raise(g.Indiv[F.fWife].iFamsCount);
    }
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        const int32_t f = g.Indiv[i].iFamc;
        if (f > 0 && f <= g.FamilCount) raise(g.Famil[f].fChilCount);
    }
}

}  // namespace

void CompleteTables(bool progress) {
    ResolveGedLinks();
    AddPlaceholderSpouses();
    CountFamilyLinks();
    ProgressStage(progress, g.IndivCount, "Processing Family IDs ...");
    BuildNameIndex();
    ShowProgress(progress, g.IndivCount);
    ProgressStage(progress, 100, "Loading...");
    ShowProgress(progress, 5);
    MergeGedSources();
    ShowProgress(progress, 55);
}

}  // namespace lintora
