#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "snmp/codec/VarBind.h"

// Checked reads of one decoded binding's value: each answers false when the value is not of the type
// and length it must have.
bool IntegerValue(const VarBind& binding, std::int32_t& value);
bool BytesValue(const VarBind& binding, std::int32_t type, std::size_t length, const std::uint8_t*& bytes);

// "%u.%u.%u.%u" of 4 address bytes.
std::string DottedAddress(const std::uint8_t* bytes);
