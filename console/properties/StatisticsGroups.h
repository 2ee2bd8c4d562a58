#pragma once

#include <QStringList>

#include <vector>

// What each group of the protocol statistics trees reads and which rows it shows.
namespace console {

enum StatisticsTree : int { kTcpTree, kIpxTree, kAppleTree, kSnmpTree, kDlcTree, kTreeCount };

// One read: a get of the OIDs (octet strings as hexadecimal digits) or of a predefined object
// group; its values fill rows firstRow, firstRow + 1 ... in order.
struct StatisticsRead {
    QStringList oids;  // empty: the object group
    int group = 0;
    int bufferSize = 200;
    int firstRow = 0;
    int lastRow = 0;
};

struct StatisticsGroup {
    StatisticsTree tree;
    int label;  // string id of the group item
    std::vector<StatisticsRead> reads;
};

const std::vector<StatisticsGroup>& StatisticsGroups();

}  // namespace console
