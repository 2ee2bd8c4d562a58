#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "simulator/ErrorStatus.h"
#include "simulator/MibValue.h"

namespace sim {

class Mib;

// Checks a value that a set request wants to write (its type is already checked). The MIB is
// passed so that a rule can read another object, such as the choice mask of a front-panel setting.
using ValueRule = std::function<ErrorStatus(const Mib&, const MibValue&)>;

ValueRule InRange(int64_t lowest, int64_t highest);
ValueRule OneOf(std::initializer_list<int64_t> allowed);
// A front-panel choice: exactly one bit, and a bit that the mask object offers.
ValueRule OneBitOf(Oid maskObject);
// Any value that the mask object offers as a whole (zero allowed): Courier's "Dark" is 0.
ValueRule WithinMask(Oid maskObject);
ValueRule TextUpTo(size_t longest);

}  // namespace sim
