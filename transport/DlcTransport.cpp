#include "transport/DlcTransport.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

#include "transport/HexCodec.h"

namespace {

constexpr const char* kWindowClass = "DLC_ASYNC_CLASS";
constexpr std::uint8_t kBroadcastAddress[kDlcAddressBytes] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
// The reader thread is woken by its READ, which StopReader cancels; this only bounds its wait should
// the cancel not reach the adapter.
constexpr std::uint32_t kStopCheckMs = 1000;
// Frames kept for a busy owner, as many as a socket's receive buffer holds: beyond them a flood is
// dropped rather than let use up the process's memory.
constexpr std::size_t kQueuedFramesLimit = 8192;
// How long a closing transport waits for its transmits to be reported complete.
constexpr std::uint32_t kTransmitCollectMs = 1000;

// The class is registered once by this deliverable and kept for the life of the process.
std::atomic<bool> gClassRegistered{false};

}  // namespace

DlcTransport::DlcTransport(std::int32_t retries, std::int32_t timeOutSeconds, std::uint32_t flags,
                           plat::WindowProc windowProcedure, ModuleInstance instance)
    : DatagramTransport(retries, timeOutSeconds, flags, windowProcedure, instance) {
    if (Asynchronous()) {
        if (!gClassRegistered) {
            if (!plat::RegisterWindowClass(kWindowClass, windowProcedure_)) {
                return;
            }
            gClassRegistered = true;
        }
        window_ = plat::CreateWindow(kWindowClass, "");
        if (window_ == 0) {
            return;
        }
    }
    open_ = true;
}

DlcTransport::~DlcTransport() {
    if (reader_.joinable()) {
        StopReader();
    }
    if (stationId_ != 0) {
        DlcCancelReceive(stationId_);
        DlcCollectTransmits(stationId_, kTransmitCollectMs);
        DlcCloseSap(plat::kDlcCloseSap, stationId_);
    }
    open_ = false;
}

TransportResult DlcTransport::Bind(std::uint16_t sap) {
    if (!Usable() || stationId_ != 0) {
        return kDlcFailed;
    }
    const auto value = static_cast<std::uint8_t>(sap & 0xFF);
    const DlcResult opened = DlcOpenSap(value == 0 ? kAnySap : value, &stationId_);
    if (opened != kDlcOk) {
        return opened;
    }
    // The SAP receives from now on, also before an asynchronous transport's reader thread has run:
    // a frame that finds no RECEIVE is lost.
    const DlcResult receiving = DlcReceive(stationId_);
    if (receiving != kDlcOk || !Asynchronous()) {
        return receiving;
    }
    try {
        reader_ = std::thread(&DlcTransport::ReceiveThread, this);
    } catch (const std::system_error&) {
        return kDlcFailed;
    }
    return kDlcOk;
}

TransportResult DlcTransport::Broadcast(const void* data, std::uint32_t length, std::uint16_t sap) {
    return Transmit(data, length, kBroadcastAddress, sap);
}

TransportResult DlcTransport::SendTo(const void* data, std::uint32_t length, const char* address,
                                     std::uint16_t sap) {
    if (!IsHexText(address, 2 * kDlcAddressBytes)) {
        return kDlcFailed;
    }
    std::uint8_t destination[kDlcAddressBytes];
    HexTextToBytes(destination, address, kDlcAddressBytes);
    return Transmit(data, length, destination, sap);
}

TransportResult DlcTransport::SendToDefault(const void* data, std::uint32_t length, const char* address) {
    return SendTo(data, length, address, kDefaultSap);
}

DlcResult DlcTransport::Transmit(const void* data, std::uint32_t length, const std::uint8_t* destination,
                                 std::uint16_t sap) {
    if (!Usable()) {
        return kDlcFailed;
    }
    return DlcTransmitUiFrame(stationId_, data, length, destination, static_cast<std::uint8_t>(sap));
}

TransportResult DlcTransport::Receive(void* buffer, std::uint32_t size, std::uint32_t* length,
                                      std::uint8_t* sender, std::uint16_t* sap) {
    if (!Usable()) {
        return kDlcFailed;
    }
    std::uint8_t senderSap = 0;
    DlcResult result;
    if (Asynchronous()) {
        std::list<ReceivedFrame> taken;
        {
            std::lock_guard guard(framesLock_);
            if (frames_.empty()) {
                return kDlcNoFrame;
            }
            taken.splice(taken.end(), frames_, frames_.begin());
        }
        result = CopyOut(taken.front(), buffer, size, length, sender, &senderSap);
    } else {
        result = DlcWaitFrame(buffer, size, length, sender, &senderSap, stationId_,
                              static_cast<std::uint32_t>(timeOutSeconds_));
    }
    if (result == kDlcOk && sap != nullptr) {
        *sap = senderSap;
    }
    return result;
}

