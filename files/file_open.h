#pragma once
// Checked opening of a file to read it: its own name must hold no sign the
// program refuses, and only an ordinary file is opened, never waited on (a
// pipe or a device put where the file was is refused at once). An open
// file is known by a small file number (0 = nothing open); OpenedFile gives
// its stream and CloseFile ends it. The failures the user can act on are
// told by FileErrors, in the words of the old file layer's error numbers;
// the others go back to the caller to word.
#include <cstdint>
#include <cstdio>
#include <string>

namespace lintora {

// FileErrors results.
inline constexpr int16_t kFileRetry = 0;
inline constexpr int16_t kFileSkip = 1;
inline constexpr int16_t kFileGiveUp = 2;
inline constexpr int16_t kFileUnknown = 3;

// Opens name for reading; returns its file number, or 0 when nothing was
// opened (a refused name, an open that failed, no ordinary file). When
// error is given it receives the number of a failure that FileErrors had no
// message for (0 otherwise), so that the caller can explain it.
int16_t OpenFileChecked(const std::string& name, int16_t* error = nullptr);

// Shows the message for a file error number in a "File Error" box and
// turns the answer into kFileRetry, kFileSkip or kFileGiveUp; kFileUnknown
// (without a message) for a number it does not know.
int16_t FileErrors(int16_t errorNumber);
// True for a file name (the last part of name, not its folders) holding a
// character the checked opening refuses; a file saved under such a name
// could not be opened again.
bool RefusedName(const std::string& name);

// The stream of an open file number; nullptr when that number is not open.
std::FILE* OpenedFile(int16_t fileNo);
// Closes an open file number; false when the close (the final flush) failed.
bool CloseFile(int16_t fileNo);

// The file error number for a system error (errno) met while opening a file
// to read it.
int16_t FileErrorNumber(int systemError);

}  // namespace lintora
