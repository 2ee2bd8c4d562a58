#pragma once

#include <QString>

#include <functional>
#include <optional>

// The console's message boxes: a string id and a kind (1 warning with OK, 2 error with OK, 3 question
// with OK and Cancel, any other no icon and no title). Library result codes are shown as the string
// with the same id.
namespace console {

enum MessageKind : int { kWarning = 1, kCritical = 2, kQuestion = 3, kPlain = 0 };
enum MessageButton : int { kNoButton = 0, kOk = 1, kCancel = 2 };

struct MessageShown {
    int kind = kPlain;
    QString title;
    QString text;
};

// A test answers the boxes through this hook in place of a person: it gets each box as it would be
// shown and answers the button pressed. Empty: real modal boxes.
using MessageHook = std::function<int(const MessageShown&)>;
void SetMessageHook(MessageHook hook);

// A dialog of its own in place of the box for some messages: given the id, it answers the button
// pressed, or nothing to let the box show. Empty: the boxes show every message.
using MessageDetour = std::function<std::optional<int>(int id)>;
void SetMessageDetour(MessageDetour detour);

// The text of a library's result code: its own message for the codes the libraries have texts for,
// "Unknown error" and the code for any other (DLC codes, a missing socket entry point, unknown codes),
// never some other text of the table that happens to share the number.
QString ResultText(int code);

int ShowMessage(int id, int kind);
// A library's result code as a message.
int ShowResult(int code, int kind);
// The id's text, a blank and the extra text. When that text cannot be had (the id is missing),
// string 15252 in a plain box under the product title instead, and the answer is kNoButton.
int ShowMessageEx(int id, int kind, const QString& extra);
// A text of its own (a string-table text with its blanks filled in) as a message of that kind.
int ShowTextMessage(const QString& text, int kind);
// A box with the given text and title, an OK button and no icon.
int ShowPlainMessage(const QString& text, const QString& title);
// A question with the given text and title, OK and Cancel.
int ShowQuestion(const QString& text, const QString& title);

}  // namespace console
