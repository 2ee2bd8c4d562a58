#include "console/core/NewLook.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

#include <utility>

#include "console/core/Alerts.h"
#include "console/core/BusyScope.h"
#include "console/core/ConsoleState.h"
#include "console/core/FirmwareServerWindow.h"
#include "console/core/FormHelpers.h"
#include "console/core/Libraries.h"
#include "console/core/Messages.h"
#include "console/core/NoticeBox.h"
#include "console/core/Pictures.h"
#include "console/core/PrintServerTable.h"
#include "console/core/PrinterList.h"
#include "console/core/PrinterStatus.h"
#include "console/core/StartUp.h"
#include "console/core/StringTable.h"
#include "console/core/TrapKeepAlive.h"
#include "console/core/dialogs/frmNotify.h"
#include "console/core/frmAboutBox.h"
#include "console/core/frmBanner.h"
#include "console/core/frmProgress.h"

namespace console {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kBannerMs = 3000;
constexpr int kFirstGroup = 100;
constexpr int kFirstGroupHint = 15001;
constexpr int kFirstColumnTitle = 150;
constexpr int kFirstToolTip = 200;
constexpr int kScanning = 300;
constexpr int kMakerAbbreviation = 400;
constexpr int kFiltersOff = 1160;
constexpr int kFiltersOn = 1161;
constexpr int kAlreadyRunning = 12015;
constexpr int kShuttingDown = 12030;
constexpr int kNotAvailable = 12091;
constexpr int kAlertLogUnwritable = 12153;
constexpr int kRowCurrent = 1;
constexpr int kNoRow = 4;
constexpr const char* kInstanceName = "QuillmarConsole";

enum class Entry { Menu, Item, Separator };
struct MenuEntry {
    Entry kind;
    const char* name;
    const char* parent;  // "" for the menu bar
    int captionId = 0;   // 0: the next id of the window's block
};

// The menus in the order of their caption ids; separators take none, nor the items that name an id
// of their own.
const MenuEntry kMenus[] = {
    {Entry::Menu, "mnuPrinters", ""},
    {Entry::Menu, "mnuInstall", "mnuPrinters"},
    {Entry::Item, "mnuCreatePort", "mnuInstall"},
    {Entry::Item, "mnuCreatePrinter", "mnuInstall"},
    {Entry::Item, "mnuConfigurePort", "mnuPrinters", 6540},
    {Entry::Item, "mnuDeletePort", "mnuPrinters", 6541},
    {Entry::Item, "mnuDevSetting", "mnuPrinters"},
    {Entry::Separator, "", "mnuPrinters"},
    {Entry::Item, "mnuJobs", "mnuPrinters"},
    {Entry::Separator, "", "mnuPrinters"},
    {Entry::Item, "mnuPreference", "mnuPrinters"},
    {Entry::Separator, "", "mnuPrinters"},
    {Entry::Item, "mnuExit", "mnuPrinters"},
    {Entry::Menu, "mnuView", ""},
    {Entry::Item, "mnuToolBar", "mnuView"},
    {Entry::Item, "mnuStatusBar", "mnuView"},
    {Entry::Separator, "", "mnuView"},
    {Entry::Item, "mnuLargeIcons", "mnuView"},
    {Entry::Item, "mnuSmallIcons", "mnuView"},
    {Entry::Item, "mnuList", "mnuView"},
    {Entry::Separator, "", "mnuView"},
    {Entry::Menu, "mnuPrDetails", "mnuView"},
    {Entry::Item, "mnuColumns", "mnuPrDetails"},
    {Entry::Menu, "mnuFilter", "mnuPrDetails"},
    {Entry::Item, "mnuFilter1", "mnuFilter"},
    {Entry::Item, "mnuFilter2", "mnuFilter"},
    {Entry::Item, "mnuFilter3", "mnuFilter"},
    {Entry::Item, "mnuSort", "mnuPrDetails"},
    {Entry::Separator, "", "mnuView"},
    {Entry::Item, "mnuLocate", "mnuView"},
    {Entry::Separator, "", "mnuView"},
    {Entry::Item, "mnuRefresh", "mnuView"},
    {Entry::Menu, "mnuSetting", ""},
    {Entry::Item, "mnuConfigure", "mnuSetting"},
    {Entry::Item, "mnuProperties", "mnuSetting"},
    {Entry::Separator, "", "mnuSetting"},
    {Entry::Item, "mnuNotify", "mnuSetting"},
    {Entry::Menu, "mnuDiags", ""},
    {Entry::Item, "mnuPrStatus", "mnuDiags"},
    {Entry::Item, "mnuProtocolS", "mnuDiags"},
    {Entry::Separator, "", "mnuDiags"},
    {Entry::Item, "mnuTestPage", "mnuDiags"},
    {Entry::Separator, "", "mnuDiags"},
    {Entry::Item, "mnuFlash", "mnuDiags"},
    {Entry::Separator, "", "mnuDiags"},
    {Entry::Item, "mnuFactory", "mnuDiags"},
    {Entry::Menu, "mnuHlp", ""},
    {Entry::Item, "mnuHelp1", "mnuHlp"},
    {Entry::Item, "mnuHelp2", "mnuHlp"},
    {Entry::Separator, "", "mnuHlp"},
    {Entry::Item, "mnuHelp3", "mnuHlp"},
    {Entry::Menu, "mnuPopup", "popup"},
    {Entry::Item, "mnuConfig", "mnuPopup"},
    {Entry::Item, "mnuRef", "mnuPopup"},
    {Entry::Item, "mnuProp", "mnuPopup"},
    {Entry::Item, "mnuQ", "mnuPopup"},
    {Entry::Item, "mnuPage", "mnuPopup"},
    {Entry::Item, "mnuProtocolStatistics", "mnuPopup"},
};

// The tool bar's buttons, in the order of their tips; "" is a separator.
const char* const kToolButtons[] = {"mnuDevSetting",
                                    "mnuJobs",
                                    "",
                                    "mnuRefresh",
                                    "",
                                    "mnuConfigure",
                                    "mnuProperties",
                                    "mnuPrStatus",
                                    "mnuProtocolS",
                                    "mnuLocate",
                                    "mnuTestPage",
                                    "",
                                    "mnuLargeIcons",
                                    "mnuSmallIcons",
                                    "mnuList",
                                    "",
                                    "mnuHelp2"};

// The commands that need a current row, and those that need a print server that a port uses.
const char* const kRowCommands[] = {"mnuConfigure", "mnuConfig",    "mnuProperties",         "mnuProp",
                                    "mnuPrStatus",  "mnuProtocolS", "mnuProtocolStatistics", "mnuTestPage",
                                    "mnuPage",      "mnuFactory"};
const char* const kPortCommands[] = {"mnuDevSetting", "mnuJobs", "mnuQ", "mnuConfigurePort", "mnuDeletePort"};
constexpr std::uint32_t kFirstPortCategory = 3;

QStyle::StandardPixmap StandardToolPicture(const QString& name) {
    static const std::map<QString, QStyle::StandardPixmap> pictures = {
        {"mnuDevSetting", QStyle::SP_FileDialogInfoView},
        {"mnuJobs", QStyle::SP_FileDialogListView},
        {"mnuRefresh", QStyle::SP_BrowserReload},
        {"mnuConfigure", QStyle::SP_DriveNetIcon},
        {"mnuProperties", QStyle::SP_ComputerIcon},
        {"mnuPrStatus", QStyle::SP_MessageBoxInformation},
        {"mnuProtocolS", QStyle::SP_FileDialogContentsView},
        {"mnuLocate", QStyle::SP_FileDialogToParent},
        {"mnuTestPage", QStyle::SP_FileIcon},
        {"mnuLargeIcons", QStyle::SP_DesktopIcon},
        {"mnuSmallIcons", QStyle::SP_DirIcon},
        {"mnuList", QStyle::SP_FileDialogDetailedView},
        {"mnuHelp2", QStyle::SP_DialogHelpButton}};
    return pictures.at(name);
}

QIcon ToolPicture(const QStyle* style, const QString& name) {
    const char* views[] = {"mnuLargeIcons", "mnuSmallIcons", "mnuList"};
    for (int mode = 0; mode < 3; ++mode) {
        if (name == views[mode]) {
            return ViewModePicture(mode);
        }
    }
    if (name == "mnuLocate") {
        return LocatePicture();
    }
    if (name == "mnuHelp2") {
        return HelpPicture();
    }
    return style->standardIcon(StandardToolPicture(name));
}

}  // namespace

