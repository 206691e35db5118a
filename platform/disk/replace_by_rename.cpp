// A save by rename (replace_by_rename.h): a new file beside the old one, whole on disk before it takes its name.
#include "platform/disk/replace_by_rename.h"

#include <cerrno>

#include <sys/stat.h>

#include "platform/disk/owners_and_access.h"
#include "platform/disk/scratch_file.h"
#include "platform/disk/save_record.h"

namespace lintora {

namespace {

Replacement Failed(SaveStop stop, int error, bool replacing) {
    return {Replacement::Stopped, Stopped(stop, error, replacing)};
}

}  // namespace

Replacement ReplaceByRename(SystemCalls& sys, const FoundFile& found, const OldFile& old, const std::string& contents) {
    const int folder = found.folder.get();
    const bool replacing = old.fd.open();
    // A replacing file is open to its owner alone until it has the old one's owners and access; a new one gets what the
    // user's umask (or the folder's default access list) leaves of read and write. Where it can, it has no name until
    // it is whole, so that a save that stops leaves nothing behind. A scratch name is recorded before it is given, and
    // the record goes with the name, so that a crash between leaves nothing the next save or open cannot tell as its
    // own.
    ScratchRecord record(sys, found.folderPath);
    const BeforeNaming noting = [&](const std::string& candidate) { record.Note(candidate); };
    std::string name;
    const int made =
        MakeScratchFile(sys, folder, found.name, ".tmp", replacing ? S_IRUSR | S_IWUSR : 0666, name, noting);
    const int madeError = errno;
    Descriptor file(sys, made);
    if (!file.open()) {
        record.Remove();
        if (replacing && (madeError == EACCES || madeError == EPERM)) return {Replacement::WriteInPlace, {}};
        return Failed(SaveStop::MakeNewFile, madeError, replacing);
    }
    // The name goes, and its record with it.
    auto unname = [&] {
        if (name.empty() || sys.Unlink(folder, name) == 0) record.Remove();
    };
    auto drop = [&] {
        (void)file.Close();
        unname();
    };
    if (replacing && !GiveOldFilesAccess(sys, file.get(), old.fd.get(), old.status)) {
        drop();
        return {Replacement::WriteInPlace, {}};
    }
    // On disk before the rename, so that the name never stands for contents still to come.
    if (const int err = WriteWhole(sys, file.get(), contents)) {
        drop();
        return Failed(SaveStop::Write, err, replacing);
    }
    if (sys.Sync(file.get()) != 0) {
        const int err = errno;
        drop();
        return Failed(SaveStop::Sync, err, replacing);
    }
    // Whole: a name to rename over the old one (no file is renamed by its descriptor).
    if (name.empty()) {
        if (const int err = NameScratchFile(sys, folder, file.get(), found.name, ".tmp", name, noting)) {
            name.clear();
            drop();
            return Failed(SaveStop::MakeNewFile, err, replacing);
        }
    }
    if (const int err = file.Close()) {
        unname();
        return Failed(SaveStop::Close, err, replacing);
    }
    if (sys.Rename(folder, name, found.name) != 0) {
        const int err = errno;
        unname();
        return Failed(SaveStop::Rename, err, replacing);
    }
    record.Remove();
    // The new name on disk too; the file is saved even where the folder cannot say so.
    (void)SyncFolder(sys, folder);
    return {};
}

}  // namespace lintora
