#pragma once
// Copies of a file's earlier contents, kept while the file is written in
// place: beside it as "family (earlier contents).lnt" (" 2", " 3" and on
// where that name is taken), or, where its folder takes no new files, in
// the user's own folder for them as "family from ∕home∕jane∕trees (earlier
// contents).lnt". A copy is locked while its save runs; one left unlocked
// is that of a save that stopped, or that finished just before removing it.
#include <string>
#include <vector>

#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_result.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// The user's own folder for copies: $XDG_STATE_HOME/Lintora (default
// ~/.local/state), open to him alone.
std::string CopiesFolder();

// A copy kept while its file is written.
class EarlierCopy {
public:
    EarlierCopy() = default;
    EarlierCopy(SystemCalls& sys, Descriptor folder, Descriptor file, std::string path, std::string name);
    const std::string& path() const { return path_; }
    // Once the file is written and on disk: the copy goes, and its lock.
    void Remove();
    // When it holds the only earlier contents left: it stays, unlocked.
    void Keep() { (void)file_.Close(); }

private:
    SystemCalls* sys_ = nullptr;
    Descriptor folder_, file_;
    std::string path_, name_;
};

// Keeps before, the earlier contents of the file found (old), in a copy:
// written and on disk, given the file's access, locked, and only then given
// its name, never over another file's.
SaveResult KeepEarlierContents(SystemCalls& sys, const FoundFile& found, const OldFile& old,
                               const std::string& before, EarlierCopy& copy);

struct FoundCopy {
    std::string path;
    bool locked = false;  // its save is running
};
// The copies of the file at path, beside it and in the user's folder.
std::vector<FoundCopy> FindEarlierCopies(const std::string& path);
// Removes a copy whose save is not running.
void RemoveEarlierCopy(const std::string& path);

}  // namespace lintora
