#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The two sets that tell a print server where to fetch its firmware: the download objects (this
// PC's address as the TFTP server and the file's path), then the start object.
namespace console {

// How the print server is reached: by its adapter name (SNMP library) or by its IP address
// (configuration helper, which only says whether an error-free answer came).
struct DownloadTarget {
    QString name;
    bool byAddress = false;
};

enum class DownloadOutcome {
    kStarted,
    kNoResponse,  // no attempt was answered
    kRefused,     // the print server refused the download objects (the path, most often)
    kNotStarted,  // the download objects were taken, the start was not
};

struct DownloadRequest {
    QByteArray oidList;
    QByteArray valueText;
};

// The first request: the five download objects, the path counted in bytes.
DownloadRequest DownloadObjectsRequest(const QString& pcAddress, const QByteArray& path);

// Up to `attempts` tries of the first request, one after the other; once answered, the start.
// `result` gets the library's result of the last set made.
DownloadOutcome StartDownload(const DownloadTarget& target, const QString& pcAddress, const QByteArray& path,
                              int attempts, std::int32_t& result);

}  // namespace console
