#include "platform/dlc/DlcAdapter.h"

#include <cerrno>
#include <cstring>

#include "platform/dlc/AdapterAddress.h"
#include "platform/lan/LanEngine.h"
#include "platform/lan/LanFrame.h"

namespace plat {

namespace {

constexpr std::uint8_t kMaxSaps = 126;
constexpr std::uint8_t kMaxStations = 255;
constexpr std::uint8_t kDefaultWindow = 7;

std::uint8_t SapOf(std::uint16_t stationId) {
    return static_cast<std::uint8_t>(stationId >> 8);
}
std::uint8_t LinkOf(std::uint16_t stationId) {
    return static_cast<std::uint8_t>(stationId & 0xFF);
}

template <class Table>
Table* TableOf(DlcCommandBlock& block) {
    return static_cast<Table*>(block.parameter.table);
}

// The frame of a transmit: the first buffer (past `skip` bytes) followed by the second.
bool FrameData(const DlcTransmitParms& table, std::size_t skip, std::vector<std::uint8_t>& data) {
    if (table.firstLength < skip || (table.firstLength > 0 && table.firstBuffer == nullptr) ||
        (table.secondLength > 0 && table.secondBuffer == nullptr)) {
        return false;
    }
    auto first = static_cast<const std::uint8_t*>(table.firstBuffer);
    auto second = static_cast<const std::uint8_t*>(table.secondBuffer);
    data.clear();
    if (table.firstLength > skip) {
        data.insert(data.end(), first + skip, first + table.firstLength);
    }
    if (table.secondLength > 0) {
        data.insert(data.end(), second, second + table.secondLength);
    }
    return true;
}

}  // namespace

bool DlcLinkRecord::OnData(std::vector<std::uint8_t>& data) {
    return adapter_.OnLinkData(*this, data);
}

void DlcLinkRecord::OnAcknowledged(std::size_t count) {
    adapter_.OnLinkAcknowledged(*this, count);
}

void DlcLinkRecord::OnEvent(ReliableLink::Event event) {
    adapter_.OnLinkEvent(*this, event);
}

void DlcSapRecord::OnUiFrame(const HardwareAddress& source, std::uint8_t sourceSap,
                             std::span<const std::uint8_t> data) {
    adapter_.OnUiFrame(*this, source, sourceSap, data);
}

void DlcSapRecord::OnConnectRequest(const HardwareAddress& source, std::uint8_t sourceSap) {
    adapter_.OnConnectRequest(*this, source, sourceSap);
}

std::uint8_t DlcSapRecord::FreeLinkNumber() const {
    for (unsigned number = 1; number <= stationCount; ++number) {
        if (!links.contains(static_cast<std::uint8_t>(number))) {
            return static_cast<std::uint8_t>(number);
        }
    }
    return 0;
}

DlcAdapter::DlcAdapter(const HardwareAddress& station)
    : station_(station),
      board_([this] { return static_cast<std::uint16_t>(pool_ ? pool_->FreeCount() : 0); }) {}

DlcAdapter::~DlcAdapter() {
    Shut();
}

void DlcAdapter::Shut() {
    if (shut_) {
        return;
    }
    shut_ = true;
    board_.EndAll(kDlcStatusAdapterClosed);
    for (auto& [id, receive] : receives_) {
        CompleteCommand(receive, kDlcStatusAdapterClosed);
    }
    receives_.clear();
    retired_.clear();
    for (auto& [number, sap] : saps_) {
        for (auto& [link, record] : sap->links) {
            for (DlcCommandBlock* block : {record->connectBlock, record->closeBlock}) {
                if (block != nullptr) {
                    CompleteCommand(block, kDlcStatusAdapterClosed);
                }
            }
        }
    }
    saps_.clear();
}

std::uint8_t DlcAdapter::Execute(DlcCommandBlock& block, std::unique_lock<std::recursive_mutex>& lock) {
    retired_.clear();
    switch (block.command) {
        case kDlcDirStatus:
            return DirStatus(block);
        case kDlcBufferCreate:
            return BufferCreate(block);
        case kDlcBufferFree:
            return BufferFree(block);
        case kDlcOpenSap:
            return OpenSap(block);
        case kDlcCloseSap:
            return CloseSap(block);
        case kDlcOpenStation:
            return OpenStation(block);
        case kDlcConnectStation:
            return ConnectStation(block);
        case kDlcCloseStation:
            return CloseStation(block);
        case kDlcReset:
            return ResetStations(block);
        case kDlcReceive:
            return Receive(block);
        case kDlcReceiveCancel:
            return ReceiveCancel(block);
        case kDlcRead:
            return Read(block);
        case kDlcReadCancel:
            return ReadCancel(block);
        case kDlcTransmitUiFrame:
            return TransmitUi(block, lock);
        case kDlcTransmitIFrame:
            return TransmitI(block);
        default:
            return kDlcStatusInvalidCommand;
    }
}

std::uint8_t DlcAdapter::DirStatus(DlcCommandBlock& block) {
    auto* table = TableOf<DlcDirStatusParms>(block);
    if (table == nullptr) {
        return kDlcStatusInvalidParameter;
    }
    std::memset(table, 0, sizeof *table);
    ToAdapterForm(station_, table->permanentAddress);
    ToAdapterForm(station_, table->nodeAddress);
    std::size_t links = 0;
    for (const auto& [number, sap] : saps_) {
        links += sap->links.size();
    }
    table->maxSaps = kMaxSaps;
    table->openSaps = static_cast<std::uint8_t>(saps_.size());
    table->maxStations = kMaxStations;
    table->openStations = static_cast<std::uint8_t>(links);
    table->availableStations = static_cast<std::uint8_t>(kMaxStations - links);
    table->maxFrameLength = kDlcMaxFrameSize;
    table->adapterType = kDlcAdapterTypeSegment;
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::BufferCreate(DlcCommandBlock& block) {
    auto* table = TableOf<DlcBufferCreateParms>(block);
    if (table == nullptr || table->buffer == nullptr || table->bufferSize < 2 * kDlcBufferSize) {
        return kDlcStatusInvalidParameter;
    }
    if (pool_) {
        return kDlcStatusNoBufferPool;
    }
    pool_ = std::make_unique<BufferPool>(table->buffer, table->bufferSize);
    table->poolHandle = table->buffer;
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::BufferFree(DlcCommandBlock& block) {
    auto* table = TableOf<DlcBufferFreeParms>(block);
    if (table == nullptr) {
        return kDlcStatusInvalidParameter;
    }
    if (!pool_) {
        return kDlcStatusNoBufferPool;
    }
    bool valid = pool_->Release(table->firstBuffer);
    table->buffersLeft = static_cast<std::uint16_t>(pool_->FreeCount());
    FeedStarvedLinks();
    if (!valid) {
        return kDlcStatusInvalidBuffer;
    }
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::OpenSap(DlcCommandBlock& block) {
    auto* table = TableOf<DlcOpenSapParms>(block);
    if (table == nullptr || table->sapValue == 0 || (table->sapValue & 1) != 0) {
        return kDlcStatusInvalidParameter;  // SAP 0 is the null SAP; odd values are group SAPs
    }
    if (saps_.contains(table->sapValue) || saps_.size() >= kMaxSaps) {
        return kDlcStatusSapInUse;
    }
    auto record = std::make_unique<DlcSapRecord>(*this, table->sapValue, table->stationCount);
    int error = 0;
    record->port = SapPort::Open(station_, table->sapValue, *record, error);
    if (!record->port) {
        return error == EADDRINUSE ? kDlcStatusSapInUse : kDlcStatusNotInstalled;
    }
    table->stationId = static_cast<std::uint16_t>(table->sapValue << 8);
    table->linkStationsAvailable = table->stationCount;
    saps_[table->sapValue] = std::move(record);
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::CloseSap(DlcCommandBlock& block) {
    std::uint16_t stationId = block.parameter.stationId;
    DlcSapRecord* sap = LinkOf(stationId) == 0 ? FindSap(stationId) : nullptr;
    if (sap == nullptr) {
        return kDlcStatusInvalidStationId;
    }
    while (!sap->links.empty()) {
        EndLink(*sap->links.begin()->second);
        retired_.clear();
    }
    board_.EndStation(stationId, true, kDlcStatusInvalidStationId,
                      [this](DlcBuffer* frame) { pool_->Release(frame); });
    EndReceives(stationId, true, kDlcStatusInvalidStationId);
    saps_.erase(SapOf(stationId));
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::OpenStation(DlcCommandBlock& block) {
    auto* table = TableOf<DlcOpenStationParms>(block);
    if (table == nullptr || table->remoteNodeAddress == nullptr) {
        return kDlcStatusInvalidParameter;
    }
    DlcSapRecord* sap = LinkOf(table->sapStationId) == 0 ? FindSap(table->sapStationId) : nullptr;
    if (sap == nullptr) {
        return kDlcStatusInvalidStationId;
    }
    std::uint8_t number = sap->FreeLinkNumber();
    if (number == 0) {
        return kDlcStatusNoStations;
    }
    auto stationId = static_cast<std::uint16_t>(sap->sap << 8 | number);
    auto record = std::make_unique<DlcLinkRecord>(*this, stationId);
    int error = 0;
    record->link = LinkStation::Open(*sap->port, FromAdapterForm(table->remoteNodeAddress), table->remoteSap,
                                     table->maxOut != 0 ? table->maxOut : kDefaultWindow, *record, error);
    if (!record->link) {
        return kDlcStatusStationExists;
    }
    table->linkStationId = stationId;
    sap->links[number] = std::move(record);
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::ConnectStation(DlcCommandBlock& block) {
    auto* table = TableOf<DlcConnectStationParms>(block);
    if (table == nullptr) {
        return kDlcStatusInvalidParameter;
    }
    DlcLinkRecord* record = FindLink(table->stationId);
    if (record == nullptr) {
        return kDlcStatusInvalidStationId;
    }
    if (record->awaitingAccept) {
        record->awaitingAccept = false;
        record->link->Accept();
        CompleteCommand(&block, kDlcStatusSuccess);
        return 0;
    }
    auto state = record->link->State();
    if (record->connectBlock != nullptr || state == ReliableLink::State::Connected ||
        state == ReliableLink::State::Disconnecting) {
        return kDlcStatusInvalidState;
    }
    record->connectBlock = &block;  // completes when the remote station answers, or fails to
    record->link->Connect();
    return 0;
}

std::uint8_t DlcAdapter::CloseStation(DlcCommandBlock& block) {
    DlcLinkRecord* record = FindLink(block.parameter.stationId);
    if (record == nullptr || record->closeBlock != nullptr) {
        return record == nullptr ? kDlcStatusInvalidStationId : kDlcStatusInvalidState;
    }
    if (record->link->State() == ReliableLink::State::Connected) {
        record->closeBlock = &block;  // completes when the remote station agrees, or stays silent
        record->link->Disconnect();
        return 0;
    }
    EndLink(*record);
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::ResetStations(DlcCommandBlock& block) {
    std::uint16_t stationId = block.parameter.stationId;
    DlcSapRecord* sap = FindSap(stationId);
    if (sap == nullptr || (LinkOf(stationId) != 0 && FindLink(stationId) == nullptr)) {
        return kDlcStatusInvalidStationId;
    }
    std::vector<DlcLinkRecord*> reset;
    for (auto& [number, record] : sap->links) {
        if (LinkOf(stationId) == 0 || number == LinkOf(stationId)) {
            reset.push_back(record.get());
        }
    }
    for (DlcLinkRecord* record : reset) {
        EndLink(*record);  // the remote station is told by a DM when the station goes
    }
    retired_.clear();
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::Receive(DlcCommandBlock& block) {
    auto* table = TableOf<DlcReceiveParms>(block);
    if (table == nullptr) {
        return kDlcStatusInvalidParameter;
    }
    if (!pool_) {
        return kDlcStatusNoBufferPool;
    }
    if (!StationExists(table->stationId)) {
        return kDlcStatusInvalidStationId;
    }
    if (receives_.contains(table->stationId)) {
        return kDlcStatusInvalidState;
    }
    receives_[table->stationId] = &block;  // stays pending until cancelled
    FeedStarvedLinks();
    return 0;
}

std::uint8_t DlcAdapter::ReceiveCancel(DlcCommandBlock& block) {
    std::uint16_t stationId = block.parameter.stationId;
    auto it = receives_.find(stationId);
    if (it == receives_.end() && !StationExists(stationId)) {
        return kDlcStatusInvalidStationId;
    }
    if (it != receives_.end()) {
        CompleteCommand(it->second, kDlcStatusCancelledByUser);
        receives_.erase(it);
    }
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::Read(DlcCommandBlock& block) {
    auto* table = TableOf<DlcReadParms>(block);
    if (table == nullptr || table->optionIndicator > kDlcReadAll) {
        return kDlcStatusInvalidParameter;
    }
    bool known = table->optionIndicator == kDlcReadAll ||
                 (table->optionIndicator == kDlcReadSap ? FindSap(table->stationId) != nullptr
                                                        : StationExists(table->stationId));
    if (!known) {
        return kDlcStatusInvalidStationId;
    }
    board_.Issue(&block);
    return 0;
}

std::uint8_t DlcAdapter::ReadCancel(DlcCommandBlock& block) {
    if (block.parameter.readBlock == nullptr || !board_.Cancel(block.parameter.readBlock)) {
        return kDlcStatusNothingToCancel;
    }
    CompleteCommand(&block, kDlcStatusSuccess);
    return 0;
}

std::uint8_t DlcAdapter::TransmitUi(DlcCommandBlock& block, std::unique_lock<std::recursive_mutex>& lock) {
    auto* table = TableOf<DlcTransmitParms>(block);
    std::vector<std::uint8_t> data;
    if (table == nullptr || !FrameData(*table, kDlcLanHeaderSize, data)) {
        return kDlcStatusInvalidParameter;
    }
    if (LinkOf(table->stationId) != 0 || FindSap(table->stationId) == nullptr) {
        return kDlcStatusInvalidStationId;
    }
    if (data.size() > kDlcMaxFrameSize) {
        return kDlcStatusInvalidFrameLength;
    }
    auto header = static_cast<const std::uint8_t*>(table->firstBuffer);
    HardwareAddress destination = FromAdapterForm(header + 2);
    HardwareAddress source = station_;
    std::uint8_t sap = SapOf(table->stationId);
    std::uint8_t remoteSap = table->remoteSap;
    std::uint16_t stationId = table->stationId;
    auto self = shared_from_this();  // the adapter may be closed while the frame is out
    lock.unlock();
    SendUiFrame(source, sap, destination, remoteSap, data);
    lock.lock();
    block.status = shut_ ? kDlcStatusAdapterClosed : kDlcStatusSuccess;
    if (!shut_) {
        board_.Post(TransmitCompletionEvent(stationId, &block));
    }
    return 0;
}

std::uint8_t DlcAdapter::TransmitI(DlcCommandBlock& block) {
    auto* table = TableOf<DlcTransmitParms>(block);
    std::vector<std::uint8_t> data;
    if (table == nullptr || !FrameData(*table, 0, data)) {
        return kDlcStatusInvalidParameter;
    }
    DlcLinkRecord* record = FindLink(table->stationId);
    if (record == nullptr) {
        return kDlcStatusInvalidStationId;
    }
    if (data.size() > kDlcMaxFrameSize) {
        return kDlcStatusInvalidFrameLength;
    }
    if (record->link->Send(std::move(data)) != 0) {
        return kDlcStatusInvalidState;
    }
    record->transmits.push_back(&block);  // completes when the remote station acknowledges it
    return 0;
}

void DlcAdapter::OnLinkAcknowledged(DlcLinkRecord& record, std::size_t count) {
    for (; count > 0 && !record.transmits.empty(); --count) {
        DlcCommandBlock* block = record.transmits.front();
        record.transmits.pop_front();
        block->status = kDlcStatusSuccess;
        board_.Post(TransmitCompletionEvent(record.stationId, block));
    }
}

void DlcAdapter::FailTransmits(DlcLinkRecord& record) {
    for (DlcCommandBlock* block : record.transmits) {
        block->status = kDlcStatusTransmitFailed;
        board_.Post(TransmitCompletionEvent(record.stationId, block));
    }
    record.transmits.clear();
}

void DlcAdapter::PostStatus(DlcLinkRecord& record, std::uint16_t code) {
    board_.Post(StatusChangeEvent(record.stationId, code, record.link->Remote(), record.link->RemoteSap()));
}

void DlcAdapter::OnLinkEvent(DlcLinkRecord& record, ReliableLink::Event event) {
    using Event = ReliableLink::Event;
    switch (event) {
        case Event::Connected:
        case Event::ConnectFailed:
        case Event::Refused:
            if (record.connectBlock != nullptr) {
                CompleteCommand(record.connectBlock,
                                event == Event::Connected ? kDlcStatusSuccess : kDlcStatusConnectFailed);
                record.connectBlock = nullptr;
            }
            break;
        case Event::RemoteBusy:
            PostStatus(record, kDlcRemoteBusy);
            break;
        case Event::RemoteReady:
            PostStatus(record, kDlcRemoteBusyCleared);
            break;
        case Event::PeerDisconnected:
        case Event::PeerReset:
            FailTransmits(record);
            PostStatus(record, kDlcDmOrDiscReceived);
            break;
        case Event::Lost:
            FailTransmits(record);
            PostStatus(record, kDlcLinkLost);
            break;
        case Event::Closed:
            if (record.closeBlock != nullptr) {
                CompleteCommand(record.closeBlock, kDlcStatusSuccess);
                record.closeBlock = nullptr;
            }
            EndLink(record);
            ScheduleRetiredCleanup();
            break;
    }
}

bool DlcAdapter::OnLinkData(DlcLinkRecord& record, std::vector<std::uint8_t>& data) {
    const LinkStation& link = *record.link;
    if (!TakeFrame(record.stationId, link.Remote(), SapOf(record.stationId), link.RemoteSap(), 0, data)) {
        record.starved = true;  // the remote station hears that this one is busy
        return false;
    }
    return true;
}

void DlcAdapter::OnUiFrame(DlcSapRecord& sap, const HardwareAddress& source, std::uint8_t sourceSap,
                           std::span<const std::uint8_t> data) {
    // A frame that finds no RECEIVE or no room in the pool is lost, as on the wire.
    TakeFrame(static_cast<std::uint16_t>(sap.sap << 8), source, sap.sap, sourceSap, kLlcUiControl, data);
}

void DlcAdapter::OnConnectRequest(DlcSapRecord& sap, const HardwareAddress& source, std::uint8_t sourceSap) {
    std::uint8_t number = sap.FreeLinkNumber();
    if (number == 0) {
        return;  // refused: no station left
    }
    auto record = std::make_unique<DlcLinkRecord>(*this, static_cast<std::uint16_t>(sap.sap << 8 | number));
    int error = 0;
    record->link = LinkStation::Open(*sap.port, source, sourceSap, kDefaultWindow, *record, error);
    if (!record->link) {
        return;
    }
    record->awaitingAccept = true;  // DLC.CONNECT.STATION accepts it
    DlcLinkRecord& opened = *record;
    sap.links[number] = std::move(record);
    PostStatus(opened, kDlcConnectRequest);
}

bool DlcAdapter::TakeFrame(std::uint16_t stationId, const HardwareAddress& source, std::uint8_t dsap,
                           std::uint8_t ssap, std::uint8_t control, std::span<const std::uint8_t> data) {
    DlcCommandBlock* receive = ReceiveFor(stationId);
    DlcBuffer* frame = receive != nullptr && pool_ ? pool_->TakeFrame(data) : nullptr;
    if (frame == nullptr) {
        return false;
    }
    frame->stationId = stationId;
    ToAdapterForm(station_, frame->lanHeader + 2);
    ToAdapterForm(source, frame->lanHeader + kDlcLanSourceOffset);
    frame->dlcHeader[0] = dsap;
    frame->dlcHeader[kDlcSourceSapOffset] = ssap;
    frame->dlcHeader[2] = control;
    board_.Post(ReceiveDataEvent(stationId, TableOf<DlcReceiveParms>(*receive)->receiveFlag, frame));
    return true;
}

void DlcAdapter::FeedStarvedLinks() {
    for (auto& [number, sap] : saps_) {
        for (auto& [link, record] : sap->links) {
            if (record->starved && ReceiveFor(record->stationId) != nullptr && pool_ &&
                pool_->FreeCount() > 0) {
                record->starved = false;
                record->link->SetLocalBusy(false);
            }
        }
    }
}

void DlcAdapter::EndLink(DlcLinkRecord& record) {
    for (DlcCommandBlock** block : {&record.connectBlock, &record.closeBlock}) {
        if (*block != nullptr) {
            CompleteCommand(*block, kDlcStatusInvalidStationId);
            *block = nullptr;
        }
    }
    board_.EndStation(record.stationId, false, kDlcStatusInvalidStationId,
                      [this](DlcBuffer* frame) { pool_->Release(frame); });
    EndReceives(record.stationId, false, kDlcStatusInvalidStationId);
    FailTransmits(record);  // reported to the READs of the SAP
    DlcSapRecord* sap = FindSap(record.stationId);
    auto it = sap->links.find(LinkOf(record.stationId));
    retired_.push_back(std::move(it->second));
    sap->links.erase(it);
}

void DlcAdapter::EndReceives(std::uint16_t stationId, bool wholeSap, std::uint8_t status) {
    for (auto it = receives_.begin(); it != receives_.end();) {
        bool concerned = wholeSap ? SapOf(it->first) == SapOf(stationId) : it->first == stationId;
        if (concerned) {
            CompleteCommand(it->second, status);
            it = receives_.erase(it);
        } else {
            ++it;
        }
    }
}

void DlcAdapter::ScheduleRetiredCleanup() {
    std::weak_ptr<DlcAdapter> weak = weak_from_this();
    LanEngine::Get().After(0, [weak] {
        if (auto adapter = weak.lock()) {
            adapter->retired_.clear();
        }
    });
}

DlcSapRecord* DlcAdapter::FindSap(std::uint16_t stationId) {
    auto it = saps_.find(SapOf(stationId));
    return it == saps_.end() ? nullptr : it->second.get();
}

DlcLinkRecord* DlcAdapter::FindLink(std::uint16_t stationId) {
    DlcSapRecord* sap = FindSap(stationId);
    if (sap == nullptr || LinkOf(stationId) == 0) {
        return nullptr;
    }
    auto it = sap->links.find(LinkOf(stationId));
    return it == sap->links.end() ? nullptr : it->second.get();
}

bool DlcAdapter::StationExists(std::uint16_t stationId) {
    return LinkOf(stationId) == 0 ? FindSap(stationId) != nullptr : FindLink(stationId) != nullptr;
}

DlcCommandBlock* DlcAdapter::ReceiveFor(std::uint16_t stationId) {
    // A link station's frames go to its own RECEIVE, else to its SAP's.
    for (std::uint16_t id : {stationId, static_cast<std::uint16_t>(stationId & 0xFF00)}) {
        auto it = receives_.find(id);
        if (it != receives_.end()) {
            return it->second;
        }
    }
    return nullptr;
}

}  // namespace plat
