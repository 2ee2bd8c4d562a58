// The main window's commands: the console's own, and those that the dialog libraries register.
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "console/core/BusyScope.h"
#include "console/core/CommandTable.h"
#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/EngineVersion.h"
#include "console/core/FaultRule.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/NewLook.h"
#include "console/core/PortCommands.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterCommands.h"
#include "console/core/PrinterList.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/frmAFilter.h"
#include "console/core/dialogs/frmConfigureCols.h"
#include "console/core/dialogs/frmFilter.h"
#include "console/core/dialogs/frmLocate.h"
#include "console/core/dialogs/frmNotify.h"
#include "console/core/dialogs/frmPreference.h"
#include "console/core/dialogs/frmSortCols.h"
#include "console/core/frmAboutBox.h"

namespace console {

namespace {

constexpr const char* kTestPageOid = "1.3.6.1.4.1.32473.11.5.1.1.10.1.0";
constexpr const char* kFactoryDefaultOid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.8.0";
constexpr const char* kCommandValue = "1,1";
constexpr int kFiltersOff = 1160;
constexpr int kFiltersOn = 1161;
constexpr int kTestPageSent = 12017;
constexpr int kContacting = 12029;
constexpr int kPrinterBusy = 12040;
constexpr int kFactoryQuestion = 32103;
constexpr int kFactoryQuestionEnd = 32104;
constexpr int kFactoryFailed = 32105;
constexpr int kFactoryDone = 32106;
constexpr std::int32_t kRefused = 25011;

// The commands that talk to a print server or open a device dialog: one at a time.
const QStringList kBusyCommands = {"mnuConfigure", "mnuProperties", "mnuPrStatus",
                                   "mnuProtocolS", "mnuTestPage",   "mnuFactory"};

// CommandBusy while a busy command runs, cleared on every way out.
class BusyCommand {
  public:
    explicit BusyCommand(bool busy) : busy_(busy) { State().commandBusy = State().commandBusy || busy; }
    ~BusyCommand() {
        if (busy_) {
            State().commandBusy = false;
        }
    }
    BusyCommand(const BusyCommand&) = delete;
    BusyCommand& operator=(const BusyCommand&) = delete;

