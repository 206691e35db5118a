#pragma once
// The words of the program's own records in the user's state folder: a
// text of any bytes as one word ("%" codes for "%", blanks and line ends;
// "-" for no text), and the names the record files go by.
#include <string>
#include <string_view>

namespace lintora {

std::string RecordWord(std::string_view text);
// A damaged code reads as it stands.
std::string FromRecordWord(std::string_view word);

// ".<kind>.<16 hex>.record", as a scratch file is named for kind.
constexpr char kRecordSuffix[] = ".record";
bool IsRecordFileName(std::string_view name, std::string_view kind);

}  // namespace lintora
