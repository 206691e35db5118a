#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QHelpEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest/QTest>

#include "main_window/tree_box.h"
#include "platform/qt/filled_box.h"

#include "record_store/pedigree_view.h"
#include "record_store/person_view.h"
#include "record_store/prune.h"
#include "tests/main_window/window_fixture.h"

namespace lintora {
namespace {

using testing::MainWindowTest;

class PedigreeTest : public MainWindowTest {
protected:
    int32_t root = 0, wife = 0, son = 0, daughter = 0;

    // John Henry Whitlock with four generations of ancestors on every line,
    // a paternal line going six further back, and a family with a son who
    // has children himself and a daughter who has none.
    void BuildFamily() {
        root = Person("John Henry", "WHITLOCK", "M", "12 Mar 1832", "4 Nov 1899");
        Ancestors(root, 4, 1832);
        wife = Person("Eliza Ann", "BENNETT", "F", "May 1834");
        const int32_t fam = Family(root, wife, "15 Jun 1855", "Nauvoo, Hancock, Illinois");
        son = Person("Samuel", "WHITLOCK", "M", "1856");
        daughter = Person("Mary", "WHITLOCK", "F");
        Child(son, fam);
        Child(daughter, fam);
        const int32_t grandchild = Person("Ann", "WHITLOCK", "F", "1880");
        Child(grandchild, Family(son, 0));
        LoadGenTree();
        g.TreeSlot[0] = root;
        w->RedrawTree();
    }
    // The pedigree drawn on person in the window on screen; his box.
    TreeBox* ShowRoot(int32_t person) {
        LoadGenTree();
        g.TreeSlot[0] = person;
        w->RedrawTree();
        w->show();
        QCoreApplication::processEvents();
        return dynamic_cast<TreeBox*>(w->lblTree[0]);
    }
};

TEST_F(PedigreeTest, FiveGenerationsWithMoreButtonsAndTheChildButton) {
    BuildFamily();
    // Box 15 (the paternal great-great-grandfather) gets a further line.
    int32_t top = g.TreeSlot[15];
    for (int i = 0; i < 6; ++i) {
        const int32_t father = Person("Elder" + std::to_string(i), "WHITLOCK", "M");
        Child(top, Family(father, 0));
        top = father;
    }
    // Box 16 has a family that names no parent; box 30 has one more generation.
    Child(g.TreeSlot[16], Family(0, 0));
    Ancestors(g.TreeSlot[30], 1, 1700);
    LoadGenTree();
    w->RedrawTree();
    w->resize(w->sizeHint().expandedTo(w->size()));
    Shot(w, "pedigree");

    EXPECT_EQ(w->lblTree[0]->text().toStdString(), " John Henry WHITLOCK  (1832-1899)");
    EXPECT_EQ(w->lblTree[1]->text().toStdString(), " Father" + std::to_string(root) + " WHITLOCK  (1802-1862)");
    EXPECT_EQ(w->lblTree[2]->text().toStdString(),
              " Mother" + std::to_string(root) + " Maiden" + std::to_string(root) + "  (1805-    )");
    for (int i = 0; i < kTreeBoxes; ++i) EXPECT_FALSE(w->lblTree[i]->text().isEmpty()) << i;
    EXPECT_EQ(w->Command1[0]->text(), "6>");
    EXPECT_EQ(w->Command1[1]->text(), ">");
    EXPECT_EQ(w->Command1[15]->text(), "1>");
    for (int k = 2; k < 15; ++k) EXPECT_TRUE(w->Command1[k]->isHidden()) << k;
    EXPECT_FALSE(w->Command2->isHidden());

    // The more button climbs: the root's father becomes the root and his
    // father's continuing line (box 15) is marked.
    const int32_t father = g.TreeSlot[1];
    w->Command1_Click(0);
    EXPECT_EQ(g.TreeSlot[0], father);
    EXPECT_EQ(w->BoxBack(15), kHighlightBack);
    EXPECT_EQ(w->Command1[0]->text(), "5>");
    // Ten and more generations show the number alone.
    for (int i = 0; i < 5; ++i) {
        const int32_t older = Person("Eldest" + std::to_string(i), "WHITLOCK", "M");
        Child(top, Family(older, 0));
        top = older;
    }
    g.TreeSlot[0] = root;
    w->RedrawTree();
    EXPECT_EQ(w->Command1[0]->text(), "11");
}

TEST_F(PedigreeTest, ClickSelectsOpensThePanelAndASecondClickDeselects) {
    BuildFamily();
    g.Indiv[root].iNoteFlg = "Y";
    w->show();
    w->lblTree_MouseUp(0, 1);
    Shot(w, "selected");
    EXPECT_TRUE(w->BoxSelected(0));
    EXPECT_EQ(w->BoxText(0), kSelectedText);
    EXPECT_EQ(g.CurIndiv, root);
    EXPECT_EQ(w->PanelIndiv, root);
    EXPECT_TRUE(w->popupFrame->isVisible());
    EXPECT_TRUE(w->notesFlg2->isVisible());
    EXPECT_TRUE(w->toolButtons[10]->isEnabled());
    EXPECT_EQ(w->ToolButtonTip(10), "Delete John Henry WHITLOCK");
    EXPECT_EQ(w->InetButton->toolTip(), "Search internet sites for John Henry WHITLOCK");
    // The root's box stands above 4300 twips: the panel opens below it.
    const QRect box = Lintora::BoxRect(0);
    EXPECT_LE(box.top() * 15, 4300);
    EXPECT_EQ(w->popupFrame->y(), (box.top() * 15 + 310) / 15);
    EXPECT_EQ(w->popupFrame->x(), box.left());
    EXPECT_EQ(w->BirthDtPlace->text(), "12 Mar 1832 - ");
    EXPECT_EQ(w->DeathDtPlace->text(), "4 Nov 1899 - ");
    // Husband born March 1832, wife May 1834, married June 1855.
    EXPECT_EQ(w->MarrDtPlace->text(), "15 Jun 1855 - Nauvoo, Hancock, Illinois  (23/21)");
    ASSERT_EQ(w->SpousesCBox->count(), 1);
    EXPECT_EQ(w->SpousesCBox->item(0)->text(), "Eliza Ann BENNETT");
    EXPECT_EQ(w->lblSpouses->text(), "1");
    ASSERT_EQ(w->ChildrenLBox->count(), 2);
    EXPECT_EQ(w->ChildrenLBox->item(0)->text(), "< 1856 - Samuel WHITLOCK");
    EXPECT_EQ(w->ChildrenLBox->item(1)->text(), "   ------ - Mary WHITLOCK");
    EXPECT_EQ(w->lblChildren->text(), "2");

    // A box low down opens the panel above it; selecting it clears box 0.
    w->lblTree_MouseUp(13, 1);
    Shot(w, "selected_low");
    EXPECT_FALSE(w->BoxSelected(0));
    EXPECT_TRUE(w->BoxSelected(13));
    EXPECT_GT(Lintora::BoxRect(13).top() * 15, 4300);
    // It ends just over the box, which stays in sight.
    EXPECT_EQ(w->popupFrame->geometry().bottom() + 1 + 3, Lintora::BoxRect(13).top());
    EXPECT_FALSE(w->notesFlg2->isVisible());

    w->lblTree_MouseUp(13, 1);
    EXPECT_FALSE(w->BoxSelected(13));
    EXPECT_FALSE(w->popupFrame->isVisible());
    EXPECT_FALSE(w->toolButtons[10]->isEnabled());
    EXPECT_EQ(w->ToolButtonTip(10), "");
    EXPECT_EQ(w->InetButton->toolTip(), "Search Internet");
}

// A royal family with long names and places: a box too narrow for its
// caption shows that it is cut and offers the whole caption as tool tip,
// the panel's event lines show their dates, and nine children fit the
// panel's list without a sideways scroll bar.
TEST_F(PedigreeTest, LongNamesAndPlacesShowTheirBeginningAndThatTheyAreCut) {
    const int32_t duke = Person("Prince Edward Augustus", "HANOVER", "M", "2 Nov 1767", "23 Jan 1820");
    g.Indiv[duke].ibPlace = "Buckingham House, Westminster, London, Middlesex, England";
    g.Indiv[duke].idPlace = "Woolbrook Cottage, Sidmouth, Devon, England";
    const int32_t duchess = Person("Marie Louise Victoire", "SAXE-COBURG-SAALFELD", "F", "17 Aug 1786", "1861");
    const int32_t fam = Family(duke, duchess, "29 May 1818", "Schloss Ehrenburg, Coburg, Saxe-Coburg-Saalfeld");
    for (int k = 1; k <= 9; ++k)
        Child(Person("Alexandrina Charlotte Augusta " + std::to_string(k), "HANOVER", "F", std::to_string(1818 + k)),
              fam);
    const int32_t father = Person("George", "KENT", "M", "1738", "1820");
    Child(duke, Family(father, 0));
    TreeBox* box = ShowRoot(duke);
    ASSERT_NE(box, nullptr);
    const QString caption = " Prince Edward Augustus HANOVER  (1767-1820)";
    EXPECT_EQ(box->text(), caption);
    ASSERT_TRUE(box->Cut());
    // The name gives way; the life years stay whole.
    const QString shown = box->ShownText();
    const qsizetype cut = shown.indexOf(QChar(0x2026));
    ASSERT_GT(cut, 15) << shown.toStdString();
    EXPECT_TRUE(caption.startsWith(shown.left(cut))) << shown.toStdString();
    EXPECT_EQ(shown.mid(cut + 1), "  (1767-1820)");
    EXPECT_LE(box->fontMetrics().horizontalAdvance(shown), box->contentsRect().width());
    // The cut caption keeps as much room from the frame on its right as on
    // its left, as drawn.
    const QImage drawn = box->grab().toImage();
    const auto inked = [&](int x) {
        for (int y = 2; y < drawn.height() - 2; ++y)
            if (qGray(drawn.pixel(x, y)) < 160) return true;
        return false;
    };
    int left = 1, right = drawn.width() - 2;  // inside the frame
    while (left < right && !inked(left)) ++left;
    while (right > left && !inked(right)) --right;
    EXPECT_NEAR(drawn.width() - 1 - right, left, 2) << left << " " << right << " of " << drawn.width();
    // A pointer resting on the box shows the whole caption, even while
    // another window (the browser the page came from) is in front.
    QWidget browser;
    browser.setGeometry(w->geometry().right() + 20, 0, 200, 100);
    browser.show();
    browser.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.isActiveWindow(); }));
    QTest::mouseMove(box, QPoint(5, 5));
    QTest::mouseMove(box, QPoint(8, 6));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), caption);
    QToolTip::hideText();
    auto* shortBox = dynamic_cast<TreeBox*>(w->lblTree[1]);
    ASSERT_NE(shortBox, nullptr);
    EXPECT_EQ(shortBox->text(), " George KENT  (1738-1820)");
    EXPECT_FALSE(shortBox->Cut());
    EXPECT_EQ(shortBox->ShownText(), shortBox->text());
    QToolTip::hideText();

    w->lblTree_MouseUp(0, 1);
    QCoreApplication::processEvents();
    Shot(w, "long_names");
    for (QLineEdit* line : {w->BirthDtPlace, w->MarrDtPlace, w->DeathDtPlace}) {
        EXPECT_GT(line->fontMetrics().horizontalAdvance(line->text()), line->width()) << line->text().toStdString();
        EXPECT_EQ(line->cursorPosition(), 0) << line->text().toStdString();
        // The cut is marked, and the whole line is the tool tip.
        EXPECT_TRUE(ShowsCutMark(line)) << line->text().toStdString();
        QHelpEvent lineTip(QEvent::ToolTip, QPoint(5, 5), line->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(line, &lineTip);
        EXPECT_EQ(QToolTip::text(), line->text());
        QToolTip::hideText();
    }
    EXPECT_TRUE(w->BirthDtPlace->text().startsWith("2 Nov 1767 - Buckingham House"));
    ASSERT_EQ(w->ChildrenLBox->count(), 9);
    EXPECT_FALSE(w->ChildrenLBox->horizontalScrollBar()->isVisible());
    EXPECT_GE(w->ChildrenLBox->viewport()->height() / w->ChildrenLBox->sizeHintForRow(0), 4);
    // Both lists show whole rows: a row is wholly in view or wholly out.
    for (QListWidget* list : {w->SpousesCBox, w->ChildrenLBox}) {
        const QRect view = list->viewport()->rect();
        for (int row = 0; row < list->count(); ++row) {
            const QRect at = list->visualItemRect(list->item(row));
            const bool whole = at.top() >= view.top() && at.bottom() <= view.bottom();
            const bool out = at.bottom() < view.top() || at.top() > view.bottom();
            EXPECT_TRUE(whole || out) << row << ": " << at.top() << "-" << at.bottom() << " in " << view.bottom();
        }
    }
    // A spouse click fills the marriage line again, from its beginning.
    w->MarrDtPlace->setCursorPosition(5);
    w->SpousesCBox_Click(0);
    EXPECT_EQ(w->MarrDtPlace->cursorPosition(), 0);

    // Wherever the panel opens, it stays inside the pedigree area and
    // leaves the clicked box in sight.
    for (int index : {1, 3, 7, 15, 25, 26}) {
        if (g.TreeSlot[index] == 0) g.TreeSlot[index] = father;  // any person will do
        w->lblTree_MouseUp(index, 1);
        ASSERT_TRUE(w->popupFrame->isVisible()) << index;
        EXPECT_TRUE(w->PedigreeArea()->rect().contains(w->popupFrame->geometry())) << index;
        EXPECT_FALSE(w->popupFrame->geometry().intersects(Lintora::BoxRect(index))) << index;
    }
}

