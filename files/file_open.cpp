#include "files/file_open.h"

#include <filesystem>

#include "platform/platform.h"

namespace lintora {

int16_t FileErrors(int16_t errorNumber) {
    MsgButtons buttons = MsgButtons::Ok;
    std::string text;
    switch (errorNumber) {
        case 52: text = "That filename is illegal.52"; break;
        case 54: text = "Can't open your file for that type of access."; break;
        case 55: text = "That file is already open."; break;
        case 57: text = "The disk is full."; break;
        case 62:
            text = std::string("This file has a nonstandard end-of-file marker,") +
                   "or an attempt was made to read beyond " + "the end-of-file marker.";
            break;
        case 64: text = "That filename is illegal.64"; break;
        case 68:
            text = "That device appears to be unavailable.";
            buttons = MsgButtons::RetryCancel;
            break;
        case 71: text = "The disk is not ready."; break;
        case 76: text = "That path doesn't exist."; break;
        default: return kFileUnknown;
    }
    switch (MsgBox(text, buttons, MsgIcon::Exclamation, "File Error")) {
        case MsgResult::Ok:
        case MsgResult::Cancel: return kFileGiveUp;
        case MsgResult::Retry: return kFileRetry;
        default: return kFileUnknown;
    }
}

// Wildcard and reserved characters: ";" to "?" (";<=>?"), "[", "*" and "]",
// in the file's own name; its folders are the user's, taken as they are.
bool RefusedName(const std::string& name) {
    for (char c : std::filesystem::path(name).filename().string())
        if ((c >= ';' && c <= '?') || c == '[' || c == '*' || c == ']') return true;
    return false;
}

}  // namespace lintora
