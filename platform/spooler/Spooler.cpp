#include "platform/spooler/Spooler.h"

#include <cups/cups.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "platform/services/ModuleLoader.h"
#include "platform/spooler/MonitorInterface.h"

namespace plat {

struct SpoolerPrinter {
    std::string name;
    std::string uri;
};

namespace {

std::atomic<std::uint32_t> deletingJob{0};

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDeleter>;

std::string PrinterUri(const char* name) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name);
    return uri;
}

IppMessage NewRequest(ipp_op_t operation, const std::string& printerUri) {
    IppMessage request(ippNewRequest(operation));
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.c_str());
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// Sends the request to the spooler; the answer when it succeeded.
IppMessage Exchange(IppMessage request, const char* resource) {
    IppMessage answer(cupsDoRequest(CUPS_HTTP_DEFAULT, request.release(), resource));
    if (!answer || ippGetStatusCode(answer.get()) > IPP_STATUS_OK_CONFLICTING) {
        return nullptr;
    }
    return answer;
}

std::string Text(ipp_t* answer, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(answer, name, IPP_TAG_ZERO);
    const char* text = attribute != nullptr ? ippGetString(attribute, 0, nullptr) : nullptr;
    return text != nullptr ? text : "";
}

std::uint32_t StatusOfState(int state) {
    switch (state) {
        case IPP_JSTATE_HELD:
            return kJobStatusPaused;
        case IPP_JSTATE_PROCESSING:
            return kJobStatusPrinting;
        case IPP_JSTATE_STOPPED:
        case IPP_JSTATE_ABORTED:
            return kJobStatusError;
        case IPP_JSTATE_CANCELED:
            return kJobStatusDeleted;
        case IPP_JSTATE_COMPLETED:
            return kJobStatusComplete;
        default:
            return 0;
    }
}

ipp_op_t OperationOf(std::uint32_t command) {
    switch (command) {
        case kJobControlPause:
            return IPP_OP_HOLD_JOB;
        case kJobControlResume:
            return IPP_OP_RELEASE_JOB;
        case kJobControlCancel:
            return IPP_OP_CANCEL_JOB;
        case kJobControlRestart:
            return IPP_OP_RESTART_JOB;
        default:
            return IPP_OP_CUPS_INVALID;
    }
}

}  // namespace

bool OpenPrinter(const char* name, PrinterHandle* handle) {
    if (name == nullptr || handle == nullptr) {
        return false;
    }
    auto printer = std::make_unique<SpoolerPrinter>(SpoolerPrinter{name, PrinterUri(name)});
    IppMessage request = NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, printer->uri);
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state");
    if (!Exchange(std::move(request), "/")) {
        return false;
    }
    *handle = printer.release();
    return true;
}

bool ClosePrinter(PrinterHandle handle) {
    delete handle;
    return handle != nullptr;
}

bool GetJob(PrinterHandle handle, std::uint32_t jobId, JobInfo1& info) {
    if (handle == nullptr) {
        return false;
    }
    IppMessage request = NewRequest(IPP_OP_GET_JOB_ATTRIBUTES, handle->uri);
    ippAddInteger(request.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", static_cast<int>(jobId));
    static const char* const wanted[] = {"job-state", "job-name", "job-originating-user-name",
                                         "job-originating-host-name"};
    ippAddStrings(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 4, nullptr,
                  wanted);
    IppMessage answer = Exchange(std::move(request), "/");
    if (!answer) {
        return false;
    }
    info.jobId = jobId;
    info.printerName = handle->name;
    info.machineName = Text(answer.get(), "job-originating-host-name");
    info.userName = Text(answer.get(), "job-originating-user-name");
    info.document = Text(answer.get(), "job-name");
    ipp_attribute_t* state = ippFindAttribute(answer.get(), "job-state", IPP_TAG_ENUM);
    info.status = StatusOfState(state != nullptr ? ippGetInteger(state, 0) : 0);
    if (deletingJob.load() == jobId && jobId != 0) {
        info.status |= kJobStatusDeleting;
    }
    return true;
}

bool SetJob(PrinterHandle handle, std::uint32_t jobId, std::uint32_t command) {
    const ipp_op_t operation = OperationOf(command);
    if (handle == nullptr || operation == IPP_OP_CUPS_INVALID) {
        return false;
    }
    IppMessage request = NewRequest(operation, handle->uri);
    ippAddInteger(request.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", static_cast<int>(jobId));
    return Exchange(std::move(request), "/jobs") != nullptr;
}

bool AddPort(const char* server, std::uint32_t window, const char* monitorName) {
    if (monitorName == nullptr || std::strcmp(monitorName, "Vorlane Network Printer Port") != 0) {
        return false;
    }
    // The monitor stays loaded, as the spooler keeps its monitors.
    MapModuleName("Dalvor.dll", "libdalvor.so");
    static ModuleHandle monitor = LoadModule("Dalvor.dll");
    using Initialize = MonitorBool (*)(const char*, MonitorTable*);
    auto initialize = monitor != nullptr
                          ? reinterpret_cast<Initialize>(ModuleSymbol(monitor, "InitializeMonitorEx"))
                          : nullptr;
    MonitorTable table{};
    return initialize != nullptr && initialize(nullptr, &table) && table.AddPort != nullptr &&
           table.AddPort(server, window, monitorName) != 0;
}

void NoteJobDeleting(std::uint32_t jobId) {
    deletingJob.store(jobId);
}

}  // namespace plat
