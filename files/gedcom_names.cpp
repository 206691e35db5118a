#include "files/gedcom_names.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "record_store/fixed_text.h"
#include "record_store/name_parsing.h"
#include "record_store/utf8_text.h"

namespace lintora {

namespace {

// The pieces of a NAME value between its slashes, each trimmed, joined by blanks.
std::string JoinedName(std::string_view value) {
    std::string joined;
    joined.reserve(value.size() + 1);
    for (std::size_t start = 0;;) {
        std::size_t slash = value.find('/', start);
        std::string_view piece = value.substr(start, slash == std::string::npos ? slash : slash - start);
        const std::size_t first = piece.find_first_not_of(' ');
        if (first != std::string_view::npos) {
            joined.append(piece.substr(first, piece.find_last_not_of(' ') - first + 1));
            joined += ' ';
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return joined;
}

// A NAME line starts the parts of a name afresh.
void StartName(GedName& r) {
    r.nameSlashes = r.namePartLines = r.suffixFromLine = r.givenFromLine = r.surnameFromLine = r.surnLine = false;
    r.slashesChosen = r.partsUnsettled = false;
    r.open = r.close = 0;
    for (std::string* text : {&r.nameLine, &r.nameBeforeSlashes, &r.slashText, &r.nameAfterSlashes,
                              &r.shownSurname, &r.givenBase, &r.surnameBase, &r.surnamePrefix, &r.shown})
        text->clear();
}

// The words of a text, split at blanks.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; (start = text.find_first_not_of(" \t", start)) != std::string_view::npos;) {
        const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
        words.push_back(text.substr(start, end - start));
        start = end;
    }
    return words;
}

// The words of a text joined by single blanks.
std::string JoinedWords(std::string_view text) {
    std::string joined;
    for (std::string_view w : Words(text)) joined.append(joined.empty() ? "" : " ").append(w);
    return joined;
}

// A text's words as a reader compares them: in capitals with the accents
// aside, quotes and brackets dropped, hyphens and commas breaking words
// ("Xiao-Ming" as XIAO and MING, "d'Artagnan" as DARTAGNAN).
std::vector<std::string> ReaderWords(std::string_view text) {
    const std::string folded = BaseLetters(text);
    std::string plain;
    plain.reserve(folded.size());
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const char c = folded[i];
        if (std::string_view("\"'`()[]{}").find(c) != std::string_view::npos) continue;
        // The typographic quotes U+2018, U+2019, U+201C and U+201D.
        if (folded.compare(i, 2, "\xE2\x80") == 0 && i + 2 < folded.size() &&
            std::string_view("\x98\x99\x9C\x9D").find(folded[i + 2]) != std::string_view::npos) {
            i += 2;
            continue;
        }
        plain += c == '-' || c == ',' ? ' ' : c;
    }
    std::vector<std::string> words;
    for (std::string_view w : Words(plain)) words.emplace_back(w);
    return words;
}

// The reader words of the parts, one list.
std::vector<std::string> NamedWords(std::initializer_list<const FixedText<120>*> parts) {
    std::vector<std::string> named;
    for (const FixedText<120>* part : parts) {
        std::vector<std::string> words = ReaderWords(part->value());
        named.insert(named.end(), std::make_move_iterator(words.begin()), std::make_move_iterator(words.end()));
    }
    return named;
}

// Takes one word equal to w out of words; false when there is none.
bool TakeWord(std::vector<std::string>& words, const std::string& w) {
    const auto it = std::find(words.begin(), words.end(), w);
    if (it == words.end()) return false;
    words.erase(it);
    return true;
}

// The text less its words that named holds, each named word standing for
// one word of the text; a word goes only whole ("Xiao-Ming" when XIAO and
// MING are named). The text as written when no word goes.
std::string Unclaimed(std::string_view text, std::vector<std::string> named) {
    std::string rest;
    bool claimed = false;
    for (std::string_view word : Words(text)) {
        std::vector<std::string> left = named;
        const std::vector<std::string> pieces = ReaderWords(word);
        bool whole = !pieces.empty();
        for (const std::string& piece : pieces) whole = whole && TakeWord(left, piece);
        if (whole) {
            named = std::move(left);
            claimed = true;
        } else {
            rest.append(rest.empty() ? "" : " ").append(word);
        }
    }
    return claimed ? rest : TrimBlanks(text);
}

// A text as prefixes are compared: in capitals, accents aside, a curly
// apostrophe as a straight one.
std::string PrefixForm(std::string_view text) {
    std::string folded = BaseLetters(text);
    for (std::size_t at; (at = folded.find("\xE2\x80\x99")) != std::string::npos;) folded.replace(at, 3, "'");
    return folded;
}

// A SPFX value as it stands before a surname: the standard's comma list
// "de, la" read as "de la", followed by a blank unless it is elided ("O'");
// empty when there is none.
std::string PrefixFront(std::string prefix) {
    std::replace(prefix.begin(), prefix.end(), ',', ' ');
    std::string front = JoinedWords(prefix);
    if (!front.empty() && front.back() != '\'' && !front.ends_with("\xE2\x80\x99")) front += ' ';
    return front;
}

// The SPFX prefix as it goes before the surname, where there is a surname
// that does not begin with it already ("Van Berg" with van, "O’Brien" with
// O'); empty otherwise, so that a prefix alone makes no surname.
std::string MissingPrefix(const std::string& prefix, const std::string& surname) {
    const std::string front = PrefixFront(prefix);
    if (front.empty() || surname.empty() || PrefixForm(surname + " ").starts_with(PrefixForm(front))) return {};
    return front;
}

// The surname of SPFX and SURN lines: the prefix before the surname; a
// surname that begins with the prefix already keeps it once.
std::string WithPrefix(const std::string& prefix, const std::string& surname) {
    const std::string base = JoinedWords(surname);
    const std::string front = MissingPrefix(prefix, base);
    return front.empty() ? base : TrimBlanks(front + base);
}

// How many of the last words are the words of the prefix front, each
// whole; 0 where the words do not end with them all.
std::size_t PrefixAtEnd(const std::vector<std::string_view>& words, std::string_view front) {
    std::vector<std::string> prefix;
    for (std::string_view w : Words(front)) prefix.push_back(PrefixForm(w));
    if (prefix.empty() || words.size() < prefix.size() ||
        !std::equal(prefix.rbegin(), prefix.rend(), words.rbegin(),
                    [](const std::string& p, std::string_view w) { return p == PrefixForm(w); }))
        return 0;
    return prefix.size();
}

// The given names less the words of a prefix that goes before the surname
// at their end ("Ludwig van" with SPFX van, from the NAME line or a GIVN
// line): the prefix moves to the surname.
std::string GivenWithoutPrefix(const GedName& r, const std::string& front) {
    const std::vector<std::string_view> given = Words(r.givenBase);
    const std::size_t prefix = PrefixAtEnd(given, front);
    if (prefix == 0) return r.givenBase;
    std::string kept;
    for (std::size_t k = 0; k + prefix < given.size(); ++k) kept.append(kept.empty() ? "" : " ").append(given[k]);
    return kept;
}

// A surname with the slashes of a save spelt as blanks.
std::string SlashesAsBlanks(std::string text) {
    std::replace(text.begin(), text.end(), '/', ' ');
    return text;
}

// A part of the name as a name shown holds it: without blanks or slashes
// at its ends (the surname "Whitcomb/Whitcombe" as it is, "Ann/" as "Ann").
std::string_view PartShown(std::string_view part) {
    // By hand: asked several times a name, and a set of two is searched slowly.
    const auto edge = [](char c) { return c == ' ' || c == '/'; };
    while (!part.empty() && edge(part.front())) part.remove_prefix(1);
    while (!part.empty() && edge(part.back())) part.remove_suffix(1);
    return part;
}

// The name shown that the parts make: given names, surname and suffix,
// each trimmed.
std::string ShownName(std::string_view given, std::string_view surname, std::string_view suffix) {
    std::string name;
    name.reserve(given.size() + surname.size() + suffix.size() + 2);  // one allocation
    for (const std::string_view part : {given, surname, suffix}) {
        const std::string_view kept = PartShown(part);
        if (!kept.empty()) name.append(name.empty() ? "" : " ").append(kept);
    }
    return name;
}

// Whether text is the name shown that the parts make, told without making it.
bool IsShownName(std::string_view text, std::string_view given, std::string_view surname, std::string_view suffix) {
    std::size_t at = 0;
    for (const std::string_view part : {given, surname, suffix}) {
        const std::string_view kept = PartShown(part);
        if (kept.empty()) continue;
        if (at > 0 && (at >= text.size() || text[at++] != ' ')) return false;
        if (text.compare(at, kept.size(), kept) != 0) return false;
        at += kept.size();
    }
    return at == text.size();
}

// Where words stand whole in text: the last place, npos where they do not.
std::size_t LastWholeWords(std::string_view text, std::string_view words) {
    for (std::size_t at = text.rfind(words); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : text.rfind(words, at - 1)) {
        const std::size_t end = at + words.size();
        if ((at == 0 || text[at - 1] == ' ') && (end == text.size() || text[end] == ' ')) return at;
    }
    return std::string_view::npos;
}

// Appends text, with a part that holds a slash in place of its words where
// they stand in text with a blank for each slash ("Rev. Thomas Tom" with
// the given names Thomas/Tom): a save writes a slash outside the surname so.
void AppendWithPartSpelling(std::string& to, std::string_view text, std::string_view part) {
    const std::string_view kept = PartShown(part);
    if (kept.find('/') == std::string_view::npos) {  // most names
        to.append(text);
        return;
    }
    std::string blanked(kept);
    std::replace(blanked.begin(), blanked.end(), '/', ' ');
    const std::size_t at = LastWholeWords(text, blanked);
    if (at == std::string_view::npos) {
        to.append(text);
        return;
    }
    to.append(text.substr(0, at)).append(kept).append(text.substr(at + kept.size()));
}

// The words of text that read as words, case and accents aside: the last
// place where they stand whole in text, and their length there; npos
// where they do not ("Pérez" in "María Pérez" for PÉREZ).
std::pair<std::size_t, std::size_t> LastWordsAsRead(std::string_view text, std::string_view words) {
    const std::string wanted = BaseLetters(words);
    const std::size_t count = Words(words).size();
    const std::vector<std::string_view> in = Words(text);
    for (std::size_t k = in.size(); count > 0 && k >= count; --k) {
        const std::size_t at = static_cast<std::size_t>(in[k - count].data() - text.data());
        const std::size_t end = static_cast<std::size_t>(in[k - 1].data() + in[k - 1].size() - text.data());
        if (BaseLetters(text.substr(at, end - at)) == wanted) return {at, end - at};
    }
    return {std::string_view::npos, 0};
}

// What becomes of a slash outside the surname in a name shown.
enum class OtherSlashes {
    Refuse,  // no NAME line holds one but by chance (another program's):
             // a reader takes the surname's slashes from GIVN and SURN then
    Keep,    // the GIVN and SURN lines chose the surname's among them
    Blank,   // as a save writes it: every reader finds the surname's pair
};

// The NAME value of a name shown: slashes around the last place that holds
// the surname as whole words; where a save writes it, also as a reader
// reads them, case and accents aside ("María /Pérez/" for PÉREZ). Empty
// where there is none, or where the name shown has two blanks together.
std::string NameFromShown(std::string_view shown, std::string_view surname, OtherSlashes others) {
    const std::string_view written = PartShown(surname);
    if (written.empty() || shown.find("  ") != std::string_view::npos) return {};
    std::size_t at = LastWholeWords(shown, written), size = written.size();
    std::string between(surname);
    if (at == std::string_view::npos && others == OtherSlashes::Blank) {  // as the name shown spells it
        std::tie(at, size) = LastWordsAsRead(shown, written);
        if (at != std::string_view::npos) between = shown.substr(at, size);
    }
    if (at == std::string_view::npos) return {};
    const std::string_view before = shown.substr(0, at), after = shown.substr(at + size);
    if (others == OtherSlashes::Refuse &&
        (before.find('/') != std::string_view::npos || after.find('/') != std::string_view::npos))
        return {};
    std::string line = std::string(before) + "/" + SlashesAsBlanks(between) + "/" + std::string(after);
    if (others == OtherSlashes::Blank) {
        std::replace(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(before.size()), '/', ' ');
        std::replace(line.end() - static_cast<std::ptrdiff_t>(after.size()), line.end(), '/', ' ');
    }
    return line;
}

// Whether a text holds every word of the given names, as the name parser
// may have changed them (its case, periods and other marks aside).
bool HoldsGivenNames(std::string_view text, std::string_view given) {
    const auto words = [](std::string_view t) {
        std::string plain(t);
        for (char& c : plain)
            if (static_cast<unsigned char>(c) < 0x80 && !std::isalnum(static_cast<unsigned char>(c)) && c != '\'')
                c = ' ';
        return ReaderWords(plain);
    };
    std::vector<std::string> held = words(text);
    for (const std::string& w : words(given))
        if (!TakeWord(held, w)) return false;
    return true;
}

// The text without blanks at its ends.
std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// The name shown: a work file's _DSP line; else the NAME line as written
// less the two slashes around its surname (any other kept), with the
// surname as shown in place of the text between them and the spelling of
// a given name or suffix that holds a slash where the line has a blank,
// where a save writes that line for that name ("Louis E. /Tremblay/"), and
// it holds all the given names; else what the parts make of it. The key
// follows the parts.
void SettleName(const GedName& r, IndivRec& R) {
    R.iNameKey = NameKeyOf(R.iGivn.value(), R.iSurn.value());
    if (!r.shown.empty()) {
        R.iName = r.shown;
        return;
    }
    const std::string &given = R.iGivn.value(), &suffix = R.iSuffix.value();
    const std::string& surname = r.nameSlashes ? r.shownSurname : R.iSurn.value();
    if (r.nameSlashes) {
        const std::string_view line(r.nameLine), before = line.substr(0, r.open), after = line.substr(r.close + 1);
        // Kept from name to name: most names need no new room.
        static thread_local std::string joined, spelt;
        joined.assign(before).append(PartShown(surname)).append(after);
        const std::string_view written = Trimmed(joined);
        std::string_view shown = written;
        if (given.find('/') != std::string::npos || suffix.find('/') != std::string::npos) {
            spelt.clear();
            AppendWithPartSpelling(spelt, before, given);
            spelt.append(PartShown(surname));
            AppendWithPartSpelling(spelt, after, suffix);
            shown = Trimmed(spelt);
        }
        const OtherSlashes others = r.slashesChosen ? OtherSlashes::Keep : OtherSlashes::Refuse;
        if (IsShownName(shown, given, surname, suffix) ||  // most names
            (NameFromShown(written, surname, others) == line && HoldsGivenNames(written, given))) {
            R.iName = shown;
            return;
        }
    }
    R.iName = ShownName(given, surname, suffix);
}

// A text trimmed and cut to a name field's width, into to.
void PutNameText(std::string& to, std::string_view text) {
    text = Trimmed(text);
    std::size_t n = Utf8LeftSize(text, FixedText<120>::width);
    while (n > 0 && text[n - 1] == ' ') --n;
    to.assign(text.data(), n);
}

// The NAME line's texts around the slashes at open and close, those of the
// given names and surname as their fields hold them.
void SplitAtSlashes(GedName& r, std::size_t open, std::size_t close) {
    const std::string_view text(r.nameLine);
    r.open = open;
    r.close = close;
    PutNameText(r.nameBeforeSlashes, text.substr(0, open));
    PutNameText(r.slashText, text.substr(open + 1, close - open - 1));
    r.nameAfterSlashes.assign(Trimmed(text.substr(close + 1)));
}

// Most slashes of a NAME line that are tried as the surname's.
constexpr std::size_t kSlashesTried = 8;

// A NAME line with more slashes than the surname's two ("William (4th/5th
// Baron) /FitzHUGH/"): the pair whose texts the GIVN and SURN lines account
// for encloses the surname; else the first two do.
void ChooseSlashes(GedName& r) {
    if (!r.nameSlashes || (!r.givenFromLine && !r.surnLine)) return;
    std::vector<std::size_t> at;
    for (std::size_t p = r.nameLine.find('/'); p != std::string::npos && at.size() <= kSlashesTried;
         p = r.nameLine.find('/', p + 1))
        at.push_back(p);
    if (at.size() < 3 || at.size() > kSlashesTried) return;
    const auto same = [](std::string_view a, std::string_view b) { return ReaderWords(a) == ReaderWords(b); };
    const std::string prefixed = WithPrefix(r.surnamePrefix, r.surnameBase);
    const std::string_view text(r.nameLine);
    const auto fits = [&](std::size_t open, std::size_t close) {
        const std::string_view between = text.substr(open + 1, close - open - 1);
        return (!r.givenFromLine || same(text.substr(0, open), r.givenBase)) &&
               (!r.surnLine || same(between, r.surnameBase) || same(between, prefixed));
    };
    const auto [open, close] = [&]() -> std::pair<std::size_t, std::size_t> {
        for (std::size_t i = 0; i + 1 < at.size(); ++i)
            for (std::size_t j = i + 1; j < at.size(); ++j)
                if (fits(at[i], at[j])) return {at[i], at[j]};
        return {at[0], at[1]};
    }();
    r.slashesChosen = open != at[0] || close != at[1] || fits(open, close);
    SplitAtSlashes(r, open, close);
    if (!r.givenFromLine) r.givenBase = r.nameBeforeSlashes;
}

// The surname of a NAME with slashes, and the given names beside it. The
// text between the slashes is the surname as shown; SURN and SPFX lines
// change it only where they name the same words, the prefix aside on
// either ("/Berg/" with SURN van Berg, "/van Berg/" with SURN Berg). A
// SURN line that spells it with a slash where the NAME line has a blank
// keeps its spelling (a save writes a surname that holds a slash so), and
// one that spells the same words otherwise gives the part; a prefix the
// surname lacks goes before it, and off the end of the given names.
void SettleSlashSurname(GedName& r, IndivRec& R) {
    std::string surname = r.slashText, part;
    if (r.surnLine) {
        const std::string spelt = SlashesAsBlanks(r.surnameBase);
        // Most files spell the SURN line as the slashes do.
        const bool sameWords = spelt == surname || ReaderWords(spelt) == ReaderWords(surname);
        if (!sameWords &&
            ReaderWords(WithPrefix(r.surnamePrefix, spelt)) != ReaderWords(WithPrefix(r.surnamePrefix, surname))) {
            // other words: the slashes decide
            R.iSurn = r.shownSurname = surname;
            R.iGivn = r.givenBase;
            return;
        }
        if (spelt != r.surnameBase && JoinedWords(spelt) == JoinedWords(surname)) surname = r.surnameBase;
        // The same words: the part is the SURN line's ("/Pérez/" with SURN PÉREZ).
        else if (sameWords) part = r.surnameBase;
    }
    const std::string front = MissingPrefix(r.surnamePrefix, surname);
    r.shownSurname = front.empty() ? surname : TrimBlanks(front + surname);
    R.iSurn = part.empty() ? r.shownSurname : TrimBlanks(front + part);
    // A prefix the surname begins with already is the surname's, not the
    // end of a GIVN line's given names, where the NAME line's given names
    // do not end with it ("Jan /van Berg/" with GIVN Jan van).
    std::string held = front;
    if (front.empty() && r.givenFromLine && !surname.empty()) {
        held = PrefixFront(r.surnamePrefix);
        if (PrefixAtEnd(Words(r.nameBeforeSlashes), held) > 0) held.clear();
    }
    R.iGivn = GivenWithoutPrefix(r, held);
}

// The text after the NAME line's slashes less the words that a part of the
// name holds and the text before the slashes does not ("/Kovacs/ Janos"
// with GIVN Janos Istvan): what no part claims there is the suffix.
std::string UnclaimedAfterSlashes(const GedName& r, const IndivRec& R) {
    if (r.nameAfterSlashes.empty()) return {};
    std::vector<std::string> named = NamedWords({&R.iGivn, &R.iNick, &R.iPrefix, &R.iTitle});
    for (const std::string& w : ReaderWords(r.nameBeforeSlashes)) TakeWord(named, w);
    return Unclaimed(r.nameAfterSlashes, std::move(named));
}

// A GIVN, SURN, NICK, NPFX or NSFX line: the file names the parts itself,
// so the guesses from the NAME line's words give way to them.
void NamePartLine(GedName& r, IndivRec& R) {
    if (r.namePartLines) return;
    r.namePartLines = true;
    R.iNick.clear();
    R.iPrefix.clear();
    if (!r.titleFromLine) R.iTitle.clear();
}

// Once the part lines are all read: a NAME with slashes settles its
// surname and given names anew; the suffix is the NSFX line's, else
// what the parts leave unclaimed after the slashes. Of a NAME without
// slashes, a GIVN line's names give up a prefix the surname takes, and the
// one of given names and surname that no line names is the NAME's words
// less those the lines name ("Kovacs Janos" with GIVN Janos).
void SettleParts(GedName& r, IndivRec& R) {
    ChooseSlashes(r);
    if (r.nameSlashes) SettleSlashSurname(r, R);
    else if (r.givenFromLine)
        R.iGivn = GivenWithoutPrefix(r, MissingPrefix(r.surnamePrefix, JoinedWords(r.surnameBase)));
    if (!r.suffixFromLine) R.iSuffix = UnclaimedAfterSlashes(r, R);
    if (!r.nameSlashes && r.givenFromLine != r.surnameFromLine) {
        const FixedText<120>& named = r.givenFromLine ? R.iGivn : R.iSurn;
        (r.givenFromLine ? R.iSurn : R.iGivn) =
            Unclaimed(r.nameBeforeSlashes, NamedWords({&named, &R.iNick, &R.iPrefix, &R.iSuffix, &R.iTitle}));
    }
}

// The name a reader makes of a NAME value and the part lines a save writes below it.
IndivRec ReadBack(const std::string& line, const NameLines& parts) {
    IndivRec R;
    GedName r;
    StartIndividualName(r);
    ReadNameLine(r, R, TrimBlanks(line));
    ReadNamePart(r, R, NamePart::Surname, parts.surname);
    ReadNamePart(r, R, NamePart::Given, parts.given);
    if (!parts.prefix.empty()) ReadNamePart(r, R, NamePart::Prefix, parts.prefix);
    if (!parts.suffix.empty()) ReadNamePart(r, R, NamePart::Suffix, parts.suffix);
    if (!parts.nick.empty()) ReadNamePart(r, R, NamePart::Nick, parts.nick);
    EndName(r, R);
    return R;
}

}  // namespace

