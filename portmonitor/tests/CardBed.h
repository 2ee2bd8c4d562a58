#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "simulator/JobListener.h"

namespace portmon::test {

// Simulated print server cards with their job listeners, and their entries in the device store as
// detection would have written them. Card i has the address 127.0.6.(i + 1) and the hardware address
// 00C0DE0006 followed by i + 1 in two digits. The listeners write each job's bytes into a folder of
// the bed's own, removed with it.
class CardBed {
  public:
    // `protocols`: the card's protocol bits (1 IPX, 2 IP, 4 DLC).
    explicit CardBed(size_t cards, uint8_t protocols = 7);
    ~CardBed();

    sim::JobListener& Listener() { return listener_; }
    // Every data byte of the job, from its file.
    static std::vector<uint8_t> Bytes(const sim::JobRecord& job);
    // The jobs the card logged from the `from`th on, once it logged `count` in all (a failure of the
    // test when it did not within the time).
    std::vector<sim::JobRecord> JobsSince(size_t card, size_t from, size_t count,
                                          std::chrono::milliseconds timeout) const;
    std::string Mac(size_t card) const;
    std::string Ip(size_t card) const;
    std::string Ipx(size_t card) const;

    // Writes the card's device store entry ("Category" 2) with the preferred protocol and the
    // protocol set (0: the card's own).
    void StoreCard(size_t card, uint32_t preferred, uint8_t protocols = 0) const;
    uint32_t Category(size_t card) const;
    // Short waits for the links, so that failures come quickly.
    static void StoreQuickSettings();
    // The monitor's wait for a link (LinkTimeOut) and how many times it waits (LinkRetries); false when
    // the settings cannot be written.
    static bool StoreLinkWaits(uint32_t timeOutMs, uint32_t retries);

    // The card's description, for a simulator that answers SNMP at the card's addresses.
    sim::CardDescription Card(size_t card) const;

  private:
    std::string folder_;
    sim::JobListener listener_;
    uint8_t protocols_;
};

// Bytes of a job: a pattern that shows a doubled or lost byte.
std::vector<uint8_t> JobBytes(size_t count, uint32_t seed = 1);
uint32_t Sum(const std::vector<uint8_t>& bytes);

}  // namespace portmon::test
