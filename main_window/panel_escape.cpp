#include "main_window/panel_escape.h"

#include <utility>

#include <QShortcut>
#include <QWidget>

namespace lintora {
namespace {

// Kept on the panel: what Escape does to it.
class EscapeAnswer : public QObject {
public:
    EscapeAnswer(QWidget* panel, std::function<void()> close) : QObject(panel), close(std::move(close)) {}
    std::function<void()> close;
};

// The answer of a shown panel; none for any other widget.
EscapeAnswer* AnswerOf(QObject* o) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || !w->isVisible()) return nullptr;
    for (QObject* child : w->children())
        if (auto* answer = dynamic_cast<EscapeAnswer*>(child)) return answer;
    return nullptr;
}

// The panels stand side by side in one parent; the one raised last is its
// last child.
void AnswerFrontPanel(QWidget* panel) {
    QWidget* parent = panel->parentWidget();
    if (!parent) {
        if (EscapeAnswer* answer = AnswerOf(panel)) answer->close();
        return;
    }
    const QObjectList& beside = parent->children();
    for (auto front = beside.rbegin(); front != beside.rend(); ++front) {
        EscapeAnswer* answer = AnswerOf(*front);
        if (!answer) continue;
        const QRect place = static_cast<QWidget*>(*front)->geometry();
        for (auto cover = beside.rbegin(); cover != front; ++cover) {
            auto* w = qobject_cast<QWidget*>(*cover);
            if (w && w->isVisible() && w->geometry().contains(place)) return;
        }
        answer->close();
        return;
    }
}

}  // namespace

void EscapeCloses(QWidget* panel, std::function<void()> close) {
    new EscapeAnswer(panel, std::move(close));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), panel);
    // With two panels shown Qt finds the key ambiguous and tells one of them:
    // either way the panel in front answers.
    QObject::connect(escape, &QShortcut::activated, panel, [panel] { AnswerFrontPanel(panel); });
    QObject::connect(escape, &QShortcut::activatedAmbiguously, panel, [panel] { AnswerFrontPanel(panel); });
}

}  // namespace lintora
