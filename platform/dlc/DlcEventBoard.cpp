#include "platform/dlc/DlcEventBoard.h"

#include <algorithm>

#include "platform/dlc/AdapterAddress.h"

namespace plat {

namespace {

DlcReadParms& TableOf(DlcCommandBlock* read) {
    return *static_cast<DlcReadParms*>(read->parameter.table);
}

bool SameStation(std::uint16_t a, std::uint16_t b, bool wholeSap) {
    return wholeSap ? (a >> 8) == (b >> 8) : a == b;
}

}  // namespace

DlcEvent TransmitCompletionEvent(std::uint16_t stationId, DlcCommandBlock* block) {
    DlcEvent event;
    event.event = kDlcEventTransmitCompletion;
    event.stationId = stationId;
    event.notificationFlag = block->completionFlag;
    event.completed = block;
    return event;
}

DlcEvent ReceiveDataEvent(std::uint16_t stationId, std::uint32_t receiveFlag, DlcBuffer* frame) {
    DlcEvent event;
    event.event = kDlcEventReceiveData;
    event.stationId = stationId;
    event.notificationFlag = receiveFlag;
    event.frame = frame;
    return event;
}

DlcEvent StatusChangeEvent(std::uint16_t stationId, std::uint16_t code, const HardwareAddress& remote,
                           std::uint8_t remoteSap) {
    DlcEvent event;
    event.event = kDlcEventStatusChange;
    event.stationId = stationId;
    event.dlcStatusCode = code;
    event.remote = remote;
    event.remoteSap = remoteSap;
    return event;
}

void CompleteCommand(DlcCommandBlock* block, std::uint8_t status) {
    block->status = status;
    if (block->event != nullptr) {
        block->event->Set();
    }
}

bool DlcEventBoard::Matches(const DlcCommandBlock* read, const DlcEvent& event) const {
    const auto& table = *static_cast<const DlcReadParms*>(read->parameter.table);
    if ((table.eventSet & event.event) == 0) {
        return false;
    }
    switch (table.optionIndicator) {
        case kDlcReadStation:
            return event.stationId == table.stationId;
        case kDlcReadSap:
            return SameStation(event.stationId, table.stationId, true);
        default:
            return true;
    }
}

void DlcEventBoard::Post(const DlcEvent& event) {
    events_.push_back(event);
    for (auto read = reads_.begin(); read != reads_.end(); ++read) {
        if (Matches(*read, events_.back())) {
            DlcCommandBlock* block = *read;
            reads_.erase(read);
            Complete(block, std::prev(events_.end()));
            return;
        }
    }
}

void DlcEventBoard::Issue(DlcCommandBlock* read) {
    auto event =
        std::find_if(events_.begin(), events_.end(), [&](const DlcEvent& e) { return Matches(read, e); });
    if (event == events_.end()) {
        reads_.push_back(read);
    } else {
        Complete(read, event);
    }
}

bool DlcEventBoard::Cancel(DlcCommandBlock* read) {
    auto it = std::find(reads_.begin(), reads_.end(), read);
    if (it == reads_.end()) {
        return false;
    }
    reads_.erase(it);
    read->status = kDlcStatusCancelledByUser;
    return true;
}

void DlcEventBoard::Complete(DlcCommandBlock* read, std::deque<DlcEvent>::iterator first) {
    DlcReadParms& table = TableOf(read);
    DlcEvent event = *first;
    table.event = event.event;
    table.notificationFlag = event.notificationFlag;
    table.completedCommandCount = 0;
    table.completedCommands = nullptr;
    table.receivedFrameCount = 0;
    table.receivedFrame = nullptr;
    table.dlcStatusCode = 0;
    table.bufferCount = freeCount_();
    if (event.event == kDlcEventTransmitCompletion) {
        // Every transmit completion waiting for this READ goes with it, in order.
        DlcCommandBlock** link = &table.completedCommands;
        for (auto it = first; it != events_.end();) {
            if (it->event == kDlcEventTransmitCompletion && Matches(read, *it)) {
                *link = it->completed;
                link = &it->completed->next;
                ++table.completedCommandCount;
                it = events_.erase(it);
            } else {
                ++it;
            }
        }
        *link = nullptr;
    } else {
        events_.erase(first);
        if (event.event == kDlcEventReceiveData) {
            table.receivedFrameCount = 1;
            table.receivedFrame = event.frame;
        } else if (event.event == kDlcEventStatusChange) {
            table.dlcStatusCode = event.dlcStatusCode;
            table.statusStationId = event.stationId;
            ToAdapterForm(event.remote, table.remoteNodeAddress);
            table.remoteSap = event.remoteSap;
        }
    }
    CompleteCommand(read, kDlcStatusSuccess);
}

void DlcEventBoard::EndStation(std::uint16_t stationId, bool wholeSap, std::uint8_t status,
                               const std::function<void(DlcBuffer*)>& dropFrame) {
    for (auto it = reads_.begin(); it != reads_.end();) {
        if (SameStation(TableOf(*it).stationId, stationId, wholeSap)) {
            CompleteCommand(*it, status);
            it = reads_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = events_.begin(); it != events_.end();) {
        if (SameStation(it->stationId, stationId, wholeSap)) {
            if (it->frame != nullptr) {
                dropFrame(it->frame);
            }
            it = events_.erase(it);
        } else {
            ++it;
        }
    }
}

void DlcEventBoard::EndAll(std::uint8_t status) {
    for (DlcCommandBlock* read : reads_) {
        CompleteCommand(read, status);
    }
    reads_.clear();
    events_.clear();
}

}  // namespace plat
