#include <cstring>

#include "confighelper/tests/integration/HelperFixture.h"

namespace helpertest {
namespace {

using ValidationTest = HelperTest;

TEST_F(ValidationTest, ByIpAddressStoresTheCardUnderItsHardwareAddress) {
    cards->AddCard(NumberedCard(5, 2));
    StartCards();
    const std::string address = Dotted(CardIp(5));
    char text[32];
    std::snprintf(text, sizeof text, "%s", address.c_str());
    ASSERT_EQ(HelperValidateAdapter(text, 2), 0);
    EXPECT_EQ(std::string(text), address) << "the caller's text is never written";
    const std::string adapter = AdapterName(5);
    ASSERT_TRUE(Stored(adapter));
    EXPECT_EQ(StoredNumber(adapter, "Category"), 2u);
    EXPECT_EQ(StoredNumber(adapter, "Detected"), 1u);
    EXPECT_EQ(StoredNumber(adapter, "pProtocol"), 0u);
    EXPECT_EQ(StoredNumber(adapter, "cProtocols"), 3u) << "IP, and IPX from its network number";
    EXPECT_EQ(StoredText(adapter, "Print Server Name"), "PS-5");
    EXPECT_EQ(StoredText(adapter, "IP Address"), address);
}

TEST_F(ValidationTest, ByHostNameGivesBackTheAddressWhereThereIsRoom) {
    sim::CardDescription card = NumberedCard(6, 2);
    card.ip = {127, 0, 0, 1};
    cards->AddCard(card);
    StartCards();
    char resolved[16] = "untouched";
    ASSERT_EQ(HelperValidateAdapterResolved("localhost", 8, resolved, 8), 0);
    EXPECT_STREQ(resolved, "untouched") << "8 bytes are no room for an address";
    ASSERT_EQ(HelperValidateAdapterResolved("localhost", 8, resolved, sizeof resolved), 0);
    EXPECT_STREQ(resolved, "127.0.0.1");
    EXPECT_TRUE(Stored(AdapterName(6)));
}

TEST_F(ValidationTest, OtherCategoryIsRefusedAndNothingIsStored) {
    sim::CardDescription card = NumberedCard(7, 2);
    card.category = 1;
    cards->AddCard(card);
    StartCards();
    EXPECT_EQ(HelperValidateAdapter(Dotted(CardIp(7)).c_str(), 2), kHelperNotPrintServer);
    EXPECT_FALSE(Stored(AdapterName(7)));
}

TEST_F(ValidationTest, SilenceAndBadInputFailWithinTheTimeOut) {
    cards->AddCard(NumberedCard(8, 2));
    StartCards();
    sim::FaultSwitches silent;
    silent.silent = true;
    cards->SetFaults(0, sim::Protocol::Ip, silent);
    const std::uint32_t start = plat::TickCount();
    EXPECT_EQ(HelperValidateAdapter(Dotted(CardIp(8)).c_str(), 2), 1);
    const std::uint32_t took = plat::TickCount() - start;
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, 2000u);
    for (const auto& [text, kind] :
         {std::pair{"10.0.0.1", 3}, std::pair{"10.0.0.1", 16}, std::pair{"10.0.0", 2},
          std::pair{"00112233445G", 4}, std::pair{"0011", 1}, std::pair{"", 8}}) {
        EXPECT_EQ(HelperValidateAdapter(text, kind), 1) << text << " kind " << kind;
    }
    EXPECT_TRUE(StoredAdapters().empty());
}

TEST_F(ValidationTest, AnswerWithAnotherRequestIdIsNotTaken) {
    cards->AddCard(NumberedCard(9, 2));
    StartCards();
    sim::FaultSwitches wrongId;
    wrongId.wrongRequestId = true;
    cards->SetFaults(0, sim::Protocol::Ip, wrongId);
    EXPECT_EQ(HelperValidateAdapter(Dotted(CardIp(9)).c_str(), 2), 1);
    EXPECT_FALSE(Stored(AdapterName(9)));
}

TEST_F(ValidationTest, ByIpxAddressOverTheLanSegment) {
    cards->AddCard(NumberedCard(10, 1));
    StartCards();
    const std::string address = "00FACADE" + AdapterName(10);
    ASSERT_EQ(HelperValidateAdapter(address.c_str(), 1), 0);
    EXPECT_EQ(StoredNumber(AdapterName(10), "cProtocols") & 1, 1u);
    EXPECT_EQ(StoredText(AdapterName(10), "IPX Address"), address);
}

TEST_F(ValidationTest, ByHardwareAddressOverDlc) {
    cards->AddCard(NumberedCard(11, 4));
    StartCards();
    ASSERT_EQ(HelperValidateAdapter(AdapterName(11).c_str(), 4), 0);
    EXPECT_EQ(StoredNumber(AdapterName(11), "cProtocols") & 4, 4u);
    EXPECT_EQ(StoredText(AdapterName(11), "IP Address"), Dotted(CardIp(11)));
}

TEST_F(ValidationTest, DlcOnlyCardWithoutAddressesKeepsDlcAlone) {
    sim::CardDescription card = NumberedCard(15, 4);
    card.ip = {0, 0, 0, 0};
    card.ipxNetwork = {0, 0, 0, 0};
    cards->AddCard(card);
    StartCards();
    ASSERT_EQ(HelperValidateAdapter(AdapterName(15).c_str(), 4), 0);
    EXPECT_EQ(StoredNumber(AdapterName(15), "cProtocols"), 4u);
    EXPECT_EQ(StoredText(AdapterName(15), "IP Address"), "0.0.0.0");
}

}  // namespace
}  // namespace helpertest
