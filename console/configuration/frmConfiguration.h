#pragma once

#include <QDialog>

#include <array>

#include "console/configuration/SettingsTable.h"
#include "console/configuration/SnmpSlots.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace console {

class AddressBoxes;
struct PrintServerEntry;

// A print server detected over IP alone that is still new and has no address yet.
bool IsNewWithoutAddress(const PrintServerEntry& entry);

// "Network Interface": the network settings of one print server (the current printer row's),
// read from it when the dialog loads and written back, changed rows only, by OK. Its pages:
// general, TCP/IP, NetWare (the IPX frame types; the serviced queues and check delays join this
// page with the NetWare dialogs), AppleTalk, SNMP, IPP and SMB; the Firmware and Factory pages are
// never offered.
class frmConfiguration : public QDialog {
    Q_OBJECT

  public:
    enum Page : int { kGeneral, kTcpIp, kNetWare, kAppleTalk, kSnmp, kFirmware, kIpp, kFactory, kSmb };

    explicit frmConfiguration(QWidget* parent = nullptr);
    ~frmConfiguration() override;

    // Reads everything from the print server; false when a read failed and the dialog must not open.
    bool Form_Load();
    void pbuOK_Click();
    void pbuCancel_Click();

    // Reachable by the tests as a person reaches them.
    QTabWidget* Tabs() const { return tabProtocols; }
    const SettingsTable& Rows() const { return rows_; }
    const TrapSlots& Traps() const { return traps_; }
    const CommunitySlots& CommunityList() const { return communities_; }
    bool ReadSucceeded() const { return readSuccess_; }
    QLineEdit* txtPrintServerName;
    QLineEdit* txtDescription;
    QLineEdit* txtMACAddress;
    QCheckBox* chkPasswordEnable;
    QPushButton* pbuPassword;
    QCheckBox* chkTCP;
    QComboBox* cmbIPAssignment;
    AddressBoxes* txtIPAddress;
    AddressBoxes* txtSubnet;
    AddressBoxes* txtGateway;
    QCheckBox* chkNetware;
    std::array<QCheckBox*, 5> frameTypes{};  // chkAuto, chk802, chk803, chkethernet, chksnap
    QCheckBox* chkApple;
    QLineEdit* txtLastError;
    QLineEdit* txtPrinterName;
    QSpinBox* txtARTimer;
    QComboBox* cmbZone;
    QSpinBox* txtPAPwait;
    QCheckBox* chkEnableTraps;
    AddressBoxes* txtSnmpIP;
    QLineEdit* txtSNMP1Name;
    QPushButton* pbuLeft;
    QPushButton* pbuRight;
    QGroupBox* pnlTraverse;
    QLineEdit* txtSNMP2Name;
    QCheckBox* chkRead;
    QCheckBox* chkWrite;
    QPushButton* pbuLeftCN;
    QPushButton* pbuRightCN;
    QGroupBox* pnlTraverseCN;
    std::array<QLineEdit*, SettingsTable::kRowCount> ippBoxes{};  // by row, 41 to 51
    QSpinBox* txtOpTimeout;
    QSpinBox* txtHistory;
    QCheckBox* chkSMB;
    QLineEdit* txtWorkGroupName;
    QLabel* lblTips;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Layout, one page each.
    QWidget* GeneralPage();
    QWidget* TcpIpPage();
    QWidget* NetWarePage();
    QWidget* AppleTalkPage();
    QWidget* SnmpPage();
    QWidget* IppPage();
    QWidget* SmbPage();
    void ConnectRows();
    void ConnectTips();

    // Reads.
    void LoadNewServer(const PrintServerEntry& entry);
    void LoadGeneralAndTcpIp();
    void LoadNetWareSettings();
    void LoadAppleTalkPage();
    bool LoadIppSettings();
    bool LoadSmbSettings();
    void LoadSnmpPage();
    void ShowAddress(AddressBoxes* boxes, int row);
    void ReadFailed(std::int32_t result);

    // Control rules.
    void EnableTcpIpPage();
    void EnableNetWarePage(bool on);
    void EnableAppleTalkPage(bool on);
    void FrameTypeClicked(std::size_t box);
    void AddressLeft(AddressBoxes* boxes, int row);
    void pbuPassword_Click();

    // SNMP page.
    void ShowTrapSlot();
    void ShowCommunitySlot();
    void KeepTrapSlot();
    void KeepCommunitySlot();
    void StepTrapSlot(int step);
    void StepCommunitySlot(int step);
    bool SaveSnmpTables();
    bool ConfirmCommunityChange();
    void ClearSnmpChanges();

    // Writes.
    bool ValidateInput();
    bool GiveFirstAddress(const QString& address);
    bool SendRows(const RowRequest& request);
    bool SaveAppleTalkSettings();
    bool SaveSettings();
    void StoreRecord();

    QTabWidget* tabProtocols;
    QString adapter_;
    int kind_ = 0;
    bool smbAvailable_ = false;
    QString loadedAuto_;
    bool readSuccess_ = true;
    bool filling_ = false;  // on while the dialog fills its controls itself
    SettingsTable rows_;
    std::array<QString, SettingsTable::kRowCount> loadedAddress_;  // rows 9 to 11 as first shown
    TrapSlots traps_;
    CommunitySlots communities_;
    CommunitySlots loadedCommunities_;
    int shownTrap_ = 0;  // 0 to 4
    int shownCommunity_ = 0;
};

}  // namespace console