NewLook::NewLook()
    : outTreeList(new QTreeWidget),
      grdDetails(new PrinterList),
      pnlDividor(new QSplitter(Qt::Horizontal)),
      picMenuBar(new QToolBar),
      panel1_(new QLabel),
      panel2_(new QLabel),
      tmrTrapKeeper(new TrapKeepAlive(this)),
      tmrRefresh(new QTimer(this)),
      tmrBanner(new QTimer(this)),
      txtTrapHandle(
          std::make_unique<NoticeBox>([this](const QString& notice) { txtTrapHandle_Change(notice); })) {
    setObjectName("NewLook");
    outTreeList->setObjectName("outTreeList");
    outTreeList->setHeaderHidden(true);
    outTreeList->setRootIsDecorated(false);
    pnlDividor->setObjectName("pnlDividor");
    pnlDividor->addWidget(outTreeList);
    pnlDividor->addWidget(grdDetails);
    pnlDividor->setStretchFactor(1, 1);
    pnlDividor->setSizes({190, 610});
    setCentralWidget(pnlDividor);
    picMenuBar->setObjectName("picMenuBar");
    picMenuBar->setMovable(false);
    picMenuBar->setIconSize(QSize(20, 20));
    addToolBar(picMenuBar);
    statusBar()->setObjectName("pnlStatusBar");
    panel1_->setObjectName("panel1");
    panel2_->setObjectName("panel2");
    statusBar()->addWidget(panel1_, 1);
    statusBar()->addPermanentWidget(panel2_);
    tmrRefresh->setObjectName("tmrRefresh");
    tmrBanner->setObjectName("tmrBanner");
    tmrBanner->setInterval(kBannerMs);
    tmrBanner->setSingleShot(true);
    BuildMenus();
    BuildToolBar();
    ConnectCommands();
}