void ReadNameLine(GedName& r, IndivRec& R, const std::string& value) {
    StartName(r);
    // The slashes say which words are the surname ("Mary /Van Dyke/"), also
    // that there is none ("Albert Augustus //"); what follows them is the
    // suffix. Where they decide, the words before them are the given names,
    // whole: nothing is guessed from them, also where a guess would find
    // the same surname ("Edward VII /Windsor/", "Frederick_III //").
    r.nameLine = value;
    const std::size_t open = value.find('/');
    const std::size_t close = open == std::string::npos ? open : value.find('/', open + 1);
    if (close != std::string::npos) {
        r.nameSlashes = true;
        SplitAtSlashes(r, open, close);
        R.iSurn = r.shownSurname = r.slashText;
        R.iGivn = r.givenBase = r.nameBeforeSlashes;
        R.iPrefix.clear();
        R.iNick.clear();
        if (!r.titleFromLine) R.iTitle.clear();
        R.iSuffix = UnclaimedAfterSlashes(r, R);
    } else {
        // The joined pieces are trimmed and end in one blank.
        const std::string joined = JoinedName(value);
        const std::string_view name = std::string_view(joined).substr(0, joined.empty() ? 0 : joined.size() - 1);
        NameParts np = ParseNameParts(name, false);  // keyed once settled
        R.iSurn = std::move(np.surname);
        R.iGivn = std::move(np.given);
        R.iPrefix = std::move(np.prefix);
        R.iSuffix = std::move(np.suffix);
        if (!r.titleFromLine) R.iTitle = std::move(np.title);
        R.iNick = std::move(np.nickname);
        r.nameBeforeSlashes = name;  // the whole name, for the part that no line names
    }
    r.surnameBase = R.iSurn.value();
    r.unsettled = true;
}

