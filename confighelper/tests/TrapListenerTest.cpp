#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

#include "confighelper/TrapListener.h"
#include "snmp/traps/TrapCodec.h"

namespace {

// A trap of status `status` as a card sends it.
std::vector<std::uint8_t> StatusTrap(std::int32_t status) {
    std::string community = "public";
    std::string enterprise = "1.3.6.1.4.1.32473";
    std::uint8_t agent[4] = {10, 0, 0, 5};
    std::string oid = "1.3.6.1.4.1.32473.11.5.1.1.9.1.0";
    VarBind binding{oid.data(), static_cast<std::int32_t>(oid.size()), 1, &status, sizeof status};
    TrapParam trap{};
    trap.Community = community.data();
    trap.CommunityLength = static_cast<std::uint16_t>(community.size());
    trap.Enterprise = enterprise.data();
    trap.EnterpriseLength = static_cast<std::uint16_t>(enterprise.size());
    trap.AgentAddress = agent;
    trap.AgentAddressLength = 4;
    trap.GenericTrap = 6;
    trap.SpecificTrap = 18;
    trap.BindingCount = 1;
    trap.Bindings = &binding;
    std::vector<std::uint8_t> bytes(512);
    std::size_t written = 0;
    EXPECT_EQ(snmp::EncodeTrap(trap, bytes.data(), bytes.size(), written), snmp::kEncodeOk);
    bytes.resize(written);
    return bytes;
}

// Datagrams waiting on a transport; a hook runs inside each receive, as a notice handler that pumps
// messages would run there.
class QueuedTransport : public DatagramTransport {
  public:
    QueuedTransport() : DatagramTransport(1, 0, 0, nullptr, nullptr) {}
    TransportResult Bind(std::uint16_t) override { return kTransportOk; }
    TransportResult Broadcast(const void*, std::uint32_t, std::uint16_t) override {
        return kTransportSendFailed;
    }
    TransportResult SendTo(const void*, std::uint32_t, const char*, std::uint16_t) override {
        return kTransportSendFailed;
    }
    TransportResult SendToDefault(const void*, std::uint32_t, const char*) override {
        return kTransportSendFailed;
    }
    TransportResult GetLocalAddress(std::uint8_t*) override { return 0; }
    TransportResult Receive(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                            std::uint16_t* port) override {
        ++receives;
        if (duringReceive) {
            duringReceive();
        }
        if (waiting.empty() || waiting.front().size() > size) {
            return kTransportTimedOut;
        }
        std::copy(waiting.front().begin(), waiting.front().end(), static_cast<std::uint8_t*>(buffer));
        *length = static_cast<std::uint32_t>(waiting.front().size());
        const std::uint8_t from[4] = {192, 168, 1, 20};
        std::copy(from, from + 4, sender);
        *port = 161;
        waiting.pop_front();
        return kTransportOk;
    }

    std::deque<std::vector<std::uint8_t>> waiting;
    std::function<void()> duringReceive;
    int receives = 0;
};

// The notice window: a plain window whose text is the last line set.
class TrapListenerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::RegisterWindowClass("TRAP_LISTENER_TEST", plat::DefWindowProc);
        window = plat::CreateWindow("TRAP_LISTENER_TEST", "");
    }
    void TearDown() override { plat::DestroyWindow(window); }
    plat::WindowHandle window = 0;
};

TEST_F(TrapListenerTest, NoticesArrivingDuringADrainOnlyCountAndTheDrainTakesThemAll) {
    auto owned = std::make_unique<QueuedTransport>();
    QueuedTransport& transport = *owned;
    TrapListener listener(std::move(owned), kProtocolIp);
    transport.waiting = {StatusTrap(1), StatusTrap(2), StatusTrap(3)};
    // The second and third datagrams are announced while the first is being received.
    int announced = 0;
    transport.duringReceive = [&] {
        if (announced < 2) {
            ++announced;
            listener.OnDatagramNotify(window);
        }
    };
    listener.OnDatagramNotify(window);
    EXPECT_EQ(transport.receives, 3) << "one drain, three receives, no more";
    EXPECT_TRUE(transport.waiting.empty());
    EXPECT_EQ(plat::GetWindowText(window), "2,192.168.1.20,3");

    // The count went back to 0: a later notice takes one datagram.
    transport.duringReceive = nullptr;
    transport.waiting = {StatusTrap(-1)};
    listener.OnDatagramNotify(window);
    EXPECT_EQ(transport.receives, 4);
    EXPECT_EQ(plat::GetWindowText(window), "2,192.168.1.20,-1");
}

TEST_F(TrapListenerTest, AFailedReceiveEndsTheDrain) {
    auto owned = std::make_unique<QueuedTransport>();
    QueuedTransport& transport = *owned;
    TrapListener listener(std::move(owned), kProtocolIp);
    listener.OnDatagramNotify(window);
    EXPECT_EQ(transport.receives, 1);
    transport.waiting = {StatusTrap(4)};
    listener.OnDatagramNotify(window);
    EXPECT_EQ(transport.receives, 2) << "nothing left over from the failed drain";
    EXPECT_EQ(plat::GetWindowText(window), "2,192.168.1.20,4");
}

}  // namespace
