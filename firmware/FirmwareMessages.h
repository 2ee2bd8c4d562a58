#pragma once

#include <cstdint>

#include "platform/window/Window.h"

// The messages between the console's upgrade dialog and the firmware server.

// Console to server.
inline constexpr std::uint32_t WM_TFTP_RELEASE = plat::kWmUser + 2;  // 1026: close the UDP transport
inline constexpr std::uint32_t WM_TFTP_START = plat::kWmUser + 7;    // 1031: wParam, the events' window
inline constexpr std::uint32_t WM_TFTP_STOP = plat::kWmUser + 8;     // 1032

// Server to console: a left-button-down message with wParam kTftpEventWParam and lParam
// TftpEventParam(event, percentage).
inline constexpr std::uint32_t kTftpEventMessage = plat::kWmLButtonDown;
inline constexpr plat::WParam kTftpEventWParam = 0x10;

enum TftpEvent : std::uint16_t {
    kTftpEventNone = 0,  // the server is up, serving started, or it could not start
    kTftpEventFailed = 1026,
    kTftpEventProgress = 1027,
    kTftpEventComplete = 1028,
    kTftpEventRequestReceived = 1030,
    // The program ended after its last block went out, every block before it acknowledged, but the
    // last one was never confirmed: the print server can have the whole file.
    kTftpEventSentUnconfirmed = 1031,
};

constexpr plat::LParam TftpEventParam(std::uint16_t event, std::uint16_t percentage) {
    return static_cast<plat::LParam>(std::uint32_t{event} << 16 | percentage);
}
constexpr std::uint16_t TftpEventOf(plat::LParam lParam) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(lParam) >> 16);
}
constexpr std::uint16_t TftpPercentageOf(plat::LParam lParam) {
    return static_cast<std::uint16_t>(lParam & 0xFFFF);
}
