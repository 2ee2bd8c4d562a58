#include <algorithm>
#include <bit>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "confighelper/tests/integration/HelperFixture.h"

namespace helpertest {
namespace {

using DetectionTest = HelperTest;

constexpr std::size_t kCards = 200;

// Cards speak UDP only, IPX only, DLC only or all three, in turn.
std::uint8_t ProtocolsOf(std::size_t i) {
    static const std::uint8_t kinds[] = {2, 1, 4, 7};
    return kinds[i % 4];
}

TEST_F(DetectionTest, EveryCardIsStoredWithItsProtocolsAddressesAndNames) {
    for (std::size_t i = 0; i < kCards; ++i) {
        cards->AddCard(NumberedCard(i, ProtocolsOf(i)));
    }
    StartCards();
    TextRecorder progress;
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, progress.Handle()), 0);

    // The four sends in their order, then one "4" per answer handled (one per protocol a card speaks,
    // and the service reply of each card with IPX), then the number found.
    const std::vector<std::string>& texts = progress.Texts();
    ASSERT_GT(texts.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 4),
              (std::vector<std::string>{"2", "1", "7", "3"}));
    std::size_t answers = 0;
    for (std::size_t i = 0; i < kCards; ++i) {
        answers += std::popcount(ProtocolsOf(i)) + (ProtocolsOf(i) & 1);
    }
    EXPECT_EQ(std::count(texts.begin() + 4, texts.end() - 1, "4"), static_cast<long>(answers));
    EXPECT_EQ(texts.size(), 4 + answers + 1);
    EXPECT_EQ(texts.back(), "5" + std::to_string(kCards));

    EXPECT_EQ(StoredAdapters().size(), kCards);
    for (std::size_t i = 0; i < kCards; ++i) {
        const std::string adapter = AdapterName(i);
        SCOPED_TRACE(adapter);
        ASSERT_TRUE(Stored(adapter));
        const std::uint8_t protocols = ProtocolsOf(i);
        EXPECT_EQ(StoredNumber(adapter, "cProtocols"), protocols);
        const std::uint32_t preferred = (protocols & 4) ? 4 : (protocols & 2) ? 2 : 1;
        EXPECT_EQ(StoredNumber(adapter, "pProtocol"), preferred);
        EXPECT_EQ(StoredNumber(adapter, "Category"), 2u);
        EXPECT_EQ(StoredNumber(adapter, "Detected"), 1u);
        EXPECT_EQ(StoredText(adapter, "IP Address"), Dotted(CardIp(i)));
        EXPECT_EQ(StoredText(adapter, "Print Server Name"), "PS-" + std::to_string(i));
        EXPECT_EQ(StoredText(adapter, "Print Server Description"), "Floor " + std::to_string(i % 7));
        EXPECT_EQ(StoredText(adapter, "IPX Address"), "00FACADE" + adapter);
    }
}

// One simulator answers a broadcast for a thousand cards in well under a second in the sanitizer
// build, a few times slower on a loaded machine: the listening window gives each of its three
// broadcasts two seconds (a detection thread kept late by the load lengthens it further).
class ThousandCardDetectionTest : public HelperTest {
  protected:
    ThousandCardDetectionTest() { autoDetectTimeout = 3; }
};

TEST_F(ThousandCardDetectionTest, ALostRequestOrAnswerCostsNoCardAndNoProtocol) {
    constexpr std::size_t kMany = 1000;
    for (std::size_t i = 0; i < kMany; ++i) {
        cards->AddCard(NumberedCard(i, ProtocolsOf(i)));
    }
    StartCards();
    // Every fifth card loses every tenth request it gets, over each of its protocols: in one detection
    // or another the lost one is the broadcast.
    sim::FaultSwitches lossy;
    lossy.dropPercent = 10;
    for (std::size_t i = 0; i < kMany; i += 5) {
        for (sim::Protocol protocol : {sim::Protocol::Ip, sim::Protocol::Ipx, sim::Protocol::Dlc}) {
            cards->SetFaults(i, protocol, lossy);
        }
    }
    for (int detection = 0; detection < 5; ++detection) {
        SCOPED_TRACE(detection);
        TextRecorder progress;
        ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, progress.Handle()), 0);
        EXPECT_EQ(progress.Texts().back(), "5" + std::to_string(kMany));
        const std::vector<std::string> stored = StoredAdapters();
        ASSERT_EQ(stored.size(), kMany);
        for (std::size_t i = 0; i < kMany; ++i) {
            EXPECT_EQ(StoredNumber(AdapterName(i), "cProtocols"), ProtocolsOf(i)) << AdapterName(i);
        }
    }
}

