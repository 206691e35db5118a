// The records of saves (save_record.h): their text, their writing, their listing and whether their saver runs.
#include "platform/disk/save_record.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <tuple>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/scratch_file.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr unsigned kFormat = 3;  // the next number at each change of the record's lines
constexpr std::string_view kCutKey = "\ncut ";
constexpr char kRecordSuffix[] = ".record";
constexpr char kScratchSuffix[] = ".tmp";
constexpr std::size_t kHexDigits = 16;

// Untouched for a week: whatever left it is long over.
bool LongGone(SystemCalls& sys, const struct stat& status) {
    return sys.Now() - std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec) > std::chrono::hours(24 * 7);
}

const char* KindWord(RecordKind kind) { return kind == RecordKind::Save ? "save" : "scratch"; }

void AppendHex(std::string& out, std::uint64_t n) {
    static constexpr char kHex[] = "0123456789abcdef";
    char digits[kHexDigits];
    for (int k = kHexDigits - 1; k >= 0; --k, n >>= 4) digits[k] = kHex[n & 0xF];
    out.append(digits, kHexDigits);
}

// Of one width, so that it is written again over itself once the file is cut.
std::string CutText(std::int64_t seconds, std::int64_t nanos) {
    char cut[40];
    std::snprintf(cut, sizeof cut, "%020lld %09lld", static_cast<long long>(seconds), static_cast<long long>(nanos));
    return cut;
}

// A text of any bytes as one word: "%" codes for "%", blanks, line ends and every other control byte; "-" for none.
std::string RecordWord(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (text.empty() || text == "-") return text.empty() ? "-" : "%2D";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '%' || byte <= 0x20 || byte == 0x7F) out += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        else out += c;
    }
    return out;
}

// A damaged code reads as it stands.
std::string FromRecordWord(std::string_view word) {
    if (word == "-") return "";
    std::string out;
    for (std::size_t at = 0; at < word.size(); ++at) {
        int code = 0;
        if (word[at] == '%' && at + 2 < word.size() &&
            std::from_chars(word.data() + at + 1, word.data() + at + 3, code, 16).ptr == word.data() + at + 3) {
            out += static_cast<char>(code);
            at += 2;
        } else {
            out += word[at];
        }
    }
    return out;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// The whole word, in range, never negative.
template <typename Number>
bool ReadNumber(std::string_view word, Number& n) {
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, n);
    return !word.empty() && ec == std::errc{} && ptr == end && n >= 0;
}

bool ReadId(const std::vector<std::string_view>& words, FileId& id) {
    return words.size() == 3 && ReadNumber(words[1], id.device) && ReadNumber(words[2], id.inode);
}

