#pragma once
// The updater wizard's window as a test sees it: what it was told to show,
// in order, and canned answers to its questions. Portable, so the native
// and the Windows tests drive the same wizard through the same stand-in.
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "updater/UpdateWizard.h"

namespace vt::test {

class RecordingView : public IUpdateView {
public:
    void SetStatus(const std::string& text) override {
        status = text;
        statuses.push_back(text);
    }
    void ClearList() override { list.clear(); }
    void AddListLine(const std::string& text) override { list.push_back(text); }
    void SetProgress(int percent) override {
        progress = percent;
        progresses.push_back(percent);
    }
    void SetButtonText(const std::string& text) override { button = text; }
    bool AskOkCancel(const std::string& text, const std::string& caption) override {
        questions.push_back(caption + "|" + text);
        if (onAsk) onAsk();
        return answer;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void Close() override { ++closeCount; }
    void SetWaitCursor(bool on) override { cursorLog += on ? '+' : '-'; }
    // All the attempts the wizard gave the pumps together.
    int PumpedAttempts() const { return std::accumulate(pumpAttempts.begin(), pumpAttempts.end(), 0); }

    void PumpMessages(int attempts) override {
        pumpAttempts.push_back(attempts);
        if (onPump) onPump();
    }

    std::string status;
    std::vector<std::string> statuses;
    std::vector<std::string> list;
    int progress = -1;
    std::vector<int> progresses;
    std::string button;
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    bool answer = true;
    int closeCount = 0;
    std::string cursorLog;
    std::vector<int> pumpAttempts;  // one entry per pump
    std::function<void()> onPump;
    std::function<void()> onAsk;
};

}  // namespace vt::test
