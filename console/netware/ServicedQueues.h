#pragma once

#include <QString>

#include <vector>

// The queues the print server card services for NetWare, as the NetWare page of the network interface
// dialog last read them from that card's service table, and the names of the card's own NetWare
// objects. The page sets this state; the add queue dialog reads it.
namespace console {

// Service modes of a queue on the card.
enum NetWareMode : int {
    kBinderyPrintServer = 1,
    kBinderyRemotePrinter = 2,
    kDirectoryPrintServer = 3,
    kDirectoryRemotePrinter = 4,
};

inline bool IsPrintServerMode(int mode) {
    return mode == kBinderyPrintServer || mode == kDirectoryPrintServer;
}
inline bool IsRemotePrinterMode(int mode) {
    return mode == kBinderyRemotePrinter || mode == kDirectoryRemotePrinter;
}
inline bool IsKnownMode(int mode) {
    return IsPrintServerMode(mode) || IsRemotePrinterMode(mode);
}

// One row of the card's service table. For a directory queue the queue and the print server are
// dotted names whose part after the first "." is their context.
struct ServicedQueue {
    QString queueHost;  // file server or tree
    QString queue;
    int mode = 0;
    QString printServerHost;
    QString printServer;
    int status = 0;  // 1 OK, 2 not OK, anything else unknown
};

struct NetWareSetup {
    QString adapterName;             // NwAdapterName: the print server being configured
    QString defaultPrintServerName;  // the name the card serves under: maker abbreviation and 6 digits
    // The rows of the page's latest read of this card's service table; none when that read failed,
    // for then nothing is known of what the card services.
    std::vector<ServicedQueue> servicedQueues;
    bool queueListChanged = false;  // set by the add queue dialog after a queue was added
    bool clientAvailable = true;    // NetWareClientAvailable: cleared when the client cannot be used
};

// The console's one NetWare set-up state.
NetWareSetup& NetWare();

// The rows of NwSNMPInit's list: four records each (queue path, mode, print server path, status),
// each path split at its first "\" into host and name. Reading ends at a record that cannot be read
// (it reads as empty); a row left without its four records is dropped.
std::vector<ServicedQueue> ReadServicedQueues(const QString& list);

// "PSERVER", "RPRINTER" or "UNKNOWN".
QString ModeText(int mode);

// The maker's abbreviation followed by the last six characters of the adapter name.
QString DefaultPrintServerNameOf(const QString& adapterName);
// The card's printer object for a mode: the default print server name with "_ps" or "_rp".
QString CardPrinterName(int mode);

// A dotted directory name cut at its first ".": the name and its context ("[Root]" without one).
struct DottedName {
    QString name;
    QString context;
};
DottedName SplitDottedName(const QString& dotted);
// The text after the first "." (empty without one).
QString ContextOf(const QString& dotted);

// Texts as NetWare compares names: without regard to case.
bool SameNetWareName(const QString& a, const QString& b);

// Whether two rows are one service: the same queue on the same host, in the same mode, serviced by
// the same print server.
bool SameService(const ServicedQueue& a, const ServicedQueue& b);

}  // namespace console
