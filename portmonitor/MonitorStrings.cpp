#include "portmonitor/MonitorStrings.h"

#include <map>

const char* LoadMonitorString(int id) {
    static const std::map<int, const char*> table = {
        {33, "Select a Printer from the List"},
        {34, "Enter a valid port name"},
        {37, "Configure Port"},
        {39, "No Response from the print server."},
        {41, "Enter Port Name:"},
        {52, "Vorlane Network Printer Port"},
        {53, "Vorlane Network Printer Port"},
        {54,
         "Enter the Print Server Name. For example, Vorlane Printer.\nNOTE:Make sure that the entered Print "
         "Server Name has already been registered to the DNS server."},
        {55,
         "Enter the IP Address in decimal notation. For example, if you want to enter 1.2.3.4, enter the 1 "
         "in the first box, the 2 in the second, the 3 in the third, and the 4 in the fourth."},
        {56,
         "Enter the IPX Address. For example, if you want to enter the IPX address where 8022 is network ID "
         "and f0a02f57 is host ID in hexadecimal notation, enter 00008022 in the first box and 0000f0a02f57 "
         "in the second box."},
        {57,
         "Enter the MAC Address. For example if you want to enter 00:00:f0:a0:2f:57, enter 0000f0a02f57. "
         "\nNOTE:Make sure that the DLC protocol has already been installed."},
        {65, "Memory Allocation Error."},
        {66, "Port not supported by Vorlane Network Printer Monitor."},
        {69, "The port cannot be deleted."},
        {70, "The port is printing. Configure it when its job is done."},
        {71, "Enter a port name without control characters (a line end, a tab and the like)."},
        {81, "Print Server Name"},
        {82, "IP Address"},
        {83, "IPX Address"},
        {84, "MAC Address"},
        {2000, "Printer Name"},
        {2001, "MAC Address"},
        {2002, "IP Address"},
        {2003, "IPX Address"},
        {2004, "Select a Printer from the List"},
        {2005, "&Add New Print Server To List"},
        {2006, "OK"},
        {2007, "Cancel"},
        {2008, "&Help"},
        {2009, "Locate Print Server Using :"},
        {2010, "Add Port"},
        {2011, "Add New Printer"},
    };
    auto found = table.find(id);
    return found != table.end() ? found->second : nullptr;
}
