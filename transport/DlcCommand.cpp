#include "transport/DlcCommand.h"

#include <list>
#include <mutex>
#include <new>

#include "platform/services/Undestroyed.h"

namespace {

// Commands whose wait ran out, kept until the adapter is done with them. A list: once empty it holds
// no memory that the library's unload would leave behind.
struct RetiredCommands {
    std::mutex lock;
    std::list<std::unique_ptr<DlcCommand>> commands;
};

RetiredCommands& Retired() {
    return plat::Undestroyed<RetiredCommands>();
}

// Frees the retired commands that the adapter is done with; under the lock.
void Purge(RetiredCommands& retired) {
    std::erase_if(retired.commands, [](const std::unique_ptr<DlcCommand>& c) { return c->event.IsSet(); });
}

}  // namespace

int DlcExecuteCommand(std::unique_ptr<DlcCommand>& command, std::uint32_t timeoutMs) {
    if (DlcIssue(*command, true) != 0) {
        return 1;
    }
    if (!command->event.Wait(timeoutMs)) {
        DlcRetire(std::move(command));
        return 1;
    }
    return command->block.status == plat::kDlcStatusSuccess ? 0 : 1;
}

void DlcRetire(std::unique_ptr<DlcCommand> command) {
    RetiredCommands& retired = Retired();
    std::lock_guard guard(retired.lock);
    if (command && !command->event.IsSet()) {
        try {
            retired.commands.push_back(std::move(command));
        } catch (const std::bad_alloc&) {
            command.release();  // the adapter still holds it: never freed under it
        }
    }
    Purge(retired);
}

std::size_t DlcRetiredCount() {
    RetiredCommands& retired = Retired();
    std::lock_guard guard(retired.lock);
    Purge(retired);
    return retired.commands.size();
}
