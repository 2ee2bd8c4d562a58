#include "simulator/CardOids.h"

namespace sim {

Oid Private(std::initializer_list<uint32_t> tail) {
    return PrivateArc.Concat(Oid(tail));
}
Oid Standard(std::initializer_list<uint32_t> tail) {
    return MibTwo.Concat(Oid(tail));
}

}  // namespace sim
