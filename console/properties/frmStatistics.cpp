#include "console/properties/frmStatistics.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/DeviceAccess.h"
#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/properties/DeviceRequests.h"

namespace console {

namespace {

constexpr int kBaseId = 1500;
constexpr int kTreeHint = 15110;
constexpr int kCloseHint = 15216;
constexpr int kSwitchOff = 2;
constexpr int kAppleTalkOn = 5;
const char* const kRowSeparator = " --:";
const char* const kTabNames[] = {"&TCP/IP", "&IPX", "&AppleTalk", "&SNMP", "&DLC"};
const char* const kTreeNames[] = {"outTcpTree", "outIpxTree", "outAppleTree", "outSnmpTree", "outDLCTree"};
// TCP/IP, NetWare/IPX and AppleTalk enable, in that order.
const QStringList kProtocolSwitches = {"1.3.6.1.4.1.32473.11.5.1.12.3.3.0",
                                       "1.3.6.1.4.1.32473.11.5.1.12.3.2.0",
                                       "1.3.6.1.4.1.32473.11.5.1.12.3.1.0"};

QLineEdit* ReadOnlyBox() {
    auto* box = new QLineEdit;
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QTreeWidget* OutlineTree(const char* name) {
    auto* tree = new QTreeWidget;
    tree->setObjectName(name);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setIndentation(22);
    tree->setMinimumSize(640, 320);
    // Long rows scroll sideways rather than lose their values.
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false);
    return tree;
}

QIcon Picture(QStyle::StandardPixmap which) {
    return QApplication::style()->standardIcon(which);
}

const StatisticsGroup* GroupOf(StatisticsTree tree, const QString& label) {
    for (const StatisticsGroup& group : StatisticsGroups()) {
        if (group.tree == tree && LoadString(group.label) == label) {
            return &group;
        }
    }
    return nullptr;
}

std::int32_t Read(const QString& adapter, const StatisticsRead& read, QString& reply) {
    return read.oids.isEmpty() ? GetObjectGroup(adapter, read.group, reply, read.bufferSize)
                               : GetObjectListAscii(adapter, read.oids, reply, read.bufferSize);
}

}  // namespace

frmStatistics::frmStatistics(QWidget* parent)
    : QDialog(parent),
      lblName(new QLabel("Printer Name")),
      txtPrintServerName(ReadOnlyBox()),
      lblDescription(new QLabel("Printer Description")),
      txtDescription(ReadOnlyBox()),
      tabDetails(new QTabWidget),
      pbuQuit(new QPushButton("&Close")),
      lblTips(new QLabel) {
    setObjectName("frmStatistics");
    auto* fields = new QFormLayout;
    fields->addRow(lblName, txtPrintServerName);
    fields->addRow(lblDescription, txtDescription);
    for (int tree = 0; tree < kTreeCount; ++tree) {
        trees_[tree] = OutlineTree(kTreeNames[tree]);
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(8, 8, 8, 8);
        pageLayout->addWidget(trees_[tree]);
        tabDetails->addTab(page, kTabNames[tree]);
        connect(trees_[tree], &QTreeWidget::itemClicked, this,
                [this, tree](QTreeWidgetItem* item) { ClickItem(static_cast<StatisticsTree>(tree), item); });
        trees_[tree]->installEventFilter(this);
    }
    tabDetails->installEventFilter(this);
    pbuQuit->installEventFilter(this);
    setMouseTracking(true);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(pbuQuit, QDialogButtonBox::RejectRole);
    connect(pbuQuit, &QPushButton::clicked, this, &QDialog::reject);
    lblTips->setFrameShape(QFrame::StyledPanel);
    lblTips->setFrameShadow(QFrame::Sunken);
    lblTips->setMinimumHeight(lblTips->fontMetrics().height() + 6);
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblTips, 1);
    foot->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addLayout(fields);
    layout->addWidget(tabDetails, 1);
    layout->addLayout(foot);
    LocalizeForm(this, kBaseId, CaptionOrder() << pbuQuit << tabDetails << lblDescription << lblName);
}

