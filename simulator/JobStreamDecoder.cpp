#include "simulator/JobStreamDecoder.h"

#include <algorithm>
#include <atomic>

namespace sim {

namespace {

// Each job's file has a name of its own in the folder, also when several listeners share it.
std::string NewJobFile(const std::string& folder) {
    static std::atomic<uint64_t> jobs{0};
    return folder + "/job-" + std::to_string(jobs.fetch_add(1) + 1) + ".bin";
}

}  // namespace

JobStreamDecoder::JobStreamDecoder(std::string transport, const JobKeeping& keeping)
    : keptBytes_(keeping.firstBytes) {
    job_.transport = std::move(transport);
    if (!keeping.folder.empty()) {
        job_.file = NewJobFile(keeping.folder);
        file_.reset(std::fopen(job_.file.c_str(), "wb"));
    }
}

const JobRecord& JobStreamDecoder::Job() {
    if (file_) {
        std::fflush(file_.get());
    }
    return job_;
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
        ++job_.packets;
        job_.largestPacket = std::max(job_.largestPacket, static_cast<uint16_t>(bodyLeft_));
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
        const size_t room = KeptBannerBytes - std::min(KeptBannerBytes, job_.banner.size());
        job_.banner.append(body.begin(),
                           body.begin() + static_cast<std::ptrdiff_t>(std::min(room, body.size())));
    } else if (header_[0] == JobDataPacket) {
        job_.byteCount += body.size();
        uint32_t sum = job_.checksum;  // a local: the bytes could alias a member, and the loop stays scalar
        for (uint8_t byte : body) {
            sum += byte;
        }
        job_.checksum = sum;
        const size_t room = keptBytes_ - std::min(keptBytes_, job_.firstBytes.size());
        job_.firstBytes.insert(job_.firstBytes.end(), body.begin(),
                               body.begin() + static_cast<std::ptrdiff_t>(std::min(room, body.size())));
        if (file_) {
            std::fwrite(body.data(), 1, body.size(), file_.get());
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
