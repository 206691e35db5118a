#include "main_window/preferences_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTextEdit>
#include <QVBoxLayout>

#include "files/data_files.h"
#include "platform/qt/box_text.h"
#include "platform/qt/filled_box.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/window_place.h"
#include "record_store/program_state.h"
#include "record_store/fixed_text.h"
#include "workspace/workspace.h"

namespace lintora {
namespace {

// &HBBGGRR 0xC0C000: red 0, green 192, blue 192.
const QColor kTeal(0, 192, 192);
const QColor kWhite(255, 255, 255);

std::string ToStd(const QString& s) { return s.toStdString(); }
QString ToQt(const std::string& s) { return QString::fromStdString(s); }

QCheckBox* BareCheck(const char* tip) {
    auto* c = new QCheckBox;
    c->setToolTip(QString::fromUtf8(tip));
    c->setFixedSize(17, 17);  // 255 twips
    return c;
}

}  // namespace

LintoraPreferences::LintoraPreferences(QWidget* parent) : QDialog(parent) {
    setWindowTitle("GED File Creation Preferences");
    auto* outer = new QVBoxLayout(this);

    auto* prepRow = new QHBoxLayout;
    prepCheck_ = BareCheck("Include your personal info in GED file?");
    prepCheck_->setChecked(true);
    prepRow->addWidget(prepCheck_);
    prepRow->addWidget(new QLabel("Prepared by..."));
    prepRow->addStretch();
    outer->addLayout(prepRow);

    static const char* const labels[] = {"Name:",      "Address 1:", "Address 2:", "Address 3:",
                                         "Address 4:", "Address 5:", "Country:",   "Phone:",
                                         "Preparer's AFN:", "Email:"};
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(1, 320);
    for (int i = 1; i <= 10; ++i) {
        text_[i] = new FilledBox;
        text_[i]->setAutoFillBackground(true);
        auto* label = new QLabel(labels[i - 1]);
        label->setBuddy(text_[i]);
        grid->addWidget(label, i - 1, 0, Qt::AlignRight);
        grid->addWidget(text_[i], i - 1, 1);
    }
    outer->addLayout(grid);

    auto* sourceRow = new QHBoxLayout;
    sourceCheck_ = BareCheck("Include source info in GED file?");
    sourceCheck_->setChecked(true);
    sourceRow->addWidget(sourceCheck_);
    sourceRow->addWidget(new QLabel("Preferences for source citation..."));
    sourceRow->addStretch();
    outer->addSpacing(6);
    outer->addLayout(sourceRow);

    static const char* const optionLabels[] = {"Single source citation  - one for each Individual/Family",
                                               "Multiple source citations - one for each data item"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        option_[i] = new QRadioButton;
        group->addButton(option_[i], i);
        auto* row = new QHBoxLayout;
        row->addSpacing(24);
        row->addWidget(option_[i]);
        row->addWidget(new QLabel(optionLabels[i]));
        row->addStretch();
        outer->addLayout(row);
        connect(option_[i], &QRadioButton::clicked, this, [this, i] { Option1Click(i); });
    }

    auto* noteRow = new QHBoxLayout;
    noteCheck_ = BareCheck("Include your note in GED file?");
    noteRow->addWidget(noteCheck_);
    noteRow->addWidget(new QLabel("Note attachment for each individual"));
    noteRow->addStretch();
    outer->addSpacing(6);
    outer->addLayout(noteRow);
    text11_ = new QTextEdit;
    text11_->setAcceptRichText(false);
    text11_->setFixedHeight(70);
    text11_->setAutoFillBackground(true);
    // Tab leads on to the buttons; a note needs no tabs.
    text11_->setTabChangesFocus(true);
    outer->addWidget(text11_);

    auto* buttons = new QHBoxLayout;
    command1_ = new QPushButton("OK");
    command3_ = new QPushButton("Continue");
    command3_->setToolTip("Create GED file");
    command2_ = new QPushButton("Cancel");
    buttons->addStretch();
    buttons->addWidget(command1_);  // OK and Continue share one place
    buttons->addWidget(command3_);
    buttons->addWidget(command2_);
    outer->addLayout(buttons);

    connect(prepCheck_, &QCheckBox::clicked, this, [this] { PrepCheckClick(); });
    connect(sourceCheck_, &QCheckBox::clicked, this, [this] { SourceCheckClick(); });
    connect(noteCheck_, &QCheckBox::clicked, this, [this] { NoteCheckClick(); });
    connect(command1_, &QPushButton::clicked, this, [this] { Command1Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { Command2Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { Command3Click(); });

    FormLoad();
    KeepPlaceWhenShownAgain(this);
    ReturnActivationOnHide(this);
}

void LintoraPreferences::FormLoad() {
    const std::string* prefs[] = {&g.prefName,  &g.prefAddr1,   &g.prefAddr2, &g.prefAddr3,
                                  &g.prefAddr4, &g.prefAddr5,   &g.prefCountry, &g.prefPhone,
                                  &g.prefAFN,   &g.prefEmail};
    // A text of blanks only (an empty setting comes back as one blank) shows
    // empty, so that what is typed into the box does not start with a blank.
    const auto shown = [](const std::string& stored) { return TrimBlanks(stored).empty() ? QString() : ToQt(stored); };
    for (int i = 1; i <= 10; ++i) SetBoxText(text_[i], shown(*prefs[i - 1]));
    text11_->setPlainText(shown(g.prefNotes));
    // A mode other than 0 or 1 (a hand-edited store) selects one citation per record.
    option_[g.prefSourceSW == 1 ? 1 : 0]->setChecked(true);
    prepCheck_->setChecked(g.PrepCheck);
    sourceCheck_->setChecked(g.SourceCheck);
    noteCheck_->setChecked(g.NoteCheck);
    PrepCheckClick();
    SourceCheckClick();
    NoteCheckClick();
}

void LintoraPreferences::Colour(QWidget* w, bool white) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, white ? kWhite : kTeal);
    w->setPalette(p);
}

bool LintoraPreferences::IsTeal(const QWidget* w) { return w->palette().color(QPalette::Base) == kTeal; }

void LintoraPreferences::SyncChecks() {
    g.PrepCheck = prepCheck_->isChecked();
    g.SourceCheck = sourceCheck_->isChecked();
    g.NoteCheck = noteCheck_->isChecked();
    g.Option1 = option_[1]->isChecked() ? 1 : 0;
}

void LintoraPreferences::PrepCheckClick() {
    for (int i = 1; i <= 10; ++i) Colour(text_[i], prepCheck_->isChecked());
    SyncChecks();
}

void LintoraPreferences::SourceCheckClick() {
    for (auto* o : option_) o->setEnabled(sourceCheck_->isChecked());
    SyncChecks();
}

void LintoraPreferences::NoteCheckClick() {
    Colour(text11_, noteCheck_->isChecked());
    SyncChecks();
}

void LintoraPreferences::Option1Click(int index) {
    if (index < 0 || index > 1) return;
    if (!option_[index]->isChecked()) option_[index]->setChecked(true);
    g.prefSourceSW = static_cast<int16_t>(index);
    SyncChecks();
}

void LintoraPreferences::StoreTexts() {
    std::string* prefs[] = {&g.prefName,  &g.prefAddr1,   &g.prefAddr2, &g.prefAddr3,
                            &g.prefAddr4, &g.prefAddr5,   &g.prefCountry, &g.prefPhone,
                            &g.prefAFN,   &g.prefEmail};
    for (int i = 1; i <= 10; ++i) {
        *prefs[i - 1] = ToStd(text_[i]->text());
        // The file gets the text without the blanks around it.
        g.PrefText[i] = TrimBlanks(*prefs[i - 1]);
    }
    g.prefNotes = ToStd(text11_->toPlainText());
    g.PrefText[11] = TrimBlanks(g.prefNotes);
    SyncChecks();
}

void LintoraPreferences::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    // Each opening starts in the Name box, its text ready to be typed over
    // and shown from its beginning; typing must never land on a tick box,
    // where a blank flips it.
    QLineEdit* name = text_[1];
    name->setFocus(Qt::OtherFocusReason);
    name->setSelection(static_cast<int>(name->text().size()), -static_cast<int>(name->text().size()));
}

void LintoraPreferences::ShowFromMenu() {
    command3_->hide();
    command1_->show();
    // Enter presses the button shown, never the hidden one.
    command1_->setDefault(true);
    exec();
}

void LintoraPreferences::ShowForGedSave() {
    command1_->hide();
    command3_->show();
    command3_->setDefault(true);
    // The other windows wait: the work must not change under the save.
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
}

void LintoraPreferences::Command1Click() {
    const AskingWidget asking(this);
    StoreTexts();
    done(QDialog::Accepted);
    SaveUserFile();
}

void LintoraPreferences::Command2Click() { done(QDialog::Rejected); }

void LintoraPreferences::Command3Click() {
    const AskingWidget asking(this);
    StoreTexts();
    g.prefSourceSW = option_[0]->isChecked() ? 0 : 1;
    SaveGedcomFile();
    hide();  // whether the file was written or not
    SaveUserFile();
}

}  // namespace lintora
