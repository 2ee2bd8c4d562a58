#pragma once

class QObject;

namespace console {

// Ctrl-C (SIGINT) and SIGTERM end the event loop, those of open dialogs included, so that the
// program goes on to close its window as the close button would (the layout is kept, the libraries
// shut down) rather than die where it stands. The handler only wakes the event loop through a pipe.
void QuitOnStopSignals(QObject* owner);

}  // namespace console
