#include "portmonitor/dialogs/PortDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/text/CaseInsensitive.h"
#include "platform/text/ControlCharacters.h"
#include "portmonitor/MonitorStrings.h"
#include "portmonitor/PortName.h"
#include "portmonitor/dialogs/AddPrinterDialog.h"
#include "portmonitor/dialogs/DialogHelp.h"
#include "portmonitor/dialogs/HelperLibrary.h"
#include "portmonitor/dialogs/MonitorMessages.h"

namespace {

constexpr int kPortNameRead = 31;
constexpr int kColumnWidths[] = {150, 118, 150, 150};

QString Text(int id) {
    return QString::fromUtf8(LoadMonitorString(id));
}

// A text of the record as the list shows it: a control character (a name comes off the network)
// as its code, so that each row keeps to one line.
QString Field(const std::optional<std::string>& text) {
    return QString::fromStdString(plat::VisibleControls(text.value_or("")));
}

// A row of the list: sorted by its column's text without regard to case, equal texts by name.
class ServerItem : public QTreeWidgetItem {
  public:
    ServerItem(QTreeWidget* list, const ServerRecord& record, int index)
        : QTreeWidgetItem(list,
                          {Field(record.name), Field(record.mac), Field(record.ip), Field(record.ipx)}) {
        setData(0, Qt::UserRole, index);
    }
    int Index() const { return data(0, Qt::UserRole).toInt(); }

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
        const int order = text(column).compare(other.text(column), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text(0).compare(other.text(0), Qt::CaseInsensitive) < 0;
    }
};

}  // namespace

PortDialog::PortDialog(bool configure, std::string portName, const PortServices& services, QWidget* owner)
    : QDialog(owner), configure_(configure), configuredName_(std::move(portName)), services_(services) {
    setWindowTitle(Text(configure ? kStrConfigurePort : kStrAddPort));
    listLabel_ = new QLabel(Text(kStrSelectLabel));
    list_ = new QTreeWidget;
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({Text(kStrColumnFirst), Text(kStrColumnFirst + 1), Text(kStrColumnFirst + 2),
                            Text(kStrColumnFirst + 3)});
    for (int column = 0; column < 4; ++column) {
        list_->setColumnWidth(column, kColumnWidths[column]);
    }
    list_->setSortingEnabled(true);
    list_->sortByColumn(0, Qt::AscendingOrder);
    listLabel_->setBuddy(list_);
    nameLabel_ = new QLabel(Text(kStrEnterPortNameLabel));
    portName_ = new QLineEdit;
    portName_->setMaxLength(static_cast<int>(kPortNameLimit));
    nameLabel_->setBuddy(portName_);
    if (configure_) {
        portName_->setText(QString::fromStdString(configuredName_));
        portName_->setEnabled(false);
    }
    addServer_ = new QPushButton(Text(kStrAddServerButton));
    ok_ = new QPushButton(Text(kStrOk));
    ok_->setDefault(true);
    cancel_ = new QPushButton(Text(kStrCancel));
    help_ = AddHelpButton(this);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel_);
    nameRow->addWidget(portName_, 1);
    nameRow->addStretch();
    nameRow->addWidget(addServer_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {ok_, cancel_, help_}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listLabel_);
    layout->addWidget(list_, 1);
    layout->addLayout(nameRow);
    layout->addLayout(buttons);
    resize(620, 360);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &PortDialog::OnSelectionChanged);
    connect(list_, &QTreeWidget::itemClicked, this, &PortDialog::OnSelectionChanged);
    connect(addServer_, &QPushButton::clicked, this, &PortDialog::OnAddServer);
    connect(ok_, &QPushButton::clicked, this, &PortDialog::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    list_->setFocus();
}

void PortDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!detected_) {
        detected_ = true;
        // The detection runs once the dialog is on the screen.
        QTimer::singleShot(0, this, &PortDialog::Detect);
    }
}

void PortDialog::Detect() {
    DetectPrintServers();
    Refill();
}

void PortDialog::Refill() {
    const ServerRecord* chosen = ChosenRecord();
    // The print server chosen before stays chosen; a configured port's own is chosen at first.
    const std::optional<std::string> mark = chosen != nullptr ? chosen->mac
                                            : configure_      ? services_.portAdapter(configuredName_)
                                                              : std::nullopt;
    list_->clear();
    servers_ = LoadServerList();
    QTreeWidgetItem* marked = nullptr;
    for (std::size_t index = 0; index < servers_.size(); ++index) {
        auto* item = new ServerItem(list_, servers_[index], static_cast<int>(index));
        if (mark && servers_[index].mac && plat::EqualsNoCase(*servers_[index].mac, *mark)) {
            marked = item;
        }
    }
    if (marked != nullptr) {
        // Chosen again, not by the user: the name box keeps what it holds.
        const QSignalBlocker quiet(list_);
        list_->setCurrentItem(marked);
        list_->scrollToItem(marked);
    }
}

const ServerRecord* PortDialog::ChosenRecord() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    const auto* item = selected.isEmpty() ? nullptr : static_cast<const ServerItem*>(selected.front());
    if (item == nullptr || item->Index() < 0 || static_cast<std::size_t>(item->Index()) >= servers_.size()) {
        return nullptr;
    }
    return &servers_[static_cast<std::size_t>(item->Index())];
}

void PortDialog::OnSelectionChanged() {
    const ServerRecord* record = ChosenRecord();
    // A configured port keeps its name.
    if (record == nullptr || configure_) {
        return;
    }
    if (std::optional<std::string> proposal = services_.proposePortName(record->name.value_or(""))) {
        portName_->setText(QString::fromStdString(*proposal));
    }
}

void PortDialog::OnAddServer() {
    AddPrinterDialog add(this);
    add.exec();
    Refill();
}

bool PortDialog::ReplaceDuplicate(const std::string& name) {
    if (!AskOkCancel("Duplicate Port Name. Do you wish to delete?", "Vorlane Network Port Monitor")) {
        return false;
    }
    if (!services_.deletePort(name)) {
        ShowNotice("Delete failed", "Delete failed");
        ShowErrorMessage(kStrCannotDelete);
        return false;
    }
    ShowNotice("Delete successful", "Delete successful");
    return true;
}

void PortDialog::OnOk() {
    const ServerRecord* record = ChosenRecord();
    if (record == nullptr) {
        ShowErrorMessage(kStrSelectPrinter);
        return;
    }
    const std::string name = portName_->text().left(kPortNameRead).toStdString();
    // A configured port keeps the name it has.
    if (const int fault = configure_ ? 0 : PortNameFault(name); fault != 0) {
        ShowErrorMessage(fault);
        portName_->setFocus();
        return;
    }
    if (!configure_ && services_.portExists(name) && !ReplaceDuplicate(name)) {
        return;
    }
    const PortSetupResult result =
        services_.setUpPort(*record, configure_ ? configuredName_ : name, configure_);
    if (result == PortSetupResult::PortInUse) {
        ShowErrorMessage(kStrPortInUse);
        return;
    }
    if (result == PortSetupResult::Done) {
        accept();
    }
}
