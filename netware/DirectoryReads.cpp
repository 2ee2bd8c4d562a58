#include <string>

#include "netware/DirectoryContext.h"
#include "netware/NameList.h"
#include "netware/ScanRounds.h"
#include "netware/Tessik.h"

namespace {

constexpr std::size_t kResultBufferSize = 4096;

// A result buffer of the client, freed at the end of the export.
class ResultBuffer {
  public:
    ResultBuffer() : made_(plat::NwAllocateResultBuffer(kResultBufferSize, buffer_) == plat::kNwSuccess) {}
    ~ResultBuffer() {
        if (made_) {
            plat::NwFreeResultBuffer(buffer_);
        }
    }
    ResultBuffer(const ResultBuffer&) = delete;
    ResultBuffer& operator=(const ResultBuffer&) = delete;

    bool Made() const { return made_; }
    plat::NwResultBuffer Handle() const { return buffer_; }

  private:
    plat::NwResultBuffer buffer_ = 0;
    bool made_;
};

// Every pass of one listing, each name written as a record of `kind`. A listing that fails on any
// pass fails the browse: a short list would pass for the whole context. So does one whose iterator
// stands still or that never ends.
template <typename Pass>
NwResult ListAll(Pass pass, std::string_view kind, NameListWriter& list) {
    ResultBuffer buffer;
    if (!buffer.Made()) {
        return kNwBrowseFailed;
    }
    ScanRounds rounds;
    std::int32_t iterator = -1;
    do {
        const std::int32_t sent = iterator;
        std::uint32_t entries = 0;
        if (pass(iterator, buffer.Handle()) != plat::kNwSuccess ||
            plat::NwResultEntryCount(buffer.Handle(), entries) != plat::kNwSuccess) {
            return kNwBrowseFailed;
        }
        for (std::uint32_t i = 0; i < entries; ++i) {
            std::string name;
            if (plat::NwResultEntryName(buffer.Handle(), name) != plat::kNwSuccess) {
                return kNwBrowseFailed;
            }
            const NwResult result = list.Append(name, kind);
            if (result != kNwOk) {
                return result;
            }
        }
        if (iterator != -1 && !rounds.Advanced(sent, iterator)) {
            return kNwBrowseFailed;
        }
    } while (iterator != -1);
    return kNwOk;
}

}  // namespace

NwResult NwNdsBrowse(char* tree, const char* context, const char* className, char* buffer,
                     std::uint32_t* length, std::int32_t* count) {
    return RunExport({tree, context, className}, [&]() -> NwResult {
        NameListWriter list(buffer, length, count);
        if (!list.Usable()) {
            return kNwDoesNotFit;
        }
        DirectoryContext directory;
        NwResult result = OpenDirectory(tree, context, directory);
        if (result != kNwOk || (result = directory.SetFlags()) != kNwOk) {
            return result;
        }
        const plat::NwContext handle = directory.Handle();
        result = ListAll(
            [&](std::int32_t& iterator, plat::NwResultBuffer pass) {
                return plat::NwListObjects(handle, "", className, iterator, pass);
            },
            "1,O,", list);
        if (result == kNwOk) {
            result = ListAll(
                [&](std::int32_t& iterator, plat::NwResultBuffer pass) {
                    return plat::NwListContainers(handle, "", iterator, pass);
                },
                "1,C,", list);
        }
        if (result == kNwOk) {
            list.Finish();
        }
        return result;
    });
}

NwResult NwNdsGetContext(char* tree, char* buffer, std::uint32_t* length) {
    return RunExport({tree}, [&]() -> NwResult {
        DirectoryContext directory;
        const NwResult result = OpenDirectory(tree, nullptr, directory);
        if (result != kNwOk) {
            return result;
        }
        std::string name;
        if (plat::NwReadNameContext(directory.Handle(), name) != plat::kNwSuccess) {
            return kNwCannotConnect;
        }
        return CopyText(name, buffer, length);
    });
}
