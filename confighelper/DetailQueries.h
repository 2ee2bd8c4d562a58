#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "confighelper/DetectionLinks.h"
#include "confighelper/DeviceIdentity.h"
#include "confighelper/DeviceList.h"
#include "confighelper/SnmpMessage.h"

// The detail phase of a detection: every print server found is asked for its details, then for the
// state of its TCP/IP, through the detection's own transports. A bounded number of questions are out
// at once over each protocol; each is sent again after the exchange wait, over its print server's protocols
// in the order a device channel would try them, until its attempts run out. Every answer that arrives while
// the phase runs is taken, however late. A print server that never answers its first question is dropped from
// the list.
class DetailQueries {
  public:
    DetailQueries(DetectionLinks& links, DeviceList& list) : links_(links), list_(list) {}

    // Every GetResponse the links receive while the questions run: false when it answers none of them.
    bool OnAnswer(Answer& answer);

    void Run();

  private:
    enum class Topic { kIdentity, kTcpIpState };
    enum class State { kOpen, kAnswered, kGaveUp };

    struct Question {
        std::size_t record = 0;
        Topic topic = Topic::kIdentity;
        std::vector<std::uint8_t> request;
        std::vector<std::uint8_t> protocols;  // in the order they are tried
        std::uint32_t sends = 0;
        std::uint8_t sentOver = 0;  // the protocol of the last send; 0 before the first
        State state = State::kOpen;
    };

    // One send whose wait ends at `due`; sends all wait as long, so the queue is in order of due time.
    struct Wait {
        std::uint32_t due = 0;
        std::int32_t requestId = 0;
        std::uint32_t send = 0;
    };

    // The questions of one protocol: those not yet sent that start with it, and how many of those
    // whose last send went over it are still open.
    struct Lane {
        std::deque<std::int32_t> unsent;
        std::size_t out = 0;
        std::size_t limit = 0;
        bool Room() const { return out < limit && !unsent.empty(); }
    };

    void Ask(std::size_t record, Topic topic);
    Lane& LaneOf(std::uint8_t protocol);
    bool RoomToSend() const;
    bool Done() const;
    void SendNext(std::int32_t requestId, Question& question);
    // Sends again the questions whose wait has ended, or gives them up when their attempts are spent.
    void Expire();
    void GiveUp(Question& question);
    // Ends a question's open state (its lane has room for another).
    void Settle(Question& question, State state);
    // Folds an answer (null: none) into the record; a print server without an answer to its identity
    // question is dropped, one with an answer is asked for its TCP/IP state next.
    void Apply(const Question& question, const ReqParam* answer);

    DetectionLinks& links_;
    DeviceList& list_;
    std::unordered_map<std::int32_t, Question> questions_;
    Lane lanes_[3];  // IPX, IP, DLC
    std::deque<Wait> waits_;
    std::vector<DeviceIdentity> identities_;
    std::vector<bool> dropped_;
    std::uint32_t attemptsPerProtocol_ = 1;
    std::uint32_t waitMs_ = 1000;
};
