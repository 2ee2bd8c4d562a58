#include "simulator/CardMib.h"
#include "simulator/CardOids.h"

namespace sim {

namespace {

constexpr int32_t On = 1;
constexpr int32_t Off = 2;

int32_t Switch(bool on) {
    return on ? On : Off;
}

void AddNetWare(Mib& mib) {
    mib.Add(Private({12, 1, 1, 0}), MibValue::Integer(5), Access::ReadWrite, InRange(1, 3600));
    mib.Add(Private({12, 1, 2, 0}), MibValue::Integer(30), Access::ReadWrite, InRange(1, 3600));
}

void AddNetwork(Mib& mib, const CardDescription& card) {
    auto rw = [&mib](uint32_t item, MibValue value, ValueRule rule) {
        mib.Add(Private({12, 2, item, 0}), std::move(value), Access::ReadWrite, std::move(rule));
    };
    rw(1, MibValue::Integer(1), InRange(1, 4));  // static, BOOTP, RARP, DHCP
    // Firmware download: the control words, the TFTP server and the file to fetch.
    rw(2, MibValue::Integer(1), InRange(1, 2));
    rw(3, MibValue::Integer(1), InRange(1, 2));
    rw(4, MibValue::Integer(1), InRange(1, 2));
    rw(7, MibValue::Ip({0, 0, 0, 0}), {});
    rw(8, MibValue::Text(""), TextUpTo(127));
    rw(5, MibValue::Ip(card.ip), {});
    rw(6, MibValue::Ip({255, 0, 0, 0}), {});
    rw(9, MibValue::Ip({0, 0, 0, 0}), {});
    // IPX frame types: automatic, 802.2, 802.3, Ethernet II, SNAP (2 selected, 1 not).
    rw(10, MibValue::Integer(2), OneOf({1, 2}));
    for (uint32_t item = 11; item <= 14; ++item) {
        rw(item, MibValue::Integer(1), OneOf({1, 2}));
    }
}

void AddProtocolSwitches(Mib& mib, const CardDescription& card) {
    mib.Add(Private({12, 3, 1, 0}), MibValue::Integer(card.appleTalk ? 5 : 4), Access::ReadWrite,
            OneOf({4, 5}));
    bool ipx = (card.protocols & Bit(Protocol::Ipx)) != 0;
    bool ip = (card.protocols & Bit(Protocol::Ip)) != 0;
    mib.Add(Private({12, 3, 2, 0}), MibValue::Integer(Switch(ipx)), Access::ReadWrite, OneOf({On, Off}));
    mib.Add(Private({12, 3, 3, 0}), MibValue::Integer(Switch(ip)), Access::ReadWrite, OneOf({On, Off}));
    mib.Add(Private({12, 3, 5, 0}), MibValue::Integer(Off), Access::ReadWrite, OneOf({On, Off}));
}

void AddAppleTalkSettings(Mib& mib, const CardDescription& card) {
    mib.Add(Private({12, 5, 1, 0}), MibValue::Text("No error"));
    mib.Add(Private({12, 5, 2, 0}), MibValue::Integer(50), Access::ReadWrite, InRange(0, 255));
    const uint8_t router[] = {0xFF, 0x01, 0x81};
    mib.Add(Private({12, 5, 3, 0}), MibValue::Bytes(router, sizeof router));
    mib.Add(Private({12, 5, 4, 0}), MibValue::Integer(1));
    mib.Add(Private({12, 5, 5, 0}), MibValue::Text("LaserWriter"));
    mib.Add(Private({12, 5, 6, 0}), MibValue::Text(card.name), Access::ReadWrite, TextUpTo(32));
    mib.Add(Private({12, 5, 7, 0}), MibValue::Integer(60), Access::ReadWrite, InRange(0, 255));
}

void AddSecurity(Mib& mib, const CardDescription& card) {
    auto rw = [&mib](uint32_t item, MibValue value, ValueRule rule) {
        mib.Add(Private({12, 6, 1, item, 0}), std::move(value), Access::ReadWrite, std::move(rule));
    };
    rw(1, MibValue::Integer(Switch(!card.password.empty())), OneOf({On, Off}));
    rw(2, MibValue::Text(card.password), TextUpTo(16));
    rw(3, MibValue::Text(""), TextUpTo(16));
    rw(5, MibValue::Integer(0), OneOf({1}));  // start the firmware download
    rw(6, MibValue::Integer(card.category), InRange(1, 3));
    rw(8, MibValue::Integer(0), OneOf({1}));  // back to factory settings
}

void AddIpp(Mib& mib, const CardDescription& card) {
    auto ipp = [](std::initializer_list<uint32_t> tail) { return Private({12, 7}).Concat(Oid(tail)); };
    auto text = [&](std::initializer_list<uint32_t> tail, std::string value) {
        mib.Add(ipp(tail), MibValue::Text(std::move(value)), Access::ReadWrite, TextUpTo(127));
    };
    text({1, 1, 2, 1}, "ipp://" + card.name + "/ipp");
    text({2, 0}, card.name);
    text({3, 0}, card.location);
    text({4, 0}, "Network printer");
    text({5, 0}, "");
    mib.Add(ipp({6, 0}), MibValue::Text("Administrator"));
    mib.Add(ipp({7, 0}), MibValue::Text("Vorlane"));
    mib.Add(ipp({8, 0}), MibValue::Integer(0));
    text({9, 0}, "");
    mib.Add(ipp({10, 0}), MibValue::Integer(300), Access::ReadWrite, InRange(0, 3600));
    mib.Add(ipp({11, 0}), MibValue::Integer(10), Access::ReadWrite, InRange(0, 100));
}

void AddDlcCounters(Mib& mib, const CardDescription& card, const CardLife& life) {
    bool dlc = (card.protocols & Bit(Protocol::Dlc)) != 0;
    // Invalid addresses, polls and poll responses in and out, busies, I frames, protocol
    // errors, time-outs, duplicate frames in and out.
    static const uint32_t rates[] = {0, 4, 4, 4, 4, 0, 0, 30, 25, 0, 1, 0, 0};
    for (uint32_t item = 1; item <= 13; ++item) {
        mib.AddLive(Private({12, 8, 1, item, 0}),
                    Growing(card, life, 1280 + item, dlc ? rates[item - 1] : 0));
    }
}

}  // namespace

void AddPrintServerObjects(Mib& mib, const CardDescription& card, const CardLife& life) {
    AddNetWare(mib);
    AddNetwork(mib, card);
    AddProtocolSwitches(mib, card);
    mib.Add(Private({12, 4, 2, 0}), MibValue::Text(""));
    AddAppleTalkSettings(mib, card);
    AddSecurity(mib, card);
    AddIpp(mib, card);
    AddDlcCounters(mib, card, life);
    mib.Add(Private({12, 10, 1, 0}), MibValue::Text("WORKGROUP"), Access::ReadWrite, TextUpTo(15));
}

}  // namespace sim
