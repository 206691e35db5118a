#include "platform/disk/replace_by_rename.h"

#include <cerrno>

#include <sys/stat.h>

#include "platform/disk/owners_and_access.h"
#include "platform/disk/scratch_file.h"

namespace lintora {

SaveResult ReplaceByRename(SystemCalls& sys, const FoundFile& found, const OldFile& old, const std::string& contents,
                           bool& inPlace) {
    const int folder = found.folder.get();
    const bool replacing = old.fd.open();
    // A replacing file is open to its owner alone until it has the old one's
    // owners and access; a new one gets what the user's umask (or the
    // folder's default access list) leaves of read and write.
    std::string name;
    Descriptor file(sys, MakeScratchFile(sys, folder, found.name, ".tmp", replacing ? S_IRUSR | S_IWUSR : 0666, name));
    if (!file.open()) {
        inPlace = replacing && (errno == EACCES || errno == EPERM);
        return inPlace ? SaveResult{} : Stopped(SaveStop::MakeNewFile, errno, replacing);
    }
    auto drop = [&] {
        (void)file.Close();
        (void)sys.Unlink(folder, name);
    };
    if (replacing && !GiveOldFilesAccess(sys, file.get(), old.fd.get(), old.status)) {
        drop();
        inPlace = true;
        return {};
    }
    // On disk before the rename, so that the name never stands for contents still to come.
    if (const int err = WriteWhole(sys, file.get(), contents)) {
        drop();
        return Stopped(SaveStop::Write, err, replacing);
    }
    if (sys.Sync(file.get()) != 0) {
        const int err = errno;
        drop();
        return Stopped(SaveStop::Sync, err, replacing);
    }
    if (const int err = file.Close()) {
        (void)sys.Unlink(folder, name);
        return Stopped(SaveStop::Close, err, replacing);
    }
    if (sys.Rename(folder, name, found.name) != 0) {
        const int err = errno;
        (void)sys.Unlink(folder, name);
        return Stopped(SaveStop::Rename, err, replacing);
    }
    // The new name on disk too; the file is saved even where the folder cannot say so.
    (void)SyncFolder(sys, folder);
    return {};
}

}  // namespace lintora
