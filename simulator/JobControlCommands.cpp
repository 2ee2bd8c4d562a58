#include "simulator/JobControlCommands.h"

#include <cstdio>
#include <sstream>
#include <vector>

#include "simulator/CardValueText.h"

namespace sim {

namespace {

struct Refusal {
    std::string reason;
};

std::vector<std::string> Words(std::string_view line) {
    std::istringstream stream{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

template <typename Number>
Number NumberAt(const std::vector<std::string>& words, size_t at, Number highest) {
    std::optional<Number> value =
        words.size() > at ? ParseNumber<Number>(words[at], 0, highest) : std::nullopt;
    if (!value) {
        throw Refusal{"expected a number"};
    }
    return *value;
}

bool SwitchAt(const std::vector<std::string>& words, size_t at) {
    if (words.size() <= at || words[at] == "on") {
        return true;
    }
    if (words[at] != "off") {
        throw Refusal{"expected on or off"};
    }
    return false;
}

size_t CardOf(const JobListener& listener, const std::string& key) {
    std::optional<size_t> card = listener.FindCard(key);
    if (!card) {
        throw Refusal{"unknown card \"" + key + "\""};
    }
    return *card;
}

std::string SetFault(JobListener& listener, const std::vector<std::string>& words) {
    if (words.size() < 3) {
        throw Refusal{"usage: job-fault CARD SWITCH [VALUE]"};
    }
    const size_t card = CardOf(listener, words[1]);
    JobFaults faults = listener.Faults(card);
    const std::string& name = words[2];
    if (name == "busy") {
        faults.busyAnswers = NumberAt<uint32_t>(words, 3, 1000000);
    } else if (name == "refuse") {
        faults.refuseConnects = SwitchAt(words, 3);
    } else if (name == "late") {
        faults.readyDelayMs = NumberAt<uint32_t>(words, 3, 600000);
    } else if (name == "stop-reading") {
        faults.stopReading = SwitchAt(words, 3);
    } else if (name == "hold") {
        faults.holdReading = SwitchAt(words, 3);
    } else if (name == "reset" || name == "close") {
        faults.drop = name == "reset" ? JobDrop::Reset : JobDrop::Close;
        faults.dropAfterBytes = NumberAt<uint64_t>(words, 3, UINT64_MAX);
    } else if (name == "no-answer") {
        faults.noAnswer = SwitchAt(words, 3);
    } else if (name == "receiver-busy") {
        faults.receiverBusyMs = NumberAt<uint32_t>(words, 3, 600000);
    } else if (name == "clear") {
        faults = JobFaults{};
    } else {
        throw Refusal{"unknown job fault \"" + name + "\""};
    }
    listener.SetFaults(card, faults);
    return "ok";
}

std::string JobLine(size_t index, const JobRecord& job) {
    char counts[160];
    std::snprintf(counts, sizeof counts,
                  "#%zu %s bytes %llu packets %llu errors %u checksum %08X ended %s banner \"", index,
                  job.transport.c_str(), static_cast<unsigned long long>(job.byteCount),
                  static_cast<unsigned long long>(job.packets), job.framingErrors, job.checksum,
                  job.ended ? "yes" : "no");
    return counts + job.banner + "\"\n";
}

std::string ListJobs(const JobListener& listener, const std::vector<std::string>& words) {
    if (words.size() != 2) {
        throw Refusal{"usage: jobs CARD"};
    }
    const std::vector<JobRecord> jobs = listener.Jobs(CardOf(listener, words[1]));
    std::string reply;
    for (size_t i = 0; i < jobs.size(); ++i) {
        reply += JobLine(i, jobs[i]);
    }
    return reply + "ok " + std::to_string(jobs.size()) + " jobs";
}

}  // namespace

std::optional<std::string> RunJobCommand(JobListener& listener, std::string_view line) {
    const std::vector<std::string> words = Words(line);
    if (words.empty() || (words[0] != "job-fault" && words[0] != "jobs")) {
        return std::nullopt;
    }
    try {
        return words[0] == "jobs" ? ListJobs(listener, words) : SetFault(listener, words);
    } catch (const Refusal& refusal) {
        return "error " + refusal.reason;
    }
}

}  // namespace sim
