#pragma once
// Set-up shared by the editor tests: a small family in the tables, a main
// window port that records what the editor asks of it, and the editor
// window run without its modal loop.
#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "editor/editor_window.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "platform/window_ports.h"
#include "tests/support/qt_app.h"
#include "tests/support/scripted_platform.h"

namespace lintora::testing {

class FakeMainWindow : public MainWindowPort {
public:
    std::vector<std::string> statusLabels;
    std::vector<std::string> undoTips;
    std::string inetTip;
    int builds = 0, statusBarUpdates = 0, indivListClears = 0;
    void SetStatusLabel(const std::string& s) override { statusLabels.push_back(s); }
    void SetToolButtonTip(int index, const std::string& s) override {
        if (index == 9) undoTips.push_back(s);
    }
    void SetInetButtonTip(const std::string& s) override { inetTip = s; }
    void BuildTree() override { ++builds; }
    void UpdateStatusBar() override { ++statusBarUpdates; }
    void ClearIndivList() override { ++indivListClears; }
};

inline std::string Text(const QLineEdit* e) { return e->text().toStdString(); }
inline std::string Text(const QLabel* l) { return l->text().toStdString(); }
inline std::string Text(const QPushButton* b) { return b->text().toStdString(); }

// Types into a box as the user would: the change handler runs.
inline void Type(QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); }

class EditorTest : public CleanState {
protected:
    FakeMainWindow main;
    std::vector<std::string> listHints;
    Lintoraedit& w = (EnsureApp(), EditorWindow());

    void SetUp() override {
        CleanState::SetUp();
        EnsureApp();
        Lintoraedit::SetModalLoop(false);
        InstallMainWindow(&main);
        InstallEditorPort();
        SetEditorHost({[this](const std::string& h) { listHints.push_back("I:" + h); },
                       [this](const std::string& h) { listHints.push_back("M:" + h); }, nullptr, nullptr});
        BuildFamily();
    }
    void TearDown() override {
        w.Discard();
        SetEditorHost({});
        InstallMainWindow(nullptr);
        InstallEditor(nullptr);
        CleanState::TearDown();
    }

    // Picks a marriage on the family tab as the user does.
    void ChooseMarriage(int index) {
        w.mnuTabsItem_Click(1);
        w.iSpousesList->setCurrentIndex(index);
        w.iSpousesList_Click(index);
    }

    static int32_t Person(const std::string& givn, const std::string& surn, const std::string& sex,
                          const std::string& born = "", const std::string& died = "") {
        const int32_t i = AddIndiv();
        IndivRec& r = g.Indiv[i];
        r.iRIN = i;
        r.iGivn = givn;
        r.iSurn = surn;
        r.iName = givn + " " + surn;
        r.iSex = sex;
        r.ibDate = born;
        r.idDate = died;
        return i;
    }
    static int32_t Family(int32_t husb, int32_t wife, std::vector<int32_t> children, const std::string& date = "") {
        const int32_t f = AddFamil();
        g.Famil[f].fRIN = f;
        g.Famil[f].fHusb = husb;
        g.Famil[f].fWife = wife;
        g.Famil[f].fmDate = date;
        for (int32_t c : children) g.Indiv[c].iFamc = f;
        g.Famil[f].fChilCount = static_cast<int16_t>(children.size());
        for (int32_t p : {husb, wife})
            if (p > 0) ++g.Indiv[p].iFamsCount;
        return f;
    }

    // 1 William and 2 Ann Smith, parents (family 1) of 3 Sarah, 12 Thomas
    // and 5, who was removed; 12 Thomas married 6 Jane Doe (family 2), parents
    // of 7 Robert; 13 John Black and 14 Mary Green stand alone; 8 to 11 fill
    // the table. Two sources, the first with a repository.
    void BuildFamily() {
        Person("William", "Smith", "M", "1820", "1890");
        Person("Ann", "Brown", "F", "1824");
        Person("Sarah", "Smith", "F", "1848");
        Person("Filler", "Four", "M");
        Person("Gone", "Smith", "M", "1852");
        Person("Jane", "Doe", "F", "1853");
        Person("Robert", "Smith", "M", "1875");
        for (int k = 8; k <= 11; ++k) Person("Filler", "No" + std::to_string(k), "U");
        Person("Thomas", "Smith", "M", "12 Mar 1850", "1910");
        Person("John", "Black", "M", "1830");
        Person("Mary", "Green", "F", "1832");
        g.Indiv[12].iCDno = 5;
        Family(1, 2, {3, 12, 5}, "1847");
        Family(12, 6, {7}, "3 May 1874");
        g.Indiv[12].iNoteFlg = "N";
        const int32_t r = AddRepository();
        g.Repository[r].rName = "Family History Library";
        g.Repository[r].rAddr = "35 North West Temple";
        for (const char* title : {"Parish register", "Census 1851"}) {
            const int32_t s = AddSource();
            g.Source[s].sTitle = title;
            g.Source[s].sRepos = static_cast<int16_t>(s == 1 ? r : 0);
        }
        g.Indiv[12].iSource = 1;
        g.Source[1].sCitations = 1;
        g.Indiv[5].iTree = kRemovedTree;
        LoadGenTree();
        BuildNameIndex();
        g.TreeSlot[0] = 1;
    }
};

}  // namespace lintora::testing