// The Duke of Kent as an Ancestral File page gives him: born 1767, no death
// recorded, with notes. His box cuts the name and keeps "(1767-    )" whole,
// blanks and all; narrowed step by step, it keeps the years while a letter
// of the name still fits before the "…", and past that the name's first
// letters rather than the years: never a caption without a name.
TEST_F(PedigreeTest, ABirthYearAloneStaysWholeAndTheNameKeepsItsFirstLetters) {
    const int32_t duke = Person("Prince Edward Augustus", "HANOVER", "M", "2 Nov 1767");
    g.Indiv[duke].iNoteFlg = "Y";
    Child(duke, Family(Person("George", "KENT", "M", "1738", "1820"), 0));
    TreeBox* box = ShowRoot(duke);
    ASSERT_NE(box, nullptr);
    const QString caption = " Prince Edward Augustus HANOVER  (1767-    )";
    const QString years = "  (1767-    )";
    ASSERT_EQ(box->text(), caption);
    const QString ellipsis(QChar(0x2026));
    EXPECT_TRUE(box->ShownText().endsWith(ellipsis + years)) << box->ShownText().toStdString();
    EXPECT_GT(box->ShownText().indexOf(ellipsis), 15);

    // Down to a box a few letters wide: the name's beginning, at least its
    // first letter, then the "…", then the years whole or, once they no
    // longer fit, nothing.
    QString lastWithYears;
    bool yearsGone = false;
    for (int width = box->width(); width >= 3 * box->fontMetrics().horizontalAdvance(" P" + ellipsis); --width) {
        box->resize(width, box->height());
        const QString shown = box->ShownText();
        const std::string at = std::to_string(width) + ": " + shown.toStdString();
        ASSERT_LE(box->fontMetrics().horizontalAdvance(shown), box->contentsRect().width()) << at;
        const qsizetype cut = shown.indexOf(ellipsis);
        ASSERT_TRUE(cut > 1 && caption.startsWith(shown.left(cut)) && shown.startsWith(" P")) << at;
        const QString rest = shown.mid(cut + 1);
        ASSERT_TRUE(rest.isEmpty() || (rest == years && !yearsGone)) << at;
        if (rest.isEmpty())
            yearsGone = true;
        else
            lastWithYears = shown;
    }
    EXPECT_TRUE(yearsGone);
    EXPECT_EQ(lastWithYears, " P" + ellipsis + years);
}

