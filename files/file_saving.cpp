#include "files/file_saving.h"

#include <exception>
#include <filesystem>

#include "files/charset.h"
#include "files/data_files.h"
#include "files/file_loading.h"
#include "files/file_open.h"
#include "files/gedcom_writer.h"
#include "platform/platform.h"
#include "platform/disk/save_contents.h"
#include "platform/window_ports.h"
#include "record_store/program_state.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr int kProgressAbove = 400;

// The end of every save that did not write the file.
void NotSaved() {
    Port().SetBusy(false);
    MainWindow().SetStatusLabel("File not saved...");
    MainWindow().HidePreferences();
}

// Asks for the file name; "" when the dialog was cancelled.
std::string AskFileName(bool ged) {
    std::string base = TrimBlanks(g.FileName);
    if (auto dot = base.find('.'); dot != std::string::npos) base.resize(dot);
    FileDialogRequest req;
    req.title = ged ? "Save As GED" : "Save As Workfile";
    // The program's own file type comes first, so that the dialog starts on it.
    req.filter = ged ? "GED Files (*.ged);;All Files (*.*);;Text Files (*.txt)"
                     : "Work Files (*.lnt *.LNT);;All Files (*.*);;Text Files (*.txt)";
    req.initialDir = TrimBlanks(ged ? g.InitDirGED : g.InitDirWRK);
    if (!TrimBlanks(base).empty()) req.fileName = (fs::path(req.initialDir) / base).string();
    std::string path = Port().SaveFileDialog(req);
    if (path.empty()) return path;
    // Only the name itself decides whether an extension is missing; a dot
    // in a folder name does not count.
    if (fs::path(path).filename().string().find('.') == std::string::npos) path += ged ? ".ged" : ".lnt";
    return path;
}

// A GEDCOM file in UTF-8 says so in its save message: other programs may
// expect ANSEL.
std::string Utf8Reason(const NotInAnsel& why) {
    if (why.letter.empty()) return {};
    if (why.tooLong)
        return "\n\nIt is written in UTF-8 (GEDCOM 5.5.1) instead of ANSEL, in which the spelling of a text with " +
               NamedSign(why.letter) + " in " + why.where + " would not fit its field.";
    return "\n\nIt is written in UTF-8 (GEDCOM 5.5.1) instead of ANSEL, which cannot hold letters such as " +
           NamedSign(why.letter) + " in " + why.where + ".";
}

std::string CutShortQuestion(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return name + " ends before its last line (0 TRLR) and may be incomplete. Saving over it would lose for good " +
           "whatever is missing from it.\n\nSave over " + name + " all the same?";
}

}  // namespace

void SetFileNameParts(const std::string& path) {
    fs::path p(path);
    g.FileName = p.filename().string();
    g.FileDir = p.parent_path().string();
}

bool SaveFile(const std::string& given, const std::string& kind) {
    const bool ged = kind == "GED";
    try {
        const std::string path = given.empty() ? AskFileName(ged) : given;
        if (path.empty()) {
            NotSaved();
            return false;
        }
        if (RefusedName(path)) {
            // One box: the failed save, with the reason.
            ShowProblem("Error occurred while trying to save file, please retry.\n"
                        "That filename is illegal: a file name may not hold any of ; < = > ? [ ] *");
            NotSaved();
            return false;
        }
        // Over a file found cut short the question says what would be lost.
        const FileStamp before = StampOfFile(path);
        const bool cutShort = IsCutShort(before);
        const std::string question = cutShort ? CutShortQuestion(path) : "Overwrite existing file?";
        std::error_code ec;
        if (fs::exists(path, ec) && !AskYesNo(question, cutShort ? MsgIcon::Exclamation : MsgIcon::Question))
            return false;

        const bool progress = g.IndivCount > kProgressAbove;
        Port().SetBusy(true);
        NotInAnsel why;
        std::vector<std::string> lines =
            BuildFileLines(ged ? FileKind::Gedcom : FileKind::Work, path, progress, &why);
        if (progress) {
            Progress().SetLabel("Saving to disk...");
            Progress().Start(100);
            Progress().Set(100);
        }
        const SaveResult saved = SaveContents(path, FileContents(ged ? FileKind::Gedcom : FileKind::Work, lines));
        if (progress) Progress().End();
        if (!saved.saved()) {
            Port().SetBusy(false);
            ShowProblem("Error occurred while trying to save file, please retry.\n" + NotSavedText(path, saved));
            NotSaved();
            return false;
        }

        // The file is in place: only now do the state and the settings name it.
        if (cutShort) ForgetCutShort(before);
        g.FilePath = path;
        SetFileNameParts(path);
        std::string dir = TrimBlanks(g.FileDir);
        if (ged) {
            SaveStartupSettings({{"InitDirGED", dir}, {"datFilename", " "}, {"datPos", "0"}});
            g.datFilename = " ";
            g.LastWorkFile.clear();
            g.InitDirGED = dir;
        } else {
            SaveStartupSettings({{"InitDirWRK", dir},
                                 {"datFilename", TrimBlanks(g.FileName)},
                                 {"datPos", std::to_string(g.TreeSlot[0])}});
            g.datFilename = TrimBlanks(g.FileName);
            g.LastWorkFile = path;
            g.InitDirWRK = dir;
            MainWindow().SetMainCaption("Lintora (" + g.FileName + ")");
        }
        MarkWorkSaved();
        Port().SetBusy(false);
        ShowInfo(path + " successfully saved" + Utf8Reason(why));
        MainWindow().SetStatusLabel(path + " saved");
        MainWindow().HidePreferences();
        return true;
    } catch (const std::exception& e) {
        Port().SetBusy(false);
        ShowProblem(std::string("Error occurred while trying to save file, please retry.\n") + e.what());
        NotSaved();
        return false;
    }
}

}  // namespace lintora
