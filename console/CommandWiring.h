#pragma once

// Where the main window's commands meet the dialog libraries: each library's commands are
// registered here, in one place, so that the console core never links the libraries it opens.
namespace console {

void WireCommands();

}  // namespace console
