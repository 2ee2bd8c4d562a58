#pragma once

#include "platform/spooler/MonitorInterface.h"

// The entry points of the monitor table.
plat::MonitorBool EnumPorts(const char* server, std::uint32_t level, std::uint8_t* buffer, std::uint32_t size,
                            std::uint32_t* needed, std::uint32_t* returned);
plat::MonitorBool OpenPort(const char* name, plat::PortHandle* handle);
plat::MonitorBool StartDocPort(plat::PortHandle handle, const char* printerName, std::uint32_t jobId,
                               std::uint32_t level, std::uint8_t* docInfo);
plat::MonitorBool WritePort(plat::PortHandle handle, const std::uint8_t* buffer, std::uint32_t size,
                            std::uint32_t* written);
plat::MonitorBool ReadPort(plat::PortHandle handle, std::uint8_t* buffer, std::uint32_t size,
                           std::uint32_t* read);
plat::MonitorBool EndDocPort(plat::PortHandle handle);
plat::MonitorBool ClosePort(plat::PortHandle handle);
plat::MonitorBool DeletePort(const char* server, plat::WindowHandle window, const char* portName);
// Run the port dialog (add mode; configure mode for the port). Each fails with kErrorCancelled when
// the user cancelled; ConfigurePort also with kErrorUnknownPort for a port the monitor does not have
// and kErrorBusy, before the dialog opens, while a job prints on the port.
plat::MonitorBool AddPort(const char* server, plat::WindowHandle window, const char* monitorName);
plat::MonitorBool ConfigurePort(const char* server, plat::WindowHandle window, const char* portName);
plat::MonitorBool SetPortTimeOuts(plat::PortHandle handle, void* timeOuts, std::uint32_t reserved);
