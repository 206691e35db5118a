#include "platform/disk/save_record.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/record_words.h"
#include "platform/disk/scratch_file.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

constexpr char kFirstLine[] = "Lintora record 2";
constexpr std::string_view kCutKey = "\ncut ";

const char* KindWord(RecordKind kind) { return kind == RecordKind::Save ? "save" : "scratch"; }

void AppendNumber(std::string& out, std::uint64_t n) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
}

void AppendHex(std::string& out, std::uint64_t n) {
    static constexpr char kHex[] = "0123456789abcdef";
    char digits[16];
    for (int k = 15; k >= 0; --k, n >>= 4) digits[k] = kHex[n & 0xF];
    out.append(digits, 16);
}

// Of one width, so that it is written again over itself once the file is cut.
void AppendCut(std::string& out, std::int64_t seconds, std::int64_t nanos) {
    char cut[40];
    std::snprintf(cut, sizeof cut, "%020lld %09lld", static_cast<long long>(seconds), static_cast<long long>(nanos));
    out += cut;
}

void AppendId(std::string& out, const char* key, const FileId& id) {
    out += key;
    out += ' ';
    AppendNumber(out, id.device);
    out += ' ';
    AppendNumber(out, id.inode);
    out += '\n';
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

template <typename Number>
bool ReadNumber(std::string_view word, Number& n, int base = 10) {
    return !word.empty() && std::from_chars(word.data(), word.data() + word.size(), n, base).ptr ==
                                word.data() + word.size();
}

bool ReadId(const std::vector<std::string_view>& words, FileId& id) {
    return words.size() == 3 && ReadNumber(words[1], id.device) && ReadNumber(words[2], id.inode);
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

// The way a reader takes a lock on a record: as a test, let go at once.
// 1: nobody holds it; 0: a saver does; -1: the file system keeps none here.
int LockFree(SystemCalls& sys, int fd) {
    if (fd >= 0 && sys.LockRange(fd, F_RDLCK, 0, 0) == 0) {
        (void)sys.LockRange(fd, F_UNLCK, 0, 0);
        return 1;
    }
    return fd >= 0 && (errno == EAGAIN || errno == EACCES) ? 0 : -1;
}

enum class Reading { Read, Damaged, Passed };

// Reads the record name in dir; a text that is none is damaged, unless a
// saver holds it (it is being written).
Reading ReadRecord(SystemCalls& sys, int dir, const std::string& name, SaveRecord& record) {
    const Descriptor file(sys, sys.OpenAt(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
    struct stat status {};
    std::string text;
    // Only an ordinary file of his own: his folder is his alone, but a
    // record is trusted no further than that.
    if (!file.open() || sys.Status(file.get(), status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != sys.User())
        return Reading::Passed;
    if (ReadWhole(sys, file.get(), text) == 0 && ParseRecord(text, record)) return Reading::Read;
    return LockFree(sys, file.get()) == 0 ? Reading::Passed : Reading::Damaged;
}

Descriptor OpenFolderIn(SystemCalls& sys, int dir, const std::string& name) {
    return Descriptor(sys, sys.OpenAt(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW));
}

// Lists the records of kind in the records folder sub of state.
void ListIn(SystemCalls& sys, int state, const std::string& sub, RecordKind kind, std::vector<FoundRecord>& found,
            std::vector<DamagedRecord>* damaged) {
    const Descriptor folder = OpenFolderIn(sys, state, sub);
    std::vector<std::string> names;
    if (!folder.open() || sys.ListNames(folder.get(), names) != 0) return;
    for (const std::string& name : names) {
        if (!IsRecordFileName(name, KindWord(kind))) continue;
        FoundRecord record{sub + "/" + name, {}};
        switch (ReadRecord(sys, folder.get(), name, record.record)) {
            case Reading::Read:
                if (record.record.kind != kind) break;
                record.record.where = record.name;
                found.push_back(std::move(record));
                break;
            case Reading::Damaged:
                if (damaged) damaged->push_back({(fs::path(CopiesFolder()) / record.name).string(), {}, {}});
                break;
            case Reading::Passed: break;
        }
    }
}

void SortByFile(std::vector<FoundRecord>& found) {
    // In the order of their files, whatever the order of the folder.
    std::sort(found.begin(), found.end(), [](const FoundRecord& a, const FoundRecord& b) {
        return std::tie(a.record.file, a.name) < std::tie(b.record.file, b.name);
    });
}

// The records folder for folderPath in state, made where make and it is
// not there.
Descriptor RecordsFolder(SystemCalls& sys, int state, const std::string& folderPath, bool make) {
    const std::string sub = RecordsFolderName(folderPath);
    Descriptor folder = OpenFolderIn(sys, state, sub);
    if (folder.open() || errno != ENOENT || !make) return folder;
    if (sys.MakeFolder(state, sub, S_IRWXU) != 0 && errno != EEXIST) return {};
    return OpenFolderIn(sys, state, sub);
}

constexpr auto kLongGone = std::chrono::hours(24 * 7);

}  // namespace

FileId IdOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

std::uint64_t BlockHash(const char* bytes, std::size_t size) {
    // Four lanes of eight-byte words, each taken in by one multiplication
    // by an odd number (which loses no difference), so that a save pays
    // little for telling its blocks; mixed once at the end.
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
    // Its first, middle and last blocks: enough to tell another file that
    // took its name, for little more than one block's cost.
    const std::size_t size = contents.size();
    const std::size_t starts[] = {0, size / 2, size > kRecordBlock ? size - kRecordBlock : 0};
    std::uint64_t hash = size;
    for (const std::size_t at : starts)
        hash = (hash ^ BlockHash(contents.data() + at, std::min(kRecordBlock, size - at))) * 0x9E3779B97F4A7C15ull;
    return hash;
}

std::string RecordFolder(const SaveRecord& record) {
    return record.kind == RecordKind::Save ? fs::path(record.file).parent_path().string() : record.folder;
}

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

std::string RecordText(const SaveRecord& r) {
    std::string out;
    out.reserve(256 + r.file.size() + r.copy.size() + r.folder.size() + 17 * r.blocks.size());
    out += kFirstLine;
    out += "\nkind ";
    out += KindWord(r.kind);
    out += '\n';
    if (r.kind == RecordKind::Save) {
        out += "file " + RecordWord(r.file) + '\n';
        AppendId(out, "fileid", r.fileId);
        out += "copy " + RecordWord(r.copy) + '\n';
        AppendId(out, "copyid", r.copyId);
        if (r.copyKnown) {
            out += "earlier ";
            AppendNumber(out, r.copyLength);
            out += ' ';
            AppendHex(out, r.copyHash);
            out += '\n';
        }
        out += "cut ";
        AppendCut(out, r.cutSeconds, r.cutNanos);
        out += "\nlength ";
        AppendNumber(out, r.newLength);
        out += "\nblocks";
        for (const std::uint64_t hash : r.blocks) {
            out += ' ';
            AppendHex(out, hash);
        }
        out += '\n';
    } else {
        out += "folder " + RecordWord(r.folder) + '\n';
        AppendId(out, "folderid", r.folderId);
        out += "name " + RecordWord(r.scratch) + '\n';
        out += "inode ";
        AppendNumber(out, r.scratchInode);
        out += '\n';
    }
    // A word each, "-" where the system did not say.
    out += "process ";
    AppendNumber(out, static_cast<std::uint64_t>(r.pid));
    out += ' ';
    AppendNumber(out, r.started);
    out += ' ' + RecordWord(r.boot) + ' ' + RecordWord(r.host) + (r.locked ? " locked\n" : " unlocked\n");
    if (r.told) out += "told\n";
    if (r.overtaken) out += "overtaken\n";
    if (r.givenUp) out += "given-up\n";
    if (r.began != 0) {
        out += "began ";
        AppendNumber(out, static_cast<std::uint64_t>(r.began));
        out += '\n';
    }
    return out;
}

bool ParseRecord(const std::string& text, SaveRecord& r) {
    std::string_view rest = text;
    if (!rest.starts_with(kFirstLine) || !rest.ends_with('\n')) return false;
    rest.remove_prefix(std::strlen(kFirstLine) + 1);
    std::string seen;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::vector<std::string_view> words = Words(rest.substr(0, end));
        rest.remove_prefix(end + 1);
        const std::string_view key = words[0];
        bool ok = true;
        if (key == "kind" && words.size() == 2) {
            ok = words[1] == "save" || words[1] == "scratch";
            r.kind = words[1] == "save" ? RecordKind::Save : RecordKind::Scratch;
        } else if ((key == "file" || key == "copy" || key == "folder" || key == "name") && words.size() == 2) {
            (key == "file" ? r.file : key == "copy" ? r.copy : key == "folder" ? r.folder : r.scratch) =
                FromRecordWord(words[1]);
        } else if (key == "fileid" || key == "copyid" || key == "folderid") {
            ok = ReadId(words, key == "fileid" ? r.fileId : key == "copyid" ? r.copyId : r.folderId);
        } else if ((key == "told" || key == "overtaken" || key == "given-up") && words.size() == 1) {
            (key == "told" ? r.told : key == "overtaken" ? r.overtaken : r.givenUp) = true;
            continue;
        } else if (key == "earlier" || key == "began") {
            // Not in every record: read where there, never counted among the lines.
            if (key == "earlier")
                r.copyKnown = words.size() == 3 && ReadNumber(words[1], r.copyLength) &&
                              words[2].size() == 16 && ReadNumber(words[2], r.copyHash, 16);
            if (!(key == "earlier" ? r.copyKnown : words.size() == 2 && ReadNumber(words[1], r.began))) return false;
            continue;
        } else if (key == "cut") {
            ok = words.size() == 3 && ReadNumber(words[1], r.cutSeconds) && ReadNumber(words[2], r.cutNanos);
        } else if (key == "length" || key == "inode") {
            ok = words.size() == 2 && ReadNumber(words[1], key == "length" ? r.newLength : r.scratchInode);
        } else if (key == "blocks") {
            r.blocks.resize(words.size() - 1);
            for (std::size_t k = 1; ok && k < words.size(); ++k)
                ok = words[k].size() == 16 && ReadNumber(words[k], r.blocks[k - 1], 16);
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
        return seen == "kind file fileid copy copyid cut length blocks process " &&
               r.blocks.size() == (r.newLength + kRecordBlock - 1) / kRecordBlock;
    return seen == "kind folder folderid name inode process " && IsPlainName(r.scratch);
}

int KeptRecord::Make(SystemCalls& sys, int folder, SaveRecord record, bool sync) {
    const std::string folderPath = RecordFolder(record);
    Descriptor file;
    // The records folder may go between its open and the record's making,
    // where the start-up clears empty ones.
    for (int attempt = 0; attempt < 3 && !file.open(); ++attempt) {
        Descriptor records = RecordsFolder(sys, folder, folderPath, true);
        if (!records.open()) return errno;
        file = Descriptor(sys, sync ? MakeScratchFile(sys, records.get(), KindWord(record.kind), kRecordSuffix,
                                                      S_IRUSR | S_IWUSR, name_)
                                    : MakeNamedScratchFile(sys, records.get(), KindWord(record.kind),
                                                           kRecordSuffix, S_IRUSR | S_IWUSR, name_));
        if (!file.open() && errno != ENOENT) return errno;
        folder_ = std::move(records);
    }
    if (!file.open()) return ENOENT;
    sys_ = &sys;
    file_ = std::move(file);
    // Held for as long as the save runs; a reader's test of it is let go at
    // once, and waited for.
    int lock = -1;
    for (int tries = 0; (lock = sys.LockRange(file_.get(), F_WRLCK, 0, 0)) != 0 && errno == EAGAIN && tries < 100; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    locked_ = lock == 0;
    FillSaver(sys, record);
    record.locked = locked_;
    text_ = RecordText(record);
    // A nameless record is named once it is whole, and then put on disk
    // with its name: a crash never leaves half of one.
    const bool nameless = name_.empty();
    // A new file: nothing of it to cut.
    int err = WriteWhole(sys, file_.get(), text_);
    if (err == 0 && sync && !nameless && sys.Sync(file_.get()) != 0) err = errno;
    if (err == 0 && nameless) {
        err = NameScratchFile(sys, folder_.get(), file_.get(), KindWord(record.kind), kRecordSuffix, name_);
        if (err == 0 && sys.Sync(file_.get()) != 0) err = errno;
    }
    if (err != 0) Remove();
    return err;
}

int KeptRecord::Write(bool sync) {
    if (const int err = WriteWhole(*sys_, file_.get(), text_)) return err;
    struct stat status {};
    // A name longer than the one first recorded leaves nothing behind.
    if (sys_->Status(file_.get(), status) != 0) return errno;
    if (status.st_size > static_cast<off_t>(text_.size()) &&
        sys_->Truncate(file_.get(), static_cast<off_t>(text_.size())) != 0)
        return errno;
    return sync && sys_->Sync(file_.get()) != 0 ? errno : 0;
}

int KeptRecord::Rewrite(SaveRecord record, bool sync) {
    if (!sys_) return EBADF;
    FillSaver(*sys_, record);
    record.locked = locked_;
    text_ = RecordText(record);
    return Write(sync);
}

int KeptRecord::SetCut(std::int64_t seconds, std::int64_t nanos) {
    const std::size_t at = text_.find(kCutKey);
    if (!sys_ || at == std::string::npos) return EINVAL;
    std::string cut;
    AppendCut(cut, seconds, nanos);
    const std::size_t from = at + kCutKey.size();
    text_.replace(from, cut.size(), cut);
    const ssize_t n = sys_->WriteAt(file_.get(), text_.data() + from, cut.size(), static_cast<off_t>(from));
    return n == static_cast<ssize_t>(cut.size()) ? 0 : n < 0 ? errno : EIO;
}

void KeptRecord::Remove() {
    if (!sys_) return;
    // Its name first: a record nobody holds is one of a save that is over.
    if (!name_.empty()) (void)sys_->Unlink(folder_.get(), name_);
    (void)file_.Close();
    sys_ = nullptr;
}

std::vector<FoundRecord> RecordsOfFolder(SystemCalls& sys, int state, const std::string& folderPath, RecordKind kind,
                                         std::vector<DamagedRecord>* damaged) {
    std::vector<FoundRecord> found;
    ListIn(sys, state, RecordsFolderName(folderPath), kind, found, damaged);
    // Another folder's, whose path has the same hash.
    std::erase_if(found, [&](const FoundRecord& f) { return RecordFolder(f.record) != folderPath; });
    SortByFile(found);
    return found;
}

std::vector<FoundRecord> SaveRecords(SystemCalls& sys, std::vector<DamagedRecord>* damaged) {
    std::vector<FoundRecord> found;
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys, false, error);
    std::vector<std::string> names;
    if (!state.open() || sys.ListNames(state.get(), names) != 0) return found;
    for (const std::string& name : names) {
        if (name.starts_with(kRecordsFolderPrefix)) {
            ListIn(sys, state.get(), name, RecordKind::Save, found, damaged);
        } else if (IsRecordFileName(name, "save") && damaged) {
            // Of an older format, kept in the folder itself: told, never read.
            SaveRecord record;
            if (ReadRecord(sys, state.get(), name, record) == Reading::Damaged)
                damaged->push_back({(fs::path(CopiesFolder()) / name).string(), {}, {}});
        }
    }
    SortByFile(found);
    return found;
}

std::vector<FoundRecord> SaveRecordsOf(SystemCalls& sys, const std::string& path, std::vector<DamagedRecord>* damaged) {
    // The folder as a save of the file names it, every link resolved.
    FoundFile file;
    std::string folderPath = FindFile(sys, path, file).saved()
                                 ? file.folderPath
                                 : fs::absolute(path).lexically_normal().parent_path().string();
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys, false, error);
    if (!state.open()) return {};
    return RecordsOfFolder(sys, state.get(), folderPath, RecordKind::Save, damaged);
}

void RemoveSaveRecord(SystemCalls& sys, const std::string& name) {
    int error = 0;
    const Descriptor folder = OpenCopiesFolder(sys, false, error);
    if (folder.open()) (void)sys.Unlink(folder.get(), name);
}

Saver SaverOf(SystemCalls& sys, int recordFd, const SaveRecord& record) {
    const int free = LockFree(sys, recordFd);
    if (free == 0) return Saver::Running;
    // Another host's process cannot be looked at, and its lock may live
    // where this one cannot see it.
    if (record.host != sys.HostName()) return Saver::Elsewhere;
    if (free == 1 && record.locked) return Saver::Over;
    // Where no lock tells: its process, if it is the same one. This one's
    // saves end before it looks.
    if (record.boot != sys.BootId() || record.pid == sys.ProcessId() || !sys.ProcessRuns(record.pid))
        return Saver::Over;
    const std::uint64_t started = record.started != 0 ? sys.ProcessStart(record.pid) : 0;
    return started != 0 && started != record.started ? Saver::Over : Saver::Running;
}

Saver SaverOf(SystemCalls& sys, const SaveRecord& record) {
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys, false, error);
    const Descriptor file(sys, state.open() && !record.where.empty()
                                   ? sys.OpenAt(state.get(), record.where, O_RDONLY | O_NOFOLLOW | O_NONBLOCK)
                                   : -1);
    // Gone: its save removed it, and is over.
    if (state.open() && !record.where.empty() && !file.open() && errno == ENOENT) return Saver::Over;
    return SaverOf(sys, file.get(), record);
}

bool SaveRunning(SystemCalls& sys, const SaveRecord& record) { return SaverOf(sys, record) != Saver::Over; }

void CleanOldScratchRecords(SystemCalls& sys) {
    static bool done = false;
    if (std::exchange(done, true)) return;
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys, false, error);
    std::vector<std::string> subs;
    if (!state.open() || sys.ListNames(state.get(), subs) != 0) return;
    const auto now = std::chrono::system_clock::now();
    auto old = [&](int dir, const std::string& name) {
        const Descriptor at(sys, sys.OpenAt(dir, name, O_PATH | O_NOFOLLOW));
        struct stat status {};
        return at.open() && sys.Status(at.get(), status) == 0 && S_ISREG(status.st_mode) &&
               status.st_uid == sys.User() &&
               now - std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec) > kLongGone;
    };
    for (const std::string& sub : subs) {
        // Of an older format: no longer read, and guarding nothing that can be told.
        if (IsRecordFileName(sub, "scratch") && old(state.get(), sub)) (void)sys.Unlink(state.get(), sub);
        if (!sub.starts_with(kRecordsFolderPrefix)) continue;
        const Descriptor folder = OpenFolderIn(sys, state.get(), sub);
        std::vector<std::string> names;
        if (!folder.open() || sys.ListNames(folder.get(), names) != 0) continue;
        std::size_t left = names.size();
        for (const std::string& name : names) {
            if (!IsRecordFileName(name, "scratch") || !old(folder.get(), name)) continue;
            SaveRecord record;
            const Descriptor file(sys, sys.OpenAt(folder.get(), name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
            std::string text;
            if (!file.open() || ReadWhole(sys, file.get(), text) != 0) continue;
            const bool read = ParseRecord(text, record);
            if (read && SaverOf(sys, file.get(), record) != Saver::Over) continue;
            if (read) {
                const Descriptor there(sys, sys.OpenAt(AT_FDCWD, record.folder, O_PATH | O_DIRECTORY));
                if (there.open() || (errno != ENOENT && errno != ENOTDIR)) continue;
            }
            if (sys.Unlink(folder.get(), name) == 0) --left;
        }
        // Made again by the next save there that needs it.
        if (left == 0) (void)sys.RemoveFolder(state.get(), sub);
    }
}

}  // namespace lintora

namespace lintora {

int ReplaceRecord(SystemCalls& sys, const std::string& where, const SaveRecord& record) {
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys, false, error);
    if (!state.open()) return error;
    const Descriptor file(sys, sys.OpenAt(state.get(), where, O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK));
    if (!file.open()) return errno;
    const std::string text = RecordText(record);
    if (sys.WriteAt(file.get(), text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) return EIO;
    return sys.Sync(file.get()) == 0 ? 0 : errno;
}

}  // namespace lintora
