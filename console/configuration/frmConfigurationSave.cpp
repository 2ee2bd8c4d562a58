// The input check and OK: every changed setting written to the print server, its new address last.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "console/configuration/AddressBoxes.h"
#include "console/configuration/ConfigurationLibraries.h"
#include "console/configuration/ConfigurationSnmp.h"
#include "console/configuration/frmConfiguration.h"
#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/EngineVersion.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/PrintServerTable.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kNameMissing = 12023;
constexpr int kAddressMandatory = 12037;
constexpr int kAddressBroadcast = 12035;
constexpr int kAddressNotSet = 12036;
constexpr int kBlankPassword = 12038;
constexpr int kSetPasswordText = 5015;
constexpr std::uint32_t kNewServer = 1;
constexpr std::uint32_t kDiscovered = 2;
constexpr std::uint32_t kIpOnly = 2;
constexpr std::int32_t kStatusUnknown = -1;
constexpr int kMakerAbbreviation = 400;
constexpr int kDhcp = 4;
constexpr int kRecoveryPasswordLength = 8;
constexpr int kRecoveryPasswordKind = 2;
const char* const kCategoryOid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.6.0";

}  // namespace

bool IsNewWithoutAddress(const PrintServerEntry& entry) {
    return entry.protocols == kIpOnly && (entry.category & kNewServer) != 0 && entry.ip == kNoAddress;
}

bool frmConfiguration::ValidateInput() {
    const std::pair<AddressBoxes*, int> addresses[] = {
        {txtIPAddress, kTcpIp}, {txtSubnet, kTcpIp}, {txtGateway, kTcpIp}, {txtSnmpIP, kSnmp}};
    for (const auto& [boxes, page] : addresses) {
        for (int box = 0; box < 4; ++box) {
            if (!ValidateRange(boxes->Box(box), 0, 255)) {
                tabProtocols->setCurrentIndex(page);
                boxes->Box(box)->setFocus();
                return false;
            }
        }
    }
    KeepTrapSlot();
    if (const int fault = CheckTrapSlots(traps_); fault != 0) {
        tabProtocols->setCurrentIndex(kSnmp);
        ShowPlainMessage(LoadString(fault), State().productTitle);
        return false;
    }
    return true;
}

bool frmConfiguration::SendRows(const RowRequest& request) {
    if (request.Empty()) {
        return true;
    }
    const std::int32_t result = SetValues(adapter_, request.oids, request.values);
    if (result != 0) {
        ShowResult(result, kWarning);
    }
    return result == 0;
}

// A new print server reachable over IP alone and still without an address gets the typed one by
// broadcast, and is then reached at it.
bool frmConfiguration::GiveFirstAddress(const QString& address) {
    if (address == kNoAddress) {
        ShowMessage(kAddressMandatory, kWarning);
        return false;
    }
    if (address == "255.255.255.255") {
        ShowMessage(kAddressBroadcast, kWarning);
        return false;
    }
    const QByteArray addressText = address.toLatin1();
    const QByteArray hardware = adapter_.toLatin1();
    const std::int32_t result = configlib::HelperBcastSet(addressText.constData(), hardware.constData());
    if (result != 0) {
        // What went wrong at the address is said with the address; the store keeps the card without one,
        // so that OK can give it one again.
        if (result == kHelperAddressInUse || result == kHelperNotAtNewAddress ||
            result == kHelperOtherAtNewAddress) {
            ShowTextMessage(LoadString(result).arg(address), kWarning);
        } else {
            ShowMessage(kAddressNotSet, kWarning);
        }
        return false;
    }
    // The address alone has reached the card: its name and description follow with the other rows.
    const PrintServerEntry* entry = FindServer(adapter_);
    StoreRecordIO(adapter_, entry->name, entry->description, address, entry->category, kStatusUnknown);
    return true;
}

bool frmConfiguration::SaveAppleTalkSettings() {
    return SendRows(rows_.Changed(kRowRouterTimer, kRowApplePrinter));
}

