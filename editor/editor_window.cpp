#include "editor/editor_window.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "record_store/family_links.h"
#include "record_store/notes.h"
#include "record_store/pedigree_view.h"
#include "record_store/person_view.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/text_routines.h"
#include "record_store/trees.h"
#include "record_store/undo.h"
#include "workspace/workspace.h"
#include "platform/window_ports.h"
#include "platform/qt/box_text.h"
#include "platform/qt/filled_box.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/window_place.h"

namespace lintora {

namespace {

const char* const kCanceledAdd = "Canceled. Individual not added..";
const char* const kNameBlankRefresh = "Name cannot be blank - please enter a name or Refresh";
const char* const kNameBlankCancel = "Name cannot be blank - please enter a name or Cancel";
const char* const kSexRule = "Sex must be either M, F, or U";

bool modalLoop = true;
EditorHost host;

std::string NameOf(int32_t i) { return InIndivTable(i) ? g.Indiv[i].iName.trimmed() : std::string(); }
std::string GivenAndSurname(int32_t i) {
    if (!InIndivTable(i)) return {};
    return g.Indiv[i].iGivn.trimmed() + " " + g.Indiv[i].iSurn.trimmed();
}

QLabel* Caption(const char* text, QWidget* parent) { return new QLabel(text, parent); }

QToolButton* PictureButton(QStyle::StandardPixmap pixmap, const char* tip, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(pixmap));
    b->setToolTip(tip);
    b->setAutoRaise(false);
    return b;
}

// The editor's answers to the core.
class EditorWindowPort : public EditorPort {
public:
    bool Visible() const override { return EditorWindow().isVisible(); }
    int Tab() const override { return EditorWindow().SSTab1->currentIndex(); }
    void Hide() override {
        // The editor's own undo keeps the window up and reloads it in place.
        if (!EditorWindow().inUndo) EditorWindow().hide();
    }
    void Load(int tab) override { EditorWindow().LoadIndivEdit(tab); }
    void SetUndoEnabled(bool on) override { EditorWindow().mnuUndoItem->setEnabled(on); }
    void ShowNotes(const std::string& notes, const std::string& switchCaption,
                   const std::string& tabCaption) override {
        Lintoraedit& w = EditorWindow();
        w.cmdNotesSw->setText(Q(switchCaption));
        w.iNotes->setPlainText(Q(notes));
        w.SSTab1->setTabText(2, Q(tabCaption));
    }
};

}  // namespace

void SetEditorHost(EditorHost h) { host = std::move(h); }

Lintoraedit& EditorWindow() {
    static Lintoraedit* window = new Lintoraedit;
    return *window;
}

void InstallEditorPort() {
    static EditorWindowPort port;
    InstallEditor(&port);
}

void OpenEditor(int32_t indiv, int tab) {
    if (!InIndivTable(indiv)) return;
    g.CurIndiv = indiv;
    EditorWindow().LoadIndivEdit(tab);
}

bool AddNewIndividual() { return EditorWindow().StartAdd(); }

void LinkSpouse(int32_t picked) { EditorWindow().DoLinkSpouse(picked); }

void LinkParents(int32_t family) { EditorWindow().DoLinkParents(family); }

void CancelLinkMode() {
    MainWindow().SetStatusLabel("Selection canceled");
    MainWindow().ClearIndivList();
    MainWindow().ClearMarriageList();
    if (InIndivTable(g.CurIndiv)) EditorWindow().LoadIndivEdit(1);
}

bool CloseEditor() {
    Lintoraedit& editor = EditorWindow();
    if (editor.isVisible()) editor.close();
    return !editor.isVisible();
}

void Lintoraedit::SetModalLoop(bool on) { modalLoop = on; }

// ---------------------------------------------------------------- layout