void frmStatistics::Form_Load() {
    adjustSize();
    CenterForm(this);
    if (const PrinterRow* row = CurrentPrinter()) {
        adapter_ = row->mac;
        txtPrintServerName->setText(row->name);
        txtDescription->setText(row->description);
    }
    for (const StatisticsGroup& group : StatisticsGroups()) {
        auto* item = new QTreeWidgetItem(trees_[group.tree], {LoadString(group.label)});
        item->setIcon(0, Picture(QStyle::SP_DirClosedIcon));
    }
    ReadProtocolAvailability();
    treesReady_ = true;
}

void frmStatistics::ReadProtocolAvailability() {
    QString reply;
    const std::int32_t result = GetObjectList(adapter_, kProtocolSwitches, reply);
    if (result != 0) {
        ShowResult(result, kWarning);
        return;
    }
    const std::vector<QString> values = ParseReply(reply);
    auto value = [&values](std::size_t i) { return i < values.size() ? values[i].trimmed().toInt() : 0; };
    tabDetails->setTabEnabled(kTcpTree, value(0) != kSwitchOff);
    tabDetails->setTabEnabled(kIpxTree, value(1) != kSwitchOff);
    tabDetails->setTabEnabled(kAppleTree, value(2) == kAppleTalkOn);
}

void frmStatistics::ClickItem(StatisticsTree tree, QTreeWidgetItem* item) {
    if (item == nullptr || !treesReady_) {
        return;
    }
    // The tree's own signals while items are added, removed and selected are not clicks.
    treesReady_ = false;
    TreeEvent(tree, item);
    treesReady_ = true;
}

void frmStatistics::TreeEvent(StatisticsTree tree, QTreeWidgetItem* item) {
    if (item->parent() != nullptr) {
        return;
    }
    if (item->isExpanded()) {
        CloseGroup(item);
        return;
    }
    const StatisticsGroup* group = GroupOf(tree, item->text(0));
    if (group != nullptr && item->childCount() == 0 && OpenGroup(*group, item)) {
        item->setExpanded(true);
        item->setIcon(0, Picture(QStyle::SP_DirOpenIcon));
    }
}

// Reads the group's values and puts its rows under the item; after a failed read (shown) the
// group stays closed without rows, so the next click reads again.
bool frmStatistics::OpenGroup(const StatisticsGroup& group, QTreeWidgetItem* item) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<QTreeWidgetItem*> rows;
    std::int32_t failure = 0;
    for (const StatisticsRead& read : group.reads) {
        QString reply;
        failure = Read(adapter_, read, reply);
        if (failure != 0) {
            break;
        }
        const std::vector<QString> values = ParseReply(reply);
        for (int row = read.firstRow; row <= read.lastRow; ++row) {
            const std::size_t slot = static_cast<std::size_t>(row - read.firstRow);
            const QString value = slot < values.size() ? values[slot] : QString();
            auto* rowItem = new QTreeWidgetItem({LoadString(row) + kRowSeparator + value});
            rowItem->setIcon(0, Picture(QStyle::SP_FileIcon));
            rows.push_back(rowItem);
        }
    }
    QApplication::restoreOverrideCursor();
    if (failure != 0) {
        qDeleteAll(rows);
        ShowResult(failure, kWarning);
        return false;
    }
    for (QTreeWidgetItem* row : rows) {
        item->addChild(row);
    }
    return true;
}

// Drops the group's rows: the next opening reads the device again.
void frmStatistics::CloseGroup(QTreeWidgetItem* item) {
    qDeleteAll(item->takeChildren());
    item->setExpanded(false);
    item->setIcon(0, Picture(QStyle::SP_DirClosedIcon));
    item->treeWidget()->setCurrentItem(item);
}

void frmStatistics::mouseMoveEvent(QMouseEvent* event) {
    lblTips->clear();
    QDialog::mouseMoveEvent(event);
}

bool frmStatistics::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (watched == tabDetails) {
            lblTips->setText(LoadString(kTreeHint));
        } else if (watched == pbuQuit) {
            lblTips->setText(LoadString(kCloseHint));
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int tree = 0; tree < kTreeCount; ++tree) {
            if (watched == trees_[tree] && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                ClickItem(static_cast<StatisticsTree>(tree), trees_[tree]->currentItem());
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace console