// Sixteen hexadecimal digits, read by comparison: a record holds some 490 of them.
bool ReadHex(std::string_view word, std::uint64_t& n) {
    n = 0;
    for (const char c : word) {
        if ((c < '0' || c > '9') && (c < 'a' || c > 'f')) return false;
        n = n << 4 | static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return word.size() == kHexDigits;
}

// ".<kind>.<16 hex>.record", as a scratch file is named for kind.
bool IsRecordFileName(std::string_view name, RecordKind kind) {
    const std::string_view word = KindWord(kind), suffix = kRecordSuffix;
    std::uint64_t random = 0;
    return name.size() == word.size() + kHexDigits + 2 + suffix.size() && name[0] == '.' &&
           name.substr(1, word.size()) == word && name[word.size() + 1] == '.' &&
           ReadHex(name.substr(word.size() + 2, kHexDigits), random) && name.ends_with(suffix);
}

Descriptor OpenFolderIn(SystemCalls& sys, int dir, const std::string& name) {
    return Descriptor(sys, sys.OpenAt(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
}

Descriptor OpenState(SystemCalls& sys) {
    int error = 0;
    return OpenCopiesFolder(sys, false, error);
}

// The records folder for folderPath in state, made where make and it is not there (and the state folder synced,
// so that the records in it stay).
Descriptor RecordsFolder(SystemCalls& sys, int state, const std::string& folderPath, bool make) {
    const std::string sub = RecordsFolderName(folderPath);
    Descriptor folder = OpenFolderIn(sys, state, sub);
    if (folder.open() || errno != ENOENT || !make) return folder;
    if (sys.MakeFolder(state, sub, S_IRWXU) != 0 && errno != EEXIST) return {};
    (void)SyncFolder(sys, state);
    return OpenFolderIn(sys, state, sub);
}

// Writes text whole into a new file of folder under a scratch name, held by a write lock, on disk where
// it is a save's (a scratch name's guards a moment, and its folder's journal keeps it in order with that name), and
// only then gives it its name: name itself, over the file of that name, where replace; else a new record name for
// stem (into name). The file stays open in held. 0, or the error.
int WriteRecordFile(SystemCalls& sys, int folder, const std::string& stem, std::string& name, SaveRecord& record,
                    bool replace, Descriptor& held, std::string& text) {
    std::string scratch;
    Descriptor file(sys, MakeNamedScratchFile(sys, folder, stem, kScratchSuffix, S_IRUSR | S_IWUSR, scratch));
    if (!file.open()) return errno;
    // Locked before anything else: a scratch name nobody holds is one whose save is over.
    record.locked = sys.LockRange(file.get(), F_WRLCK, 0, 0) == 0;
    text = RecordText(record);
    const bool durable = record.kind == RecordKind::Save;
    int err = WriteWhole(sys, file.get(), text);
    if (err == 0 && durable && sys.Sync(file.get()) != 0) err = errno;
    if (err == 0 && replace) err = sys.Rename(folder, scratch, name) == 0 ? 0 : errno;
    if (err == 0 && !replace) err = RenameToScratchName(sys, folder, scratch, stem, kRecordSuffix, name);
    if (err != 0) {
        (void)sys.Unlink(folder, scratch);
        return err;
    }
    // Its name on disk too; a folder that will not say so is no reason to stop.
    if (durable) (void)SyncFolder(sys, folder);
    held = std::move(file);
    return 0;
}

// The file system of fd shows here the lock of every saver of its files: a local one, or a network one whose
// locks reach other hosts.
bool LocksReachEverySaver(SystemCalls& sys, int fd) {
    std::uint64_t type = 0;
    std::string options;
    if (sys.FileSystem(fd, type, options) != 0) return false;
    const auto has = [&](std::string_view option) { return ("," + options + ",").find(option) != std::string::npos; };
    // nfs: its own host's locks alone where mounted so; cifs, smb2, smb: none where mounted nobrl.
    if (type == 0x6969) return !has(",nolock,") && (!has(",local_lock=") || has(",local_lock=none,"));
    if (type == 0xFF534D42 || type == 0xFE534D42 || type == 0x517B) return !has(",nobrl,");
    // ext2-4, btrfs, xfs, tmpfs, ramfs, vfat, exfat, f2fs, ntfs3, zfs, overlay; not fuse, nor what is not known.
    constexpr std::uint64_t kLocal[] = {0xEF53,     0x9123683E, 0x58465342, 0x01021994, 0x858458F6, 0x4D44,
                                        0x2011BAB0, 0xF2F52010, 0x7366746E, 0x2FC12FC1, 0x794C7630};
    return std::find(std::begin(kLocal), std::end(kLocal), type) != std::end(kLocal);
}

enum class Reading { Read, Damaged, Passed };

// Only an ordinary file of his own: his folder is his alone, but a record is trusted no further than that.
Descriptor OpenOwnFile(SystemCalls& sys, int dir, const std::string& name, struct stat& status) {
    Descriptor file;
    const bool own = OpenOrdinary(sys, dir, name, file, status) == 0 && status.st_uid == sys.User();
    return own ? std::move(file) : Descriptor();
}

// Reads the record name in dir, and judges its saver while it is open.
Reading ReadRecord(SystemCalls& sys, int dir, const std::string& name, SaveRecord& record) {
    struct stat status {};
    const Descriptor file = OpenOwnFile(sys, dir, name, status);
    std::string text;
    if (!file.open()) return Reading::Passed;
    // A record has its name only once it is whole; one of a later version of the program is left to it.
    if (ReadWhole(sys, file.get(), text) != 0 || !ParseRecord(text, record))
        return record.format > kFormat ? Reading::Passed : Reading::Damaged;
    record.saver = SaverOf(sys, file.get(), record);
    return Reading::Read;
}

// What the lock on the record open at fd tells of its saver: Running while one holds it, Over where it is free,
// its saver held it (locked) and every saver's lock shows here; else Elsewhere, for its process to tell.
Saver LockSays(SystemCalls& sys, int fd, bool locked) {
    const int inTheWay = fd >= 0 ? sys.LockInTheWay(fd, F_WRLCK, 0, 0) : -1;
    if (inTheWay == F_RDLCK || inTheWay == F_WRLCK) return Saver::Running;
    return inTheWay == F_UNLCK && locked && LocksReachEverySaver(sys, fd) ? Saver::Over : Saver::Elsewhere;
}

// Whether the scratch file open at fd (of status), under the program's own form of name, belongs to a save that is
// over, as a record's saver is judged. Locked before it is written: one that holds anything was its saver's. One that
// cannot be read names no process: over once it is old.
bool ScratchOver(SystemCalls& sys, int fd, const struct stat& status) {
    std::string text;
    SaveRecord record;
    if (ReadWhole(sys, fd, text) == 0 && ParseRecord(text, record)) return SaverOf(sys, fd, record) == Saver::Over;
    const Saver lock = LockSays(sys, fd, status.st_size > 0);
    return lock == Saver::Over || (lock == Saver::Elsewhere && LongGone(sys, status));
}

// Removes the records left under their scratch names in folder whose saves are over.
void RemoveScratchRecords(SystemCalls& sys, int folder, const std::vector<std::string>& names, std::size_t& left) {
    for (const std::string& name : names) {
        struct stat status {};
        if (!IsScratchName(name, kScratchSuffix)) continue;
        const Descriptor file = OpenOwnFile(sys, folder, name, status);
        if (file.open() && ScratchOver(sys, file.get(), status) && sys.Unlink(folder, name) == 0) --left;
    }
}

// Lists the records of kind in the records folder sub of state; those left under their scratch names by saves
// that are over go.
void ListIn(SystemCalls& sys, int state, const std::string& sub, RecordKind kind, std::vector<FoundRecord>& found,
            std::vector<DamagedRecord>* damaged) {
    const Descriptor folder = OpenFolderIn(sys, state, sub);
    std::vector<std::string> names;
    if (!folder.open() || sys.ListNames(folder.get(), names) != 0) return;
    std::size_t left = names.size();
    RemoveScratchRecords(sys, folder.get(), names, left);
    for (const std::string& name : names) {
        if (!IsRecordFileName(name, kind)) continue;
        FoundRecord record{sub + "/" + name, {}};
        const Reading reading = ReadRecord(sys, folder.get(), name, record.record);
        if (reading == Reading::Damaged) NoteDamaged(damaged, record.name, record.record);
        if (reading != Reading::Read || record.record.kind != kind) continue;
        record.record.where = record.name;
        found.push_back(std::move(record));
    }
}

void SortByFile(std::vector<FoundRecord>& found) {
    // In the order of their files, whatever the order of the folder.
    std::sort(found.begin(), found.end(), [](const FoundRecord& a, const FoundRecord& b) {
        return std::tie(a.record.file, a.name) < std::tie(b.record.file, b.name);
    });
}

// This process as a saver, into record.
void FillSaver(SystemCalls& sys, SaveRecord& record) {
    // Read once for each process (a child of a fork is another).
    static pid_t known = 0;
    static std::uint64_t started = 0;
    record.pid = sys.ProcessId();
    if (std::exchange(known, record.pid) != record.pid) started = sys.ProcessStart(record.pid);
    record.started = started;
    record.boot = sys.BootId();
    record.host = sys.HostName();
}

}  // namespace

FileId IdOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

std::uint64_t PathHash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

std::uint64_t BlockHash(const char* bytes, std::size_t size) {
    // Four lanes of eight-byte words, each taken in by one multiplication by an odd number (which loses no
    // difference), so that a save pays little for telling its blocks; mixed once at the end.
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    std::uint64_t a = size, b = kMix, c = ~size, d = ~kMix;
    std::size_t at = 0;
    for (; at + 32 <= size; at += 32) {
        std::uint64_t w[4];
        std::memcpy(w, bytes + at, 32);
        a = (a ^ w[0]) * kMix;
        b = (b ^ w[1]) * kMix;
        c = (c ^ w[2]) * kMix;
        d = (d ^ w[3]) * kMix;
    }
    for (; at < size; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + at, std::min<std::size_t>(8, size - at));
        a = (a ^ word) * kMix;
    }
    std::uint64_t hash = a;
    for (const std::uint64_t lane : {b, c, d}) {
        hash ^= hash >> 29;
        hash = (hash ^ lane) * kMix;
    }
    return hash ^ (hash >> 32);
}

std::vector<std::uint64_t> BlockHashes(const std::string& contents) {
    std::vector<std::uint64_t> hashes;
    hashes.reserve(contents.size() / kRecordBlock + 1);
    for (std::size_t at = 0; at < contents.size(); at += kRecordBlock)
        hashes.push_back(BlockHash(contents.data() + at, std::min(kRecordBlock, contents.size() - at)));
    return hashes;
}

std::uint64_t CopyHash(const std::string& contents) {
    // Its first, middle and last blocks: enough to tell another file that took its name, for little more than
    // one block's cost.
    const std::size_t size = contents.size();
    const std::size_t starts[] = {0, size / 2, size > kRecordBlock ? size - kRecordBlock : 0};
    std::uint64_t hash = size;
    for (const std::size_t at : starts)
        hash = (hash ^ BlockHash(contents.data() + at, std::min(kRecordBlock, size - at))) * 0x9E3779B97F4A7C15ull;
    return hash;
}

std::string RecordPath(const SaveRecord& record) {
    if (record.kind == RecordKind::Scratch) return record.folder;
    return record.linked ? "inode " + std::to_string(record.fileId.inode) : record.file;
}

std::string RecordsFolderName(std::string_view path) {
    std::string name = kRecordsFolderPrefix;
    AppendHex(name, PathHash(path));
    return name;
}

std::string RecordText(const SaveRecord& r) {
    const auto id = [](const FileId& id) { return std::to_string(id.device) + ' ' + std::to_string(id.inode); };
    std::string out;
    out.reserve(256 + r.file.size() + r.copy.size() + r.folder.size() + 17 * r.blocks.size());
    out += "Lintora record " + std::to_string(kFormat) + "\nkind " + std::string(KindWord(r.kind)) + '\n';
    if (r.kind == RecordKind::Save) {
        out += "file " + RecordWord(r.file) + "\nfileid " + id(r.fileId) + "\ncopy " + RecordWord(r.copy) +
               "\ncopyid " + id(r.copyId) + "\nearlier " + std::to_string(r.copyLength) + ' ';
        AppendHex(out, r.copyHash);
        out += "\ncut " + CutText(r.cutSeconds, r.cutNanos) + "\nlength " + std::to_string(r.newLength) + "\nblocks";
        for (const std::uint64_t hash : r.blocks) AppendHex(out += ' ', hash);
        out += '\n';
    } else {
        out += "folder " + RecordWord(r.folder) + "\nname " + RecordWord(r.scratch) + '\n';
    }
    // A word each, "-" where the system did not say.
    out += "process " + std::to_string(static_cast<std::uint64_t>(r.pid)) + ' ' + std::to_string(r.started) + ' ' +
           RecordWord(r.boot) + ' ' + RecordWord(r.host) + (r.locked ? " locked\n" : " unlocked\n");
    if (r.told) out += "told\n";
    if (r.overtaken) out += "overtaken\n";
    if (r.began != 0) out += "began " + std::to_string(static_cast<std::uint64_t>(r.began)) + '\n';
    return out;
}

bool ParseRecord(const std::string& text, SaveRecord& r) {
    std::string_view rest = text;
    std::string seen;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        // Cut short: its whole lines (a damaged record's file and copy) are read all the same.
        if (end == std::string_view::npos) return false;
        const std::vector<std::string_view> words = Words(rest.substr(0, end));
        rest.remove_prefix(end + 1);
        const std::string_view key = words[0];
        bool ok = true;
        if (key == "Lintora" && seen.empty()) {
            ok = words.size() == 3 && words[1] == "record" && ReadNumber(words[2], r.format) && r.format >= 2 &&
                 r.format <= kFormat;
        } else if (key == "kind" && words.size() == 2) {
            ok = words[1] == "save" || words[1] == "scratch";
            r.kind = words[1] == "save" ? RecordKind::Save : RecordKind::Scratch;
        } else if ((key == "file" || key == "copy" || key == "folder" || key == "name") && words.size() == 2) {
            (key == "file" ? r.file : key == "copy" ? r.copy : key == "folder" ? r.folder : r.scratch) =
                FromRecordWord(words[1]);
        } else if (key == "fileid" || key == "copyid") {
            ok = ReadId(words, key == "fileid" ? r.fileId : r.copyId);
        } else if (r.format == 2 && (key == "folderid" || key == "inode")) {
            continue;  // numbers a scratch record of format 2 held, which decide nothing now
        } else if ((key == "told" || key == "overtaken" || key == "given-up") && words.size() == 1) {
            // Opened all the same while its saver seemed to run elsewhere (format 2): its copy is the user's.
            (key == "overtaken" ? r.overtaken : r.told) = true;
            continue;
        } else if (key == "began") {
            // Not in every record: read where there, never counted among the lines.
            if (words.size() != 2 || !ReadNumber(words[1], r.began)) return false;
            continue;
        } else if (key == "earlier") {
            ok = words.size() == 3 && ReadNumber(words[1], r.copyLength) && ReadHex(words[2], r.copyHash);
        } else if (key == "cut") {
            ok = words.size() == 3 && ReadNumber(words[1], r.cutSeconds) && ReadNumber(words[2], r.cutNanos);
        } else if (key == "length") {
            ok = words.size() == 2 && ReadNumber(words[1], r.newLength);
        } else if (key == "blocks") {
            r.blocks.resize(words.size() - 1);
            for (std::size_t k = 1; ok && k < words.size(); ++k)
                ok = ReadHex(words[k], r.blocks[k - 1]);
        } else if (key == "process") {
            ok = words.size() == 6 && ReadNumber(words[1], r.pid) && ReadNumber(words[2], r.started) &&
                 (words[5] == "locked" || words[5] == "unlocked");
            if (ok) {
                r.boot = FromRecordWord(words[3]);
                r.host = FromRecordWord(words[4]);
                r.locked = words[5] == "locked";
            }
        } else {
            ok = false;
        }
        if (!ok) return false;
        seen += std::string(key) + ' ';
    }
    // Every line there in its order, and one hash for each block of the new contents.
    if (r.kind == RecordKind::Save)
        return seen == "Lintora kind file fileid copy copyid earlier cut length blocks process " &&
               r.blocks.size() == r.newLength / kRecordBlock + (r.newLength % kRecordBlock != 0);
    return seen == "Lintora kind folder name process " && !r.scratch.empty() && r.scratch != "." && r.scratch != ".." &&
           r.scratch.find('/') == std::string::npos;
}

