#pragma once

#include <QByteArray>
#include <QObject>

#include <cstddef>
#include <vector>

class QTimer;

namespace console {

// The keep-alive of the console's trap registrations: on every tick of its timer (tmrTrapKeeper) a
// keep-alive to each print server the last detection found, in table order. A round for ten
// thousand print servers is sent in short slices between which the window is painted; it stays on
// the console's thread, where every other exchange of the console is made (over DLC the process has
// one SAP, for one exchange at a time). While a KeepAliveSuspension lives, none goes out.
class TrapKeepAlive : public QObject {
  public:
    explicit TrapKeepAlive(QObject* parent = nullptr);
    ~TrapKeepAlive() override;
    TrapKeepAlive(const TrapKeepAlive&) = delete;
    TrapKeepAlive& operator=(const TrapKeepAlive&) = delete;

    QTimer* Timer() const { return timer_; }
    // A round: the addresses are taken now and sent to slice by slice. A round still going when the
    // next is due goes on alone; while suspended there is none.
    void StartRound();
    bool RoundRunning() const { return next_ < round_.size(); }
    // How many keep-alives the last round sent (fewer when it was stopped).
    std::size_t LastRoundSent() const { return next_; }

  private:
    friend class KeepAliveSuspension;
    void SendSlice();
    void Suspend();
    void Resume();

    QTimer* timer_;
    QTimer* slices_;
    std::vector<QByteArray> round_;
    std::size_t next_ = 0;
    int suspensions_ = 0;
    bool timerWasOn_ = false;
};

// While it lives no keep-alive goes to any print server: the timer is stopped and a round in
// flight stops where it is. Afterwards the timer runs again as it did before.
class KeepAliveSuspension {
  public:
    KeepAliveSuspension();
    ~KeepAliveSuspension();
    KeepAliveSuspension(const KeepAliveSuspension&) = delete;
    KeepAliveSuspension& operator=(const KeepAliveSuspension&) = delete;

  private:
    TrapKeepAlive* keepAlive_;
};

}  // namespace console
