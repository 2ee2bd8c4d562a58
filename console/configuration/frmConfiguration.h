#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "console/configuration/SettingsTable.h"
#include "console/configuration/SnmpSlots.h"
#include "netware/TessikResults.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace console {

class AddressBoxes;
class CheckDelayBox;
struct ModeChange;
struct PrintServerEntry;
struct ServicedQueue;

// A print server detected over IP alone that is still new and has no address yet.
bool IsNewWithoutAddress(const PrintServerEntry& entry);

// "Network Interface": the network settings of one print server (the current printer row's),
// read from it when the dialog loads and written back, changed rows only, by OK. Its pages:
// general, TCP/IP, NetWare (the IPX frame types, the queues the card services and its two check
// delays), AppleTalk, SNMP and SMB. The IPP page holds the card's IPP values as read, but like the
// Firmware and Factory pages it is never offered. Queues are added, changed and removed at once, on
// their buttons; everything else waits for OK.
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

    // The NetWare page: the queues the card services and its check delays. LoadNetWarePage answers
    // 12021 when a library cannot be loaded, else 0.
    int LoadNetWarePage();
    void SaveNetWarePage();
    void cmdAdd_Click();
    void cmdModify_Click();
    void cmdRemove_Click();

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
    QTableWidget* grdQueues;
    QPushButton* cmdAdd;
    QPushButton* cmdRemove;
    QPushButton* cmdModify;
    CheckDelayBox* txtCfgChkDelay;
    CheckDelayBox* txtJobChkDelay;
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
    void LoadIppSettings();
    bool LoadSmbSettings();
    void LoadSnmpPage();
    void ShowAddress(AddressBoxes* boxes, int row);
    void ReadFailed(std::int32_t result);

    // Control rules.
    void EnableTcpIpPage();
    void EnableNetWarePage(bool on);
    void EnableAppleTalkPage(bool on);
    void FrameTypeClicked(std::size_t box);
    void EnableQueueButtons();
    void AddressLeft(AddressBoxes* boxes, int row);
    void CommitTypedValues();
    void pbuPassword_Click();

    // NetWare page.
    QWidget* ServicedQueuePanel();
    QWidget* CheckDelayPanel();
    void ConnectNetWarePage();
    void SetupQueueGrid();
    bool LoadServicedQueues();
    void ShowServicedQueue(int row, const ServicedQueue& queue);
    void LoadCheckDelays();
    void SaveCheckDelays();
    void ReloadNetWarePage();
    const ServicedQueue* CurrentQueue() const;
    bool ModifyTarget(const ServicedQueue& queue, ModeChange& change);
    void ChangeQueue(const std::function<NwResult()>& change, const std::function<void()>& takeBack,
                     const std::function<void(NwResult)>& report);
    void NetWareClientLost();

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
    // How far OK's writes reached the card: not at all, the general rows (name and description
    // among them) but not every page, or everything.
    enum class Reached { kNothing, kGeneral, kEverything };
    Reached SaveSettings();
    void StoreRecord(const QString& address);

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
    bool netWareClient_ = true;        // the NetWare helper library could be loaded
    bool netWareOn_ = false;           // the NetWare switch is on and the client is there
    bool netWareUnavailable_ = false;  // the card's NetWare table or delays could not be read
    bool fillingGrid_ = false;
    bool keepCheckDelays_ = false;  // the reload after an add keeps the delays typed
    // The delays as read from the card; none before a read (a new card's page is never read).
    std::optional<int> storedJobDelay_;
    std::optional<int> storedCfgDelay_;
};

}  // namespace console
