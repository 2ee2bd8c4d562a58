// The entry points that carry one job: start, write, read and end.
#include <algorithm>

#include "portmonitor/EntryGuard.h"
#include "portmonitor/JobPackets.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/MonitorStrings.h"
#include "portmonitor/PortList.h"

namespace {

// The connection of a handle the spooler passed; null, with the error reported, for an unknown one.
CNPC* PortOf(plat::PortHandle handle) {
    if (!IsValidPortHandle(handle)) {
        ReportError(kStrPortNotSupported);
        plat::SetLastError(plat::kErrorInvalidHandle);
        return nullptr;
    }
    return static_cast<PortNode*>(handle)->port.get();
}

// The print server's answer to the end of the job, in one wait of the link. Its byte ends the job,
// and so does an orderly close where that shows the card read everything, the end included (TCP);
// silence too, as before. False when the connection was reset, broke, or closed on a link where that
// says nothing of what the card read.
bool AwaitEndAnswer(CNPC& port) {
    std::uint8_t answer = 0;
    std::size_t length = 1;
    const LinkResult result = port.Receive(&answer, length);
    if (result == kLinkNothingReceived) {
        LogWrite("EndDocPort():no answer from the print server\n");
        return true;
    }
    return result == kLinkReceived && (length == 1 || port.CloseShowsAllRead());
}

}  // namespace

plat::MonitorBool StartDocPort(plat::PortHandle handle, const char* printerName, std::uint32_t jobId,
                               std::uint32_t, std::uint8_t*) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        CNPC* port = PortOf(handle);
        if (port == nullptr) {
            return 0;
        }
        const int connected = port->Connect(printerName, jobId);
        LogWrite(connected != 0 ? "StartDocPort():connect succeeded\n" : "StartDocPort():connect failed\n");
        return connected;
    });
}

plat::MonitorBool WritePort(plat::PortHandle handle, const std::uint8_t* buffer, std::uint32_t size,
                            std::uint32_t* written) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        CNPC* port = PortOf(handle);
        if (port == nullptr || written == nullptr || (buffer == nullptr && size != 0)) {
            return 0;
        }
        *written = 0;
        // Several packets of at most 1490 bytes each go in one send: the card sees the same stream,
        // and the job is not held to one system call per 1490 bytes.
        std::size_t count = size;
        std::vector<std::uint8_t>& packets = port->PacketBuffer();
        const std::uint32_t sum = DataPackets(buffer, count, port->MaxWriteBytes(), packets);
        const LinkResult result = port->SendAll(packets.data(), packets.size());
        if (result == kLinkSent) {
            port->Checksum() += sum;
            *written = static_cast<std::uint32_t>(count);
            return 1;
        }
        if (port->IsJobDeleted()) {
            LogWrite("\nWP:job deleted");
        } else {
            LogPrintf("\nwrite failed:retval=%d,no.of bytes=%zu", result, packets.size());
        }
        // Part of a packet may have gone: nothing more can follow it on this connection.
        port->CutLink();
        return 0;
    });
}

plat::MonitorBool ReadPort(plat::PortHandle, std::uint8_t*, std::uint32_t, std::uint32_t* read) {
    if (read != nullptr) {
        *read = 0;
    }
    return 1;
}

plat::MonitorBool EndDocPort(plat::PortHandle handle) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        CNPC* port = PortOf(handle);
        if (port == nullptr) {
            return 0;
        }
        LogWrite("EndDocPort() entry\n");
        // A job the spooler deleted part-way never gets its end: the card must not print it.
        const bool deleted = port->IsJobDeleted();
        const std::vector<std::uint8_t> end = EndOfJobPacket();
        const bool ended =
            !deleted && port->SendAll(end.data(), end.size()) == kLinkSent && AwaitEndAnswer(*port);
        LogWrite("EndDocPort():disconnecting..\n");
        if (deleted) {
            LogWrite("EndDocPort():job deleted\n");
            port->CutLink();
        } else {
            port->Disconnect();
        }
        LogPrintf("\nChecksum=%x\n", port->Checksum());
        LogWrite("EndDocPort() return\n");
        // A job whose end never reached the print server, or whose connection it dropped, is not done.
        if (!ended) {
            plat::SetLastError(plat::kErrorCannotWrite);
        }
        return ended ? 1 : 0;
    });
}
