// Reading the print server's settings into the rows and the pages when the dialog loads.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include "console/configuration/AddressBoxes.h"
#include "console/configuration/ConfigurationLibraries.h"
#include "console/configuration/ConfigurationSnmp.h"
#include "console/configuration/DialogBehaviours.h"
#include "console/configuration/frmConfiguration.h"
#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/EngineVersion.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kGeneralGroup = 21;
constexpr int kNetWareGroup = 25;
constexpr int kFirstMethodText = 5600;
constexpr int kDhcpText = 5603;
constexpr int kSetPasswordText = 5015;
constexpr int kModifyPasswordText = 5099;
constexpr int kNoIpxParameters = 32111;
constexpr int kNoClientLibrary = 12021;
constexpr int kAppleTalkComingUp = 12033;
constexpr int kWrongAppleTalkCode = 12034;
constexpr int kAppleTalkStarting = 7;
constexpr int kAppleTalkUp = 5;
constexpr std::uint32_t kZoneRoom = 3000;
const char* const kAppleTalkPortStatus = "1.3.6.1.2.1.13.3.1.1.7.1";

bool IsSmallKind(int kind) {
    return kind == 5 || kind == 6;
}

// Copies the values into the rows from `first` on, as many as came.
void PutValues(SettingsTable& rows, int first, int last, const std::vector<QString>& values) {
    for (int row = first; row <= last && static_cast<std::size_t>(row - first) < values.size(); ++row) {
        rows[row].value = values[static_cast<std::size_t>(row - first)];
    }
}

// "length,name," records.
QStringList ZoneNames(const QString& list) {
    QStringList names;
    qsizetype pos = 0;
    while (pos < list.size()) {
        const qsizetype comma = list.indexOf(',', pos);
        bool number = false;
        const int length = comma < 0 ? 0 : list.mid(pos, comma - pos).toInt(&number);
        if (!number || length < 0 || comma + 1 + length > list.size()) {
            break;
        }
        names << list.mid(comma + 1, length);
        pos = comma + 1 + length + 1;
    }
    return names;
}

std::int32_t ReadZones(const QString& adapter, QString& list) {
    const QByteArray name = adapter.toLatin1();
    std::uint32_t size = kZoneRoom;
    QByteArray buffer(static_cast<qsizetype>(size) + 1, '\0');
    std::int32_t result = configlib::HelperGetAppleTalkZones(name.constData(), buffer.data(), &size);
    if (result == kHelperBufferTooSmall) {
        buffer = QByteArray(static_cast<qsizetype>(size) + 1, '\0');
        result = configlib::HelperGetAppleTalkZones(name.constData(), buffer.data(), &size);
    }
    if (result == 0) {
        list = QString::fromLatin1(buffer.constData(), std::min<qsizetype>(size, buffer.size()));
    }
    return result;
}

}  // namespace

bool frmConfiguration::Form_Load() {
    for (int page : {kFirmware, kIpp, kFactory}) {
        tabProtocols->setTabEnabled(page, false);
    }
    filling_ = true;
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return false;
    }
    adapter_ = row->mac;
    txtMACAddress->setText(adapter_);
    if (const PrintServerEntry* entry = FindServer(adapter_);
        entry != nullptr && IsNewWithoutAddress(*entry)) {
        LoadNewServer(*entry);
        return true;
    }
    kind_ = CheckEngineVersion().value_or(0);
    smbAvailable_ = LoadSmbSettings();
    tabProtocols->setTabEnabled(kSmb, smbAvailable_);
    if (!IsSmallKind(kind_)) {
        LoadNetWareSettings();
    }
    for (int id = kFirstMethodText; id <= (IsSmallKind(kind_) ? kDhcpText - 1 : kDhcpText); ++id) {
        cmbIPAssignment->addItem(LoadString(id));
    }
    LoadGeneralAndTcpIp();
    LoadSnmpPage();
    const bool appleTalk = rows_[kRowAppleTalk].value == "5";
    chkApple->setChecked(appleTalk);
    EnableAppleTalkPage(appleTalk);
    if (appleTalk) {
        LoadAppleTalkPage();
    }
    netWareClient_ = LoadNetWarePage() != kNoClientLibrary;
    const bool netWare = rows_[kRowNetWare].value == "1";
    chkNetware->setChecked(netWare);
    EnableNetWarePage(netWare && netWareClient_);
    LoadIppSettings();
    EnableTcpIpPage();
    tabProtocols->setCurrentIndex(kGeneral);
    filling_ = false;
    adjustSize();
    CenterForm(this);
    return readSuccess_;
}

// A dialog whose reads failed closes as soon as it shows.
void frmConfiguration::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!readSuccess_) {
        QTimer::singleShot(0, this, &QDialog::reject);
    }
}

// A new card without an address cannot be asked anything yet: the dialog offers its name and first
// address, which OK gives it by broadcast before it writes the rest to it there.
void frmConfiguration::LoadNewServer(const PrintServerEntry& entry) {
    for (int page : {kNetWare, kAppleTalk, kSnmp, kSmb}) {
        tabProtocols->setTabEnabled(page, false);
    }
    for (int id = kFirstMethodText; id <= kDhcpText; ++id) {
        cmbIPAssignment->addItem(LoadString(id));
    }
    rows_[kRowIpAddress].value = entry.ip;
    rows_[kRowName].value = entry.name;
    rows_[kRowDescription].value = entry.description;
    ShowAddress(txtIPAddress, kRowIpAddress);
    ShowAddress(txtSubnet, kRowSubnet);
    ShowAddress(txtGateway, kRowGateway);
    txtPrintServerName->setText(entry.name);
    txtDescription->setText(entry.description);
    chkPasswordEnable->setEnabled(false);
    chkTCP->setChecked(true);
    cmbIPAssignment->setCurrentIndex(0);
    EnableTcpIpPage();
    chkTCP->setEnabled(false);
    cmbIPAssignment->setEnabled(false);
    tabProtocols->setCurrentIndex(kGeneral);
    filling_ = false;
    adjustSize();
    CenterForm(this);
}

