#pragma once
// Boxes and captions the program fills: a text too long for its room shows
// its beginning and a "…" where it is cut, and the whole text as tool tip.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace lintora {

// A text box that marks a cut with "…" while nobody types in it.
class FilledBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // True while the mark is drawn.
    bool CutMarked() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect Contents() const;
    // Where the text is drawn: the contents less the box's own margins.
    QRect TextRoom() const;
};

// A caption whose room does not grow with its text: a long text is cut with
// "…" rather than widening its window.
class FilledLabel : public QLabel {
public:
    using QLabel::QLabel;
    bool CutMarked() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect TextRoom() const;
};

// A list box whose shown entry, too long for it, is cut with "…" (its room
// set by the layout, not by its longest entry).
class FilledComboBox : public QComboBox {
public:
    explicit FilledComboBox(QWidget* parent = nullptr);
    bool CutMarked() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect TextRoom() const;
};

// Whether box shows a cut mark (false for a box of another kind).
bool ShowsCutMark(const QWidget* box);

}  // namespace lintora
