#include "files/data_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "files/charset.h"
#include "files/file_saving.h"
#include "files/save_words.h"
#include "files/text_lines.h"
#include "lintora_version.h"
#include "platform/disk/file_reading.h"
#include "platform/platform.h"
#include "platform/disk/save_contents.h"
#include "platform/disk/scratch_file.h"
#include "platform/settings_store.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUserFileName = "LINTORA.USR";
constexpr int32_t kFewestSources = 7;

std::string MissingDataText(const std::string& path) {
    return "Problem processing " + path + " - missing data \nTo restore the missing data, exit program and restart.";
}

// A whole number as the data file writes it ("07" reads 7); throws otherwise.
long WholeNumber(const std::string& field, long lo, long hi) {
    std::string t = TrimBlanks(field);
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i == t.size() || t.size() > 12) throw std::runtime_error("not a whole number: " + field);
    for (std::size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9') throw std::runtime_error("not a whole number: " + field);
    long v = std::strtol(t.c_str(), nullptr, 10);
    if (v < lo || v > hi) throw std::runtime_error("number out of range: " + field);
    return v;
}

void Need(const std::vector<std::string>& f, std::size_t n) {
    if (f.size() < n) throw std::runtime_error("a row has too few fields");
}

void ReadRepository(const std::vector<std::string>& f, const char* flag) {
    Need(f, 7);
    int32_t k = AddRepository();
    if (k == 0) throw std::runtime_error("the repository table is full");
    g.RepositoryUB = static_cast<int16_t>(g.RepositoryCount);
    ReposRec& r = g.Repository[k];
    r.rXref = TrimBlanks(f[6]);
    r.rName = f[2];
    r.rAddr = f[3];
    r.rCont = f[4];
    r.rFlag = flag;
}

void ReadSource(const std::vector<std::string>& f, const char* flag) {
    Need(f, 9);
    int32_t k = AddSource();
    if (k == 0) throw std::runtime_error("the source table is full");
    g.SourceUB = static_cast<int16_t>(g.SourceCount);
    SourceRec& s = g.Source[k];
    s.sRIN = static_cast<int16_t>(k);
    s.sSite = f[2];
    s.sKind = f[3];
    s.sTitle = f[4];
    s.sAbbr = f[5];
    s.sAuthor = f[6];
    s.sPublish = f[7];
    s.sReposXref = TrimBlanks(f[8]);
    s.sFlag = flag;
}

void ReadLink(const std::vector<std::string>& f) {
    Need(f, 6);
    long site = WholeNumber(f[2], 0, 32767);
    if (g.LinkCount >= kMaxLinks) throw std::runtime_error("more than 50 search pages");
    LinkRec& l = g.Links[++g.LinkCount];
    l = LinkRec{};
    l.lSiteNo = std::to_string(site);
    l.lSiteName = f[3];
    l.lPageName = f[4];
    l.lUrl = f[5];
}

void ReadRegion(const std::vector<std::string>& f) {
    Need(f, 8);
    long index = WholeNumber(f[7], -32768, 32767);
    if (g.RegionCount >= kMaxRegions) throw std::runtime_error("more than 1300 regions");
    RegionRec& r = g.Regions[++g.RegionCount];
    r = RegionRec{};
    r.rgTag = f[1];
    r.rgName = f[2];
    r.rgAux = f[3];
    r.rgParent = f[4];
    r.rgCode = f[5];
    r.rgText = f[6];
    r.rgIndex = static_cast<int16_t>(index);
}

