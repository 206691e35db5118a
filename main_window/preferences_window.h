#pragma once
// "GED File Creation Preferences": the preparer's details for the submitter
// record, the citation choice and the note for every individual. Loaded on
// first use and only hidden afterwards, so the boxes keep what was typed.
#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QWidget;

namespace lintora {

class LintoraPreferences : public QDialog {
    Q_OBJECT
public:
    explicit LintoraPreferences(QWidget* parent = nullptr);

    // From the Preferences menu: "OK" and "Cancel", modal; Enter presses OK.
    void ShowFromMenu();
    // From File > Save As GED: "Continue" and "Cancel"; the call returns at
    // once, but the other windows take no input until this one closes.
    // Enter presses Continue.
    void ShowForGedSave();

    // Handlers, called by the controls and by tests.
    void FormLoad();
    void PrepCheckClick();
    void SourceCheckClick();
    void NoteCheckClick();
    void Option1Click(int index);
    void Command1Click();  // OK
    void Command2Click();  // Cancel
    void Command3Click();  // Continue: writes the GEDCOM file

    QLineEdit* Text(int i) const { return text_[i]; }  // 1..10
    QTextEdit* NoteBox() const { return text11_; }
    QCheckBox* PrepCheck() const { return prepCheck_; }
    QCheckBox* SourceCheck() const { return sourceCheck_; }
    QCheckBox* NoteCheck() const { return noteCheck_; }
    QRadioButton* Option(int index) const { return option_[index]; }
    QPushButton* OkButton() const { return command1_; }
    QPushButton* CancelButton() const { return command2_; }
    QPushButton* ContinueButton() const { return command3_; }
    // Whether a box shows the teal "left out" background.
    static bool IsTeal(const QWidget* w);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void StoreTexts();
    void SyncChecks();
    void Colour(QWidget* w, bool white);

    std::array<QLineEdit*, 11> text_{};  // 1..10 used
    QTextEdit* text11_ = nullptr;
    QCheckBox* prepCheck_ = nullptr;
    QCheckBox* sourceCheck_ = nullptr;
    QCheckBox* noteCheck_ = nullptr;
    std::array<QRadioButton*, 2> option_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
};

}  // namespace lintora
