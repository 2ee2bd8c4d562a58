#include "console/core/DeviceAccess.h"

#include <QLineEdit>

#include "console/core/ConsoleState.h"
#include "console/core/FaultRule.h"
#include "console/core/Libraries.h"
#include "console/core/Messages.h"

namespace console {

namespace {

constexpr int kOidSpare = 100;
constexpr int kValueBlanks = 200;
constexpr int kSnmpGet = 0;
constexpr int kSnmpSetOperation = 2;
constexpr int kDecodeFailed = 25009;
constexpr int kOutOfRange = 12008;

const char* const kProtectionOid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.1.0";
const char* const kPassword1Oid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.2.0";
const char* const kPassword2Oid = "1.3.6.1.4.1.32473.11.5.1.12.6.1.3.0";
const char* const kOptionsOid = "1.3.6.1.4.1.32473.11.5.1.1.3.2.0";
constexpr int kPostScriptBit = 1024;

std::int32_t Transact(const QString& adapter, int operation, const QString& oid, QByteArray values,
                      QString& answer) {
    QByteArray oids = oid.toLatin1();
    oids.resize(oids.size() + kOidSpare, '\0');
    const QByteArray name = adapter.toLatin1();
    std::int32_t size = static_cast<std::int32_t>(values.size());
    values.append('\0');
    const std::int32_t result =
        vantorel::HelperSNMPTransact(name.constData(), operation, oids.data(),
                                     static_cast<std::int32_t>(oids.size()), values.data(), &size, 1);
    if (result == 0 && size >= 0 && size <= values.size()) {
        answer = QString::fromLatin1(values.constData(), size);
    }
    return result;
}

const char* PasswordOid(int kind) {
    return kind == 1 ? kPassword1Oid : kPassword2Oid;
}

// The first value as a whole number.
std::optional<int> FirstNumber(const QString& reply) {
    const std::vector<QString> values = ParseReply(reply);
    bool ok = false;
    const int number = values.empty() ? 0 : values.front().trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QString RangeNumber(int value) {
    return value < 0 ? QString::number(value) : ' ' + QString::number(value);
}

}  // namespace

std::int32_t SnmpGet(const QString& adapter, const QString& oid, QString& value) {
    return Transact(adapter, kSnmpGet, oid, QByteArray(kValueBlanks, ' '), value);
}

std::int32_t SnmpSet(const QString& adapter, const QString& oid, const QString& valueText) {
    QString answer;
    // The value text ends at its terminator; the room behind it takes the answer.
    QByteArray values = valueText.toLatin1();
    values.resize(std::max<qsizetype>(values.size() + 1, kValueBlanks), '\0');
    return Transact(adapter, kSnmpSetOperation, oid, values, answer);
}

std::int32_t ProbePrinter() {
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return 0;
    }
    QString value;
    return SnmpGet(row->mac, kProtectionOid, value);
}

PasswordState IsPasswordEnabled() {
    return UnderFatalRule([] {
        const PrinterRow* row = CurrentPrinter();
        if (row == nullptr) {
            return kPasswordUnknown;
        }
        QString value;
        const std::int32_t result = SnmpGet(row->mac, kProtectionOid, value);
        const std::optional<int> on = result == 0 ? FirstNumber(value) : std::nullopt;
        if (!on) {
            ShowResult(result != 0 ? result : kDecodeFailed, kWarning);
            return kPasswordUnknown;
        }
        return *on == 1 ? kPasswordOn : kPasswordOff;
    });
}

std::int32_t GetObjects(const QString& adapter, const QString& oid, QString& value, int kind) {
    return UnderFatalRule([&] {
        QString answer;
        const std::int32_t result = SnmpGet(adapter, oid, answer);
        if (result != 0) {
            return result;
        }
        const qsizetype first = answer.indexOf(',');
        if (kind == 2) {
            const qsizetype second = answer.indexOf(',', first + 1);
            value = second < 0 ? QString() : answer.mid(second + 1);
        } else {
            value = answer.mid(first + 1);
        }
        return result;
    });
}

void GetPassword(int kind) {
    UnderFatalRule([kind] {
        const PrinterRow* row = CurrentPrinter();
        if (row == nullptr) {
            return;
        }
        QString value;
        const std::int32_t result = SnmpGet(row->mac, PasswordOid(kind), value);
        if (result != 0) {
            ShowResult(result, kWarning);
            return;
        }
        const std::vector<QString> values = ParseReply(value, true);
        State().currentPassword = values.empty() ? QString() : values.front();
    });
}

std::int32_t SetPassword(const QString& adapter, const QString& password, int kind) {
    return SnmpSet(adapter, PasswordOid(kind),
                   "2," + QString::number(TextByteWidth(password)) + ',' + password);
}

bool HasPostScript() {
    const PrinterRow* row = CurrentPrinter();
    if (row == nullptr) {
        return false;
    }
    QString value;
    const std::int32_t result = SnmpGet(row->mac, kOptionsOid, value);
    if (result != 0) {
        ShowResult(result, kWarning);
        return false;
    }
    return (FirstNumber(value).value_or(0) & kPostScriptBit) != 0;
}

std::vector<QString> ParseReply(const QString& reply, bool keepBlanks) {
    std::vector<QString> values;
    const QString text = keepBlanks                  ? reply
                         : reply.trimmed().isEmpty() ? QString()
                                                     : [&] {
                                                           qsizetype end = reply.size();
                                                           while (end > 0 && reply[end - 1] == ' ') {
                                                               --end;
                                                           }
                                                           return reply.left(end);
                                                       }();
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype comma = text.indexOf(',', pos);
        if (comma < 0) {
            values.push_back(text.mid(pos));
            break;
        }
        const bool octets = text.mid(pos, comma - pos) == "2";
        const qsizetype next = text.indexOf(',', comma + 1);
        if (next < 0) {
            values.push_back(text.mid(comma + 1));
            break;
        }
        if (octets) {
            const qsizetype count = std::max(0, text.mid(comma + 1, next - comma - 1).toInt());
            values.push_back(text.mid(next + 1, count));
            pos = next + 1 + count + 1;
        } else {
            values.push_back(text.mid(comma + 1, next - comma - 1));
            pos = next + 1;
        }
    }
    return values;
}

