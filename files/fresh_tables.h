#pragma once
// The tables a load fills: fresh ones take the work's place while the file
// is read; the work comes back when the load fails, and goes once it is in.
#include <cstdint>
#include <string>

#include "files/file_end.h"

namespace lintora {

class FreshTables {
public:
    // Remembers what the adds and the name parsing of a load change besides the tables.
    FreshTables();
    ~FreshTables() { GiveBack(); }
    FreshTables(const FreshTables&) = delete;
    FreshTables& operator=(const FreshTables&) = delete;
    // Empty tables with the data files' records, in the work's place.
    void SwapIn();
    // The old work back, trees too; nothing once the load is kept.
    void GiveBack() noexcept;
    // The work is the file's from here: the tables are completed, what
    // named the old work is reset and the old work goes.
    void Keep(bool progress, bool rememberedFile, const FirstPage& page);

private:
    bool swapped_ = false, committed_ = false, kept_ = false;
    int32_t lastIndiv_, lastFamil_;
    int16_t pasteSource_;
    std::string surnameCase_;
};

}  // namespace lintora
