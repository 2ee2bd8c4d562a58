#include "simulator/JobStreamDecoder.h"

#include <algorithm>

namespace sim {

JobStreamDecoder::JobStreamDecoder(std::string transport, bool keepBytes) : keepBytes_(keepBytes) {
    job_.transport = std::move(transport);
}

void JobStreamDecoder::Feed(std::span<const uint8_t> bytes) {
    started_ = started_ || !bytes.empty();
    while (!bytes.empty()) {
        if (job_.ended) {
            // Nothing may follow the end of a job.
            ++job_.framingErrors;
            return;
        }
        if (headerFill_ < sizeof header_) {
            TakeHeader(bytes.front());
            bytes = bytes.subspan(1);
            continue;
        }
        const size_t take = std::min(bodyLeft_, bytes.size());
        TakeBody(bytes.first(take));
        bytes = bytes.subspan(take);
        bodyLeft_ -= take;
        if (bodyLeft_ == 0) {
            EndPacket();
        }
    }
}

void JobStreamDecoder::TakeHeader(uint8_t byte) {
    header_[headerFill_++] = byte;
    if (headerFill_ < sizeof header_) {
        return;
    }
    bodyLeft_ = static_cast<size_t>(header_[1]) << 8 | header_[2];
    const uint8_t type = header_[0];
    if (type == JobDataPacket) {
        job_.packetSizes.push_back(static_cast<uint16_t>(bodyLeft_));
    } else if (type != JobBannerPacket && type != JobEndPacket) {
        ++job_.framingErrors;
    } else if (type == JobEndPacket && bodyLeft_ != 0) {
        ++job_.framingErrors;
    }
    if (bodyLeft_ == 0) {
        EndPacket();
    }
}

void JobStreamDecoder::TakeBody(std::span<const uint8_t> body) {
    if (header_[0] == JobBannerPacket) {
        job_.banner.append(body.begin(), body.end());
    } else if (header_[0] == JobDataPacket) {
        job_.byteCount += body.size();
        uint32_t sum = job_.checksum;  // a local: the bytes could alias a member, and the loop stays scalar
        for (uint8_t byte : body) {
            sum += byte;
        }
        job_.checksum = sum;
        if (keepBytes_) {
            job_.bytes.insert(job_.bytes.end(), body.begin(), body.end());
        }
    }
}

void JobStreamDecoder::EndPacket() {
    if (header_[0] == JobEndPacket) {
        job_.ended = true;
    }
    headerFill_ = 0;
}

}  // namespace sim
