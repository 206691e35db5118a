#pragma once
// The texts of the individual and marriage lists, built from the tables:
// names surname first, dates beginning with the year, places in reverse
// order, numbers padded so that they line up.
#include <array>
#include <cstdint>
#include <string>

namespace lintora {

struct IndivRec;

// "Smith, Rev John Henry Jr"; a surname only gives "Smith,".
std::string ListNameText(const IndivRec& r);
// "Smith, John Jr" without prefix; record 0 gives "<unknown>,  ".
std::string ListSpouseText(int32_t indiv);
// "1850 Mar 12", "1850 Mar", "1850", with " >" (AFT), " <" (BEF), " @" (ABT, ABOUT).
// marks false leaves the qualifier marks out.
std::string ListDateText(const std::string& date, bool marks = true);
// Sort key of a date: year, month and day as one number; 0 without a year.
int32_t ListDateKey(const std::string& date);
// "Boston, Suffolk, Massachusetts, USA" -> "USA, Massachusetts, Suffolk, Boston".
std::string ListPlaceText(const std::string& place);
// AFN, or disc and pin "12-3456" when the work began with a FamilySearch page other than the Ancestral File.
std::string ListIdText(const IndivRec& r);
// Caption of the identifier column for the first paste's site ("ID" when it was not FamilySearch).
std::string ListIdCaption(const std::string& currentCaption);
// " 3/ 5 " for tree 3, generation 5.
std::string ListTreeText(int32_t tree, int32_t generation);
int32_t ListTreeSort(int32_t tree, int32_t generation);
// "   7  ": the index padded to four characters and two blanks.
std::string ListRecNoText(int32_t index);
// A parent's name of a page as "Smith, John Jr".
std::string ListParentNameText(const std::string& name);
// " 3", "12", " 0".
std::string ListChildCountText(int32_t count);

}  // namespace lintora
