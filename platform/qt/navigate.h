#pragma once
// Opening a web address in the user's browser: only http and https
// addresses, handed to xdg-open as one argument, never through a shell.
#include <functional>
#include <string>
#include <vector>

namespace lintora {

// Starts a program detached; true when it could be started.
using ProgramLauncher = std::function<bool(const std::string& program, const std::vector<std::string>& args)>;

// Replaces the launcher (tests watch what would be started); an empty one
// goes back to starting the real program.
void SetProgramLauncher(ProgramLauncher launcher);

// True for an address that may be opened: http:// or https:// (any case)
// followed by a host, without blanks or control characters.
bool OpenableAddress(const std::string& target);

// Opens target in the browser. A refused address or a browser that cannot
// be started gives "Problem with navigation parms: " and the address.
void NavigateTo(std::string target);

}  // namespace lintora
