// The rules of the dialog's controls between load and OK: which row each control feeds, the
// dependencies between check boxes, and the tips.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>

#include "console/configuration/AddressBoxes.h"
#include "console/configuration/CheckDelayBox.h"
#include "console/configuration/DialogBehaviours.h"
#include "console/configuration/frmConfiguration.h"
#include "console/configuration/frmModifyPwd.h"
#include "console/configuration/frmPassword.h"
#include "console/core/ConsoleState.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kModifyPasswordText = 5099;
constexpr int kNoFrameType = 32107;
constexpr std::size_t kAutoFrame = 0;
constexpr int kStaticMethod = 0;

QString OnOff(bool on, const char* onValue, const char* offValue) {
    return on ? onValue : offValue;
}

bool IsSmallKind(int kind) {
    return kind == 5 || kind == 6;
}

}  // namespace

void frmConfiguration::ConnectRows() {
    const auto text = [this](QLineEdit* box, int row) {
        connect(box, &QLineEdit::textEdited, this,
                [this, row](const QString& value) { rows_.Set(row, value); });
    };
    const auto number = [this](QSpinBox* box, int row) {
        connect(box, &QSpinBox::valueChanged, this, [this, row](int value) {
            if (!filling_) {
                rows_.Set(row, QString::number(value));
            }
        });
    };
    text(txtPrintServerName, kRowName);
    text(txtDescription, kRowDescription);
    text(txtPrinterName, kRowApplePrinter);
    text(txtWorkGroupName, kRowWorkgroup);
    for (int row = kRowIppFirst; row <= kRowIppLast; ++row) {
        if (ippBoxes[static_cast<std::size_t>(row)] != nullptr) {
            text(ippBoxes[static_cast<std::size_t>(row)], row);
        }
    }
    number(txtARTimer, kRowRouterTimer);
    number(txtPAPwait, kRowPapWait);
    number(txtOpTimeout, 44);
    number(txtHistory, 45);

    connect(chkPasswordEnable, &QCheckBox::clicked, this, [this](bool on) {
        pbuPassword->setEnabled(on);
        rows_.Set(kRowProtection, OnOff(on, "1", "2"));
    });
    connect(pbuPassword, &QPushButton::clicked, this, &frmConfiguration::pbuPassword_Click);
    connect(chkTCP, &QCheckBox::toggled, this, &frmConfiguration::EnableTcpIpPage);
    connect(chkTCP, &QCheckBox::clicked, this,
            [this](bool on) { rows_.Set(kRowTcpIp, OnOff(on, "1", "2")); });
    connect(cmbIPAssignment, &QComboBox::activated, this, [this](int index) {
        EnableTcpIpPage();
        rows_.Set(kRowAssignment, QString::number(index + 1));
    });
    const std::pair<AddressBoxes*, int> addresses[] = {
        {txtIPAddress, kRowIpAddress}, {txtSubnet, kRowSubnet}, {txtGateway, kRowGateway}};
    for (const auto& [boxes, row] : addresses) {
        connect(boxes, &AddressBoxes::Left, this,
                [this, boxes = boxes, row = row] { AddressLeft(boxes, row); });
    }
    connect(chkNetware, &QCheckBox::clicked, this, [this](bool on) {
        rows_.Set(kRowNetWare, OnOff(on, "1", "2"));
        EnableNetWarePage(on && netWareClient_);
    });
    for (std::size_t box = 0; box < frameTypes.size(); ++box) {
        connect(frameTypes[box], &QCheckBox::clicked, this, [this, box] { FrameTypeClicked(box); });
    }
    connect(chkApple, &QCheckBox::clicked, this, [this](bool on) {
        rows_.Set(kRowAppleTalk, OnOff(on, "5", "4"));
        EnableAppleTalkPage(on);
    });
    connect(cmbZone, &QComboBox::activated, this, [this] { rows_.Set(kRowZone, cmbZone->currentText()); });
    connect(chkSMB, &QCheckBox::clicked, this, [this](bool on) {
        rows_.Set(kRowSmb, OnOff(on, "1", "2"));
        txtWorkGroupName->setEnabled(on);
    });

    connect(chkEnableTraps, &QCheckBox::clicked, this,
            [this](bool on) { rows_.Set(kRowAuthTraps, OnOff(on, "1", "2")); });
    connect(txtSnmpIP, &AddressBoxes::Edited, this,
            [this] { traps_[static_cast<std::size_t>(shownTrap_)].changed |= kFirstHalfChanged; });
    connect(txtSNMP1Name, &QLineEdit::textEdited, this,
            [this] { traps_[static_cast<std::size_t>(shownTrap_)].changed |= kSecondHalfChanged; });
    connect(txtSNMP2Name, &QLineEdit::textEdited, this,
            [this] { communities_[static_cast<std::size_t>(shownCommunity_)].changed |= kFirstHalfChanged; });
    for (QCheckBox* box : {chkRead, chkWrite}) {
        connect(box, &QCheckBox::clicked, this, [this] {
            communities_[static_cast<std::size_t>(shownCommunity_)].changed |= kSecondHalfChanged;
        });
    }
    connect(pbuLeft, &QPushButton::clicked, this, [this] { StepTrapSlot(-1); });
    connect(pbuRight, &QPushButton::clicked, this, [this] { StepTrapSlot(1); });
    connect(pbuLeftCN, &QPushButton::clicked, this, [this] { StepCommunitySlot(-1); });
    connect(pbuRightCN, &QPushButton::clicked, this, [this] { StepCommunitySlot(1); });
}

