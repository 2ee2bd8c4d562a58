#pragma once

#include <QDialog>

#include <vector>

#include "platform/spooler/MonitorPorts.h"

class QPushButton;
class QTreeWidget;

namespace console {

// The port choice: when several ports print to the current print server, the person picks the one
// that Configure Port or Delete Port acts on. Each port shows the queues that print to it, so that
// a port whose queue was removed is plain to see.
class frmSelectPort : public QDialog {
    Q_OBJECT

  public:
    frmSelectPort(const std::vector<plat::MonitorPort>& ports, QWidget* parent = nullptr);

    // The port chosen with OK; "" after Cancel.
    QString Chosen() const { return chosen_; }
    QTreeWidget* List() const { return lstPorts; }
    QPushButton* OkButton() const { return btnOK; }

    void btnOK_Click();

  private:
    QTreeWidget* lstPorts;
    QPushButton* btnCancel;
    QPushButton* btnOK;
    QString chosen_;
};

}  // namespace console
