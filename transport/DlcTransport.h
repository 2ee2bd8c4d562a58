#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "transport/DatagramTransport.h"
#include "transport/DlcCommandLayer.h"

// DatagramTransport over IEEE 802.2 UI frames through the DLC command layer. A "port" is a SAP and
// an address a hardware address: 12 hexadecimal digits in, 6 canonical bytes out. The default end
// point is SAP 10; broadcasts go to FF-FF-FF-FF-FF-FF. Results are DlcResult codes (0, 1, 2, 4, 5,
// 6, 7). Every send is one transmit and every receive one wait: the retry count is not used.
//
// Blocking mode: Receive waits for one frame up to the time-out. Asynchronous mode: after Bind a
// reader thread copies each received frame out of the adapter's buffer pool, queues it and posts
// WM_DATAGRAM_NOTIFY (wParam 0, lParam 1) to the hidden window of class "DLC_ASYNC_CLASS" for it;
// Receive takes the oldest (6 when none; 5 with the bytes that fit when it is larger). The
// class is registered once per deliverable with the first asynchronous transport's procedure. The
// destructor stops and joins the reader thread before anything it uses is released.
class DlcTransport : public DatagramTransport {
  public:
    static constexpr std::uint8_t kDefaultSap = 10;
    static constexpr std::uint8_t kAnySap = 0x10;  // what Bind(0) opens

    DlcTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                 plat::WindowProc windowProcedure, ModuleInstance instance);
    ~DlcTransport() override;

    // Opens the SAP (low 8 bits; 0: SAP 16) and starts receiving on it. A transport binds once.
    TransportResult Bind(std::uint16_t sap) override;
    TransportResult Broadcast(const void* data, std::uint32_t length, std::uint16_t sap) override;
    TransportResult SendTo(const void* data, std::uint32_t length, const char* address,
                           std::uint16_t sap) override;
    TransportResult SendToDefault(const void* data, std::uint32_t length, const char* address) override;
    // The sender comes as its 6-byte hardware address and its SAP.
    TransportResult Receive(void* buffer, std::uint32_t size, std::uint32_t* length, std::uint8_t* sender,
                            std::uint16_t* sap) override;
    // The adapter's address, also before Bind; 0 (not found) when this machine has no DLC.
    TransportResult GetLocalAddress(std::uint8_t* address) override;

  private:
    bool Usable() const { return open_ && DlcAvailable(); }
    DlcResult Transmit(const void* data, std::uint32_t length, const std::uint8_t* destination,
                       std::uint16_t sap);
    void ReceiveThread();
    // The reader thread's next READ, known to StopReader while it is pending; null once stopping.
    std::unique_ptr<DlcReadCommand> IssueRead();
    // Waits until the READ completes or the transport stops.
    void AwaitRead(DlcReadCommand& read);
    // Ends the reader thread at once: its pending READ is cancelled.
    void StopReader();
    // Takes one completed READ of the reader thread; false when the thread should end.
    bool TakeReaderEvent(std::unique_ptr<DlcReadCommand> read);
    // Copies the frame out of the pool, whose buffers it gives back, and queues the copy; false when
    // the queue is full or there is no memory for it (the frame is then lost).
    bool QueueFrame(const plat::DlcReadParms& read);

    struct ReceivedFrame {
        std::vector<std::uint8_t> data;
        std::uint8_t sender[kDlcAddressBytes] = {};
        std::uint8_t sap = 0;
    };

    // Gives a queued frame to the caller of Receive: 0, or 5 with the bytes that fit.
    static DlcResult CopyOut(const ReceivedFrame& frame, void* buffer, std::uint32_t size,
                             std::uint32_t* length, std::uint8_t* sender, std::uint8_t* senderSap);

    std::uint16_t stationId_ = 0;
    std::mutex framesLock_;
    // Received frames, oldest first. A list: a frame moves in and out under the lock without memory.
    std::list<ReceivedFrame> frames_;
    std::atomic<bool> stopping_{false};  // set under readLock_
    std::mutex readLock_;                // guards pendingRead_
    DlcReadCommand* pendingRead_ = nullptr;
    std::thread reader_;
};
