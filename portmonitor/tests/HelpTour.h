#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A person's hand in the port monitor's dialogs, once the port dialog is on the screen: in the port
// dialog, then in the Add New Printer dialog that its Add New Print Server To List button opens, the
// Help button and F1 each, the help window being put back on its first page before each; then Cancel
// in each dialog. Each line of what it met reads "PortDialog Help: PortDialog.html" (the page the
// help window showed), or says what stood in the way. The help window showing each page that Help
// opened is saved as a picture, its name `pictures` followed by "HelpWindow-" and the dialog.
void TourPortDialogHelp(const QString& pictures, std::function<void(const QStringList&)> done);
