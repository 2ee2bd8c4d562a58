#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/window/Window.h"

namespace plat {

// A message sent to a window of another thread, whose sender waits for the answer. It is answered
// exactly once: by Answer, or with 0 when it is dropped unhandled (window destroyed, thread ended), so
// that no sender waits for ever.
class SentMessage {
  public:
    using AnswerFunction = std::function<void(LResult result, std::string_view text)>;

    SentMessage(const Message& message, AnswerFunction answer);
    // From another process: the text of kWmSetText travels with the message, and kWmGetText's is
    // carried back with the answer.
    SentMessage(const Message& message, std::string carriedText, AnswerFunction answer);
    SentMessage(SentMessage&& other) noexcept;
    SentMessage& operator=(SentMessage&& other) noexcept;
    SentMessage(const SentMessage&) = delete;
    SentMessage& operator=(const SentMessage&) = delete;
    ~SentMessage();

    const Message& Content() const { return message_; }
    bool CarriesText() const { return carriesText_; }
    const std::string& CarriedText() const { return carriedText_; }

    void Answer(LResult result, std::string_view text = {});

  private:
    Message message_;
    bool carriesText_ = false;
    std::string carriedText_;
    AnswerFunction answer_;
};

}  // namespace plat
