#include "console/properties/DeviceRequests.h"

#include <QByteArray>

#include <functional>

#include "console/core/Libraries.h"

namespace console {

namespace {

constexpr int kOidSpare = 100;
constexpr std::int32_t kSnmpGet = 0;
constexpr std::int32_t kSnmpSet = 2;
constexpr std::int32_t kAnswerTooLong = 25012;
// Larger than any answer a UDP datagram can carry.
constexpr std::int32_t kLargestAnswer = 1 << 17;

// Calls the library with a value buffer of `size` bytes holding `request` (blanks for a get).
using Exchange = std::function<std::int32_t(char* values, std::int32_t* size)>;

std::int32_t Run(const Exchange& exchange, const QByteArray& request, int bufferSize, QString& answer) {
    std::int32_t room = std::max<std::int32_t>(bufferSize, static_cast<std::int32_t>(request.size()) + 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        QByteArray values = request;
        values.resize(room, request.isEmpty() ? ' ' : '\0');
        std::int32_t size = request.isEmpty() ? room : static_cast<std::int32_t>(request.size());
        const std::int32_t result = exchange(values.data(), &size);
        if (result == kAnswerTooLong && size > room && size <= kLargestAnswer) {
            room = size + 1;
            continue;
        }
        if (result == 0 && size >= 0 && size <= values.size()) {
            answer = QString::fromLatin1(values.constData(), size);
        }
        return result;
    }
    return kAnswerTooLong;
}

QByteArray OidBuffer(const QStringList& oids) {
    QByteArray text = oids.join(',').toLatin1();
    text.resize(text.size() + kOidSpare, '\0');
    return text;
}

using Transact = LateExport<decltype(::HelperSNMPTransact)>;

std::int32_t Objects(Transact& transact, const QString& adapter, std::int32_t operation,
                     const QStringList& oids, const QByteArray& request, int bufferSize, QString& answer) {
    const QByteArray name = adapter.toLatin1();
    const auto count = static_cast<std::int32_t>(oids.size());
    return Run(
        [&](char* values, std::int32_t* size) {
            // The library writes the answer's identifiers over the list: each attempt gets it anew.
            QByteArray oidText = OidBuffer(oids);
            return transact(name.constData(), operation, oidText.data(),
                            static_cast<std::int32_t>(oidText.size()), values, size, count);
        },
        request, bufferSize, answer);
}

}  // namespace

std::int32_t GetObjectList(const QString& adapter, const QStringList& oids, QString& values, int bufferSize) {
    return Objects(vantorel::HelperSNMPTransact, adapter, kSnmpGet, oids, {}, bufferSize, values);
}

std::int32_t GetObjectListAscii(const QString& adapter, const QStringList& oids, QString& values,
                                int bufferSize) {
    return Objects(vantorel::HelperSNMPTransactAscii, adapter, kSnmpGet, oids, {}, bufferSize, values);
}

std::int32_t GetObjectGroup(const QString& adapter, int group, QString& values, int bufferSize) {
    const QByteArray name = adapter.toLatin1();
    return Run(
        [&](char* buffer, std::int32_t* size) {
            return vantorel::HelperGetSNMPObjects(name.constData(), group, buffer, size);
        },
        {}, bufferSize, values);
}

std::int32_t SetIntegers(const QString& adapter, const QStringList& oids, const QStringList& numbers) {
    QStringList items;
    for (const QString& number : numbers) {
        items << "1," + number;
    }
    QString answer;
    return Objects(vantorel::HelperSNMPTransact, adapter, kSnmpSet, oids, items.join(',').toLatin1(), 0,
                   answer);
}

}  // namespace console
