#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>

#include "platform/dlc/DlcInterface.h"

// One DLC command as the command layer issues it: the command block with an event of its own and,
// in DlcTableCommand, its parameter table. A command stays alive until the adapter is done with it:
// one whose wait ran out is kept by the layer until it completes (DlcRetire).
struct DlcCommand {
    explicit DlcCommand(std::uint8_t code) { block.command = code; }
    DlcCommand(const DlcCommand&) = delete;
    DlcCommand& operator=(const DlcCommand&) = delete;
    virtual ~DlcCommand() = default;

    plat::DlcCommandBlock block{};
    plat::CompletionEvent event;
    // The adapter the command is for when it is not the process's current one (bgApplId): a
    // library closes the adapter it opened itself.
    std::optional<std::uint8_t> adapterId;
};

template <class Table>
struct DlcTableCommand : DlcCommand {
    explicit DlcTableCommand(std::uint8_t code) : DlcCommand(code) { block.parameter.table = &table; }

    Table table{};
};

using DlcReadCommand = DlcTableCommand<plat::DlcReadParms>;

// A new command, or null when there is no memory for it (the layer then answers kDlcNoMemory): the
// layer's functions run in destructors and reader threads, where nothing may throw.
template <class Command, class... Args>
std::unique_ptr<Command> MakeDlcCommand(Args... args) {
    return std::unique_ptr<Command>(new (std::nothrow) Command(args...));
}

// How long a waited command may take; no DLC wait is unbounded.
inline constexpr std::uint32_t kDlcCommandWaitMs = 10000;

// Hands the command to the adapter, carrying its own adapterId, else the id of the adapter open that
// holds the SAP it concerns (DlcSapAdapters.h), else bgApplId; and, withEvent, the
// command's own event (without it a command that completes later is reported through a READ). 0
// accepted; 1 when DLC is not available or the adapter refused the command.
int DlcIssue(DlcCommand& command, bool withEvent);

// Issues the command and waits at most timeoutMs for it. 0 when it completed with status 0; 1
// otherwise. When the wait runs out the command is handed to DlcRetire and `command` becomes null.
int DlcExecuteCommand(std::unique_ptr<DlcCommand>& command, std::uint32_t timeoutMs);

template <class Command>
int DlcExecute(std::unique_ptr<Command>& command, std::uint32_t timeoutMs = kDlcCommandWaitMs) {
    std::unique_ptr<DlcCommand> base(command.release());
    const int result = DlcExecuteCommand(base, timeoutMs);
    command.reset(static_cast<Command*>(base.release()));
    return result;
}

// Frees a command once the adapter is done with it (its event is set): at once, or later, when a
// retired command is next looked at.
void DlcRetire(std::unique_ptr<DlcCommand> command);
// The retired commands that the adapter still holds.
std::size_t DlcRetiredCount();

// Milliseconds left until the deadline, 0 once it has passed.
inline std::uint32_t MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
            .count();
    return static_cast<std::uint32_t>(std::clamp<long long>(left, 0, UINT32_MAX - 1));
}
