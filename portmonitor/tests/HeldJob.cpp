#include "portmonitor/tests/HeldJob.h"

#include <cups/cups.h>

#include <chrono>
#include <thread>

namespace portmon::test {

namespace {

constexpr std::size_t kTenMiB = 10 << 20;

}  // namespace

HeldJob::HeldJob(CardBed& bed, PrivateCupsd& cupsd, std::size_t card, const std::string& queue)
    : bed_(bed), cupsd_(cupsd), card_(card) {
    CardBed::StoreLinkWaits(2000, 100);  // a stalled card holds the job for minutes
    bed_.Listener().SetFaults(card_, sim::JobFaults{.stopReading = true});
    const std::size_t connections = bed_.Listener().Connections(card_);
    job_ = cupsd_.Print(queue, JobBytes(kTenMiB));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (job_ > 0 && std::chrono::steady_clock::now() < deadline) {
        if (cupsd_.JobState(job_) == IPP_JSTATE_PROCESSING &&
            bed_.Listener().Connections(card_) > connections) {
            printing_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

HeldJob::~HeldJob() {
    if (job_ > 0) {
        cupsd_.Cancel(job_);
        cupsd_.WaitForEnd(job_, std::chrono::seconds(60));
    }
    bed_.Listener().SetFaults(card_, sim::JobFaults{});
    CardBed::StoreQuickSettings();
}

}  // namespace portmon::test
