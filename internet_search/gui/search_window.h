#pragma once
// The internet search window "Internet Search - Select Criteria": the
// chosen person's names, years, places and AFN with one check box per
// criterion, the site and page lists, the year ranges and three region
// lists. Go, or Enter in a text box, builds the address from the chosen
// page's template and opens it in the browser. The handlers are public so
// that tests can call them as the controls would.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "internet_search/region_lists.h"
#include "internet_search/search_address.h"
#include "internet_search/search_pages.h"
#include "platform/window_ports.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lintora {

class LintoraInetSet : public QDialog, public SearchWindowPort {
    Q_OBJECT
public:
    explicit LintoraInetSet(QWidget* parent = nullptr);
    ~LintoraInetSet() override;

    // Fills the window for person `indiv` (0 = nobody); the caller then
    // shows it modally.
    void LoadInetSet(int32_t indiv);
    // Applies the selected page's template to the criteria.
    void SetInetFields();
    // Shows the person's next spouse, after the last the first again.
    void NextSpouse();
    // Builds the address of the search and opens it, or refuses.
    void RunInetSearch();
    // Keep and bring back the criteria while an AFN search is on.
    void SaveCriteria();
    void RestoreCriteria();
    // Region lists: level 1 of a set, levels 2 and 3 below a parent.
    void GetRegion1Select(const std::string& tag);
    void GetRegion2Select(const std::string& tag, const std::string& parent);
    void GetRegion3Select(const std::string& tag, const std::string& parent);

    // Buttons.
    void btnGoInet_Click();
    void btnGoTimeLine_Click();
    void btnSpouseSelect_Click();
    void cmdbtnExit_Click();
    // Check boxes: each runs when its value changes.
    void chkAFN_Click();
    void chkIName_Click();
    void chkByear_Click();
    void chkBplace_Click();
    void chkDyear_Click();
    void chkDplace_Click();
    void chkMyear_Click();
    void chkMplace_Click();
    void chkSName_Click();
    void chkFName_Click();
    void chkMName_Click();
    void chkRegion_Click() {}
    // Lists: each runs when its selection changes.
    void SiteSelect_Click();
    void PageSelect_Click();
    void iBRange_Click();
    void iDRange_Click();
    void MRange_Click();
    void Region1Select_Click();
    void Region2Select_Click();
    // Leaving the text boxes. The user's leaving runs them (a click or Tab
    // elsewhere, or Enter or Go while the focus is in the box, typed in or
    // not); focus that the window's own rules move runs none.
    void iAFN_LostFocus();
    void iLast_LostFocus();
    void iByear_LostFocus() { iBRange_Click(); }
    void iDyear_LostFocus() { iDRange_Click(); }
    void mYear_LostFocus() { MRange_Click(); }
    void iBplace_LostFocus();
    void iDplace_LostFocus();
    void Mplace_LostFocus();
    void sFirst_LostFocus();
    void sLast_LostFocus();

    // SearchWindowPort.
    void ResetRanges() override;
    void ClearSiteLists() override;

    // A check box's value as the rules read it: 0 clear, 1 set, 2 greyed.
    static int Value(const QCheckBox* box);
    // Sets a check box; its rule runs when the value changes.
    static void SetValue(QCheckBox* box, int value);
    // True when a field is switched on (window background, not grey).
    static bool SwitchedOn(const QWidget* field);
    // True when a text box marks with "…" that its text is cut at its
    // right edge (shown from its beginning, nobody typing in it).
    static bool ShowsCutMark(const QLineEdit* box);

    // The pages of the chosen site as the page list shows them.
    const std::vector<InetPageRec>& InetPages() const { return inetPages_; }
    const std::vector<RegionItemRec>& RegionList(int level) const { return regionLists_[level - 1]; }
    std::string RegionTag(int level) const { return regionTags_[level - 1]; }
    // Set when the title-bar box closed the window: the next showing makes a new one.
    bool ClosedByTitleBar() const { return closedByTitleBar_; }

    // Host of the time-line site, and its address.
    static constexpr const char* kTimeLineHost = "www.ourtimelines.com";
    static constexpr const char* kTimeLineAddress = "https://www.ourtimelines.com/";

    QToolButton* cmdbtnExit;
    QComboBox* SiteSelect;
    QComboBox* PageSelect;
    QToolButton* btnGoInet;
    QLabel* lblAFN;
    QCheckBox* chkAFN;
    QLineEdit* iAFN;
    QLabel* Label1;
    QCheckBox* chkIName;
    QLineEdit* iFirst;
    QLineEdit* iLast;
    QLabel* Label2;
    QCheckBox* chkByear;
    QLineEdit* iByear;
    QComboBox* iBRange;
    QCheckBox* chkBplace;
    QLineEdit* iBplace;
    QLabel* Label3;
    QCheckBox* chkDyear;
    QLineEdit* iDyear;
    QComboBox* iDRange;
    QCheckBox* chkDplace;
    QLineEdit* iDplace;
    QLabel* Label4;
    QCheckBox* chkSName;
    QLineEdit* sFirst;
    QLineEdit* sLast;
    QToolButton* btnSpouseSelect;
    QLabel* Label5;
    QCheckBox* chkMyear;
    QLineEdit* mYear;
    QComboBox* MRange;
    QCheckBox* chkMplace;
    QLineEdit* Mplace;
    QLabel* Label6;
    QCheckBox* chkFName;
    QLineEdit* fFirst;
    QLineEdit* fLast;
    QLabel* Label7;
    QCheckBox* chkMName;
    QLineEdit* mFirst;
    QLineEdit* mLast;
    QLabel* lblRegion;
    QCheckBox* chkRegion;
    QComboBox* Region1Select;
    QComboBox* Region2Select;
    QComboBox* Region3Select;
    QToolButton* btnGoTimeLine;
    QLabel* Label8;

public slots:
    // Escape closes as Close does: the positions are stored, the window kept.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StorePositions();
    SearchValues CurrentValues() const;
    void FillRegionList(int level, const std::string& tag, const std::string* parent);
    void SetField(QWidget* field, bool enabled, bool on);
    // Runs a rule as one of the window's own updates: focus it moves leaves
    // no box.
    void RunOwn(void (LintoraInetSet::*rule)());
    // Runs the leave rule of `box`, if it has one.
    void LeaveBox(QLineEdit* box);

    std::vector<SearchSite> sites_;
    std::vector<InetPageRec> inetPages_;
    std::vector<RegionItemRec> regionLists_[3];
    std::string regionTags_[3];
    std::vector<SearchSpouse> spouses_;
    bool closedByTitleBar_ = false;
    // Depth of the window's own rules in progress.
    int ownUpdates_ = 0;
    // Set while a template is applied again: clearing the AFN box then
    // keeps the page it is applied for.
    bool keepPage_ = false;
    // The surname the page list was built for (none while it is emptied):
    // left unchanged, the box keeps the list and the page chosen in it.
    std::optional<std::string> pagesSurname_;
};

// Prepares the one search window for person `indiv` and shows it modally
// over `parent`; returns when the window is hidden or closed. The main
// window's search command, the editor's navigation menu and the start-up
// sequence call it with the current individual.
void ShowSearchWindow(int32_t indiv, QWidget* parent = nullptr);

}  // namespace lintora