Lintoraedit::Lintoraedit(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Edit");
    setModal(true);
    QFont arial("Arial");
    arial.setPointSize(9);

    auto box = [&](QWidget* parent, int width = 0) {
        auto* e = new FilledBox(parent);
        e->setFont(arial);
        if (width > 0) e->setFixedWidth(width);
        connect(e, &QLineEdit::textChanged, this, [this, e] { BoxChanged(e); });
        return e;
    };
    auto label = [&](const char* text, QWidget* parent) {
        auto* l = Caption(text, parent);
        l->setFont(arial);
        return l;
    };

    SSTab1 = new QTabWidget(this);

    // Tab 0: the person.
    auto* FrameEditIndiv = new QFrame;
    auto* g0 = new QGridLayout(FrameEditIndiv);
    iSex = box(FrameEditIndiv, 28);
    iSex->installEventFilter(this);
    iNick = box(FrameEditIndiv);
    iSurn = box(FrameEditIndiv);
    iGivn = box(FrameEditIndiv);
    iSuffix = box(FrameEditIndiv);
    iTitle = box(FrameEditIndiv);
    iPrefix = box(FrameEditIndiv);
    ibDate = box(FrameEditIndiv, 130);
    iBplace = box(FrameEditIndiv);
    icDate = box(FrameEditIndiv, 130);
    icPlace = box(FrameEditIndiv);
    idDate = box(FrameEditIndiv, 130);
    iDplace = box(FrameEditIndiv);
    iblDate = box(FrameEditIndiv, 130);
    iblPlace = box(FrameEditIndiv);
    g0->addWidget(label("Sex", FrameEditIndiv), 0, 0);
    g0->addWidget(iSex, 0, 1, Qt::AlignLeft);
    g0->addWidget(label("Nickname", FrameEditIndiv), 0, 2, Qt::AlignRight);
    g0->addWidget(iNick, 0, 3);
    g0->addWidget(label("Surname", FrameEditIndiv), 1, 0);
    g0->addWidget(iSurn, 1, 1, 1, 3);
    g0->addWidget(label("Given", FrameEditIndiv), 2, 0);
    g0->addWidget(iGivn, 2, 1);
    g0->addWidget(label("Suffix", FrameEditIndiv), 2, 2, Qt::AlignRight);
    g0->addWidget(iSuffix, 2, 3);
    g0->addWidget(label("Title", FrameEditIndiv), 3, 0);
    g0->addWidget(iTitle, 3, 1);
    g0->addWidget(label("Prefix", FrameEditIndiv), 3, 2, Qt::AlignRight);
    g0->addWidget(iPrefix, 3, 3);
    const char* events[] = {"Born", "Christen", "Died", "Buried"};
    QLineEdit* dates[] = {ibDate, icDate, idDate, iblDate};
    QLineEdit* places[] = {iBplace, icPlace, iDplace, iblPlace};
    for (int k = 0; k < 4; ++k) {
        g0->addWidget(label(events[k], FrameEditIndiv), 4 + k, 0);
        g0->addWidget(dates[k], 4 + k, 1);
        g0->addWidget(places[k], 4 + k, 2, 1, 2);
    }
    g0->setColumnStretch(1, 2);
    g0->setColumnStretch(3, 3);
    g0->setRowStretch(8, 1);
    SSTab1->addTab(FrameEditIndiv, "Indiv");

    // Tab 1: the family.
    auto* Frame1 = new QFrame;
    auto* g1 = new QGridLayout(Frame1);
    // A long spouse line is cut to the window, never widens it.
    iSpousesList = new FilledComboBox(Frame1);
    iSpousesList->setFont(arial);
    connect(iSpousesList, &QComboBox::activated, this, [this](int i) { iSpousesList_Click(i); });
    lblSpouses2 = label(" ", Frame1);
    iGoToSpouse = PictureButton(QStyle::SP_ArrowRight, "View/Edit Spouse", Frame1);
    connect(iGoToSpouse, &QToolButton::clicked, this, [this] { iGoToSpouse_Click(); });
    imDate = box(Frame1, 130);
    imPlace = box(Frame1);
    iChildrenList = new QListWidget(Frame1);
    iChildrenList->setFont(arial);
    connect(iChildrenList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* it) { iChildrenList_Click(iChildrenList->row(it)); });
    lblChildren2 = label(" ", Frame1);
    // A parent's line is cut to the window, never widens it.
    iFather = new FilledLabel(" ", Frame1);
    iMother = new FilledLabel(" ", Frame1);
    for (QLabel* l : {iFather, iMother}) {
        l->setFont(arial);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    iGoToFather = PictureButton(QStyle::SP_ArrowRight, "View/Edit Father", Frame1);
    iGoToMother = PictureButton(QStyle::SP_ArrowRight, "View/Edit Mother", Frame1);
    connect(iGoToFather, &QToolButton::clicked, this, [this] { iGoToFather_Click(); });
    connect(iGoToMother, &QToolButton::clicked, this, [this] { iGoToMother_Click(); });
    iSiblingList = new QListWidget(Frame1);
    iSiblingList->setFont(arial);
    connect(iSiblingList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* it) { iSiblingList_Click(iSiblingList->row(it)); });
    lblSiblings2 = label(" ", Frame1);
    g1->addWidget(label("Spouse", Frame1), 0, 0);
    g1->addWidget(iSpousesList, 0, 1, 1, 2);
    g1->addWidget(lblSpouses2, 0, 3);
    g1->addWidget(iGoToSpouse, 0, 4);
    g1->addWidget(label("Married", Frame1), 1, 0);
    g1->addWidget(imDate, 1, 1);
    g1->addWidget(imPlace, 1, 2, 1, 3);
    auto* childCaption = new QVBoxLayout;
    childCaption->addWidget(label("Children", Frame1));
    childCaption->addWidget(lblChildren2);
    childCaption->addStretch();
    g1->addLayout(childCaption, 2, 0);
    g1->addWidget(iChildrenList, 2, 1, 1, 4);
    g1->addWidget(label("Father", Frame1), 3, 0);
    g1->addWidget(iFather, 3, 1, 1, 3);
    g1->addWidget(iGoToFather, 3, 4);
    g1->addWidget(label("Mother", Frame1), 4, 0);
    g1->addWidget(iMother, 4, 1, 1, 3);
    g1->addWidget(iGoToMother, 4, 4);
    auto* sibCaption = new QVBoxLayout;
    sibCaption->addWidget(label("Siblings", Frame1));
    sibCaption->addWidget(lblSiblings2);
    sibCaption->addStretch();
    g1->addLayout(sibCaption, 5, 0);
    g1->addWidget(iSiblingList, 5, 1, 1, 4);
    g1->setColumnStretch(2, 1);
    SSTab1->addTab(Frame1, "Family");

    // Tab 2: notes.
    auto* notesPage = new QWidget;
    auto* v2 = new QVBoxLayout(notesPage);
    iNotes = new QPlainTextEdit(notesPage);
    iNotes->setFont(arial);
    iNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(iNotes, &QPlainTextEdit::textChanged, this, [this] { iNotes_Change(); });
    auto* Frame2 = new QFrame(notesPage);
    auto* h2 = new QHBoxLayout(Frame2);
    h2->setContentsMargins(0, 0, 0, 0);
    cmdNotesSw = new QPushButton("Show Family Notes", Frame2);
    cmdNotesSw->setToolTip("Toggle Individual/Family Notes");
    connect(cmdNotesSw, &QPushButton::clicked, this, [this] { cmdNotesSw_Click(); });
    h2->addStretch();
    h2->addWidget(cmdNotesSw);
    v2->addWidget(iNotes);
    v2->addWidget(Frame2);
    SSTab1->addTab(notesPage, "Notes");

    // Tab 3: the source.
    auto* Frame3 = new QFrame;
    auto* g3 = new QGridLayout(Frame3);
    auto showBox = [&]() {
        auto* e = new FilledBox(Frame3);
        e->setFont(arial);
        e->setReadOnly(true);
        return e;
    };
    SrcTitle = showBox();
    SrcPulisher = showBox();
    SrcAuthor = showBox();
    ReposName = showBox();
    ReposAddr = showBox();
    ReposCont = showBox();
    SourceListEdit = new FilledComboBox(Frame3);
    SourceListEdit->setFont(arial);
    connect(SourceListEdit, &QComboBox::currentIndexChanged, this, [this](int i) { SourceListEdit_Click(i); });
    const char* srcCaptions[] = {"Source", "Publisher", "Author", "Repos", "", ""};
    QLineEdit* srcBoxes[] = {SrcTitle, SrcPulisher, SrcAuthor, ReposName, ReposAddr, ReposCont};
    for (int k = 0; k < 6; ++k) {
        g3->addWidget(label(srcCaptions[k], Frame3), k, 0);
        g3->addWidget(srcBoxes[k], k, 1);
    }
    auto* lblReassignSource = label("Reassign to a different source:", Frame3);
    g3->addWidget(lblReassignSource, 6, 0, 1, 2);
    g3->addWidget(SourceListEdit, 7, 0, 1, 2);
    g3->setRowStretch(8, 1);
    SSTab1->addTab(Frame3, "Source");

    // Tab 4: numbers.
    auto* miscPage = new QWidget;
    auto* g4 = new QGridLayout(miscPage);
    iAFN = box(miscPage, 160);
    iCDno = box(miscPage, 160);
    iPIDno = box(miscPage, 160);
    iSubmNo = box(miscPage, 160);
    const char* miscCaptions[] = {"AFN", "CD#", "PID#", "Submit#"};
    QLineEdit* miscBoxes[] = {iAFN, iCDno, iPIDno, iSubmNo};
    for (int k = 0; k < 4; ++k) {
        g4->addWidget(label(miscCaptions[k], miscPage), k, 0);
        g4->addWidget(miscBoxes[k], k, 1, Qt::AlignLeft);
    }
    g4->setColumnStretch(1, 1);
    g4->setRowStretch(4, 1);
    SSTab1->addTab(miscPage, "Misc");
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int t) { SSTab1_Click(t); });

    // Lower row.
    btnGoPedigree = PictureButton(QStyle::SP_ArrowUp, "View pedigree", this);
    btnPrev = PictureButton(QStyle::SP_ArrowBack, "View/Edit previous RIN", this);
    CancelEditButton = new QPushButton("Cancel", this);
    EditIndivButton = new QPushButton("Save", this);
    btnNext = PictureButton(QStyle::SP_ArrowForward, "View/Edit next RIN", this);
    for (QToolButton* b : {btnGoPedigree, btnPrev, btnNext}) b->setIconSize(QSize(24, 24));
    CancelEditButton->setMinimumWidth(90);
    EditIndivButton->setMinimumWidth(90);
    // Enter presses Save (or Add) while the boxes hold something to store,
    // else OK; a button with the keys takes Enter itself.
    CancelEditButton->setDefault(true);
    EditIndivButton->installEventFilter(this);
    connect(btnGoPedigree, &QToolButton::clicked, this, [this] { btnGoPedigree_Click(); });
    connect(btnPrev, &QToolButton::clicked, this, [this] { btnPrev_Click(); });
    connect(btnNext, &QToolButton::clicked, this, [this] { btnNext_Click(); });
    connect(CancelEditButton, &QPushButton::clicked, this, [this] { CancelEditButton_Click(); });
    connect(EditIndivButton, &QPushButton::clicked, this, [this] { EditIndivButton_Click(); });
    auto* lower = new QHBoxLayout;
    lower->addWidget(btnGoPedigree);
    lower->addStretch();
    lower->addWidget(btnPrev);
    lower->addWidget(CancelEditButton);
    lower->addWidget(EditIndivButton);
    lower->addWidget(btnNext);
    lower->addStretch();
    // The Save button's place is kept while it is hidden, so the row stays put.
    QSizePolicy keep = EditIndivButton->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    EditIndivButton->setSizePolicy(keep);

    // Menus.
    menuBar = new QMenuBar(this);
    mnuTabs = menuBar->addMenu("&Tabs");
    const char* tabItems[] = {"&Individual", "&Family", "&Notes", "&Sources", "&Misc"};
    for (int k = 0; k < 5; ++k) {
        QAction* a = mnuTabs->addAction(tabItems[k]);
        connect(a, &QAction::triggered, this, [this, k] { mnuTabsItem_Click(k); });
        mnuTabsItem.push_back(a);
    }
    mnuLink = menuBar->addMenu("&Link/unLink");
    const char* linkItems[] = {"Link to New &Spouse", "&Unlink Spouse", "Link to &Parents", "Unli&nk Parents",
                               "Unlink &Children"};
    for (int k = 0; k < 5; ++k) {
        QAction* a = mnuLink->addAction(linkItems[k]);
        connect(a, &QAction::triggered, this, [this, k] { mnuLinkItem_Click(k); });
        mnuLinkItem.push_back(a);
    }
    mnuNav = menuBar->addMenu("&Navigate");
    const char* navItems[] = {"&Next", "&Previous", "List &Individuals", "List &Marriages", "&Add Individual",
                              "Dele&te Individual", "&Search Internet"};
    for (int k = 0; k < 7; ++k) {
        QAction* a = mnuNav->addAction(navItems[k]);
        connect(a, &QAction::triggered, this, [this, k] { mnuNavItem_Click(k); });
        mnuNavItem.push_back(a);
    }
    mnuUndoItem = menuBar->addAction("&UnDo");
    mnuUndoItem->setEnabled(g.UndoReady);
    connect(mnuUndoItem, &QAction::triggered, this, [this] { mnuUndoItem_Click(); });

    auto* main = new QVBoxLayout(this);
    main->setMenuBar(menuBar);
    main->addWidget(SSTab1);
    main->addLayout(lower);
    resize(560, 400);
    EditIndivButton->hide();
    KeepPlaceWhenShownAgain(this);
    ReturnActivationOnHide(this, [] { return host.owner.data(); });
}

