#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace console {

class OctetBoxes;

// Add New Print Server: one print server named by its IP address, IPX address, host name or
// hardware address is asked for its identity and stored; the console's tables are then read anew,
// and the print server is polled and registered for its traps.
class frmLocate : public QDialog {
    Q_OBJECT

  public:
    enum Kind : int { kIpIndex, kIpxIndex, kDnsIndex, kMacIndex };

    explicit frmLocate(QWidget* parent = nullptr);

    void cmbProtocol_Click();
    void pbuOK_Click();

    QComboBox* Protocol() const { return cmbProtocol; }
    QLineEdit* Octet(int i) const;
    QLineEdit* IpxNetwork() const { return txtIPX1; }
    QLineEdit* IpxNode() const { return txtIPX2; }
    QLineEdit* DnsName() const { return txtDNSName; }
    QLineEdit* MacAddress() const { return txtMACAddress; }
    // The hardware address of the print server that OK found; empty until then.
    const QString& Located() const { return located_; }

  private:
    bool IpAddress(QString& address);
    void Validate(const QString& address, int kind);

    QComboBox* cmbProtocol;
    QStackedWidget* panels_;
    OctetBoxes* txtIPAddress;
    QLineEdit* txtIPX1;
    QLineEdit* txtIPX2;
    QLineEdit* txtDNSName;
    QLineEdit* txtMACAddress;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;
    QString located_;
};

}  // namespace console
