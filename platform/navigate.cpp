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
    std::string problem =
        IsWebAddress(address) ? Port().OpenAddress(address) : "Only http and https web addresses are opened.";
    if (problem.empty()) return true;
    // The reason on its own line: the address alone reads as if it were wrong.
    ShowProblem("Problem with navigation parms: " + address + "\n" + problem);
    return false;
}

}  // namespace lintora
