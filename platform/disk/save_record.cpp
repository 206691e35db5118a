#include "platform/disk/save_record.h"

#include <algorithm>
#include <cerrno>
#include <tuple>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/record_words.h"
#include "platform/disk/scratch_file.h"

namespace lintora {

namespace {

constexpr char kFirstLine[] = "Lintora save record";
constexpr char kRecordName[] = "save";

}  // namespace

FileId IdOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

std::uint64_t BlockHash(const char* bytes, std::size_t size) {
    // Four lanes of eight bytes, mixed by multiplication, so that a save
    // pays little for telling its blocks; the tail byte by byte (FNV-1a).
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    std::uint64_t lanes[4] = {size, kMix, ~size, ~kMix};
    std::size_t at = 0;
    for (; at + 32 <= size; at += 32)
        for (int lane = 0; lane < 4; ++lane) {
            std::uint64_t word;
            std::memcpy(&word, bytes + at + 8 * lane, 8);
            lanes[lane] = (lanes[lane] ^ word) * kMix;
            lanes[lane] ^= lanes[lane] >> 29;
        }
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint64_t lane : lanes) hash = (hash ^ lane) * kMix;
    for (; at < size; ++at) hash = (hash ^ static_cast<unsigned char>(bytes[at])) * 1099511628211ull;
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

std::string RecordText(const SaveRecord& r) {
    std::ostringstream out;
    out << kFirstLine << '\n'
        << "file " << RecordWord(r.file) << '\n'
        << "file id " << r.fileId.device << ' ' << r.fileId.inode << '\n'
        << "copy " << RecordWord(r.copy) << '\n'
        << "copy id " << r.copyId.device << ' ' << r.copyId.inode << '\n';
    if (r.copyKnown) {
        char earlier[64];
        std::snprintf(earlier, sizeof earlier, "earlier %" PRIu64 " %016" PRIx64 "\n", r.copyLength, r.copyHash);
        out << earlier;
    }
    // Of one width, so that the record is written again over itself once the file is cut.
    char cut[64];
    std::snprintf(cut, sizeof cut, "cut %020" PRId64 " %09" PRId64 "\n", r.cutSeconds, r.cutNanos);
    out << cut << "length " << r.newLength << '\n' << "blocks";
    for (const std::uint64_t hash : r.blocks) {
        char hex[20];
        std::snprintf(hex, sizeof hex, " %016" PRIx64, hash);
        out << hex;
    }
    // A word each, "-" where the system did not say.
    out << '\n' << "process " << r.pid << ' ' << RecordWord(r.boot) << ' ' << RecordWord(r.host) << '\n';
    out << "began " << r.began << '\n';
    return out.str();
}

bool ParseRecord(const std::string& text, SaveRecord& r) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kFirstLine) return false;
    int seen = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "file" || key == "copy") {
            std::string& path = key == "file" ? r.file : r.copy;
            FileId& id = key == "file" ? r.fileId : r.copyId;
            if (line.size() < key.size() + 2 || line[key.size()] != ' ') return false;
            if (line.compare(key.size(), 4, " id ") == 0) {
                std::string idWord;
                words >> idWord >> id.device >> id.inode;
            } else {
                path = FromRecordWord(line.substr(key.size() + 1));
            }
        } else if (key == "earlier") {
            std::string hex;
            words >> r.copyLength >> hex;
            r.copyHash = std::strtoull(hex.c_str(), nullptr, 16);
            r.copyKnown = true;
        } else if (key == "cut") {
            words >> r.cutSeconds >> r.cutNanos;
        } else if (key == "length") {
            words >> r.newLength;
        } else if (key == "blocks") {
            std::string hex;
            while (words >> hex) r.blocks.push_back(std::strtoull(hex.c_str(), nullptr, 16));
        } else if (key == "began") {
            // Not in every record: told where there, never counted.
            words >> r.began;
            continue;
        } else if (key == "process") {
            std::string boot, host;
            words >> r.pid >> boot >> host;
            r.boot = FromRecordWord(boot);
            r.host = FromRecordWord(host);
        } else {
            continue;
        }
        if (words.fail() && key != "blocks") return false;
        ++seen;
    }
    // Every line there, and one hash for each block of the new contents.
    return seen == 8 + r.copyKnown && r.blocks.size() == (r.newLength + kRecordBlock - 1) / kRecordBlock;
}

