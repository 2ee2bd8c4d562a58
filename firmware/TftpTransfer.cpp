#include "firmware/TftpTransfer.h"

#include <algorithm>

#include "firmware/FirmwareMessages.h"
#include "platform/text/CaseInsensitive.h"

namespace fendrel {

TftpTransfer::TftpTransfer(TftpTransferHost& host, unsigned retransmitLimit)
    : host_(host), retransmitLimit_(retransmitLimit) {
    packet_.reserve(4 + kTftpBlockSize);
}

TftpOutcome TftpTransfer::HandleDatagram(TftpBytes datagram, const TftpPeer& from) {
    const std::uint16_t opcode = TftpOpcodeOf(datagram);
    // Error packets are never answered, lest two ends trade errors for ever.
    if (opcode == kTftpError) {
        if (sending_ && from == owner_) {
            allSent_ = false;  // the client gave up: it may not have kept what it got
            Finish();
        }
        return TftpOutcome::kSilent;
    }
    // The client's last acknowledgement repeated (it crossed a resent last block): nothing to say.
    if (IsRepeatedFinalAck(datagram, from)) {
        return TftpOutcome::kSilent;
    }
    if (sending_ && !(from == owner_)) {
        const auto answer = BuildTftpError(kTftpUnknownTransferId, kTextUnknownTransferId);
        return host_.Send(answer, from) ? TftpOutcome::kAnswered : TftpOutcome::kSilent;
    }
    switch (opcode) {
        case kTftpReadRequest:
            // From the owner too: its request was repeated because block 1 did not reach it.
            return Start(datagram, from);
        case kTftpAck:
            if (sending_) {
                return Acknowledged(datagram);
            }
            break;
        case kTftpWriteRequest:
            if (!sending_) {
                return Fail(from, kTftpNotDefined, kTextWriteNotSupported);
            }
            break;
        default:
            break;
    }
    return Fail(from, kTftpNotDefined, kTextBusy);
}

TftpOutcome TftpTransfer::HandleRetransmitTimeout() {
    if (!sending_) {
        return TftpOutcome::kSilent;
    }
    if (retransmits_ >= retransmitLimit_) {
        // Given up resending; a late acknowledgement of the block still carries the transfer on.
        host_.DisarmRetransmit();
        return TftpOutcome::kSilent;
    }
    ++retransmits_;
    return SendCurrent();
}

void TftpTransfer::Stop() {
    Finish();
}

TftpEvent TftpTransfer::EndEvent() const {
    if (completed_) {
        return kTftpEventComplete;
    }
    return allSent_ ? kTftpEventSentUnconfirmed : kTftpEventFailed;
}

TftpOutcome TftpTransfer::Start(TftpBytes datagram, const TftpPeer& from) {
    Finish();
    owner_ = from;
    block_ = 0;
    lastCount_ = 0;
    bytesRead_ = 0;
    nextCount_ = -1;
    reportedPercentage_ = kNoPercentage;

    TftpRequest request;
    switch (ParseTftpRequest(datagram, request)) {
        case TftpRequestParse::kMalformed:
            return Fail(from, kTftpIllegalOperation, kTextIllegalOperation);
        case TftpRequestParse::kModeTooLong:
            return Fail(from, kTftpNotDefined, kTextModeNotSupported);
        case TftpRequestParse::kNameTooLong:
            return Fail(from, kTftpAccessViolation, kTextAccessViolation);
        case TftpRequestParse::kOk:
            break;
    }
    if (!plat::EqualsNoCase(request.mode, "octet")) {
        return Fail(from, kTftpNotDefined, kTextModeNotSupported);
    }
    // Only the file the console chose is served: no host may read any other file through us.
    const std::string chosen = host_.ChosenFile();
    if (chosen.empty() && request.fileName.empty()) {
        return Fail(from, kTftpFileNotFound, kTextFileNonexistent);
    }
    if (!request.fileName.empty() && request.fileName != chosen) {
        return Fail(from, kTftpAccessViolation, kTextAccessViolation);
    }
    switch (file_.Open(chosen)) {
        case FirmwareFile::OpenResult::kMissing:
            return Fail(from, kTftpFileNotFound, kTextFileNonexistent);
        case FirmwareFile::OpenResult::kUnreadable:
            return Fail(from, kTftpAccessViolation, kTextAccessViolation);
        case FirmwareFile::OpenResult::kOk:
            break;
    }
    // Only a transfer that begins takes back the completion of the one before.
    sending_ = true;
    completed_ = false;
    allSent_ = false;
    return SendNextBlock();
}

TftpOutcome TftpTransfer::Acknowledged(TftpBytes datagram) {
    std::uint16_t block = 0;
    // A stale or repeated acknowledgement is not answered: answering it would send every later block
    // twice. A lost block goes out again on the own time-out.
    if (!ParseTftpAck(datagram, block) || block != block_) {
        return TftpOutcome::kSilent;
    }
    // Only the first block has been read (block numbers wrap on long files).
    if (bytesRead_ == lastCount_) {
        host_.Report(kTftpEventRequestReceived, 0);
    } else {
        ReportProgress();
    }
    // A short block, the empty one included, is the last.
    if (lastCount_ < kTftpBlockSize) {
        Finish();
        completed_ = true;
        host_.Report(kTftpEventComplete, 0);
        return TftpOutcome::kFinished;
    }
    return SendNextBlock();
}

TftpOutcome TftpTransfer::SendNextBlock() {
    // The size taken at the start bounds the transfer: a file that grows meanwhile is not followed,
    // one that shrinks fails.
    if (nextCount_ < 0 && !ReadAhead()) {
        return Fail(owner_, kTftpAccessViolation, kTextAccessViolation);
    }
    const std::size_t count = static_cast<std::size_t>(nextCount_);
    bytesRead_ += count;
    lastCount_ = count;
    ++block_;
    retransmits_ = 0;
    BuildTftpData(block_, TftpBytes(next_.data(), count), packet_);
    nextCount_ = -1;
    // A short block, the empty one included, is the last; it goes out after every earlier block
    // was acknowledged.
    allSent_ = count < kTftpBlockSize;
    const TftpOutcome outcome = SendCurrent();
    // The disk read of the next block overlaps the current block's trip and the client's answer.
    if (count == kTftpBlockSize) {
        ReadAhead();
    }
    return outcome;
}

// Reads the block after the ones counted in bytesRead_; false (nothing kept) on a short read.
bool TftpTransfer::ReadAhead() {
    const std::uint64_t left = file_.Size() - bytesRead_;
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(left, kTftpBlockSize));
    const bool whole = file_.Read(next_.data(), wanted) == static_cast<std::ptrdiff_t>(wanted);
    nextCount_ = whole ? static_cast<std::ptrdiff_t>(wanted) : -1;
    return whole;
}

