#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "confighelper/DetectionLinks.h"
#include "confighelper/DeviceList.h"
#include "confighelper/SnmpMessage.h"

// The detail phase of a detection: every print server found is asked for its details at once, each
// over its preferred protocol through the detection's own transports, and the answers are matched by
// request id as they arrive. Questions left unanswered are asked again, then once more through a device
// channel (which tries the print server's other protocols); a print server that never answers is
// dropped from the list.
class DetailQueries {
  public:
    DetailQueries(DetectionLinks& links, DeviceList& list) : links_(links), list_(list) {}

    // Every GetResponse the links receive while the questions run: false when it answers none of them.
    bool OnAnswer(Answer& answer);

    void Run();

  private:
    struct Question {
        std::size_t record = 0;
        std::int32_t requestId = 0;
        std::vector<std::uint8_t> request;
        Answer answer;
    };

    // Sends every question still unanswered, rounds apart, until all are answered or the rounds end.
    void Ask(std::vector<Question>& questions);
    // Sends over the print server's preferred protocol; an unsent question waits its round unanswered.
    void Send(const Question& question);
    Question MakeQuestion(std::size_t record, const std::string& oids);

    DetectionLinks& links_;
    DeviceList& list_;
    std::unordered_map<std::int32_t, Question*> pending_;
};
