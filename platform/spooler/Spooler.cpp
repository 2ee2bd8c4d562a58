#include "platform/spooler/Spooler.h"

#include <cups/cups.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "platform/spooler/HostedJob.h"
#include "platform/spooler/MonitorPorts.h"

namespace plat {

struct SpoolerPrinter {
    std::string name;
    std::string uri;  // made on its first use: a hosted printer may never need it
};

namespace {

std::atomic<std::uint32_t> deletingJob{0};

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDeleter>;

std::string PrinterUri(const char* name) {
    char uri[HTTP_MAX_URI];
    const std::string resource = std::string("/printers/") + name;
    httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                    resource.c_str());
    return uri;
}

const std::string& Uri(SpoolerPrinter& printer) {
    if (printer.uri.empty()) {
        printer.uri = PrinterUri(printer.name.c_str());
    }
    return printer.uri;
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

// A number attribute's value; 0 when it is missing or of another kind ("none", say).
std::uint32_t Number(ipp_t* answer, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(answer, name, IPP_TAG_ZERO);
    const ipp_tag_t tag = attribute != nullptr ? ippGetValueTag(attribute) : IPP_TAG_ZERO;
    const int value = tag == IPP_TAG_INTEGER || tag == IPP_TAG_ENUM ? ippGetInteger(attribute, 0) : 0;
    return value > 0 ? static_cast<std::uint32_t>(value) : 0;
}

void AskFor(ipp_t* request, std::initializer_list<const char*> names) {
    std::vector<const char*> list(names);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(list.size()), nullptr, list.data());
}

// The answer's groups of one kind (a job, a printer) as messages of their own, so that each can be
// read by name.
std::vector<IppMessage> Groups(ipp_t* answer, ipp_tag_t kind) {
    std::vector<IppMessage> groups;
    ipp_t* current = nullptr;
    for (ipp_attribute_t* attribute = ippFirstAttribute(answer); attribute != nullptr;
         attribute = ippNextAttribute(answer)) {
        if (ippGetGroupTag(attribute) != kind || ippGetName(attribute) == nullptr) {
            current = nullptr;
            continue;
        }
        if (current == nullptr) {
            groups.emplace_back(ippNew());
            current = groups.back().get();
        }
        ippCopyAttribute(current, attribute, 0);
    }
    return groups;
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

JobInfo2 JobOf(ipp_t* job) {
    JobInfo2 info;
    info.jobId = Number(job, "job-id");
    info.document = Text(job, "job-name");
    info.userName = Text(job, "job-originating-user-name");
    info.status = StatusOfState(static_cast<int>(Number(job, "job-state")));
    info.priority = Number(job, "job-priority");
    info.sizeKb = Number(job, "job-k-octets");
    info.totalPages = Number(job, "job-impressions");
    info.submitted = static_cast<std::time_t>(Number(job, "time-at-creation"));
    return info;
}

IppMessage NewAdminRequest(const std::string& printerUri) {
    return NewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, printerUri);
}

DocumentPropertiesDialog& PropertiesDialog() {
    static DocumentPropertiesDialog dialog;
    return dialog;
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
    auto printer = std::make_unique<SpoolerPrinter>(SpoolerPrinter{name, ""});
    if (HostsPrinter(name)) {
        *handle = printer.release();
        return true;
    }
    IppMessage request = NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, Uri(*printer));
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state");
    if (!Exchange(std::move(request), "/")) {
        return false;
    }
    *handle = printer.release();
    return true;
}

OpenedPrinter OpenPrinter(const std::string& name) {
    PrinterHandle handle = nullptr;
    return OpenedPrinter(OpenPrinter(name.c_str(), &handle) ? handle : nullptr);
}

bool ClosePrinter(PrinterHandle handle) {
    delete handle;
    return handle != nullptr;
}

