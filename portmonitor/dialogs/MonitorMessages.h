#pragma once

#include <functional>
#include <string>

// The message boxes of the port dialogs. A test answers them through the hook in place of a person.
enum class MessageKind { Error, Notice, Question };

// Answers true for OK, false for Cancel.
using MessageHook =
    std::function<bool(MessageKind kind, const std::string& text, const std::string& caption)>;
void SetMessageHook(MessageHook hook);

// The string's text in a box captioned "Vorlane Network Print Monitor : Error" (nothing when the
// string is missing).
void ShowErrorMessage(int stringId);
void ShowNotice(const std::string& text, const std::string& caption);
bool AskOkCancel(const std::string& text, const std::string& caption);
