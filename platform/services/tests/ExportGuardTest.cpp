// The export guard: whatever leaves a body as an exception becomes the export's failure result.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/services/ExportGuard.h"
#include "platform/services/tests/AllocationFailure.h"

namespace plat {
namespace {

constexpr int kFailure = 1;
constexpr int kNoMemory = 2;

// A body that allocates, as export bodies do: a refused allocation is a real std::bad_alloc.
int Allocating() {
    std::vector<std::string> names(3, std::string(100, 'x'));
    return static_cast<int>(names.size());
}

struct Case {
    const char* name;
    std::function<int()> body;
    bool refuseAllocations;
    int answer;         // GuardExport(failure, noMemory, body)
    int singleFailure;  // GuardExport(failure, body)
};

TEST(ExportGuard, TurnsEveryEscapeIntoTheFailureResult) {
    const Case cases[] = {
        {"returns", Allocating, false, 3, 3},
        {"allocation fails", Allocating, true, kNoMemory, kFailure},
        {"standard exception", [] { return std::stoi("not a number"); }, false, kFailure, kFailure},
        {"any other type", []() -> int { throw 42; }, false, kFailure, kFailure},
    };
    for (const Case& c : cases) {
        for (const bool ownNoMemory : {true, false}) {
            std::optional<test::AllocationFailure> refusing;
            if (c.refuseAllocations) {
                refusing.emplace(0);
            }
            const int answer =
                ownNoMemory ? GuardExport(kFailure, kNoMemory, c.body) : GuardExport(kFailure, c.body);
            EXPECT_EQ(answer, ownNoMemory ? c.answer : c.singleFailure) << c.name;
            EXPECT_EQ(refusing && refusing->Refused(), c.refuseAllocations) << c.name;
        }
    }
}

TEST(ExportGuard, AnswersThroughTheCallerAndEndsAVoidBody) {
    std::vector<ExportFault> faults;
    auto note = [&faults](ExportFault fault) {
        faults.push_back(fault);
        return -1;
    };
    EXPECT_EQ(GuardExportWith(note, []() -> int { throw std::bad_alloc(); }), -1);
    EXPECT_EQ(GuardExportWith(note, []() -> int { throw std::logic_error("x"); }), -1);
    EXPECT_EQ(GuardExportWith(note, [] { return 5; }), 5);
    EXPECT_EQ(faults, (std::vector<ExportFault>{ExportFault::kNoMemory, ExportFault::kOther}));

    bool reached = false;
    GuardExport([&reached] {
        reached = true;
        throw std::runtime_error("stops here");
    });
    EXPECT_TRUE(reached);
    const char* const noBlock = nullptr;
    EXPECT_EQ(GuardExport(noBlock, []() -> const char* { throw std::bad_alloc(); }), nullptr);
}

}  // namespace
}  // namespace plat
