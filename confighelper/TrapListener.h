#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "transport/DatagramTransport.h"
#include "transport/ProtocolMask.h"

// One of the three trap listeners: an asynchronous transport bound to the console's trap end point
// (UDP port 162, IPX socket 0x9010, DLC SAP 12). Each datagram announced to its window is received
// and, when it is a status trap, becomes a notice line on the notice window.
class TrapListener {
  public:
    TrapListener(std::unique_ptr<DatagramTransport> transport, ProtocolMask protocol);

    // Binds the end point; a listener that cannot bind stays inert (and says why in the debug output).
    void Bind(std::uint16_t endPoint);

    // One announced datagram: counted, and taken with every other waiting one unless a drain of this
    // listener already runs further up the stack (a notice handler that pumps messages).
    void OnDatagramNotify(plat::WindowHandle noticeWindow);

    // The window that receives this listener's notifications.
    plat::WindowHandle Window() const { return transport_->GetWindow(); }

  private:
    std::string SenderText(const std::uint8_t* sender) const;

    std::unique_ptr<DatagramTransport> transport_;
    ProtocolMask protocol_;
    int pending_ = 0;
    bool busy_ = false;
};
