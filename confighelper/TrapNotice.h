#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window/Window.h"
#include "snmp/traps/TrapParam.h"

// The line a status trap becomes: "%d,%s,%d" of the protocol bit it came by, the sender's address text
// and the trap's first value (a printer status code). Only enterprise-specific traps 18 and 19 whose
// first value is an integer make a line.
std::optional<std::string> FormatTrapNotice(const TrapParam& trap, int protocolBit,
                                            const std::string& sender);

// Decodes one received datagram and, when it is a status trap, sets its line as the text of the notice
// window. Anything else is dropped without a word.
void PostTrapText(const std::string& sender, const std::uint8_t* datagram, std::uint32_t length,
                  int protocolBit, plat::WindowHandle noticeWindow);
