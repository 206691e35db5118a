#include "record_store/work_tables.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace lintora {

namespace {

// The record tables, each with its count: the one list the in-use copy
// walks. Everything of WorkTableCounts is copied whole; a record table
// added to WorkTables is listed here.
template <typename F>
void ForEachRecordTable(F&& f) {
    f(&WorkTables::Indiv, &WorkTableCounts::IndivCount);
    f(&WorkTables::Famil, &WorkTableCounts::FamilCount);
    f(&WorkTables::Notes, &WorkTableCounts::NotesCount);
}

}  // namespace

void WorkTables::CopyInUse(const WorkTables& from) {
    ForEachRecordTable([&](auto table, auto count) {
        (this->*table).CopyFirst(from.*table, static_cast<std::size_t>(std::max(from.*count, 0)));
    });
    static_cast<WorkTableCounts&>(*this) = from;
}

bool WorkTables::CountsFit() const {
    bool fit = true;
    ForEachRecordTable([&](auto table, auto count) {
        fit = fit && this->*count >= 0 && static_cast<std::size_t>(this->*count) < (this->*table).size();
    });
    return fit && SourceCount >= 0 && static_cast<std::size_t>(SourceCount) < Source.size() &&
           GedSourceCount >= 0 && static_cast<std::size_t>(GedSourceCount) < GedSource.size() &&
           RepositoryCount >= 0 && static_cast<std::size_t>(RepositoryCount) < Repository.size() &&
           GedRepositoryCount >= 0 && static_cast<std::size_t>(GedRepositoryCount) < GedRepository.size();
}

void WorkTables::Empty() {
    static_cast<WorkTableCounts&>(*this) = WorkTableCounts{};
    ForEachRecordTable([&](auto table, auto) { (this->*table).Empty(); });
}

void WorkTables::DropCitation(int32_t source) {
    if (source <= 0 || source > SourceCount || source >= static_cast<int32_t>(Source.size())) return;
    SourceRec& s = Source[source];
    if (s.sCitations > 0) --s.sCitations;
    const int32_t r = s.sRepos;
    if (r > 0 && r <= RepositoryCount && r < static_cast<int32_t>(Repository.size()) && Repository[r].rCitations > 0)
        --Repository[r].rCitations;
}

}  // namespace lintora