bool EndsWith(const std::string& s, const char* tail) {
    std::string_view t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// Takes the rows of one data file, as found at path; on a fault (a file
// that is there but cannot be read included) reports it and returns false
// (the rows taken before it stay).
bool ReadDataFile(const std::string& path, const LoadResult& found, bool userFile, bool all) {
    try {
        if (!found.read()) throw std::runtime_error("cannot read the file");
        std::vector<std::string> lines = SplitFileLines(found.contents);
        if (lines.empty() && !userFile) throw std::runtime_error("the file is empty");
        for (const auto& raw : lines) {
            std::vector<std::string> f = SplitFields(ToUtf8(raw), "!");
            if (userFile) {
                if (f.size() < 5) continue;
                if (f[1] == "REPOS") ReadRepository(f, "U");
                else if (f[1] == "SOURCE") ReadSource(f, "U");
                continue;
            }
            Need(f, 2);
            const std::string& type = f[1];
            if (type == "REPOS") ReadRepository(f, "I");
            else if (type == "SOURCE") ReadSource(f, "I");
            else if (all && type == "LINKS") ReadLink(f);
            else if (all && (EndsWith(type, "R1") || EndsWith(type, "R2") || EndsWith(type, "R3"))) ReadRegion(f);
        }
        return true;
    } catch (const std::exception&) {
        ShowProblem(MissingDataText(path));
        return false;
    }
}

// Each source finds its repository by the repository's reference text.
void LinkSourceRepositories() {
    for (int32_t s = 1; s <= g.SourceCount; ++s) {
        SourceRec& src = g.Source[s];
        std::string ref = TrimBlanks(src.sReposXref);
        if (ref.empty()) continue;
        src.sRepos = 0;
        for (int32_t r = 1; r <= g.RepositoryCount; ++r) {
            if (TrimBlanks(g.Repository[r].rXref) == ref) {
                src.sRepos = static_cast<int16_t>(r);
                break;
            }
        }
    }
}

bool IsUserRecord(const FixedText<1>& flag) { return flag.value() == "U" || flag.value() == "P"; }

// The reference text a repository is known by in the user data file: the
// site data file's own text for a standard repository, else "U" + its index.
std::string RepositoryRef(int32_t r) {
    const ReposRec& rep = g.Repository[r];
    if (!IsUserRecord(rep.rFlag) && !TrimBlanks(rep.rXref).empty()) return TrimBlanks(rep.rXref);
    std::string ref(1, 'U');
    ref += std::to_string(r);
    return ref;
}

// A field of the user data file: trimmed, on one line, without the "!"
// that separates fields.
std::string Field(const std::string& s) {
    std::string out = TrimBlanks(s);
    for (auto& c : out) {
        if (c == '!') c = '|';
        else if (c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

std::string UserFileContents() {
    std::string out;
    for (int32_t n = 1; n <= g.SourceCount; ++n) {
        const SourceRec& s = g.Source[n];
        if (!IsUserRecord(s.sFlag)) continue;
        std::string repo = (s.sRepos >= 1 && s.sRepos <= g.RepositoryCount) ? RepositoryRef(s.sRepos)
                                                                            : Field(s.sReposXref);
        out += std::to_string(n) + "!SOURCE!" + Field(s.sSite.value()) + "!" + Field(s.sKind.value()) + "!" +
               Field(s.sTitle.value()) + "!" + Field(s.sAbbr.value()) + "!" + Field(s.sAuthor.value()) + "!" +
               Field(s.sPublish.value()) + "!" + repo + "!U\r\n";
    }
    for (int32_t n = 1; n <= g.RepositoryCount; ++n) {
        const ReposRec& r = g.Repository[n];
        if (!IsUserRecord(r.rFlag)) continue;
        out += std::to_string(n) + "!REPOS!" + Field(r.rName.value()) + "!" + Field(r.rAddr.value()) + "!" +
               Field(r.rCont.value()) + "!!" + RepositoryRef(n) + "!!U!!!\r\n";
    }
    return out;
}

std::string XdgDataDir() { return (fs::path(UserBaseFolder("XDG_DATA_HOME", ".local/share")) / "Lintora").string(); }

// True when a file can be created in dir. A file is tried once for a
// folder and its permissions: the answer is asked for at every load.
bool FolderWritable(const std::string& dir) {
    if (dir.empty()) return false;
    std::error_code ec;
    const fs::file_status status = fs::status(dir, ec);
    if (ec || !fs::is_directory(status)) return false;
    static std::string triedDir;
    static fs::perms triedPerms = fs::perms::unknown;
    static bool writable = false;
    if (dir == triedDir && status.permissions() == triedPerms) return writable;
    writable = FolderTakesNewFiles(RealSystem(), dir);
    triedDir = dir;
    triedPerms = status.permissions();
    return writable;
}

// A data file as it was when it was read.
struct DataFileStamp {
    std::string path;
    FileStamp file;
    bool operator==(const DataFileStamp&) const = default;
};

DataFileStamp StampOf(const std::string& path) { return {path, StampOfFile(path)}; }

// The sources and repositories the data files gave when they were last read
// without a fault; a load takes them again while the files are unchanged.
struct DataFilesRead {
    bool valid = false;
    DataFileStamp site, user;
    std::vector<SourceRec> source;
    int32_t sourceCount = 0;
    int16_t sourceUB = 0;
    std::vector<ReposRec> repository;
    int32_t repositoryCount = 0;
    int16_t repositoryUB = 0;
};

DataFilesRead& LastRead() {
    static DataFilesRead last;
    return last;
}

}  // namespace

std::string GetStartupSetting(const std::string& key, const std::string& defaultValue) {
    return GetSetting(kSettingsApp, kSettingsSection, key, defaultValue);
}

namespace {

// Each problem of the settings file is told once a run, not at every save.
void TellSettingsProblem(const std::string& heading, const std::string& problem, const std::string& after = "") {
    auto& told = g.SettingsProblemsTold;
    if (problem.empty() || std::find(told.begin(), told.end(), problem) != told.end()) return;
    told.push_back(problem);
    ShowProblem(heading + problem + after);
}

}  // namespace

std::string SaveStartupSetting(const std::string& key, const std::string& value) {
    return SaveStartupSettings({{key, value}});
}

std::string SaveStartupSettings(const std::vector<std::pair<std::string, std::string>>& values) {
    std::string problem = SettingsProblemText(SaveSettings(kSettingsApp, kSettingsSection, values));
    TellSettingsProblem("Problem saving settings: ", problem);
    return problem;
}

bool StartupSettingsUnreadable() { return !SettingsReadProblem(kSettingsApp).none(); }

std::string SiteDataFilePath() {
    return (fs::path(g.AppPath) / ("Lintora" + std::to_string(kVersionMajor) +
                                   std::to_string(kVersionMinor) + ".dat"))
        .string();
}

std::string UserDataFilePath() {
    std::string dir = FolderWritable(g.AppPath) ? g.AppPath : XdgDataDir();
    return (fs::path(dir) / kUserFileName).string();
}

void LoadDatFile(const std::string& mode) {
    const bool all = mode == "All";
    g.Source.assign(1, SourceRec{});
    g.SourceCount = 0;
    g.SourceUB = 0;
    g.Repository.assign(1, ReposRec{});
    g.RepositoryCount = 0;
    g.RepositoryUB = 0;
    if (all) {
        g.Links.assign(kMaxLinks + 1, LinkRec{});
        g.LinkCount = 0;
        g.Regions.assign(kMaxRegions + 1, RegionRec{});
        g.RegionCount = 0;
    }
    const std::string sitePath = SiteDataFilePath();
    const DataFileStamp site = StampOf(sitePath);
    const std::string userPath = UserDataFilePath();
    const DataFileStamp user = StampOf(userPath);
    DataFilesRead& last = LastRead();
    // Only files read without a fault are taken again unread.
    if (!all && last.valid && last.site == site && last.user == user) {
        g.Source = last.source;
        g.SourceCount = last.sourceCount;
        g.SourceUB = last.sourceUB;
        g.Repository = last.repository;
        g.RepositoryCount = last.repositoryCount;
        g.RepositoryUB = last.repositoryUB;
        return;
    }
    last.valid = false;
    // A file that is there but cannot be read (a pipe, a link to nothing)
    // is no missing file: it is reported as a fault, at once.
    const LoadResult siteFound = ReadOrdinaryFile(sitePath);
    if (siteFound.absent()) {
        ShowProblem("Lintora data file is missing.\nTo restore the missing file, exit program and restart.");
        return;
    }
    if (!ReadDataFile(sitePath, siteFound, false, all)) {
        LinkSourceRepositories();
        return;
    }
    const LoadResult userFound = ReadOrdinaryFile(userPath);
    if (!userFound.absent()) {
        bool ok = ReadDataFile(userPath, userFound, true, false);
        if (ok && g.SourceCount < kFewestSources) {
            ShowProblem(MissingDataText(userPath));
            ok = false;
        }
        if (!ok) {
            LinkSourceRepositories();
            return;
        }
    }
    // Links are made at once, so that a source keeps its repository from
    // the start, not only after a file has been loaded.
    LinkSourceRepositories();
    last = {true, site, user, g.Source, g.SourceCount, g.SourceUB, g.Repository, g.RepositoryCount, g.RepositoryUB};
}

void SaveUserFile() {
    const std::pair<const char*, std::string*> prefs[] = {
        {"prefName", &g.prefName},       {"prefAddr1", &g.prefAddr1}, {"prefAddr2", &g.prefAddr2},
        {"prefAddr3", &g.prefAddr3},     {"prefAddr4", &g.prefAddr4}, {"prefAddr5", &g.prefAddr5},
        {"prefCountry", &g.prefCountry}, {"prefPhone", &g.prefPhone}, {"prefAFN", &g.prefAFN},
        {"prefEmail", &g.prefEmail},
    };
    std::string path = UserDataFilePath();
    // What the program writes is read again at the next load, whatever the
    // file's stamps say.
    LastRead().valid = false;
    // A settings store that cannot be written does not keep the user's
    // records from their file, nor the other way round.
    std::vector<std::pair<std::string, std::string>> values;
    for (const auto& [key, value] : prefs) values.emplace_back(key, TrimBlanks(*value));
    values.emplace_back("prefSourceSW", std::to_string(g.prefSourceSW));
    values.emplace_back("prefNotes", TrimBlanks(g.prefNotes));
    SaveStartupSettings(values);
    try {
        // The user's records in a file that cannot be read are not written over.
        if (const LoadResult held = ReadOrdinaryFile(path); !held.read() && !held.absent())
            throw std::runtime_error(path + " cannot be read: " + WhyNotRead(held) + "\nIt is left as it is.");
        fs::create_directories(fs::path(path).parent_path());
        if (const SaveResult saved = SaveContents(path, UserFileContents()); !saved.saved())
            throw std::runtime_error(NotSavedText(path, saved));
        // Marked as written only once they are on disk.
        for (int32_t n = 1; n <= g.SourceCount; ++n)
            if (IsUserRecord(g.Source[n].sFlag)) g.Source[n].sFlag = "U";
        for (int32_t n = 1; n <= g.RepositoryCount; ++n)
            if (IsUserRecord(g.Repository[n].rFlag)) g.Repository[n].rFlag = "U";
    } catch (const std::exception& e) {
        ShowProblem("Problem creating " + path + "\n" + e.what());
    }
}

namespace {

// Where a file dialog starts: the folder last used, else the user's home
// folder; never the program's own folder, which an installed program
// cannot write.
std::string DialogFolder(const std::string& remembered) {
    const std::string dir = TrimBlanks(remembered);
    std::error_code ec;
    if (!dir.empty() && fs::is_directory(dir, ec) &&
        !fs::equivalent(dir, g.AppPath.empty() ? std::string(".") : g.AppPath, ec))
        return dir;
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : dir;
}

}  // namespace

void ReadStartupSettings() {
    TellSettingsProblem("Problem reading settings: ", SettingsProblemText(SettingsReadProblem(kSettingsApp)),
                        "\nThe file is left as it is; the program starts without the settings it holds.");
    auto get = [](const char* key, const std::string& def) { return GetStartupSetting(key, def); };
    auto number = [](const std::string& text) -> int32_t {
        try {
            return static_cast<int32_t>(WholeNumber(text, -32768, 32767));
        } catch (const std::exception&) {
            return 0;
        }
    };
    g.InitDirGED = get("InitDirGED", " ");
    g.InitDirWRK = get("InitDirWRK", " ");
    g.CurDir = g.AppPath;
    SaveStartupSetting("CurDir", g.AppPath);
    g.prefName = get("prefName", " ");
    g.prefAddr1 = get("prefAddr1", " ");
    g.prefAddr2 = get("prefAddr2", " ");
    g.prefAddr3 = get("prefAddr3", " ");
    g.prefAddr4 = get("prefAddr4", " ");
    g.prefAddr5 = get("prefAddr5", " ");
    g.prefCountry = get("prefCountry", " ");
    g.prefPhone = get("prefPhone", " ");
    g.prefAFN = get("prefAFN", " ");
    g.prefEmail = get("prefEmail", " ");
    g.prefSourceSW = static_cast<int16_t>(number(get("prefSourceSW", "0")));
    g.prefNotes = get("prefNotes", " ");
    g.datFilename = get("datFilename", " ");
    // A blank name means no work file is remembered.
    std::string name = TrimBlanks(g.datFilename);
    // A work file remembered without its folder lies in the program folder.
    const std::string workDir = TrimBlanks(g.InitDirWRK);
    g.LastWorkFile = name.empty() ? std::string() : (fs::path(workDir.empty() ? g.AppPath : workDir) / name).string();
    g.InitDirGED = DialogFolder(g.InitDirGED);
    g.InitDirWRK = DialogFolder(g.InitDirWRK);
    g.datPos = number(get("datPos", "0"));
}

}  // namespace lintora
