#include "portmonitor/tests/HeldJob.h"
#include "tests/Eventually.h"

#include <cups/cups.h>

#include <chrono>

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
    printing_ = job_ > 0 && testsupport::Eventually(
                                [&] {
                                    return cupsd_.JobState(job_) == IPP_JSTATE_PROCESSING &&
                                           bed_.Listener().Connections(card_) > connections;
                                },
                                testsupport::kLoadedMachineWait, std::chrono::milliseconds(50));
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