KeptRecord& KeptRecord::operator=(KeptRecord&& other) noexcept {
    if (this != &other) {
        sys_ = std::exchange(other.sys_, nullptr);
        folder_ = std::move(other.folder_);
        file_ = std::move(other.file_);
        name_ = std::exchange(other.name_, {});
        text_ = std::exchange(other.text_, {});
    }
    return *this;
}

int KeptRecord::Make(SystemCalls& sys, int state, SaveRecord record) {
    Remove();
    FillSaver(sys, record);
    // The records folder may go between its open and the record's naming, where the start-up clears empty ones.
    int err = ENOENT;
    for (int attempt = 0; attempt < 3 && err == ENOENT; ++attempt) {
        Descriptor records = RecordsFolder(sys, state, RecordPath(record), true);
        if (!records.open()) return errno;
        err = WriteRecordFile(sys, records.get(), KindWord(record.kind), name_, record, false, file_, text_);
        folder_ = std::move(records);
    }
    if (err != 0) return err;
    sys_ = &sys;
    return 0;
}

int KeptRecord::Rewrite(SaveRecord record) {
    if (!sys_) return EBADF;
    FillSaver(*sys_, record);
    Descriptor file;
    std::string text;
    // Held by the old one's lock until the new one holds its own.
    const int err = WriteRecordFile(*sys_, folder_.get(), KindWord(record.kind), name_, record, true, file, text);
    if (err != 0) return err;
    file_ = std::move(file);
    text_ = std::move(text);
    return 0;
}

