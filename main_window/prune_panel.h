#pragma once
// The prune panel: remove a person with his ancestors, his descendants,
// both, or alone. The panel only asks; the prune itself is the workspace's.
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace lintora {

class PruneFrame : public QWidget {
    Q_OBJECT
public:
    explicit PruneFrame(QWidget* parent = nullptr);

    // OK: the chosen option (0 ancestors, 1 descendants, 2 only, 3 all).
    std::function<void(int option)> runPrune;
    std::function<void()> cancelPrune;

    // Captions for the person and "only" on, then shows the panel.
    void Fill(int32_t indiv);
    int Option() const;
    void Command9Click();   // OK
    void Command11Click();  // Cancel

    QLabel* Identity() const { return identity_; }
    QLabel* OptionLabel(int i) const { return labels_[static_cast<std::size_t>(i)]; }
    QRadioButton* Button(int i) const { return buttons_[static_cast<std::size_t>(i)]; }

private:
    QLabel* identity_ = nullptr;
    std::array<QRadioButton*, 4> buttons_{};
    std::array<QLabel*, 4> labels_{};
};

}  // namespace lintora
