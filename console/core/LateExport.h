#pragma once

#include <atomic>
#include <stdexcept>

// A library export bound by name on its first call, so the console is never linked against the
// libraries it calls; the library headers give the types only. The first call may come from any
// thread (the status poll's workers).
namespace console {

// A library or export that cannot be loaded: the installation is broken.
class LibraryMissing : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

void* LibraryFunction(const char* library, const char* name);

template <typename Function>
class LateExport;

template <typename Result, typename... Args>
class LateExport<Result(Args...)> {
  public:
    constexpr LateExport(const char* library, const char* name) : library_(library), name_(name) {}

    Result operator()(Args... args) {
        Function function = function_.load(std::memory_order_acquire);
        if (function == nullptr) {
            function = reinterpret_cast<Function>(LibraryFunction(library_, name_));
            function_.store(function, std::memory_order_release);
        }
        return function(args...);
    }

  private:
    using Function = Result (*)(Args...);
    const char* library_;
    const char* name_;
    std::atomic<Function> function_{nullptr};
};

}  // namespace console

// Declares, in the enclosing namespace, the late-bound export `name` of `library`, typed as the
// library's own declaration of ::name.
#define CONSOLE_LIBRARY_FUNCTION(library, name) \
    inline LateExport<decltype(::name)> name {  \
        library, #name                          \
    }
