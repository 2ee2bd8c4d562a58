// The dialog's pages and the wiring of their controls to the settings rows.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "console/configuration/AddressBoxes.h"
#include "console/configuration/AppleTalkStepBox.h"
#include "console/configuration/DialogBehaviours.h"
#include "console/configuration/frmConfiguration.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kSetPasswordText = 5015;
constexpr int kAddressPairText = 5056;
constexpr int kCommunityNameText = 5053;
constexpr int kLongestHistory = 60;

QWidget* PageOf(QLayout* layout) {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    outer->addLayout(layout);
    outer->addStretch();
    return page;
}

QFormLayout* Form(QWidget* parent) {
    auto* form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft);
    return form;
}

QLineEdit* ReadOnlyBox() {
    auto* box = new QLineEdit;
    box->setReadOnly(true);
    return box;
}

QPushButton* ArrowButton(const char* text) {
    auto* button = new QPushButton(text);
    button->setFixedWidth(36);
    return button;
}

}  // namespace

frmConfiguration::frmConfiguration(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Network Interface");
    tabProtocols = new QTabWidget(this);
    tabProtocols->setUsesScrollButtons(false);
    tabProtocols->addTab(GeneralPage(), "&General");
    tabProtocols->addTab(TcpIpPage(), "&TCP/IP");
    tabProtocols->addTab(NetWarePage(), "&Netware");
    tabProtocols->addTab(AppleTalkPage(), "&AppleTalk");
    tabProtocols->addTab(SnmpPage(), "&SNMP");
    tabProtocols->addTab(new QWidget, "Firmware");
    tabProtocols->addTab(IppPage(), "&IPP");
    tabProtocols->addTab(new QWidget, "&Factory");
    tabProtocols->addTab(SmbPage(), "S&MB");
    tabProtocols->setMinimumWidth(tabProtocols->tabBar()->sizeHint().width() + 8);

    lblTips = new QLabel(this);
    lblTips->setFrameShape(QFrame::StyledPanel);
    lblTips->setFrameShadow(QFrame::Sunken);
    lblTips->setMinimumHeight(lblTips->fontMetrics().height() + 8);
    auto* buttons = new QDialogButtonBox(this);
    pbuOK = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    pbuCancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    pbuOK->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabProtocols);
    layout->addWidget(lblTips);
    layout->addWidget(buttons);
    connect(pbuOK, &QPushButton::clicked, this, &frmConfiguration::pbuOK_Click);
    connect(pbuCancel, &QPushButton::clicked, this, &frmConfiguration::pbuCancel_Click);
    ConnectRows();
    ConnectTips();
    ConnectNetWarePage();
}

// The boxes lose the focus while the dialog's children go: nothing of the dialog may answer then.
frmConfiguration::~frmConfiguration() {
    for (AddressBoxes* boxes : {txtIPAddress, txtSubnet, txtGateway, txtSnmpIP}) {
        boxes->disconnect(this);
    }
}

QWidget* frmConfiguration::GeneralPage() {
    auto* form = Form(nullptr);
    txtPrintServerName = new QLineEdit;
    txtDescription = new QLineEdit;
    txtMACAddress = ReadOnlyBox();
    form->addRow("Print Server &Name:", txtPrintServerName);
    form->addRow("&Description:", txtDescription);
    form->addRow("MAC Address:", txtMACAddress);
    auto* password = new QGroupBox("Password Protection");
    auto* row = new QHBoxLayout(password);
    chkPasswordEnable = new QCheckBox("&Enable Password Protection");
    pbuPassword = new QPushButton(LoadString(kSetPasswordText));
    pbuPassword->setEnabled(false);
    row->addWidget(chkPasswordEnable);
    row->addStretch();
    row->addWidget(pbuPassword);
    form->addRow(password);
    SelectAllOnFocus(txtPrintServerName);
    SelectAllOnFocus(txtDescription);
    return PageOf(form);
}

QWidget* frmConfiguration::TcpIpPage() {
    auto* form = Form(nullptr);
    chkTCP = new QCheckBox("Enable &TCP/IP");
    cmbIPAssignment = new QComboBox;
    form->addRow(chkTCP);
    form->addRow("IP Address &Assignment:", cmbIPAssignment);
    auto* parameters = new QGroupBox("TCP/IP Parameters");
    auto* addresses = Form(parameters);
    txtIPAddress = new AddressBoxes;
    txtSubnet = new AddressBoxes;
    txtGateway = new AddressBoxes;
    txtIPAddress->SetNext(txtSubnet);
    txtSubnet->SetNext(txtGateway);
    addresses->addRow("IP Address:", txtIPAddress);
    addresses->addRow("Subnet Mask:", txtSubnet);
    addresses->addRow("Default Gateway:", txtGateway);
    form->addRow(parameters);
    return PageOf(form);
}

