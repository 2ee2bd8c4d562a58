#include "confighelper/tests/integration/HelperFixture.h"

#include <map>

#include "platform/store/ConfigStore.h"

namespace helpertest {

namespace {

constexpr const char* kRecorderClass = "HELPER_TEST_TEXT";

plat::LResult RecorderProc(plat::WindowHandle window, std::uint32_t message, plat::WParam wParam,
                           plat::LParam lParam) {
    if (message == plat::kWmSetText && lParam != 0) {
        TextRecorder::Recorded(window).emplace_back(reinterpret_cast<const char*>(lParam));
        if (const auto hook = TextRecorder::Hooks().find(window); hook != TextRecorder::Hooks().end()) {
            hook->second(reinterpret_cast<const char*>(lParam));
        }
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}

void WriteText(const char* key, const char* name, const std::string& text) {
    ASSERT_EQ(WriteRegistryValue(plat::kStoreLocalMachine, key, name, text.c_str(),
                                 static_cast<std::uint32_t>(text.size() + 1), plat::kStoreValueText),
              0);
}

std::string EntryPath(const std::string& adapter) {
    return std::string(plat::kAdapterOnlyKey) + "\\" + adapter;
}

}  // namespace

void SetNumber(const std::string& key, const char* name, std::uint32_t value) {
    const auto opened = plat::StoreKeyHandle::Create(plat::kStoreLocalMachine, key.c_str());
    ASSERT_TRUE(opened) << key;
    ASSERT_EQ(opened->WriteNumber(name, value), plat::kStoreOk);
}

std::optional<std::uint32_t> ReadNumber(const std::string& key, const char* name) {
    const auto opened = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, key.c_str());
    return opened ? opened->ReadNumber(name) : std::nullopt;
}

// A window's procedure runs on the thread that made it, which also reads its texts.
std::vector<std::string>& TextRecorder::Recorded(plat::WindowHandle window) {
    thread_local std::map<plat::WindowHandle, std::vector<std::string>> texts;
    return texts[window];
}

std::map<plat::WindowHandle, std::function<void(const std::string&)>>& TextRecorder::Hooks() {
    thread_local std::map<plat::WindowHandle, std::function<void(const std::string&)>> hooks;
    return hooks;
}

TextRecorder::TextRecorder() {
    plat::RegisterWindowClass(kRecorderClass, RecorderProc);
    window_ = plat::CreateWindow(kRecorderClass, "");
}

TextRecorder::~TextRecorder() {
    plat::DestroyWindow(window_);
    Recorded(window_).clear();
    Hooks().erase(window_);
}

void TextRecorder::Clear() {
    Recorded(window_).clear();
}

bool TextRecorder::WaitFor(std::size_t count, std::uint32_t ms) {
    const std::uint32_t deadline = plat::TickCount() + ms;
    while (Texts().size() < count) {
        const auto left = static_cast<std::int32_t>(deadline - plat::TickCount());
        if (left <= 0) {
            return false;
        }
        plat::PumpWaiting(static_cast<std::uint32_t>(left));
    }
    return true;
}

void HelperTest::SetUp() {
    SetNumber(plat::kSnmpKey, "UdpTimeOutInterval", 1);
    SetNumber(plat::kSnmpKey, "UdpTotalRetries", 1);
    SetNumber(plat::kSnmpKey, "AutoDetectTimeout", autoDetectTimeout);
    WriteText(plat::kDisplayKey, "Options", "1605,1035,7695,10650");
    WriteText(plat::kPrintJobsKey, "JobFile", "/tmp/jobs.txt");
    char options[256];
    std::uint32_t size = sizeof options;
    ASSERT_EQ(HelperInitialize(notices.Handle(), options, &size), 0);
    EXPECT_STREQ(options, "1605,1035,7695,10650");
}

void HelperTest::TearDown() {
    cards->Stop();
    HelperCleanUp("x", 2);
    plat::StoreDeleteKey(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
}

void HelperTest::StartCards() {
    std::string error;
    ASSERT_TRUE(cards->Start(error)) << error;
}

std::uint32_t HelperTest::StoredNumber(const std::string& adapter, const char* name) {
    return ReadNumber(EntryPath(adapter), name).value_or(0xFFFFFFFF);
}

std::string HelperTest::StoredText(const std::string& adapter, const char* name) {
    char text[300] = {};
    std::uint32_t size = sizeof text - 1;
    if (ReadRegistryValue(plat::kStoreLocalMachine, EntryPath(adapter).c_str(), name, text, &size) != 0) {
        return "<missing>";
    }
    return text;
}

bool HelperTest::Stored(const std::string& adapter) {
    return StoredText(adapter, "MAC Address") == adapter;
}

std::vector<std::string> HelperTest::StoredAdapters() {
    const auto key = plat::StoreKeyHandle::Open(plat::kStoreLocalMachine, plat::kAdapterOnlyKey);
    return key ? key->SubkeyNames() : std::vector<std::string>{};
}

}  // namespace helpertest
