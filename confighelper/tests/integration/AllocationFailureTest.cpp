// One allocation that fails inside a detection: the export answers kHelperNoMemory in place of ending
// the process (or gets over it, as a detection without one of its transports), leaks nothing, and the
// next detection works.
#include "confighelper/tests/integration/HelperFixture.h"
#include "platform/services/tests/AllocationFailure.h"

namespace helpertest {
namespace {

using AllocationFailureTest = HelperTest;

// Allocations of the detection before the one that fails: the early ones fall in setting up its
// links, the later ones in sending, listening and asking the card for its details.
constexpr std::size_t kFailurePoints[] = {0, 2, 5, 10, 20, 40, 80, 160, 320};

TEST_F(AllocationFailureTest, ADetectionOutOfMemoryAnswersNoMemoryAndTheNextOneWorks) {
    cards->AddCard(NumberedCard(0));
    StartCards();
    std::size_t outOfMemory = 0;
    for (const std::size_t before : kFailurePoints) {
        HelperResult result = kHelperFailed;
        {
            plat::test::AllocationFailure failing(before);
            result = HelperDetectPrintServers(0, 0, 0, 0, 0, 0);
            ASSERT_TRUE(failing.Refused()) << "the detection made fewer than " << before << " allocations";
        }
        EXPECT_TRUE(result == kHelperNoMemory || result == kHelperOk) << before << ": " << result;
        outOfMemory += result == kHelperNoMemory;
    }
    EXPECT_GT(outOfMemory, 0u);
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, 0), kHelperOk);
    EXPECT_TRUE(Stored(AdapterName(0)));
}

}  // namespace
}  // namespace helpertest