Lintoraedit::~Lintoraedit() = default;

bool Lintoraedit::eventFilter(QObject* watched, QEvent* e) {
    if (watched == iSex && e->type() == QEvent::FocusOut) iSex_LostFocus();
    if (watched == EditIndivButton && (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent))
        (EditIndivButton->isHidden() ? CancelEditButton : EditIndivButton)->setDefault(true);
    return QDialog::eventFilter(watched, e);
}

void Lintoraedit::reject() {
    // The close box and Escape both leave the person, unless a save refused.
    if (Form_Unload()) QDialog::reject();
}

// ---------------------------------------------------------------- values

EditValues Lintoraedit::Values() const {
    EditValues v;
    v.givn = S(iGivn->text());
    v.surn = S(iSurn->text());
    v.title = S(iTitle->text());
    v.suffix = S(iSuffix->text());
    v.prefix = S(iPrefix->text());
    v.nick = S(iNick->text());
    v.afn = S(iAFN->text());
    v.cdNo = S(iCDno->text());
    v.pidNo = S(iPIDno->text());
    v.sex = S(iSex->text());
    v.submNo = S(iSubmNo->text());
    v.bDate = S(ibDate->text());
    v.cDate = S(icDate->text());
    v.dDate = S(idDate->text());
    v.blDate = S(iblDate->text());
    v.bPlace = S(iBplace->text());
    v.cPlace = S(icPlace->text());
    v.dPlace = S(iDplace->text());
    v.blPlace = S(iblPlace->text());
    v.mDate = S(imDate->text());
    v.mPlace = S(imPlace->text());
    v.source = SourceListEdit->currentIndex();
    return v;
}

void Lintoraedit::SetBox(QLineEdit* box, const std::string& text) { SetBoxText(box, Q(text)); }

