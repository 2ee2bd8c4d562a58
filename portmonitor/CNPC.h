#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/spooler/Spooler.h"
#include "portmonitor/JobStreamLink.h"
#include "portmonitor/MonitorSettings.h"
#include "portmonitor/ServerRecord.h"

enum PortState : int {
    PM32_PORT_CLOSED = 1000,
    PM32_PORT_OPEN = 1001,
    PM32_PORT_CONNECTED = 1002,
};

// The port monitor's connection to one print server for one port: it chooses the transport of a
// job, falls back from one to another, waits while the print server is busy and speaks the job
// stream protocol over the link it made. Used by one job at a time.
class CNPC {
  public:
    CNPC(const ServerRecord& record, std::string portName, const MonitorSettings& settings);
    ~CNPC();
    CNPC(const CNPC&) = delete;
    CNPC& operator=(const CNPC&) = delete;

    int Open();
    int Close();
    // 1 when connected and the banner sent; 0 otherwise, with nothing left open.
    int Connect(const char* printerName, std::uint32_t jobId);
    // After the job's end: closes the link and the printer, the port back to open.
    int Disconnect();
    // For a job that did not reach the print server whole: as Disconnect, but the link is cut (see
    // JobStreamLink::Abort), so that the print server drops what it got.
    void CutLink();

    // Sends every byte, trying again with the rest while the link makes progress; a lost link is
    // forgotten. kLinkSent, or the link's failure.
    LinkResult SendAll(const std::uint8_t* bytes, std::size_t count);
    LinkResult Receive(std::uint8_t* buffer, std::size_t& length);
    // See JobStreamLink::CloseShowsAllRead; false without a link.
    bool CloseShowsAllRead() const { return link_ && link_->CloseShowsAllRead(); }

    const std::string& GetPortName() const { return portName_; }
    PortState State() const { return state_; }
    std::uint8_t PrimaryProtocol() const { return primary_; }
    std::uint32_t GetJobStatus();
    bool IsJobDeleted() { return (GetJobStatus() & plat::kJobStatusDeleting) != 0; }

    // The data bytes one WritePort may carry over the current link, in whole packets.
    std::size_t MaxWriteBytes() const;
    // Where WritePort builds its packets, kept from call to call.
    std::vector<std::uint8_t>& PacketBuffer() { return packets_; }
    // The 32-bit sum of the data bytes the current job sent.
    std::uint32_t& Checksum() { return checksum_; }
    const MonitorSettings& Settings() const { return settings_; }

  private:
    bool TryTransport(std::uint8_t transport);
    // TCP or DLC: one link, reconnected after each busy answer.
    bool RunStreamSequence(std::uint8_t transport, const std::string& address, std::uint16_t port);
    bool RunSpxSequence();
    // Connects (trying again a few times after a refusal) and reads the ready byte; false, with the
    // link closed, when either failed.
    bool AskReady(JobStreamLink& link, const std::string& address, std::uint16_t port, std::uint8_t& byte);
    // The ready byte, in one wait of the link: kLinkReceived with it, or the failure (a print server
    // that closed the connection instead has lost it).
    LinkResult ReceiveReady(JobStreamLink& link, std::uint8_t& byte);
    // After a refusal: false when the refusals are used up.
    bool WaitAfterRefusal(std::uint32_t& refusals);
    void Pause(std::uint32_t milliseconds);
    bool Established(std::unique_ptr<JobStreamLink> link, std::uint8_t transport);
    // Closes (or cuts) and forgets the link; the port stays open, the printer too.
    void DropLink(bool cut);
    bool SendBanner();
    std::unique_ptr<JobStreamLink> MakeLink(std::uint8_t transport);
    void ClosePrinter();
    void ChoosePrimary(std::uint32_t preferred);

    std::string name_;
    std::string description_;
    std::string mac_;
    std::string ip_;
    std::string ipx_;
    std::string dnsName_;
    std::uint8_t protocols_ = 0;
    std::uint8_t primary_ = 0;
    std::uint8_t current_ = 0;
    std::string portName_;
    MonitorSettings settings_;
    plat::PrinterHandle printer_ = nullptr;
    std::uint32_t jobId_ = 0;
    std::unique_ptr<JobStreamLink> link_;
    PortState state_ = PM32_PORT_CLOSED;
    std::uint32_t checksum_ = 0;
    std::vector<std::uint8_t> packets_;
};
