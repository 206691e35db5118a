#pragma once
// Column widths of the report lists: each column as wide as its widest
// text and heading. When that is more than the frame holds, only the
// columns that may be cut (names, places) give way, the widest first and
// never below their floor; numbers, dates and identifiers stay whole.
#include <vector>

class QAbstractItemView;
class QHeaderView;

namespace lintora {

struct ColumnRule {
    int floor = 0;       // pixels; a cut column keeps at least this
    bool mayCut = false;
};

// Widths for the given content widths (hidden columns: ignored by the caller).
std::vector<int> FitColumnWidths(const std::vector<int>& content, const std::vector<ColumnRule>& rules, int room);

// Measures every row of the view's model and sets the visible columns of
// header to fit the view's viewport.
void FitColumns(QAbstractItemView* view, QHeaderView* header, const std::vector<ColumnRule>& rules);

}  // namespace lintora
