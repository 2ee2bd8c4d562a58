// The SNMP page: the authentication trap switch and the five slots of the trap destination and
// community tables, read when the dialog loads and written, changed slots only, by OK.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

#include "console/configuration/AddressBoxes.h"
#include "console/configuration/ConfigurationSnmp.h"
#include "console/configuration/frmConfiguration.h"
#include "console/core/DeviceAccess.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "snmp/request/Community.h"

namespace console {

namespace {

const QString kTrapTable = "1.3.6.1.4.1.32473.11.5.1.12.6.2.2.1.";
const QString kCommunityTable = "1.3.6.1.4.1.32473.11.5.1.12.6.3.2.1.";
const QString kAuthTraps = "1.3.6.1.2.1.11.30.0";
constexpr int kAddressColumn = 2;  // trap table: address; community table: name
constexpr int kSecondColumn = 3;   // trap table: community; community table: access
constexpr int kStatusColumn = 4;
constexpr int kAddressPairText = 5056;
constexpr int kCommunityNameText = 5053;
constexpr int kLockOutWarning = 5090;
const QString kActive = "1";
const QString kNotInUse = "2";

QString Cell(const QString& table, int column, std::size_t slot) {
    return table + QString::number(column) + '.' + QString::number(slot + 1);
}

}  // namespace

void frmConfiguration::LoadSnmpPage() {
    traps_ = {};
    communities_ = {};
    std::vector<QString> values;
    std::int32_t result = GetValues(adapter_, {kAuthTraps}, values);
    if (result != 0) {
        ReadFailed(result);
        return;
    }
    rows_[kRowAuthTraps].value = values.empty() ? QString() : values.front();
    chkEnableTraps->setChecked(rows_[kRowAuthTraps].value == "1");
    // The two columns of an active row of the table, in the order asked; none for a row not in use.
    const auto activeRow = [&](const QString& table, std::size_t slot, int first, int second) {
        std::vector<QString> pair;
        result = GetValues(adapter_, {Cell(table, kStatusColumn, slot)}, values);
        if (result == 0 && !values.empty() && values.front() == kActive) {
            result = GetValues(adapter_, {Cell(table, first, slot), Cell(table, second, slot)}, pair);
        }
        pair.resize(2);
        return pair;
    };
    for (std::size_t slot = 0; slot < traps_.size() && result == 0; ++slot) {
        const std::vector<QString> pair = activeRow(kTrapTable, slot, kAddressColumn, kSecondColumn);
        if (!pair[0].isEmpty()) {
            traps_[slot].address = pair[0];
            traps_[slot].community = pair[1];
        }
    }
    for (std::size_t slot = 0; slot < communities_.size() && result == 0; ++slot) {
        const std::vector<QString> pair = activeRow(kCommunityTable, slot, kSecondColumn, kAddressColumn);
        if (!pair[0].isEmpty()) {
            communities_[slot].access = pair[0].toInt();
            communities_[slot].name = pair[1];
        }
    }
    if (result != 0) {
        ReadFailed(result);
    }
    loadedCommunities_ = communities_;
    shownTrap_ = 0;
    shownCommunity_ = 0;
    ShowTrapSlot();
    ShowCommunitySlot();
}

void frmConfiguration::ShowTrapSlot() {
    const TrapSlot& slot = traps_[static_cast<std::size_t>(shownTrap_)];
    txtSnmpIP->SetText(slot.address);
    txtSNMP1Name->setText(slot.community);
    pnlTraverse->setTitle(LoadString(kAddressPairText) + ' ' + QString::number(shownTrap_ + 1));
}

void frmConfiguration::ShowCommunitySlot() {
    const CommunitySlot& slot = communities_[static_cast<std::size_t>(shownCommunity_)];
    txtSNMP2Name->setText(slot.name);
    chkRead->setChecked(ReadsAccess(slot.access));
    chkWrite->setChecked(WritesAccess(slot.access));
    pnlTraverseCN->setTitle(LoadString(kCommunityNameText) + ' ' + QString::number(shownCommunity_ + 1));
}

// The shown slots take what the boxes hold, changed or not only as the person made them.
void frmConfiguration::KeepTrapSlot() {
    TrapSlot& slot = traps_[static_cast<std::size_t>(shownTrap_)];
    if ((slot.changed & kFirstHalfChanged) != 0) {
        slot.address = txtSnmpIP->Text();
    }
    if ((slot.changed & kSecondHalfChanged) != 0) {
        slot.community = txtSNMP1Name->text();
    }
}

void frmConfiguration::KeepCommunitySlot() {
    CommunitySlot& slot = communities_[static_cast<std::size_t>(shownCommunity_)];
    if ((slot.changed & kFirstHalfChanged) != 0) {
        slot.name = txtSNMP2Name->text();
    }
    if ((slot.changed & kSecondHalfChanged) != 0) {
        slot.access = AccessOf(chkRead->isChecked(), chkWrite->isChecked());
    }
}

void frmConfiguration::StepTrapSlot(int step) {
    for (int box = 0; box < 4; ++box) {
        if (!ValidateRange(txtSnmpIP->Box(box), 0, 255)) {
            txtSnmpIP->Box(box)->setFocus();
            return;
        }
    }
    const int next = shownTrap_ + step;
    if (next < 0 || next >= kSlotCount) {
        QApplication::beep();
        return;
    }
    KeepTrapSlot();
    shownTrap_ = next;
    ShowTrapSlot();
}

void frmConfiguration::StepCommunitySlot(int step) {
    const int next = shownCommunity_ + step;
    if (next < 0 || next >= kSlotCount) {
        QApplication::beep();
        return;
    }
    KeepCommunitySlot();
    shownCommunity_ = next;
    ShowCommunitySlot();
}

void frmConfiguration::ClearSnmpChanges() {
    for (TrapSlot& slot : traps_) {
        slot.changed = 0;
    }
    for (CommunitySlot& slot : communities_) {
        slot.changed = 0;
    }
}

// Renaming, removing or taking rights from the community this console reaches the card with would
// lock the console out: the person is asked first.
bool frmConfiguration::ConfirmCommunityChange() {
    KeepCommunitySlot();
    const QString own = QString::fromLatin1(snmp::kRequestCommunity.data(),
                                            static_cast<qsizetype>(snmp::kRequestCommunity.size()));
    return !LosesConsoleCommunity(loadedCommunities_, communities_, own) ||
           ShowMessage(kLockOutWarning, kQuestion) == kOk;
}

// One object per request; the first refusal ends the save and is shown.
bool frmConfiguration::SaveSnmpTables() {
    KeepTrapSlot();
    KeepCommunitySlot();
    std::int32_t result = 0;
    const auto set = [&](const QString& oid, const QString& valueText) {
        if (result == 0) {
            result = SetValues(adapter_, {oid}, valueText);
        }
    };
    const auto statusIs = [&](const QString& table, std::size_t slot, const QString& wanted) {
        std::vector<QString> values;
        if (result == 0) {
            result = GetValues(adapter_, {Cell(table, kStatusColumn, slot)}, values);
        }
        return result == 0 && !values.empty() && values.front() == wanted;
    };
    for (std::size_t slot = 0; slot < traps_.size(); ++slot) {
        const TrapSlot& trap = traps_[slot];
        if (trap.changed == 0) {
            continue;
        }
        if (!trap.HasAddress() || trap.community.isEmpty()) {
            set(Cell(kTrapTable, kStatusColumn, slot), ValueItem("1", kNotInUse));
            continue;
        }
        if ((trap.changed & kFirstHalfChanged) != 0) {
            set(Cell(kTrapTable, kAddressColumn, slot), ValueItem("3", trap.address));
        }
        if ((trap.changed & kSecondHalfChanged) != 0) {
            set(Cell(kTrapTable, kSecondColumn, slot), ValueItem("2", trap.community));
        }
        if (statusIs(kTrapTable, slot, kNotInUse)) {
            set(Cell(kTrapTable, kStatusColumn, slot), ValueItem("1", kActive));
        }
    }
    for (std::size_t slot = 0; slot < communities_.size(); ++slot) {
        const CommunitySlot& community = communities_[slot];
        if (community.changed == 0) {
            continue;
        }
        if (community.name.isEmpty()) {
            set(Cell(kCommunityTable, kStatusColumn, slot), ValueItem("1", kNotInUse));
            continue;
        }
        if ((community.changed & kFirstHalfChanged) != 0) {
            set(Cell(kCommunityTable, kAddressColumn, slot), ValueItem("2", community.name));
        }
        set(Cell(kCommunityTable, kSecondColumn, slot), ValueItem("1", QString::number(community.access)));
        if (result == 0 && !statusIs(kCommunityTable, slot, kActive)) {
            set(Cell(kCommunityTable, kStatusColumn, slot), ValueItem("1", kActive));
        }
    }
    if (rows_[kRowAuthTraps].changed) {
        set(kAuthTraps, ValueItem("1", rows_[kRowAuthTraps].value));
    }
    if (result != 0) {
        ShowResult(result, kWarning);
    }
    return result == 0;
}

}  // namespace console
