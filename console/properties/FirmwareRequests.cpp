#include "console/properties/FirmwareRequests.h"

#include "console/core/Libraries.h"
#include "console/core/QueuePump.h"

namespace console {

namespace {

constexpr int kSetOperation = 2;
constexpr int kOidSpare = 100;
constexpr std::int32_t kRefusedBySnmp = 25011;

const char* const kDownloadOids =
    "1.3.6.1.4.1.32473.11.5.1.12.2.2.0,1.3.6.1.4.1.32473.11.5.1.12.2.3.0,"
    "1.3.6.1.4.1.32473.11.5.1.12.2.7.0,1.3.6.1.4.1.32473.11.5.1.12.2.8.0,"
    "1.3.6.1.4.1.32473.11.5.1.12.2.4.0";
const char* const kStartOid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.5.0";
constexpr int kDownloadObjects = 5;

std::int32_t Set(const DownloadTarget& target, DownloadRequest request, int count) {
    const QByteArray name = target.name.toLatin1();
    const int oidLength = static_cast<int>(request.oidList.size()) + kOidSpare;
    request.oidList.resize(oidLength, '\0');
    const int valueLength = static_cast<int>(request.valueText.size());
    request.valueText.append('\0');
    if (target.byAddress) {
        std::uint32_t size = static_cast<std::uint32_t>(valueLength);
        return halbrin::HelperSetTFTPParameters(name.constData(), kSetOperation, request.oidList.data(),
                                                static_cast<std::uint32_t>(oidLength),
                                                request.valueText.data(), &size, count);
    }
    std::int32_t size = valueLength + 1;
    return vantorel::HelperSNMPTransact(name.constData(), kSetOperation, request.oidList.data(), oidLength,
                                        request.valueText.data(), &size, count);
}

}  // namespace

DownloadRequest DownloadObjectsRequest(const QString& pcAddress, const QByteArray& path) {
    DownloadRequest request;
    request.oidList = kDownloadOids;
    request.valueText =
        "1,2,1,1,3," + pcAddress.toLatin1() + ",2," + QByteArray::number(path.size()) + "," + path + ",1,2";
    return request;
}

DownloadOutcome StartDownload(const DownloadTarget& target, const QString& pcAddress, const QByteArray& path,
                              int attempts, std::int32_t& result) {
    const DownloadRequest objects = DownloadObjectsRequest(pcAddress, path);
    result = -1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        result = Set(target, objects, kDownloadObjects);
        if (result == 0) {
            result = Set(target, {kStartOid, "1,1"}, 1);
            return result == 0 ? DownloadOutcome::kStarted : DownloadOutcome::kNotStarted;
        }
        if (result == kRefusedBySnmp) {
            return DownloadOutcome::kRefused;
        }
        QueuePump::KeepPainted();
    }
    return DownloadOutcome::kNoResponse;
}

}  // namespace console
