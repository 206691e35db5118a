#pragma once
// The program's only way out to the web: an address handed to the user's
// browser through the platform port.
#include <string>
#include <string_view>

namespace lintora {

// True for an address that may be opened: "http://" or "https://" (any
// case) and a host, with no blank or control character anywhere.
bool IsWebAddress(std::string_view address);

// Opens a web address in the user's browser and does not wait for it. An
// empty address opens nothing. Any other address that is not http or https
// is refused, and a refused address or a browser that cannot be started, or
// that fails later, is reported ("Problem with navigation parms: " and the
// address, then the reason on a line of its own); a later failure in the
// window that asked (the AskingWindow at the call) while it is still shown.
// Returns true when the browser was started, or is still being started on
// that address for the same window (that open is not repeated).
bool NavigateTo(const std::string& address);

}  // namespace lintora
