#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "portmonitor/PortServices.h"
#include "portmonitor/ServerRecord.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The port dialog: the print servers of the device store, freshly detected, from which the user picks
// one and names the port (add mode), or moves an existing port to another one (configure mode, the
// name fixed).
class PortDialog : public QDialog {
    Q_OBJECT

  public:
    // The monitor's ports change through `services`, which outlive the dialog.
    PortDialog(bool configure, std::string portName, const PortServices& services, QWidget* owner = nullptr);

    // The list from the device store again, without a new detection.
    void Refill();
    QTreeWidget* ServerList() const { return list_; }
    QLineEdit* PortNameBox() const { return portName_; }
    QPushButton* AddServerButton() const { return addServer_; }
    QPushButton* OkButton() const { return ok_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Detect();
    void OnSelectionChanged();
    void OnAddServer();
    void OnOk();
    // The record of the list's chosen item; null when none is chosen.
    const ServerRecord* ChosenRecord() const;
    bool ReplaceDuplicate(const std::string& name);

    bool configure_;
    std::string configuredName_;
    const PortServices& services_;
    bool detected_ = false;
    std::vector<ServerRecord> servers_;
    QLabel* listLabel_;
    QTreeWidget* list_;
    QLabel* nameLabel_;
    QLineEdit* portName_;
    QPushButton* addServer_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
};
