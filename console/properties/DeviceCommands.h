#pragma once

#include <functional>

class QWidget;

// The main window's Front Panel, Printer Status and Protocol Statistics commands: each probes the
// current row's print server first (a failure is shown and ends the command), then shows its
// dialog modally.
namespace console {

// The password gate of the Front Panel command: true when the person may go on.
using PasswordGate = std::function<bool()>;

void FrontPanelCommand(QWidget* parent, const PasswordGate& gate);
void PrinterStatusCommand(QWidget* parent);
void ProtocolStatisticsCommand(QWidget* parent);

}  // namespace console
