#pragma once
// The prune panel: remove a person with his ancestors, his descendants,
// both, or alone. The core shows it through the prune-panel port; its
// buttons run the workspace's prune commands.
#include <QWidget>
#include <array>
#include <functional>

#include "record_store/prune.h"

class QLabel;
class QRadioButton;

namespace lintora {

class PruneFrame : public QWidget, public PrunePanelView {
    Q_OBJECT
public:
    explicit PruneFrame(QWidget* parent = nullptr);

    void Show(const PrunePanelCaptions& captions, PruneOption selected) override;
    void Hide() override { hide(); }

    int Option() const;
    void Command9Click();   // OK
    void Command11Click();  // Cancel

    // In front, the keys on its chosen option: Enter presses OK.
    void TakeKeys();

    QLabel* Identity() const { return identity_; }
    QLabel* OptionLabel(int i) const { return labels_[static_cast<std::size_t>(i)]; }
    QRadioButton* Button(int i) const { return buttons_[static_cast<std::size_t>(i)]; }

    // Run after OK's prune, so that other open windows show what is left.
    std::function<void()> afterPrune;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* identity_ = nullptr;
    std::array<QRadioButton*, 4> buttons_{};
    std::array<QLabel*, 4> labels_{};
};

}  // namespace lintora
