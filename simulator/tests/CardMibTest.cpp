#include <gtest/gtest.h>

#include <sstream>

#include "simulator/Card.h"
#include "simulator/CardMib.h"
#include "simulator/CardOids.h"

namespace sim {
namespace {

const std::string E = "1.3.6.1.4.1.32473.11.5.1";

// A list of objects as a prefix and blank-separated suffixes.
struct ObjectList {
    std::string prefix;
    std::string suffixes;
};

std::vector<Oid> Expand(const ObjectList& list) {
    std::vector<Oid> oids;
    std::istringstream suffixes(list.suffixes);
    std::string suffix;
    while (suffixes >> suffix) {
        oids.push_back(*Oid::Parse(list.prefix + "." + suffix));
    }
    return oids;
}

// Every object that the console's groups, discovery, validation, dialogs and NetWare page read.
const ObjectList Everywhere[] = {
    {"1.3.6.1.2.1.1", "1.0 2.0 3.0 4.0 5.0 6.0 7.0"},
    {"1.3.6.1.2.1.2.2.1", "6.2 10.2 11.2 12.2 13.2 14.2 15.2 16.2 17.2 18.2 19.2 20.2"},
    {"1.3.6.1.2.1", "10.7.2.1.2.0 11.30.0"},
    {"1.3.6.1.2.1.4", "3.0 4.0 5.0 7.0 8.0 9.0 10.0 11.0 12.0"},
    {"1.3.6.1.2.1.5", "1.0 2.0 8.0 14.0 15.0 22.0"},
    {"1.3.6.1.2.1.7", "1.0 2.0 3.0 4.0"},
    {"1.3.6.1.2.1.6", "10.0 11.0"},
    {"1.3.6.1.4.1.23.2.5.1.1.1", "3.1 4.1 6.1 7.1 8.1 9.1 10.1 11.1 12.1 16.1"},
    {"1.3.6.1.2.1.13.2", "2.0 3.0"},
    {"1.3.6.1.2.1.13.3.1.1", "4.1 5.1 6.1 7.1 12.1 13.1 14.1 15.1 17.1 18.1"},
    {"1.3.6.1.2.1.13.4", "1.0 4.0 7.0 9.0 10.0 14.0"},
    {"1.3.6.1.2.1.13.16", "1.0 2.0 3.0"},
    {"1.3.6.1.2.1.13.17", "1.1.1.1 1.1.2.1 1.1.3.1 2.0"},
    {"1.3.6.1.2.1.13.8", "2.0 3.0 4.0 5.0 6.0 7.0 8.0"},
    {"1.3.6.1.2.1.13.10", "3.0 4.0 5.0 6.0 1.0 2.0"},
    {"1.3.6.1.2.1.13.9", "1.0 2.0 3.0 4.0"},
    {"1.3.6.1.2.1.13.11", "1.0 3.0 5.0 7.0 8.1.3.1 8.1.4.1"},
    {"1.3.6.1.2.1.11", "1.0 2.0 3.0 4.0 5.0 6.0 13.0 14.0 15.0 16.0 17.0 20.0 21.0 22.0 24.0 28.0 29.0"},
    {E + ".1", "1.1.1.0 1.1.2.0 1.1.3.0 1.2.0 1.3.0 9.1.0 10.1.0"},
    {E + ".12", "5.1.0 5.5.0 5.2.0 5.4.0 5.6.0 5.3.0 5.7.0 6.1.4.2.1"},
    {E + ".12", "3.1.0 3.2.0 6.1.1.0 2.1.0 2.2.0 2.3.0 2.7.0 2.8.0 2.5.0 2.6.0 2.9.0 2.4.0"},
    {E + ".12", "4.2.0 6.1.2.0 6.1.3.0 6.1.5.0 6.1.6.0 6.1.8.0 1.1.0 1.2.0 3.5.0 10.1.0"},
    {E + ".12.8.1", "1.0 2.0 3.0 4.0 5.0 6.0 7.0 8.0 9.0 10.0 11.0 12.0 13.0"},
    {E + ".12.7", "1.1.2.1 9.0 3.0 10.0 11.0 5.0 6.0 7.0 8.0 2.0 4.0"},
    {E + ".12", "3.3.0 2.10.0 2.11.0 2.12.0 2.13.0 2.14.0"},
};

// The front-panel objects of every engine with a front panel: the two groups of menu objects,
// then the settings that the properties dialog reads on every engine type.
const ObjectList FrontPanel[] = {
    {E + ".1",
     "2.2.0 2.4.0 2.7.0 2.9.0 2.13.0 3.2.0 3.4.0 3.6.0 3.8.0 3.10.0 3.12.0 3.14.0 3.16.0 4.2.0 "
     "4.4.0 4.6.0 4.8.0 5.2.0 6.2.0 6.5.0 7.2.0 7.5.0 7.7.0 7.9.0 7.11.0 7.13.0 8.2.0 8.5.0 8.7.0 "
     "8.9.0 8.11.0"},
    {E + ".1",
     "2.1.0 2.3.0 2.6.0 2.8.0 2.12.0 3.1.0 3.3.0 3.5.0 3.7.0 3.9.0 3.11.0 3.13.0 3.15.0 4.1.0 "
     "4.3.0 4.5.0 4.7.0 5.1.0 6.1.0 6.4.0 7.1.0 7.4.0 7.6.0 7.8.0 7.10.0 7.12.0 8.1.0 8.4.0 8.6.0 "
     "8.8.0 8.10.0"},
    {E + ".1",
     "2.5.0 2.10.0 2.11.0 2.14.0 2.15.0 2.16.0 2.17.0 3.17.0 3.18.0 4.9.0 4.11.0 4.12.0 4.13.0 "
     "4.14.0 4.15.0 4.16.0 5.3.0 5.4.0 6.3.0 6.6.0 6.7.0 6.8.0 6.9.0 6.10.0 10.2.0"},
};

const ObjectList OfficeOnly[] = {{E + ".1", "2.18.0 2.19.0 4.19.0"}};
const ObjectList CompactOnly[] = {{E + ".1", "2.18.0 2.19.0 4.17.0"}};
const ObjectList Model7171Only[] = {{E + ".1", "2.20.0 2.21.0 14.1.0 14.2.0"}};

CardDescription SampleCardOf(EngineType engine) {
    CardDescription card;
    card.name = "PS-1";
    card.location = "Floor 2";
    card.mac = {0x00, 0xC0, 0xDE, 0x00, 0x00, 0x01};
    card.ip = {127, 0, 1, 1};
    card.engine = engine;
    return card;
}

class CardMibTest : public ::testing::Test {
  protected:
    Mib Build(EngineType engine) { return BuildCardMib(SampleCardOf(engine), CardLife{clock, counters}); }