void frmConfiguration::ReadFailed(std::int32_t result) {
    ShowResult(result, kWarning);
    readSuccess_ = false;
}

void frmConfiguration::ShowAddress(AddressBoxes* boxes, int row) {
    boxes->SetText(rows_[row].value);
    loadedAddress_[static_cast<std::size_t>(row)] = boxes->Text();
}

void frmConfiguration::LoadGeneralAndTcpIp() {
    std::vector<QString> values;
    std::int32_t result = GetGroup(adapter_, kGeneralGroup, values);
    if (result != 0) {
        ReadFailed(result);
        return;
    }
    PutValues(rows_, kRowAppleTalk, kRowGateway, values);
    for (int row : {kRowName, kRowDescription}) {
        result = GetObjects(adapter_, rows_[row].oid, rows_[row].value, 2);
        if (result != 0) {
            ReadFailed(result);
            return;
        }
    }
    const bool protection = rows_[kRowProtection].value == "1";
    chkPasswordEnable->setChecked(protection);
    pbuPassword->setEnabled(protection);
    pbuPassword->setText(LoadString(protection ? kModifyPasswordText : kSetPasswordText));
    ShowAddress(txtIPAddress, kRowIpAddress);
    ShowAddress(txtSubnet, kRowSubnet);
    ShowAddress(txtGateway, kRowGateway);
    // A method outside the list shows no choice.
    const int method = rows_[kRowAssignment].value.toInt() - 1;
    cmbIPAssignment->setCurrentIndex(method >= 0 && method < cmbIPAssignment->count() ? method : -1);
    txtPrintServerName->setText(rows_[kRowName].value);
    txtDescription->setText(rows_[kRowDescription].value);
}

void frmConfiguration::LoadNetWareSettings() {
    std::vector<QString> values;
    if (GetGroup(adapter_, kNetWareGroup, values) != 0) {
        ShowPlainMessage(LoadString(kNoIpxParameters), State().productTitle);
        return;
    }
    PutValues(rows_, kRowTcpIp, kRowFrameLast, values);
    loadedAuto_ = rows_[kRowFrameAuto].value;
    chkTCP->setChecked(rows_[kRowTcpIp].value == "1");
    for (std::size_t type = 0; type < frameTypes.size(); ++type) {
        frameTypes[type]->setChecked(rows_[kRowFrameAuto + static_cast<int>(type)].value == "2");
    }
}

void frmConfiguration::LoadAppleTalkPage() {
    std::vector<QString> values;
    std::int32_t result = GetValues(adapter_, {kAppleTalkPortStatus}, values);
    if (result != 0) {
        ShowResult(result, kWarning);
        return;
    }
    const int status = values.empty() ? 0 : values.front().toInt();
    if (status != kAppleTalkUp) {
        ShowMessage(status == kAppleTalkStarting ? kAppleTalkComingUp : kWrongAppleTalkCode, kWarning);
        return;
    }
    result = GetValues(adapter_, rows_.Oids(kRowAppleError, kRowApplePrinter), values);
    if (result != 0) {
        ReadFailed(result);
        return;
    }
    PutValues(rows_, kRowAppleError, kRowApplePrinter, values);
    txtLastError->setText(rows_[kRowAppleError].value);
    txtARTimer->setValue(rows_[kRowRouterTimer].value.toInt());
    txtPrinterName->setText(rows_[kRowApplePrinter].value);
    txtPAPwait->setValue(rows_[kRowPapWait].value.toInt());
    QString zones;
    result = ReadZones(adapter_, zones);
    if (result != 0) {
        ShowResult(result, kWarning);
    }
    cmbZone->addItems(ZoneNames(zones));
    if (cmbZone->findText(rows_[kRowZone].value) < 0) {
        cmbZone->addItem(rows_[kRowZone].value);
    }
    cmbZone->setCurrentIndex(cmbZone->findText(rows_[kRowZone].value));
}

// The card's IPP values, read into their rows and the boxes of the IPP page, which is never offered.
void frmConfiguration::LoadIppSettings() {
    const std::pair<int, int> reads[] = {{41, 41}, {42, 45}, {46, 47}, {48, 51}};
    for (const auto& [first, last] : reads) {
        std::vector<QString> values;
        if (GetValues(adapter_, rows_.Oids(first, last), values) != 0) {
            return;
        }
        PutValues(rows_, first, last, values);
    }
    for (int row = kRowIppFirst; row <= kRowIppLast; ++row) {
        if (QLineEdit* box = ippBoxes[static_cast<std::size_t>(row)]; box != nullptr) {
            box->setText(rows_[row].value);
        }
    }
    txtOpTimeout->setValue(rows_[44].value.toInt());
    txtHistory->setValue(rows_[45].value.toInt());
}

bool frmConfiguration::LoadSmbSettings() {
    std::vector<QString> values;
    if (GetValues(adapter_, rows_.Oids(kRowSmb, kRowWorkgroup), values) != 0) {
        return false;
    }
    PutValues(rows_, kRowSmb, kRowWorkgroup, values);
    const QString on = rows_[kRowSmb].value;
    if (on == "1" || on == "2") {
        chkSMB->setChecked(on == "1");
        txtWorkGroupName->setEnabled(on == "1");
    }
    txtWorkGroupName->setText(rows_[kRowWorkgroup].value);
    return true;
}

}  // namespace console
