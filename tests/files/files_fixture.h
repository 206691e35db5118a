#pragma once
// Shared set-up of the file tests: a scratch folder per test that also holds
// the settings ($XDG_CONFIG_HOME), the per-user data ($XDG_DATA_HOME) and
// state ($XDG_STATE_HOME, where copies of earlier contents may be kept),
// and a window port that records what the file code shows.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "record_store/program_state.h"
#include "platform/window_ports.h"
#include "tests/support/scripted_platform.h"

namespace lintora::testing {

class RecordingFileWindows : public MainWindowPort {
public:
    std::vector<std::string> statusLabels;
    std::vector<std::string> captions, fileNotes;
    int preferencesHidden = 0;
    void SetFileNote(const std::string& s) override { fileNotes.push_back(s); }
    void SetStatusLabel(const std::string& s) override { statusLabels.push_back(s); }
    void SetMainCaption(const std::string& s) override { captions.push_back(s); }
    void HidePreferences() override { ++preferencesHidden; }
};

class FilesTest : public CleanState {
protected:
    std::filesystem::path dir;
    RecordingFileWindows windows;

    void SetUp() override {
        CleanState::SetUp();
        std::random_device rd;
        dir = std::filesystem::temp_directory_path() /
              ("lintora-files-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir / "config");
        std::filesystem::create_directories(dir / "app");
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        g.AppPath = (dir / "app").string();
        InstallWindowFakes(&windows);
    }
    // Empty work again, the program's folder still this test's own.
    void ResetWork() {
        ResetProgramState();
        g.AppPath = (dir / "app").string();
    }
    void TearDown() override {
        RemoveWindowFakes();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        CleanState::TearDown();
    }

    static std::string Read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void Write(const std::filesystem::path& p, const std::string& s) {
        std::ofstream out(p, std::ios::binary);
        out << s;
    }
    // The records of saves kept in the state folder, whatever folder of it holds them.
    static std::vector<std::string> SaveRecordFiles(const std::filesystem::path& state) {
        std::vector<std::string> names;
        if (std::filesystem::exists(state))
            for (const auto& entry : std::filesystem::recursive_directory_iterator(state))
                if (entry.path().filename().string().starts_with(".save.")) names.push_back(entry.path().string());
        return names;
    }
    // Names of the files in a folder.
    static std::vector<std::string> Listing(const std::filesystem::path& d) {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(d)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Fills individual i with a name, sex and source, stamped as the reader
// stamps a record it creates under the scripted clock.
inline void Person(int32_t i, const char* givn, const char* surn, const char* sex, int16_t source) {
    IndivRec& r = g.Indiv[i];
    r.iRIN = i;
    r.iGivn = givn;
    r.iSurn = surn;
    r.iName = std::string(givn) + " " + surn;
    r.iSex = sex;
    r.iSource = source;
    r.iNoteFlg = "N";
    r.iChanDate = "6 Jan 2006";
    r.iChanTime = "14:5:9";
}

// The work as a person sees it, field by field: every record but the
// file's own pointers (a save numbers the records anew), each owner's note
// lines in their order, the sources and repositories.
struct SeenWork {
    std::vector<IndivRec> indiv;
    std::vector<FamilRec> famil;
    std::map<std::pair<std::string, int32_t>, std::vector<std::string>> notes;
    std::vector<SourceRec> sources;
    std::vector<ReposRec> repositories;

    static SeenWork Now() {
        SeenWork w{{g.Indiv.begin() + 1, g.Indiv.begin() + g.IndivCount + 1},
                   {g.Famil.begin() + 1, g.Famil.begin() + g.FamilCount + 1},
                   {},
                   {},
                   {}};
        for (IndivRec& r : w.indiv) {
            r.iXref = r.iFamcXref = "";
            r.iSourXref = "";
            r.iNoteXref = "";
        }
        for (FamilRec& r : w.famil) {
            r.fXref = r.fHusbXref = r.fWifeXref = "";
            r.fSourXref = "";
            r.fNoteXref = "";
        }
        w.sources.assign(g.Source.begin() + 1, g.Source.begin() + g.SourceCount + 1);
        for (SourceRec& r : w.sources) {
            r.sXref = r.sReposXref = "";
            r.sAbbr = "";  // no file carries it
        }
        w.repositories.assign(g.Repository.begin() + 1, g.Repository.begin() + g.RepositoryCount + 1);
        for (ReposRec& r : w.repositories) r.rXref = "";
        for (int32_t n = 1; n <= g.NotesCount; ++n) {
            const NoteRec& r = g.Notes[n];
            w.notes[{r.nKind.value(), r.nOwner}].push_back(r.nTag.value() + "|" + r.nText.value() + "|" +
                                                          std::to_string(r.nLen));
        }
        return w;
    }
    bool operator==(const SeenWork&) const = default;
};

template <std::size_t N>
std::string Shown(const FixedText<N>& f) { return "\"" + f.value() + "\""; }
inline std::string Shown(int32_t n) { return std::to_string(n); }

// The fields in which two records differ, with both values.
#define LINTORA_DIFF(field) \
    if (!(a.field == b.field)) out += std::string(" " #field ": ") + Shown(a.field) + " against " + Shown(b.field);
inline std::string Differences(const IndivRec& a, const IndivRec& b) {
    std::string out;
    LINTORA_DIFF(iRIN) LINTORA_DIFF(iXref) LINTORA_DIFF(iAFN) LINTORA_DIFF(iCDno) LINTORA_DIFF(iPIDno)
    LINTORA_DIFF(iGenID) LINTORA_DIFF(iName) LINTORA_DIFF(iSurn) LINTORA_DIFF(iGivn) LINTORA_DIFF(iTitle)
    LINTORA_DIFF(iNick) LINTORA_DIFF(iPrefix) LINTORA_DIFF(iSuffix) LINTORA_DIFF(iNameKey) LINTORA_DIFF(iExt)
    LINTORA_DIFF(iSex) LINTORA_DIFF(ibDate) LINTORA_DIFF(ibPlace) LINTORA_DIFF(icDate) LINTORA_DIFF(icPlace)
    LINTORA_DIFF(idDate) LINTORA_DIFF(idPlace) LINTORA_DIFF(iblDate) LINTORA_DIFF(iblPlace) LINTORA_DIFF(iFamc)
    LINTORA_DIFF(iFamsCount) LINTORA_DIFF(iSubmNo) LINTORA_DIFF(iSource) LINTORA_DIFF(iNoteFlg)
    LINTORA_DIFF(iTree) LINTORA_DIFF(iGen) LINTORA_DIFF(iChanDate) LINTORA_DIFF(iChanTime)
    return out.empty() ? " (a field not listed)" : out;
}
inline std::string Differences(const FamilRec& a, const FamilRec& b) {
    std::string out;
    LINTORA_DIFF(fRIN) LINTORA_DIFF(fHusb) LINTORA_DIFF(fWife) LINTORA_DIFF(fmDate) LINTORA_DIFF(fmPlace)
    LINTORA_DIFF(fChilCount) LINTORA_DIFF(fNoteFlg) LINTORA_DIFF(fSource) LINTORA_DIFF(fTree) LINTORA_DIFF(fGen)
    return out.empty() ? " (a field not listed)" : out;
}
#undef LINTORA_DIFF

// Says which records differ, and in what.
inline void ExpectSameWork(const SeenWork& a, const SeenWork& b) {
    ASSERT_EQ(a.indiv.size(), b.indiv.size());
    ASSERT_EQ(a.famil.size(), b.famil.size());
    for (std::size_t i = 0; i < a.indiv.size(); ++i)
        EXPECT_TRUE(a.indiv[i] == b.indiv[i]) << "individual " << i + 1 << Differences(a.indiv[i], b.indiv[i]);
    for (std::size_t f = 0; f < a.famil.size(); ++f)
        EXPECT_TRUE(a.famil[f] == b.famil[f]) << "family " << f + 1 << Differences(a.famil[f], b.famil[f]);
    EXPECT_EQ(a.notes, b.notes);
    ASSERT_EQ(a.sources.size(), b.sources.size());
    for (std::size_t k = 0; k < a.sources.size(); ++k)
        EXPECT_TRUE(a.sources[k] == b.sources[k])
            << "source " << k + 1 << ": " << a.sources[k].sTitle.value() << "|" << a.sources[k].sAbbr.value() << "|"
            << a.sources[k].sFlag.value() << "|" << a.sources[k].sCitations << "|" << a.sources[k].sRepos << "|"
            << a.sources[k].sRIN << " against " << b.sources[k].sTitle.value() << "|" << b.sources[k].sAbbr.value()
            << "|" << b.sources[k].sFlag.value() << "|" << b.sources[k].sCitations << "|" << b.sources[k].sRepos
            << "|" << b.sources[k].sRIN;
    ASSERT_EQ(a.repositories.size(), b.repositories.size());
    for (std::size_t k = 0; k < a.repositories.size(); ++k)
        EXPECT_TRUE(a.repositories[k] == b.repositories[k])
            << "repository " << k + 1 << ": " << a.repositories[k].rName.value() << " cited "
            << a.repositories[k].rCitations << " against " << b.repositories[k].rName.value() << " cited "
            << b.repositories[k].rCitations;
}

// The shared GEDCOM test files stand beside the project, not in it: a clone
// of the project alone skips the tests that read them, saying why.
inline std::filesystem::path SharedGedcomDir() { return std::filesystem::path(LINTORA_TESTDATA_DIR) / "gedcom"; }
inline bool HaveSharedGedcom() { return std::filesystem::is_directory(SharedGedcomDir()); }
inline std::string NoSharedGedcom() {
    return "needs the shared GEDCOM test files, which are not at " + SharedGedcomDir().string();
}

// The source folder of the project, as the build names it: this file's own
// name may be relative to the build folder, which a test need not run in.
inline std::filesystem::path ProjectDir() { return LINTORA_SOURCE_DIR; }

}  // namespace lintora::testing
