#include "snmp/request/AnswerFormatter.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "snmp/codec/SnmpValueType.h"
#include "transport/HexCodec.h"

namespace snmp {

namespace {

// Appends to a caller's buffer while everything has fitted; counts what the whole text needs.
class TextSink {
  public:
    TextSink(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}

    void Append(const void* bytes, std::size_t count) {
        if (fits_ && buffer_ != nullptr && count <= capacity_ - needed_) {
            if (count != 0) {  // an empty value may come without bytes
                std::memcpy(buffer_ + needed_, bytes, count);
            }
            written_ = needed_ + count;
        } else {
            fits_ = false;
        }
        needed_ += count;
    }
    void Append(std::string_view text) { Append(text.data(), text.size()); }
    void AppendHex(const std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const char pair[] = {HexDigitChar(bytes[i] >> 4), HexDigitChar(bytes[i] & 0x0F)};
            Append(pair, sizeof pair);
        }
    }
    template <typename Number>
    void AppendNumber(Number number) {
        char digits[16];
        auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
        Append(digits, end - digits);
    }
    // Stops the writing and takes back what was written since `mark`, so that only whole items stay.
    void StopAt(std::size_t mark) {
        if (buffer_ != nullptr && mark < written_) {
            std::memset(buffer_ + mark, 0, written_ - mark);
        }
        written_ = std::min(written_, mark);
        fits_ = false;
    }

    // Turns the comma after the last whole item into the terminator; an empty text is terminated too.
    void Terminate() {
        if (buffer_ != nullptr && capacity_ != 0) {
            buffer_[written_ != 0 ? written_ - 1 : 0] = '\0';
        }
    }

    bool Fits() const { return fits_; }
    std::size_t Needed() const { return needed_; }
    std::size_t Written() const { return written_; }

  private:
    char* buffer_;
    std::size_t capacity_;
    std::size_t needed_ = 0;
    std::size_t written_ = 0;
    bool fits_ = true;
};

// Appends "code,value," by the output form of the binding's type; false when it has none.
bool AppendValue(TextSink& out, const VarBind& binding, OctetForm octets) {
    const auto* bytes = static_cast<const std::uint8_t*>(binding.Value);
    std::uint32_t number = 0;
    if (binding.ValueLength < 0 || (bytes == nullptr && binding.ValueLength != 0)) {
        return false;
    }
    switch (binding.ValueType) {
        case kSnmpInteger:
            if (!ReadBindingNumber(binding, number)) {
                return false;
            }
            out.Append("1,");
            out.AppendNumber(static_cast<std::int32_t>(number));
            break;
        case kSnmpCounter:
        case kSnmpGauge:
        case kSnmpTimeTicks:
            if (!ReadBindingNumber(binding, number)) {
                return false;
            }
            out.AppendNumber(binding.ValueType);
            out.Append(",");
            out.AppendNumber(number);
            break;
        case kSnmpOctetString:
            out.Append("2,");
            if (octets == OctetForm::Hex) {
                out.AppendNumber(2 * static_cast<std::int64_t>(binding.ValueLength));
                out.Append(",");
                out.AppendHex(bytes, binding.ValueLength);
            } else {
                out.AppendNumber(binding.ValueLength);
                out.Append(",");
                out.Append(bytes, binding.ValueLength);
            }
            break;
        case kSnmpIpAddress:
            if (binding.ValueLength < 4) {
                return false;
            }
            out.Append("3,");
            for (int i = 0; i < 4; ++i) {
                out.AppendNumber(bytes[i]);
                out.Append(i < 3 ? "." : "");
            }
            break;
        case kSnmpObjectId:
            out.Append("8,");
            out.Append(bytes, binding.ValueLength);
            break;
        default:
            return false;
    }
    out.Append(",");
    return true;
}

}  // namespace

bool FormatAnswer(const ReqParam& answer, char* oids, std::size_t oidCapacity, char* values,
                  std::size_t valueCapacity, AnswerSizes& sizes, OctetForm octets) {
    if (values != nullptr) {
        std::memset(values, 0, valueCapacity);
    }
    TextSink oidText(oids, oidCapacity);
    TextSink valueText(values, valueCapacity);
    for (std::size_t i = 0; i < answer.BindingCount; ++i) {
        const VarBind& binding = answer.Bindings[i];
        const std::size_t oidMark = oidText.Written();
        const std::size_t valueMark = valueText.Written();
        oidText.Append(binding.Oid, binding.Oid != nullptr ? binding.OidLength : 0);
        oidText.Append(",");
        const bool hasText = AppendValue(valueText, binding, octets);
        // Everything must have fitted so far for either text to go on.
        if (!hasText || !oidText.Fits() || !valueText.Fits()) {
            oidText.StopAt(oidMark);
            valueText.StopAt(valueMark);
        }
    }
    oidText.Terminate();
    valueText.Terminate();
    const bool fitted = oidText.Fits() && valueText.Fits();
    sizes.oidSize = oidText.Needed() + 1;
    sizes.valueSize = fitted && valueText.Needed() != 0 ? valueText.Needed() - 1 : valueText.Needed();
    return fitted;
}

}  // namespace snmp
