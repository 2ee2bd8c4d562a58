#include "console/core/dialogs/frmNotify.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "console/core/Alerts.h"
#include "console/core/ConsoleState.h"
#include "console/core/FaultRule.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/PrinterStatus.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/DialogKit.h"

namespace console {

namespace {

constexpr int kBaseId = 3000;
constexpr int kFirstColumn = 3030;
constexpr int kLoggedCount = 3050;
constexpr int kClearLog = 12012;
constexpr int kLogUnreadable = 12150;
constexpr int kLogDamaged = 12151;
constexpr int kBadLogName = 12152;
constexpr int kLogNotRemoved = 12154;
constexpr int kMacRole = Qt::UserRole;
constexpr int kBeep = 0;
constexpr int kPopup = 1;
constexpr int kNoAlert = 2;

frmNotify*& OpenDialog() {
    static frmNotify* open = nullptr;
    return open;
}

QListWidget* NewList(const char* name) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMinimumSize(170, 170);
    return list;
}

QPushButton* NewButton(const char* name, const char* caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

// Two lists side by side with their labels and the buttons between them.
QGridLayout* ListPair(QLabel* leftLabel, QListWidget* left, QPushButton* add, QPushButton* remove,
                      QLabel* rightLabel, QListWidget* right) {
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(add);
    moves->addWidget(remove);
    moves->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(leftLabel, 0, 0);
    grid->addWidget(rightLabel, 0, 2);
    grid->addWidget(left, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(right, 1, 2);
    return grid;
}

}  // namespace

bool UsableLogFileName(const QString& name) {
    if (name.trimmed().isEmpty() || name.contains('\n') || name.contains('\r') || name.endsWith('/')) {
        return false;
    }
    return QDir().mkpath(QFileInfo(AlertLogPath(name)).absolutePath());
}

frmNotify::frmNotify(QWidget* parent)
    : QDialog(parent),
      tabNotify(new QTabWidget),
      chkTraps(new QCheckBox("Enable Alerts")),
      optPopup(new QRadioButton("Popup Messages")),
      optSound(new QRadioButton("Sound Alert")),
      lstAvailable(NewList("lstAvailable")),
      lstMonitored(NewList("lstMonitored")),
      pbuAdd(NewButton("pbuAdd", "A&dd >>")),
      pbuRemove(NewButton("pbuRemove", "<< &Remove")),
      lstAvail(NewList("lstAvail")),
      lstNotified(NewList("lstNotified")),
      pbuAddevents(NewButton("pbuAddevents", "A&dd >>")),
      pbuRemoveEvents(NewButton("pbuRemoveEvents", "<< &Remove")),
      chkLogging(new QCheckBox("Enable Logging of Alerts")),
      lblFile(new QLabel("File Name:")),
      txtLogFile(new QLineEdit),
      pbuBrowse(NewButton("pbuBrowse", "&Browse")),
      lstTree(new QTreeWidget),
      pbuClear(NewButton("pbuClear", "Clear &Log")),
      lblNo(new QLabel("Number of Logged Alerts")),
      lblMethod(new QLabel("Alert Method")),
      lblPrinterAvailable(new QLabel("Printer Available")),
      lblPrinterMonitored(new QLabel("Printer to Monitor")),
      lblAvailableAlerts(new QLabel("Available Alerts")),
      lblActiveAlerts(new QLabel("Active Alerts")),
      pbuOK(NewButton("pbuOK", "&OK")),
      pbuCancel(NewButton("pbuCancel", "&Cancel")),
      lblTips(new HintLine(this)) {
    setObjectName("frmNotify");
    OpenDialog() = this;
    tabNotify->setObjectName("tabNotify");
    chkTraps->setObjectName("chkTraps");
    chkLogging->setObjectName("chkLogging");
    txtLogFile->setObjectName("txtLogFile");
    lstTree->setObjectName("lstTree");
    lblNo->setObjectName("lblNo");
    pbuOK->setDefault(true);
    tabNotify->addTab(GeneralPage(), "&General");
    tabNotify->addTab(AlertsPage(), "&Alerts");
    tabNotify->addTab(LogPage(), "&View Log");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabNotify);
    layout->addWidget(HintPanel(lblTips));
    layout->addLayout(ButtonRow({pbuOK, pbuCancel}));
    // The opening falls under the console's fatal rule, as it always has.
    UnderFatalRule([&] {
        LocalizeForm(this, kBaseId,
                     CaptionOrder() << pbuCancel << pbuOK << tabNotify << pbuBrowse << chkLogging << lblFile
                                    << pbuAddevents << pbuRemoveEvents << lblAvailableAlerts
                                    << lblActiveAlerts << pbuClear << lblNo << optSound << optPopup
                                    << chkTraps << lblMethod << pbuAdd << pbuRemove << lblPrinterAvailable
                                    << lblPrinterMonitored);
        LoadSettings();
    });
    connect(pbuAdd, &QPushButton::clicked, this, &frmNotify::pbuAdd_Click);
    connect(pbuRemove, &QPushButton::clicked, this, &frmNotify::pbuRemove_Click);
    connect(pbuAddevents, &QPushButton::clicked, this, &frmNotify::pbuAddevents_Click);
    connect(pbuRemoveEvents, &QPushButton::clicked, this, &frmNotify::pbuRemoveEvents_Click);
    connect(lstAvailable, &QListWidget::itemDoubleClicked, this, &frmNotify::pbuAdd_Click);
    connect(lstMonitored, &QListWidget::itemDoubleClicked, this, &frmNotify::pbuRemove_Click);
    connect(lstAvail, &QListWidget::itemDoubleClicked, this, &frmNotify::pbuAddevents_Click);
    connect(lstNotified, &QListWidget::itemDoubleClicked, this, &frmNotify::pbuRemoveEvents_Click);
    connect(chkTraps, &QCheckBox::toggled, optPopup, &QWidget::setEnabled);
    connect(chkTraps, &QCheckBox::toggled, optSound, &QWidget::setEnabled);
    for (QWidget* control : {static_cast<QWidget*>(lblFile), static_cast<QWidget*>(txtLogFile),
                             static_cast<QWidget*>(pbuBrowse)}) {
        connect(chkLogging, &QCheckBox::toggled, control, &QWidget::setEnabled);
    }
    connect(pbuBrowse, &QPushButton::clicked, this, &frmNotify::pbuBrowse_Click);
    connect(pbuClear, &QPushButton::clicked, this, &frmNotify::pbuClear_Click);
    connect(pbuOK, &QPushButton::clicked, this, &frmNotify::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(sizeHint().expandedTo(QSize(560, 0)));
    CenterForm(this);
}

frmNotify::~frmNotify() {
    OpenDialog() = nullptr;
}

frmNotify* frmNotify::Open() {
    return OpenDialog();
}

QWidget* frmNotify::GeneralPage() {
    auto* page = new QWidget;
    auto* method = new QGroupBox;
    method->setObjectName("SSPanel4");

    auto* methods = new QHBoxLayout(method);
    methods->addWidget(chkTraps);
    methods->addSpacing(16);
    methods->addWidget(lblMethod);
    methods->addWidget(optPopup);
    methods->addWidget(optSound);
    methods->addStretch(1);
    auto* printers = new QGroupBox;
    printers->setObjectName("SSPanel3");
    printers->setLayout(
        ListPair(lblPrinterAvailable, lstAvailable, pbuAdd, pbuRemove, lblPrinterMonitored, lstMonitored));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(method);
    layout->addWidget(printers, 1);
    lblTips->Attach(lstAvailable, 15231);
    lblTips->Attach(pbuAdd, 15232);
    lblTips->Attach(lstMonitored, 15233);
    lblTips->Attach(pbuRemove, 15234);
    lblTips->Attach(optPopup, 15235);
    lblTips->Attach(optSound, 15236);
    return page;
}

QWidget* frmNotify::AlertsPage() {
    auto* page = new QWidget;
    auto* events = new QGroupBox;
    events->setObjectName("SSPanel6");
    events->setLayout(
        ListPair(lblAvailableAlerts, lstAvail, pbuAddevents, pbuRemoveEvents, lblActiveAlerts, lstNotified));
    auto* logging = new QGroupBox;
    logging->setObjectName("SSPanel2");
    auto* file = new QGridLayout(logging);
    file->addWidget(chkLogging, 0, 0, 1, 3);
    file->addWidget(lblFile, 1, 0);
    file->addWidget(txtLogFile, 1, 1);
    file->addWidget(pbuBrowse, 1, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(events, 1);
    layout->addWidget(logging);
    lblTips->Attach(lstAvail, 15237);
    lblTips->Attach(pbuAddevents, 15238);
    lblTips->Attach(lstNotified, 15239);
    lblTips->Attach(pbuRemoveEvents, 15240);
    lblTips->Attach(chkLogging, 15241);
    lblTips->Attach(txtLogFile, 15242);
    lblTips->Attach(pbuBrowse, 15243);
    return page;
}

QWidget* frmNotify::LogPage() {
    auto* page = new QWidget;
    lstTree->setRootIsDecorated(false);
    lstTree->setAlternatingRowColors(true);
    lstTree->setColumnCount(3);
    QStringList titles;
    for (int column = 0; column < 3; ++column) {
        titles << LoadString(kFirstColumn + column);
    }
    lstTree->setHeaderLabels(titles);
    lstTree->header()->setSectionResizeMode(QHeaderView::Interactive);
    lstTree->setColumnWidth(0, 150);
    lstTree->setColumnWidth(1, 150);
    auto* footer = new QHBoxLayout;
    footer->addWidget(lblNo, 1);
    footer->addWidget(pbuClear);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lstTree, 1);
    layout->addLayout(footer);
    lblTips->Attach(pbuClear, 15244);
    return page;
}

void frmNotify::LoadSettings() {
    const ConsoleState& state = State();
    chkLogging->setChecked(state.options.alertLogOn);
    for (QWidget* control : {static_cast<QWidget*>(lblFile), static_cast<QWidget*>(txtLogFile),
                             static_cast<QWidget*>(pbuBrowse)}) {
        control->setEnabled(state.options.alertLogOn);
    }
    txtLogFile->setText(state.options.alertLogFile);
    chkTraps->setChecked(state.alertStyle == kBeep || state.alertStyle == kPopup);
    (state.alertStyle == kBeep ? optSound : optPopup)->setChecked(true);
    optPopup->setEnabled(chkTraps->isChecked());
    optSound->setEnabled(chkTraps->isChecked());
    const QString& flags = state.options.notifyFlags;
    for (std::size_t slot = 0; slot < kPrinterStatusCodes.size(); ++slot) {
        const auto at = static_cast<qsizetype>(slot);
        const bool notified = at < flags.size() && flags[at] == '1';
        (notified ? lstNotified : lstAvail)->addItem(StatusCodeText(kPrinterStatusCodes[slot]));
    }
    for (const PrintServerEntry& entry : state.servers) {
        auto* item = new QListWidgetItem(entry.name, entry.notify ? lstMonitored : lstAvailable);
        item->setData(kMacRole, entry.mac);
        item->setToolTip(entry.mac);
    }
    UpdateLists();
    ReadLog();
    tabNotify->setCurrentIndex(0);
}

// Damaged lines are skipped and said once; a file that cannot be read is said once.
void frmNotify::ReadLog() {
    QFile file(AlertLogPath(State().options.alertLogFile));
    if (!file.exists()) {
        pbuClear->setEnabled(false);
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessageEx(kLogUnreadable, kWarning, file.fileName());
        pbuClear->setEnabled(false);
        return;
    }
    const AlertLog log = ReadAlertLog(file.readAll());
    for (const AlertLogRecord& record : log.records) {
        AddLogged(record.name, record.when, record.status);
    }
    if (log.damaged > 0) {
        ShowMessageEx(kLogDamaged, kWarning, QString::number(log.damaged));
    }
    ShowCount();
    pbuClear->setEnabled(true);
}

void frmNotify::AddLogged(const QString& name, const QString& when, const QString& status) {
    auto* item = new QTreeWidgetItem(lstTree, {name, when, status});
    item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    ShowCount();
    pbuClear->setEnabled(true);
}

void frmNotify::ShowCount() {
    lblNo->setText(LoadString(kLoggedCount) + QString::number(lstTree->topLevelItemCount()));
}

void frmNotify::UpdateLists() {
    EnableWithEntries(lstAvailable, pbuAdd);
    EnableWithEntries(lstMonitored, pbuRemove);
    EnableWithEntries(lstAvail, pbuAddevents);
    EnableWithEntries(lstNotified, pbuRemoveEvents);
}

void frmNotify::pbuAdd_Click() {
    const int last = MoveSelected(lstAvailable, lstMonitored);
    SelectEntry(lstAvailable, last);
    UpdateLists();
}

void frmNotify::pbuRemove_Click() {
    const int last = MoveSelected(lstMonitored, lstAvailable);
    SelectEntry(lstMonitored, last);
    UpdateLists();
}

void frmNotify::pbuAddevents_Click() {
    const int last = MoveSelected(lstAvail, lstNotified);
    SelectEntry(lstAvail, last);
    UpdateLists();
}

void frmNotify::pbuRemoveEvents_Click() {
    const int last = MoveSelected(lstNotified, lstAvail);
    SelectEntry(lstNotified, last);
    UpdateLists();
}

void frmNotify::pbuBrowse_Click() {
    const QString chosen = QFileDialog::getSaveFileName(this, "Save The Log File As:", txtLogFile->text(),
                                                        "Log files (*.log *.dat);;All files (*)");
    if (!chosen.isEmpty()) {
        txtLogFile->setText(chosen);
    }
}

// The file cleared is the stored one, not a name typed since the dialog opened. A file that stays
// keeps its rows here: they would come back at the next opening.
void frmNotify::pbuClear_Click() {
    QFile file(AlertLogPath(State().options.alertLogFile));
    if (file.exists()) {
        if (ShowMessageEx(kClearLog, kQuestion, "") != kOk) {
            return;
        }
        if (!file.remove()) {
            ShowMessageEx(kLogNotRemoved, kWarning, file.fileName());
            return;
        }
        lstTree->clear();
        lblNo->setText(LoadString(kLoggedCount));
    }
    pbuClear->setEnabled(false);
}

// The log file's name matters only while alerts are logged.
void frmNotify::pbuOK_Click() {
    if (chkLogging->isChecked() && !UsableLogFileName(txtLogFile->text())) {
        ShowMessageEx(kBadLogName, kWarning, txtLogFile->text());
        tabNotify->setCurrentIndex(1);
        txtLogFile->setFocus();
        return;
    }
    ConsoleState& state = State();
    QSet<QString> active;
    for (int row = 0; row < lstNotified->count(); ++row) {
        active.insert(lstNotified->item(row)->text());
    }
    QString flags;
    for (const std::int32_t code : kPrinterStatusCodes) {
        flags += active.contains(StatusCodeText(code)) ? '1' : '0';
    }
    state.options.notifyFlags = flags;
    state.alertStyle = !chkTraps->isChecked() ? kNoAlert : optPopup->isChecked() ? kPopup : kBeep;
    state.options.alertLogOn = chkLogging->isChecked();
    state.options.alertLogFile = txtLogFile->text();
    QSet<QString> monitored;
    for (int row = 0; row < lstMonitored->count(); ++row) {
        monitored.insert(lstMonitored->item(row)->data(kMacRole).toString().toUpper());
    }
    for (PrintServerEntry& entry : state.servers) {
        entry.notify = monitored.contains(entry.mac.trimmed().toUpper());
    }
    accept();
}

}  // namespace console