int KeptRecord::SetCut(std::int64_t seconds, std::int64_t nanos) {
    const std::size_t at = text_.find(kCutKey);
    if (!sys_ || at == std::string::npos) return EINVAL;
    const std::string cut = CutText(seconds, nanos);
    const std::size_t from = at + kCutKey.size();
    text_.replace(from, cut.size(), cut);
    // Digits over digits of one width: a reader meanwhile reads a record whole all the same.
    const ssize_t n = sys_->WriteAt(file_.get(), text_.data() + from, cut.size(), static_cast<off_t>(from));
    return n == static_cast<ssize_t>(cut.size()) ? 0 : n < 0 ? errno : EIO;
}

void KeptRecord::Remove() {
    if (!sys_) return;
    // Its name first: a record nobody holds is one of a save that is over.
    (void)sys_->Unlink(folder_.get(), name_);
    (void)file_.Close();
    sys_ = nullptr;
}

void NoteDamaged(std::vector<DamagedRecord>* damaged, const std::string& name, const SaveRecord& record) {
    if (damaged) damaged->push_back({(fs::path(CopiesFolder()) / name).string(), record.file, record.copy});
}

std::vector<FoundRecord> SaveRecords(SystemCalls& sys, std::vector<DamagedRecord>* damaged) {
    std::vector<FoundRecord> found;
    const Descriptor state = OpenState(sys);
    std::vector<std::string> names;
    if (!state.open() || sys.ListNames(state.get(), names) != 0) return found;
    for (const std::string& name : names)
        if (name.starts_with(kRecordsFolderPrefix)) ListIn(sys, state.get(), name, RecordKind::Save, found, damaged);
    SortByFile(found);
    return found;
}

