#pragma once

class QLineEdit;

namespace console {

// A password goes out in the console's code page (Latin-1), one byte a character: the box refuses a
// character that has no byte there as it is typed or pasted, and says which, so that a password is
// never sent as something other than what was typed.
void RefuseCharactersOutsideCodePage(QLineEdit* passwordBox);

}  // namespace console
