#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/dlc/AdapterAddress.h"
#include "platform/dlc/DlcInterface.h"

namespace plat::test {

// An application of the DLC interface for the tests: one adapter open with its buffer pool, issuing
// commands the way the suite's command layer does. Every wait is bounded.
class DlcClient {
  public:
    static constexpr std::uint32_t kWaitMs = 60000;  // frames may cross processes: a loaded machine

    // station: the address given to the open (zero: the PC's own).
    explicit DlcClient(const HardwareAddress& station = {}, std::uint32_t poolSize = 32768)
        : pool_(poolSize) {
        DlcAdapterParms adapter{};
        ToAdapterForm(station, adapter.nodeAddress);
        adapter.maxFrameSize = 1496;
        DlcExtendedParms extended{};
        DlcParms dlc{};
        dlc.maxSaps = 126;
        dlc.maxStations = 255;
        DlcOpenAdapterParms open{&adapter, &extended, &dlc, nullptr};
        DlcCommandBlock block = Block(kDlcDirOpenAdapter, &open);
        openStatus = Wait(block);
        applicationId = block.applicationId;
        address = FromAdapterForm(adapter.nodeAddress);
        if (openStatus == kDlcStatusSuccess) {
            DlcBufferCreateParms create{nullptr, pool_.data(), poolSize, poolSize / 4};
            DlcCommandBlock buffers = Block(kDlcBufferCreate, &create);
            EXPECT_EQ(Wait(buffers), kDlcStatusSuccess);
        }
    }
    ~DlcClient() {
        if (openStatus == kDlcStatusSuccess) {
            DlcCommandBlock close = Block(kDlcDirCloseAdapter, nullptr);
            Wait(close);
        }
    }

    DlcCommandBlock Block(std::uint8_t command, void* table) {
        DlcCommandBlock block{};
        block.command = command;
        block.parameter.table = table;
        block.event = &event_;
        block.applicationId = applicationId;
        return block;
    }
    // Issues a command and waits for its completion: its final status.
    std::uint8_t Wait(DlcCommandBlock& block) {
        event_.Reset();
        std::uint32_t refused = AcsLan(&block);
        EXPECT_TRUE(event_.Wait(kWaitMs)) << "command " << int(block.command) << " never completed";
        return refused != 0 ? static_cast<std::uint8_t>(refused) : block.status;
    }
    std::uint8_t StationCommand(std::uint8_t command, std::uint16_t stationId) {
        DlcCommandBlock block = Block(command, nullptr);
        block.parameter.stationId = stationId;
        return Wait(block);
    }

    // Opens a SAP and posts its RECEIVE: its station id, or 0.
    std::uint16_t OpenSap(std::uint8_t sap, std::uint8_t linkStations = 1, std::uint8_t* status = nullptr) {
        DlcOpenSapParms table{};
        table.timerT1 = 10;
        table.maxOut = 5;
        table.sapValue = sap;
        table.options = kDlcSapIndividual;
        table.stationCount = linkStations;
        table.dlcStatusFlags = 1;
        DlcCommandBlock block = Block(kDlcOpenSap, &table);
        std::uint8_t result = Wait(block);
        if (status != nullptr) {
            *status = result;
        }
        if (result != kDlcStatusSuccess) {
            return 0;
        }
        PostReceive(table.stationId);
        return table.stationId;
    }
    void PostReceive(std::uint16_t stationId) {
        auto receive = std::make_unique<Pending<DlcReceiveParms>>();
        receive->table.stationId = stationId;
        receive->table.receiveFlag = 0x50204040;
        receive->block = Block(kDlcReceive, &receive->table);
        receive->block.event = nullptr;
        receive->block.completionFlag = 0x50204030;
        ASSERT_EQ(AcsLan(&receive->block), 0u);
        receives_.push_back(std::move(receive));
    }

    // Opens a link station of the SAP towards the remote station and SAP: its final status, and the
    // station's id in *linkStation.
    std::uint8_t OpenStation(std::uint16_t sapStation, const HardwareAddress& remote, std::uint8_t remoteSap,
                             std::uint16_t* linkStation = nullptr) {
        DlcOpenStationParms open{};
        open.sapStationId = sapStation;
        open.maxOut = 5;
        open.remoteSap = remoteSap;
        std::uint8_t address[6];
        ToAdapterForm(remote, address);
        open.remoteNodeAddress = address;
        DlcCommandBlock block = Block(kDlcOpenStation, &open);
        std::uint8_t status = Wait(block);
        if (linkStation != nullptr) {
            *linkStation = open.linkStationId;
        }
        return status;
    }
    // Connects an opened link station (or accepts the remote station's request): its final status.
    std::uint8_t ConnectStation(std::uint16_t linkStation) {
        DlcConnectStationParms connect{linkStation, 0, nullptr};
        DlcCommandBlock block = Block(kDlcConnectStation, &connect);
        return Wait(block);
    }