QWidget* frmConfiguration::NetWarePage() {
    auto* form = Form(nullptr);
    chkNetware = new QCheckBox("Enable &NetWare");
    form->addRow(chkNetware);
    auto* frames = new QGroupBox("IPX Frame Types");
    auto* grid = new QGridLayout(frames);
    const char* names[] = {"A&uto", "802.&2", "802.&3", "&Ethernet II", "S&NAP"};
    for (std::size_t i = 0; i < frameTypes.size(); ++i) {
        frameTypes[i] = new QCheckBox(names[i]);
        const int at = static_cast<int>(i);
        grid->addWidget(frameTypes[i], at == 0 ? 0 : 1 + (at - 1) / 2, at == 0 ? 0 : (at - 1) % 2);
    }
    form->addRow(frames);
    form->addRow(ServicedQueuePanel());
    form->addRow(CheckDelayPanel());
    return PageOf(form);
}

QWidget* frmConfiguration::AppleTalkPage() {
    auto* form = Form(nullptr);
    chkApple = new QCheckBox("Enable &AppleTalk");
    txtLastError = ReadOnlyBox();
    txtPrinterName = new QLineEdit;
    txtARTimer = new AppleTalkStepBox(0, 250, 10);
    cmbZone = new QComboBox;
    txtPAPwait = new AppleTalkStepBox(30, 120, 30);
    form->addRow(chkApple);
    form->addRow("Last Error:", txtLastError);
    form->addRow("&Printer Name:", txtPrinterName);
    form->addRow("&Zone:", cmbZone);
    form->addRow("A-ROUTER Aging Timer (s):", txtARTimer);
    form->addRow("PAP Wait Time (s):", txtPAPwait);
    SelectAllOnFocus(txtPrinterName);
    return PageOf(form);
}

QWidget* frmConfiguration::SnmpPage() {
    auto* layout = new QVBoxLayout;
    chkEnableTraps = new QCheckBox("Enable Authentication &Traps");
    layout->addWidget(chkEnableTraps);

    pnlTraverse = new QGroupBox(LoadString(kAddressPairText) + " 1");
    auto* traps = Form(pnlTraverse);
    txtSnmpIP = new AddressBoxes;
    txtSNMP1Name = new QLineEdit;
    pbuLeft = ArrowButton("<");
    pbuRight = ArrowButton(">");
    auto* trapStep = new QHBoxLayout;
    trapStep->addStretch();
    trapStep->addWidget(pbuLeft);
    trapStep->addWidget(pbuRight);
    traps->addRow("IP Address:", txtSnmpIP);
    traps->addRow("Community:", txtSNMP1Name);
    traps->addRow(trapStep);
    layout->addWidget(pnlTraverse);

    pnlTraverseCN = new QGroupBox(LoadString(kCommunityNameText) + " 1");
    auto* names = Form(pnlTraverseCN);
    txtSNMP2Name = new QLineEdit;
    chkRead = new QCheckBox("&Read Access");
    chkWrite = new QCheckBox("&Write Access");
    pbuLeftCN = ArrowButton("<");
    pbuRightCN = ArrowButton(">");
    auto* access = new QHBoxLayout;
    access->addWidget(chkRead);
    access->addWidget(chkWrite);
    access->addStretch();
    access->addWidget(pbuLeftCN);
    access->addWidget(pbuRightCN);
    names->addRow("Name:", txtSNMP2Name);
    names->addRow("Access:", access);
    layout->addWidget(pnlTraverseCN);
    SelectAllOnFocus(txtSNMP1Name);
    SelectAllOnFocus(txtSNMP2Name);
    return PageOf(layout);
}

QWidget* frmConfiguration::IppPage() {
    auto* form = Form(nullptr);
    const std::pair<int, const char*> boxes[] = {
        {41, "Printer URI:"}, {50, "Printer Name:"}, {43, "Location:"},
        {51, "Information:"}, {46, "More Info:"},    {42, "Operator Message:"},
        {47, "Installer:"},   {48, "Manufacturer:"}, {49, "Job Count:"}};
    for (const auto& [row, label] : boxes) {
        QLineEdit* box = row >= 47 && row <= 49 ? ReadOnlyBox() : new QLineEdit;
        ippBoxes[static_cast<std::size_t>(row)] = box;
        form->addRow(label, box);
    }
    txtOpTimeout = new QSpinBox;
    txtOpTimeout->setRange(0, std::numeric_limits<int>::max());
    txtHistory = new QSpinBox;
    txtHistory->setRange(1, kLongestHistory);
    for (QSpinBox* box : {txtOpTimeout, txtHistory}) {
        box->setWrapping(true);
        box->setMinimumWidth(110);
    }
    form->addRow("Operation Timeout (s):", txtOpTimeout);
    form->addRow("Job History:", txtHistory);
    return PageOf(form);
}

QWidget* frmConfiguration::SmbPage() {
    auto* form = Form(nullptr);
    chkSMB = new QCheckBox("Enable S&MB");
    txtWorkGroupName = new QLineEdit;
    form->addRow(chkSMB);
    form->addRow("&Workgroup:", txtWorkGroupName);
    return PageOf(form);
}

}  // namespace console
