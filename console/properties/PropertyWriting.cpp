// How the printer properties dialog writes: OK sends the changed settings menu by menu, and the
// maintenance commands act on the printer at once.
#include <QProgressBar>

#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/properties/DeviceRequests.h"
#include "console/properties/frmProperties.h"

namespace console {

namespace {

constexpr int kNotTaken = 4670;
constexpr int kPrintingMenu = 4673;
constexpr int kConfigMenu = 4674;
constexpr int kJobMenu = 4675;
constexpr int kIoMenu = 4676;
constexpr int kPclMenu = 4677;
constexpr int kPsMenu = 4678;
constexpr int kLongestWriteDelay = 1600;
constexpr int kMenuResetPause = 1500;
constexpr int kFontListPause = 2000;
constexpr std::int32_t kRefused = 25011;
constexpr int kPrinterBusy = 12040;
constexpr int kFontListSent[] = {12043, 12042};
const char* const kFontList = "1.3.6.1.4.1.32473.11.5.1.1.10.2.0";

struct WriteBatch {
    int first;
    int last;
    int menuName;
    int progress;  // the bar after it; -1 unchanged
};

const WriteBatch kBatches[] = {
    {1, 10, kPrintingMenu, -1}, {61, 61, kPrintingMenu, 10}, {11, 19, kConfigMenu, 20},
    {21, 29, kJobMenu, 30},     {31, 32, kIoMenu, 40},       {33, 38, kPclMenu, 50},
    {20, 20, kPsMenu, 50},
};

}  // namespace

// Every press of OK starts with a clean slate: a batch that failed before is tried again, and the
// batches written before are not written again. The box being edited is taken first, as leaving it
// would take it: Enter and the mnemonic leave the focus in it.
void frmProperties::pbuOK_Click() {
    CommitNumbers();
    readOk_ = true;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    for (const WriteBatch& batch : kBatches) {
        if (!WriteSettings(batch.first, batch.last, batch.menuName)) {
            return;
        }
        if (batch.progress >= 0) {
            ProgressBar1->setValue(batch.progress);
        }
    }
    ProgressBar1->hide();
    accept();
}

bool frmProperties::WriteSettings(int first, int last, int menuName) {
    const ChangedSettings changed = slots_.Changed(first, last);
    if (changed.oids.isEmpty()) {
        return true;
    }
    const std::int32_t result = SetIntegers(adapter_, changed.oids, changed.values);
    if (result != 0) {
        ShowMessageEx(kNotTaken, kWarning, LoadString(menuName) + " (" + ResultText(result) + ")");
        readOk_ = false;
        return false;
    }
    slots_.ClearChanged(first, last);
    Pause(writeDelay_);
    // The printer needs a growing pause between batches, within reason.
    writeDelay_ = std::min(writeDelay_ * 2, kLongestWriteDelay);
    return true;
}

void frmProperties::ReportCommand(std::int32_t result, int success) {
    if (result == 0) {
        ShowMessageEx(success, kWarning, {});
    } else if (result == kRefused) {
        ShowMessage(kPrinterBusy, kWarning);
    } else {
        ShowResult(result, kWarning);
    }
}

void frmProperties::Maintenance(Setting setting, int confirmation, int success) {
    if (ShowMessage(confirmation, kQuestion) == kCancel) {
        return;
    }
    ReportCommand(SetIntegers(adapter_, {slots_.ValueOid(setting)}, {"2"}), success);
}

void frmProperties::cmdFuser_Click() {
    Maintenance(Setting::Fuser, 12105, 12107);
}

void frmProperties::cmdOpc_Click() {
    Maintenance(Setting::Opc, 12106, 12108);
}

// The printer's defaults are read back with every list rebuilt from its masks; nothing read is a
// change of the user's, and no handler writes to the printer meanwhile.
void frmProperties::cmdMenuClear_Click() {
    if (ShowMessage(12100, kQuestion) == kCancel) {
        return;
    }
    const std::int32_t result = SetIntegers(adapter_, {slots_.ValueOid(Setting::MenuClear)}, {"2"});
    if (result != 0) {
        ShowResult(result, kWarning);
        return;
    }
    Pause(kMenuResetPause);
    loading_ = true;
    if (ReadAllCapabilities()) {
        ReadAllValues();
    }
    slots_.ClearChanged(1, PropertySlots::kSlotCount - 1);
    loading_ = false;
}

void frmProperties::PrintFontList(int confirmation, const char* valueText, int success) {
    if (ShowMessage(confirmation, kQuestion) == kCancel) {
        return;
    }
    std::int32_t result = 0;
    {
        BusyCursor hourglass;
        result = SetIntegers(adapter_, {kFontList}, {valueText});
        Pause(kFontListPause);
    }
    ReportCommand(result, success);
}

void frmProperties::cmdPCL_Click() {
    PrintFontList(12102, "1", kFontListSent[0]);
}

void frmProperties::cmdPS_Click() {
    PrintFontList(12101, "2", kFontListSent[1]);
}

}  // namespace console