DlcResult DlcTransport::CopyOut(const ReceivedFrame& frame, void* buffer, std::uint32_t size,
                                std::uint32_t* length, std::uint8_t* sender, std::uint8_t* senderSap) {
    const auto copied = std::min<std::uint32_t>(size, static_cast<std::uint32_t>(frame.data.size()));
    if (copied > 0) {
        std::memcpy(buffer, frame.data.data(), copied);
    }
    if (length != nullptr) {
        *length = copied;
    }
    if (sender != nullptr) {
        std::memcpy(sender, frame.sender, kDlcAddressBytes);
    }
    *senderSap = frame.sap;
    return copied < frame.data.size() ? kDlcFrameTooLarge : kDlcOk;
}

TransportResult DlcTransport::GetLocalAddress(std::uint8_t* address) {
    return DlcAvailable() && DlcAdapterAddress(address) ? 1 : 0;
}

void DlcTransport::ReceiveThread() {
    while (std::unique_ptr<DlcReadCommand> read = IssueRead()) {
        AwaitRead(*read);
        if (!read->event.IsSet()) {
            DlcCancelRead(*read);
            if (!read->event.IsSet()) {
                DlcRetire(std::move(read));
                break;
            }
        }
        if (!TakeReaderEvent(std::move(read))) {
            break;
        }
    }
}

std::unique_ptr<DlcReadCommand> DlcTransport::IssueRead() {
    std::lock_guard guard(readLock_);
    if (stopping_) {
        return nullptr;
    }
    std::unique_ptr<DlcReadCommand> read = DlcRead(stationId_);
    pendingRead_ = read.get();
    return read;
}

void DlcTransport::AwaitRead(DlcReadCommand& read) {
    while (!read.event.Wait(kStopCheckMs)) {
        std::lock_guard guard(readLock_);
        if (stopping_) {
            break;
        }
    }
    std::lock_guard guard(readLock_);
    pendingRead_ = nullptr;
}

void DlcTransport::StopReader() {
    {
        std::lock_guard guard(readLock_);
        stopping_ = true;
        if (pendingRead_ != nullptr) {
            DlcCancelRead(*pendingRead_);
        }
    }
    reader_.join();
}

bool DlcTransport::TakeReaderEvent(std::unique_ptr<DlcReadCommand> read) {
    const std::uint8_t status = read->block.status;
    if (status == plat::kDlcStatusCancelledByUser) {
        return true;  // IssueRead looks at stopping_
    }
    if (status != plat::kDlcStatusSuccess) {
        return false;  // the station was closed, or the adapter fails: no more notices
    }
    switch (read->table.event) {
        case plat::kDlcEventReceiveData:
            if (stopping_) {
                DlcFreeBuffer(read->table.receivedFrame);
            } else if (QueueFrame(read->table)) {
                plat::PostMessage(window_, WM_DATAGRAM_NOTIFY, 0, 1);
            }
            break;
        case plat::kDlcEventTransmitCompletion:
            DlcFreeTransmitCompletions(read->table);
            break;
        default:
            break;
    }
    return true;
}

// The frame leaves the pool at once: answers that arrive while the owner's thread is busy wait in the
// queue rather than fill the pool, where the ones after them would find no room and be lost.
bool DlcTransport::QueueFrame(const plat::DlcReadParms& read) {
    bool full = false;
    {
        std::lock_guard guard(framesLock_);
        full = frames_.size() >= kQueuedFramesLimit;
    }
    if (full) {
        DlcFreeBuffer(read.receivedFrame);
        return false;
    }
    std::list<ReceivedFrame> one;
    try {
        one.emplace_back().data.resize(std::max<std::uint32_t>(1, DlcFrameLength(read)));
    } catch (const std::bad_alloc&) {
        DlcFreeBuffer(read.receivedFrame);
        return false;
    }
    ReceivedFrame& frame = one.back();
    std::uint32_t length = 0;
    DlcCopyFrame(read, frame.data.data(), static_cast<std::uint32_t>(frame.data.size()), &length,
                 frame.sender, &frame.sap);
    frame.data.resize(length);
    std::lock_guard guard(framesLock_);
    frames_.splice(frames_.end(), one);
    return true;
}