std::vector<FoundRecord> SaveRecordsOf(SystemCalls& sys, const FoundFile& file, std::vector<DamagedRecord>* damaged) {
    std::vector<FoundRecord> found;
    const Descriptor state = OpenState(sys);
    const std::string path = (fs::path(file.folderPath) / file.name).string();
    struct stat status {};
    const bool there = sys.StatusAt(file.folder.get(), file.name, status) == 0;
    const std::uint64_t inode = IdOf(status).inode;
    const SaveRecord linked{.fileId = {0, inode}, .linked = true};
    // Kept by its path; by its inode where it had other names (whatever names it has now); by its folder's path in
    // format 2, whose damaged records may be of any file of the folder (start-up tells them).
    ListIn(sys, state.get(), RecordsFolderName(path), RecordKind::Save, found, damaged);
    if (there) ListIn(sys, state.get(), RecordsFolderName(RecordPath(linked)), RecordKind::Save, found, damaged);
    ListIn(sys, state.get(), RecordsFolderName(file.folderPath), RecordKind::Save, found, nullptr);
    // Another file's, of the same hash or inode number (on another drive).
    std::erase_if(found, [&](const FoundRecord& f) { return f.record.file != path && f.record.fileId.inode != inode; });
    SortByFile(found);
    return found;
}

