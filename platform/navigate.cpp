#include "platform/navigate.h"

#include <algorithm>
#include <vector>

#include "platform/platform.h"

namespace lintora {

namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// The opens started and not yet ended, with the window that asked.
struct PendingOpen {
    std::string address;
    const void* asker;
    bool operator==(const PendingOpen&) const = default;
};

std::vector<PendingOpen>& Pending() {
    static std::vector<PendingOpen> pending;
    return pending;
}

void Forget(const PendingOpen& open) {
    auto& pending = Pending();
    if (auto it = std::find(pending.begin(), pending.end(), open); it != pending.end()) pending.erase(it);
}

// The reason on its own line: the address alone reads as if it were wrong.
void ReportProblem(const std::string& address, const std::string& problem) {
    ShowProblem("Problem with navigation parms: " + address + "\n" + problem);
}

}  // namespace

bool IsWebAddress(std::string_view address) {
    std::size_t rest = 0;
    if (StartsWithNoCase(address, "https://")) rest = 8;
    else if (StartsWithNoCase(address, "http://")) rest = 7;
    else return false;
    // A host must follow; "http:///x" and "http://?" name none.
    if (rest >= address.size() || address[rest] == '/' || address[rest] == '?' || address[rest] == '#')
        return false;
    for (unsigned char c : address)
        if (c <= ' ' || c == 0x7F) return false;
    return true;
}

bool NavigateTo(const std::string& address) {
    if (address.empty()) return false;
    if (!IsWebAddress(address)) {
        ReportProblem(address, "Only http and https web addresses are opened.");
        return false;
    }
    const PendingOpen open{address, CurrentAsker()};
    // A second press while the same window's open of the same address is
    // still starting (a double-click) opens nothing more.
    if (std::find(Pending().begin(), Pending().end(), open) != Pending().end()) return true;
    Pending().push_back(open);
    const std::string problem = Port().OpenAddress(address, [open](const std::string& failure) {
        Forget(open);
        if (!failure.empty()) ReportProblem(open.address, failure);
    });
    if (problem.empty()) return true;
    Forget(open);
    ReportProblem(address, problem);
    return false;
}

}  // namespace lintora
