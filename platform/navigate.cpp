#include "platform/navigate.h"

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
    // A second press while the same window's open of the same address is
    // still starting (a double-click) opens nothing more.
    for (const Platform::PendingOpen& open : Port().PendingOpens())
        if (open.address == address && open.asker == CurrentAsker()) return true;
    const std::string problem = Port().OpenAddress(address, [address](const std::string& failure) {
        if (!failure.empty()) ReportProblem(address, failure);
    });
    if (problem.empty()) return true;
    ReportProblem(address, problem);
    return false;
}

}  // namespace lintora