void EndName(GedName& r, IndivRec& R) {
    if (!r.unsettled) return;
    if (r.partsUnsettled) SettleParts(r, R);
    r.unsettled = r.partsUnsettled = false;
    SettleName(r, R);
}

void StartIndividualName(GedName& name) {
    StartName(name);
    name.titleFromLine = false;
}

void ReadNamePart(GedName& r, IndivRec& R, NamePart part, const std::string& value) {
    if (part == NamePart::Shown) {  // our own line: no part of the name
        r.shown = value;
        r.unsettled = true;
        return;
    }
    if (part == NamePart::Title) {
        if (!value.empty()) R.iTitle = value;
        r.titleFromLine = r.titleFromLine || !value.empty();
        return;
    }
    NamePartLine(r, R);
    switch (part) {
        case NamePart::Prefix:
            if (!value.empty()) R.iPrefix = value;
            break;
        case NamePart::Suffix:
            if (!value.empty()) R.iSuffix = value;
            r.suffixFromLine = r.suffixFromLine || !value.empty();
            break;
        case NamePart::Nick:
            if (!value.empty()) R.iNick = value;
            break;
        case NamePart::Given:
            R.iGivn = r.givenBase = value;
            r.givenFromLine = true;
            break;
        default:
            // Where the NAME line has no slashes these lines say what the
            // surname is, a blank SURN line saying that there is none.
            (part == NamePart::Surname ? r.surnameBase : r.surnamePrefix) = value;
            r.surnameFromLine = true;
            r.surnLine = r.surnLine || part == NamePart::Surname;
            if (!r.nameSlashes) R.iSurn = WithPrefix(r.surnamePrefix, r.surnameBase);
    }
    r.partsUnsettled = r.unsettled = true;
}

