#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "snmp/codec/ReqParam.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/traps/TrapParam.h"

// Decoded answers and traps built in memory, as the SNMP library gives them.
class AnswerBuilder {
  public:
    AnswerBuilder& Integer(std::int32_t value) {
        std::vector<std::uint8_t> bytes(sizeof value);
        std::memcpy(bytes.data(), &value, sizeof value);
        return Add(kSnmpInteger, bytes);
    }
    AnswerBuilder& Octets(const std::vector<std::uint8_t>& bytes) { return Add(kSnmpOctetString, bytes); }
    AnswerBuilder& Text(const std::string& text) { return Add(kSnmpOctetString, {text.begin(), text.end()}); }
    AnswerBuilder& Ip(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
        return Add(kSnmpIpAddress, {a, b, c, d});
    }
    AnswerBuilder& Add(std::int32_t type, const std::vector<std::uint8_t>& bytes) {
        values_.push_back(bytes);
        types_.push_back(type);
        return *this;
    }
    AnswerBuilder& ErrorStatus(std::uint8_t status) {
        errorStatus_ = status;
        return *this;
    }

    // The record stays valid while the builder lives.
    ReqParam& Answer() {
        Bind();
        answer_ = ReqParam{};
        answer_.PduType = kPduResponse;
        answer_.ErrorStatus = errorStatus_;
        answer_.BindingCount = static_cast<std::uint16_t>(bindings_.size());
        answer_.Bindings = bindings_.data();
        return answer_;
    }
    TrapParam& Trap(std::uint8_t generic, std::uint16_t specific) {
        Bind();
        trap_ = TrapParam{};
        trap_.GenericTrap = generic;
        trap_.SpecificTrap = specific;
        trap_.BindingCount = static_cast<std::uint16_t>(bindings_.size());
        trap_.Bindings = bindings_.data();
        return trap_;
    }

  private:
    void Bind() {
        bindings_.assign(values_.size(), VarBind{});
        for (std::size_t i = 0; i < values_.size(); ++i) {
            bindings_[i].ValueType = types_[i];
            bindings_[i].Value = values_[i].data();
            bindings_[i].ValueLength = static_cast<std::int32_t>(values_[i].size());
        }
    }

    std::vector<std::vector<std::uint8_t>> values_;
    std::vector<std::int32_t> types_;
    std::vector<VarBind> bindings_;
    std::uint8_t errorStatus_ = 0;
    ReqParam answer_{};
    TrapParam trap_{};
};
