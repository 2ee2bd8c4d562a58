#include "platform/services/ApplicationId.h"

extern "C" __attribute__((visibility("default"))) unsigned char bgApplId = 0;
