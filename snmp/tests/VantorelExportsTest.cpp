// The exported face of libvantorel.so: which symbols it shows and how each export answers.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/GlobalMemory.h"
#include "snmp/codec/SnmpValueType.h"
#include "snmp/exports/Vantorel.h"
#include "snmp/tests/BerBytes.h"

namespace {

using snmp::test::Binding;
using snmp::test::Bytes;
using snmp::test::Cat;
using snmp::test::Response;
using snmp::test::SystemOid;
using snmp::test::Tlv;

struct BlockDeleter {
    void operator()(void* block) const { plat::FreeBlock(block); }
};

TEST(VantorelSymbols, OnlyTheExportsAreVisible) {
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&HelperSnmpDecodePdu), &info), 0);
    void* library = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << info.dli_fname;
    for (const char* name :
         {"HelperFormSNMPPacket", "HelperSNMPDecodePacket", "HelperSnmpEncodePdu", "HelperSnmpDecodePdu",
          "HelperFreeReqParam", "HelperSnmpDecodeTrapPdu", "HelperDecodeValue", "HelperSNMPTransact",
          "HelperSNMPTransactAscii", "HelperGetSNMPObjects", "HelperSNMPRegisterTrapDestination",
          "HelperTrapKeepAlive"}) {
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    }
    // The codec and the transport inside stay hidden: snmp::DecodeTrap, snmp::EncodeRequest, DlcInitialize.
    for (const char* name :
         {"_ZN4snmp10DecodeTrapEPKhm", "_ZN4snmp13EncodeRequestERKNS_11RequestTextERNS_14EncodedRequestE",
          "_Z13DlcInitializev"}) {
        EXPECT_EQ(dlsym(library, name), nullptr) << name;
    }
    dlclose(library);
}

TEST(HelperSnmpEncodePdu, EncodesARequestAndRefusesAResponse) {
    char community[] = "public";
    char oid[] = "1.3.6.1.2.1.1.5.0";
    VarBind binding{oid, 17, 0, nullptr, 0};
    ReqParam request{community, 6, kPduGet, 1, 3, 2, 1, &binding};  // error fields are not sent
    std::uint8_t buffer[64];
    std::uint16_t length = sizeof buffer;
    ASSERT_EQ(HelperSnmpEncodePdu(&request, buffer, &length), 0);
    ASSERT_EQ(length, 40);
    EXPECT_EQ(Bytes(buffer + 15, buffer + 24), (Bytes{0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00}));

    length = 39;
    EXPECT_EQ(HelperSnmpEncodePdu(&request, buffer, &length), 2);
    EXPECT_EQ(length, 39);
    request.PduType = kPduResponse;
    length = sizeof buffer;
    EXPECT_EQ(HelperSnmpEncodePdu(&request, buffer, &length), 1);
    EXPECT_EQ(HelperSnmpEncodePdu(nullptr, buffer, &length), 1);
}

TEST(HelperFormSNMPPacket, BuildsADecodableRequestOrNothing) {
    char oids[64] = "1.3.6.1.2.1.1.5.0";
    char values[] = "";
    std::int32_t valueSize = 200;
    std::int32_t length = 0;
    std::unique_ptr<std::uint8_t, BlockDeleter> first(
        HelperFormSNMPPacket(0, oids, sizeof oids, values, &valueSize, 1, &length));
    ASSERT_NE(first, nullptr);
    ASSERT_GT(length, 0);
    std::unique_ptr<std::uint8_t, BlockDeleter> second(
        HelperFormSNMPPacket(1, oids, sizeof oids, values, &valueSize, 1, &length));
    ASSERT_NE(second, nullptr);
    // 30 len 02 01 00 04 0B and the 11 bytes of the community, then the PDU: tag, len, 02 01 id.
    const Bytes community(second.get() + 7, second.get() + 18);
    EXPECT_EQ(std::string(community.begin(), community.end()), "k!r@o#v$e%t");
    EXPECT_EQ(second.get()[18], 0xA1);
    EXPECT_EQ(second.get()[22], first.get()[22] + 1) << "each request takes the next id";

    EXPECT_EQ(HelperFormSNMPPacket(7, oids, sizeof oids, values, &valueSize, 1, &length), nullptr);
    char set[] = "2,50,short";
    valueSize = sizeof set;
    EXPECT_EQ(HelperFormSNMPPacket(2, oids, sizeof oids, set, &valueSize, 1, &length), nullptr);
}