NewLook::~NewLook() = default;

QMenu* NewLook::AddMenu(QMenu* parent, const QString& name) {
    auto* menu = parent != nullptr    ? parent->addMenu(name)
                 : name == "mnuPopup" ? new QMenu(name, this)
                                      : menuBar()->addMenu(name);
    menu->setObjectName(name);
    actions_[name] = menu->menuAction();
    captionOrder_ << menu;
    return menu;
}

QAction* NewLook::AddItem(QMenu* menu, const QString& name, int captionId) {
    QAction* action = menu->addAction(name);
    action->setObjectName(name);
    actions_[name] = action;
    if (captionId == 0) {
        captionOrder_ << action;
    } else {
        ownCaptions_[action] = captionId;
    }
    return action;
}

void NewLook::BuildMenus() {
    std::map<QString, QMenu*> menus;
    for (const MenuEntry& entry : kMenus) {
        QMenu* parent = menus.count(entry.parent) ? menus[entry.parent] : nullptr;
        switch (entry.kind) {
            case Entry::Menu:
                menus[entry.name] = AddMenu(parent, entry.name);
                break;
            case Entry::Item:
                AddItem(parent, entry.name, entry.captionId);
                break;
            case Entry::Separator:
                parent->addSeparator();
                break;
        }
    }
    mnuPopup = menus["mnuPopup"];
    Action("mnuRefresh")->setShortcut(Qt::Key_F5);
    Action("mnuPrStatus")->setShortcut(Qt::Key_F6);
    Action("mnuHelp1")->setShortcut(Qt::Key_F1);
    for (const char* name : {"mnuToolBar", "mnuStatusBar"}) {
        Action(name)->setCheckable(true);
        Action(name)->setChecked(true);
    }
    viewGroup_ = new QActionGroup(this);
    for (const char* name : {"mnuLargeIcons", "mnuSmallIcons", "mnuList"}) {
        Action(name)->setCheckable(true);
        viewGroup_->addAction(Action(name));
    }
}