TEST_F(DetectionTest, ACardHeardOnlyAfterTheThreadWasBusyIsStillFound) {
    cards->AddCard(NumberedCard(0, 2));
    cards->AddCard(NumberedCard(1, 2));
    StartCards();
    // The second card misses the first broadcast; its answers to the others come 300 ms late.
    sim::FaultSwitches silent;
    silent.silent = true;
    cards->SetFaults(1, sim::Protocol::Ip, silent);
    // The first answer's notice keeps the detection's thread longer than the whole listening window,
    // as a caller busy painting would: the broadcasts repeated after it are all sent late.
    TextRecorder progress;
    bool busy = false;
    progress.OnText([&](const std::string& text) {
        if (text != "4" || std::exchange(busy, true)) {
            return;
        }
        sim::FaultSwitches late;
        late.delayMs = 300;
        cards->SetFaults(1, sim::Protocol::Ip, late);
        std::this_thread::sleep_for(
            std::chrono::milliseconds(autoDetectTimeout * 2 * 1000 + 500));  // the window and more
    });
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, progress.Handle()), 0);
    ASSERT_TRUE(busy);
    EXPECT_EQ(progress.Texts().back(), "52");
    EXPECT_EQ(StoredAdapters(), (std::vector<std::string>{AdapterName(0), AdapterName(1)}));
}

TEST_F(DetectionTest, PurgeKeepsEntriesThatPortsUse) {
    cards->AddCard(NumberedCard(0, 2));
    StartCards();
    const std::string used = "00005E10FF01";
    const std::string unused = "00005E10FF02";
    for (const auto& [adapter, category] : {std::pair{used, 6u}, std::pair{unused, 2u}}) {
        const std::string path = std::string(plat::kAdapterOnlyKey) + "\\" + adapter;
        SetNumber(path, "Category", category);
        SetNumber(path, "Detected", 1);
    }
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, 0), 0);
    EXPECT_TRUE(Stored(AdapterName(0)));
    EXPECT_EQ(StoredNumber(used, "Category"), 4u);
    EXPECT_EQ(StoredNumber(used, "Detected"), 0u);
    EXPECT_EQ(StoredNumber(unused, "Category"), 0xFFFFFFFFu) << "deleted";
}

TEST_F(DetectionTest, LongNamesDoNotHideACard) {
    sim::CardDescription card = NumberedCard(3, 2);
    card.name = std::string(250, 'N');
    card.location = std::string(250, 'L');
    cards->AddCard(card);
    StartCards();
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, 0), 0);
    ASSERT_TRUE(Stored(AdapterName(3)));
    EXPECT_EQ(StoredText(AdapterName(3), "Print Server Name"), card.name);
}

TEST_F(DetectionTest, QuestionsLostOnTheWayAreAskedAgain) {
    for (std::size_t i = 0; i < 20; ++i) {
        cards->AddCard(NumberedCard(i, 2));
    }
    StartCards();
    for (std::size_t i = 0; i < 20; ++i) {
        sim::FaultSwitches faults;
        faults.dropPercent = 50;
        cards->SetFaults(i, sim::Protocol::Ip, faults);
    }
    // Every second request to a card is lost: the broadcast gets through, the first detail question
    // does not.
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(StoredAdapters().size(), 20u);
    for (const std::string& adapter : StoredAdapters()) {
        EXPECT_EQ(StoredNumber(adapter, "Category"), 2u) << adapter;
        EXPECT_EQ(StoredText(adapter, "Print Server Name").substr(0, 3), "PS-") << adapter;
    }
}

