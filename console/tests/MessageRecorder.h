#pragma once

#include <vector>

#include "console/core/Messages.h"

namespace consoletest {

// Answers every message box with `answer` and keeps what each showed, for as long as it lives.
class MessageRecorder {
  public:
    explicit MessageRecorder(int answer = console::kOk) : answer_(answer) { Install(); }
    ~MessageRecorder() { console::SetMessageHook({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<console::MessageShown>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }
    void Answer(int answer) { answer_ = answer; }
    // Answers the boxes again after a test let real ones show (console::SetMessageHook({})).
    void Install() {
        console::SetMessageHook([this](const console::MessageShown& shown) {
            shown_.push_back(shown);
            return answer_;
        });
    }

  private:
    int answer_;
    std::vector<console::MessageShown> shown_;
};

}  // namespace consoletest