TEST_F(PedigreeTest, PanelDoubleClicksReRootAndTheChildButtonStepsDown) {
    BuildFamily();
    w->show();
    w->lblTree_MouseUp(0, 1);
    w->SpousesCBox_DblClick(0);
    EXPECT_EQ(g.TreeSlot[0], wife);
    EXPECT_FALSE(w->popupFrame->isVisible());

    g.TreeSlot[0] = root;
    w->RedrawTree();
    w->lblTree_MouseUp(0, 1);
    w->ChildrenLBox_DblClick(1);
    EXPECT_EQ(g.TreeSlot[0], daughter);
    EXPECT_EQ(g.TreeSlot[1], root);
    EXPECT_EQ(g.TreeSlot[2], wife);
    // Rows that are not there do nothing.
    w->ChildrenLBox_DblClick(7);
    w->SpousesCBox_DblClick(-1);
    EXPECT_EQ(g.TreeSlot[0], daughter);

    // One child with children of his own: the button goes to him.
    g.TreeSlot[0] = root;
    w->RedrawTree();
    w->Command2_Click();
    EXPECT_EQ(g.TreeSlot[0], son);
    // Two such children: the root's panel opens instead.
    Child(Person("Lydia", "WHITLOCK", "F"), Family(0, daughter));
    LoadGenTree();
    g.TreeSlot[0] = root;
    w->RedrawTree();
    w->Command2_Click();
    EXPECT_EQ(g.TreeSlot[0], root);
    EXPECT_TRUE(w->BoxSelected(0));
    EXPECT_TRUE(w->popupFrame->isVisible());
}

