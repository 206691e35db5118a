#pragma once
// A pedigree box: a label whose caption, when it is wider than the box,
// is drawn cut with an ellipsis, the whole caption then shown as tool tip.
// text() keeps the whole caption.
#include <QLabel>

namespace lintora {

class TreeBox : public QLabel {
public:
    // reserveRight: pixels kept free at the right edge (the note marker).
    explicit TreeBox(int reserveRight, QWidget* parent = nullptr);

    // The caption as drawn, cut to the box.
    QString ShownText() const;
    bool Cut() const { return ShownText() != text(); }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QRect TextRect() const;

    int reserveRight_;
};

}  // namespace lintora
