#include "console/core/dialogs/frmFilter.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/PrintServerTable.h"
#include "console/core/dialogs/DialogKit.h"

namespace console {

namespace {

constexpr int kBaseId = 1100;
constexpr int kNothingShown = 12031;
constexpr int kChosenFilter = 6;
constexpr int kMacRole = Qt::UserRole;

QListWidget* NewList(const char* name) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMinimumSize(190, 220);
    return list;
}

}  // namespace

frmFilter::frmFilter(QWidget* parent)
    : QDialog(parent),
      lstAvail(NewList("lstAvail")),
      lstFiltered(NewList("lstFiltered")),
      pbuAdd(new QPushButton("A&dd >>")),
      pbuRemove(new QPushButton("<< &Remove")),
      pbuOk(new QPushButton("&OK")),
      pbuCancel(new QPushButton("&Cancel")),
      lblTips(new HintLine(this)) {
    setObjectName("frmFilter");
    pbuAdd->setObjectName("pbuAdd");
    pbuRemove->setObjectName("pbuRemove");
    pbuOk->setObjectName("pbuOk");
    pbuCancel->setObjectName("pbuCancel");
    pbuOk->setDefault(true);
    auto* availableLabel = new QLabel("Available Printers");
    auto* filteredLabel = new QLabel("Filtered Printers");
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(pbuAdd);
    moves->addWidget(pbuRemove);
    moves->addStretch(1);
    auto* lists = new QGridLayout;
    lists->addWidget(availableLabel, 0, 0);
    lists->addWidget(filteredLabel, 0, 2);
    lists->addWidget(lstAvail, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(lstFiltered, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(HintPanel(lblTips));
    layout->addLayout(ButtonRow({pbuOk, pbuCancel}));
    LocalizeForm(
        this, kBaseId,
        CaptionOrder() << pbuCancel << pbuOk << pbuRemove << pbuAdd << availableLabel << filteredLabel);
    lblTips->Attach(lstAvail, 15224);
    lblTips->Attach(pbuAdd, 15225);
    lblTips->Attach(lstFiltered, 15226);
    lblTips->Attach(pbuRemove, 15227);

    const DisplayOptions& options = State().options;
    for (const PrintServerEntry& entry : State().servers) {
        if (entry.detected != 1) {
            continue;
        }
        const bool chosen = options.filterKind == kChosenFilter && InMacList(entry.mac, options.filterText);
        auto* item = new QListWidgetItem(entry.name.trimmed(), chosen ? lstFiltered : lstAvail);
        item->setData(kMacRole, entry.mac);
        item->setToolTip(entry.mac);
    }
    UpdateButtons();
    connect(pbuAdd, &QPushButton::clicked, this, &frmFilter::pbuAdd_Click);
    connect(pbuRemove, &QPushButton::clicked, this, &frmFilter::pbuRemove_Click);
    connect(lstAvail, &QListWidget::itemDoubleClicked, this, &frmFilter::pbuAdd_Click);
    connect(lstFiltered, &QListWidget::itemDoubleClicked, this, &frmFilter::pbuRemove_Click);
    connect(pbuOk, &QPushButton::clicked, this, &frmFilter::pbuOk_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &QDialog::reject);
    CenterForm(this);
}

void frmFilter::UpdateButtons() {
    EnableWithEntries(lstAvail, pbuAdd);
    EnableWithEntries(lstFiltered, pbuRemove);
}

void frmFilter::pbuAdd_Click() {
    MoveSelected(lstAvail, lstFiltered);
    SelectEntry(lstAvail, 0);
    UpdateButtons();
}

void frmFilter::pbuRemove_Click() {
    MoveSelected(lstFiltered, lstAvail);
    SelectEntry(lstFiltered, 0);
    UpdateButtons();
}

// The chosen print servers go by hardware address: two of them may share a name.
void frmFilter::pbuOk_Click() {
    QStringList macs;
    for (int row = 0; row < lstFiltered->count(); ++row) {
        macs << lstFiltered->item(row)->data(kMacRole).toString();
    }
    if (macs.isEmpty() && ShowMessage(kNothingShown, kQuestion) != kOk) {
        return;
    }
    State().options.filterKind = kChosenFilter;
    State().options.filterText = macs.join(';');
    accept();
}

}  // namespace console
