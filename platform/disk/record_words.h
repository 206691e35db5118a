#pragma once
// The words of the program's own records in the user's state folder: a
// text of any bytes as one word ("%" codes for "%", blanks, line ends and
// every other control byte; "-" for no text), and the names the records
// and their folders go by.
#include <string>
#include <string_view>

namespace lintora {

std::string RecordWord(std::string_view text);
// A damaged code reads as it stands.
std::string FromRecordWord(std::string_view word);

// ".<kind>.<16 hex>.record", as a scratch file is named for kind.
constexpr char kRecordSuffix[] = ".record";
bool IsRecordFileName(std::string_view name, std::string_view kind);

// The folder of the state folder that holds the records of the saves of
// files in folderPath: ".records-" and 16 hex digits of a hash of the path,
// so that a save or an open finds its own without a look at the others.
constexpr char kRecordsFolderPrefix[] = ".records-";
std::string RecordsFolderName(std::string_view folderPath);

}  // namespace lintora
