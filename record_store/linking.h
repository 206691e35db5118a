#pragma once
// Filing the page scratch record into the tables: the page person, his
// spouses, children and parents. Each procedure returns the record it
// filed (individual or family, as said) or 0 when nothing was filed; a
// person who is not filed leaves every other record untouched.
#include <cstdint>
#include <string>
#include <utility>

namespace lintora {

// Files a couple and returns {father, mother}; each filing is given the
// partner already filed (0 when none). An unnamed father is known only by
// his wife: with motherFirst she is filed first and he is looked for beside
// her, never taken from another family by her name; otherwise the father
// comes first.
template <typename FileFather, typename FileMother>
std::pair<int32_t, int32_t> FileCouple(bool motherFirst, FileFather fileFather, FileMother fileMother) {
    if (motherFirst) {
        const int32_t mother = fileMother(0);
        return {fileFather(mother), mother};
    }
    const int32_t father = fileFather(0);
    return {father, fileMother(father)};
}

// Files the page's main person; returns his record (also pgRIN and
// g.LastIndiv), or 0. firstSpouse: the record of his first page spouse
// when she was filed before him (0 = not).
int32_t ApplyPagePerson(int32_t firstSpouse = 0);

// Files page spouse k (1..PageSpouseCount) of the page person and their
// family; sexHint is the page person's recorded sex ("M", "F" or blank).
// Returns the spouse's record or 0; fam receives the couple's family (0
// when none was made).
int32_t LinkPageSpouse(int16_t k, int32_t& fam, const std::string& sexHint);

// Files page child k (1..PageChildCount) as a child of family fam (0 =
// none: the child's family as child is then left alone). Returns the
// child's record or 0.
int32_t LinkPageChild(int16_t k, int32_t fam);

// Gives the page person the parents of parent set s (1..PageParentSetCount).
// Returns the parents' family or 0.
int32_t LinkChildToParents(int16_t s);

// Files everything on the page: person, notes, spouses, children, one
// parent set (or offers the parent pick list). Returns the page's main
// person (also g.PageMainIndiv) or 0 when he was not filed.
int32_t LinkPageFamily();

}  // namespace lintora
