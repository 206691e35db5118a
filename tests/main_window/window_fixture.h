#pragma once
// Shared set-up of the main window tests: a scratch folder holding the
// program folder (with the site data file), the settings, the user data and
// state; the program started there through its start-up routine, as main
// starts it, with the editor faked; and a small family built in the tables.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "main_window/about_window.h"
#include "main_window/main_window.h"
#include "main_window/program_start.h"
#include "main_window/record_lists.h"
#include "record_store/program_state.h"
#include "record_store/tables.h"
#include "record_store/trees.h"
#include "tests/support/qt_app.h"
#include "tests/support/scripted_platform.h"

namespace lintora::testing {

// The editor as the main window sees it: shown or not, and what was loaded.
class FakeEditor : public EditorPort {
public:
    bool visible = false;
    std::vector<int> loads;  // tab of each load
    int hides = 0;
    bool Visible() const override { return visible; }
    void Hide() override {
        ++hides;
        visible = false;
    }
    void Load(int tab) override { loads.push_back(tab); }
};

class MainWindowTest : public CleanState {
protected:
    std::filesystem::path dir;
    std::unique_ptr<Program> program;
    Lintora* w = nullptr;
    bool started = false;
    bool keepSplash = false;
    // Runs at each start once the windows are built, before the work file is opened.
    std::function<void(Lintora&)> windowsBuilt;
    FakeEditor editor;

    static void SetUpTestSuite() { EnsureApp(); }

    void SetUp() override {
        CleanState::SetUp();
        std::random_device rd;
        dir = std::filesystem::temp_directory_path() /
              ("lintora-main-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir / "config");
        std::filesystem::create_directories(dir / "app");
        std::filesystem::create_directories(dir / "work");
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        std::filesystem::copy_file(std::filesystem::path(LINTORA_SOURCE_DIR) / "files" / "Lintora11.dat",
                                   dir / "app" / "Lintora11.dat");
        QGuiApplication::clipboard()->clear();
        StartProgram();
    }

    void TearDown() override {
        EndProgram();
        QGuiApplication::clipboard()->clear();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        CleanState::TearDown();
    }

    std::string AppDir() const { return (dir / "app").string(); }

    // Starts the program with the given command line as a person does,
    // ending the one running first: fresh program state, the settings and
    // data files read, the windows built, the work file opened. The editor
    // is the fake unless realEditor. Unless keepSplash, the splash is put
    // away without its first-run search window, which waits for the user.
    void StartProgram(const std::string& commandLine = "", bool realEditor = false) {
        EndProgram();
        ResetProgramState();
        program = std::make_unique<Program>();
        started = program->Start({AppDir(), commandLine, false, windowsBuilt});
        w = &program->Window();
        if (!keepSplash) {
            w->About().Timer1->stop();
            w->About().hide();
        }
        if (!realEditor) InstallEditor(&editor);
    }
    // Starts the program with its splash, lets the splash's second end and
    // says how often the first-run search window was asked for.
    int FirstRunsOfAStart(const std::string& commandLine = "") {
        keepSplash = true;
        StartProgram(commandLine);
        int firstRuns = 0;
        w->About().firstRun = [&firstRuns] { ++firstRuns; };
        w->About().Timer1_Timer();
        return firstRuns;
    }
    void EndProgram() {
        if (!program) return;
        w->hooks = {};
        program.reset();
        w = nullptr;
    }

    static std::string FileText(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Copies a sample page of the page tests and presses Paste once the
    // clipboard watch has enabled it.
    void PastePage(const std::string& name = "af_individual.txt") {
        const auto page = std::filesystem::path(LINTORA_SOURCE_DIR) / "tests" / "page_import" / "pages" / name;
        QGuiApplication::clipboard()->setText(QString::fromStdString(FileText(page)));
        w->Timer1_Timer();
        ASSERT_TRUE(w->Command6->isEnabled());
        w->Command6_Click();
    }

    // Shows the main window and waits until it has the keyboard.
    void ShowActive() {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }));
    }

    // Clicks tool bar button b (1..12) with the mouse.
    void ClickToolButton(int b) {
        QTest::mouseClick(w->Toolbar1->widgetForAction(w->toolButtons[b]), Qt::LeftButton);
    }

    // Clicks, or double-clicks, the list row whose first column begins with text.
    static void ClickRow(QTableView* view, const RecordListModel& model, const QString& text, bool twice = false) {
        for (int r = 0; r < model.rowCount(); ++r) {
            if (!model.Text(r, 0).startsWith(text)) continue;
            const QPoint at = view->visualRect(view->model()->index(r, 0)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
            return;
        }
        ADD_FAILURE() << "no row " << text.toStdString();
    }
    static void DoubleClickRow(QTableView* view, const RecordListModel& model, const QString& text) {
        ClickRow(view, model, text, true);
    }

    // Saves an image of the window when LINTORA_SHOTS names a folder.
    void Shot(QWidget* widget, const std::string& name) {
        const char* shots = std::getenv("LINTORA_SHOTS");
        if (!shots || !*shots) return;
        widget->grab().save(QString::fromStdString(std::string(shots) + "/" + name + ".png"));
    }

    // ---- A family built in the tables ----
    static int32_t Person(const std::string& given, const std::string& surname, const std::string& sex,
                          const std::string& birth = "", const std::string& death = "") {
        const int32_t n = AddIndiv();
        IndivRec& I = g.Indiv[n];
        I.iGivn = given;
        I.iSurn = surname;
        I.iName = given + " " + surname;
        I.iSex = sex;
        I.ibDate = birth;
        I.idDate = death;
        return n;
    }
    static int32_t Family(int32_t husband, int32_t wife, const std::string& date = "",
                          const std::string& place = "") {
        const int32_t f = AddFamil();
        g.Famil[f].fHusb = husband;
        g.Famil[f].fWife = wife;
        g.Famil[f].fmDate = date;
        g.Famil[f].fmPlace = place;
        return f;
    }
    static void Child(int32_t child, int32_t family) {
        g.Indiv[child].iFamc = family;
        ++g.Famil[family].fChilCount;
    }
    // Gives person parents up to `more` further generations (both lines).
    static void Ancestors(int32_t person, int more, int year) {
        if (more <= 0) return;
        const std::string surname = g.Indiv[person].iSurn.trimmed();
        const int32_t father = Person("Father" + std::to_string(person), surname, "M", std::to_string(year - 30),
                                      std::to_string(year + 30));
        const int32_t mother = Person("Mother" + std::to_string(person), "Maiden" + std::to_string(person), "F",
                                      std::to_string(year - 27));
        const int32_t fam = Family(father, mother, std::to_string(year - 2));
        Child(person, fam);
        Ancestors(father, more - 1, year - 30);
        Ancestors(mother, more - 1, year - 27);
    }
};

}  // namespace lintora::testing
