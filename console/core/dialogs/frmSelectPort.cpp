#include "console/core/dialogs/frmSelectPort.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBaseId = 6500;
constexpr int kPortTitle = 6510;
constexpr int kQueuesTitle = 6511;
constexpr int kNoQueue = 6512;
constexpr int kSelectPort = 6530;

QString Queues(const std::vector<std::string>& printers) {
    QStringList names;
    for (const std::string& printer : printers) {
        names << QString::fromStdString(printer);
    }
    return names.isEmpty() ? LoadString(kNoQueue) : names.join(", ");
}

}  // namespace

frmSelectPort::frmSelectPort(const std::vector<plat::MonitorPort>& ports, QWidget* parent)
    : QDialog(parent),
      lstPorts(new QTreeWidget),
      btnCancel(new QPushButton("&Cancel")),
      btnOK(new QPushButton("&OK")) {
    setObjectName("frmSelectPort");
    lstPorts->setObjectName("lstPorts");
    lstPorts->setRootIsDecorated(false);
    lstPorts->setHeaderLabels({LoadString(kPortTitle), LoadString(kQueuesTitle)});
    for (const plat::MonitorPort& port : ports) {
        new QTreeWidgetItem(lstPorts, {QString::fromStdString(port.name), Queues(port.printers)});
    }
    lstPorts->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(btnOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(btnCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstPorts);
    layout->addWidget(buttons);
    MakeDefaultButton(btnOK);
    resize(380, 240);
    connect(btnOK, &QPushButton::clicked, this, &frmSelectPort::btnOK_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstPorts, &QTreeWidget::itemDoubleClicked, this, &frmSelectPort::btnOK_Click);
    CaptionOrder order;
    order << btnCancel << btnOK;
    LocalizeForm(this, kBaseId, order);
    CenterForm(this);
}

void frmSelectPort::btnOK_Click() {
    const QTreeWidgetItem* current = lstPorts->currentItem();
    if (current == nullptr) {
        ShowPlainMessage(LoadString(kSelectPort), State().productTitle);
        return;
    }
    chosen_ = current->text(0);
    accept();
}

}  // namespace console