std::string SavedNameLine(const NameLines& parts, std::string_view shown, bool& kept) {
    // The slashes mark the surname alone: one inside a part would move the
    // mark, so it stands as a blank there (the part lines keep it).
    std::string line = SlashesAsBlanks(parts.given) + " /" + SlashesAsBlanks(parts.surname) + "/" +
                       SlashesAsBlanks(parts.suffix);
    // A reader gets the parts back from that line, and the name they make.
    const FixedText<120> wanted(shown);
    kept = ShownName(parts.given, parts.surname, parts.suffix) == wanted.value();
    if (kept || wanted.value().empty()) return line;  // most names
    std::string written = NameFromShown(wanted.value(), parts.surname, OtherSlashes::Blank);
    if (written.empty()) return line;
    const IndivRec back = ReadBack(written, parts);
    const auto same = [](const FixedText<120>& field, const std::string& part) {
        return field.value() == FixedText<120>(part).value();
    };
    kept = back.iName.value() == wanted.value() && same(back.iGivn, parts.given) &&
           same(back.iSurn, parts.surname) && same(back.iSuffix, parts.suffix) && same(back.iPrefix, parts.prefix) &&
           same(back.iNick, parts.nick);
    return kept ? written : line;
}

std::string ShownNameOf(const NameLines& parts) { return ShownName(parts.given, parts.surname, parts.suffix); }

}  // namespace lintora
