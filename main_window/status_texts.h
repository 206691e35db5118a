#pragma once
// The seven texts of the main window's status bar, from the program state.
#include <array>
#include <string>

namespace lintora {

inline constexpr int kStatusPanels = 7;

// Panel tool tips, panel 1 first.
extern const std::array<const char*, kStatusPanels> kStatusPanelTips;

// Site word, record set and record kind of the pastes, the page's main
// person, the counts of individuals and families and the root's tree. With
// nobody in the work only the two counts are shown.
std::array<std::string, kStatusPanels> StatusBarTexts();

}  // namespace lintora
