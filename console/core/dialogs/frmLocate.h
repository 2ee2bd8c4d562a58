#pragma once

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace console {

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
    QLineEdit* Octet(int i) const { return txtIPAddress[static_cast<std::size_t>(i)]; }
    QLineEdit* IpxNetwork() const { return txtIPX1; }
    QLineEdit* IpxNode() const { return txtIPX2; }
    QLineEdit* DnsName() const { return txtDNSName; }
    QLineEdit* MacAddress() const { return txtMACAddress; }

  private:
    bool IpAddress(QString& address);
    void Validate(const QString& address, int kind);

    QComboBox* cmbProtocol;
    QStackedWidget* panels_;
    std::array<QLineEdit*, 4> txtIPAddress{};
    QLineEdit* txtIPX1;
    QLineEdit* txtIPX2;
    QLineEdit* txtDNSName;
    QLineEdit* txtMACAddress;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;
};

}  // namespace console