void Lintoraedit::SetValues(const EditValues& v) {
    ++filling_;
    SetBox(iGivn, v.givn);
    SetBox(iSurn, v.surn);
    SetBox(iTitle, v.title);
    SetBox(iSuffix, v.suffix);
    SetBox(iPrefix, v.prefix);
    SetBox(iNick, v.nick);
    SetBox(iAFN, v.afn);
    SetBox(iCDno, v.cdNo);
    SetBox(iPIDno, v.pidNo);
    SetBox(iSex, v.sex);
    SetBox(iSubmNo, v.submNo);
    SetBox(ibDate, v.bDate);
    SetBox(icDate, v.cDate);
    SetBox(idDate, v.dDate);
    SetBox(iblDate, v.blDate);
    SetBox(iBplace, v.bPlace);
    SetBox(icPlace, v.cPlace);
    SetBox(iblPlace, v.blPlace);
    SetBox(iDplace, v.dPlace);
    --filling_;
}

// ---------------------------------------------------------------- loading

void Lintoraedit::LoadIndivEdit(int tab) {
    const AskingWidget asking(this);
    if (!InIndivTable(g.CurIndiv)) return;
    // The main window's Add appends the blank record itself: it opens in add
    // mode, so that Cancel drops it rather than leaving a nameless person.
    if (g.NewIndivFlag == "Y") {
        g.NewIndivFlag = "N";
        if (g.CurIndiv == g.IndivCount) {
            addedRecord_ = g.CurIndiv;
            newIndiv_ = true;
        }
    }
    if (tab < 0 || tab > 4) tab = 0;
    ++filling_;
    setWindowTitle(Q(std::to_string(g.CurIndiv) + ": " + TrimBlanks(FormatLifeDates(g.CurIndiv))));
    SetValues(EditValuesOf(g.CurIndiv, 0));
    // A name that already holds a slash is pointed out as it is shown.
    for (QLineEdit* b : {iGivn, iSurn, iSuffix}) SlashQuestion(b);

    FillFamilyTab();
    LoadEditNotes();
    ShowNotes();

    SourceListEdit->clear();
    SourceListEdit->addItem("none");
    for (int32_t s = 1; s <= g.SourceCount; ++s) SourceListEdit->addItem(Q(g.Source[s].sTitle.trimmed()));
    const int source = g.Indiv[g.CurIndiv].iSource;
    SourceListEdit->setCurrentIndex(source >= 0 && source <= g.SourceCount ? source : -1);
    SourceListEdit_Click(SourceListEdit->currentIndex());

    SSTab1->setCurrentIndex(tab);
    --filling_;

    EditIndivButton->hide();
    if (newIndiv_) {
        setWindowTitle("Add Individual");
        CancelEditButton->setText("Cancel");
        EditIndivButton->setText("Add");
    } else {
        CancelEditButton->setText("OK");
        EditIndivButton->setText("Save");
    }
    const int32_t famc = InFamilTable(g.Indiv[g.CurIndiv].iFamc) ? g.Indiv[g.CurIndiv].iFamc : 0;
    mnuLinkItem[1]->setEnabled(!SpouseNums.empty());
    mnuLinkItem[2]->setEnabled(famc <= 0);
    mnuLinkItem[3]->setEnabled(famc > 0);
    mnuLink->setEnabled(tab == 1);
    mnuLink->menuAction()->setEnabled(tab == 1);
    mnuUndoItem->setEnabled(g.UndoReady);

    if (!isVisible()) {
        if (newIndiv_) iSurn->setFocus();
        if (modalLoop)
            exec();
        else
            show();
    } else if (newIndiv_) {
        iSurn->setFocus();
    }
}

void Lintoraedit::FillFamilyTab() {
    ++filling_;
    const int32_t famc = FamilyAsChild(g.CurIndiv);
    const int32_t father = ParentIn(famc, true), mother = ParentIn(famc, false);
    iFather->setText(father > 0 ? Q(LifeDatesCaption(father)) : " ");
    iMother->setText(mother > 0 ? Q(LifeDatesCaption(mother)) : " ");
    iGoToFather->setEnabled(father > 0);
    iGoToMother->setEnabled(mother > 0);
    SiblingNums.clear();
    iSiblingList->clear();
    for (const ChildEntry& c : CollectChildren(famc, g.CurIndiv)) {
        SiblingNums.push_back(c.indiv);
        iSiblingList->addItem(Q(c.line));
    }
    lblSiblings2->setText(QString::number(iSiblingList->count()));

    const PersonPanel panel = ShowIndivPanel(g.CurIndiv);
    SpouseNums.clear();
    SpouseFamNums.clear();
    iSpousesList->clear();
    for (const SpouseEntry& s : panel.spouses) {
        SpouseNums.push_back(s.spouse);
        SpouseFamNums.push_back(s.family);
        iSpousesList->addItem(Q(s.line));
    }
    lblSpouses2->setText(QString::number(SpouseNums.size()));
    g.CurFamil = panel.firstFamily;
    marriageKnown_ = InFamilTable(g.CurFamil);
    SetBox(imDate, marriageKnown_ ? " " + g.Famil[g.CurFamil].fmDate.trimmed() : " ");
    SetBox(imPlace, marriageKnown_ ? " " + g.Famil[g.CurFamil].fmPlace.trimmed() : " ");
    // Without a marriage there is nowhere to keep a marriage date or family notes.
    imDate->setEnabled(marriageKnown_);
    imPlace->setEnabled(marriageKnown_);
    cmdNotesSw->setEnabled(marriageKnown_);
    iGoToSpouse->setEnabled(!SpouseNums.empty());
    if (!SpouseNums.empty()) iSpousesList->setCurrentIndex(0);
    FillChildren(panel.children);
    --filling_;
}

void Lintoraedit::FillChildren(const std::vector<ChildEntry>& children) {
    ChildNums.clear();
    iChildrenList->clear();
    for (const ChildEntry& c : children) {
        ChildNums.push_back(c.indiv);
        iChildrenList->addItem(Q(c.line));
    }
    lblChildren2->setText(QString::number(iChildrenList->count()));
    mnuLinkItem[4]->setEnabled(!ChildNums.empty());
}

// ---------------------------------------------------------------- changes

void Lintoraedit::SetButtons(bool changed) {
    if (changed) {
        if (newIndiv_) EditIndivButton->setText("Add");
        EditIndivButton->show();
        CancelEditButton->setText("Refresh");
    } else {
        EditIndivButton->hide();
        CancelEditButton->setText(newIndiv_ ? "Cancel" : "OK");
    }
}