TEST_F(PedigreeTest, EmptyBoxesBadNumbersAndTheEditorAreIgnored) {
    const int32_t alone = Person("Ann", "", "F");
    g.TreeSlot[0] = alone;
    w->RedrawTree();
    EXPECT_EQ(w->lblTree[0]->text(), " Ann");
    for (int i = 1; i < kTreeBoxes; ++i) EXPECT_TRUE(w->lblTree[i]->text().isEmpty());
    EXPECT_TRUE(w->Command2->isHidden());
    w->lblTree_MouseUp(3, 1);
    w->lblTree_MouseUp(40, 1);
    w->lblTree_MouseUp(-1, 1);
    EXPECT_FALSE(w->popupFrame->isVisible());

    // A slot naming a record past the count (a stale number) shows nothing.
    g.TreeSlot[0] = g.IndivCount + 1;
    w->RedrawTree();
    EXPECT_EQ(g.TreeSlot[0], 0);
    EXPECT_TRUE(w->lblTree[0]->text().isEmpty());
    // A family link past the family count is no link.
    g.Indiv[alone].iFamc = 4999;
    g.TreeSlot[0] = alone;
    w->RedrawTree();
    EXPECT_TRUE(w->lblTree[1]->text().isEmpty());
    ui.Answer(MsgResult::Ok);
    w->FindTreePointer(g.IndivCount + 5);
    EXPECT_TRUE(ui.Showed("Problem finding Tree pointer: 6"));

    editor.visible = true;
    w->lblTree_MouseUp(0, 1);
    EXPECT_FALSE(w->BoxSelected(0));
    editor.visible = false;
    // The skip flag swallows one click only, and lasts one turn of the loop.
    w->SkipNextTreeClick();
    w->lblTree_MouseUp(0, 1);
    EXPECT_FALSE(w->BoxSelected(0));
    w->SkipNextTreeClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->SkipTreeClick, "N");
    w->lblTree_MouseUp(0, 1);
    EXPECT_TRUE(w->BoxSelected(0));
}