void NewLook::BuildToolBar() {
    for (const char* name : kToolButtons) {
        if (*name == '\0') {
            picMenuBar->addSeparator();
            continue;
        }
        QAction* action = Action(name);
        action->setIcon(ToolPicture(style(), name));
        picMenuBar->addAction(action);
    }
}

QAction* NewLook::Action(const QString& name) const {
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

QLabel* NewLook::StatusPanel(int panel) const {
    return panel == 1 ? panel1_ : panel2_;
}

plat::WindowHandle NewLook::TrapHandle() const {
    return txtTrapHandle->Handle();
}

// Pop-up entries run the command of the same name.
const std::map<QString, QString> kPopupCommands = {
    {"mnuConfig", "mnuConfigure"}, {"mnuRef", "mnuRefresh"},   {"mnuProp", "mnuProperties"},
    {"mnuQ", "mnuJobs"},           {"mnuPage", "mnuTestPage"}, {"mnuProtocolStatistics", "mnuProtocolS"}};

void NewLook::ConnectCommands() {
    const auto on = [this](const char* name, auto handler) {
        connect(Action(name), &QAction::triggered, this, handler);
    };
    on("mnuToolBar", [this](bool checked) { picMenuBar->setVisible(checked); });
    on("mnuStatusBar", [this](bool checked) { statusBar()->setVisible(checked); });
    const char* views[] = {"mnuLargeIcons", "mnuSmallIcons", "mnuList"};
    for (int mode = PrinterList::kLargeIcons; mode <= PrinterList::kDetails; ++mode) {
        on(views[mode], [this, mode] {
            State().options.viewMode = mode;
            ApplyViewMode();
        });
    }
    for (const MenuEntry& entry : kMenus) {
        const QString name = entry.name;
        const bool view =
            QStringList{"mnuToolBar", "mnuStatusBar", "mnuLargeIcons", "mnuSmallIcons", "mnuList"}.contains(
                name);
        if (entry.kind == Entry::Item && !view) {
            const auto popup = kPopupCommands.find(name);
            const QString command = popup == kPopupCommands.end() ? name : popup->second;
            on(entry.name, [this, command] { RunCommand(command); });
        }
    }
    connect(outTreeList, &QTreeWidget::itemClicked, this, [this] { outTreeList_Click(); });
    connect(grdDetails, &PrinterList::ItemClicked, this, &NewLook::ListClicked);
    connect(grdDetails, &PrinterList::ItemActivated, this, [this] { RunCommand("mnuConfigure"); });
    connect(grdDetails, &PrinterList::ContextMenuWanted, this,
            [this](const QPoint& at) { mnuPopup->popup(at); });
    connect(grdDetails, &PrinterList::PointerMoved, panel1_, &QLabel::clear);
    connect(grdDetails, &PrinterList::HeaderClicked, this, &NewLook::ColumnClicked);
    connect(tmrRefresh, &QTimer::timeout, this, &NewLook::tmrRefresh_Timer);
    connect(&Busy(), &BusyNotices::Idle, this, &NewLook::RefreshWhenIdle);
    connect(tmrBanner, &QTimer::timeout, this, [this] {
        if (banner_ != nullptr) {
            banner_->close();
        }
    });
}

void NewLook::NotAvailableYet() {
    ShowMessage(kNotAvailable, kWarning);
}

bool NewLook::Form_Load() {
    ConsoleState& state = State();
    state.productTitle = LoadString(0);
    state.makerAbbreviation = LoadString(kMakerAbbreviation);
    instance_ = std::make_unique<plat::NamedMutex>(kInstanceName);
    if (instance_->AlreadyExisted()) {
        ShowMessageEx(kAlreadyRunning, kWarning, "");
        return false;
    }
    for (int group = 0; group < 3; ++group) {
        auto* item = new QTreeWidgetItem(outTreeList, {LoadString(kFirstGroup + group)});
        item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        item->setToolTip(0, LoadString(kFirstGroupHint + group));
    }
    outTreeList->setCurrentItem(outTreeList->topLevelItem(0));
    LocalizeForm(this, 0, captionOrder_);
    for (const auto& [action, id] : ownCaptions_) {
        action->setText(LoadString(id));
    }
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        state.columnTitles[column] = LoadString(kFirstColumnTitle + static_cast<int>(column));
    }
    int tip = kFirstToolTip;
    for (const char* name : kToolButtons) {
        if (*name != '\0') {
            Action(name)->setToolTip(LoadString(tip++));
        }
    }
    StartUp(txtTrapHandle->Handle());
    ApplyDisplayOptions();
    ShowBanner();
    BuildPrinterRows();
    SortPrinterRows();
    grdDetails->FillPrinterList(false);
    UpdateMenus(kNoRow);
    TrapKeeper()->start();
    return true;
}

