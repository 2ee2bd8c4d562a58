#include "console/netware/frmCrQueue.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/dialogs/DialogKit.h"
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/frmBrowse.h"

namespace console {

namespace {

constexpr int kBaseId = 5300;
constexpr int kContextHint = 9230;
constexpr int kQueueNameHint = 9231;
constexpr int kVolumeHint = 9232;
constexpr int kBrowseHint = 9233;
constexpr int kCancelHint = 9234;
constexpr int kOkHint = 9235;

bool Filled(const QLineEdit* box) {
    return !box->text().trimmed().isEmpty();
}

}  // namespace

frmCrQueue::frmCrQueue(QWidget* owner)
    : QDialog(owner),
      txtQueueName(NamedBox("txtQueueName")),
      txtContext(NamedBox("txtContext")),
      txtVolume(NamedBox("txtVolume")),
      cmdBrowse(NamedButton("cmdBrowse", "&Browse ...")),
      cmdOk(NamedButton("cmdOk", "&OK")),
      cmdCancel(NamedButton("cmdCancel", "&Cancel")),
      pnlOpGuide(new HintLine(this)),
      lblQueueName(NamedLabel("lblQueueName", "Queue Name:", txtQueueName)),
      lblContext(NamedLabel("lblContext", "Context:", txtContext)),
      lblVolume(NamedLabel("lblVolume", "Volume:", txtVolume)) {
    txtQueueName->setMinimumWidth(240);
    auto* fields = new QGridLayout;
    fields->addWidget(lblQueueName, 0, 0);
    fields->addWidget(txtQueueName, 0, 1);
    fields->addWidget(lblContext, 1, 0);
    fields->addWidget(txtContext, 1, 1);
    fields->addWidget(lblVolume, 2, 0);
    fields->addWidget(txtVolume, 2, 1);
    fields->addWidget(cmdBrowse, 2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(GuidePanel(pnlOpGuide, {lblQueueName, lblContext, lblVolume}));
    layout->addLayout(ButtonRow({cmdOk, cmdCancel}));
    pnlOpGuide->Attach(txtContext, kContextHint);
    pnlOpGuide->Attach(txtQueueName, kQueueNameHint);
    pnlOpGuide->Attach(txtVolume, kVolumeHint);
    pnlOpGuide->Attach(cmdBrowse, kBrowseHint);
    pnlOpGuide->Attach(cmdCancel, kCancelHint);
    pnlOpGuide->Attach(cmdOk, kOkHint);

    LocalizeForm(
        this, kBaseId,
        CaptionOrder() << cmdBrowse << cmdCancel << cmdOk << lblContext << lblVolume << lblQueueName);
    cmdOk->setDefault(true);
    SetupControls();
    UpdateOkButton();
    for (QLineEdit* box : {txtQueueName, txtContext, txtVolume}) {
        connect(box, &QLineEdit::textChanged, this, &frmCrQueue::UpdateOkButton);
    }
    connect(cmdBrowse, &QPushButton::clicked, this, &frmCrQueue::cmdBrowse_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmCrQueue::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCrQueue::reject);
    adjustSize();
    PlaceAgainst(this, owner);
}

void frmCrQueue::SetupControls() {
    const bool directory = CrQueueBindery != -1;
    for (QWidget* control :
         std::initializer_list<QWidget*>{lblContext, txtContext, lblVolume, txtVolume, cmdBrowse}) {
        control->setEnabled(directory);
    }
    if (directory) {
        txtContext->setText(CrQueueContext);
    }
}

// A directory queue needs its context and volume besides its name.
void frmCrQueue::UpdateOkButton() {
    const bool directory = CrQueueBindery != -1;
    cmdOk->setEnabled(Filled(txtQueueName) && (!directory || (Filled(txtContext) && Filled(txtVolume))));
}

void frmCrQueue::cmdBrowse_Click() {
    BrowseBindery = 0;
    BrowseTree = CrQueueTree;
    BrowseContext = CrQueueContext;
    BrowseMode = "VOLUME";
    ShowBrowseDialog(this);
    if (BrowseAccepted == -1) {
        txtVolume->setText(BrowseChoice);
    }
}

void frmCrQueue::cmdOk_Click() {
    if (!cmdOk->isEnabled()) {
        return;
    }
    CrQueueCreated = 0;
    const QByteArray queue = NetWareText(txtQueueName->text());
    NwResult result = kNwOk;
    {
        const BusyCursor hourglass;
        if (CrQueueBindery == -1) {
            result = tessik::NwBiCreateQueue(NetWareText(CrQueueServer).constData(), queue.constData());
        } else {
            QByteArray tree = NetWareText(CrQueueTree);
            result = tessik::NwNdsCreateQueue(tree.data(), queue.constData(),
                                              NetWareText(txtContext->text()).constData(),
                                              NetWareText(txtVolume->text()).constData());
        }
    }
    if (result == kNwOk) {
        CrQueueCreated = -1;
        CrQueueName = txtQueueName->text();
    } else {
        ShowResult(result, kWarning);
    }
    accept();
}

void ShowCreateQueueDialog(QWidget* owner) {
    CrQueueCreated = 0;
    frmCrQueue dialog(owner);
    dialog.exec();
}

}  // namespace console