TEST_F(PedigreeTest, RightClickRunsThePopupMenuAndNeverSelects) {
    BuildFamily();
    w->show();
    struct Panel : PrunePanelView {
        int shown = 0;
        void Show(const PrunePanelCaptions&, PruneOption) override { ++shown; }
    } prunePanel;
    InstallPrunePanel(&prunePanel);
    w->choosePopupItem = [] { return 1; };
    w->lblTree_MouseUp(2, 2);
    EXPECT_EQ(editor.loads, std::vector<int>{0});
    EXPECT_EQ(g.CurIndiv, g.TreeSlot[2]);
    EXPECT_EQ(g.PruneIndiv, g.TreeSlot[2]);
    EXPECT_FALSE(w->BoxSelected(2));
    // Right click on the selected box: the menu runs, then it is deselected.
    w->lblTree_MouseUp(1, 1);
    w->choosePopupItem = [] { return 2; };
    w->lblTree_MouseUp(1, 2);
    EXPECT_EQ(prunePanel.shown, 1);
    EXPECT_EQ(g.PruneIndiv, g.TreeSlot[1]);
    InstallPrunePanel(nullptr);
    EXPECT_FALSE(w->BoxSelected(1));
    EXPECT_FALSE(w->popupFrame->isVisible());
}

TEST(PersonView, AgesAndLinesFollowTheRules) {
    ResetProgramState();
    auto person = [](const char* birth) {
        const int32_t n = AddIndiv();
        g.Indiv[n].ibDate = birth;
        return n;
    };
    const int32_t h = person("May 1820"), w = person("1822"), baby = person("1845");
    EXPECT_EQ(FormatMarrAges(h, w, "Mar 1845"), "(24/23)");
    EXPECT_EQ(FormatMarrAges(h, 0, "1845"), "(25/?\?)");
    EXPECT_EQ(FormatMarrAges(0, w, "1845"), "(?\?/23)");
    EXPECT_EQ(FormatMarrAges(baby, 0, "1845"), "");
    EXPECT_EQ(FormatMarrAges(h, baby, "1840"), "");
    EXPECT_EQ(FormatMarrAges(h, w, ""), "");
    const int32_t f = AddFamil();
    g.Famil[f].fHusb = h;
    EXPECT_EQ(MarriageLine(f), " -   ");
    const PersonPanel p = ShowIndivPanel(h);
    ASSERT_EQ(p.spouses.size(), 1u);
    EXPECT_EQ(p.spouses[0].line, " <unknown>");
    EXPECT_EQ(p.birth, "May 1820 - ");
    EXPECT_EQ(ShowIndivPanel(g.IndivCount + 1).spouses.size(), 0u);
}

