#include "console/properties/StatisticsGroups.h"

namespace console {

namespace {

StatisticsRead Direct(QStringList oids, int firstRow, int lastRow, int bufferSize = 200) {
    return {std::move(oids), 0, bufferSize, firstRow, lastRow};
}

StatisticsRead Group(int group, int firstRow, int lastRow, int bufferSize = 200) {
    return {{}, group, bufferSize, firstRow, lastRow};
}

std::vector<StatisticsGroup> MakeGroups() {
    const QString atPort = "1.3.6.1.2.1.13.3.1.1.";
    // Group 23 asks for eleven DLC counters, so the DLC tree shows rows 2601 to 2611.
    return {
        {kTcpTree, 1550, {Direct({"1.3.6.1.2.1.2.2.1.6.2"}, 1701, 1701), Group(1, 1702, 1712)}},
        {kTcpTree, 1551, {Group(3, 1751, 1759)}},
        {kTcpTree, 1552, {Group(4, 1801, 1806)}},
        {kTcpTree, 1553, {Group(6, 1851, 1852)}},
        {kTcpTree, 1554, {Group(5, 1901, 1904)}},
        {kIpxTree,
         1660,
         {Direct({"1.3.6.1.4.1.23.2.5.1.1.1.3.1", "1.3.6.1.4.1.23.2.5.1.1.1.4.1"}, 2501, 2502),
          Group(7, 2503, 2510, 100)}},
        {kAppleTree, 1600, {Group(8, 1951, 1952)}},
        {kAppleTree,
         1601,
         {Direct({atPort + "4.1", atPort + "5.1", atPort + "6.1", atPort + "12.1", atPort + "13.1",
                  atPort + "18.1"},
                 2001, 2006, 300),
          Group(9, 2007, 2008, 300)}},
        {kAppleTree, 1602, {Group(10, 2051, 2056, 300)}},
        {kAppleTree,
         1603,
         {Direct({"1.3.6.1.4.1.32473.11.5.1.12.5.3.0"}, 2101, 2101, 300), Group(11, 2102, 2104, 300)}},
        {kAppleTree, 1604, {Group(12, 2151, 2154, 300)}},
        {kAppleTree, 1605, {Group(13, 2201, 2207, 300)}},
        {kAppleTree, 1606, {Group(14, 2251, 2256, 300)}},
        {kAppleTree, 1607, {Group(15, 2301, 2302, 300)}},
        {kAppleTree, 1608, {Group(16, 2351, 2356, 300)}},
        {kSnmpTree, 1650, {Group(17, 2401, 2417)}},
        {kDlcTree, 1670, {Group(23, 2601, 2611)}},
    };
}

}  // namespace

const std::vector<StatisticsGroup>& StatisticsGroups() {
    static const std::vector<StatisticsGroup> groups = MakeGroups();
    return groups;
}

}  // namespace console
