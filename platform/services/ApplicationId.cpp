#include "platform/services/ApplicationId.h"

__attribute__((visibility("default"))) unsigned char bgApplId = 0;
