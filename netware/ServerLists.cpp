#include <string>

#include "netware/DirectoryContext.h"
#include "netware/NameList.h"
#include "netware/ServerConnection.h"
#include "netware/Tessik.h"

namespace {

// Appends every name `next` gives until it gives a nonzero code: the list's end.
template <typename Next>
NwResult AppendUntilEnd(Next next, NameListWriter& list) {
    std::string name;
    while (next(name) == plat::kNwSuccess) {
        const NwResult result = list.Append(name);
        if (result != kNwOk) {
            return result;
        }
    }
    list.Finish();
    return kNwOk;
}

// A print services scan of a bindery server (queues or print servers) into the list. A scan that
// finds nothing is an empty list; one that fails part-way is `failed`, with the records before.
template <typename Start>
NwResult ScanServer(const char* server, bool loginNeeded, Start start, NwResult failed, char* buffer,
                    std::uint32_t* length, std::int32_t* count) {
    NameListWriter list(buffer, length, count);
    if (!list.Usable()) {
        return kNwDoesNotFit;
    }
    ServerConnection connection;
    const NwResult opened = connection.Open(server, loginNeeded);
    if (opened != kNwOk) {
        return opened;
    }
    plat::NwScan scan = 0;
    std::string name;
    plat::NwCode code = start(connection.Handle(), scan, name);
    for (; code == plat::kNwSuccess; code = plat::NwScanNext(scan, name)) {
        const NwResult result = list.Append(name);
        if (result != kNwOk) {
            plat::NwScanEnd(scan);
            return result;
        }
    }
    if (code != plat::kNwEndOfScan) {
        plat::NwScanEnd(scan);
        return failed;
    }
    plat::NwScanEnd(scan);
    list.Finish();
    return kNwOk;
}

}  // namespace

NwResult NwListFs(char* buffer, std::uint32_t* length, std::int32_t* count) {
    return RunExport({}, [&]() -> NwResult {
        NameListWriter list(buffer, length, count);
        if (!list.Usable()) {
            return kNwDoesNotFit;
        }
        ServerConnection connection;
        if (connection.OpenDefault() != kNwOk) {
            return kNwCannotConnect;
        }
        std::int32_t objectId = -1;
        return AppendUntilEnd(
            [&](std::string& name) {
                return plat::NwScanBinderyObject(connection.Handle(), "*", plat::kNwFileServerObject,
                                                 objectId, name);
            },
            list);
    });
}

NwResult NwListTrees(char* buffer, std::uint32_t* length, std::int32_t* count) {
    return RunExport({}, [&]() -> NwResult {
        NameListWriter list(buffer, length, count);
        if (!list.Usable()) {
            return kNwDoesNotFit;
        }
        DirectoryContext context;
        ServerConnection connection;
        if (context.Make(nullptr) != kNwOk || connection.OpenDefault() != kNwOk) {
            return kNwCannotConnect;
        }
        std::int32_t iterator = -1;
        return AppendUntilEnd(
            [&](std::string& name) {
                return plat::NwScanTrees(context.Handle(), connection.Handle(), "*", iterator, name);
            },
            list);
    });
}

NwResult NwBiGetQueueList(const char* server, char* buffer, std::uint32_t* length, std::int32_t* count) {
    return RunExport({server}, [&]() -> NwResult {
        return ScanServer(server, true, plat::NwQueueScanStart, kNwQueueScanFailed, buffer, length, count);
    });
}

NwResult NwBiGetPsList(const char* server, char* buffer, std::uint32_t* length, std::int32_t* count) {
    return RunExport({server}, [&]() -> NwResult {
        return ScanServer(server, false, plat::NwPrintServerScanStart, kNwPrintServerScanFailed, buffer,
                          length, count);
    });
}
