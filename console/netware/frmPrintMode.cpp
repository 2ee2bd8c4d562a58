#include "console/netware/frmPrintMode.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/dialogs/DialogKit.h"
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/ServicedQueues.h"
#include "console/netware/frmBrowse.h"

namespace console {

namespace {

constexpr int kBaseId = 5400;
constexpr int kQueueNameHint = 9250;
constexpr int kPrintServerHint = 9251;
constexpr int kBrowseHint = 9252;
constexpr int kCancelHint = 9253;
constexpr int kOkHint = 9254;

bool SameName(const QString& left, const QString& right) {
    return left.compare(right, Qt::CaseInsensitive) == 0;
}

}  // namespace

int FindQueueMode(const QString& queueName, int16_t bindery, const QString& fileServer, const QString& tree) {
    const bool binderyQueue = bindery == -1;
    for (std::size_t index = 0; index < QueueModeTable.size(); ++index) {
        const QueueModeEntry& entry = QueueModeTable[index];
        const bool place = binderyQueue ? SameName(entry.FileServer, fileServer) : SameName(entry.Tree, tree);
        if ((entry.Bindery == -1) == binderyQueue && SameName(entry.QueueName, queueName) && place) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

frmPrintMode::frmPrintMode(QWidget* owner)
    : QDialog(owner),
      txtQueueName(NamedBox("txtQueueName")),
      optModePS(new QRadioButton("PSERVER")),
      optModeRP(new QRadioButton("RPRINTER")),
      txtPrintServer(NamedBox("txtPrintServer")),
      cmdBrowse(NamedButton("cmdBrowse", "&Browse ...")),
      cmdOk(NamedButton("cmdOk", "&OK")),
      cmdCancel(NamedButton("cmdCancel", "&Cancel")),
      pnlOpGuide(new HintLine(this)),
      lblQueueName(NamedLabel("lblQueueName", "Queue Name:", txtQueueName)),
      lblPrintServer(NamedLabel("lblPrintServer", "Print Server:", txtPrintServer)) {
    optModePS->setObjectName("optModePS");
    optModeRP->setObjectName("optModeRP");
    txtQueueName->setReadOnly(true);
    txtQueueName->setMinimumWidth(240);

    auto* modes = new QHBoxLayout;
    modes->addWidget(optModePS);
    modes->addWidget(optModeRP);
    modes->addStretch(1);
    auto* fields = new QGridLayout;
    fields->addWidget(lblQueueName, 0, 0);
    fields->addWidget(txtQueueName, 0, 1);
    fields->addLayout(modes, 1, 1);
    fields->addWidget(lblPrintServer, 2, 0);
    fields->addWidget(txtPrintServer, 2, 1);
    fields->addWidget(cmdBrowse, 2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(GuidePanel(pnlOpGuide, {lblQueueName, lblPrintServer, optModePS, optModeRP}));
    layout->addLayout(ButtonRow({cmdOk, cmdCancel}));
    pnlOpGuide->Attach(txtQueueName, kQueueNameHint);
    pnlOpGuide->Attach(txtPrintServer, kPrintServerHint);
    pnlOpGuide->Attach(cmdBrowse, kBrowseHint);
    pnlOpGuide->Attach(cmdCancel, kCancelHint);
    pnlOpGuide->Attach(cmdOk, kOkHint);

    LocalizeForm(this, kBaseId,
                 CaptionOrder() << lblQueueName << cmdCancel << cmdOk << cmdBrowse << optModeRP << optModePS
                                << lblPrintServer);
    cmdOk->setDefault(true);
    {
        const BusyCursor hourglass;
        ShowCurrentMode();
        txtQueueName->setText(PrintModeQueue);
        UpdateModeControls();
    }
    connect(optModePS, &QRadioButton::clicked, this, &frmPrintMode::UpdateModeControls);
    connect(optModeRP, &QRadioButton::clicked, this, &frmPrintMode::UpdateModeControls);
    connect(txtPrintServer, &QLineEdit::textChanged, this, &frmPrintMode::UpdateOkButton);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmPrintMode::cmdBrowse_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmPrintMode::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrintMode::reject);
    adjustSize();
    PlaceAgainst(this, owner);
}

void frmPrintMode::ShowCurrentMode() {
    const int index = FindQueueMode(PrintModeQueue, PrintModeBindery, PrintModeServer, PrintModeTree);
    const QueueModeEntry* entry = index < 0 ? nullptr : &QueueModeTable[static_cast<std::size_t>(index)];
    const bool remote = entry != nullptr && !IsPrintServerMode(entry->Mode);
    optModeRP->setChecked(remote);
    optModePS->setChecked(!remote);
    if (remote) {
        txtPrintServer->setText(entry->PrintServer);
        browsedName_ = entry->PrintServer;
        browsedContext_ = entry->PrintServerContext;
    }
}

void frmPrintMode::UpdateModeControls() {
    const bool remote = optModeRP->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{lblPrintServer, txtPrintServer, cmdBrowse}) {
        control->setEnabled(remote);
    }
    UpdateOkButton();
}

void frmPrintMode::UpdateOkButton() {
    cmdOk->setEnabled(!optModeRP->isChecked() || !txtPrintServer->text().trimmed().isEmpty());
}

void frmPrintMode::cmdBrowse_Click() {
    BrowseMode = "PRINT SERVER";
    BrowseBindery = PrintModeBindery;
    BrowseTree = PrintModeTree;
    BrowseFileServer = PrintModeServer;
    BrowseContext = PrintModeContext;
    ShowBrowseDialog(this);
    if (BrowseAccepted == -1) {
        browsedName_ = BrowseChoice;
        browsedContext_ = BrowseChoiceContext;
        txtPrintServer->setText(BrowseChoice);
    }
}

QString frmPrintMode::PrintServerContext() const {
    return txtPrintServer->text() == browsedName_ ? browsedContext_ : QString();
}

// A print server of its own has no other print server: its entry keeps none, never the value an
// earlier choice left behind.
void frmPrintMode::cmdOk_Click() {
    if (!cmdOk->isEnabled()) {
        return;
    }
    PrintModeAccepted = -1;
    const bool bindery = PrintModeBindery == -1;
    const bool remote = optModeRP->isChecked();
    if (bindery) {
        PrintModeChoice = remote ? kBinderyRemotePrinter : kBinderyPrintServer;
    } else {
        PrintModeChoice = remote ? kDirectoryRemotePrinter : kDirectoryPrintServer;
    }
    PrintModePrintServer = remote ? txtPrintServer->text() : QString();
    int index = FindQueueMode(PrintModeQueue, PrintModeBindery, PrintModeServer, PrintModeTree);
    if (index < 0) {
        QueueModeTable.emplace_back();
        index = static_cast<int>(QueueModeTable.size()) - 1;
    }
    QueueModeTable[static_cast<std::size_t>(index)] =
        QueueModeEntry{PrintModeQueue,
                       PrintModeBindery,
                       PrintModeServer,
                       PrintModeTree,
                       PrintModeChoice,
                       PrintModePrintServer,
                       remote ? PrintServerContext() : QString()};
    accept();
}

void frmPrintMode::reject() {
    PrintModeAccepted = 0;
    QDialog::reject();
}

void ShowPrintModeDialog(QWidget* owner) {
    PrintModeAccepted = 0;
    frmPrintMode dialog(owner);
    dialog.exec();
}

}  // namespace console