int KeptRecord::Make(SystemCalls& sys, int folder, const SaveRecord& record) {
    Descriptor again(sys, sys.OpenAt(folder, ".", O_PATH | O_DIRECTORY));
    if (!again.open()) return errno;
    Descriptor file(sys, MakeScratchFile(sys, folder, kRecordName, kRecordSuffix, S_IRUSR | S_IWUSR, name_));
    if (!file.open()) return errno;
    sys_ = &sys;
    folder_ = std::move(again);
    file_ = std::move(file);
    // A nameless record is named once it is whole, and then put on disk
    // with its name: a crash never leaves half of one.
    const bool nameless = name_.empty();
    int err = Rewrite(record, !nameless);
    if (err == 0 && nameless) {
        err = NameScratchFile(sys, folder_.get(), file_.get(), kRecordName, kRecordSuffix, name_);
        if (err == 0 && sys.Sync(file_.get()) != 0) err = errno;
    }
    if (err != 0) Remove();
    return err;
}

int KeptRecord::Rewrite(const SaveRecord& record, bool sync) {
    const std::string text = RecordText(record);
    if (const int err = WriteWhole(*sys_, file_.get(), text)) return err;
    struct stat status {};
    // A copy's name longer than the one first recorded leaves nothing behind.
    if (sys_->Status(file_.get(), status) != 0) return errno;
    if (status.st_size > static_cast<off_t>(text.size()) &&
        sys_->Truncate(file_.get(), static_cast<off_t>(text.size())) != 0)
        return errno;
    return sync && sys_->Sync(file_.get()) != 0 ? errno : 0;
}

void KeptRecord::Remove() {
    if (!sys_) return;
    (void)file_.Close();
    if (!name_.empty()) (void)sys_->Unlink(folder_.get(), name_);
    sys_ = nullptr;
}

std::vector<FoundRecord> SaveRecords(SystemCalls& sys, std::vector<std::string>* damaged) {
    std::vector<FoundRecord> found;
    int error = 0;
    const Descriptor folder = OpenCopiesFolder(sys, false, error);
    std::vector<std::string> names;
    if (!folder.open() || sys.ListNames(folder.get(), names) != 0) return found;
    for (const std::string& name : names) {
        if (!IsRecordFileName(name, kRecordName)) continue;
        const Descriptor file(sys, sys.OpenAt(folder.get(), name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
        struct stat status {};
        std::string text;
        // Only an ordinary file of his own: his folder is his alone, but a
        // record is trusted no further than that.
        if (!file.open() || sys.Status(file.get(), status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != sys.User())
            continue;
        FoundRecord record{name, {}};
        if (ReadWhole(sys, file.get(), text) == 0 && ParseRecord(text, record.record)) {
            found.push_back(std::move(record));
        } else if (damaged) {
            damaged->push_back(name);
        }
    }
    // In the order of their files, whatever the order of the folder.
    std::sort(found.begin(), found.end(), [](const FoundRecord& a, const FoundRecord& b) {
        return std::tie(a.record.file, a.name) < std::tie(b.record.file, b.name);
    });
    return found;
}

void RemoveSaveRecord(SystemCalls& sys, const std::string& name) {
    int error = 0;
    const Descriptor folder = OpenCopiesFolder(sys, false, error);
    if (folder.open()) (void)sys.Unlink(folder.get(), name);
}

bool SaveRunning(SystemCalls& sys, const SaveRecord& record) {
    return record.pid != sys.ProcessId() && record.boot == sys.BootId() && record.host == sys.HostName() &&
           sys.ProcessRuns(record.pid);
}

}  // namespace lintora
