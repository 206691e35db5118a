#pragma once
// The individual editor window. One instance, made on first use. The main
// window opens it with OpenEditor or AddNewIndividual and finishes its link
// mode with LinkSpouse, LinkParents or CancelLinkMode. Handlers are public
// so that tests call them as the controls would.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QPointer>

#include "record_store/indiv_edit.h"
#include "record_store/person_view.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace lintora {

// What the editor asks of the main window beyond its port: the list window
// (its hint line text given: the ordinary hint or a link prompt), the search
// window, and the main window's Undo, so that its open panels follow an undo
// made here. Unset entries do nothing, but for undo: the core's undo alone.
struct EditorHost {
    std::function<void(const std::string& hint)> showIndividualList;
    std::function<void(const std::string& hint)> showMarriageList;
    std::function<void()> searchInternet;
    std::function<void()> undo;
    // The main window: it takes the keyboard back when the editor is put away.
    QPointer<QWidget> owner = nullptr;
};
void SetEditorHost(EditorHost host);

// Opens the editor on individual indiv at tab 0..4 (shown modally: returns
// once the editor is hidden). A number outside the table opens nothing.
void OpenEditor(int32_t indiv, int tab);
// Appends a blank individual and opens the editor to add him. False (and
// nothing opened) when the table of individuals is full.
bool AddNewIndividual();
// The ends of link mode: the person or family picked in the main window's
// lists (0 or less links nothing), or the list window closed.
void LinkSpouse(int32_t picked);
void LinkParents(int32_t family);
void CancelLinkMode();
// Shut-down: a visible editor is closed as by its close box (the unsaved-work
// reminder first). False when it stays open: the reminder was dismissed, or
// the save it asked for refused.
bool CloseEditor();
// Makes the editor window the core's editor port.
void InstallEditorPort();

class Lintoraedit : public QDialog {
    Q_OBJECT
public:
    explicit Lintoraedit(QWidget* parent = nullptr);
    ~Lintoraedit() override;

    // Tests run the window without a modal loop.
    static void SetModalLoop(bool on);

    // Fills every control for g.CurIndiv and shows the window on that tab.
    void LoadIndivEdit(int tab);
    void CheckEditChanges();
    // Offers to save (or add) before the person is left; true when the
    // caller may go on, false when the user dismissed the question or chose
    // to save and the save refused (the person and the boxes stay as they are).
    bool RemindUnsaved();
    // Writes the boxes back; true when something was stored.
    bool SaveIndivEdit();

    // The boxes as EditValues, and back.
    EditValues Values() const;
    void SetValues(const EditValues& v);

    // Event handlers.
    void BoxChanged(QLineEdit* box);
    void iSex_LostFocus();
    void iNotes_Change();
    void cmdNotesSw_Click();
    void btnPrev_Click();
    void btnNext_Click();
    void iGoToFather_Click();
    void iGoToMother_Click();
    void iGoToSpouse_Click();
    void iChildrenList_Click(int row);
    void iSiblingList_Click(int row);
    void iSpousesList_Click(int index);
    void SourceListEdit_Click(int index);
    void CancelEditButton_Click();
    void EditIndivButton_Click();
    void btnGoPedigree_Click();
    void SSTab1_Click(int tab);
    void mnuTabsItem_Click(int index);
    void mnuLinkItem_Click(int index);
    void mnuNavItem_Click(int index);
    void mnuUndoItem_Click();
    // The close box: false keeps the window open.
    bool Form_Unload();

    // Appends a blank individual and loads him in add mode; false when the
    // table is full.
    bool StartAdd();
    // Link results, called by the module functions above.
    void DoLinkSpouse(int32_t picked);
    void DoLinkParents(int32_t family);

    // Hides the window and forgets an add in progress: for a caller that has
    // replaced the tables under it.
    void Discard();

    bool NewIndiv() const { return newIndiv_; }
    std::string StatusMsg;
    bool inUndo = false;

    // Controls, named as designed.
    QTabWidget* SSTab1;
    QLineEdit *iSex, *iNick, *iSurn, *iGivn, *iSuffix, *iTitle, *iPrefix;
    QLineEdit *ibDate, *iBplace, *icDate, *icPlace, *idDate, *iDplace, *iblDate, *iblPlace;
    QComboBox* iSpousesList;
    QLabel *lblSpouses2, *lblChildren2, *lblSiblings2, *iFather, *iMother;
    QLineEdit *imDate, *imPlace;
    QListWidget *iChildrenList, *iSiblingList;
    QToolButton *iGoToSpouse, *iGoToFather, *iGoToMother;
    QPlainTextEdit* iNotes;
    QPushButton* cmdNotesSw;
    QLineEdit *SrcTitle, *SrcPulisher, *SrcAuthor, *ReposName, *ReposAddr, *ReposCont;
    QComboBox* SourceListEdit;
    QLineEdit *iAFN, *iCDno, *iPIDno, *iSubmNo;
    QToolButton *btnGoPedigree, *btnPrev, *btnNext;
    QPushButton *CancelEditButton, *EditIndivButton;
    QMenuBar* menuBar;
    QMenu *mnuTabs, *mnuLink, *mnuNav;
    std::vector<QAction*> mnuTabsItem, mnuLinkItem, mnuNavItem;
    QAction* mnuUndoItem;

    std::vector<int32_t> SpouseNums, SpouseFamNums, ChildNums, SiblingNums;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, class QEvent* e) override;

private:
    bool Filling() const { return filling_ > 0; }
    // The boxes differ from the stored person: the button reads "Refresh".
    bool Pending() const;
    void SetBox(QLineEdit* box, const std::string& text);
    void SetButtons(bool changed);
    void ShowNotes();
    void FillChildren(const std::vector<ChildEntry>& children);
    void FillFamilyTab();
    void Redraw();
    void ShowIndivAfterLink(const std::string& message);
    bool DropNewIndiv();
    // Closes the window as OK does, leaving nobody current.
    void LeaveEditor();
    // With nobody left to show (the new person dropped), closes the window;
    // true when it did.
    bool LeaveIfNobody();
    bool SlashQuestion(QLineEdit* box);
    void GoTo(int32_t indiv, int tab);
    void Step(int direction);
    bool SaveForLink();
    std::string CurName() const;

    int filling_ = 0;
    bool newIndiv_ = false;
    int32_t addedRecord_ = 0;
    bool marriageKnown_ = false;
};

// The one editor window.
Lintoraedit& EditorWindow();

}  // namespace lintora
