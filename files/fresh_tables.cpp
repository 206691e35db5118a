#include "files/fresh_tables.h"

#include <exception>
#include <utility>

#include "files/completing_tables.h"
#include "files/data_files.h"
#include "files/load_messages.h"
#include "platform/window_ports.h"
#include "record_store/clear.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"

namespace lintora {

namespace {

// The old work while a load fills fresh tables; emptied once the load is in.
WorkTables& Spare() {
    static WorkTables spare;
    return spare;
}

WorkTables& Tables() { return g; }

// The work is the file's from here: what named the old work is reset, the
// surname case and trees follow the new tables.
void CommitLoad(bool progress, bool rememberedFile, const std::string& firstSite,
                const std::string& firstType) {
    // The records read are work to save: LastIndiv stays on the last one.
    const int32_t lastRead = g.LastIndiv;
    ClearWorkState();
    g.LastIndiv = lastRead;
    g.FirstSite = firstSite;
    g.FirstType = firstType;
    g.MixedSources = firstSite == "Mixed-Source" ? "Y" : "N";
    const std::string surname = g.Indiv[1].iSurn.trimmed();
    g.SurnameCase = surname == UpperCase(surname) ? "U" : "P";
    if (progress) Progress().SetLabel("Building tree...");
    ShowProgress(progress, 85);
    LoadGenTree();
    ClearWorkWindows();
    g.TreeSlot.fill(0);
    const int32_t pos = g.datPos;
    // The remembered root belongs to the remembered file only.
    const bool live = rememberedFile && pos > 0 && pos <= g.IndivCount && g.Indiv[pos].iTree != kRemovedTree;
    g.TreeSlot[0] = live ? pos : 1;
    g.datPos = 0;
    ShowProgress(progress, 100);
}

}  // namespace

FreshTables::FreshTables()
    : lastIndiv_(g.LastIndiv), lastFamil_(g.LastFamil), pasteSource_(g.PasteSource), surnameCase_(g.SurnameCase) {}

void FreshTables::SwapIn() {
    std::swap(Tables(), Spare());
    swapped_ = true;
    g.Empty();
    g.SurnameCase = " ";
    g.PasteSource = 0;  // loaded records cite what the file says, not the last paste
    LoadDatFile("Limited");
}

void FreshTables::GiveBack() noexcept {
    if (kept_) return;
    if (swapped_) {
        std::swap(Tables(), Spare());
        swapped_ = false;
        g.LastIndiv = lastIndiv_;
        g.LastFamil = lastFamil_;
        g.SurnameCase = surnameCase_;
        try {
            if (committed_) LoadGenTree();
        } catch (const std::exception&) {
        }
    }
    g.PasteSource = pasteSource_;
}

void FreshTables::Keep(bool progress, bool rememberedFile, const FirstPage& page) {
    CompleteTables(progress);
    committed_ = true;
    CommitLoad(progress, rememberedFile, page.site, page.type);
    swapped_ = false;
    Spare().Empty();
    g.PasteSource = pasteSource_;
    kept_ = true;
}

}  // namespace lintora