std::vector<QString> ParseReplyList(const QString& reply) {
    std::vector<QString> values;
    qsizetype pos = 0;
    while (pos < reply.size()) {
        qsizetype comma = reply.indexOf(',', pos);
        if (comma < 0) {
            values.push_back(reply.mid(pos));
            break;
        }
        if (reply.mid(pos, comma - pos) == "2") {
            comma = reply.indexOf(',', comma + 1);  // the byte count is skipped
            if (comma < 0) {
                break;
            }
        }
        const qsizetype next = reply.indexOf(',', comma + 1);
        values.push_back(reply.mid(comma + 1, next < 0 ? -1 : next - comma - 1));
        if (next < 0) {
            break;
        }
        pos = next + 1;
    }
    return values;
}

std::vector<QString> ParseReplyPairs(const QString& text) {
    const QStringList parts = text.split('.');
    return {parts.begin(), parts.end()};
}

bool ValidateRange(QLineEdit* box, int minimum, int maximum) {
    if (box->text().isEmpty()) {
        box->setText("0");
    }
    bool number = false;
    const int value = box->text().trimmed().toInt(&number);
    if (number && value >= minimum && value <= maximum) {
        return true;
    }
    ShowMessageEx(kOutOfRange, kWarning, RangeNumber(minimum) + " - " + RangeNumber(maximum));
    return false;
}

int TextByteWidth(const QString& text) {
    return static_cast<int>(text.toLatin1().size());
}

}  // namespace console
