#include "portmonitor/tests/CardBed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

#include "platform/lan/LanSettings.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace portmon::test {

namespace {

std::string NewFolder() {
    std::string folder = ::testing::TempDir() + "cards.XXXXXX";
    return mkdtemp(folder.data()) != nullptr ? folder : ::testing::TempDir();
}

}  // namespace

CardBed::CardBed(size_t cards, uint8_t protocols)
    : folder_(NewFolder()),
      listener_(sim::JobListenerOptions{.keeping = {.folder = folder_}}),
      protocols_(protocols) {
    for (size_t i = 0; i < cards; ++i) {
        listener_.AddCard(Card(i));
    }
    std::string error;
    EXPECT_TRUE(listener_.Start(error)) << error;
}

CardBed::~CardBed() {
    listener_.Stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::vector<uint8_t> CardBed::Bytes(const sim::JobRecord& job) {
    std::ifstream file(job.file, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<sim::JobRecord> CardBed::JobsSince(size_t card, size_t from, size_t count,
                                               std::chrono::milliseconds timeout) const {
    EXPECT_TRUE(listener_.WaitForJobs(card, count, timeout)) << card;
    std::vector<sim::JobRecord> jobs = listener_.Jobs(card);
    jobs.erase(jobs.begin(), jobs.begin() + static_cast<std::ptrdiff_t>(std::min(from, jobs.size())));
    return jobs;
}

sim::CardDescription CardBed::Card(size_t card) const {
    sim::CardDescription description;
    description.name = "Card-" + std::to_string(card + 1);
    description.mac = {0x00, 0xC0, 0xDE, 0x00, 0x06, static_cast<uint8_t>(card + 1)};
    description.ip = {127, 0, 6, static_cast<uint8_t>(card + 1)};
    description.protocols = protocols_;
    return description;
}

std::string CardBed::Mac(size_t card) const {
    char text[13];
    std::snprintf(text, sizeof text, "00C0DE0006%02X", static_cast<unsigned>(card + 1));
    return text;
}

std::string CardBed::Ip(size_t card) const {
    return "127.0.6." + std::to_string(card + 1);
}

std::string CardBed::Ipx(size_t card) const {
    char network[9];
    std::snprintf(network, sizeof network, "%08X", plat::LocalIpxNetwork());
    return network + Mac(card);
}

void CardBed::StoreCard(size_t card, uint32_t preferred, uint8_t protocols) const {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + Mac(card);
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, path.c_str());
    ASSERT_TRUE(entry);
    entry->WriteText("Print Server Name", Card(card).name);
    entry->WriteText("MAC Address", Mac(card));
    entry->WriteText("IP Address", Ip(card));
    entry->WriteText("IPX Address", Ipx(card));
    entry->WriteText("Print Server Description", "Print room");
    entry->WriteText("DNS Name", "");
    entry->WriteNumber("pProtocol", preferred);
    entry->WriteNumber("cProtocols", protocols != 0 ? protocols : protocols_);
    entry->WriteNumber("Category", 2);
}

uint32_t CardBed::Category(size_t card) const {
    const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + Mac(card);
    std::optional<plat::StoreKeyHandle> entry =
        plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, path.c_str());
    return entry ? entry->ReadNumber("Category").value_or(0xFFFFFFFF) : 0xFFFFFFFF;
}

void CardBed::StoreQuickSettings() {
    ASSERT_TRUE(StoreLinkWaits(300, 3));
    std::optional<plat::StoreKeyHandle> key =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kPrintMonitorKey);
    ASSERT_TRUE(key);
    key->WriteNumber("BusyWait", 100);
}

bool CardBed::StoreLinkWaits(uint32_t timeOutMs, uint32_t retries) {
    std::optional<plat::StoreKeyHandle> key =
        plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kPrintMonitorKey);
    if (!key) {
        return false;
    }
    key->WriteNumber("LinkTimeOut", timeOutMs);
    key->WriteNumber("LinkRetries", retries);
    return true;
}

std::vector<uint8_t> JobBytes(size_t count, uint32_t seed) {
    std::vector<uint8_t> bytes(count);
    uint32_t state = seed;
    for (uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

uint32_t Sum(const std::vector<uint8_t>& bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), 0u);
}

}  // namespace portmon::test
