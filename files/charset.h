#pragma once
// Character sets of the files the program reads and writes. Text inside the
// program is UTF-8; GEDCOM files are written in ANSEL (in UTF-8 when ANSEL
// cannot hold their letters) and may be read in ANSEL, UTF-8, UTF-16, code
// page 437 (DOS files) or (older files) Windows-1252.
#include <cstdint>
#include <string>
#include <string_view>

namespace lintora {

// UTF-8 to ANSEL. Accented letters become their combining marks followed by
// the base letter; a few typographic marks, ligatures of two letters and
// blanks ANSEL lacks (curly quotes, dashes, the ellipsis, "IJ", the
// no-break space, the soft hyphen) are spelt in ASCII. Text holding what
// SpellInAnsel finds lost loses it ("?" for a letter) or is spelt in a way
// readers garble (several marks): such text is written in UTF-8 instead.
// Invalid UTF-8 bytes are read as Windows-1252 first.
std::string Utf8ToAnsel(std::string_view utf8);

// True when every character of the text is its own ANSEL letter, which an
// ANSEL file gives back as it stands: the letters of most names and places.
bool AnselGivesBack(std::string_view utf8);

// A text as an ANSEL file holds it (a field's text with no blanks at its
// ends).
struct AnselSpelling {
    // What a reader gets back (UTF-8), and its length in characters.
    std::string text;
    std::size_t length = 0;
    // The first letter, with its marks, that no ANSEL file gives back
    // wherever it stands: a letter of another script (Cyrillic, Greek,
    // Chinese), one without an ANSEL form, a mark ANSEL lacks or that no
    // letter carries, two or more marks on a letter ("ễ", "ǚ"), a mark on one
    // of ANSEL's own letters ("ứ", "ǿ"), or one whose ANSEL form would come
    // back as another letter (Ð as Đ) or in other bytes (an "e" with a
    // combining acute as the one letter "é").
    // Only the few ASCII spellings stand for what they spell.
    std::string lost;
    // The first letter that leaves a blank at an end, where a reader trims
    // it away (a no-break space; a soft hyphen beside a blank).
    std::string atEnd;
    // The first letter spelt in several characters ("…" as "..."), which
    // loses the text's end where the spelling does not fit its field.
    std::string grown;
    // The first letter that an ANSEL file would not give back in a field of
    // width characters; empty when ANSEL keeps the text.
    const std::string& NotKept(std::size_t width) const {
        static const std::string none;
        return !lost.empty() ? lost : !atEnd.empty() ? atEnd : TooLong(width) ? grown : none;
    }
    // True when only the length of the spelling loses the text.
    bool TooLong(std::size_t width) const { return lost.empty() && atEnd.empty() && length > width; }
};
AnselSpelling SpellInAnsel(std::string_view utf8);

// A letter as a message names it: in quotes ("И"), or, for a blank or format
// sign of U+2000-U+200F, U+2028-U+202F or U+205F-U+206F, which quoted reads
// as nothing, by its code point and Unicode name ("U+200B ZERO WIDTH SPACE";
// the code point alone where no character is assigned).
std::string NamedSign(std::string_view letter);

// ANSEL to UTF-8. Combining marks (which stand before their letter in ANSEL)
// are put after it and composed with it where Unicode has a precomposed
// letter; codes ANSEL does not define become U+FFFD.
std::string AnselToUtf8(std::string_view ansel);
// The same, added at the end of out.
void AppendAnselAsUtf8(std::string& out, std::string_view ansel);

// Where the letter that begins at pos ends in ANSEL text: after the marks
// that stand before it and its own byte.
std::size_t AnselLetterEnd(std::string_view ansel, std::size_t pos);

// Windows-1252 to UTF-8; the five undefined codes keep their C1 values.
std::string Windows1252ToUtf8(std::string_view bytes);

// Code page 437 (DOS) to UTF-8; bytes below 0x80 are ASCII, control
// characters included.
std::string Cp437ToUtf8(std::string_view bytes);

// UTF-16 to UTF-8. A byte-order mark picks the byte order and is dropped;
// without one bigEndian says which. Unpaired surrogates and a lone last
// byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian = false);

// The byte order of UTF-16 text that has no byte-order mark, told from the
// zero bytes of its first characters ("0\0 \0H\0" little-endian): 'L', 'B',
// or 0 when the bytes do not look like UTF-16.
char Utf16WithoutMark(std::string_view bytes);

// True when s is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view s);

// UTF-8 as it stands when valid, else read as Windows-1252.
std::string ToUtf8(std::string_view bytes);
// Valid UTF-8 sequences kept, each other byte read as Windows-1252.
std::string Utf8Repaired(std::string_view bytes);
// Where the character at pos ends as Utf8Repaired reads s from pos: after
// its valid sequence, else after its one byte.
std::size_t Utf8CharEnd(std::string_view s, std::size_t pos);

// One code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace lintora
