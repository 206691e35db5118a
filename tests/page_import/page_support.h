#pragma once
// Shared by the page import tests: the sample pages and a window port that
// records what the core asked of the windows.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "page_import/paste.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "platform/window_ports.h"
#include "tests/support/scripted_platform.h"

namespace lintora::testing {

inline std::string ReadPage(const std::string& name) {
    std::filesystem::path p = std::filesystem::path(LINTORA_SOURCE_DIR) / "tests" / "page_import" / "pages" / name;
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The same text with CR LF line ends, as a Windows clipboard gives it.
inline std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Tables with room for three more people and one more family; the fillers
// are named apart from the sample pages' people, so they are never candidates.
inline void FillTablesAllButThree() {
    g.IndivCount = kMaxIndiv - 3;
    for (int32_t i = 1; i <= g.IndivCount; ++i) {
        g.Indiv[i].iRIN = i;
        g.Indiv[i].iName = "Filler ELLIS";
        g.Indiv[i].iGivn = "Filler";
        g.Indiv[i].iSurn = "ELLIS";
    }
    g.FamilCount = kMaxFamil - 1;
    for (int32_t f = 1; f <= g.FamilCount; ++f) g.Famil[f].fRIN = f;
    BuildNameIndex();
    LoadGenTree();
}

// Pastes a page that names no page person: nothing is filed, and the user
// is told that no data was found.
inline void ExpectPasteFilesNothing(const std::string& page, ScriptedPlatform& ui) {
    ui.Answer(MsgResult::Ok);
    ProcessClipboard(page);
    EXPECT_EQ(g.IndivCount, 0);
    EXPECT_EQ(g.FamilCount, 0);
    EXPECT_EQ(g.NotesCount, 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              "Lintora unable to extract any data from copied text. Try again using Select All, then Copy...");
}

// The person's note lines as "tag|text".
inline std::vector<std::string> NoteLines(int32_t owner) {
    std::vector<std::string> out;
    for (int32_t n = 1; n <= g.NotesCount; ++n)
        if (g.Notes[n].nOwner == owner && g.Notes[n].nKind.trimmed() == "I")
            out.push_back(g.Notes[n].nTag.value() + "|" + g.Notes[n].nText.value());
    return out;
}

class RecordingWindows : public MainWindowPort {
public:
    std::string label;
    std::vector<std::string> labels;
    int hidePickList = 0;
    int loadPickList = 0;
    int statusBarUpdates = 0;
    std::vector<std::pair<int, std::string>> tips;

    void SetStatusLabel(const std::string& s) override {
        label = s;
        labels.push_back(s);
    }
    std::string StatusLabel() const override { return label; }
    void UpdateStatusBar() override { ++statusBarUpdates; }
    // The pedigree is re-centred on the person, as the display does for a
    // person outside the generations shown.
    void FindTreePointer(int32_t indiv) override { g.TreeSlot[0] = indiv; }
    void SetToolButtonTip(int index, const std::string& tip) override { tips.emplace_back(index, tip); }
    void LoadParentPickList() override { ++loadPickList; }
    void HideParentPickList() override { ++hidePickList; }
};

}  // namespace lintora::testing