bool TftpTransfer::IsRepeatedFinalAck(TftpBytes datagram, const TftpPeer& from) const {
    std::uint16_t block = 0;
    return !sending_ && completed_ && from == owner_ && TftpOpcodeOf(datagram) == kTftpAck &&
           ParseTftpAck(datagram, block) && block == block_;
}

TftpOutcome TftpTransfer::SendCurrent() {
    host_.ArmRetransmit();
    return host_.Send(packet_, owner_) ? TftpOutcome::kAnswered : TftpOutcome::kSilent;
}

TftpOutcome TftpTransfer::Fail(const TftpPeer& to, std::uint16_t code, const char* message) {
    if (sending_) {
        allSent_ = false;  // the transfer ends in an error to its client, which then drops the file
    }
    Finish();
    const auto answer = BuildTftpError(code, message);
    return host_.Send(answer, to) ? TftpOutcome::kAnswered : TftpOutcome::kSilent;
}

void TftpTransfer::Finish() {
    if (sending_) {
        host_.DisarmRetransmit();
    }
    sending_ = false;
    file_.Close();
}

// Each report is a round trip to the console's window: one per percentage, not one per block, so
// that the console's pace does not become the transfer's.
void TftpTransfer::ReportProgress() {
    const std::uint16_t percentage = Percentage();
    if (percentage != reportedPercentage_) {
        reportedPercentage_ = percentage;
        host_.Report(kTftpEventProgress, percentage);
    }
}

std::uint16_t TftpTransfer::Percentage() const {
    const std::uint64_t size = file_.Size();
    if (size == 0) {
        return 0;
    }
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(bytesRead_ * 100 / size, 100));
}

}  // namespace fendrel
