#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace console {

// Shows the print mode dialog modally, placed against `owner`, for the PrintMode globals; the result
// is in PrintModeAccepted, PrintModeChoice, PrintModePrintServer and the queue's QueueModeTable entry.
void ShowPrintModeDialog(QWidget* owner);

// The index in QueueModeTable of the queue's entry, -1 when it has none. A bindery queue (bindery
// -1) is known by its name and file server, a directory queue by its name and tree; names are
// compared as NetWare compares them, without regard to case.
int FindQueueMode(const QString& queueName, int16_t bindery, const QString& fileServer, const QString& tree);

}  // namespace console
