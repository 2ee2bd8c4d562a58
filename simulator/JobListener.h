#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "simulator/CardDescription.h"
#include "simulator/JobBook.h"
#include "simulator/SessionPool.h"

namespace plat {
class SpxListener;
}

namespace sim {

inline constexpr uint16_t JobTcpPort = 2000;
inline constexpr uint16_t JobSpxSocket = 2000;
inline constexpr uint16_t StatusSpxSocket = 2001;

class DlcJobPort;

struct JobListenerOptions {
    JobKeeping keeping;
    // Connections over TCP and SPX served at once (see SessionPool); the ones beyond are answered
    // busy (the SPX job socket closes them).
    size_t maxSessions = 256;
};

// The cards' print job listeners: TCP port 2000 of each card's address, SPX status socket 2001 and
// job socket 2000, and link stations on SAP 8 (the last two when VORLANE_LAN names a segment and
// the card speaks IPX or DLC). Every job is logged with its transport, banner, byte count, packets,
// framing errors, checksum, first bytes and, when asked for, the file of its bytes. Every public
// operation may be called from any thread.
class JobListener {
  public:
    explicit JobListener(JobListenerOptions options = {});
    ~JobListener();
    JobListener(const JobListener&) = delete;
    JobListener& operator=(const JobListener&) = delete;

    // Cards are added before Start; the index names the card from then on.
    size_t AddCard(const CardDescription& card);
    bool Start(std::string& error);
    void Stop();

    // A card by its name, its hardware address as 12 hexadecimal digits or '#' and its index.
    std::optional<size_t> FindCard(std::string_view key) const;

    void SetFaults(size_t card, const JobFaults& faults);
    JobFaults Faults(size_t card) const;
    std::vector<JobRecord> Jobs(size_t card) const;
    // Connections that asked for the ready byte, busy answers included.
    size_t Connections(size_t card) const;
    bool WaitForJobs(size_t card, size_t count, std::chrono::milliseconds timeout) const;

  private:
    struct CardListener {
        CardDescription card;
        int tcpFd = -1;
        std::unique_ptr<plat::SpxListener> status;
        std::unique_ptr<plat::SpxListener> job;
        std::unique_ptr<DlcJobPort> dlc;
    };

    bool OpenLan(CardListener& listener, size_t index, std::string& error);
    // Listens, or stops listening, as the card's refuse switch says.
    void FollowRefusal(CardListener& listener, size_t index);
    bool OpenTcp(CardListener& listener);
    bool OpenSpx(CardListener& listener);
    void Run();
    void Accept(size_t index, int fd, bool spx, bool status);

    JobListenerOptions options_;
    std::vector<CardListener> cards_;
    std::unique_ptr<JobBook> book_;
    int stopFd_ = -1;  // readable once the listener stops
    int wakeFd_ = -1;  // the faults changed
    std::thread thread_;
    std::mutex listenersMutex_;  // the listening sockets change under it
    std::condition_variable followed_;
    uint64_t changesAsked_ = 0;
    uint64_t changesFollowed_ = 0;
    std::unique_ptr<SessionPool> sessions_;
};

}  // namespace sim
