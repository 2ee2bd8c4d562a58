#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/MessagePort.h"
#include "platform/window/RuntimeFolder.h"
#include "platform/window/Window.h"
#include "platform/window/WireMessage.h"
#include "platform/window/tests/PumpUntil.h"

namespace {

using windowtest::PumpUntil;

constexpr std::uint32_t kArrived = plat::kWmUser + 1;
std::vector<plat::WParam> arrived;

plat::LResult PortTestProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                           plat::LParam lParam) {
    if (message == kArrived) {
        arrived.push_back(wParam);
        return 0;
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

sockaddr_un Address(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

// Another program of the same user that writes to this process's message port whatever it likes.
class ForeignSender {
  public:
    ForeignSender() : path_(plat::RuntimeFolder() + "/foreign-sender") {
        unlink(path_.c_str());
        const sockaddr_un own = Address(path_);
        fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        bind(fd_, reinterpret_cast<const sockaddr*>(&own), sizeof own);
    }
    ~ForeignSender() {
        close(fd_);
        unlink(path_.c_str());
    }

    void SendBytes(const std::vector<std::uint8_t>& bytes) const {
        const sockaddr_un port = Address(plat::MessagePort::PathOf(plat::SelfIdentity()));
        ASSERT_EQ(
            sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&port), sizeof port),
            static_cast<ssize_t>(bytes.size()));
    }
    void Send(plat::WireMessage::Kind kind, const plat::Message& message, std::uint64_t serial = 1) const {
        plat::WireMessage wire;
        wire.kind = kind;
        wire.message = message;
        wire.serial = serial;
        SendBytes(plat::EncodeWire(wire));
    }
    // The answer to a sent message, while this thread keeps pumping so that it is served.
    std::optional<plat::WireMessage> Answer() const {
        std::vector<std::uint8_t> buffer(plat::kMaxWireSize);
        ssize_t length = -1;
        PumpUntil([&] {
            length = recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
            return length >= 0;
        });
        return length < 0 ? std::nullopt : plat::DecodeWire(buffer.data(), static_cast<std::size_t>(length));
    }

  private:
    std::string path_;
    int fd_ = -1;
};

// Datagrams from other processes are untrusted bytes: none of them may reach a window as a pointer or
// stop the port.
TEST(MessagePort, ForeignDatagramsCannotHarmTheReceiver) {
    plat::RegisterWindowClass("PortTestClass", PortTestProc);
    const plat::WindowHandle window = plat::CreateWindow("PortTestClass", "port title");
    ASSERT_NE(window, 0u);
    arrived.clear();
    const ForeignSender foreign;
    using Kind = plat::WireMessage::Kind;
    constexpr plat::LParam kWildPointer = 0x10;

    foreign.SendBytes({1, 2, 3});
    foreign.SendBytes(std::vector<std::uint8_t>(plat::kMaxWireSize + 100, 0x5A));
    foreign.Send(Kind::kAnswer, {window, 0, 0, 7}, 424242);  // answers nothing this process asked
    foreign.Send(Kind::kPost, {window, plat::kWmSetText, 0, kWildPointer});
    foreign.Send(Kind::kPost, {window, plat::kWmGetText, 100, kWildPointer});
    foreign.Send(Kind::kSend, {window, plat::kWmGetText, ~plat::WParam{0}, kWildPointer});
    const auto answer = foreign.Answer();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->kind, Kind::kAnswer);
    EXPECT_EQ(answer->text, "port title") << "the text travels, the pointer is never used";
    EXPECT_EQ(answer->message.lParam, 10);

    foreign.Send(Kind::kPost, {window, kArrived, 5, 0});
    ASSERT_TRUE(PumpUntil([] { return !arrived.empty(); })) << "the port still serves";
    EXPECT_EQ(arrived, std::vector<plat::WParam>{5});
    EXPECT_EQ(plat::GetWindowText(window), "port title");
    plat::DestroyWindow(window);
}

}  // namespace
