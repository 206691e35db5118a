#pragma once
// A person's name as the GEDCOM reader takes it: the NAME line with its
// slashes, and the part lines below it (GIVN, SURN, SPFX, NPFX, NSFX, NICK,
// TITL, and the work file's _DSP), into the name fields of one individual;
// and the NAME line a save writes so that a reader gets the name back.
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
    // The surname as the NAME line's slashes write it in the name shown, a
    // missing prefix and a SURN line's slashes put in; the part itself is
    // the SURN line's spelling where that names the same words.
    std::string shownSurname;
    std::string givenBase;
    std::string surnameBase, surnamePrefix;
    bool namePartLines = false;
    bool suffixFromLine = false;
    bool givenFromLine = false;
    bool surnameFromLine = false;
    bool surnLine = false;
    bool titleFromLine = false;
    // The name as shown, from a work file's _DSP line; empty when there is none.
    std::string shown;
    // Where the NAME line's surname slashes stand, and whether the GIVN and
    // SURN lines chose them among more.
    std::size_t open = 0, close = 0;
    bool slashesChosen = false;
    // Lines were read since the name shown (and, after a part line, the
    // parts) were last made of them.
    bool unsettled = false, partsUnsettled = false;
};

// The lines that give a part of the name.
enum class NamePart { Title, Prefix, Suffix, Nick, Given, Surname, SurnamePrefix, Shown };

// A new individual: nothing of a name read so far counts.
void StartIndividualName(GedName& name);
// "1 NAME value": the name and its parts afresh (a title from a TITL line stays).
void ReadNameLine(GedName& name, IndivRec& R, const std::string& value);
// A line that gives one part of the current name; value is trimmed.
void ReadNamePart(GedName& name, IndivRec& R, NamePart part, const std::string& value);
// The name's lines are all read: the name shown and the key are made of
// them, once (nothing when no line came since).
void EndName(GedName& name, IndivRec& R);

// A name's parts as a save writes them on the lines below NAME.
struct NameLines {
    std::string given, surname, suffix, prefix, nick;
};
// The value of the NAME line a save writes: the parts' own ("given
// /surname/suffix"); where a reader would make another name shown of it,
// the name shown with slashes around its surname ("Louis E. /Tremblay/",
// "María /Pérez/" for PÉREZ), if a reader gets from that the name shown
// and the same parts. Any other slash is written as a blank (the part
// lines keep it). kept says whether the reader gets the name shown back
// from the line written.
std::string SavedNameLine(const NameLines& parts, std::string_view shown, bool& kept);
// The name shown that a reader makes of the parts alone.
std::string ShownNameOf(const NameLines& parts);

}  // namespace lintora