void frmConfiguration::ConnectTips() {
    const std::pair<QWidget*, int> tips[] = {{txtPrintServerName, 15203}, {txtDescription, 15204},
                                             {txtMACAddress, 15212},      {chkPasswordEnable, 15206},
                                             {pbuPassword, 15207},        {cmbIPAssignment, 15208},
                                             {txtIPAddress, 15210},       {txtSubnet, 15254},
                                             {txtGateway, 15255},         {chkTCP, 15205},
                                             {chkApple, 15205},           {chkSMB, 15205},
                                             {txtPrinterName, 15200},     {txtARTimer, 15201},
                                             {txtPAPwait, 15201},         {cmbZone, 15202},
                                             {chkEnableTraps, 15245},     {txtSNMP1Name, 15246},
                                             {txtSNMP2Name, 15246},       {chkRead, 15247},
                                             {chkWrite, 15247},           {pbuLeft, 15248},
                                             {pbuRight, 15248},           {pbuLeftCN, 15248},
                                             {pbuRightCN, 15248},         {txtSnmpIP, 15210},
                                             {pnlTraverse, 32110},        {pnlTraverseCN, 32110}};
    for (const auto& [control, id] : tips) {
        ShowTipOnHover(control, lblTips, id);
    }
    for (QCheckBox* box : frameTypes) {
        ShowTipOnHover(box, lblTips, 15256);
    }
}

void frmConfiguration::EnableTcpIpPage() {
    chkTCP->setEnabled(!IsSmallKind(kind_));
    const bool on = chkTCP->isChecked();
    cmbIPAssignment->setEnabled(on);
    const bool fixed = on && cmbIPAssignment->currentIndex() == kStaticMethod;
    for (AddressBoxes* boxes : {txtIPAddress, txtSubnet, txtGateway}) {
        boxes->setEnabled(fixed);
    }
}

void frmConfiguration::EnableNetWarePage(bool on) {
    for (QCheckBox* box : frameTypes) {
        box->setEnabled(on && !IsSmallKind(kind_));
    }
    netWareOn_ = on;
    txtCfgChkDelay->setEnabled(on);
    txtJobChkDelay->setEnabled(on);
    EnableQueueButtons();
}

void frmConfiguration::EnableAppleTalkPage(bool on) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtLastError, txtPrinterName, txtARTimer, cmbZone, txtPAPwait}) {
        control->setEnabled(on);
    }
}

// Auto and the four explicit types exclude each other, and one of the five is always chosen. Each
// box's row follows its state; the boxes are set here directly, so no rule runs another.
void frmConfiguration::FrameTypeClicked(std::size_t box) {
    const auto put = [this](std::size_t type, bool on) {
        const QSignalBlocker quiet(frameTypes[type]);
        frameTypes[type]->setChecked(on);
        rows_.Set(kRowFrameAuto + static_cast<int>(type), OnOff(on, "2", "1"));
    };
    put(box, frameTypes[box]->isChecked());
    bool anyExplicit = false;
    for (std::size_t type = 1; type < frameTypes.size(); ++type) {
        anyExplicit = anyExplicit || frameTypes[type]->isChecked();
    }
    if (box == kAutoFrame) {
        if (frameTypes[kAutoFrame]->isChecked()) {
            for (std::size_t type = 1; type < frameTypes.size(); ++type) {
                if (frameTypes[type]->isChecked()) {
                    put(type, false);
                }
            }
        } else if (!anyExplicit) {
            ShowPlainMessage(LoadString(kNoFrameType), State().productTitle);
            put(kAutoFrame, true);
        }
    } else if (frameTypes[box]->isChecked() && frameTypes[kAutoFrame]->isChecked()) {
        put(kAutoFrame, false);
    } else if (!anyExplicit) {
        put(kAutoFrame, true);
    }
}

// A box the person left; the row is marked only when the address now differs from what was shown,
// so that leaving untouched boxes never writes over the card's address.
void frmConfiguration::AddressLeft(AddressBoxes* boxes, int row) {
    const QString address = boxes->Text();
    if (address != loadedAddress_[static_cast<std::size_t>(row)] || rows_[row].changed) {
        rows_.Set(row, address);
    }
}

// What stands in every box is what OK writes, however OK was pressed: the box that has the focus is
// taken as if the focus had left it (a box nobody changed still writes nothing).
void frmConfiguration::CommitTypedValues() {
    for (AddressBoxes* boxes : {txtIPAddress, txtSubnet, txtGateway}) {
        boxes->CommitTyped();
    }
    for (QAbstractSpinBox* box : findChildren<QAbstractSpinBox*>()) {
        box->interpretText();
    }
}

void frmConfiguration::pbuPassword_Click() {
    if (pbuPassword->text() == LoadString(kModifyPasswordText)) {
        frmModifyPwd dialog(adapter_, this);
        dialog.exec();
    } else {
        frmPassword dialog(adapter_, pbuPassword, this);
        dialog.exec();
    }
}

}  // namespace console
