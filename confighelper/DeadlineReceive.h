#pragma once

#include <cstdint>
#include <vector>

#include "confighelper/SnmpMessage.h"
#include "transport/DatagramTransport.h"

// Receives one datagram, waiting at most until `deadline` (a tick count). A transport with a socket
// waits exactly the time left; a DLC transport waits in its own whole seconds.
TransportResult ReceiveBefore(DatagramTransport& transport, std::uint32_t deadline,
                              std::vector<std::uint8_t>& buffer, std::uint32_t& length);

// What a refusal (an answer to the request with an error status) does to the wait.
enum class Refusal { kEnds, kPassedOver };

// Waits until `deadline` for the answer to request `requestId`, passing over every other datagram.
// Null when no error-free answer came; a refusal ends the wait or is passed over (a broadcast may get
// several answers). `undecodable` tells whether a datagram that was no answer at all came.
Answer AwaitAnswer(DatagramTransport& transport, std::uint32_t deadline, std::int32_t requestId,
                   Refusal refusal, bool* undecodable = nullptr);
