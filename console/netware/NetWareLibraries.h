#pragma once

#include "console/core/FormHelpers.h"
#include "console/core/Libraries.h"
#include "netware/Tessik.h"

// The NetWare helper library's exports the console calls, bound by name on first use like the core's.
// Each call waits for the NetWare network or the card (seconds when one does not answer), so the busy
// cursor shows for as long as it runs.
namespace console::tessik {

template <typename Function>
class NetWareExport;

template <typename Result, typename... Args>
class NetWareExport<Result(Args...)> {
  public:
    explicit constexpr NetWareExport(const char* name) : export_("Tessik.dll", name) {}

    Result operator()(Args... args) {
        const BusyCursor busy;
        return export_(args...);
    }

  private:
    LateExport<Result(Args...)> export_;
};

#define CONSOLE_NETWARE_FUNCTION(name) inline NetWareExport<decltype(::name)> name(#name)

CONSOLE_NETWARE_FUNCTION(NwBiLogin);
CONSOLE_NETWARE_FUNCTION(NwNdsLogin);
CONSOLE_NETWARE_FUNCTION(NwListFs);
CONSOLE_NETWARE_FUNCTION(NwListTrees);
CONSOLE_NETWARE_FUNCTION(NwBiGetQueueList);
CONSOLE_NETWARE_FUNCTION(NwBiGetPsList);
CONSOLE_NETWARE_FUNCTION(NwNdsGetContext);
CONSOLE_NETWARE_FUNCTION(NwNdsBrowse);
CONSOLE_NETWARE_FUNCTION(NwGetVerInfo);
CONSOLE_NETWARE_FUNCTION(NwStateOfAuthentication);
CONSOLE_NETWARE_FUNCTION(NwBiCreateQueue);
CONSOLE_NETWARE_FUNCTION(NwNdsCreateQueue);
CONSOLE_NETWARE_FUNCTION(NwBiDeleteQueue);
CONSOLE_NETWARE_FUNCTION(NwNdsDeleteQueue);
CONSOLE_NETWARE_FUNCTION(NwBiCreatePrintServer);
CONSOLE_NETWARE_FUNCTION(NwNdsCreatePs);
CONSOLE_NETWARE_FUNCTION(NwBiVerifyPs);
CONSOLE_NETWARE_FUNCTION(NwNdsVerifyPs);
CONSOLE_NETWARE_FUNCTION(NwBiAddSerList);
CONSOLE_NETWARE_FUNCTION(NwNdsAddSerList);
CONSOLE_NETWARE_FUNCTION(NwBiRmSerList);
CONSOLE_NETWARE_FUNCTION(NwNdsRmSerList);
CONSOLE_NETWARE_FUNCTION(NwSNMPModifyMode);
CONSOLE_NETWARE_FUNCTION(NwSNMPInit);
CONSOLE_NETWARE_FUNCTION(NwSNMPGetJobCheckDelay);
CONSOLE_NETWARE_FUNCTION(NwSNMPSetJobCheckDelay);
CONSOLE_NETWARE_FUNCTION(NwSNMPGetCfgCheckDelay);
CONSOLE_NETWARE_FUNCTION(NwSNMPSetCfgCheckDelay);

}  // namespace console::tessik
