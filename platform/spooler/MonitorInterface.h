#pragma once

#include <cstdint>

#include "platform/window/Window.h"

// The spooler's port monitor interface: the table of entry points a port monitor hands the spooler
// (the CUPS backend plays the spooler's part), the port records it fills and the errors it sets.
namespace plat {

using MonitorBool = int;

struct PortInfo1 {
    char* name;
};

struct PortInfo2 {
    char* portName;
    char* monitorName;
    char* description;
    std::uint32_t portType;  // 1: write
    std::uint32_t reserved;
};

struct DocInfo1 {
    char* documentName;
    char* outputFile;
    char* dataType;
};

using PortHandle = void*;

struct MonitorTable {
    MonitorBool (*EnumPorts)(const char* server, std::uint32_t level, std::uint8_t* buffer,
                             std::uint32_t size, std::uint32_t* needed, std::uint32_t* returned);
    MonitorBool (*OpenPort)(const char* name, PortHandle* handle);
    void* OpenPortEx;  // none: no language monitor
    MonitorBool (*StartDocPort)(PortHandle handle, const char* printerName, std::uint32_t jobId,
                                std::uint32_t level, std::uint8_t* docInfo);
    MonitorBool (*WritePort)(PortHandle handle, const std::uint8_t* buffer, std::uint32_t size,
                             std::uint32_t* written);
    MonitorBool (*ReadPort)(PortHandle handle, std::uint8_t* buffer, std::uint32_t size, std::uint32_t* read);
    MonitorBool (*EndDocPort)(PortHandle handle);
    MonitorBool (*ClosePort)(PortHandle handle);
    MonitorBool (*AddPort)(const char* server, WindowHandle window, const char* monitorName);
    MonitorBool (*ConfigurePort)(const char* server, WindowHandle window, const char* portName);
    MonitorBool (*DeletePort)(const char* server, WindowHandle window, const char* portName);
    void* GetPrinterDataFromPort;  // none
    MonitorBool (*SetPortTimeOuts)(PortHandle handle, void* timeOuts, std::uint32_t reserved);
};

// Errors the entry points leave in the thread's last error (platform/spooler/LastError.h).
enum : std::uint32_t {
    kErrorInvalidHandle = 6,
    kErrorNotEnoughMemory = 8,
    kErrorInsufficientBuffer = 122,
    kErrorInvalidLevel = 124,
    kErrorBusy = 170,
    kErrorCancelled = 1223,
    kErrorInternal = 1359,
    kErrorUnknownPort = 1796,
    kErrorCannotWrite = 1013,
};

}  // namespace plat
