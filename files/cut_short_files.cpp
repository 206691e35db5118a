#include "files/cut_short_files.h"

#include <algorithm>

#include "record_store/program_state.h"

namespace lintora {

namespace {

CutShortFile CutShortKey(const FileStamp& file) { return {file.device, file.inode, file.size, file.modified}; }

}  // namespace

void RememberCutShort(const FileStamp& file) {
    if (!IsCutShort(file)) g.CutShortFiles.push_back(CutShortKey(file));
}

bool IsCutShort(const FileStamp& file) {
    return file.exists && std::ranges::find(g.CutShortFiles, CutShortKey(file)) != g.CutShortFiles.end();
}

void ForgetCutShort(const FileStamp& file) { std::erase(g.CutShortFiles, CutShortKey(file)); }

}  // namespace lintora
