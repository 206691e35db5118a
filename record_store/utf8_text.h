#pragma once
// UTF-8 text by characters: walking it, Left and Mid on characters, and
// letter case over ASCII and Latin-1. Every character helper of the program
// lives here. Broken text (a stray continuation byte) counts a character
// per stray byte, so no walk ever stalls or splits a sequence.
#include <cstddef>
#include <string>
#include <string_view>

namespace lintora {

// Byte length of the character starting at s[i] (0 past the end).
std::size_t Utf8CharSize(std::string_view s, std::size_t i);
// Number of characters in s.
std::size_t Utf8Length(std::string_view s);
// The first n characters of s.
std::string Utf8Left(std::string_view s, std::size_t n);
// Their length in bytes.
std::size_t Utf8LeftSize(std::string_view s, std::size_t n);
// Up to n characters of s from the 1-based character position pos.
std::string Utf8Mid(std::string_view s, std::size_t pos, std::size_t n = std::string_view::npos);

// Letter case over ASCII and the Latin-1 letters (é and É are a pair); every
// other character is left as it is.
std::string UpperCase(std::string_view s);
// True when UpperCase would change s (it holds a small letter).
bool HasSmallLetter(std::string_view s);
std::string LowerCase(std::string_view s);
// A letter at the start or after a blank, tab or line break in capitals,
// every other letter small.
std::string ProperCase(std::string_view s);
// True when the first character of s is a small letter (changes when
// upper-cased).
bool StartsLowerCase(std::string_view s);

// The base letters, in capitals, of one character given as its UTF-8 form:
// an ASCII letter, or an accented Latin-1 or Latin Extended-A letter (é as
// "E", ő as "O", ß as "SS", Æ as "AE"); "" for any other character.
std::string_view BaseLetterOf(std::string_view ch);
// The text in capitals with its accents aside ("Kovács" as "KOVACS");
// characters that are no such letter stay as they are.
std::string BaseLetters(std::string_view s);

}  // namespace lintora