// The refresh timer is armed only now: no tick runs a detection while the splash is still up.
void NewLook::FirstDetection() {
    ArmRefreshTimer(State().options.autoRefresh == 1);
    if (!detected_) {
        mnuRefresh_Click();
    }
    State().firmwareWindow = StoredFirmwareWindow();
    grdDetails->SelectCurrentPrinter();
    if (State().currentRow >= 0) {
        UpdateMenus(kRowCurrent);
    }
}

void NewLook::FirstDetectionAfterSplash(std::function<void()> done) {
    startDone_ = std::move(done);
    if (banner_ == nullptr) {
        QTimer::singleShot(0, this, &NewLook::StartWhenIdle);
    } else {
        connect(banner_, &QObject::destroyed, this, &NewLook::StartWhenIdle, Qt::QueuedConnection);
    }
}

// The splash has gone. A command opened meanwhile (or a detection it runs) must not have a
// detection inside it: the start waits, as a kept tick does, until the window is idle.
void NewLook::StartWhenIdle() {
    startDue_ = false;
    if (unloaded_) {
        return;
    }
    if (WindowBusy()) {
        startDue_ = true;
        return;
    }
    FirstDetection();
    if (startDone_) {
        std::exchange(startDone_, {})();
    }
}

// The stored window lies on no screen of this display (another screen layout): it opens centred.
void NewLook::ApplyDisplayOptions() {
    const DisplayOptions& options = State().options;
    const QRect stored(options.left / kTwipsPerPixel, options.top / kTwipsPerPixel,
                       options.width / kTwipsPerPixel, options.height / kTwipsPerPixel);
    resize(stored.size().expandedTo(minimumSizeHint()));
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        onScreen = onScreen || screen->availableGeometry().intersects(stored);
    }
    if (onScreen) {
        move(stored.topLeft());
    } else {
        CenterForm(this);
    }
    ApplyViewMode();
    Action("mnuToolBar")->setChecked(options.toolBarVisible);
    picMenuBar->setVisible(options.toolBarVisible);
    Action("mnuStatusBar")->setChecked(options.statusBarVisible);
    statusBar()->setVisible(options.statusBarVisible);
    ShowGroupTree(options.treeVisible);
    SetFilterPanel();
}

void NewLook::GatherDisplayOptions() {
    DisplayOptions& options = State().options;
    // The position is the frame's, as move() takes it; the size the inner area's, as resize() takes it.
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    const QPoint frame = normal.topLeft() + (frameGeometry().topLeft() - geometry().topLeft());
    options.top = frame.y() * kTwipsPerPixel;
    options.left = frame.x() * kTwipsPerPixel;
    options.height = normal.height() * kTwipsPerPixel;
    options.width = normal.width() * kTwipsPerPixel;
    options.toolBarVisible = Action("mnuToolBar")->isChecked();
    options.statusBarVisible = Action("mnuStatusBar")->isChecked();
    options.treeVisible = !outTreeList->isHidden();
}

