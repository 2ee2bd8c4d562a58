#pragma once

#include <cstdint>
#include <optional>

#include "platform/dlc/DlcInterface.h"

// The adapter open that holds each SAP this deliverable opened. Every library of a process opens the
// adapter for itself, and a new SAP goes to the last open (bgApplId); from then on the SAP, its link
// stations, the buffers of the frames they receive and the cancels of their READs stay with the open
// that holds it, so that a library loaded later, whose open takes over bgApplId, leaves a SAP that is
// already open working (the trap listener's lives as long as the console). A station id's high byte
// is its SAP.
void NoteSapOpened(std::uint16_t stationId, std::uint8_t adapterId);
void NoteSapClosed(std::uint16_t stationId);

// The adapter open that holds what the command names (a SAP or link station, a received frame's
// buffers, a READ to cancel); none for a command that opens a SAP or concerns the adapter itself.
std::optional<std::uint8_t> HoldingAdapter(const plat::DlcCommandBlock& block);
