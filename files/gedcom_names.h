#pragma once
// A person's name as the GEDCOM reader takes it: the NAME line with its
// slashes, and the part lines below it (GIVN, SURN, SPFX, NPFX, NSFX, NICK,
// TITL, _DSP), into the name fields of one individual.
#include <string>
#include <string_view>

#include "record_store/records.h"

namespace lintora {

// What the reader knows of the current name, from line to line.
struct GedName {
    // Whether the NAME line has slashes, the text before its opening slash
    // (all of it when it has none), between its slashes and after its
    // closing one; the given names of its GIVN line (else the NAME line's);
    // the surname of its SURN line (else the NAME line's) and the prefix of
    // its SPFX line; whether part lines (GIVN, SURN, ...), an NSFX line, a
    // GIVN line, a SURN or SPFX line, a SURN line or a TITL line have given
    // parts.
    bool nameSlashes = false;
    std::string nameLine;  // the NAME value as written
    std::string nameBeforeSlashes, slashText, nameAfterSlashes;
    std::string givenBase;
    std::string surnameBase, surnamePrefix;
    bool namePartLines = false;
    bool suffixFromLine = false;
    bool givenFromLine = false;
    bool surnameFromLine = false;
    bool surnLine = false;
    bool titleFromLine = false;
    // The name as shown, from the _DSP line; empty when there is none.
    std::string shown;
};

// The lines that give a part of the name.
enum class NamePart { Title, Prefix, Suffix, Nick, Given, Surname, SurnamePrefix, Shown };

// A new individual: nothing of a name read so far counts.
void StartIndividualName(GedName& name);
// "1 NAME value": the name and its parts afresh (a title from a TITL line stays).
void ReadNameLine(GedName& name, IndivRec& R, const std::string& value);
// A line that gives one part of the current name; value is trimmed.
void ReadNamePart(GedName& name, IndivRec& R, NamePart part, const std::string& value);

// The name shown that a reader makes of the parts where no _DSP line gives
// it: each part trimmed, a slash in it read as a blank.
std::string ShownName(std::string_view given, std::string_view surname, std::string_view suffix);

}  // namespace lintora