std::vector<FoundRecord> SaveRecordsOf(SystemCalls& sys, const std::string& path, std::vector<DamagedRecord>* damaged) {
    // The path as a save of the file names it, every link resolved, once.
    FoundFile file;
    return FindFile(sys, path, file).saved() ? SaveRecordsOf(sys, file, damaged) : std::vector<FoundRecord>{};
}

void RemoveSaveRecord(SystemCalls& sys, const std::string& name) {
    const Descriptor state = OpenState(sys);
    if (!state.open()) return;
    (void)sys.Unlink(state.get(), name);
    // Not left for the start-up to clear: a save making a record there meanwhile makes the folder again.
    if (const fs::path sub = fs::path(name).parent_path(); !sub.empty()) (void)sys.RemoveFolder(state.get(), sub);
}

Saver SaverOf(SystemCalls& sys, int recordFd, const SaveRecord& record) {
    // Free: over, whatever host and process it names, where every saver's lock shows here and its saver held one.
    if (const Saver lock = LockSays(sys, recordFd, record.locked); lock != Saver::Elsewhere) return lock;
    // Else its process, if it is the same one. Another host's cannot be looked at.
    if (record.host != sys.HostName()) return Saver::Elsewhere;
    // This one's saves end before it looks.
    if (record.boot != sys.BootId() || record.pid == sys.ProcessId() || !sys.ProcessRuns(record.pid))
        return Saver::Over;
    const std::uint64_t started = record.started != 0 ? sys.ProcessStart(record.pid) : 0;
    return started != 0 && started != record.started ? Saver::Over : Saver::Running;
}

