#include "record_store/work_tables.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace lintora {

namespace {

// The capacity-sized tables, each with its count: the one list the in-use
// copy walks. Everything of WorkTableCounts is copied whole; a capacity-sized
// table added to WorkTables is listed here.
template <typename F>
void ForEachRecordTable(F&& f) {
    f(&WorkTables::Indiv, &WorkTableCounts::IndivCount);
    f(&WorkTables::Famil, &WorkTableCounts::FamilCount);
    f(&WorkTables::Notes, &WorkTableCounts::NotesCount);
}

// Entries 0..count, within size.
std::size_t InUse(int32_t count, std::size_t size) {
    return std::min(static_cast<std::size_t>(std::max(count, 0)) + 1, size);
}

}  // namespace

WorkTables::WorkTables() : Indiv(kMaxIndiv + 1), Famil(kMaxFamil + 1), Notes(kMaxNotes + 1) {}

void WorkTables::CopyInUse(const WorkTables& from) {
    ForEachRecordTable([&](auto table, auto count) {
        const auto& in = from.*table;
        auto& to = this->*table;
        using Rec = typename std::decay_t<decltype(to)>::value_type;
        const std::size_t end = InUse(this->*count, to.size());
        if (to.size() < in.size()) to.resize(in.size());
        const std::size_t n = InUse(from.*count, in.size());
        std::copy(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n), to.begin());
        for (std::size_t k = n; k < end; ++k) to[k] = Rec{};
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

void WorkTables::Empty() { static_cast<WorkTableCounts&>(*this) = WorkTableCounts{}; }

}  // namespace lintora
