#include "portmonitor/dialogs/DialogHelp.h"

#include <QDialog>
#include <QPushButton>
#include <QShortcut>

#include "console/help/HelpViewer.h"
#include "portmonitor/MonitorStrings.h"

QPushButton* AddHelpButton(QDialog* dialog) {
    auto* button = new QPushButton(QString::fromUtf8(LoadMonitorString(kStrHelp)), dialog);
    button->setEnabled(console::HasHelpFor(dialog));
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog] { console::ShowHelpFor(dialog); });
    // In the console its own F1 comes first and opens the same page.
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    QObject::connect(key, &QShortcut::activated, button, &QPushButton::click);
    return button;
}