// Every write but the address first, so that they all reach the card where it is now; then the
// address. Says how far the writes got.
frmConfiguration::Reached frmConfiguration::SaveSettings() {
    PrintServerEntry* entry = FindServer(adapter_);
    if (entry == nullptr) {
        return Reached::kNothing;
    }
    if (IsNewWithoutAddress(*entry) && !GiveFirstAddress(rows_[kRowIpAddress].value)) {
        return Reached::kNothing;
    }
    if (chkPasswordEnable->isChecked() && pbuPassword->text() == LoadString(kSetPasswordText)) {
        ShowMessage(kBlankPassword, kWarning);
        return Reached::kNothing;
    }
    // Each set is all or nothing: a refused general request leaves the card as it was.
    if (!SendRows(rows_.Changed(kRowAppleTalk, kRowDescription, kRowIpAddress))) {
        return Reached::kNothing;
    }
    if (!SendRows(rows_.Changed(kRowTcpIp, kRowTcpIp)) || !SendRows(FrameTypeRequest(rows_, loadedAuto_)) ||
        !SendRows(rows_.Changed(kRowIppFirst, kRowIppLast)) ||
        (smbAvailable_ && !SendRows(rows_.Changed(kRowSmb, kRowWorkgroup)))) {
        return Reached::kGeneral;
    }
    const PrinterRow* row = CurrentPrinter();
    if (row != nullptr && (row->category & kNewServer) != 0) {
        if (!SendRows({{kCategoryOid}, "1,2"})) {
            return Reached::kGeneral;
        }
        entry->category = (entry->category & ~(kNewServer | kDiscovered)) | kDiscovered;
        entry->reportedNew = false;
        SetPassword(adapter_, adapter_.right(kRecoveryPasswordLength), kRecoveryPasswordKind);
    }
    // The NetWare page reports its own failures; the address still follows it.
    if (!SaveSnmpTables() || !SaveAppleTalkSettings()) {
        return Reached::kGeneral;
    }
    SaveNetWarePage();
    return SendRows(rows_.Changed(kRowIpAddress, kRowIpAddress)) ? Reached::kEverything : Reached::kGeneral;
}

// The store says what the card holds: the name and description as written, and the address the
// card answers at.
void frmConfiguration::StoreRecord(const QString& address) {
    PrintServerEntry* entry = FindServer(adapter_);
    const QString name = txtPrintServerName->text().trimmed();
    if (entry->category == kDiscovered && address == kNoAddress &&
        name == adapter_.toLower() + LoadString(kMakerAbbreviation)) {
        entry->category = kNewServer;
    }
    // The status stays as it is (an address given by broadcast has already set it unknown).
    StoreRecordIO(adapter_, name, txtDescription->text(), address, entry->category, entry->status);
}

void frmConfiguration::pbuOK_Click() {
    CommitTypedValues();
    if (!ValidateInput()) {
        return;
    }
    if (txtPrintServerName->text().trimmed().isEmpty()) {
        ShowMessage(kNameMissing, kWarning);
        return;
    }
    if (!ConfirmCommunityChange()) {
        tabProtocols->setCurrentIndex(kSnmp);
        return;
    }
    {
        const BusyCursor busy;
        const Reached reached = SaveSettings();
        if (reached == Reached::kNothing) {
            return;
        }
        StoreRecord(reached == Reached::kEverything ? rows_[kRowIpAddress].value : FindServer(adapter_)->ip);
        if (rows_[kRowAssignment].changed && rows_[kRowAssignment].value.toInt() == kDhcp &&
            !LogFactoryCommand(adapter_, kDhcpSelected)) {
            TellFactoryLogUnwritten();
        }
        if (reached != Reached::kEverything) {
            return;
        }
    }
    accept();
}

void frmConfiguration::pbuCancel_Click() {
    ClearSnmpChanges();
    reject();
}

}  // namespace console
