#include <array>
#include <cstring>

#include "confighelper/AddressOccupant.h"
#include "confighelper/DeadlineReceive.h"
#include "confighelper/Halbrin.h"
#include "confighelper/LibrarySettings.h"
#include "platform/services/ExportGuard.h"
#include "transport/DeviceStorePath.h"
#include "transport/DottedAddress.h"
#include "transport/HexCodec.h"
#include "transport/UdpTransport.h"

namespace {

// The object that takes a print server's first IP address: 4 address bytes and 6 hardware address
// bytes, as one octet string.
constexpr const char* kAddressSetOid = "1.3.6.1.4.1.32473.11.5.1.12.2.5.0";
constexpr std::int32_t kCannotBuild = 1;

// Broadcasts the set and waits for any error-free answer to it.
HelperResult BroadcastSet(std::uint32_t address, const std::array<std::uint8_t, 6>& hardware) {
    RequestBinding binding{kAddressSetOid, kSnmpOctetString, std::vector<std::uint8_t>(10)};
    std::memcpy(binding.value.data(), &address, 4);
    std::memcpy(binding.value.data() + 4, hardware.data(), hardware.size());

    const std::int32_t requestId = plat::NextRequestId();
    std::int32_t status = 0;
    const std::vector<std::uint8_t> request = EncodeRequest(kPduSet, requestId, {binding}, &status);
    if (request.empty()) {
        return status;
    }
    const LibrarySettings& settings = CurrentSettings();
    UdpTransport transport(static_cast<std::int32_t>(settings.udpTotalRetries),
                           static_cast<std::int32_t>(settings.udpTimeOutInterval), kTransportBroadcast,
                           nullptr, nullptr);
    if (transport.Broadcast(request.data(), static_cast<std::uint32_t>(request.size()),
                            UdpTransport::kDefaultPort) != kTransportOk) {
        return kHelperNoAnswer;
    }
    const std::uint32_t waitMs = settings.udpTotalRetries * settings.udpTimeOutInterval * 1000;
    bool undecodable = false;
    if (AwaitAnswer(transport, plat::TickCount() + waitMs, requestId, Refusal::kPassedOver, &undecodable) !=
        nullptr) {
        return kHelperOk;
    }
    return undecodable ? kHelperDecodeFailed : kHelperNoAnswer;
}

Occupant Ask(const char* address, const std::array<std::uint8_t, 6>& hardware) {
    const LibrarySettings& settings = CurrentSettings();
    return AskAddress(address, hardware, settings.udpTotalRetries, settings.udpTimeOutInterval);
}

// An address that another device answers at is never given: the broadcast would make two devices
// answer there, and whatever is written next by unicast would reach the other one. A card that
// answers there itself already holds it.
HelperResult GiveAddress(const char* text, std::uint32_t address,
                         const std::array<std::uint8_t, 6>& hardware) {
    switch (Ask(text, hardware)) {
        case Occupant::kAnother:
            return kHelperAddressInUse;
        case Occupant::kThisCard:
            return kHelperOk;
        case Occupant::kNobody:
            break;
    }
    // Any card may answer the broadcast; the address counts as given once this card answers there.
    if (const HelperResult result = BroadcastSet(address, hardware); result != kHelperOk) {
        return result;
    }
    switch (Ask(text, hardware)) {
        case Occupant::kThisCard:
            return kHelperOk;
        case Occupant::kAnother:
            return kHelperOtherAtNewAddress;
        case Occupant::kNobody:
            break;
    }
    return kHelperNotAtNewAddress;
}

}  // namespace

HALBRIN_EXPORT HelperResult HelperBcastSet(const char* ipAddress, const char* hardwareAddress) {
    return plat::GuardExport(kHelperNoAnswer, kHelperNoMemory, [&]() -> HelperResult {
        const auto address = ipAddress != nullptr ? ParseDottedAddress(ipAddress) : std::nullopt;
        if (!address || hardwareAddress == nullptr || !IsAdapterName(hardwareAddress)) {
            return kCannotBuild;
        }
        std::array<std::uint8_t, 6> hardware{};
        HexTextToBytes(hardware.data(), hardwareAddress, hardware.size());
        return GiveAddress(ipAddress, *address, hardware);
    });
}
