#include "main_window/source_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "files/data_files.h"
#include "main_window/panel_escape.h"
#include "record_store/fixed_text.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "platform/qt/box_text.h"
#include "platform/qt/filled_box.h"
#include "platform/qt/qt_text.h"

namespace lintora {
namespace {

std::string S(const QLineEdit* box) { return lintora::S(box->text()); }

void Lock(QLineEdit* box, bool locked) {
    box->setReadOnly(locked);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, locked ? box->palette().color(QPalette::Window) : QColor(Qt::white));
    box->setPalette(p);
}

}  // namespace

SourceEditFrame::SourceEditFrame(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    auto* grid = new QGridLayout;
    sourceList_ = new FilledComboBox;
    reposList_ = new FilledComboBox;
    sTitle_ = new FilledBox;
    sAuthor_ = new FilledBox;
    sPublish_ = new FilledBox;
    rName_ = new FilledBox;
    rAddr_ = new FilledBox;
    rCont_ = new FilledBox;
    info_ = new QLabel;
    int row = 0;
    auto add = [&](const char* label, QWidget* w) {
        if (*label) grid->addWidget(new QLabel(label), row, 0, Qt::AlignRight);
        grid->addWidget(w, row++, 1);
    };
    add("Source", sourceList_);
    add("Title", sTitle_);
    add("Author", sAuthor_);
    add("Publisher", sPublish_);
    add("", info_);
    add("Repository", reposList_);
    add("Name", rName_);
    add("Address", rAddr_);
    add("", rCont_);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    edit_ = new QPushButton("Edit");
    exit_ = new QToolButton;
    exit_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    exit_->setAutoRaise(true);
    buttons->addStretch();
    buttons->addWidget(edit_);
    buttons->addWidget(exit_);
    outer->addLayout(buttons);
    outer->addStretch();
    edit_->hide();

    connect(sourceList_, &QComboBox::activated, this, [this] { SourceListClick(); });
    connect(reposList_, &QComboBox::activated, this, [this] { ReposListClick(); });
    for (QLineEdit* box : {sTitle_, sAuthor_, sPublish_, rName_, rAddr_, rCont_})
        connect(box, &QLineEdit::textEdited, this, [this] { TextChange(); });
    connect(edit_, &QPushButton::clicked, this, [this] { CmdSrcEditClick(); });
    connect(exit_, &QToolButton::clicked, this, [this] { CmdSrcExitClick(); });
    EscapeCloses(this, [this] { CmdSrcExitClick(); });
    setHidden(true);
}

QLineEdit* SourceEditFrame::Box(const char* name) const {
    const std::string n = name;
    if (n == "sTitle") return sTitle_;
    if (n == "sAuthor") return sAuthor_;
    if (n == "sPublish") return sPublish_;
    if (n == "rName") return rName_;
    if (n == "rAddr") return rAddr_;
    return rCont_;
}

void SourceEditFrame::SetBoxQuietly(QLineEdit* box, const QString& text) {
    const QSignalBlocker quiet(box);
    SetBoxText(box, text);
}

void SourceEditFrame::Open() {
    sourceList_->clear();
    for (int32_t s = 1; s <= g.SourceCount && s < static_cast<int32_t>(g.Source.size()); ++s)
        sourceList_->addItem(Q(g.Source[s].sTitle.trimmed()));
    show();
    raise();
    if (sourceList_->count() >= 1) {
        sourceList_->setCurrentIndex(0);
        SourceListClick();
    }
}

void SourceEditFrame::FillRepos(const char* noneText) {
    const QSignalBlocker quiet(reposList_);
    reposList_->clear();
    reposList_->addItem(noneText);
    for (int32_t r = 1; r <= g.RepositoryCount && r < static_cast<int32_t>(g.Repository.size()); ++r)
        reposList_->addItem(Q(g.Repository[r].rName.trimmed()));
}

