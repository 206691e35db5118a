#include "platform/disk/scratch_records.h"

#include <cerrno>
#include <sstream>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/disk/copies_folder.h"
#include "platform/disk/record_words.h"
#include "platform/disk/scratch_file.h"

namespace lintora {

namespace {

struct ScratchNote {
    std::string folder;  // path
    std::uint64_t folderDevice = 0, folderInode = 0;
    std::string name;
    std::uint64_t inode = 0;  // 0: not known yet
    pid_t pid = 0;
    std::string boot, host;
};

constexpr char kFirstLine[] = "Lintora scratch record";
constexpr char kRecordName[] = "scratch";


// A record's process runs, or cannot be told not to: another host's, or
// on this boot a process of its id (this one's included, whose scratch
// names go before it looks).
bool MayRun(SystemCalls& sys, const ScratchNote& note) {
    if (note.host != sys.HostName()) return true;
    return note.boot == sys.BootId() && sys.ProcessRuns(note.pid);
}

std::string NoteText(const ScratchNote& n) {
    std::ostringstream out;
    out << kFirstLine << '\n'
        << "folder " << RecordWord(n.folder) << ' ' << n.folderDevice << ' ' << n.folderInode << '\n'
        << "name " << RecordWord(n.name) << ' ' << n.inode << '\n'
        << "process " << n.pid << ' ' << RecordWord(n.boot) << ' ' << RecordWord(n.host) << '\n';
    return out.str();
}

bool ParseNote(const std::string& text, ScratchNote& n) {
    std::istringstream in(text);
    std::string line, key, folder, name, boot, host;
    if (!std::getline(in, line) || line != kFirstLine) return false;
    in >> key >> folder >> n.folderDevice >> n.folderInode;
    if (key != "folder") return false;
    in >> key >> name >> n.inode;
    if (key != "name") return false;
    in >> key >> n.pid >> boot >> host;
    if (key != "process" || in.fail()) return false;
    n.folder = FromRecordWord(folder);
    n.name = FromRecordWord(name);
    n.boot = FromRecordWord(boot);
    n.host = FromRecordWord(host);
    return !n.name.empty() && n.name.find('/') == std::string::npos && n.name != "." && n.name != "..";
}

}  // namespace

ScratchRecord::ScratchRecord(SystemCalls& sys, int folder, std::string folderPath)
    : sys_(sys), folder_(folder), folderPath_(std::move(folderPath)) {}

void ScratchRecord::Note(const std::string& name, std::uint64_t inode) {
    if (!file_.open()) {
        int error = 0;
        state_ = OpenCopiesFolder(sys_, true, error);
        if (!state_.open()) return;
        // Under its name from the start: a record is short enough that each write of it is whole.
        file_ = Descriptor(sys_, MakeNamedScratchFile(sys_, state_.get(), kRecordName, kRecordSuffix,
                                                       S_IRUSR | S_IWUSR, recordName_));
        if (!file_.open()) return;
        written_ = 0;
    }
    ScratchNote note;
    struct stat folder {};
    if (sys_.Status(folder_, folder) == 0) {
        note.folderDevice = static_cast<std::uint64_t>(folder.st_dev);
        note.folderInode = static_cast<std::uint64_t>(folder.st_ino);
    }
    note.folder = folderPath_;
    note.name = name;
    note.inode = inode;
    note.pid = sys_.ProcessId();
    note.boot = sys_.BootId();
    note.host = sys_.HostName();
    const std::string text = NoteText(note);
    if (WriteWhole(sys_, file_.get(), text) != 0) return;
    if (text.size() < written_) (void)sys_.Truncate(file_.get(), static_cast<off_t>(text.size()));
    written_ = text.size();
}

void ScratchRecord::Remove() {
    if (!file_.open()) return;
    (void)file_.Close();
    (void)sys_.Unlink(state_.get(), recordName_);
}

void RemoveLeftScratchFiles(SystemCalls& sys, int folder) {
    struct stat folderStatus {};
    int error = 0;
    const Descriptor state = OpenCopiesFolder(sys, false, error);
    std::vector<std::string> names;
    if (!state.open() || sys.Status(folder, folderStatus) != 0 || sys.ListNames(state.get(), names) != 0) return;
    for (const std::string& recordName : names) {
        if (!IsRecordFileName(recordName, kRecordName)) continue;
        ScratchNote note;
        {
            const Descriptor record(sys, sys.OpenAt(state.get(), recordName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
            struct stat status {};
            std::string text;
            if (!record.open() || sys.Status(record.get(), status) != 0 || !S_ISREG(status.st_mode) ||
                status.st_uid != sys.User() || ReadWhole(sys, record.get(), text) != 0 || !ParseNote(text, note))
                continue;
        }
        // A name the program never gives is never its own scratch file.
        if (!IsScratchName(note.name, ".tmp") ||
            note.folderDevice != static_cast<std::uint64_t>(folderStatus.st_dev) ||
            note.folderInode != static_cast<std::uint64_t>(folderStatus.st_ino) || MayRun(sys, note))
            continue;
        // Only the very file its record names; a name that stands for
        // another file now is left to it.
        const Descriptor scratch(sys, sys.OpenAt(folder, note.name, O_PATH | O_NOFOLLOW));
        struct stat status {};
        if (scratch.open() && note.inode != 0 && sys.Status(scratch.get(), status) == 0 &&
            S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_ino) == note.inode &&
            status.st_dev == folderStatus.st_dev && sys.Unlink(folder, note.name) != 0 && errno != ENOENT)
            continue;  // still there: so is its record
        (void)sys.Unlink(state.get(), recordName);
    }
}

}  // namespace lintora
