#pragma once
// Entries of a page beyond the room of the page scratch record (parent
// sets, spouses, children) are skipped; the page reports them once, with
// their number, after it is read.
#include <string>

namespace lintora {

class SkippedEntries {
public:
    void Add() { ++count_; }
    [[nodiscard]] int Count() const { return count_; }
    // One information box naming what was skipped ("spouses or children"),
    // shown only when something was.
    void Report(const std::string& what = "parents, spouses or children") const;

private:
    int count_ = 0;
};

}  // namespace lintora