void SourceEditFrame::SourceListClick() {
    const int32_t k = sourceList_->currentIndex() + 1;
    for (QLineEdit* box : {sTitle_, sAuthor_, sPublish_, rName_, rAddr_, rCont_}) SetBoxQuietly(box, "");
    if (k < 1 || k > g.SourceCount) return;
    const SourceRec& s = g.Source[k];
    SetBoxQuietly(sTitle_, Q(s.sTitle.trimmed()));
    SetBoxQuietly(sAuthor_, Q(s.sAuthor.trimmed()));
    SetBoxQuietly(sPublish_, Q(s.sPublish.trimmed()));
    ShowCitations();
    FillRepos("None");
    const bool user = s.sFlag.trimmed() == "U";
    Lock(sAuthor_, !user);
    Lock(sPublish_, !user);
    const int repos = s.sRepos >= 0 && s.sRepos <= g.RepositoryCount ? s.sRepos : 0;
    {
        const QSignalBlocker quiet(reposList_);
        reposList_->setCurrentIndex(repos);
    }
    ReposListClick();
    edit_->hide();
}

void SourceEditFrame::ShowCitations() {
    const int32_t k = sourceList_->currentIndex() + 1;
    if (k < 1 || k > g.SourceCount) return;
    info_->setText(QString::number(g.Source[k].sCitations) + " citations in this batch");
}

void SourceEditFrame::ReposListClick() {
    const int32_t j = reposList_->currentIndex();
    for (QLineEdit* box : {rName_, rAddr_, rCont_}) SetBoxQuietly(box, "");
    const bool valid = j >= 1 && j <= g.RepositoryCount;
    if (valid) {
        const ReposRec& r = g.Repository[j];
        SetBoxQuietly(rName_, Q(r.rName.trimmed()));
        SetBoxQuietly(rAddr_, Q(r.rAddr.trimmed()));
        SetBoxQuietly(rCont_, Q(r.rCont.trimmed()));
    }
    const bool user = valid && g.Repository[j].rFlag.trimmed() == "U";
    Lock(rAddr_, !user);
    Lock(rCont_, !user);
    edit_->show();
}

void SourceEditFrame::TextChange() { edit_->show(); }

void SourceEditFrame::CmdSrcEditClick() {
    int32_t k = sourceList_->currentIndex() + 1;
    const int32_t j = reposList_->currentIndex();

    // Repository first: a changed name makes a new one.
    if (j >= 1 && j <= g.RepositoryCount) {
        if (TrimBlanks(S(rName_)) != g.Repository[j].rName.trimmed()) {
            const int32_t n = AddRepository();
            if (n > 0) {
                ReposRec& r = g.Repository[n];
                r.rName = S(rName_);
                r.rAddr = S(rAddr_);
                r.rCont = S(rCont_);
                r.rFlag = "U";
                FillRepos("none");
                const QSignalBlocker quiet(reposList_);
                reposList_->setCurrentIndex(n);
            }
            ReposListClick();
        } else {
            ReposRec& r = g.Repository[j];
            r.rName = S(rName_);
            r.rAddr = S(rAddr_);
            r.rCont = S(rCont_);
        }
    }
    const int32_t chosen = reposList_->currentIndex();
    const int16_t repos = static_cast<int16_t>(chosen >= 1 && chosen <= g.RepositoryCount ? chosen : 0);

    // Then the source; nothing selected writes no source at all. A changed
    // title makes a new source, which takes the repository; the one shown
    // before stays as it was.
    if (k >= 1 && k <= g.SourceCount) {
        if (TrimBlanks(S(sTitle_)) != g.Source[k].sTitle.trimmed()) {
            const int32_t n = AddSource();
            if (n > 0) {
                SourceRec& s = g.Source[n];
                s.sTitle = S(sTitle_);
                s.sAuthor = S(sAuthor_);
                s.sPublish = S(sPublish_);
                s.sFlag = "U";
                s.sRepos = repos;
                k = n;
                const QSignalBlocker quiet(sourceList_);
                sourceList_->clear();
                for (int32_t i = 1; i <= g.SourceCount; ++i) sourceList_->addItem(Q(g.Source[i].sTitle.trimmed()));
                sourceList_->setCurrentIndex(n - 1);
            }
            SourceListClick();
        } else {
            SourceRec& s = g.Source[k];
            s.sTitle = S(sTitle_);
            s.sAuthor = S(sAuthor_);
            s.sPublish = S(sPublish_);
            s.sRepos = repos;
        }
    }
    SaveUserFile();
    edit_->hide();
}

void SourceEditFrame::CmdSrcExitClick() { hide(); }

}  // namespace lintora
