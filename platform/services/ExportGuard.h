#pragma once

#include <exception>
#include <new>
#include <type_traits>
#include <utility>

// The one guard of every library export: no C++ exception may cross the C boundary. An exception that
// would leave an export's body is written to the debug output (with the export's name) and becomes the
// export's failure result. An export applies it around its whole body:
//
//   HALBRIN_EXPORT HelperResult HelperGetIPSDetails(const char* adapterName) {
//       return plat::GuardExport(kHelperFailed, kHelperNoMemory, [&] { return Requery(adapterName); });
//   }
namespace plat {

// The export a guard runs in: the name of the function that called the guard (a builtin that g++ and
// clang both have, where std::source_location needs a newer clang).
using ExportSite = const char*;

// Why an export's body stopped.
enum class ExportFault { kNoMemory, kOther };

// Writes the export (where) and the reason (what) to the debug output.
void ReportExportFault(ExportSite where, const char* what) noexcept;

// Runs the body; on an exception answers answer(fault), which must not throw itself. For exports with
// a side channel of their own (a per-thread error number).
template <class Answer, class Body>
std::invoke_result_t<Body> GuardExportWith(Answer&& answer, Body&& body,
                                           ExportSite where = __builtin_FUNCTION()) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::bad_alloc&) {
        ReportExportFault(where, "out of memory");
        return answer(ExportFault::kNoMemory);
    } catch (const std::exception& error) {
        ReportExportFault(where, error.what());
        return answer(ExportFault::kOther);
    } catch (...) {
        ReportExportFault(where, "an exception of unknown type");
        return answer(ExportFault::kOther);
    }
}

// An export that answers `failure` whatever stopped it.
template <class Body, class Result = std::invoke_result_t<Body>>
Result GuardExport(std::type_identity_t<Result> failure, Body&& body,
                   ExportSite where = __builtin_FUNCTION()) noexcept {
    return GuardExportWith([failure](ExportFault) { return failure; }, std::forward<Body>(body), where);
}

// An export with a result of its own for an allocation failure.
template <class Body, class Result = std::invoke_result_t<Body>>
Result GuardExport(std::type_identity_t<Result> failure, std::type_identity_t<Result> noMemory, Body&& body,
                   ExportSite where = __builtin_FUNCTION()) noexcept {
    return GuardExportWith(
        [failure, noMemory](ExportFault fault) {
            return fault == ExportFault::kNoMemory ? noMemory : failure;
        },
        std::forward<Body>(body), where);
}

// An export without a result (or a library's load and unload step): a failed body just ends.
template <class Body>
requires std::is_void_v<std::invoke_result_t<Body>>
void GuardExport(Body&& body, ExportSite where = __builtin_FUNCTION()) noexcept {
    GuardExportWith([](ExportFault) {}, std::forward<Body>(body), where);
}

}  // namespace plat
