#pragma once
// A pedigree box: a label whose caption, when it is wider than the box,
// is drawn cut with an ellipsis (in the name, the life years kept whole),
// the whole caption then shown as tool tip.
// text() keeps the whole caption.
#include <QLabel>

namespace lintora {

class TreeBox : public QLabel {
public:
    explicit TreeBox(QWidget* parent = nullptr);

    // Pixels kept free at the right edge (under the note marker).
    void SetReserveRight(int pixels);

    // The caption as drawn, cut to the box.
    QString ShownText() const;
    bool Cut() const { return ShownText() != text(); }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QRect TextRect() const;

    int reserveRight_ = 0;
};

}  // namespace lintora
