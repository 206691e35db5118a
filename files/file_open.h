#pragma once
// The names a file may not bear, and the file errors told in the words of
// the old file layer's error numbers.
#include <cstdint>
#include <string>

namespace lintora {

// FileErrors results.
inline constexpr int16_t kFileRetry = 0;
inline constexpr int16_t kFileSkip = 1;
inline constexpr int16_t kFileGiveUp = 2;
inline constexpr int16_t kFileUnknown = 3;

// Shows the message for a file error number in a "File Error" box and
// turns the answer into kFileRetry, kFileSkip or kFileGiveUp; kFileUnknown
// (without a message) for a number it does not know.
int16_t FileErrors(int16_t errorNumber);
// True for a file name (the last part of name, not its folders) holding a
// character the program refuses; a file saved under such a name could not
// be opened again.
bool RefusedName(const std::string& name);

}  // namespace lintora