// The editor's Family tab reads the same lines: parents, siblings (his
// parents' children without him, still 29 at most), spouses.
TEST(PersonView, FamilyTabLinesComeFromThePanelProcedures) {
    ResetProgramState();
    auto person = [](const char* givn, const char* birth) {
        const int32_t n = AddIndiv();
        g.Indiv[n].iGivn = givn;
        g.Indiv[n].iSurn = "SMITH";
        g.Indiv[n].ibDate = birth;
        return n;
    };
    const int32_t father = person("William", "1820"), mother = person("Ann", "");
    g.Indiv[mother].icDate = "3 Apr 1824";
    const int32_t famc = AddFamil();
    g.Famil[famc].fHusb = father;
    g.Famil[famc].fWife = mother;
    const int32_t me = person("John", "1846");
    std::vector<int32_t> others;
    for (int i = 0; i < 31; ++i) others.push_back(person("Child", i == 0 ? "1848" : ""));
    for (int32_t c : others) g.Indiv[c].iFamc = famc;
    g.Indiv[me].iFamc = famc;
    g.Indiv[others[1]].iTree = kRemovedTree;  // pruned: not listed
    const int32_t own = AddFamil();  // the first sibling is a parent himself
    g.Famil[own].fHusb = others[0];
    g.Famil[own].fChilCount = 1;

    EXPECT_EQ(FamilyAsChild(me), famc);
    EXPECT_EQ(ParentIn(famc, true), father);
    EXPECT_EQ(ParentIn(famc, false), mother);
    EXPECT_EQ(LifeDatesCaption(mother), " Ann SMITH  (1824-    )");
    const std::vector<ChildEntry> siblings = CollectChildren(famc, me);
    ASSERT_EQ(siblings.size(), static_cast<std::size_t>(kMaxPanelChildren));
    EXPECT_EQ(siblings[0].indiv, others[0]);
    EXPECT_EQ(siblings[0].line, "< 1848 - Child SMITH");
    EXPECT_EQ(siblings[1].indiv, others[2]);
    EXPECT_EQ(siblings[1].line, "   ------ - Child SMITH");
    for (const ChildEntry& c : siblings) EXPECT_NE(c.indiv, me);
    EXPECT_EQ(CollectChildren(famc).front().indiv, me);

    EXPECT_EQ(SpouseLine(father), "William SMITH");
    EXPECT_EQ(SpouseLine(0), " <unknown>");
    EXPECT_EQ(SpouseLine(g.IndivCount + 1), " <unknown>");
    // A removed family as child gives no parents and no siblings.
    g.Famil[famc].fTree = kRemovedTree;
    EXPECT_EQ(FamilyAsChild(me), 0);
    EXPECT_EQ(ParentIn(famc, true), 0);
    EXPECT_TRUE(CollectChildren(famc, me).empty());
    EXPECT_EQ(LifeDatesCaption(0), " <unknown>");
}

}  // namespace
}  // namespace lintora
