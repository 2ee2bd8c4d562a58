#pragma once

#include <cstddef>

#include "snmp/codec/ReqParam.h"

namespace snmp {

// How octet strings are written: their bytes as they are ("2,3,abc"), or as upper-case hex digits
// with the digit count ("2,6,616263").
enum class OctetForm { Bytes, Hex };

struct AnswerSizes {
    std::size_t oidSize = 0;    // the OidList room needed, plus one
    std::size_t valueSize = 0;  // fitted: the value text's length; else the room it needs
};

// Writes a decoded answer as text: its object identifiers as an OidList and its values as an
// SnmpValueText ("1,25,2,3,abc,3,10.0.0.1,8,1.3.6"). Nothing is written past either buffer, and
// only whole items: once anything fails to fit the writing stops (both texts end after their last
// whole item) and the sizes go on growing to what is needed. Values of
// types without a text form (opaque, null, unknown) fail the whole answer. The value buffer is
// cleared over its whole capacity first. True when every binding fitted and had a text form.
bool FormatAnswer(const ReqParam& answer, char* oids, std::size_t oidCapacity, char* values,
                  std::size_t valueCapacity, AnswerSizes& sizes, OctetForm octets = OctetForm::Bytes);

}  // namespace snmp
