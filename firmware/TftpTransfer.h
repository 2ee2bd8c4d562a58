#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareMessages.h"
#include "firmware/TftpPacket.h"

namespace fendrel {

// A client end point: IPv4 address bytes (network order) and port (host order).
struct TftpPeer {
    std::array<std::uint8_t, 4> address{};
    std::uint16_t port = 0;
    bool operator==(const TftpPeer&) const = default;
};

// What a transfer needs of the program around it.
class TftpTransferHost {
  public:
    // Sends one datagram; true when it went out.
    virtual bool Send(TftpBytes packet, const TftpPeer& to) = 0;
    // A TftpEvent with its percentage, for the console.
    virtual void Report(std::uint16_t event, std::uint16_t percentage) = 0;
    // The only file that may be served (the console's choice); empty when none was chosen.
    virtual std::string ChosenFile() = 0;
    // (Re)starts and stops the transfer's own retransmission time-out.
    virtual void ArmRetransmit() = 0;
    virtual void DisarmRetransmit() = 0;

  protected:
    ~TftpTransferHost() = default;
};

// What handling one input came to, for the program's idle timer.
enum class TftpOutcome {
    kSilent,    // nothing went out
    kAnswered,  // an answer (data or error) went out
    kFinished,  // the last block was acknowledged: the transfer is complete
};

// The TFTP read service for one firmware file: one transfer at a time, owned by the client address
// and port that asked for it. Datagrams in, datagrams and events out through the host: 1030 when
// the first block is acknowledged, 1027 when a later one brings a new percentage, 1028 after the last.
class TftpTransfer {
  public:
    // retransmitLimit: how many times a block is sent again on the own time-out; after that the block
    // is no longer sent, but its acknowledgement is still taken until the program's idle end.
    TftpTransfer(TftpTransferHost& host, unsigned retransmitLimit);

    TftpOutcome HandleDatagram(TftpBytes datagram, const TftpPeer& from);
    TftpOutcome HandleRetransmitTimeout();
    // Ends a transfer under way without a word to its client.
    void Stop();

    bool Sending() const { return sending_; }
    // True once the last block of the latest transfer was acknowledged.
    bool Completed() const { return completed_; }
    // What the program's end reports of the latest transfer: complete once its last block was
    // acknowledged; sent but unconfirmed once that block went out after every block before it was
    // acknowledged and the client did not give up; else failed, as the client can be missing data.
    TftpEvent EndEvent() const;

  private:
    TftpOutcome Start(TftpBytes datagram, const TftpPeer& from);
    TftpOutcome Acknowledged(TftpBytes datagram);
    TftpOutcome SendNextBlock();
    bool ReadAhead();
    bool IsRepeatedFinalAck(TftpBytes datagram, const TftpPeer& from) const;
    TftpOutcome SendCurrent();
    TftpOutcome Fail(const TftpPeer& to, std::uint16_t code, const char* message);
    void Finish();
    void ReportProgress();
    std::uint16_t Percentage() const;

    static constexpr std::uint16_t kNoPercentage = 0xFFFF;

    TftpTransferHost& host_;
    unsigned retransmitLimit_;
    bool sending_ = false;
    bool completed_ = false;
    bool allSent_ = false;  // the last block went out after every block before it was acknowledged
    TftpPeer owner_;
    FirmwareFile file_;
    std::uint16_t block_ = 0;
    std::size_t lastCount_ = 0;
    std::uint64_t bytesRead_ = 0;
    unsigned retransmits_ = 0;
    std::uint16_t reportedPercentage_ = kNoPercentage;
    std::vector<std::uint8_t> packet_;  // the current data block as sent
    // The next block, read while the current one is on its way.
    std::array<std::uint8_t, kTftpBlockSize> next_{};
    std::ptrdiff_t nextCount_ = -1;  // -1: not read yet
};

}  // namespace fendrel