TEST_F(DetectionTest, CardsThatAnswerOnlyTheBroadcastAreDropped) {
    for (std::size_t i = 30; i < 33; ++i) {
        cards->AddCard(NumberedCard(i, 2));
    }
    StartCards();
    // A port uses the first card.
    const std::string used = std::string(plat::kAdapterOnlyKey) + "\\" + AdapterName(30);
    SetNumber(used, "Category", 6);
    // The first two cards fall silent once every card's answer to the broadcast is in (one "4" each),
    // long before the listening window ends.
    TextRecorder progress;
    int answers = 0;
    progress.OnText([&](const std::string& text) {
        if (text == "4" && ++answers == 3) {
            sim::FaultSwitches silent;
            silent.silent = true;
            cards->SetFaults(0, sim::Protocol::Ip, silent);
            cards->SetFaults(1, sim::Protocol::Ip, silent);
        }
    });
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, progress.Handle()), 0);
    ASSERT_EQ(answers, 3) << "every card answered the broadcast";
    EXPECT_EQ(progress.Texts().back(), "51");
    EXPECT_EQ(StoredAdapters(), (std::vector<std::string>{AdapterName(30), AdapterName(32)}));
    EXPECT_EQ(StoredNumber(AdapterName(30), "Category"), 4u) << "kept for its port, without its marks";
    EXPECT_EQ(StoredNumber(AdapterName(30), "Detected"), 0u);
    EXPECT_EQ(StoredNumber(AdapterName(32), "Detected"), 1u);
}

TEST_F(DetectionTest, NewCardWithoutAddressIsStoredAsItAnswered) {
    sim::CardDescription fresh = NumberedCard(4, 2);
    fresh.ip = {0, 0, 0, 0};
    fresh.category = 1;
    cards->AddCard(fresh);
    StartCards();
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, 0), 0);
    const std::string adapter = AdapterName(4);
    ASSERT_TRUE(Stored(adapter));
    EXPECT_EQ(StoredText(adapter, "IP Address"), "0.0.0.0");
    EXPECT_EQ(StoredNumber(adapter, "cProtocols"), 2u);
    EXPECT_EQ(StoredNumber(adapter, "pProtocol"), 2u);
    EXPECT_EQ(StoredNumber(adapter, "Category"), 1u) << "not asked: its category is the one it answered";
}

TEST_F(DetectionTest, TwoDetectionsAtOnceEachHearEveryCard) {
    for (std::size_t i = 0; i < 20; ++i) {
        cards->AddCard(NumberedCard(i, 2));
    }
    StartCards();
    std::string finals[2];
    auto detect = [](std::string& final) {
        TextRecorder progress;
        HelperDetectPrintServers(0, 0, 0, 0, 0, progress.Handle());
        final = progress.Texts().empty() ? "" : progress.Texts().back();
    };
    std::thread other(detect, std::ref(finals[1]));
    detect(finals[0]);
    other.join();
    EXPECT_EQ(finals[0], "520");
    EXPECT_EQ(finals[1], "520");
    EXPECT_EQ(StoredAdapters().size(), 20u);
}

// A detection asked for while one pumps its messages (here from its own first notice) is refused and
// changes nothing; the first goes on to its end.
TEST_F(DetectionTest, ADetectionInsideAnotherIsRefused) {
    for (std::size_t i = 0; i < 20; ++i) {
        cards->AddCard(NumberedCard(i, 2));
    }
    StartCards();
    TextRecorder outer;
    TextRecorder inner;
    std::vector<HelperResult> nested;
    outer.OnText([&](const std::string&) {
        if (nested.empty()) {
            nested.push_back(HelperDetectPrintServers(0, 0, 0, 0, 0, inner.Handle()));
        }
    });
    ASSERT_EQ(HelperDetectPrintServers(0, 0, 0, 0, 0, outer.Handle()), 0);
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_EQ(nested.front(), kHelperDetectionRunning);
    EXPECT_TRUE(inner.Texts().empty());
    EXPECT_EQ(outer.Texts().back(), "520");
    EXPECT_EQ(StoredAdapters().size(), 20u);
}

}  // namespace
}  // namespace helpertest
