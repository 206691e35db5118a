#pragma once
// Copies of a file's earlier contents, kept while the file is written in place: beside it as "family (earlier
// contents).lnt" (" 2", " 3" and on where that name is taken), or, where its folder takes no new files, in the user's
// own folder for them as "family from ∕home∕jane∕trees (earlier contents).lnt". Each is known by the record of its
// save, never by its name: a file of that name that no record names is no copy of the program.
#include <string>

#include "platform/disk/copies_folder.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_record.h"
#include "platform/disk/save_result.h"
#include "platform/disk/system_calls.h"

namespace lintora {

// A copy kept while its file is written, and the record of its save.
class EarlierCopy {
public:
    EarlierCopy() = default;
    EarlierCopy(SystemCalls& sys, Descriptor folder, std::string path, std::string name, SaveRecord record,
                KeptRecord kept);
    const std::string& path() const { return path_; }
    // Once the file is cleared: its stamp then goes into the record, which is not put on disk again for it.
    void FileCleared(const struct stat& status);
    // Once the file is written and on disk: the copy goes, then its record.
    void Remove();
    // When it holds the only earlier contents left: it stays, the user's own once he is told of it. Its record says so
    // (and, where overtaken, that another save wrote the file meanwhile), and still offers it back at the next open;
    // nothing then removes the copy.
    void Keep(bool overtaken = false);

private:
    SystemCalls* sys_ = nullptr;
    Descriptor folder_;
    std::string path_, name_;
    SaveRecord record_;
    KeptRecord kept_;
};

// Keeps before, the earlier contents of the file found (old), in a copy written and on disk, given the file's access,
// then recorded with what is to be written over the file (contents) in the user's folder for copies, and only then
// given its name, never over another file's.
SaveResult KeepEarlierContents(SystemCalls& sys, const FoundFile& found, const OldFile& old,
                               const std::string& before, const std::string& contents, EarlierCopy& copy);

}  // namespace lintora
