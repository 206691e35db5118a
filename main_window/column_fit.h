#pragma once
// Column widths of the report lists: each column as wide as its usual
// width, its widest text and its heading. When that is more than the frame
// holds, only the columns that may be cut (names, places) give way, never
// below their usual width while there is room for it (nor above their
// texts); the room they share goes first where it shows the most texts
// whole, so that a few long places do not cut every name. Numbers, dates
// and identifiers stay whole.
#include <functional>
#include <vector>

#include <QString>

class QAbstractItemView;
class QHeaderView;

namespace lintora {

struct ColumnRule {
    int floor = 0;       // usual width in pixels
    bool mayCut = false;
};

// Widths for the given content widths (hidden columns: ignored by the caller).
// texts, where given for a column that may be cut, holds the widths of its
// texts one by one (a column without them counts as one text as wide as
// its content).
std::vector<int> FitColumnWidths(const std::vector<int>& content, const std::vector<ColumnRule>& rules, int room,
                                 const std::vector<std::vector<int>>& texts = {});

// Measures every row of the view's model and sets the visible columns of
// header to fit the view's viewport. text, when given, reads a cell faster
// than the model's data().
void FitColumns(QAbstractItemView* view, QHeaderView* header, const std::vector<ColumnRule>& rules,
                const std::function<QString(int row, int column)>& text = {});

}  // namespace lintora
