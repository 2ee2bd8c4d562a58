#pragma once

class QDialog;
class QPushButton;

// The Help button of a port dialog: it opens the dialog's page in the help window, and so does F1 in
// the dialog. It is enabled when the installed help has that page.
QPushButton* AddHelpButton(QDialog* dialog);