    std::uint8_t TransmitUi(std::uint16_t sapStation, const HardwareAddress& to, std::uint8_t remoteSap,
                            const std::vector<std::uint8_t>& data) {
        auto transmit = std::make_unique<Transmit>();
        ToAdapterForm(to, transmit->header + 2);
        transmit->data = data;
        transmit->table.stationId = sapStation;
        transmit->table.remoteSap = remoteSap;
        transmit->table.firstLength = kDlcLanHeaderSize;
        transmit->table.secondLength = static_cast<std::uint16_t>(data.size());
        transmit->table.firstBuffer = transmit->header;
        transmit->table.secondBuffer = transmit->data.data();
        transmit->block = Block(kDlcTransmitUiFrame, &transmit->table);
        transmit->block.event = nullptr;
        std::uint32_t refused = AcsLan(&transmit->block);
        transmits_.push_back(std::move(transmit));
        return static_cast<std::uint8_t>(refused);
    }
    std::uint8_t TransmitI(std::uint16_t linkStation, const std::vector<std::uint8_t>& data) {
        auto transmit = std::make_unique<Transmit>();
        transmit->data = data;
        transmit->table.stationId = linkStation;
        transmit->table.firstLength = static_cast<std::uint16_t>(data.size());
        transmit->table.firstBuffer = transmit->data.data();
        transmit->block = Block(kDlcTransmitIFrame, &transmit->table);
        transmit->block.event = nullptr;
        transmit->block.completionFlag = 0x50404030;
        std::uint32_t refused = AcsLan(&transmit->block);
        transmits_.push_back(std::move(transmit));
        return static_cast<std::uint8_t>(refused);
    }

    // One completed READ: its table, or nothing after the time-out (the READ is then cancelled).
    std::optional<DlcReadParms> Read(std::uint16_t stationId, std::uint8_t option = kDlcReadSap,
                                     std::uint32_t timeoutMs = kWaitMs) {
        CompletionEvent readEvent;
        DlcReadParms table{};
        table.stationId = stationId;
        table.optionIndicator = option;
        table.eventSet = kDlcEventAll;
        DlcCommandBlock read = Block(kDlcRead, &table);
        read.event = &readEvent;
        if (AcsLan(&read) != 0) {
            return std::nullopt;
        }
        if (!readEvent.Wait(timeoutMs)) {
            DlcCommandBlock cancel = Block(kDlcReadCancel, nullptr);
            cancel.parameter.readBlock = &read;
            if (Wait(cancel) == kDlcStatusSuccess) {
                return std::nullopt;
            }
        }
        return read.status == kDlcStatusSuccess ? std::optional(table) : std::nullopt;
    }

    // The next received frame of the station, copied out and its buffers freed; transmit completions
    // and status changes on the way are counted.
    struct Frame {
        std::vector<std::uint8_t> data;
        HardwareAddress sender;
        std::uint8_t senderSap = 0;
        std::uint16_t stationId = 0;
    };
    std::optional<Frame> NextFrame(std::uint16_t stationId, std::uint32_t timeoutMs = kWaitMs) {
        for (;;) {
            auto table = Read(stationId, kDlcReadSap, timeoutMs);
            if (!table) {
                return std::nullopt;
            }
            Note(*table);
            if (table->event == kDlcEventReceiveData) {
                Frame frame;
                DlcBuffer* first = table->receivedFrame;
                frame.sender = FromAdapterForm(first->lanHeader + kDlcLanSourceOffset);
                frame.senderSap = first->dlcHeader[kDlcSourceSapOffset];
                frame.stationId = first->stationId;
                for (DlcBuffer* buffer = first; buffer != nullptr; buffer = buffer->next) {
                    frame.data.insert(frame.data.end(), buffer->data, buffer->data + buffer->dataLength);
                }
                FreeFrame(first);
                return frame;
            }
        }
    }
    std::uint8_t FreeFrame(DlcBuffer* first) {
        DlcBufferFreeParms table{};
        table.firstBuffer = first;
        DlcCommandBlock block = Block(kDlcBufferFree, &table);
        std::uint8_t status = Wait(block);
        buffersLeft = table.buffersLeft;
        return status;
    }
    // Counts what a READ reported besides received data.
    void Note(const DlcReadParms& table) {
        if (table.event == kDlcEventTransmitCompletion) {
            std::size_t count = 0;
            for (DlcCommandBlock* block = table.completedCommands; block != nullptr; block = block->next) {
                ++count;
                failedTransmits += block->status != kDlcStatusSuccess;
            }
            EXPECT_EQ(count, table.completedCommandCount);
            completedTransmits += count;
        }
        if (table.event == kDlcEventStatusChange) {
            statusCodes.push_back(table.dlcStatusCode);
        }
    }

    std::uint8_t openStatus = 0xFF;
    std::uint8_t applicationId = 0;
    HardwareAddress address;
    std::size_t completedTransmits = 0;
    std::size_t failedTransmits = 0;
    std::uint16_t buffersLeft = 0;
    std::vector<std::uint16_t> statusCodes;

  private:
    template <class Table>
    struct Pending {
        Table table{};
        DlcCommandBlock block{};
    };
    struct Transmit {
        std::uint8_t header[kDlcLanHeaderSize] = {};
        std::vector<std::uint8_t> data;
        DlcTransmitParms table{};
        DlcCommandBlock block{};
    };

    CompletionEvent event_;
    std::vector<std::uint8_t> pool_;
    std::vector<std::unique_ptr<Pending<DlcReceiveParms>>> receives_;
    std::vector<std::unique_ptr<Transmit>> transmits_;
};

}  // namespace plat::test
