#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "console/core/DeviceWorkers.h"
#include "console/core/PrintServerTable.h"

// After the table is reloaded the console reads each print server's printer status once and
// registers itself as the receiver of its status traps.
namespace console {

enum AddressKind : int { kIpxAddress = 1, kIpAddress = 2, kMacAddress = 4, kDnsName = 8 };

// The status poll of the entries the last detection found, started while the table is still being
// read: each entry is asked as soon as it is added, and Finish gives the statuses in table order.
class StatusPoll {
  public:
    StatusPoll();
    ~StatusPoll();
    StatusPoll(const StatusPoll&) = delete;
    StatusPoll& operator=(const StatusPoll&) = delete;

    // The table's entry at this index, complete as read; polled when it was detected.
    void Add(std::size_t index);
    // Gives each polled entry its status in table order, with a progress step for each.
    void Finish(const EntryProgress& progress);

  private:
    struct Polled;

    std::mutex mutex_;  // over the list, which grows while the workers read it
    std::vector<std::unique_ptr<Polled>> polled_;
    DeviceWork work_;
};

// The first entry whose address of the kind is the given one, whether detected or not.
void PollOnePrinterStatus(const QString& address, int kind);

}  // namespace console
