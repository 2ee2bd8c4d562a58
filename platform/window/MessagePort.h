#pragma once

#include <sys/socket.h>
#include <sys/un.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/window/AnswerSlot.h"
#include "platform/window/ProcessIdentity.h"
#include "platform/window/WireMessage.h"

namespace plat {

// This process's door for messages to and from the other processes of the runtime folder: a Unix
// datagram socket named after the process, whose receiver thread hands each arriving message to the
// queue of the thread that owns the window (it never runs a window procedure itself).
class MessagePort {
  public:
    static MessagePort& Instance();
    // The socket file of a process's port in the runtime folder.
    static std::string PathOf(const ProcessIdentity& process);

    // Opens the port and starts its receiver, once per process; false when that is not possible.
    bool Open();
    bool Post(const ProcessIdentity& to, const Message& message);
    // Hands a sent message over; `slot` receives the answer. Answers the serial to pass to Abandon, or
    // none when the message could not be handed over.
    std::optional<std::uint64_t> Send(const ProcessIdentity& to, const Message& message,
                                      const std::optional<std::string>& text,
                                      std::shared_ptr<AnswerSlot> slot);
    // The sender no longer waits (answered, or the receiver has ended).
    void Abandon(std::uint64_t serial);

  private:
    struct Pending {
        std::shared_ptr<AnswerSlot> slot;
        std::string from;  // only the process asked may answer
    };

    bool Deliver(const std::string& path, const WireMessage& wire, const ProcessIdentity* receiver);
    void Receive();
    void Route(WireMessage wire, const std::string& from);

    std::mutex mutex_;
    int fd_ = -1;
    pid_t openedBy_ = 0;
    std::string path_;
    std::uint64_t nextSerial_ = 1;
    std::map<std::uint64_t, Pending> pending_;
};

}  // namespace plat
