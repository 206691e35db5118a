// The words for what platform/disk returns of a save or a read that stopped.
#include "files/save_words.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/disk/copies_folder.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

// Why a step of a save failed with error err, as the user would say it
// ("the disk is full"); a refusal names what refused, the folder or the file.
std::string WhyNotSaved(SaveStop stop, int err) {
    if (err == EACCES || err == EPERM) {
        switch (stop) {
            case SaveStop::Unreachable: return "a folder on the way to it does not let you in";
            case SaveStop::MakeNewFile:
            case SaveStop::Record:
            case SaveStop::MakeCopy: return "the folder does not let you create files";
            case SaveStop::Rename: return "the file does not let you replace it";
            case SaveStop::ReadFile:
                return "the file lets you write it but not read it, and what it holds is read first, to be kept "
                       "in a copy until it is written";
            default: return "the file does not let you change it";
        }
    }
    // A file system that cannot put a file on disk on demand (EINVAL) gave
    // no word that it is there.
    if (err == EINVAL && (stop == SaveStop::Sync || stop == SaveStop::Cut))
        return "the disk did not confirm that it holds the file";
    if (err == EINVAL && stop == SaveStop::Record) return "the disk did not confirm that it holds the record";
    switch (err) {
        case ENOSPC: return "the disk is full";
#ifdef EDQUOT
        case EDQUOT: return "your disk quota is used up";
#endif
        case EIO: return "the disk reported an error";
        case EROFS: return "the disk is read-only";
        case EFBIG: return "the file would be larger than the disk allows";
        case ENOENT:
        case ENOTDIR: return "its folder does not exist";
        case ELOOP: return "the links on the way to it are too many, or go round in a circle";
        case ENAMETOOLONG: return "its name is too long for the folder";
        case EEXIST: return "no free name for a new file was found in its folder";
        case EMFILE:
        case ENFILE: return "too many files are open";
        case EWOULDBLOCK: return "another copy of the program is saving or reading it";
        default: {
            std::string text = std::strerror(err);
            if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
            return text;
        }
    }
}

// The state folder of another user, and how the user makes it his again.
std::string NotYourFolder(const std::string& folder, uid_t user) {
    return "the folder belongs to another user: give it back to yourself (sudo chown -R " + UserName(user) + " " +
           folder + ") or remove it";
}

// Why the user's own folder for copies and records could not be had: a
// folder missing on the way means that it could not be made.
std::string WhyNoCopiesFolder(int err, const SaveResult& result) {
    if (err == kNotYourFolder) return NotYourFolder(result.copyFolder, result.user);
    if (err == ENOENT || err == ENOTDIR) return "that folder of yours cannot be made or written";
    // Looked at without following a link: one there may lead to anyone's folder.
    if (err == ELOOP) return "it is a link; records are kept only in a folder of your own: remove the link";
    return WhyNotSaved(result.stop, err);
}

}  // namespace

std::string UserName(uid_t uid, SystemCalls& sys) {
    const std::string name = sys.UserNameOf(uid);
    return name.empty() ? "user " + std::to_string(uid) : name;
}

std::string NotSavedText(const std::string& path, const SaveResult& result) {
    const std::string name = fs::path(path).filename().string();
    switch (result.stop) {
        case SaveStop::None: return {};
        case SaveStop::LinkRefused:
            return result.link + " is a link of " + UserName(result.linkOwner) + " in the shared folder " +
                   fs::path(result.link).parent_path().string() +
                   ", where a save follows only your own links and those of the folder's owner.";
        case SaveStop::Folder: return path + " is a folder";
        case SaveStop::NotOrdinary: return path + " is not an ordinary file";
        case SaveStop::ReadOnly: return path + " is read-only";
        case SaveStop::Replaced: return name + " was not saved: another file took its place while it was being saved.";
        case SaveStop::OtherSave:
            return name + " was not saved: another save of it is running. The file is as it was; save again when "
                          "that save has finished.";
        case SaveStop::HeldOpen:
            return name + " was not saved: another program holds it open. The file is as it was.";
        case SaveStop::BeingRead:
            return name + " was not saved: another program or user is reading it. The file is as it was.";
        case SaveStop::Overtaken:
            return name + " was not saved: another save replaced the file while this one ran, so your work is not in "
                          "it. Your work is still here; save it again to keep it.";
        case SaveStop::Mixed:
            return name + " was not saved: another save wrote the file while this one ran, so it may now hold that "
                          "save's work, not yours. Its earlier contents are kept in " + result.copy +
                   ". Your work is still here; save it again to keep it.";
        case SaveStop::Record:
            return name + " was not saved: its save could not be recorded in " + result.copyFolder + " (" +
                   WhyNoCopiesFolder(result.error, result) + "). The file is as it was.";
        default: break;
    }
    std::string why = WhyNotSaved(result.stop, result.error);
    if (!result.copyFolder.empty())
        why += ", and its earlier contents could not be kept in " + result.copyFolder + " either (" +
               WhyNoCopiesFolder(result.copyFolderError, result) + ")";
    if (!result.asItWas)
        return name + " was not saved: " + why +
               ", and putting its earlier contents back failed too: they are kept in " + result.copy +
               ". You may delete that copy once you have checked the file.";
    return name + " was not saved: " + why + "." + (result.wasThere ? " The file is as it was." : "");
}

std::string WhyNotRead(const LoadResult& result) {
    switch (result.stop) {
        case LoadStop::None: return {};
        case LoadStop::NoFile: return "there is no such file";
        case LoadStop::FolderMissing: return "its folder " + result.where + " is not there";
        case LoadStop::FolderClosed: return "you may not open its folder " + result.where;
        case LoadStop::LinkToNothing: return "it is a link to " + result.where + ", which is not there";
        case LoadStop::Folder: return "it is a folder";
        case LoadStop::NotOrdinary: return "it is not an ordinary file";
        case LoadStop::Replaced: return "another file took its place while it was being opened";
        case LoadStop::SaveRunning: return "another copy of the program is saving it";
        case LoadStop::Locked:
            return "another program holds it locked" +
                   (result.holder ? " (process " + std::to_string(result.holder) + ")" : std::string());
        default: return std::strerror(result.error);
    }
}

std::string SettingsProblemText(const SettingsProblem& problem) {
    if (!problem.read.read()) return problem.path + " cannot be read: " + WhyNotRead(problem.read);
    if (problem.folderError)
        return "cannot create " + problem.folder + ": " + std::strerror(problem.folderError);
    return NotSavedText(problem.path, problem.saved);
}

}  // namespace lintora
