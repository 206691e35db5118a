#include "main_window/column_fit.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <array>

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

}  // namespace

std::vector<int> FitColumnWidths(const std::vector<int>& content, const std::vector<ColumnRule>& rules, int room) {
    // The usual widths while the frame has room for them and the texts.
    std::vector<int> width = content;
    int total = 0;
    for (std::size_t c = 0; c < width.size(); ++c) {
        if (c < rules.size()) width[c] = std::max(width[c], rules[c].floor);
        total += width[c];
    }
    if (total <= room) return width;
    width = content;
    // The floors hold while the frame has room for them.
    bool floors = true;
    auto cut = [&](std::size_t c, int cap) {
        const int floor = floors ? rules[c].floor : kNarrowest;
        return std::max(std::min(content[c], cap), std::min(floor, content[c]));
    };
    auto sumWith = [&](int cap) {
        int sum = 0;
        for (std::size_t c = 0; c < content.size(); ++c)
            sum += c < rules.size() && rules[c].mayCut ? cut(c, cap) : content[c];
        return sum;
    };
    if (sumWith(0) > room) floors = false;
    // The largest cap on the cut columns that lets everything fit.
    int low = 0, high = *std::max_element(content.begin(), content.end());
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (sumWith(mid) <= room)
            low = mid;
        else
            high = mid - 1;
    }
    for (std::size_t c = 0; c < width.size(); ++c)
        if (c < rules.size() && rules[c].mayCut) width[c] = cut(c, low);
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
    std::vector<int> content(static_cast<std::size_t>(columns), 0);
    std::vector<int> shown;
    for (int c = 0; c < columns; ++c) {
        if (header->isSectionHidden(c)) continue;
        shown.push_back(c);
        int widest = head.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString()) + headMargin;
        // Longest texts first: once a text cannot be wider than the widest
        // so far, neither can the shorter ones.
        std::vector<QString> texts(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r) texts[static_cast<std::size_t>(r)] = cellText(r, c);
        std::sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
        for (const QString& t : texts) {
            if (t.size() * cell.maxWidth() + margin <= widest) break;
            const int sum = letters.Sum(t);
            widest = std::max(widest, (sum >= 0 ? sum + kKerning : cell.horizontalAdvance(t)) + margin);
        }
        content[static_cast<std::size_t>(c)] = widest;
    }
    std::vector<int> fit;
    std::vector<ColumnRule> shownRules;
    for (int c : shown) {
        fit.push_back(content[static_cast<std::size_t>(c)]);
        shownRules.push_back(static_cast<std::size_t>(c) < rules.size() ? rules[static_cast<std::size_t>(c)]
                                                                         : ColumnRule{});
    }
    // Room for the vertical scroll bar whether it shows yet or not.
    const int room = view->width() - 2 * view->frameWidth() - view->verticalScrollBar()->sizeHint().width();
    const std::vector<int> widths = FitColumnWidths(fit, shownRules, room);
    for (std::size_t i = 0; i < shown.size(); ++i) header->resizeSection(shown[i], widths[i]);
}

}  // namespace lintora
