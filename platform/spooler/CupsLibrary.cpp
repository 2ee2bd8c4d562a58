// The CUPS client library, loaded on the first spooler call that needs it rather than with the
// platform library: a process that makes none (the backend, which plays the spooler for its own
// job) never pays for loading it and the thirty libraries behind it. Each function the spooler
// calls is defined here under its CUPS name and with its CUPS prototype (the header checks them),
// and hands the call to the loaded library; without one it answers as CUPS answers a server that
// cannot be reached. The platform library keeps these names to itself (CMakeLists.txt). A new CUPS
// function in the spooler calls gets its line here.
#include <cups/cups.h>
#include <dlfcn.h>

namespace {

void* Library() {
    static void* const library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    return library;
}

// The library's own function of the same name as `Ours`.
template <auto Ours>
decltype(Ours) Real(const char* name) {
    static const auto real =
        reinterpret_cast<decltype(Ours)>(Library() != nullptr ? dlsym(Library(), name) : nullptr);
    return real;
}

}  // namespace

#define VORLANE_CUPS(result, name, parameters, arguments, none) \
    extern "C" result name parameters {                         \
        const auto real = Real<&name>(#name);                   \
        return real != nullptr ? real arguments : none;         \
    }

VORLANE_CUPS(ipp_t*, cupsDoRequest, (http_t * http, ipp_t* request, const char* resource),
             (http, request, resource), (ippDelete(request), nullptr))
VORLANE_CUPS(const char*, cupsLastErrorString, (void), (), "")
VORLANE_CUPS(const char*, cupsUser, (void), (), "")
VORLANE_CUPS(http_uri_status_t, httpAssembleURI,
             (http_uri_coding_t encoding, char* uri, int length, const char* scheme, const char* user,
              const char* host, int port, const char* resource),
             (encoding, uri, length, scheme, user, host, port, resource), HTTP_URI_STATUS_BAD_ARGUMENTS)
VORLANE_CUPS(int, ippPort, (void), (), 631)
VORLANE_CUPS(ipp_t*, ippNew, (void), (), nullptr)
VORLANE_CUPS(ipp_t*, ippNewRequest, (ipp_op_t operation), (operation), nullptr)
VORLANE_CUPS(void, ippDelete, (ipp_t * ipp), (ipp), void())
VORLANE_CUPS(ipp_attribute_t*, ippAddBoolean, (ipp_t * ipp, ipp_tag_t group, const char* name, char value),
             (ipp, group, name, value), nullptr)
VORLANE_CUPS(ipp_attribute_t*, ippAddInteger,
             (ipp_t * ipp, ipp_tag_t group, ipp_tag_t tag, const char* name, int value),
             (ipp, group, tag, name, value), nullptr)
VORLANE_CUPS(ipp_attribute_t*, ippAddString,
             (ipp_t * ipp, ipp_tag_t group, ipp_tag_t tag, const char* name, const char* language,
              const char* value),
             (ipp, group, tag, name, language, value), nullptr)
VORLANE_CUPS(ipp_attribute_t*, ippAddStrings,
             (ipp_t * ipp, ipp_tag_t group, ipp_tag_t tag, const char* name, int count, const char* language,
              const char* const* values),
             (ipp, group, tag, name, count, language, values), nullptr)
VORLANE_CUPS(ipp_attribute_t*, ippCopyAttribute, (ipp_t * to, ipp_attribute_t* attribute, int quick),
             (to, attribute, quick), nullptr)
VORLANE_CUPS(ipp_attribute_t*, ippFindAttribute, (ipp_t * ipp, const char* name, ipp_tag_t tag),
             (ipp, name, tag), nullptr)
VORLANE_CUPS(ipp_attribute_t*, ippFirstAttribute, (ipp_t * ipp), (ipp), nullptr)
VORLANE_CUPS(ipp_attribute_t*, ippNextAttribute, (ipp_t * ipp), (ipp), nullptr)
VORLANE_CUPS(ipp_tag_t, ippGetGroupTag, (ipp_attribute_t * attribute), (attribute), IPP_TAG_ZERO)
VORLANE_CUPS(ipp_tag_t, ippGetValueTag, (ipp_attribute_t * attribute), (attribute), IPP_TAG_ZERO)
VORLANE_CUPS(const char*, ippGetName, (ipp_attribute_t * attribute), (attribute), nullptr)
VORLANE_CUPS(int, ippGetInteger, (ipp_attribute_t * attribute, int element), (attribute, element), 0)
VORLANE_CUPS(const char*, ippGetString, (ipp_attribute_t * attribute, int element, const char** language),
             (attribute, element, language), nullptr)
VORLANE_CUPS(ipp_status_t, ippGetStatusCode, (ipp_t * ipp), (ipp), IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
