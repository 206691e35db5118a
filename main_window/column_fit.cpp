#include "main_window/column_fit.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace lintora {
namespace {

// A cut column still shows a few letters and its ellipsis.
constexpr int kNarrowest = 40;
// What kerning may add to the sum of a text's letters.
constexpr int kKerning = 2;

// Advances of the Latin-1 letters: their sum and the kerning slack bound a
// text's width without shaping it, which for ten thousand rows is slow.
class Letters {
public:
    explicit Letters(const QFontMetrics& fm) {
        for (int ch = 0; ch < 256; ++ch) advance_[static_cast<std::size_t>(ch)] = fm.horizontalAdvance(QChar(ch));
    }
    // The sum of the letters' advances; -1 for a text beyond Latin-1.
    int Sum(const QString& text) const {
        int sum = 0;
        for (QChar ch : text) {
            if (ch.unicode() > 255) return -1;
            sum += advance_[ch.unicode()];
        }
        return sum;
    }

private:
    std::array<int, 256> advance_{};
};

// How many texts of each width a column holds, narrowest first.
using WidthCounts = std::vector<std::pair<int, int>>;

WidthCounts CountWidths(std::vector<int> widths) {
    std::sort(widths.begin(), widths.end());
    WidthCounts out;
    for (int w : widths) {
        if (!out.empty() && out.back().first == w)
            ++out.back().second;
        else
            out.push_back({w, 1});
    }
    return out;
}

}  // namespace

std::vector<int> FitColumnWidths(const std::vector<int>& content, const std::vector<ColumnRule>& rules, int room,
                                 const std::vector<std::vector<int>>& texts) {
    // The usual widths while the frame has room for them and the texts.
    std::vector<int> width = content;
    int total = 0;
    for (std::size_t c = 0; c < width.size(); ++c) {
        if (c < rules.size()) width[c] = std::max(width[c], rules[c].floor);
        total += width[c];
    }
    if (total <= room) return width;
    width = content;
    auto mayCut = [&](std::size_t c) { return c < rules.size() && rules[c].mayCut; };
    // The narrowest each cut column is given: the floors hold while the
    // frame has room for them, and no column is wider than its texts.
    auto lowest = [&](bool floors) {
        int sum = 0;
        for (std::size_t c = 0; c < content.size(); ++c) {
            if (mayCut(c)) width[c] = std::min(floors ? rules[c].floor : kNarrowest, content[c]);
            sum += width[c];
        }
        return sum;
    };
    int used = lowest(true);
    if (used > room) used = lowest(false);
    int spare = room - used;
    // The spare room goes step by step to the column where it makes the most
    // texts whole for each pixel it costs.
    std::vector<WidthCounts> counts(content.size());
    for (std::size_t c = 0; c < content.size(); ++c)
        if (mayCut(c))
            counts[c] = CountWidths(c < texts.size() && !texts[c].empty() ? texts[c] : std::vector<int>{content[c]});
    while (spare > 0) {
        std::size_t best = content.size();
        int bestTo = 0;
        double bestGain = 0;
        for (std::size_t c = 0; c < content.size(); ++c) {
            int whole = 0;
            for (const auto& [w, n] : counts[c]) {
                if (w <= width[c]) continue;
                if (w - width[c] > spare) break;
                whole += n;
                const double gain = static_cast<double>(whole) / (w - width[c]);
                if (gain > bestGain) {
                    bestGain = gain;
                    best = c;
                    bestTo = w;
                }
            }
        }
        if (best == content.size()) break;
        spare -= bestTo - width[best];
        width[best] = bestTo;
    }
    // What is left shows more of the cut texts: the widest cap on them that
    // still fits.
    auto sumWith = [&](int cap) {
        int sum = 0;
        for (std::size_t c = 0; c < content.size(); ++c)
            sum += mayCut(c) ? std::max(width[c], std::min(content[c], cap)) : width[c];
        return sum;
    };
    int low = 0, high = content.empty() ? 0 : *std::max_element(content.begin(), content.end());
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (sumWith(mid) <= room)
            low = mid;
        else
            high = mid - 1;
    }
    for (std::size_t c = 0; c < width.size(); ++c)
        if (mayCut(c)) width[c] = std::max(width[c], std::min(content[c], low));
    return width;
}

void FitColumns(QAbstractItemView* view, QHeaderView* header, const std::vector<ColumnRule>& rules,
                const std::function<QString(int row, int column)>& text) {
    const QAbstractItemModel* model = view->model();
    if (!model) return;
    auto cellText = [&](int r, int c) { return text ? text(r, c) : model->index(r, c).data().toString(); };
    const int columns = model->columnCount();
    const int rows = model->rowCount();
    const QFontMetrics cell = view->fontMetrics();
    const QFontMetrics head = header->fontMetrics();
    // The item delegate keeps a margin on each side of the text; the
    // heading has its sort mark and frame.
    const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 2;
    const int headMargin = 2 * view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 8;
    const Letters letters(cell);
    std::vector<int> shown;
    auto measure = [&](const QString& t) {
        const int sum = letters.Sum(t);
        return (sum >= 0 ? sum + kKerning : cell.horizontalAdvance(t)) + margin;
    };
    std::vector<int> fit;
    std::vector<ColumnRule> shownRules;
    std::vector<std::vector<int>> textWidths;
    for (int c = 0; c < columns; ++c) {
        if (header->isSectionHidden(c)) continue;
        const ColumnRule rule =
            static_cast<std::size_t>(c) < rules.size() ? rules[static_cast<std::size_t>(c)] : ColumnRule{};
        int widest = head.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString()) + headMargin;
        std::vector<int> widths;
        if (rule.mayCut) {
            // Every text counts in how the room is shared.
            widths.reserve(static_cast<std::size_t>(rows));
            for (int r = 0; r < rows; ++r) widths.push_back(measure(cellText(r, c)));
            if (!widths.empty()) widest = std::max(widest, *std::max_element(widths.begin(), widths.end()));
        } else {
            // Longest texts first: once a text cannot be wider than the
            // widest so far, neither can the shorter ones.
            std::vector<QString> texts(static_cast<std::size_t>(rows));
            for (int r = 0; r < rows; ++r) texts[static_cast<std::size_t>(r)] = cellText(r, c);
            std::sort(texts.begin(), texts.end(),
                      [](const QString& a, const QString& b) { return a.size() > b.size(); });
            for (const QString& t : texts) {
                if (t.size() * cell.maxWidth() + margin <= widest) break;
                widest = std::max(widest, measure(t));
            }
        }
        shown.push_back(c);
        // The header makes no section narrower than this.
        fit.push_back(std::max(widest, header->minimumSectionSize()));
        shownRules.push_back(rule);
        textWidths.push_back(std::move(widths));
    }
    // Room for the vertical scroll bar whether it shows yet or not.
    const int room = view->width() - 2 * view->frameWidth() - view->verticalScrollBar()->sizeHint().width();
    const std::vector<int> widths = FitColumnWidths(fit, shownRules, room, textWidths);
    for (std::size_t i = 0; i < shown.size(); ++i) header->resizeSection(shown[i], widths[i]);
}

}  // namespace lintora
