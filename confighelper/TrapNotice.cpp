#include "confighelper/TrapNotice.h"

#include "confighelper/BindingValue.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/traps/TrapParam.h"

namespace {

constexpr std::uint8_t kEnterpriseSpecific = 6;
constexpr std::uint16_t kStatusChanged = 18;
constexpr std::uint16_t kStatusCleared = 19;

}  // namespace

std::optional<std::string> FormatTrapNotice(const TrapParam& trap, int protocolBit,
                                            const std::string& sender) {
    std::int32_t status = 0;
    if (trap.GenericTrap != kEnterpriseSpecific ||
        (trap.SpecificTrap != kStatusChanged && trap.SpecificTrap != kStatusCleared) ||
        trap.BindingCount == 0 || trap.Bindings == nullptr || !IntegerValue(trap.Bindings[0], status)) {
        return std::nullopt;
    }
    return std::to_string(protocolBit) + "," + sender + "," + std::to_string(status);
}

void PostTrapText(const std::string& sender, const std::uint8_t* datagram, std::uint32_t length,
                  int protocolBit, plat::WindowHandle noticeWindow) {
    TrapParam* trap = HelperSnmpDecodeTrapPdu(datagram, static_cast<std::int32_t>(length));
    if (trap == nullptr) {
        return;
    }
    const std::optional<std::string> line = FormatTrapNotice(*trap, protocolBit, sender);
    snmp::FreeTrapParam(trap);
    if (line) {
        plat::SetWindowText(noticeWindow, *line);
    }
}
