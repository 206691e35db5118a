#include "files/unfinished_save.h"

#include <algorithm>
#include <filesystem>

#include "platform/platform.h"

namespace lintora {

UnfinishedSave::UnfinishedSave(const std::string& path)
    : name_(std::filesystem::path(path).filename().string()), copies_(FindEarlierCopies(path)) {}

bool UnfinishedSave::Running() const {
    return std::any_of(copies_.begin(), copies_.end(), [](const FoundCopy& copy) { return copy.locked; });
}

void UnfinishedSave::TellRunning() const {
    ShowProblem(name_ + " is being saved by another copy of the program. Open it again when that save has finished.");
}

bool UnfinishedSave::TellStopped(bool whole) const {
    if (copies_.empty()) return false;
    if (whole) {
        for (const FoundCopy& copy : copies_) RemoveEarlierCopy(copy.path);
        return false;
    }
    std::string where;
    for (std::size_t k = 0; k < copies_.size(); ++k)
        where += (k == 0 ? "" : k + 1 == copies_.size() ? " and " : ", ") + copies_[k].path;
    ShowProblem(name_ + " was being saved when the program stopped. Its earlier contents are kept in " + where + ".");
    return true;
}

}  // namespace lintora
