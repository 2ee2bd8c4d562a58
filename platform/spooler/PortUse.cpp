#include "platform/spooler/PortUse.h"

#include "platform/text/CaseInsensitive.h"

namespace plat {

bool PrintsToPort(const PrinterDevice& queue, const std::string& port) {
    const std::optional<std::string> named = PortOfDeviceUri(queue.deviceUri);
    return !port.empty() && named && EqualsNoCase(*named, port);
}

bool GetPortUse(const std::string& port, PortUse& use) {
    std::vector<PrinterDevice> queues;
    if (!EnumPrinters(queues)) {
        return false;
    }
    use = PortUse{};
    for (const PrinterDevice& queue : queues) {
        if (!PrintsToPort(queue, port)) {
            continue;
        }
        use.printers.push_back(queue.name);
        std::vector<JobInfo2> jobs;
        const OpenedPrinter printer = OpenPrinter(queue.name);
        if (!printer || !EnumJobs(printer.get(), jobs)) {
            return false;
        }
        for (const JobInfo2& job : jobs) {
            ++((job.status & kJobStatusPrinting) != 0 ? use.printing : use.waiting);
        }
    }
    return true;
}

}  // namespace plat
