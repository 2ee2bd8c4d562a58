#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "netware/cardtable/ServiceRowWalk.h"

namespace {

// One row of a card's table as the walk reads it: queue path, mode, print server path, column 4,
// status.
struct Row {
    std::string queue;
    std::int32_t mode = 1;
    std::string server;
    std::int32_t status = kRowValid;
};

// A card that answers each get-next with the row `next(index)` gives after the row asked from (0 from
// a column's prefix); an index of 0 or below ends its table.
struct Card {
    std::function<std::int32_t(std::int32_t)> next;
    std::function<Row(std::int32_t)> row;
    int reads = 0;

    RowReader Reader() {
        return [this](std::string& oids, int count, std::vector<CardValue>& values) {
            ++reads;
            const std::vector<std::string> asked = SplitOids(oids);
            const std::size_t dot = asked[0].rfind('.');
            const std::int32_t from =
                InColumn(asked[0], kColumnQueuePath) ? std::stoi(asked[0].substr(dot + 1)) : 0;
            const std::int32_t index = next(from);
            if (index <= 0) {
                // Past the table: the card's next objects, of another type.
                oids = "1.3.6.1.4.1.32473.11.5.1.12.2.1.0";
                values.assign(static_cast<std::size_t>(count), CardValue{});
                return kNwOk;
            }
            const Row r = row(index);
            oids.clear();
            for (ServiceColumn column :
                 {kColumnQueuePath, kColumnMode, kColumnServerPath, kColumnFour, kColumnStatus}) {
                oids += (oids.empty() ? "" : ",") + RowOid(column, index);
            }
            values = {{kCardOctetString, r.queue},
                      {kCardInteger, std::to_string(r.mode)},
                      {kCardOctetString, r.server},
                      {kCardInteger, "0"},
                      {kCardInteger, std::to_string(r.status)}};
            values.resize(static_cast<std::size_t>(count));
            return kNwOk;
        };
    }
};

struct Listing {
    NwResult result = -1;
    std::string text;
    std::uint32_t length = 0;
    std::uint32_t count = 0;
};

Listing List(Card& card, std::uint32_t room = 4096) {
    std::vector<char> buffer(room + 1, 'x');
    Listing listing;
    listing.length = room;
    listing.result = ListServiceRows(card.Reader(), buffer.data(), &listing.length, &listing.count);
    listing.text = buffer.data();
    return listing;
}

TEST(ServiceRowWalk, ACardThatKeepsMovingOnWithRowsNotValidIsRefusedAfterABoundedWalk) {
    Card restless{[](std::int32_t from) { return from + 1; },
                  [](std::int32_t index) {
                      return Row{"FS\\Q" + std::to_string(index), 1, "FS\\PS", 2};
                  }};
    const Listing listing = List(restless);
    EXPECT_EQ(listing.result, kCardBadAnswer);
    EXPECT_EQ(restless.reads, kMaxServiceRows + 1);

    // The same card with valid rows: the buffer ends the walk first.
    Card valid{restless.next, [](std::int32_t index) {
                   return Row{"FS\\Q" + std::to_string(index), 1, "FS\\PS"};
               }};
    EXPECT_EQ(List(valid).result, kNwNoMemory);
}

TEST(ServiceRowWalk, ACardThatRepeatsOrGoesBackEndsTheWalk) {
    struct Case {
        const char* what;
        std::function<std::int32_t(std::int32_t)> next;
        std::uint32_t rows;
    };
    const Case cases[] = {
        {"the same row again", [](std::int32_t from) { return from == 0 ? 1 : from + (from < 3 ? 1 : 0); },
         3},
        {"back to the first row", [](std::int32_t from) { return from < 2 ? from + 1 : 1; }, 2},
        {"gaps in the indexes", [](std::int32_t from) { return from < 9 ? from + 4 : 0; }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Card card{c.next, [](std::int32_t index) { return Row{"Q" + std::to_string(index), 1, "PS"}; }};
        const Listing listing = List(card);
        EXPECT_EQ(listing.result, kNwOk);
        EXPECT_EQ(listing.count, c.rows);
        EXPECT_EQ(listing.length, listing.text.size());
    }
}

TEST(ServiceRowWalk, ANulByteInANameDoesNotCutTheListShort) {
    Card card{[](std::int32_t from) { return from < 2 ? from + 1 : 0; },
              [](std::int32_t index) {
                  return Row{index == 1 ? std::string("FS\\Q1\0junk", 10) : "FS\\Q2", 1,
                             std::string("FS\\PS\0\0\0", 8)};
              }};
    const Listing listing = List(card);
    ASSERT_EQ(listing.result, kNwOk);
    EXPECT_EQ(listing.count, 2u);
    EXPECT_EQ(listing.text, "0005,FS\\Q1,0001,1,0005,FS\\PS,0001,0,0005,FS\\Q2,0001,1,0005,FS\\PS,0001,0");
    EXPECT_EQ(listing.length, listing.text.size());
}

}  // namespace
