#include "console/bench/ConsoleBench.h"

#include <QCoreApplication>
#include <QFile>

#include "console/core/ConsoleState.h"
#include "platform/store/StoreKeyHandle.h"
#include "platform/store/StorePaths.h"

namespace consolebench {

namespace {

constexpr std::uint64_t kFirstMac = 0x00005E400001;
constexpr std::uint32_t kFirstIp = (127u << 24) | (3u << 8) | 1u;  // 127.0.3.1

std::unique_ptr<Site>& Current() {
    static std::unique_ptr<Site> site;
    return site;
}

QString Dotted(std::uint32_t ip) {
    return QString("%1.%2.%3.%4").arg(ip >> 24).arg((ip >> 16) & 255).arg((ip >> 8) & 255).arg(ip & 255);
}

// One "cards" line per status group, the addresses counting on from one group to the next.
std::string Description(int count) {
    std::string lines;
    const int groups = static_cast<int>(std::size(kStatusGroups));
    for (int g = 0; g < groups; ++g) {
        const int first = count * g / groups;
        const int size = count * (g + 1) / groups - first;
        lines += "cards " + std::to_string(size) + " " + kStatusGroups[g].prefix +
                 " mac=" + CardMac(first).toStdString() + " ip=" + Dotted(kFirstIp + first).toStdString() +
                 " protocols=ip engine=mixed status=" + std::to_string(kStatusGroups[g].status) + "\n";
    }
    return lines;
}

double StatusMiB(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return -1;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                       .trimmed()
                       .split(' ')
                       .front()
                       .toDouble() /
                   1024.0;
        }
    }
    return -1;
}

}  // namespace

QString CardMac(int index) {
    return QString("%1").arg(kFirstMac + static_cast<std::uint64_t>(index), 12, 16, QChar('0')).toUpper();
}

Site* Site::Of(benchmark::State& bench) {
    const int count = static_cast<int>(bench.range(0));
    std::unique_ptr<Site>& site = Current();
    if (site != nullptr && site->count_ == count) {
        return site.get();
    }
    Close();
    site.reset(new Site(count));
    std::string error;
    if (!site->Open(error)) {
        Close();
        bench.SkipWithError(error.c_str());
        return nullptr;
    }
    return site.get();
}

void Site::Close() {
    std::unique_ptr<Site>& site = Current();
    if (site == nullptr) {
        return;
    }
    if (site->window_ != nullptr) {
        site->window_->close();
        site->window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    site->cards_.Stop();
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
    site.reset();
}

bool Site::Open(std::string& error) {
    if (!cards_.Start(Description(count_), error)) {
        return false;
    }
    plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, plat::kSnmpKey)
        ->WriteNumber("AutoDetectTimeout", 2);
    console::State() = console::ConsoleState();
    window_ = std::make_unique<console::NewLook>();
    if (!window_->Form_Load()) {
        error = "the console did not start";
        return false;
    }
    window_->show();
    window_->FirstDetection();
    if (static_cast<int>(console::State().rows.size()) != count_) {
        error = "the first detection listed " + std::to_string(console::State().rows.size()) + " of " +
                std::to_string(count_) + " print servers";
        return false;
    }
    return true;
}

PaintWatch::PaintWatch() {
    ticker_.setInterval(10);
    QObject::connect(&ticker_, &QTimer::timeout, [this] { Tick(); });
}

void PaintWatch::Start() {
    clock_.start();
    last_ = 0;
    mark_ = -1;
    ticker_.start();
}

void PaintWatch::Mark() {
    mark_ = clock_.elapsed();
}

void PaintWatch::Tick() {
    const qint64 now = clock_.elapsed();
    longestGap_ = std::max(longestGap_, now - last_);
    if (mark_ >= 0) {
        longestSinceMark_ = std::max(longestSinceMark_, now - std::max(last_, mark_));
    }
    const qint64 beforeMark = mark_ < 0 ? now : std::min(now, mark_);
    longestBeforeMark_ = std::max(longestBeforeMark_, beforeMark - last_);
    last_ = now;
}

// The gap up to now counts too: the watched work may end long after the last tick.
void PaintWatch::Stop() {
    Tick();
    ticker_.stop();
}

bool RunLoopUntil(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

double ResidentMiB() {
    return StatusMiB("VmRSS:");
}

double PeakResidentMiB() {
    return StatusMiB("VmHWM:");
}

}  // namespace consolebench