struct DecodedText {
    std::int32_t result;
    std::string oids;
    std::string values;
    std::int32_t oidSize;
    std::int32_t valueSize;
};

DecodedText DecodePacket(const Bytes& packet, std::int32_t oidCapacity = 128,
                         std::int32_t valueCapacity = 128) {
    std::vector<char> oids(oidCapacity, '\0');
    std::vector<char> values(valueCapacity, '\0');
    DecodedText out{};
    out.oidSize = oidCapacity;
    out.valueSize = valueCapacity;
    out.result = HelperSNMPDecodePacket(packet.data(), static_cast<std::int32_t>(packet.size()), oids.data(),
                                        &out.oidSize, values.data(), &out.valueSize);
    out.oids.assign(oids.data(), strnlen(oids.data(), oids.size()));
    out.values.assign(values.data(), strnlen(values.data(), values.size()));
    return out;
}

TEST(HelperSNMPDecodePacket, WritesTheAnswerAsText) {
    const Bytes answer = Response(Cat({Binding(SystemOid(5), Tlv(0x04, snmp::test::Text("lp-3"))),
                                       Binding(SystemOid(7), {0x02, 0x01, 0x48})}));
    const DecodedText out = DecodePacket(answer);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.oids, "1.3.6.1.2.1.1.5.0,1.3.6.1.2.1.1.7.0");
    EXPECT_EQ(out.values, "2,4,lp-3,1,72");
    EXPECT_EQ(out.valueSize, 13);
    EXPECT_EQ(out.oidSize, 37) << "the joined identifiers' length plus 2";
}

TEST(HelperSNMPDecodePacket, ResultCodes) {
    const Bytes sysName = Binding(SystemOid(5), Tlv(0x04, snmp::test::Text("lp-3")));
    struct Case {
        const char* what;
        Bytes packet;
        std::int32_t oidCapacity;
        std::int32_t valueCapacity;
        std::int32_t result;
    };
    const Case cases[] = {
        {"general error (5) is a failure", Response(sysName, 5), 128, 128, 25011},
        {"no such name (2)", Response(sysName, 2), 128, 128, 25011},
        {"a get request is no answer", snmp::test::Message(0xA0, sysName), 128, 128, 25009},
        {"garbage", {0x30, 0x03, 0x02, 0x01}, 128, 128, 25009},
        {"the value does not fit", Response(sysName), 128, 8, 25012},
        {"the identifier does not fit", Response(sysName), 10, 128, 25012},
        {"a null value has no text form", Response(Binding(SystemOid(5), {0x05, 0x00})), 128, 128, 25012},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodePacket(c.packet, c.oidCapacity, c.valueCapacity).result, c.result) << c.what;
    }
    const DecodedText small = DecodePacket(Response(sysName), 128, 8);
    EXPECT_EQ(small.valueSize, 9) << "the room the text needs with its terminator";
    EXPECT_EQ(small.values, "");
}

TEST(HelperDecodeValue, WalksATextItemByItemWithinItsLength) {
    char text[] = "1,25,2,3,a,b,3,10.0.0.1";
    char* cursor = text;
    std::int32_t type = 0;
    std::int32_t length = static_cast<std::int32_t>(std::strlen(text));

    std::unique_ptr<void, BlockDeleter> value(HelperDecodeValue(&cursor, &type, &length));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(type, kSnmpInteger);
    EXPECT_EQ(*static_cast<std::int32_t*>(value.get()), 25);
    EXPECT_EQ(cursor, text + 5);

    length = static_cast<std::int32_t>(text + std::strlen(text) - cursor);
    value.reset(HelperDecodeValue(&cursor, &type, &length));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(type, kSnmpOctetString);
    EXPECT_EQ(std::string(static_cast<char*>(value.get()), length), "a,b");

    length = static_cast<std::int32_t>(text + std::strlen(text) - cursor);
    value.reset(HelperDecodeValue(&cursor, &type, &length));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(type, kSnmpIpAddress);
    EXPECT_EQ(std::memcmp(value.get(), "\x0A\x00\x00\x01", 4), 0);
    EXPECT_EQ(cursor, nullptr) << "the last item ended the text";
}