bool GetJob(PrinterHandle handle, std::uint32_t jobId, JobInfo1& info) {
    if (handle == nullptr) {
        return false;
    }
    if (std::optional<JobInfo1> hosted = HostedJob(handle->name, jobId)) {
        info = *hosted;
        if (deletingJob.load() == jobId) {
            info.status |= kJobStatusDeleting;
        }
        return true;
    }
    IppMessage request = NewRequest(IPP_OP_GET_JOB_ATTRIBUTES, Uri(*handle));
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
    IppMessage request = NewRequest(operation, Uri(*handle));
    ippAddInteger(request.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", static_cast<int>(jobId));
    return Exchange(std::move(request), "/jobs") != nullptr;
}

bool EnumJobs(PrinterHandle handle, std::vector<JobInfo2>& jobs) {
    if (handle == nullptr) {
        return false;
    }
    IppMessage request = NewRequest(IPP_OP_GET_JOBS, Uri(*handle));
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
    AskFor(request.get(), {"job-id", "job-name", "job-originating-user-name", "job-state", "job-priority",
                           "job-k-octets", "job-impressions", "time-at-creation"});
    IppMessage answer = Exchange(std::move(request), "/");
    if (!answer) {
        return false;
    }
    jobs.clear();
    for (const IppMessage& job : Groups(answer.get(), IPP_TAG_JOB)) {
        jobs.push_back(JobOf(job.get()));
    }
    return true;
}

bool EnumPrinters(std::vector<PrinterDevice>& printers) {
    IppMessage request(ippNewRequest(IPP_OP_CUPS_GET_PRINTERS));
    AskFor(request.get(), {"printer-name", "device-uri"});
    printers.clear();
    // A spooler without queues answers "not found".
    IppMessage answer(cupsDoRequest(CUPS_HTTP_DEFAULT, request.release(), "/"));
    const ipp_status_t status = answer ? ippGetStatusCode(answer.get()) : IPP_STATUS_ERROR_INTERNAL;
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        return true;
    }
    if (status > IPP_STATUS_OK_CONFLICTING) {
        return false;
    }
    for (const IppMessage& printer : Groups(answer.get(), IPP_TAG_PRINTER)) {
        printers.push_back({Text(printer.get(), "printer-name"), Text(printer.get(), "device-uri")});
    }
    return true;
}

bool AddPrinter(const std::string& name, const std::string& deviceUri) {
    IppMessage request = NewAdminRequest(PrinterUri(name.c_str()));
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "ppd-name", nullptr, "raw");
    ippAddString(request.get(), IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, deviceUri.c_str());
    ippAddBoolean(request.get(), IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippAddInteger(request.get(), IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    return Exchange(std::move(request), "/admin/") != nullptr;
}

std::string LastSpoolerError() {
    const char* text = cupsLastErrorString();
    return text != nullptr ? text : "";
}

bool DeletePrinter(const std::string& name) {
    return Exchange(NewRequest(IPP_OP_CUPS_DELETE_PRINTER, PrinterUri(name.c_str())), "/admin/") != nullptr;
}

bool GetPrinterSettings(PrinterHandle handle, DocumentSettings& settings) {
    if (handle == nullptr) {
        return false;
    }
    IppMessage request = NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, Uri(*handle));
    AskFor(request.get(),
           {"media-default", "sides-default", "orientation-requested-default", "copies-default"});
    IppMessage answer = Exchange(std::move(request), "/");
    if (!answer) {
        return false;
    }
    settings.media = Text(answer.get(), "media-default");
    settings.sides = Text(answer.get(), "sides-default");
    settings.orientation = Number(answer.get(), "orientation-requested-default");
    settings.copies = Number(answer.get(), "copies-default");
    return true;
}

bool SetPrinterSettings(PrinterHandle handle, const DocumentSettings& settings) {
    if (handle == nullptr) {
        return false;
    }
    IppMessage request = NewAdminRequest(Uri(*handle));
    ipp_t* message = request.get();
    if (!settings.media.empty()) {
        ippAddString(message, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "media-default", nullptr,
                     settings.media.c_str());
    }
    if (!settings.sides.empty()) {
        ippAddString(message, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "sides-default", nullptr,
                     settings.sides.c_str());
    }
    if (settings.orientation != 0) {
        ippAddInteger(message, IPP_TAG_PRINTER, IPP_TAG_ENUM, "orientation-requested-default",
                      static_cast<int>(settings.orientation));
    }
    if (settings.copies != 0) {
        ippAddInteger(message, IPP_TAG_PRINTER, IPP_TAG_INTEGER, "copies-default",
                      static_cast<int>(settings.copies));
    }
    return Exchange(std::move(request), "/admin/") != nullptr;
}

void SetDocumentPropertiesDialog(DocumentPropertiesDialog dialog) {
    PropertiesDialog() = std::move(dialog);
}

bool DocumentProperties(std::uint32_t owner, PrinterHandle handle, DocumentSettings& settings) {
    const DocumentPropertiesDialog& dialog = PropertiesDialog();
    return handle != nullptr && dialog && dialog(owner, handle->name, settings);
}

bool AddPort(const char* server, std::uint32_t window, const char* monitorName) {
    const MonitorTable* monitor = LoadMonitor(monitorName);
    return monitor != nullptr && monitor->AddPort(server, window, monitorName) != 0;
}

void NoteJobDeleting(std::uint32_t jobId) {
    deletingJob.store(jobId);
}

}  // namespace plat
