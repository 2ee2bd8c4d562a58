#pragma once

#include "confighelper/DeviceIdentity.h"
#include "confighelper/HelperResult.h"
#include "transport/DeviceRecord.h"

// Whether the print server's TCP/IP is switched on (1), asked after its details.
inline constexpr const char* kTcpIpStateOid = "1.3.6.1.4.1.32473.11.5.1.12.3.3.0";

// True when this PC can open a UDP socket.
bool TcpIpAvailable();

// Folds the answer to the TCP/IP state question (null when none came) into the record's protocols:
// IP is added (and preferred unless DLC is) when the answer says 1 and this PC has TCP/IP, or, without
// an answer, when the print server reported an IP address other than 0.0.0.0.
void ApplyTcpIpState(DeviceRecord& record, const DeviceIdentity& identity, const ReqParam* answer);

// Asks one print server, named by the record's MAC text, for its details over a device channel and
// folds them into the record. 0, or the exchange's failure (the record is then unchanged).
HelperResult QueryDeviceDetails(DeviceRecord& record);
