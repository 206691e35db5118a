#pragma once
// Test double of the platform port: records every box shown and answers
// from a queue. Every box takes one answer; a box that finds the queue
// empty was not expected and fails the test.
#include <deque>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/window_ports.h"
#include "record_store/program_state.h"

namespace lintora {

// Installs w as each window port it implements (main window, editor,
// search window, progress display).
template <typename T>
void InstallWindowFakes(T* w) {
    if constexpr (std::is_base_of_v<MainWindowPort, T>) InstallMainWindow(w);
    if constexpr (std::is_base_of_v<EditorPort, T>) InstallEditor(w);
    if constexpr (std::is_base_of_v<SearchWindowPort, T>) InstallSearchWindow(w);
    if constexpr (std::is_base_of_v<ProgressDisplay, T>) InstallProgress(w);
}
// The main window, editor and search window back to their do-nothing ports.
void RemoveWindowFakes();

}  // namespace lintora

namespace lintora::testing {

struct ShownBox {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
    const void* asker = nullptr;  // CurrentAsker() while it was shown
    std::string details;
};

class ScriptedPlatform : public Platform {
public:
    std::vector<ShownBox> boxes;
    std::deque<MsgResult> answers;
    bool busy = false;
    LocalTime clock{2006, 1, 6, 14, 5, 9};

    MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title,
                     const std::string& details = "") override;
    void SetBusy(bool b) override { busy = b; }
    LocalTime Now() override { return clock; }
    int32_t ChooseMatch(const MatchRequest& request) override;
    std::string SaveFileDialog(const FileDialogRequest& request) override;
    std::string OpenFileDialog(const FileDialogRequest& request) override;
    // Addresses handed to the browser; none is really opened. A non-empty
    // openError makes every start fail with that reason; an open started
    // stays pending until FinishOpen ends it.
    std::vector<std::string> openedAddresses;
    std::string openError;
    // Ends the oldest pending open: "" opened, else why the launcher failed.
    // What it says belongs to the window that asked while shown says that
    // window is still shown (without shown, it is), else to the main window.
    void FinishOpen(const std::string& problem = "");
    std::function<bool(const void* window)> shown;

    // Match choices (record number, 0 = not a match) and dialog paths
    // (empty = cancelled), each taken in order; running out fails the test.
    std::deque<int32_t> matchAnswers;
    std::vector<MatchRequest> matchRequests;
    std::deque<std::string> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;

    // Dismissed stands for Escape or the close button: the box answers as
    // the real one does (DismissedAnswer).
    void Answer(MsgResult r) { answers.push_back(r); }
    // Texts of the boxes shown so far.
    std::vector<std::string> Texts() const;
    bool Showed(const std::string& fragment) const;

protected:
    std::string StartOpen(int id, const std::string& address) override;
    std::function<const void*()> WindowAtEnd(const void* asker) override;
};

// Records the progress display: a start as minus its maximum, then each
// value; the labels in turn; the number of ends.
class RecordedProgress : public ProgressDisplay {
public:
    std::vector<int> values;
    std::vector<std::string> labels;
    int ends = 0;
    void Start(int maximum) override { values.push_back(-maximum); }
    void Set(int value) override { values.push_back(value); }
    void SetLabel(const std::string& text) override { labels.push_back(text); }
    void End() override { ++ends; }
};


// Base fixture: clean program state, a scripted platform and a recorded
// progress display; at the end every queued answer must have been used.
class CleanState : public ::testing::Test {
protected:
    ScriptedPlatform ui;
    RecordedProgress progress;
    void SetUp() override;
    void TearDown() override;
};

}  // namespace lintora::testing
