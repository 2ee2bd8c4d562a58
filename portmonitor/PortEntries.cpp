// The entry points that list, open, close and delete ports.
#include <cstring>

#include "portmonitor/EntryFailure.h"
#include "portmonitor/EntryGuard.h"
#include "portmonitor/MonitorEntries.h"
#include "portmonitor/MonitorLog.h"
#include "portmonitor/MonitorSettings.h"
#include "portmonitor/MonitorStrings.h"
#include "portmonitor/PortList.h"
#include "portmonitor/PortSetup.h"
#include "portmonitor/PortStore.h"

namespace {

// Fills the records from the buffer's front and packs the texts backwards from its end.
class RecordPacker {
  public:
    RecordPacker(std::uint8_t* buffer, std::uint32_t size) : buffer_(buffer), end_(buffer + size) {}

    char* Text(const char* text) {
        const std::size_t length = std::strlen(text) + 1;
        end_ -= length;
        std::memcpy(end_, text, length);
        return reinterpret_cast<char*>(end_);
    }
    template <class Record>
    void Add(const Record& record) {
        std::memcpy(buffer_ + records_ * sizeof(Record), &record, sizeof(Record));
        ++records_;
    }

  private:
    std::uint8_t* buffer_;
    std::uint8_t* end_;
    std::size_t records_ = 0;
};

}  // namespace

plat::MonitorBool EnumPorts(const char*, std::uint32_t level, std::uint8_t* buffer, std::uint32_t size,
                            std::uint32_t* needed, std::uint32_t* returned) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        if (level != 1 && level != 2) {
            return FailEntry(plat::kErrorInvalidLevel);
        }
        if (needed == nullptr || returned == nullptr) {
            return FailEntry(plat::kErrorInvalidHandle);
        }
        *needed = 0;
        *returned = 0;
        SyncPorts(ReadMonitorSettings());
        const std::vector<std::string> names = PortNames();
        const char* monitor = LoadMonitorString(kStrMonitorName);
        const char* description = LoadMonitorString(kStrPortDescription);
        std::size_t total = 0;
        for (const std::string& name : names) {
            total += name.size() + 1;
            total += level == 1
                         ? sizeof(plat::PortInfo1)
                         : sizeof(plat::PortInfo2) + std::strlen(monitor) + 1 + std::strlen(description) + 1;
        }
        *needed = static_cast<std::uint32_t>(total);
        if (names.empty()) {
            return 1;
        }
        if (buffer == nullptr || size < total) {
            return FailEntry(plat::kErrorInsufficientBuffer);
        }
        RecordPacker packer(buffer, size);
        for (const std::string& name : names) {
            if (level == 1) {
                packer.Add(plat::PortInfo1{packer.Text(name.c_str())});
            } else {
                char* portName = packer.Text(name.c_str());
                char* monitorName = packer.Text(monitor);
                packer.Add(plat::PortInfo2{portName, monitorName, packer.Text(description), 1, 0});
            }
        }
        *returned = static_cast<std::uint32_t>(names.size());
        return 1;
    });
}

plat::MonitorBool OpenPort(const char* name, plat::PortHandle* handle) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        PortNode* node = name != nullptr ? FindPort(name) : nullptr;
        if (node == nullptr) {
            return UnknownPortEntry();
        }
        if (handle == nullptr || node->port->Open() == 0) {
            return 0;
        }
        *handle = node;
        return 1;
    });
}

plat::MonitorBool ClosePort(plat::PortHandle handle) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        if (!IsValidPortHandle(handle)) {
            ReportError(kStrPortNotSupported);
            return FailEntry(plat::kErrorInvalidHandle);
        }
        return static_cast<PortNode*>(handle)->port->Close();
    });
}

plat::MonitorBool DeletePort(const char*, plat::WindowHandle, const char* portName) {
    return GuardedEntry([&]() -> plat::MonitorBool {
        SyncPorts(ReadMonitorSettings());
        PortNode* node = portName != nullptr ? FindPort(portName) : nullptr;
        if (node == nullptr) {
            return UnknownPortEntry();
        }
        if (PortPrints(*node->port)) {
            return FailEntry(plat::kErrorBusy);
        }
        const std::string name = node->port->GetPortName();
        if (!DeletePortEntry(name) && PortAdapter(name)) {
            return FailEntry(plat::kErrorCannotWrite);
        }
        RemovePort(name);
        return 1;
    });
}

plat::MonitorBool SetPortTimeOuts(plat::PortHandle, void*, std::uint32_t) {
    return 1;
}
