#include "snmp/codec/ReqParam.h"

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/BindingList.h"

namespace snmp {

void FreeReqParam(ReqParam* message) {
    if (message == nullptr) {
        return;
    }
    plat::FreeBlock(message->Community);
    FreeBindingList(message->Bindings, message->BindingCount);
    plat::FreeBlock(message);
}

}  // namespace snmp
