#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "confighelper/Halbrin.h"
#include "confighelper/RegistryValue.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"
#include "platform/window/Window.h"
#include "simulator/Simulator.h"
#include "snmp/exports/Vantorel.h"
#include "transport/DeviceStorePath.h"

namespace helpertest {

// A hidden window of the test that keeps every text set on it, as the console's text boxes do.
class TextRecorder {
  public:
    TextRecorder();
    ~TextRecorder();
    plat::WindowHandle Handle() const { return window_; }
    const std::vector<std::string>& Texts() const { return Recorded(window_); }
    void Clear();
    // Pumps this thread's messages until `count` texts arrived or `ms` passed.
    bool WaitFor(std::size_t count, std::uint32_t ms);
    // Runs `hook` on each text once it is recorded, inside the call that set it.
    void OnText(std::function<void(const std::string&)> hook) { Hooks()[window_] = std::move(hook); }

    static std::vector<std::string>& Recorded(plat::WindowHandle window);
    static std::map<plat::WindowHandle, std::function<void(const std::string&)>>& Hooks();

  private:
    plat::WindowHandle window_ = 0;
};

// The network number of the simulated LAN segment, which the cards report as theirs.
inline constexpr std::array<std::uint8_t, 4> kLanNetwork = {0x00, 0xFA, 0xCA, 0xDE};

inline sim::Mac CardMac(std::size_t i) {
    return {0x00, 0x00, 0x5E, 0x10, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
}

inline sim::Ipv4 CardIp(std::size_t i) {
    return {127, 1, static_cast<std::uint8_t>(i / 250), static_cast<std::uint8_t>(i % 250 + 1)};
}

inline std::string AdapterName(std::size_t i) {
    char text[13];
    const sim::Mac mac = CardMac(i);
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return text;
}

inline std::string Dotted(const sim::Ipv4& ip) {
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
}

inline sim::CardDescription NumberedCard(std::size_t i, std::uint8_t protocols = sim::AllProtocols) {
    sim::CardDescription card;
    card.name = "PS-" + std::to_string(i);
    card.location = "Floor " + std::to_string(i % 7);
    card.mac = CardMac(i);
    card.ip = CardIp(i);
    card.ipxNetwork = kLanNetwork;
    card.protocols = protocols;
    return card;
}

// Creates the key when it is missing and stores the number.
void SetNumber(const std::string& key, const char* name, std::uint32_t value);
// The number, or nothing when the key or the value is missing.
std::optional<std::uint32_t> ReadNumber(const std::string& key, const char* name);

// The console's side of the library in the test network: the settings kept short, the library
// started with a notice window, a simulator with the cards each test adds, and the library cleaned
// up afterwards.
class HelperTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the simulator with the cards added so far.
    void StartCards();

    std::uint32_t StoredNumber(const std::string& adapter, const char* name);
    std::string StoredText(const std::string& adapter, const char* name);
    bool Stored(const std::string& adapter);
    std::vector<std::string> StoredAdapters();

    std::unique_ptr<sim::Simulator> cards = std::make_unique<sim::Simulator>();
    TextRecorder notices;
    // The listening time of a detection is twice this many seconds.
    std::uint32_t autoDetectTimeout = 1;
};

}  // namespace helpertest