  private:
    bool busy_;
};

}  // namespace

void NewLook::RunCommand(const QString& name) {
    const BusyScope underWay;
    ConsoleState& state = State();
    const bool busy = kBusyCommands.contains(name);
    if (busy && state.commandBusy) {
        return;
    }
    const CommandHandler registered = RegisteredCommand(name);
    const std::function<void()> own = registered ? std::function<void()>() : OwnCommand(name);
    if (!registered && !own) {
        NotAvailableYet();
        return;
    }
    const BusyCommand running(busy);
    grdDetails->SelectCurrentPrinter();
    // A fault of the command is shown here, where it started, and the console goes on.
    try {
        registered ? registered(*this) : own();
    } catch (const std::exception& fault) {
        ShowFault(fault);
    }
}

std::function<void()> NewLook::OwnCommand(const QString& name) {
    static const std::map<QString, void (NewLook::*)()> commands = {
        {"mnuRefresh", &NewLook::mnuRefresh_Click}, {"mnuPreference", &NewLook::mnuPreference_Click},
        {"mnuColumns", &NewLook::mnuColumns_Click}, {"mnuFilter1", &NewLook::mnuFilter1_Click},
        {"mnuSort", &NewLook::mnuSort_Click},       {"mnuLocate", &NewLook::mnuLocate_Click},
        {"mnuNotify", &NewLook::mnuNotify_Click},   {"mnuTestPage", &NewLook::mnuTestPage_Click},
        {"mnuFactory", &NewLook::mnuFactory_Click},
    };
    if (name == "mnuExit") {
        return [this] { close(); };
    }
    if (name == "mnuCreatePort") {
        return [this] {
            if (AddPortCommand(TrapHandle())) {
                outTreeList_Click();
            }
        };
    }
    if (name == "mnuConfigurePort" || name == "mnuDeletePort") {
        return [this, name] {
            const bool changed = name == "mnuConfigurePort" ? ConfigurePortCommand(this, TrapHandle())
                                                            : DeletePortCommand(this, TrapHandle());
            if (changed) {
                outTreeList_Click();
            }
        };
    }
    if (name == "mnuCreatePrinter") {
        return [] { AddPrinterCommand(); };
    }
    if (name == "mnuDevSetting") {
        return [this] { PrinterPropertiesCommand(this, TrapHandle()); };
    }
    if (name == "mnuJobs") {
        return [this] { JobQueueCommand(this); };
    }
    if (name == "mnuHelp3") {
        return [this] {
            frmAboutBox about(this);
            about.exec();
        };
    }
    if (name == "mnuFilter2" || name == "mnuFilter3") {
        return [this, name] {
            if (name == "mnuFilter2") {
                frmFilter dialog(this);
                FilterCommand(dialog);
            } else {
                frmAFilter dialog(this);
                FilterCommand(dialog);
            }
        };
    }
    const auto found = commands.find(name);
    if (found == commands.end()) {
        return {};
    }
    return [this, method = found->second] { (this->*method)(); };
}

void NewLook::Reselect(const std::function<void()>& command) {
    const QString selected = grdDetails->SelectedMac();
    command();
    grdDetails->SelectMac(selected);
    grdDetails->SelectCurrentPrinter();
}

void NewLook::mnuPreference_Click() {
    frmPreference dialog(tmrRefresh, this);
    dialog.exec();
}

void NewLook::mnuColumns_Click() {
    if (State().rows.empty()) {
        return;
    }
    Reselect([this] {
        const int group = outTreeList->indexOfTopLevelItem(outTreeList->currentItem());
        frmConfigureCols dialog(group, this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        const auto chosen = dialog.Chosen();
        QStringList shownAnew;
        for (std::size_t column = 0; column < kColumnCount; ++column) {
            ColumnLayout& layout = State().options.columns[column];
            if (chosen[column] && !layout.visible) {
                shownAnew << State().columnTitles[column];
            }
            layout.visible = chosen[column];
        }
        grdDetails->FillPrinterList(false);
        WidenToTitles(shownAnew);
    });
}

// A column shown anew opens wide enough for its title, whatever width it was stored with.
void NewLook::WidenToTitles(const QStringList& titles) {
    QHeaderView* header = grdDetails->DetailView()->header();
    for (int section = 0; section < header->count(); ++section) {
        if (titles.contains(grdDetails->Model()->headerData(section, Qt::Horizontal).toString())) {
            header->resizeSection(section,
                                  std::max(header->sectionSize(section), header->sectionSizeHint(section)));
        }
    }
}

void NewLook::mnuFilter1_Click() {
    State().options.filterKind = 0;
    State().options.filterText.clear();
    SetFilterPanel();
    outTreeList_Click();
}

// The filter changes only on OK; then the list is built anew.
void NewLook::FilterCommand(QDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    SetFilterPanel();
    outTreeList_Click();
}

void NewLook::mnuSort_Click() {
    if (State().rows.empty()) {
        return;
    }
    Reselect([this] {
        frmSortCols dialog(this);
        if (dialog.exec() == QDialog::Accepted && State().options.sortColumn != 0) {
            outTreeList_Click();
        }
    });
}

// The print server found is the one chosen afterwards, so that the next command reaches it.
void NewLook::mnuLocate_Click() {
    frmLocate dialog(this);
    dialog.exec();
    outTreeList_Click();
    if (!dialog.Located().isEmpty()) {
        grdDetails->SelectMac(dialog.Located());
        ListClicked();
    }
}

void NewLook::mnuNotify_Click() {
    frmNotify dialog(this);
    dialog.exec();
}

void NewLook::mnuTestPage_Click() {
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return;
    }
    panel1_->setText(LoadString(kContacting));
    std::int32_t result = 0;
    {
        BusyCursor hourglass;
        result = SnmpSet(row->mac, kTestPageOid, kCommandValue);
    }
    panel1_->clear();
    if (result == 0) {
        ShowMessageEx(kTestPageSent, kWarning, "");
    } else if (result == kRefused) {
        ShowMessage(kPrinterBusy, kWarning);
    } else {
        ShowResult(result, kWarning);
    }
}

// A print server whose protection cannot be read is never reset: it may be protected.
void NewLook::mnuFactory_Click() {
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return;
    }
    const QString mac = row->mac;
    const QString name = row->name;
    const PasswordState password = IsPasswordEnabled();
    if (password == kPasswordUnknown || (password == kPasswordOn && !AskPassword(this))) {
        return;
    }
    const QString question = LoadString(kFactoryQuestion) + name + LoadString(kFactoryQuestionEnd);
    if (ShowQuestion(question, State().productTitle) != kOk) {
        return;
    }
    std::int32_t result = 0;
    {
        BusyCursor hourglass;
        result = SnmpSet(mac, kFactoryDefaultOid, kCommandValue);
    }
    if (result != 0) {
        ShowPlainMessage(LoadString(kFactoryFailed), State().productTitle);
        return;
    }
    const bool logged = LogFactoryCommand(name, kFactoryDefault);
    ShowPlainMessage(LoadString(kFactoryDone), State().productTitle);
    if (!logged) {
        TellFactoryLogUnwritten();
    }
}

}  // namespace console