    static void ExpectAll(const Mib& mib, std::initializer_list<ObjectList> lists, const char* what) {
        for (const ObjectList& list : lists) {
            for (const Oid& oid : Expand(list)) {
                EXPECT_TRUE(mib.Contains(oid)) << what << ": " << oid.ToText();
            }
        }
    }

    CardClock clock;
    AgentCounters counters;
};

TEST_F(CardMibTest, EveryEngineAnswersEveryObjectTheConsoleReads) {
    for (EngineType engine :
         {EngineType::Office, EngineType::Compact, EngineType::External, EngineType::Model7171}) {
        Mib mib = Build(engine);
        for (const ObjectList& list : Everywhere) {
            for (const Oid& oid : Expand(list)) {
                EXPECT_TRUE(mib.Contains(oid)) << static_cast<int>(engine) << ": " << oid.ToText();
            }
        }
    }
}

TEST_F(CardMibTest, FrontPanelObjectsFollowTheEngine) {
    Mib office = Build(EngineType::Office);
    ExpectAll(office, {FrontPanel[0], FrontPanel[1], FrontPanel[2], OfficeOnly[0]}, "office");
    EXPECT_FALSE(office.Contains(*Oid::Parse(E + ".1.4.17.0")));
    EXPECT_FALSE(office.Contains(*Oid::Parse(E + ".1.14.1.0")));

    Mib compact = Build(EngineType::Compact);
    ExpectAll(compact, {FrontPanel[0], FrontPanel[1], FrontPanel[2], CompactOnly[0]}, "compact");
    EXPECT_FALSE(compact.Contains(*Oid::Parse(E + ".1.4.19.0")));
    EXPECT_EQ(compact.Get(*Oid::Parse(E + ".1.3.18.0")), MibValue::Integer(0)) << "no altitude choice";

    Mib model7171 = Build(EngineType::Model7171);
    ExpectAll(model7171, {FrontPanel[0], FrontPanel[1], FrontPanel[2], Model7171Only[0]}, "7171");
    EXPECT_FALSE(model7171.Contains(*Oid::Parse(E + ".1.2.18.0")));
    EXPECT_EQ(model7171.Get(*Oid::Parse(E + ".1.1.1.1.0")), MibValue::Text("7171"));
    EXPECT_EQ(model7171.Get(*Oid::Parse(E + ".1.3.2.0"))->number & 1024, 1024) << "PostScript fitted";

    Mib external = Build(EngineType::External);
    EXPECT_FALSE(external.Contains(*Oid::Parse(E + ".1.2.1.0")));
    EXPECT_EQ(external.Get(*Oid::Parse(E + ".1.1.1.3.0"))->number >> 8, 255);
}

TEST_F(CardMibTest, EngineTypeWordAndVersionDateTellTheEngineApart) {
    const std::pair<EngineType, int> families[] = {{EngineType::Office, 1},
                                                   {EngineType::Compact, 2},
                                                   {EngineType::External, 255},
                                                   {EngineType::Model7171, 4}};
    for (auto [engine, family] : families) {
        Mib mib = Build(engine);
        EXPECT_EQ(mib.Get(*Oid::Parse(E + ".1.1.1.3.0"))->number >> 8, family);
        std::string version = mib.Get(*Oid::Parse(E + ".1.1.1.2.0"))->bytes;
        size_t blank = version.find(' ');
        ASSERT_NE(blank, std::string::npos);
        std::string date =
            version.substr(blank + 7, 4) + version.substr(blank + 1, 2) + version.substr(blank + 4, 2);
        EXPECT_GT(date, "19990621") << "the type word is read only for firmware after June 1999";
    }
}

TEST_F(CardMibTest, FrontPanelSetsKeepToTheChoicesTheEngineOffers) {
    Mib mib = Build(EngineType::Compact);
    auto set = [&](const std::string& item, int32_t value) {
        return mib.Set({{*Oid::Parse(E + ".1." + item), MibValue::Integer(value)}}).status;
    };
    EXPECT_EQ(set("3.1.0", 2), ErrorStatus::NoError) << "PCL is offered";
    EXPECT_EQ(set("3.1.0", 1024), ErrorStatus::BadValue) << "no PostScript on this engine";
    EXPECT_EQ(set("3.1.0", 3), ErrorStatus::BadValue) << "two choices at once";
    EXPECT_EQ(set("2.12.0", 1), ErrorStatus::BadValue) << "no duplex on this engine";
    EXPECT_EQ(set("2.5.0", 1000), ErrorStatus::BadValue) << "copies up to 999";
    EXPECT_EQ(set("6.9.0", 0), ErrorStatus::NoError) << "Courier dark is 0";
    EXPECT_EQ(set("1.9.1.0", 3), ErrorStatus::NoSuchName) << "the printer status is read-only";
    EXPECT_EQ(set("4.17.0", 1), ErrorStatus::NoError) << "fuser cleaning when ready";
    mib.Put(PrinterStatus, MibValue::Integer(3));
    EXPECT_EQ(set("4.17.0", 1), ErrorStatus::BadValue) << "busy while printing";
}

TEST_F(CardMibTest, MaintenanceCommandsTakeTheValueTheConsoleWrites) {
    for (EngineType engine : {EngineType::Office, EngineType::Compact}) {
        Mib mib = Build(engine);
        const char* cleaning = engine == EngineType::Office ? "4.19.0" : "4.17.0";
        for (const char* command : {"4.9.0", cleaning}) {
            const Oid oid = *Oid::Parse(E + ".1." + command);
            EXPECT_EQ(mib.Set({{oid, MibValue::Integer(2)}}).status, ErrorStatus::NoError) << command;
            EXPECT_EQ(mib.Set({{oid, MibValue::Integer(3)}}).status, ErrorStatus::BadValue) << command;
        }
    }
}

// The masks of paper size (E.1.2.2), lock tray (E.1.3.6) and paper type (E.1.4.8) by tray.
TEST_F(CardMibTest, PaperChoicesFollowTheChosenTray) {
    struct Case {
        EngineType engine;
        int32_t tray;
        int32_t paperSizes;
        int32_t lockTrays;
        int32_t paperTypes;
    };
    const Case cases[] = {
        {EngineType::Office, 1, 0xFFFF, 0x1, 0x3F},      {EngineType::Office, 2, 0x103F, 0x7FF, 0x3},
        {EngineType::Office, 4, 0xFFFF, 0x7FF, 0x3F},    {EngineType::Office, 8, 0x13FF, 0x7FF, 0x3},
        {EngineType::Compact, 2, 0x103F, 0, 0x3},        {EngineType::Compact, 32, 0x3FFF, 0, 0xF},
        {EngineType::Model7171, 1, 0x1FFFF, 0x1, 0x1FF}, {EngineType::Model7171, 8, 0x13FF, 0xF, 0x3},
    };
    for (const Case& c : cases) {
        Card card(SampleCardOf(c.engine));
        const Peer console{};
        ASSERT_EQ(
            card.Set({{*Oid::Parse(E + ".1.2.8.0"), MibValue::Integer(c.tray)}}, console).outcome.status,
            ErrorStatus::NoError);
        const Mib& mib = card.Objects();
        const std::string which = std::to_string(static_cast<int>(c.engine)) + "/" + std::to_string(c.tray);
        EXPECT_EQ(mib.Get(*Oid::Parse(E + ".1.2.2.0"))->number, c.paperSizes) << which;
        EXPECT_EQ(mib.Get(*Oid::Parse(E + ".1.3.6.0"))->number, c.lockTrays) << which;
        EXPECT_EQ(mib.Get(*Oid::Parse(E + ".1.4.8.0"))->number, c.paperTypes) << which;
    }
}

TEST_F(CardMibTest, AValueTheNewTrayDoesNotOfferMovesToItsFirstChoice) {
    Card card(SampleCardOf(EngineType::Office));
    const Peer console{};
    const Oid paper = *Oid::Parse(E + ".1.2.1.0");
    const Oid type = *Oid::Parse(E + ".1.4.7.0");
    ASSERT_EQ(
        card.Set({{paper, MibValue::Integer(0x2000)}, {type, MibValue::Integer(8)}}, console).outcome.status,
        ErrorStatus::NoError);
    ASSERT_EQ(card.Set({{*Oid::Parse(E + ".1.2.8.0"), MibValue::Integer(2)}}, console).outcome.status,
              ErrorStatus::NoError);
    EXPECT_EQ(card.Objects().Get(paper)->number, 1) << "A5 does not fit the first cassette";
    EXPECT_EQ(card.Objects().Get(type)->number, 1);
    EXPECT_EQ(card.Set({{paper, MibValue::Integer(0x2000)}}, console).outcome.status, ErrorStatus::BadValue);
    EXPECT_EQ(card.Set({{paper, MibValue::Integer(0x1000)}}, console).outcome.status, ErrorStatus::NoError)
        << "Folio does";
}

TEST_F(CardMibTest, TextsKeepToTheCardsLengthLimits) {
    Mib mib = Build(EngineType::Office);
    const std::pair<std::string, size_t> limits[] = {
        {"1.3.6.1.2.1.1.5.0", 64}, {"1.3.6.1.2.1.1.6.0", 64}, {"1.3.6.1.2.1.1.4.0", 64},
        {E + ".12.2.8.0", 127},    {E + ".12.6.1.2.0", 16},   {E + ".12.6.1.3.0", 16},
        {E + ".12.5.6.0", 32},
    };
    for (const auto& [oid, longest] : limits) {
        const Oid object = *Oid::Parse(oid);
        EXPECT_EQ(mib.Set({{object, MibValue::Text(std::string(longest, 'x'))}}).status, ErrorStatus::NoError)
            << oid;
        EXPECT_EQ(mib.Set({{object, MibValue::Text(std::string(longest + 1, 'x'))}}).status,
                  ErrorStatus::BadValue)
            << oid;
    }
}

TEST_F(CardMibTest, ZoneListComesInSegmentsAndTheZoneIsOneOfThem) {
    CardDescription card;
    for (int i = 0; i < 12; ++i) {
        card.zones.push_back("Zone number " + std::to_string(i));
    }
    Mib mib = BuildCardMib(card, CardLife{clock, counters});
    std::vector<std::string> read;
    uint32_t index = 1;
    bool last = false;
    int segments = 0;
    while (!last) {
        std::optional<MibValue> segment = mib.Get(ZoneSegments.Child(index));
        ASSERT_TRUE(segment.has_value()) << index;
        ASSERT_GT(segment->bytes.size(), 6u);
        last = segment->bytes[5] != 0;
        size_t at = 6;
        while (at < segment->bytes.size()) {
            size_t length = static_cast<uint8_t>(segment->bytes[at]);
            read.push_back(segment->bytes.substr(at + 1, length));
            at += 1 + length;
            ++index;
        }
        ++segments;
    }
    EXPECT_EQ(read, card.zones);
    EXPECT_GT(segments, 1);
    EXPECT_EQ(mib.Set({{CurrentZone, MibValue::Text("Zone number 7")}}).status, ErrorStatus::NoError);
    EXPECT_EQ(mib.Set({{CurrentZone, MibValue::Text("Nowhere")}}).status, ErrorStatus::BadValue);
}

TEST_F(CardMibTest, AgentCountersReadLiveAndTheInterfaceHasTheCardsHardwareAddress) {
    Mib mib = Build(EngineType::Office);
    counters.inGetRequests = 41;
    EXPECT_EQ(mib.Get(*Oid::Parse("1.3.6.1.2.1.11.15.0")), MibValue::Counter(41));
    EXPECT_EQ(mib.Get(IfPhysAddress2)->bytes, std::string("\x00\xC0\xDE\x00\x00\x01", 6));
}

}  // namespace
}  // namespace sim