void NewLook::ShowGroupTree(bool visible) {
    outTreeList->setVisible(visible);
}

void NewLook::ApplyViewMode() {
    const int mode = State().options.viewMode;
    grdDetails->SetViewMode(mode);
    const char* names[] = {"mnuLargeIcons", "mnuSmallIcons", "mnuList"};
    if (mode >= 0 && mode <= 2) {
        Action(names[mode])->setChecked(true);
    }
    Action("mnuColumns")->setEnabled(mode == PrinterList::kDetails);
}

void NewLook::SetFilterPanel() {
    panel2_->setText(LoadString(State().options.filterKind != 0 ? kFiltersOn : kFiltersOff));
}

void NewLook::ShowBanner() {
    banner_ = new frmBanner(this);
    banner_->show();
    CenterForm(banner_);
    tmrBanner->start();
}

// A period of 0 seconds means no ticks at all.
void NewLook::ArmRefreshTimer(bool enabled) {
    const int seconds = State().options.refreshSeconds;
    if (enabled && seconds > 0) {
        tmrRefresh->start(seconds * 1000);
    } else {
        tmrRefresh->stop();
    }
}

void NewLook::UpdateMenus(int state) {
    if (state != kRowCurrent && state != kNoRow) {
        return;
    }
    const bool row = state == kRowCurrent;
    Action("mnuPreference")->setEnabled(true);
    for (const char* name : kRowCommands) {
        Action(name)->setEnabled(row);
    }
    const PrinterRow* current = CurrentPrinter();
    const bool ported = row && current != nullptr && current->category >= kFirstPortCategory;
    for (const char* name : kPortCommands) {
        Action(name)->setEnabled(ported);
    }
}

void NewLook::ListClicked() {
    grdDetails->SelectCurrentPrinter();
    if (State().currentRow >= 0) {
        UpdateMenus(kRowCurrent);
    }
}

void NewLook::ColumnClicked(const QString& title) {
    DisplayOptions& options = State().options;
    options.sortDescending = !options.sortDescending;
    if (State().rows.empty()) {
        return;
    }
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        if (State().columnTitles[column] == title) {
            options.sortColumn = static_cast<int>(column) + 1;
            break;
        }
    }
    const QString selected = grdDetails->SelectedMac();
    SortPrinterRows();
    grdDetails->FillPrinterList(true);
    grdDetails->SelectMac(selected);
    grdDetails->SelectCurrentPrinter();
}

void NewLook::outTreeList_Click() {
    if (!State().commandBusy) {
        RebuildList();
    }
}

void NewLook::RebuildList() {
    BuildPrinterRows();
    SortPrinterRows();
    grdDetails->FillPrinterList(true);
    grdDetails->SelectCurrentPrinter();
    UpdateMenus(State().currentRow >= 0 ? kRowCurrent : kNoRow);
}

void NewLook::mnuRefresh_Click() {
    ConsoleState& state = State();
    if (state.commandBusy) {
        return;
    }
    // Work of the window, however the Refresh came: its end lets the start held meanwhile go on.
    const BusyScope detecting;
    state.commandBusy = true;
    refreshDue_ = false;  // this is the detection a kept tick asked for
    const bool timerWasOn = tmrRefresh->isActive();
    tmrRefresh->stop();
    refreshInProgress_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    panel1_->setText(LoadString(kScanning));
    {
        frmProgress progress(this);
        progress.exec();
    }
    state.commandBusy = false;
    outTreeList_Click();
    panel1_->clear();
    QApplication::restoreOverrideCursor();
    refreshInProgress_ = false;
    detected_ = true;
    ArmRefreshTimer(timerWasOn);
    emit RefreshFinished();
}

void NewLook::tmrRefresh_Timer() {
    if (WindowBusy()) {
        refreshDue_ = true;
        return;
    }
    refreshDue_ = false;
    mnuRefresh_Click();
}

