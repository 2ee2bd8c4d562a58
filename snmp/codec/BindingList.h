#pragma once

#include <cstddef>
#include <cstdint>

#include "snmp/codec/BerReader.h"
#include "snmp/codec/BerWriter.h"
#include "snmp/codec/VarBind.h"

namespace snmp {

// Writes the binding list (tag, length and every binding). Without `withValues` every value is an
// empty octet string, as get and get-next send. Fails on a bad object identifier text, a value that
// cannot be encoded, or no room.
bool EncodeBindingList(BerWriter& out, const VarBind* bindings, std::size_t count, bool withValues);

// Decodes the bindings of a list's content until it ends, at most kMaxBindings, into a new array
// (one record per binding). Each value goes into a block of `valueBlock` bytes, refusing longer
// values, or, with valueBlock 0, into a block of its own length plus a spare zero byte.
bool DecodeBindingList(BerReader list, std::size_t valueBlock, VarBind*& bindings, std::uint16_t& count);

}  // namespace snmp
