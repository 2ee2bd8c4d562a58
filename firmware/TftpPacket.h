#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// TFTP datagrams as the firmware server reads and writes them: every 16-bit field in network order.
namespace fendrel {

enum TftpOpcode : std::uint16_t {
    kTftpReadRequest = 1,
    kTftpWriteRequest = 2,
    kTftpData = 3,
    kTftpAck = 4,
    kTftpError = 5,
};

enum TftpErrorCode : std::uint16_t {
    kTftpNotDefined = 0,
    kTftpFileNotFound = 1,
    kTftpAccessViolation = 2,
    kTftpIllegalOperation = 4,
    kTftpUnknownTransferId = 5,
};

inline constexpr std::size_t kTftpBlockSize = 512;
inline constexpr std::size_t kTftpMaxDatagram = 540;
// Longest file name and mode a request may carry, without their terminating zeros.
inline constexpr std::size_t kTftpMaxFileName = 127;
inline constexpr std::size_t kTftpMaxMode = 9;

using TftpBytes = std::span<const std::uint8_t>;

// The opcode of a datagram; 0 when it is too short to have one.
std::uint16_t TftpOpcodeOf(TftpBytes datagram);

enum class TftpRequestParse {
    kOk,
    kMalformed,    // a field runs past the end of the datagram
    kNameTooLong,  // over kTftpMaxFileName characters
    kModeTooLong,  // over kTftpMaxMode characters
};

struct TftpRequest {
    std::string fileName;
    std::string mode;
};

// Reads the file name and mode of a read or write request, within the datagram. Anything after the
// mode (options) is ignored.
TftpRequestParse ParseTftpRequest(TftpBytes datagram, TftpRequest& request);

// The block number of an acknowledgement; false when the datagram is too short for one.
bool ParseTftpAck(TftpBytes datagram, std::uint16_t& block);

// Writes a data packet for the block into packet (resized to fit); data holds at most kTftpBlockSize bytes.
void BuildTftpData(std::uint16_t block, TftpBytes data, std::vector<std::uint8_t>& packet);
std::vector<std::uint8_t> BuildTftpError(std::uint16_t code, const std::string& message);

// Texts of the server's error answers.
inline constexpr const char* kTextModeNotSupported = "transfer mode not supported";
inline constexpr const char* kTextFileNonexistent = "file nonexistent";
inline constexpr const char* kTextAccessViolation = "access violation";
inline constexpr const char* kTextWriteNotSupported = "write request not supported";
inline constexpr const char* kTextBusy = "TFTP Server is busy.  Try later.";
inline constexpr const char* kTextUnknownTransferId = "Unknown transfer ID";
inline constexpr const char* kTextIllegalOperation = "illegal TFTP operation";

}  // namespace fendrel