// Queued, so that the work that just ended has returned first. The held start goes first: its
// detection is the one a kept tick asks for. Auto refresh turned off meanwhile drops the tick.
void NewLook::RefreshWhenIdle() {
    if ((!refreshDue_ && !startDue_) || refreshQueued_) {
        return;
    }
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        if (startDue_) {
            StartWhenIdle();
        } else if (tmrRefresh->isActive()) {
            tmrRefresh_Timer();
        } else {
            refreshDue_ = false;
        }
    });
}

void NewLook::txtTrapHandle_Change(const QString& line) {
    if (refreshInProgress_) {
        return;
    }
    const std::optional<TrapNotice> notice = ParseTrapNotice(line);
    PrintServerEntry* entry = notice ? NoticeSender(*notice) : nullptr;
    if (entry == nullptr || !StatusSlot(notice->status)) {
        return;
    }
    ConsoleState& state = State();
    entry->status = notice->status;
    if (!state.rowsRebuilding) {
        for (PrinterRow& row : state.rows) {
            row.status = SameMac(row.mac, entry->mac) ? notice->status : row.status;
        }
    }
    if (!state.listFilling) {
        grdDetails->ShowStatus(entry->mac, notice->status, entry->category);
    }
    if (IsStatusNotified(notice->status) && IsPrinterNotified(entry->mac)) {
        RaiseAlert(entry->name, StatusCodeText(notice->status));
    }
}

// The log line is written first; boxes never stack up inside each other: they wait their turn.
void NewLook::RaiseAlert(const QString& name, const QString& statusText) {
    const ConsoleState& state = State();
    if (state.options.alertLogOn) {
        LogAlert(name, statusText);
    }
    if (state.alertStyle == 0) {
        QApplication::beep();
    } else if (state.alertStyle == 1) {
        const QString text = name + " : " + statusText;
        QueueBox([text] { ShowPlainMessage(text, State().productTitle); });
    }
}

// Only a line that went in is shown as logged. A log that cannot be written is told once, not once
// per alert: again only after a line has gone in, or for another file.
void NewLook::LogAlert(const QString& name, const QString& statusText) {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    const QString when = locale.toString(now.date(), QLocale::ShortFormat) + "  " +
                         locale.toString(now.time(), QLocale::ShortFormat);
    const QString file = State().options.alertLogFile;
    if (!AppendAlertLog(file, AlertLogLine(name, when, statusText))) {
        const QString path = AlertLogPath(file);
        if (unwritableLogTold_ != path) {
            unwritableLogTold_ = path;
            QueueBox([path] { ShowMessageEx(kAlertLogUnwritable, kWarning, path); });
        }
        return;
    }
    unwritableLogTold_.clear();
    if (frmNotify* alerts = frmNotify::Open()) {
        alerts->AddLogged(name, when, statusText);
    }
}

void NewLook::QueueBox(std::function<void()> box) {
    pendingBoxes_.push_back(std::move(box));
    if (showingBox_) {
        return;
    }
    showingBox_ = true;
    while (!pendingBoxes_.empty()) {
        const std::function<void()> next = std::move(pendingBoxes_.front());
        pendingBoxes_.pop_front();
        next();
    }
    showingBox_ = false;
}

QTimer* NewLook::TrapKeeper() const {
    return tmrTrapKeeper->Timer();
}

void NewLook::tmrTrapKeeper_Timer() {
    tmrTrapKeeper->StartRound();
}

void NewLook::closeEvent(QCloseEvent* event) {
    if (State().commandBusy) {
        event->ignore();
        return;
    }
    Form_Unload();
    QMainWindow::closeEvent(event);
}

void NewLook::Form_Unload() {
    if (unloaded_ || instance_ == nullptr || instance_->AlreadyExisted()) {
        return;
    }
    unloaded_ = true;
    panel1_->setText(LoadString(kShuttingDown));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    tmrRefresh->stop();
    TrapKeeper()->stop();
    grdDetails->SaveListColumns();
    ReleaseFirmwareServer(StoredFirmwareWindow());
    GatherDisplayOptions();
    ShutDown();
    QApplication::restoreOverrideCursor();
}

}  // namespace console
