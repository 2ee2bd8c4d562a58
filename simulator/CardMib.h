#pragma once

#include "simulator/AgentCounters.h"
#include "simulator/CardClock.h"
#include "simulator/CardDescription.h"
#include "simulator/Mib.h"

namespace sim {

// What live objects of a card's MIB read: its clock and its agent's counters. Both must outlive
// the MIB.
struct CardLife {
    const CardClock& clock;
    const AgentCounters& counters;
};

// Every object the console reads or writes, with the values a card of this description and
// engine would hold after a factory reset.
Mib BuildCardMib(const CardDescription& card, const CardLife& life);

// The pieces of BuildCardMib, one per object family.
void AddMibTwoObjects(Mib& mib, const CardDescription& card, const CardLife& life);
void AddAppleTalkObjects(Mib& mib, const CardDescription& card, const CardLife& life);
void AddIpxObjects(Mib& mib, const CardDescription& card, const CardLife& life);
void AddFrontPanelObjects(Mib& mib, const CardDescription& card);
void AddPrintServerObjects(Mib& mib, const CardDescription& card, const CardLife& life);
void AddPrintServerTables(Mib& mib);

// The front-panel settings of an engine with the values a menu reset gives them.
std::vector<Binding> FrontPanelDefaults(EngineType engine);

// The choice mask an engine offers for a front-panel setting whatever the tray; 0 for none.
int32_t OfferedChoices(EngineType engine, const Oid& mask);

// A maintenance command object: the card acts on a write and reads 0 again afterwards.
bool IsPanelCommand(const Oid& oid);

// A traffic counter that grows with the card's uptime from a base that differs from card to card.
std::function<MibValue()> Growing(const CardDescription& card, const CardLife& life, uint32_t salt,
                                  uint32_t perMinute);

}  // namespace sim
