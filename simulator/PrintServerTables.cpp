#include "simulator/CardMib.h"
#include "simulator/CardOids.h"

namespace sim {

namespace {

constexpr size_t SlotCount = 5;
constexpr size_t MaxServiceRows = 16;
constexpr size_t MaxRegistrations = 32;

TableColumn Column(uint32_t id, ValueType type, MibValue initial, ValueRule rule = {}) {
    return TableColumn{id, type, Access::ReadWrite, std::move(initial), std::move(rule), false};
}

TableColumn StatusColumn(uint32_t id) {
    return Column(id, ValueType::Integer, MibValue::Integer(RowCreate));
}

// The queues the card services for NetWare: queue path, mode, attachment state, print server
// path; rows made and changed through create, modify, valid and delete.
MibTable NetWareServiceTable() {
    TableColumn index{1, ValueType::Integer, Access::ReadOnly, MibValue::Integer(0), {}, true};
    TableColumn state{4, ValueType::Integer, Access::ReadOnly, MibValue::Integer(0), {}, false};
    return MibTable(NetWareServices,
                    {index, Column(2, ValueType::OctetString, MibValue::Text(""), TextUpTo(255)),
                     Column(3, ValueType::Integer, MibValue::Integer(1), InRange(1, 4)), state,
                     Column(5, ValueType::OctetString, MibValue::Text(""), TextUpTo(255)), StatusColumn(6)},
                    6, RowPolicy::Entry, IndexShape{1, 1, 0x7FFFFFFF}, MaxServiceRows);
}

// Five trap receivers of the SNMP page: address and community.
MibTable TrapPairTable() {
    return MibTable(TrapPairs,
                    {Column(2, ValueType::IpAddress, MibValue::Ip({0, 0, 0, 0})),
                     Column(3, ValueType::OctetString, MibValue::Text(""), TextUpTo(32)), StatusColumn(4)},
                    4, RowPolicy::Slots, IndexShape{1, 1, SlotCount}, SlotCount);
}

// Consoles registered for status traps: IP address, IPX address, the card's preferred
// protocol, the protocol mask of the addresses; indexed by six arcs of 0 to 255.
MibTable RegistrationTable() {
    return MibTable(TrapRegistrations,
                    {Column(2, ValueType::IpAddress, MibValue::Ip({0, 0, 0, 0})),
                     Column(3, ValueType::OctetString, MibValue::Text(""), TextUpTo(10)),
                     Column(4, ValueType::Integer, MibValue::Integer(0), OneOf({0, 1, 2, 4})),
                     Column(5, ValueType::Integer, MibValue::Integer(0), InRange(0, 7)), StatusColumn(7)},
                    7, RowPolicy::Entry, IndexShape{6, 0, 255}, MaxRegistrations);
}

// Five community names with their access: 1 read, 2 write, 3 both, 4 none.
MibTable CommunityTable() {
    MibTable table(Communities,
                   {Column(2, ValueType::OctetString, MibValue::Text(""), TextUpTo(32)),
                    Column(3, ValueType::Integer, MibValue::Integer(4), InRange(1, 4)), StatusColumn(4)},
                   4, RowPolicy::Slots, IndexShape{1, 1, SlotCount}, SlotCount);
    table.Put(Oid{1}, 2, MibValue::Text("k!r@o#v$e%t"));
    table.Put(Oid{1}, 3, MibValue::Integer(3));
    table.Put(Oid{1}, 4, MibValue::Integer(RowValid));
    table.Put(Oid{2}, 2, MibValue::Text("public"));
    table.Put(Oid{2}, 3, MibValue::Integer(1));
    table.Put(Oid{2}, 4, MibValue::Integer(RowValid));
    return table;
}

}  // namespace

void AddPrintServerTables(Mib& mib) {
    mib.AddTable(NetWareServiceTable());
    mib.AddTable(TrapPairTable());
    mib.AddTable(RegistrationTable());
    mib.AddTable(CommunityTable());
}

}  // namespace sim