bool Lintoraedit::Pending() const { return S(CancelEditButton->text()) == "Refresh"; }

void Lintoraedit::CheckEditChanges() {
    if (!InIndivTable(g.CurIndiv)) return;
    SetButtons(EditDiffers(Values(), g.CurIndiv, marriageKnown_ ? g.CurFamil : 0));
}

bool Lintoraedit::SlashQuestion(QLineEdit* box) {
    if (!box->text().contains('/')) return true;
    return MsgBox("It is recommended that a backslash character ('/') not be used in a name.\n"
                  "Unpredicable results may occur. Do you wish to inckude them, anyway?",
                  MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes;
}

void Lintoraedit::BoxChanged(QLineEdit* box) {
    const AskingWidget asking(this);
    if (Filling()) return;
    if (box == iCDno || box == iPIDno) {
        if (TrimBlanks(S(box->text())).empty()) {
            box->setText("0");  // runs this handler again
            return;
        }
    }
    // Whatever the answer, the buttons show whether the boxes now differ.
    if (box == iGivn || box == iSurn || box == iSuffix) SlashQuestion(box);
    CheckEditChanges();
}

void Lintoraedit::iSex_LostFocus() {
    const AskingWidget asking(this);
    const std::string sex = S(iSex->text());
    if (ValidSex(sex) || !InIndivTable(g.CurIndiv)) return;
    MsgBox(kSexRule, MsgButtons::Ok, MsgIcon::Exclamation);
    SetBox(iSex, g.Indiv[g.CurIndiv].iSex.trimmed());
}

void Lintoraedit::iNotes_Change() {
    if (Filling()) return;
    SSTab1->setTabText(2, "Notes");
    const bool showsIndiv = TrimBlanks(S(cmdNotesSw->text())) == "Show Family Notes";
    const std::string box = TrimBlanks(S(iNotes->toPlainText()));
    // Compared with the text the box shows, so that emptying it is a change.
    const std::string& shown = showsIndiv ? g.IndivNoteText : g.FamilNoteText;
    if (box != TrimBlanks(shown)) {
        (showsIndiv ? g.IndivNoteChanged : g.FamilNoteChanged) = "Y";
        SSTab1->setTabText(2, "Notes*");
        CheckEditChanges();
    }
}

void Lintoraedit::ShowNotes() {
    ++filling_;
    cmdNotesSw->setText("Show Family Notes");
    iNotes->setPlainText(Q(g.IndivNoteText));
    SSTab1->setTabText(2, TrimBlanks(g.IndivNoteText).empty() ? "Notes" : "Notes*");
    --filling_;
}

void Lintoraedit::cmdNotesSw_Click() {
    ++filling_;
    const std::string box = TrimBlanks(S(iNotes->toPlainText()));
    if (TrimBlanks(S(cmdNotesSw->text())) == "Show Family Notes") {
        if (g.IndivNoteChanged == "Y") g.IndivNoteText = box;
        iNotes->setPlainText(Q(g.FamilNoteText));
        cmdNotesSw->setText("Show Individual Notes");
    } else {
        if (g.FamilNoteChanged == "Y") g.FamilNoteText = box;
        iNotes->setPlainText(Q(g.IndivNoteText));
        cmdNotesSw->setText("Show Family Notes");
    }
    --filling_;
}

// ---------------------------------------------------------------- reminder

bool Lintoraedit::DropNewIndiv() {
    // Only the record that add mode appended, while it is still the last one.
    const bool last = addedRecord_ > 0 && addedRecord_ == g.IndivCount && g.CurIndiv == addedRecord_;
    newIndiv_ = false;
    if (!last) return false;
    // Adding him cited the paste's source for him.
    g.DropCitation(g.Indiv[addedRecord_].iSource);
    g.Indiv[addedRecord_] = IndivRec{};
    --g.IndivCount;
    if (g.LastIndiv == addedRecord_) g.LastIndiv = 0;
    addedRecord_ = 0;
    g.CurIndiv = 0;
    g.CurFamil = 0;
    BuildNameIndex();
    StatusMsg = kCanceledAdd;
    MainWindow().SetStatusLabel(TrimBlanks(StatusMsg));
    return true;
}

bool Lintoraedit::RemindUnsaved() {
    // Nobody shown: nothing could be saved, so nothing is asked.
    if (!InIndivTable(g.CurIndiv)) return true;
    if (newIndiv_) {
        if (!Pending()) {
            DropNewIndiv();
            return true;
        }
        const std::string text = TrimBlanks(S(iGivn->text())) + " " + TrimBlanks(S(iSurn->text())) +
                                 " has not been added.\nWould you like to add this individual now?";
        switch (MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, "A gentle reminder")) {
            case MsgResult::Yes: return SaveIndivEdit();  // a refusal keeps him and what was typed
            case MsgResult::No: DropNewIndiv(); return true;
            default: return false;  // dismissed: nothing is decided
        }
    }
    if (!Pending()) return true;
    const std::string text = "Changes to " + TrimBlanks(S(iGivn->text())) + " " + TrimBlanks(S(iSurn->text())) +
                             " have not been saved.\nWould you like to save them now?";
    switch (MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, "A gentle reminder")) {
        case MsgResult::Yes: return SaveIndivEdit();
        case MsgResult::No: return true;
        default: return false;
    }
}

bool Lintoraedit::LeaveIfNobody() {
    if (InIndivTable(g.CurIndiv)) return false;
    LeaveEditor();
    return true;
}

void Lintoraedit::LeaveEditor() {
    g.CurIndiv = 0;
    // The Undo tip stays: while Undo is on it names what Undo takes back.
    MainWindow().SetInetButtonTip("Search Internet Sites");
    newIndiv_ = false;
    addedRecord_ = 0;
    hide();
}

// ---------------------------------------------------------------- saving

