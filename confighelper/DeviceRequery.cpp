#include "confighelper/DeviceDetails.h"
#include "confighelper/DeviceStore.h"
#include "confighelper/Halbrin.h"
#include "confighelper/RecordText.h"
#include "platform/services/DebugOutput.h"
#include "platform/services/ExportGuard.h"
#include "transport/DeviceStoreReader.h"

HALBRIN_EXPORT HelperResult HelperGetIPSDetails(const char* adapterName) {
    return plat::GuardExport(kHelperFailed, [&]() -> HelperResult {
        if (adapterName == nullptr) {
            return kHelperFailed;
        }
        DeviceRecord record;
        SetRecordText(record.macAddress, adapterName);
        if (HelperGetRegNPCDetails(adapterName, record) != kTransportOk) {
            plat::DebugOutput("lHelperGetRegNPCDetails failed");
        }
        if (QueryDeviceDetails(record) != kHelperOk || StoreDeviceRecord(record) != kHelperOk) {
            return kHelperFailed;
        }
        return kHelperOk;
    });
}
