#pragma once

#include <memory>
#include <string>

#include "firmware/ServerSettings.h"
#include "firmware/TftpTransfer.h"
#include "platform/window/Window.h"

class UdpTransport;

namespace fendrel {

// The server behind the hidden window: the asynchronous UDP transport on port 69, the TFTP transfer,
// the console's start and stop messages, the idle timer and the events sent to the console window.
// One per process: the window procedure finds it through a process-wide pointer.
class FirmwareServer final : private TftpTransferHost {
  public:
    FirmwareServer(plat::WindowHandle consoleWindow, const ServerSettings& settings);
    FirmwareServer(const FirmwareServer&) = delete;
    FirmwareServer& operator=(const FirmwareServer&) = delete;
    ~FirmwareServer();

    // Makes the transport with its window, publishes the window and binds port 69. False when the
    // server cannot run; the console window has then had event 0.
    bool Start();

  private:
    static plat::LResult WindowProcedure(plat::WindowHandle window, std::uint32_t message,
                                         plat::WParam wParam, plat::LParam lParam);
    plat::LResult HandleMessage(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                                plat::LParam lParam);
    void HandleDatagram();
    void HandleTimer(plat::WParam timerId);
    void End();
    void StartIdleTimer();
    void StopIdleTimer();

    // TftpTransferHost
    bool Send(TftpBytes packet, const TftpPeer& to) override;
    void Report(std::uint16_t event, std::uint16_t percentage) override;
    std::string ChosenFile() override;
    void ArmRetransmit() override;
    void DisarmRetransmit() override;

    static FirmwareServer* current_;
    plat::WindowHandle consoleWindow_;
    ServerSettings settings_;
    std::unique_ptr<UdpTransport> transport_;
    plat::WindowHandle window_ = 0;
    bool running_ = false;
    bool serving_ = false;
    bool idleArmed_ = false;
    bool reporting_ = false;  // waiting for the console to take a report
    TftpTransfer transfer_;
};

}  // namespace fendrel
