#include "transport/DeviceRecord.h"

#include <cstring>

DeviceRecord::DeviceRecord() {
    std::memset(this, 0, sizeof *this);
}
