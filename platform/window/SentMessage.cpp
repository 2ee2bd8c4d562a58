#include "platform/window/SentMessage.h"

#include <utility>

namespace plat {

SentMessage::SentMessage(const Message& message, AnswerFunction answer)
    : message_(message), answer_(std::move(answer)) {}

SentMessage::SentMessage(const Message& message, std::string carriedText, AnswerFunction answer)
    : message_(message),
      carriesText_(true),
      carriedText_(std::move(carriedText)),
      answer_(std::move(answer)) {}

SentMessage::SentMessage(SentMessage&& other) noexcept
    : message_(other.message_),
      carriesText_(other.carriesText_),
      carriedText_(std::move(other.carriedText_)),
      answer_(std::exchange(other.answer_, nullptr)) {}

SentMessage& SentMessage::operator=(SentMessage&& other) noexcept {
    if (this != &other) {
        Answer(0);
        message_ = other.message_;
        carriesText_ = other.carriesText_;
        carriedText_ = std::move(other.carriedText_);
        answer_ = std::exchange(other.answer_, nullptr);
    }
    return *this;
}

SentMessage::~SentMessage() {
    Answer(0);
}

void SentMessage::Answer(LResult result, std::string_view text) {
    if (auto answer = std::exchange(answer_, nullptr)) {
        answer(result, text);
    }
}

}  // namespace plat
