#include "record_store/renumber.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "record_store/program_state.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

// The new number of an old one; 0 for none, a removed record or a number
// outside the old table.
int32_t NewNumber(const std::vector<int32_t>& map, int32_t old) {
    return (old > 0 && old < static_cast<int32_t>(map.size())) ? map[static_cast<std::size_t>(old)] : 0;
}

// A page scratch reference: the new number and current name, or number 0
// and name "X" for a person who is gone.
template <typename Name>
void RemapReference(const std::vector<int32_t>& map, int32_t& number, Name& name) {
    if (number <= 0) return;
    number = NewNumber(map, number);
    if (number > 0) name = g.Indiv[number].iName.trimmed();
    else name = "X";
}

}  // namespace

void RenumberTables() {
    int32_t position = 0;
    try {
        const int32_t oldIndiv = std::clamp<int32_t>(g.IndivCount, 0, static_cast<int32_t>(g.Indiv.size()) - 1);
        const int32_t oldFamil = std::clamp<int32_t>(g.FamilCount, 0, static_cast<int32_t>(g.Famil.size()) - 1);
        const int32_t oldNotes = std::clamp<int32_t>(g.NotesCount, 0, static_cast<int32_t>(g.Notes.size()) - 1);

        // Old to new numbers, and new to old.
        std::vector<int32_t> indivMap(static_cast<std::size_t>(oldIndiv) + 1, 0);
        std::vector<int32_t> familMap(static_cast<std::size_t>(oldFamil) + 1, 0);
        std::vector<int32_t> indivNewNo(1, 0), familNewNo(1, 0);
        for (position = 1; position <= oldIndiv; ++position)
            if (g.Indiv[position].iTree != kRemovedTree) {
                indivNewNo.push_back(position);
                indivMap[position] = static_cast<int32_t>(indivNewNo.size()) - 1;
            }
        for (int32_t f = 1; f <= oldFamil; ++f)
            if (g.Famil[f].fTree != kRemovedTree) {
                familNewNo.push_back(f);
                familMap[f] = static_cast<int32_t>(familNewNo.size()) - 1;
            }
        const int32_t nI = static_cast<int32_t>(indivNewNo.size()) - 1;
        const int32_t nF = static_cast<int32_t>(familNewNo.size()) - 1;

        std::vector<IndivRec> indiv;
        indiv.reserve(g.Indiv.size());
        indiv.emplace_back();
        for (position = 1; position <= nI; ++position) {
            IndivRec& r = indiv.emplace_back(g.Indiv[indivNewNo[position]]);
            r.iRIN = position;
            r.iXref = std::to_string(position);
            r.iFamc = NewNumber(familMap, r.iFamc);
        }
        indiv.resize(g.Indiv.size());

        std::vector<FamilRec> famil;
        famil.reserve(g.Famil.size());
        famil.emplace_back();
        for (int32_t k = 1; k <= nF; ++k) {
            FamilRec& r = famil.emplace_back(g.Famil[familNewNo[k]]);
            r.fRIN = k;
            r.fHusb = NewNumber(indivMap, r.fHusb);
            r.fWife = NewNumber(indivMap, r.fWife);
        }
        famil.resize(g.Famil.size());

        // Note lines follow their owners; lines of removed or missing owners
        // (and lines that never had one) are dropped.
        std::vector<NoteRec> notes;
        notes.reserve(g.Notes.size());
        notes.emplace_back();
        for (int32_t n = 1; n <= oldNotes; ++n) {
            const NoteRec& line = g.Notes[n];
            const char kind = line.nKind.first();
            const int32_t owner = kind == 'I'   ? NewNumber(indivMap, line.nOwner)
                                  : kind == 'F' ? NewNumber(familMap, line.nOwner)
                                                : 0;
            if (owner == 0) continue;
            NoteRec& r = notes.emplace_back(line);
            r.nOwner = owner;
            r.nXref = std::to_string(owner);
        }
        const int32_t nN = static_cast<int32_t>(notes.size()) - 1;
        notes.resize(g.Notes.size());

        // Everything is built: swap it in.
        g.Indiv.swap(indiv);
        g.Famil.swap(famil);
        g.Notes.swap(notes);
        g.IndivNewNo.swap(indivNewNo);
        g.FamilNewNo.swap(familNewNo);
        ++g.Renumberings;
        g.PrunedIndivs = static_cast<int16_t>(std::clamp<int32_t>(oldIndiv - nI, 0, INT16_MAX));
        g.PrunedFamils = static_cast<int16_t>(std::clamp<int32_t>(oldFamil - nF, 0, INT16_MAX));
        g.IndivCount = nI;
        g.FamilCount = nF;
        g.NotesCount = nN;
        g.LastNote = nN;

        for (int32_t* number : {&g.CurIndiv, &g.LastIndiv, &g.PageMainIndiv, &g.PruneIndiv})
            *number = NewNumber(indivMap, *number);
        for (int32_t& slot : g.TreeSlot) slot = NewNumber(indivMap, slot);
        for (int32_t* number : {&g.CurFamil, &g.LastFamil}) *number = NewNumber(familMap, *number);

        PageScratchRec& ps = g.PageScratch;
        RemapReference(indivMap, ps.pgRIN, ps.pgName);
        RemapReference(indivMap, ps.SpouseFather.RIN, ps.SpouseFather.Name);
        RemapReference(indivMap, ps.SpouseMother.RIN, ps.SpouseMother.Name);
        for (PageParentSet& set : ps.PageParentSets) {
            RemapReference(indivMap, set.psFatherRIN, set.psFatherName);
            RemapReference(indivMap, set.psMotherRIN, set.psMotherName);
        }
        for (PageSpouse& sp : ps.PageSpouses) RemapReference(indivMap, sp.spRIN, sp.spName);
        for (PageChild& ch : ps.PageChildren) RemapReference(indivMap, ch.chRIN, ch.chName);
    } catch (const std::exception&) {
        ShowProblem("Problem Renumbering Tables: " + std::to_string(position));
    }
}

}  // namespace lintora
