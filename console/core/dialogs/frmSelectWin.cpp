#include "console/core/dialogs/frmSelectWin.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kBaseId = 1400;
constexpr int kSelectPrinter = 1430;

}  // namespace

frmSelectWin::frmSelectWin(const std::vector<QString>& printers, QWidget* parent)
    : QDialog(parent),
      listWinPrinter(new QListWidget),
      btnCancel(new QPushButton("&Cancel")),
      btnOpen(new QPushButton("&Open")) {
    setObjectName("frmSelectWin");
    listWinPrinter->setObjectName("listWinPrinter");
    for (const QString& printer : printers) {
        listWinPrinter->addItem(printer);
    }
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(btnOpen, QDialogButtonBox::AcceptRole);
    buttons->addButton(btnCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listWinPrinter);
    layout->addWidget(buttons);
    MakeDefaultButton(btnOpen);
    resize(340, 240);
    connect(btnOpen, &QPushButton::clicked, this, &frmSelectWin::btnOpen_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(listWinPrinter, &QListWidget::itemDoubleClicked, this, &frmSelectWin::btnOpen_Click);
    CaptionOrder order;
    order << btnCancel << btnOpen;
    LocalizeForm(this, kBaseId, order);
    CenterForm(this);
}

void frmSelectWin::btnOpen_Click() {
    const QListWidgetItem* current = listWinPrinter->currentItem();
    if (current == nullptr || current->text().isEmpty()) {
        ShowPlainMessage(LoadString(kSelectPrinter), State().productTitle);
        return;
    }
    chosen_ = current->text();
    accept();
}

}  // namespace console