Saver SaverOf(SystemCalls& sys, const SaveRecord& record) {
    return record.where.empty() ? SaverOf(sys, -1, record) : record.saver;
}

ScratchRecord::ScratchRecord(SystemCalls& sys, std::string folderPath, int state)
    : sys_(sys), folderPath_(std::move(folderPath)), state_(state) {}

void ScratchRecord::Note(const std::string& name) {
    SaveRecord note{.kind = RecordKind::Scratch, .folder = folderPath_, .scratch = name};
    if (kept_.made()) return (void)kept_.Rewrite(std::move(note));
    int error = 0;
    const Descriptor opened = state_ >= 0 ? Descriptor() : OpenCopiesFolder(sys_, true, error);
    if (state_ >= 0 || opened.open()) (void)kept_.Make(sys_, state_ >= 0 ? state_ : opened.get(), std::move(note));
}

void RemoveLeftScratchFiles(SystemCalls& sys, int folder, const std::string& folderPath, int state) {
    const Descriptor opened = state >= 0 ? Descriptor() : OpenState(sys);
    if (state < 0 && (state = opened.get()) < 0) return;
    std::vector<FoundRecord> records;
    ListIn(sys, state, RecordsFolderName(folderPath), RecordKind::Scratch, records, nullptr);
    for (const FoundRecord& found : records) {
        const SaveRecord& note = found.record;
        // Another folder's (of the same hash); a name the program never gives is never its own scratch file.
        if (note.folder != folderPath || !IsScratchName(note.scratch, kScratchSuffix) || note.saver != Saver::Over)
            continue;
        // Only an ordinary file of the user's (root's saves give theirs the file's owner); a name that stands for
        // anything else now is left to it.
        struct stat status {};
        if (sys.StatusAt(folder, note.scratch, status) == 0 && S_ISREG(status.st_mode) &&
            (status.st_uid == sys.User() || sys.User() == 0) && sys.Unlink(folder, note.scratch) != 0 &&
            errno != ENOENT)
            continue;  // still there: so is its record
        (void)sys.Unlink(state, found.name);
    }
}

void CleanOldScratchRecords(SystemCalls& sys, std::vector<DamagedRecord>* damaged) {
    static bool done = false;
    if (std::exchange(done, true)) return;
    const Descriptor state = OpenState(sys);
    std::vector<std::string> subs;
    if (!state.open() || sys.ListNames(state.get(), subs) != 0) return;
    // Copies half written here, where a file's folder takes no new files.
    RemoveLeftScratchFiles(sys, state.get(), CopiesFolder(), state.get());
    for (const std::string& sub : subs) {
        if (!sub.starts_with(kRecordsFolderPrefix)) continue;
        const Descriptor folder = OpenFolderIn(sys, state.get(), sub);
        std::vector<std::string> names;
        if (!folder.open() || sys.ListNames(folder.get(), names) != 0) continue;
        std::size_t left = names.size();
        RemoveScratchRecords(sys, folder.get(), names, left);
        for (const std::string& name : names) {
            if (!IsRecordFileName(name, RecordKind::Scratch)) continue;
            // Of a folder gone for long: nothing of it left to find.
            struct stat status {};
            if (sys.StatusAt(folder.get(), name, status) != 0 || !LongGone(sys, status)) continue;
            SaveRecord record;
            const Reading reading = ReadRecord(sys, folder.get(), name, record);
            if (reading == Reading::Damaged) NoteDamaged(damaged, sub + "/" + name, {});
            if (reading != Reading::Read || record.saver != Saver::Over) continue;
            const Descriptor there(sys, sys.OpenAt(AT_FDCWD, record.folder, O_PATH | O_DIRECTORY));
            if (!there.open() && (errno == ENOENT || errno == ENOTDIR) && sys.Unlink(folder.get(), name) == 0) --left;
        }
        // Made again by the next save there that needs it.
        if (left == 0) (void)sys.RemoveFolder(state.get(), sub);
    }
}

}  // namespace lintora
