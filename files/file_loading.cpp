#include "files/file_loading.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "files/cut_short_files.h"
#include "files/data_files.h"
#include "files/decoding.h"
#include "files/file_end.h"
#include "files/file_open.h"
#include "files/file_saving.h"
#include "files/fresh_tables.h"
#include "files/gedcom_reader.h"
#include "files/save_words.h"
#include "files/load_messages.h"
#include "files/unfinished_save.h"
#include "platform/disk/file_reading.h"
#include "platform/disk/load_contents.h"
#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/program_state.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace {

// Files longer than this show the progress window.
constexpr std::uint64_t kProgressFrom = 50000;
// Lines read between two progress updates.
constexpr int32_t kProgressEvery = 2000;

// The busy pointer while a load runs, however it ends; a box shown
// meanwhile gets the normal pointer from the port.
struct BusyWhileLoading {
    BusyWhileLoading() { Port().SetBusy(true); }
    ~BusyWhileLoading() { Port().SetBusy(false); }
    BusyWhileLoading(const BusyWhileLoading&) = delete;
    BusyWhileLoading& operator=(const BusyWhileLoading&) = delete;
};

// Why the file was not read, in the user's words, from what the one walk
// and open found: no such file, a folder not there, a link to nothing, a
// folder the user may not open.
void TellNotRead(const std::string& path, const std::string& name, const LoadResult& loaded) {
    if (loaded.stop == LoadStop::Open || loaded.stop == LoadStop::Unreachable) return TellUnreadable(path, true);
    if (loaded.stop == LoadStop::Read) return TellUnreadable(path, false);
    if (loaded.stop == LoadStop::Locked)
        return TellCannotOpen(name, WhyNotRead(loaded) + ". Close that program, or wait until it lets the file go, "
                                                         "then open it again.");
    // A folder, a pipe or a device, a link put in the file's place.
    TellCannotOpen(name, WhyNotRead(loaded));
}

// Zeros too: a file a save cleared before it wrote, or padded, holds no text.
bool Blank(const std::string& bytes) {
    return bytes.find_first_not_of(std::string_view(" \t\r\n\0", 5)) == std::string::npos;
}

// Every line into the fresh tables, the progress shown for a long file.
void ReadLines(GedReader& reader, const std::vector<std::string_view>& lines, bool progress, std::uint64_t length) {
    BeginGedRead(reader);
    // Room for every person's pointer at once (a hint: the index never
    // grows through its rehashes while the file is read).
    reader.GedRead.xrefIndex.reserve(static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [](std::string_view l) { return l.starts_with("0 @") && l.ends_with(" INDI"); })));
    std::uint64_t chars = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        ParseGedRec(lines[k], static_cast<int32_t>(std::min<std::size_t>(k + 1, INT32_MAX)));
        chars += lines[k].size();
        if (progress && k % kProgressEvery == 0) SetProgress(chars, length);
    }
    if (progress) SetProgress(length, length);
}

// The work now is the file's: remember it and show it.
void ShowLoadedWork(const std::string& path) {
    SetFileNameParts(path);
    g.FilePath = path;
    MainWindow().SetMainCaption("Lintora (" + g.FileName + ")");
    g.LastWorkFile = path;
    SaveStartupSettings(
        {{"InitDirWRK", g.FileDir}, {"datFilename", g.FileName}, {"datPos", std::to_string(g.TreeSlot[0])}});
    g.datFilename = TrimBlanks(g.FileName);
    g.InitDirWRK = TrimBlanks(g.FileDir);
    MarkWorkSaved();
    SearchWindow().ClearSiteLists();
    MainWindow().BuildTree();
    MainWindow().UpdateStatusBar();
    MainWindow().EnableDataCommands();
    MainWindow().SetToolButtonEnabled(kUndoToolButton, false);
}

}  // namespace

bool LoadFile(const std::string& path, SystemCalls& sys, bool atStart) {
    FreshTables fresh;
    bool progress = false;
    // The reader's working state belongs to this load alone.
    GedReader reader;
    struct ReadEnds {
        ~ReadEnds() { EndGedRead(); }
    } readEnds;
    // The way to the file and its stopped saves, for what is told should the load fail on the way.
    FoundFile found;
    std::optional<UnfinishedSave> unfinished;
    try {
        MainWindow().HideParentPickList();
        const BusyWhileLoading busy;
        const std::string name = std::filesystem::path(path).filename().string();
        if (path.empty()) return false;
        if (RefusedName(path)) {  // a name no save would give a file
            TellRefusedName();
            return false;
        }
        // The path is walked once; what it led to is what is judged and read.
        if (const SaveResult way = FindFile(sys, path, found); !way.saved()) {
            TellNotRead(path, name, NotReached(way, found, path));
            return false;
        }
        // The file's lock, not a record, tells a save in place that runs (or
        // another program that holds the file): tried before any record is
        // judged, asked of or removed.
        pid_t holder = 0;
        const SaveHold hold = SaveInPlaceHolds(sys, found, &holder);
        if (hold == SaveHold::InPlace) {
            TellSaveRunning(name);
            return false;
        }
        if (hold == SaveHold::Locked) {
            TellNotRead(path, name, {.stop = LoadStop::Locked, .holder = holder});
            return false;
        }
        unfinished.emplace(sys, found, hold == SaveHold::None, atStart);
        if (unfinished->Running()) {
            unfinished->TellRunning();
            return false;
        }
        if (!unfinished->OpenWhileSavedElsewhere()) return false;
        unfinished->Settle(g.FilePath);
        unfinished->AskAboutStoppedSaves();
        LoadResult loaded = LoadContents(sys, found, LoadFor::Opening);
        if (loaded.read() && Blank(loaded.contents)) {
            unfinished->TellBlank(loaded.contents.find('\0') != std::string::npos);
            return false;
        }
        if (!loaded.read()) {
            if (loaded.stop == LoadStop::SaveRunning) unfinished->TellRunning();
            else TellNotRead(path, name, loaded);
            unfinished->TellNotLoaded();
            return false;
        }
        std::string& bytes = loaded.contents;
        const std::uint64_t length = bytes.size();
        progress = length > kProgressFrom;
        ProgressStage(progress, length, "Reading " + name + " (" + std::to_string(length) + ")");
        DecodedLines decoded;
        FileLines(std::move(bytes), decoded);
        const FileEnd& end = decoded.end;

        // Fresh tables; the work goes back when the file gives nothing.
        fresh.SwapIn();
        ReadLines(reader, decoded.lines, progress, length);
        if (g.IndivCount == 0) {
            fresh.GiveBack();
            if (!unfinished->TellStopped(!end.cutShort)) TellNoRecords();
            unfinished->TellNotLoaded();
            ResetProgress();
            return false;
        }
        fresh.Keep(progress, name == TrimBlanks(g.datFilename), FirstPageOf(end));
        ShowLoadedWork(path);
        unfinished->NoteKeptCopies();
        ResetProgress();
        if (!decoded.unknownCharSet.empty()) TellUnknownCharSet(decoded.unknownCharSet);
        if (end.cutShort) RememberCutShort(loaded.stamp);
        if (!unfinished->TellStopped(!end.cutShort) && end.cutShort) TellCutShort(name);
        if (end.recordsAfter) TellRecordsAfter(name);
        TellSkipsAndBadLines(reader);
        return true;
    } catch (const std::exception& e) {
        fresh.GiveBack();
        TellNotRecognizable(path, e);
        if (unfinished) unfinished->TellNotLoaded();
        ResetProgress();
        return false;
    }
}

}  // namespace lintora
