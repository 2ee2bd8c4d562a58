#include "console/configuration/ConfigurationSnmp.h"

#include "console/core/DeviceAccess.h"
#include "console/core/Libraries.h"

namespace console {

namespace {

constexpr int kOidSpare = 100;
constexpr std::int32_t kFirstRoom = 200;
constexpr std::int32_t kAnswerTooLong = 25012;
constexpr int kGet = 0;
constexpr int kSet = 2;

// Runs one exchange with a value buffer of `room` bytes; when the answer does not fit and the
// library tells the room it needs, once more with that room.
template <typename Exchange>
std::int32_t Grown(QString& answer, Exchange exchange) {
    std::int32_t room = kFirstRoom;
    for (int attempt = 0; attempt < 2; ++attempt) {
        QByteArray buffer(room + 1, ' ');
        std::int32_t size = room;
        const std::int32_t result = exchange(buffer.data(), &size);
        if (result == 0 && size >= 0 && size <= room) {
            answer = QString::fromLatin1(buffer.constData(), size);
            return 0;
        }
        if (result != kAnswerTooLong || size <= room) {
            return result == 0 ? kAnswerTooLong : result;
        }
        room = size;
    }
    return kAnswerTooLong;
}

QByteArray OidBuffer(const QStringList& oids) {
    QByteArray buffer = oids.join(',').toLatin1();
    buffer.resize(buffer.size() + kOidSpare, '\0');
    return buffer;
}

}  // namespace

std::int32_t GetValues(const QString& adapter, const QStringList& oids, std::vector<QString>& values) {
    const QByteArray name = adapter.toLatin1();
    QString answer;
    const std::int32_t result = Grown(answer, [&](char* buffer, std::int32_t* size) {
        QByteArray oidList = OidBuffer(oids);
        return vantorel::HelperSNMPTransact(name.constData(), kGet, oidList.data(),
                                            static_cast<std::int32_t>(oidList.size()), buffer, size,
                                            static_cast<std::int32_t>(oids.size()));
    });
    if (result == 0) {
        values = ParseReply(answer, true);
    }
    return result;
}

std::int32_t GetGroup(const QString& adapter, int group, std::vector<QString>& values) {
    const QByteArray name = adapter.toLatin1();
    QString answer;
    const std::int32_t result = Grown(answer, [&](char* buffer, std::int32_t* size) {
        return vantorel::HelperGetSNMPObjects(name.constData(), group, buffer, size);
    });
    if (result == 0) {
        values = ParseReply(answer, true);
    }
    return result;
}

std::int32_t SetValues(const QString& adapter, const QStringList& oids, const QString& valueText) {
    const QByteArray name = adapter.toLatin1();
    QByteArray oidList = OidBuffer(oids);
    // The value text ends at its terminator; the room behind it takes the answer's values.
    QByteArray values = valueText.toLatin1();
    values.resize(2 * values.size() + kFirstRoom, '\0');
    std::int32_t size = static_cast<std::int32_t>(values.size() - 1);
    return vantorel::HelperSNMPTransact(name.constData(), kSet, oidList.data(),
                                        static_cast<std::int32_t>(oidList.size()), values.data(), &size,
                                        static_cast<std::int32_t>(oids.size()));
}

QString ValueItem(const QString& type, const QString& value) {
    if (type == "2") {
        return "2," + QString::number(TextByteWidth(value)) + ',' + value;
    }
    return type + ',' + value;
}

}  // namespace console
