#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/lan/LanEngine.h"
#include "platform/lan/LanPort.h"
#include "platform/lan/ReliableLink.h"
#include "platform/lan/SpxPacket.h"

namespace plat {

// One SPX connection of this process. The program reads and writes it through Fd(), a stream socket:
// bytes arrive in order, and the end of the peer's stream reads as the end of file. The segment's
// engine carries the bytes in numbered packets, resending what is lost. The connection stays alive,
// owned by the segment, until its closing handshake is over, even after the program let go of it.
class SpxConnection final : public ReliableLink::Owner, public std::enable_shared_from_this<SpxConnection> {
  public:
    enum class Status { Connecting, Connected, Refused, TimedOut, Reset, Aborted, Closed };

    // Starts connecting to a listening socket; the outcome shows in GetStatus() and on StatusFd().
    static std::shared_ptr<SpxConnection> Connect(const IpxAddress& local, const IpxAddress& remote,
                                                  int& error);
    // Answers a connect request that reached a listener at `local`.
    static std::shared_ptr<SpxConnection> Accept(const IpxAddress& local, const IpxAddress& remote,
                                                 std::uint16_t remoteConnection, int& error);
    ~SpxConnection();

    int Fd() const { return userFd_; }
    // Readable once the connection is no longer connecting.
    int StatusFd() const { return statusFd_; }
    Status GetStatus() const;
    IpxAddress Local() const { return local_; }
    IpxAddress Remote() const { return remote_; }

    // The program is done with the connection: what it wrote is still delivered, then the stream
    // ends. A connection still connecting is abandoned.
    void Close();
    // Ends the connection at once; the peer sees a reset.
    void Abort();
    // True while a connection closed by the program has bytes or its closing handshake to finish.
    static bool AnyClosing();

    // A packet for this connection (from its own endpoint or, while connecting, via the listener).
    void OnPacket(const SpxPacket& packet);

  private:
    SpxConnection(std::unique_ptr<LanPort> port, std::uint16_t connection, const IpxAddress& local,
                  const IpxAddress& remote, int userFd, int engineFd);
    static std::shared_ptr<SpxConnection> Make(const IpxAddress& local, const IpxAddress& remote, int& error);
    void Start();

    void Transmit(const ReliableLink::Frame& frame) override;
    bool Deliver(std::vector<std::uint8_t>& data, bool end) override;
    void Acknowledged(std::size_t count) override;
    void Notify(ReliableLink::Event event) override;

    void OnPortReadable();
    void OnEngineFd(short revents);
    void ReadFromProgram();
    void WriteToProgram(const std::uint8_t* data, std::size_t size);
    void FlushPending();
    void UpdateInterest();
    void CheckFinished();
    void Finish(Status status);
    void CloseEngineEnd();

    std::unique_ptr<LanPort> port_;
    std::uint16_t connection_;
    std::uint16_t remoteConnection_ = kSpxUnknownConnection;
    IpxAddress local_;
    IpxAddress remote_;
    int userFd_;
    int engineFd_;
    int statusFd_;
    ReliableLink link_;
    Status status_ = Status::Connecting;
    bool sendEnded_ = false;     // the program will write no more
    bool receiveEnded_ = false;  // the peer's end of stream has arrived
    bool userClosed_ = false;
    bool finished_ = false;
    std::vector<std::uint8_t> pending_;  // arrived, not yet taken by the program's socket
    LanEngine::Id portWatch_ = 0;
    LanEngine::Id engineWatch_ = 0;
};

}  // namespace plat