TEST(HelperDecodeValue, AByteCountBeyondTheGivenLengthFails) {
    char text[] = "2,9,abc,1,5";
    char* cursor = text;
    std::int32_t type = 0;
    std::int32_t length = 7;  // "2,9,abc": the count runs past it although the text goes on
    EXPECT_EQ(HelperDecodeValue(&cursor, &type, &length), nullptr);
    EXPECT_EQ(cursor, text) << "the cursor stays";
    EXPECT_EQ(length, 0);
}

TEST(HelperSnmpDecodeTrapPdu, DecodesATrapAndRefusesAResponse) {
    const Bytes trap = snmp::test::Trap(6, {18}, Binding(SystemOid(1), {0x02, 0x01, 0x07}));
    TrapParam* decoded = HelperSnmpDecodeTrapPdu(trap.data(), static_cast<std::int32_t>(trap.size()));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->SpecificTrap, 18);
    snmp::FreeTrapParam(decoded);
    const Bytes answer = Response({});
    EXPECT_EQ(HelperSnmpDecodeTrapPdu(answer.data(), static_cast<std::int32_t>(answer.size())), nullptr);
    EXPECT_EQ(HelperSnmpDecodeTrapPdu(trap.data(), -1), nullptr);
}

// Bad arguments are refused with the export's failure answer, never a fault.
TEST(VantorelExports, NullBuffersAndEmptyLengthsAreRefused) {
    const Bytes answer = Response(Binding(SystemOid(5), Tlv(0x04, snmp::test::Text("lp-3"))));
    const auto length = static_cast<std::int32_t>(answer.size());
    char text[64] = {};
    std::int32_t size = sizeof text;
    EXPECT_EQ(HelperSnmpDecodePdu(nullptr, length), nullptr);
    EXPECT_EQ(HelperSnmpDecodePdu(answer.data(), 0), nullptr);
    EXPECT_EQ(HelperSnmpDecodeTrapPdu(nullptr, length), nullptr);
    EXPECT_EQ(HelperSNMPDecodePacket(nullptr, length, text, &size, text, &size), 25009);
    EXPECT_EQ(HelperSNMPDecodePacket(answer.data(), length, nullptr, nullptr, nullptr, nullptr), 25012);

    std::int32_t outLength = 0;
    EXPECT_EQ(HelperFormSNMPPacket(0, nullptr, 64, nullptr, &size, 1, &outLength), nullptr);
    char oids[] = "1.3.6.1.2.1.1.5.0";
    EXPECT_EQ(HelperFormSNMPPacket(2, oids, sizeof oids, nullptr, &size, 1, &outLength), nullptr);
    EXPECT_EQ(HelperFormSNMPPacket(0, oids, sizeof oids, nullptr, nullptr, 1, nullptr), nullptr);

    VarBind binding{oids, 17, 0, nullptr, 0};
    ReqParam request{nullptr, 6, kPduGet, 1, 0, 0, 1, &binding};
    std::uint8_t buffer[64];
    std::uint16_t bufferSize = sizeof buffer;
    EXPECT_EQ(HelperSnmpEncodePdu(&request, buffer, &bufferSize), 2) << "a community of 6 bytes at null";
    request.Community = text;
    EXPECT_EQ(HelperSnmpEncodePdu(&request, nullptr, &bufferSize), 2);
    EXPECT_EQ(HelperSnmpEncodePdu(&request, buffer, nullptr), 2);
    request.Bindings = nullptr;
    EXPECT_EQ(HelperSnmpEncodePdu(&request, buffer, &bufferSize), 2) << "one binding at null";

    char* cursor = nullptr;
    std::int32_t type = 0;
    EXPECT_EQ(HelperDecodeValue(&cursor, &type, &size), nullptr);
    EXPECT_EQ(HelperDecodeValue(nullptr, &type, &size), nullptr);
    HelperFreeReqParam(nullptr);
}

}  // namespace
