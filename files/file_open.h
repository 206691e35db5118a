#pragma once
// Checked opening of every file the program reads or writes. A file is
// known by a small file number (0 = nothing open); OpenedFile gives its
// stream and CloseFile ends it. Open failures are explained to the user by
// FileErrors, in the words of the old file layer's error numbers.
#include <cstdint>
#include <cstdio>
#include <string>

namespace lintora {

// Open modes.
inline constexpr int16_t kOpenOutput = 1;  // create or truncate; may ask before replacing
inline constexpr int16_t kOpenInput = 2;
inline constexpr int16_t kOpenAppend = 3;
inline constexpr int16_t kOpenRandom = 4;
inline constexpr int16_t kOpenBinary = 5;

// FileErrors results.
inline constexpr int16_t kFileRetry = 0;
inline constexpr int16_t kFileSkip = 1;
inline constexpr int16_t kFileGiveUp = 2;
inline constexpr int16_t kFileUnknown = 3;

// Opens name in mode; returns its file number, or 0 when nothing was opened
// (refused name, Cancel at the replace question, an open that failed). With
// replaceCheck on, mode 1 asks "Replace contents of <name>?" before an
// existing file is truncated. When error is given it receives the number
// of a failure that FileErrors had no message for (0 otherwise), so that
// the caller can explain it.
int16_t OpenFileChecked(const std::string& name, int16_t mode, int16_t recordLength,
                        bool replaceCheck, int16_t* error = nullptr);

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

// The file error number for a system error (errno) met while opening in mode.
int16_t FileErrorNumber(int systemError, int16_t mode);

}  // namespace lintora
