#pragma once
// Test double of the platform port: records every box shown and answers
// from a queue. Every box takes one answer; a box that finds the queue
// empty was not expected and fails the test.
#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "record_store/program_state.h"

namespace lintora::testing {

struct ShownBox {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
};

class ScriptedPlatform : public Platform {
public:
    std::vector<ShownBox> boxes;
    std::deque<MsgResult> answers;
    std::vector<std::string> statusTexts;
    bool busy = false;
    std::vector<int> progress;
    LocalTime clock{2006, 1, 6, 14, 5, 9};

    MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                     const std::string& title) override;
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void SetBusy(bool b) override { busy = b; }
    void ProgressStart(int maximum) override { progress.push_back(-maximum); }
    void ProgressSet(int value) override { progress.push_back(value); }
    void ProgressEnd() override {}
    LocalTime Now() override { return clock; }
    int32_t ChooseMatch(const MatchRequest& request) override;
    std::string SaveFileDialog(const FileDialogRequest& request) override;
    std::string OpenFileDialog(const FileDialogRequest& request) override;
    // Addresses handed to the browser; none is really opened. A non-empty
    // openError makes every start fail with that reason.
    std::string OpenAddress(const std::string& address) override {
        openedAddresses.push_back(address);
        return openError;
    }
    std::vector<std::string> openedAddresses;
    std::string openError;

    // Match choices (record number, 0 = not a match) and dialog paths
    // (empty = cancelled), each taken in order; running out fails the test.
    std::deque<int32_t> matchAnswers;
    std::vector<MatchRequest> matchRequests;
    std::deque<std::string> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;

    void Answer(MsgResult r) { answers.push_back(r); }
    // Texts of the boxes shown so far.
    std::vector<std::string> Texts() const;
    bool Showed(const std::string& fragment) const;
};

// Base fixture: clean program state and a scripted platform; at the end
// every queued answer must have been used.
class CleanState : public ::testing::Test {
protected:
    ScriptedPlatform ui;
    void SetUp() override;
    void TearDown() override;
};

}  // namespace lintora::testing
