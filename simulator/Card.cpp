#include "simulator/Card.h"

#include <algorithm>
#include <utility>

#include "simulator/CardOids.h"
#include "simulator/TrayChoices.h"

namespace sim {

namespace {

constexpr size_t HardwareSetLength = 10;  // new IPv4 address, then the card's hardware address

}  // namespace

Card::Card(CardDescription description)
    : description_(std::move(description)), mib_(BuildCardMib(description_, CardLife{clock_, counters_})) {}

// Looked at for every request and every answer: the stored value is read in place.
Ipv4 Card::Address() const {
    const MibValue* address = mib_.Stored(CardIpAddress);
    Ipv4 ip{};
    if (address != nullptr && address->bytes.size() == ip.size()) {
        std::copy(address->bytes.begin(), address->bytes.end(), ip.begin());
    }
    return ip;
}

bool Card::SetPrinterStatus(int32_t status) {
    bool changed = mib_.Get(PrinterStatus)->number != status;
    mib_.Put(PrinterStatus, MibValue::Integer(status));
    return changed;
}

CommunityRight Card::RightOf(std::string_view community) const {
    const MibTable* table = mib_.FindTable(Communities);
    CommunityRight right = CommunityRight::None;
    // Looked at for every request: the rows in place, not ValidRows' copies of them.
    for (const auto& [index, cells] : table->Rows()) {
        if (!table->IsValid(cells) || cells.at(2).bytes != community) {
            continue;
        }
        int64_t access = cells.at(3).number;
        if (access == 2 || access == 3) {
            return CommunityRight::ReadWrite;
        }
        if (access == 1) {
            right = CommunityRight::Read;
        }
    }
    return right;
}

FaultState& Card::Faults(Protocol protocol) {
    switch (protocol) {
        case Protocol::Ipx:
            return faults_[0];
        case Protocol::Ip:
            return faults_[1];
        case Protocol::Dlc:
            break;
    }
    return faults_[2];
}

std::vector<Peer> Card::RegisteredConsoles() const {
    return registrations_.Destinations(*mib_.FindTable(TrapRegistrations));
}

// The address object also takes a 10-byte octet string (new address, hardware address), which a
// console broadcasts to give a new card its first address: the card it names takes the address,
// every other card keeps quiet. nullopt: no such binding; false: one that names another card.
std::optional<bool> Card::TakeAddressByHardware(std::vector<Binding>& bindings) const {
    for (Binding& binding : bindings) {
        if (binding.oid != CardIpAddress || binding.value.type != ValueType::OctetString) {
            continue;
        }
        const std::string& bytes = binding.value.bytes;
        if (bytes.size() != HardwareSetLength) {
            return std::nullopt;  // refused as a bad value by the object's type check
        }
        bool named = std::equal(description_.mac.begin(), description_.mac.end(), bytes.begin() + 4,
                                [](uint8_t mine, char named) { return mine == static_cast<uint8_t>(named); });
        if (!named) {
            return false;
        }
        binding.value = MibValue::Ip({static_cast<uint8_t>(bytes[0]), static_cast<uint8_t>(bytes[1]),
                                      static_cast<uint8_t>(bytes[2]), static_cast<uint8_t>(bytes[3])});
        return true;
    }
    return std::nullopt;
}

CardSetResult Card::Set(std::vector<Binding> bindings, const Peer& from) {
    CardSetResult result;
    if (TakeAddressByHardware(bindings) == false) {
        result.ignored = true;
        return result;
    }
    result.outcome = mib_.Set(bindings);
    if (result.outcome.status == ErrorStatus::NoError) {
        AfterSet(bindings, from);
    }
    return result;
}

void Card::AfterSet(const std::vector<Binding>& bindings, const Peer& from) {
    bool menuReset = false;
    bool factoryReset = false;
    registrations_.AfterSet(*mib_.FindTable(TrapRegistrations), bindings, from);
    for (const Binding& binding : bindings) {
        menuReset = menuReset || binding.oid == MenuClear;
        factoryReset = factoryReset || binding.oid == FactoryDefault;
        if (binding.oid == DownloadStart) {
            order_ = DownloadObjects();
            mib_.Put(DownloadStart, MibValue::Integer(0));
        }
        if (IsPanelCommand(binding.oid)) {
            mib_.Put(binding.oid, MibValue::Integer(0));
        }
    }
    if (menuReset) {
        for (const Binding& setting : FrontPanelDefaults(description_.engine)) {
            mib_.Put(setting.oid, setting.value);
        }
    }
    if (factoryReset) {
        RestoreFactorySettings();
    }
    // Only what may move the tray or its settings: most sets (a trap registration's above all) do not.
    if (menuReset || factoryReset || TouchesTray(bindings)) {
        FollowTray(mib_, description_.engine);
    }
}

std::optional<UpgradeOrder> Card::TakeUpgradeOrder() {
    return std::exchange(order_, std::nullopt);
}

UpgradeOrder Card::DownloadObjects() const {
    UpgradeOrder order;
    const std::optional<MibValue> server = mib_.Get(DownloadServer);
    if (server && server->bytes.size() == order.server.size()) {
        std::copy(server->bytes.begin(), server->bytes.end(), order.server.begin());
    }
    order.file = mib_.Get(DownloadFile)->bytes;
    return order;
}

void Card::InstallFirmware(std::vector<uint8_t> file, std::chrono::milliseconds restart) {
    upgrade_.Received(std::move(file), restart);
    const MibValue version = MibValue::Text(upgrade_.Version());
    mib_.Put(PanelVersion, version);
    mib_.Put(CardVersion, version);
}

// Every setting back to what the description gives, except the address the card now has and the
// printer's state, which are not settings.
void Card::RestoreFactorySettings() {
    CardDescription factory = description_;
    factory.ip = Address();
    factory.status = static_cast<int32_t>(mib_.Get(PrinterStatus)->number);
    mib_ = BuildCardMib(factory, CardLife{clock_, counters_});
    registrations_.Clear();
}

}  // namespace sim
