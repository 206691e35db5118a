#include "main_window/prune_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "main_window/panel_escape.h"
#include "platform/qt/filled_box.h"
#include "workspace/workspace.h"

namespace lintora {

PruneFrame::PruneFrame(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    // A long name is cut with a mark, within the panel's room.
    identity_ = new FilledLabel;
    QFont bold = identity_->font();
    bold.setBold(true);
    identity_->setFont(bold);
    outer->addWidget(identity_);
    auto* grid = new QGridLayout;
    static const char* const captions[] = {"all ancestors", "all descendants", "", "all ancestors and descendants"};
    for (int i = 0; i < 4; ++i) {
        buttons_[static_cast<std::size_t>(i)] = new QRadioButton;
        labels_[static_cast<std::size_t>(i)] = new FilledLabel(captions[i]);
        labels_[static_cast<std::size_t>(i)]->setBuddy(buttons_[static_cast<std::size_t>(i)]);
        grid->addWidget(buttons_[static_cast<std::size_t>(i)], i, 0);
        grid->addWidget(labels_[static_cast<std::size_t>(i)], i, 1);
    }
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton("OK");
    auto* cancel = new QPushButton("Cancel");
    // Enter presses the button that has the keys, else OK.
    ok->setDefault(true);
    cancel->setAutoDefault(true);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    outer->addLayout(row);
    // Its room may be larger than its contents (it covers the other panels).
    outer->addStretch();
    connect(ok, &QPushButton::clicked, this, [this] { Command9Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Command11Click(); });
    EscapeCloses(this, [this] { Command11Click(); });
    setHidden(true);
}

void PruneFrame::Show(const PrunePanelCaptions& captions, PruneOption selected) {
    identity_->setText(QString::fromStdString(captions.identity));
    labels_[0]->setText(QString::fromStdString(captions.ancestors));
    labels_[1]->setText(QString::fromStdString(captions.descendants));
    labels_[2]->setText(QString::fromStdString(captions.personOnly));
    labels_[3]->setText(QString::fromStdString(captions.all));
    const int on = static_cast<int>(selected);
    buttons_[static_cast<std::size_t>(on >= 0 && on <= 3 ? on : 2)]->setChecked(true);
    show();
    TakeKeys();
}

void PruneFrame::TakeKeys() {
    raise();
    buttons_[static_cast<std::size_t>(Option())]->setFocus();
}

void PruneFrame::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Command9Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

int PruneFrame::Option() const {
    for (int i = 0; i < 4; ++i)
        if (buttons_[static_cast<std::size_t>(i)]->isChecked()) return i;
    return 2;
}

void PruneFrame::Command9Click() {
    hide();
    RunPrune(Option());
    if (afterPrune) afterPrune();
}

void PruneFrame::Command11Click() {
    hide();
    CancelPrune();
}

}  // namespace lintora
