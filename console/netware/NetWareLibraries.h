#pragma once

#include "console/core/Libraries.h"
#include "netware/Tessik.h"

// The NetWare helper library's exports the console calls, bound by name on first use like the core's.
namespace console::tessik {

#define NETWARE_FUNCTION(name)                 \
    inline LateExport<decltype(::name)> name { \
        "Tessik.dll", #name                    \
    }

NETWARE_FUNCTION(NwBiLogin);
NETWARE_FUNCTION(NwNdsLogin);
NETWARE_FUNCTION(NwListFs);
NETWARE_FUNCTION(NwListTrees);
NETWARE_FUNCTION(NwBiGetQueueList);
NETWARE_FUNCTION(NwBiGetPsList);
NETWARE_FUNCTION(NwNdsGetContext);
NETWARE_FUNCTION(NwNdsBrowse);
NETWARE_FUNCTION(NwGetVerInfo);
NETWARE_FUNCTION(NwStateOfAuthentication);
NETWARE_FUNCTION(NwBiCreateQueue);
NETWARE_FUNCTION(NwNdsCreateQueue);
NETWARE_FUNCTION(NwBiDeleteQueue);
NETWARE_FUNCTION(NwNdsDeleteQueue);
NETWARE_FUNCTION(NwBiCreatePrintServer);
NETWARE_FUNCTION(NwNdsCreatePs);
NETWARE_FUNCTION(NwBiVerifyPs);
NETWARE_FUNCTION(NwNdsVerifyPs);
NETWARE_FUNCTION(NwBiAddSerList);
NETWARE_FUNCTION(NwNdsAddSerList);
NETWARE_FUNCTION(NwBiRmSerList);
NETWARE_FUNCTION(NwNdsRmSerList);
NETWARE_FUNCTION(NwSNMPModifyMode);
NETWARE_FUNCTION(NwSNMPInit);
NETWARE_FUNCTION(NwSNMPGetJobCheckDelay);
NETWARE_FUNCTION(NwSNMPSetJobCheckDelay);
NETWARE_FUNCTION(NwSNMPGetCfgCheckDelay);
NETWARE_FUNCTION(NwSNMPSetCfgCheckDelay);

#undef NETWARE_FUNCTION

}  // namespace console::tessik