bool Lintoraedit::SaveIndivEdit() {
    if (TrimBlanks(S(iSurn->text())).empty() && TrimBlanks(S(iGivn->text())).empty()) {
        MsgBox(kNameBlankRefresh, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    if (!Pending()) return false;
    if (!InIndivTable(g.CurIndiv)) return false;
    const int32_t who = g.CurIndiv;
    // Nothing but M, F or U reaches the record, whichever way the save came;
    // a new person left without one is "U".
    const std::string sex = TrimBlanks(S(iSex->text()));
    if (!ValidSex(sex) && sex != g.Indiv[who].iSex.trimmed()) {
        MsgBox(kSexRule, MsgButtons::Ok, MsgIcon::Exclamation);
        ++filling_;
        iSex->setText(Q(g.Indiv[who].iSex.trimmed()));
        --filling_;
    }
    if (newIndiv_ && TrimBlanks(S(iSex->text())).empty()) {
        ++filling_;
        iSex->setText("U");
        --filling_;
    }

    // A person being added has no name stored yet: the tip names him as typed.
    InitUndo(newIndiv_ ? "UnDo Add of " + TrimBlanks(TrimBlanks(S(iGivn->text())) + " " + TrimBlanks(S(iSurn->text())))
                       : "UnDo changes to " + g.Indiv[who].iName.trimmed());
    // The blank record of a person being added is not part of the work undone to.
    if (newIndiv_ && addedRecord_ == who) LeaveOutOfUndo(who);

    std::vector<std::string> kept;
    StoreEditValues(Values(), who, marriageKnown_ ? g.CurFamil : 0, newIndiv_, kept);

    const std::string box = TrimBlanks(S(iNotes->toPlainText()));
    if (TrimBlanks(S(cmdNotesSw->text())) == "Show Family Notes") {
        if (g.IndivNoteChanged == "Y") g.IndivNoteText = box;
    } else if (g.FamilNoteChanged == "Y") {
        g.FamilNoteText = box;
    }
    if (g.IndivNoteChanged == "Y") StoreNotes("I", who, "Y");
    if (g.FamilNoteChanged == "Y" && InFamilTable(g.FamilNoteOwner)) StoreNotes("F", g.FamilNoteOwner, "Y");

    if (!kept.empty()) {
        std::string text;
        for (const std::string& k : kept) text += (text.empty() ? "" : "\n") + k;
        MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation);
        // The boxes show what was kept.
        ++filling_;
        SetBox(iCDno, " " + std::to_string(g.Indiv[who].iCDno));
        SetBox(iPIDno, " " + std::to_string(g.Indiv[who].iPIDno));
        --filling_;
    }

    setWindowTitle(Q(TrimBlanks(FormatLifeDates(who))));
    EditIndivButton->hide();
    CancelEditButton->setText("Done");
    g.DataChanged = "Y";
    // The first person of an empty work can be saved and listed like any other.
    if (newIndiv_) MainWindow().EnableDataCommands();
    StatusMsg = g.Indiv[who].iName.trimmed() + (newIndiv_ ? " has been added" : " has been changed");
    newIndiv_ = false;
    addedRecord_ = 0;
    MainWindow().ClearIndivList();
    Redraw();
    return true;
}

void Lintoraedit::Redraw() {
    const int32_t root = g.TreeSlot[0];
    MainWindow().ClearTree();
    g.TreeSlot.fill(0);
    g.TreeSlot[0] = InIndivTable(root) ? root : 0;
    MainWindow().BuildTree();
    MainWindow().UpdateStatusBar();
}

// ---------------------------------------------------------------- moving

void Lintoraedit::GoTo(int32_t indiv, int tab) {
    if (!InIndivTable(indiv)) return;
    g.CurIndiv = indiv;
    LoadIndivEdit(tab);
}

void Lintoraedit::Step(int direction) {
    const AskingWidget asking(this);
    if (!RemindUnsaved()) return;
    const int tab = SSTab1->currentIndex();
    int32_t k = g.CurIndiv;
    // One pass over the table at most: everybody may be removed.
    for (int32_t tries = 0; tries < g.IndivCount; ++tries) {
        k += direction;
        if (k < 1) k = g.IndivCount;
        if (k > g.IndivCount) k = 1;
        if (g.Indiv[k].iTree != kRemovedTree) {
            GoTo(k, tab);
            return;
        }
    }
    // The new person dropped and nobody live to step to: nothing is left to show.
    LeaveIfNobody();
}

void Lintoraedit::btnPrev_Click() { Step(-1); }
void Lintoraedit::btnNext_Click() { Step(1); }

void Lintoraedit::iGoToFather_Click() {
    const AskingWidget asking(this);
    if (!RemindUnsaved() || LeaveIfNobody()) return;
    const int32_t f = g.Indiv[g.CurIndiv].iFamc;
    if (InFamilTable(f) && g.Famil[f].fHusb >= 1) GoTo(g.Famil[f].fHusb, 0);
}

void Lintoraedit::iGoToMother_Click() {
    const AskingWidget asking(this);
    if (!RemindUnsaved() || LeaveIfNobody()) return;
    const int32_t f = g.Indiv[g.CurIndiv].iFamc;
    if (InFamilTable(f) && g.Famil[f].fWife >= 1) GoTo(g.Famil[f].fWife, 0);
}

void Lintoraedit::iGoToSpouse_Click() {
    const AskingWidget asking(this);
    if (!RemindUnsaved()) return;
    const int i = iSpousesList->currentIndex();
    if (i >= 0 && i < static_cast<int>(SpouseNums.size())) GoTo(SpouseNums[i], 0);
}

void Lintoraedit::iChildrenList_Click(int row) {
    const AskingWidget asking(this);
    if (row < 0 || row >= static_cast<int>(ChildNums.size())) return;
    const int32_t child = ChildNums[row];
    if (RemindUnsaved()) GoTo(child, 0);
}

void Lintoraedit::iSiblingList_Click(int row) {
    const AskingWidget asking(this);
    if (row < 0 || row >= static_cast<int>(SiblingNums.size())) return;
    const int32_t sibling = SiblingNums[row];
    if (RemindUnsaved()) GoTo(sibling, 0);
}

void Lintoraedit::iSpousesList_Click(int index) {
    const AskingWidget asking(this);
    if (index < 0 || index >= static_cast<int>(SpouseNums.size())) return;
    // The marriage boxes are about to show another family: edits pending
    // for the one shown so far are offered for saving first.
    if (!newIndiv_ && Pending() && !RemindUnsaved()) {
        // The save refused: the marriage shown so far stays chosen.
        for (int k = 0; k < static_cast<int>(SpouseFamNums.size()); ++k)
            if (SpouseFamNums[k] == g.CurFamil) iSpousesList->setCurrentIndex(k);
        return;
    }
    iChildrenList->clear();
    lblChildren2->setText(" ");
    const int32_t f = SpouseFamNums[index];
    if (!InFamilTable(f)) return;
    g.CurFamil = f;
    marriageKnown_ = true;
    // The family notes follow the marriage shown.
    LoadFamilyNotes();
    if (TrimBlanks(S(cmdNotesSw->text())) != "Show Family Notes") {
        ++filling_;
        iNotes->setPlainText(Q(g.FamilNoteText));
        --filling_;
    }
    imDate->setEnabled(true);
    imPlace->setEnabled(true);
    SetBox(imDate, " " + g.Famil[f].fmDate.trimmed());
    SetBox(imPlace, " " + g.Famil[f].fmPlace.trimmed());
    FillChildren(CollectChildren(f));
    CheckEditChanges();
}

void Lintoraedit::SourceListEdit_Click(int k) {
    for (QLineEdit* b : {SrcTitle, SrcPulisher, SrcAuthor, ReposName, ReposAddr, ReposCont}) b->clear();
    if (k > 0 && k <= g.SourceCount) {
        const SourceRec& s = g.Source[k];
        SetBox(SrcTitle, s.sTitle.trimmed());
        SetBox(SrcPulisher, s.sPublish.trimmed());
        SetBox(SrcAuthor, s.sAuthor.trimmed());
        const int r = s.sRepos;
        if (r > 0 && r <= g.RepositoryCount) {
            SetBox(ReposName, g.Repository[r].rName.trimmed());
            SetBox(ReposAddr, g.Repository[r].rAddr.trimmed());
            SetBox(ReposCont, g.Repository[r].rCont.trimmed());
        }
    }
    if (!Filling()) CheckEditChanges();
}

// ---------------------------------------------------------------- buttons

void Lintoraedit::CancelEditButton_Click() {
    const AskingWidget asking(this);
    if (Pending()) {
        if (LeaveIfNobody()) return;
        ++filling_;
        setWindowTitle(Q(std::to_string(g.CurIndiv) + ": " + TrimBlanks(FormatLifeDates(g.CurIndiv))));
        SetValues(EditValuesOf(g.CurIndiv, 0));
        for (QLineEdit* b : {iGivn, iSurn, iSuffix}) SlashQuestion(b);
        const int source = g.Indiv[g.CurIndiv].iSource;
        SourceListEdit->setCurrentIndex(source >= 0 && source <= g.SourceCount ? source : -1);
        SetBox(imDate, marriageKnown_ ? " " + g.Famil[g.CurFamil].fmDate.trimmed() : " ");
        SetBox(imPlace, marriageKnown_ ? " " + g.Famil[g.CurFamil].fmPlace.trimmed() : " ");
        LoadEditNotes();
        ShowNotes();
        --filling_;
        EditIndivButton->hide();
        CancelEditButton->setText("OK");
        if (newIndiv_ && TrimBlanks(S(iSurn->text())).empty()) {
            CancelEditButton->setText("Cancel");
            setWindowTitle("Add Individual");
        }
        return;
    }
    if (TrimBlanks(S(iSurn->text())).empty() && TrimBlanks(S(iGivn->text())).empty()) {
        if (newIndiv_) {
            DropNewIndiv();
        } else if (InIndivTable(g.CurIndiv)) {
            MsgBox(kNameBlankRefresh, MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        }
    } else if (newIndiv_) {
        // Typed but never added: the blank record goes.
        DropNewIndiv();
    }
    LeaveEditor();
}

void Lintoraedit::EditIndivButton_Click() {
    const AskingWidget asking(this);
    SaveIndivEdit();
}

void Lintoraedit::btnGoPedigree_Click() {
    const AskingWidget asking(this);
    if (TrimBlanks(S(iSurn->text())).empty()) {
        MsgBox(S(EditIndivButton->text()) == "Add" ? kNameBlankCancel : kNameBlankRefresh, MsgButtons::Ok,
               MsgIcon::Exclamation);
        return;
    }
    if (newIndiv_) {
        const int32_t added = g.CurIndiv;
        if (!SaveIndivEdit()) return;
        g.CurIndiv = added;
        newIndiv_ = false;
    } else if (!RemindUnsaved()) {
        return;
    }
    if (LeaveIfNobody()) return;
    MainWindow().ClearTree();
    g.TreeSlot.fill(0);
    g.TreeSlot[0] = g.CurIndiv;
    MainWindow().BuildTree();
    MainWindow().UpdateStatusBar();
    hide();
}

void Lintoraedit::SSTab1_Click(int tab) {
    mnuLink->setEnabled(tab == 1);
    mnuLink->menuAction()->setEnabled(tab == 1);
}

void Lintoraedit::mnuTabsItem_Click(int index) {
    if (index < 0 || index > 4) return;
    SSTab1_Click(index);
    SSTab1->setCurrentIndex(index);
}

bool Lintoraedit::StartAdd() {
    if (g.IndivCount >= kMaxIndiv) {
        MsgBox(kIndivTableFull, MsgButtons::Ok,
               MsgIcon::Exclamation);
        return false;
    }
    const int32_t n = AddIndiv();
    if (n == 0) return false;
    addedRecord_ = n;
    newIndiv_ = true;
    g.CurIndiv = n;
    LoadIndivEdit(0);
    return true;
}

void Lintoraedit::mnuNavItem_Click(int index) {
    const AskingWidget asking(this);
    switch (index) {
        case 0: btnNext_Click(); break;
        case 1: btnPrev_Click(); break;
        case 2:
        case 3: {
            const std::string hint = "Double-click on an individual to View/Edit";
            if (!RemindUnsaved()) break;
            hide();
            auto& show = index == 2 ? host.showIndividualList : host.showMarriageList;
            if (show) show(hint);
            break;
        }
        case 4:
            if (!RemindUnsaved()) break;
            if (!StartAdd()) LeaveIfNobody();
            break;
        case 5:
            if (!InIndivTable(g.CurIndiv) || newIndiv_) break;
            if (!RemindUnsaved()) break;
            g.PruneIndiv = g.CurIndiv;
            PruneSetup(g.CurIndiv);
            break;
        case 6:
            if (!RemindUnsaved()) break;
            hide();
            if (host.searchInternet) host.searchInternet();
            break;
        default: break;
    }
}

void Lintoraedit::mnuUndoItem_Click() {
    const AskingWidget asking(this);
    if (!g.UndoReady) return;
    // Undo ends add mode: the appended record goes with the undone tables.
    newIndiv_ = false;
    addedRecord_ = 0;
    inUndo = true;
    if (host.undo)
        host.undo();
    else
        UndoLastChange();
    inUndo = false;
    if (!InIndivTable(g.CurIndiv))
        hide();
    else if (isVisible())
        LoadIndivEdit(SSTab1->currentIndex());
}

bool Lintoraedit::Form_Unload() {
    const AskingWidget asking(this);
    return RemindUnsaved();
}

void Lintoraedit::Discard() {
    newIndiv_ = false;
    addedRecord_ = 0;
    hide();
}

// ---------------------------------------------------------------- linking

std::string Lintoraedit::CurName() const { return NameOf(g.CurIndiv); }

bool Lintoraedit::SaveForLink() {
    // Unsaved changes are saved first, and a save that refuses keeps the user
    // here; a new person is linked only once he is in the tables.
    if ((Pending() || newIndiv_) && !SaveIndivEdit()) return false;
    return InIndivTable(g.CurIndiv);
}

void Lintoraedit::ShowIndivAfterLink(const std::string& message) {
    Redraw();
    g.DataChanged = "Y";
    if (!message.empty()) MainWindow().SetStatusLabel(message);
    LoadIndivEdit(1);
}

void Lintoraedit::mnuLinkItem_Click(int index) {
    const AskingWidget asking(this);
    const int32_t cur = g.CurIndiv;
    switch (index) {
        case 0: {
            if (!SaveForLink()) return;
            hide();
            MainWindow().ClearIndivList();
            if (host.showIndividualList) host.showIndividualList("Double-click to select spouse for " + CurName());
            return;
        }
        case 1: {
            const int i = iSpousesList->currentIndex();
            const bool listed = i >= 0 && i < static_cast<int>(SpouseNums.size());
            const int32_t spouse = listed ? SpouseNums[i] : 0;
            const int32_t fam = listed ? SpouseFamNums[i] : 0;
            if (!InIndivTable(cur) || !InFamilTable(fam) || spouse == 0) {
                MsgBox(CurName() + " cannot be unlinked from spouse.", MsgButtons::Ok, MsgIcon::Exclamation);
                return;
            }
            if (MsgBox("Remove " + NameOf(spouse) + " as spouse of " + CurName() + "?", MsgButtons::YesNo,
                       MsgIcon::Question, "Are you sure?") != MsgResult::Yes)
                return;
            if (!SaveForLink()) return;
            bool withChildren = true;
            if (CountChildren(fam) > 0) {
                const MsgResult children = MsgBox("Unlink children from " + CurName() + " as well?",
                                                  MsgButtons::YesNo, MsgIcon::Question, "What about the children?");
                // Dismissed, it answers neither way: nothing is unlinked.
                if (children == MsgResult::Dismissed) return;
                withChildren = children == MsgResult::Yes;
            }
            InitUndo("Relink spouse of " + CurName());
            UnlinkSpouseFamily(cur, fam, withChildren);
            ShowIndivAfterLink(CurName() + " is unlinked from FAMC record");
            return;
        }
        case 2: {
            if (!SaveForLink()) return;
            hide();
            MainWindow().ClearMarriageList();
            if (host.showMarriageList) host.showMarriageList("Double-click to select parents of " + CurName());
            return;
        }
        case 3: {
            if (!InIndivTable(cur)) return;
            const int32_t f = g.Indiv[cur].iFamc;
            if (f == 0) {
                MsgBox(CurName() + " has no parents to unlink from.", MsgButtons::Ok, MsgIcon::Exclamation);
                return;
            }
            const int32_t father = InFamilTable(f) ? g.Famil[f].fHusb : 0;
            const int32_t mother = InFamilTable(f) ? g.Famil[f].fWife : 0;
            if (MsgBox("Remove " + CurName() + " as child of \n" + NameOf(father) + " and " + NameOf(mother) + "?",
                       MsgButtons::YesNo, MsgIcon::Question, "Are you sure?") != MsgResult::Yes)
                return;
            if (!SaveForLink()) return;
            InitUndo("Relink Parents of " + CurName());
            UnlinkFromParents(cur);
            ShowIndivAfterLink(CurName() + " is unlinked from FAMC record");
            return;
        }
        case 4: {
            const int i = iSpousesList->currentIndex();
            const int32_t f = i >= 0 && i < static_cast<int>(SpouseFamNums.size()) ? SpouseFamNums[i] : 0;
            if (!InFamilTable(f)) return;
            const int32_t n = CountChildren(f);
            if (n == 0) {
                MsgBox("No children to unlink!", MsgButtons::Ok, MsgIcon::Exclamation);
                return;
            }
            const std::string couple = NameOf(g.Famil[f].fHusb) + " and " + NameOf(g.Famil[f].fWife);
            if (MsgBox("Unlink " + std::to_string(n) + " child(ren) of \n" + couple + "?", MsgButtons::YesNo,
                       MsgIcon::Question, "Are you sure?") != MsgResult::Yes)
                return;
            if (!SaveForLink()) return;
            InitUndo("Relink children of " + CurName());
            UnlinkChildrenOf(f);
            // The report names the children the list showed, as the question did.
            ShowIndivAfterLink(std::to_string(n) + " child(ren) unlinked from " + couple + "'s FAMC record.");
            return;
        }
        default: return;
    }
}

void Lintoraedit::DoLinkSpouse(int32_t picked) {
    const int32_t cur = g.CurIndiv;
    if (!InIndivTable(cur)) return;
    if (picked > 0) {
        SaveIndivEdit();
        if (!CanLinkSpouse(cur, picked)) {
            MsgBox(CurName() + " cannot be linked as spouse of " +
                       (InIndivTable(picked) ? NameOf(picked) : "record " + std::to_string(picked)) + ".",
                   MsgButtons::Ok, MsgIcon::Exclamation);
        } else {
            InitUndo("Unlink spouse of " + CurName());
            if (LinkNewSpouse(cur, picked) > 0) {
                MainWindow().ClearIndivList();
                MainWindow().ClearMarriageList();
                ShowIndivAfterLink(GivenAndSurname(picked) + " linked as " + GivenAndSurname(cur) + "'s spouse.");
                btnGoPedigree->setEnabled(true);
                return;
            }
        }
    }
    LoadIndivEdit(1);
    btnGoPedigree->setEnabled(true);
}

void Lintoraedit::DoLinkParents(int32_t family) {
    const int32_t cur = g.CurIndiv;
    if (!InIndivTable(cur)) return;
    if (family > 0) {
        SaveIndivEdit();
        if (!CanLinkParents(cur, family)) {
            MsgBox(CurName() + " cannot be linked as child of family " + std::to_string(family) + ".",
                   MsgButtons::Ok, MsgIcon::Exclamation);
        } else {
            InitUndo("Unlink parents of " + CurName());
            LinkToParents(cur, family);
            MainWindow().ClearIndivList();
            MainWindow().ClearMarriageList();
            ShowIndivAfterLink(GivenAndSurname(cur) + " linked to new FAMC");
            return;
        }
    }
    LoadIndivEdit(1);
}

}  // namespace lintora
