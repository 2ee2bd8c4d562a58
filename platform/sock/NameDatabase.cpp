#include "platform/sock/NameDatabase.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/sock/SocketError.h"

namespace plat {

namespace {

// What a lookup found, before it is laid out as an entry of the interface.
struct NameRecord {
    enum class Kind { Host, Service, Protocol };
    Kind kind = Kind::Host;
    int error = 0;
    std::string name;
    std::vector<std::string> aliases;
    std::vector<std::array<char, 4>> addresses;  // host, network order
    std::int16_t number = 0;                     // service: port in network order; protocol: its number
    std::string protocol;                        // service
};

// Lays the entry out in the buffer: the entry, its pointer lists, then the texts and addresses it
// points to. Answers the size needed; writes only when it fits.
class Layout {
  public:
    Layout(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {}

    std::size_t Place(const NameRecord& record) {
        std::size_t head = record.kind == NameRecord::Kind::Host      ? sizeof(HostEntry)
                           : record.kind == NameRecord::Kind::Service ? sizeof(ServiceEntry)
                                                                      : sizeof(ProtocolEntry);
        used_ = head;
        char** aliases = PointerList(record.aliases.size());
        char** addresses =
            record.kind == NameRecord::Kind::Host ? PointerList(record.addresses.size()) : nullptr;
        char* name = Text(record.name);
        for (std::size_t i = 0; i < record.aliases.size(); ++i) {
            PutPointer(aliases, i, Text(record.aliases[i]));
        }
        for (std::size_t i = 0; i < record.addresses.size(); ++i) {
            PutPointer(addresses, i, Bytes(record.addresses[i].data(), 4));
        }
        char* protocol = record.kind == NameRecord::Kind::Service ? Text(record.protocol) : nullptr;
        if (used_ <= size_) {
            WriteHead(record, name, aliases, addresses, protocol);
        }
        return used_;
    }

  private:
    char* Reserve(std::size_t bytes, std::size_t alignment) {
        used_ = (used_ + alignment - 1) / alignment * alignment;
        char* at = used_ <= size_ && bytes <= size_ - used_ ? buffer_ + used_ : nullptr;
        used_ += bytes;
        return at;
    }
    // Every entry of the list is put in place by the caller; the list ends with a null pointer.
    char** PointerList(std::size_t count) {
        auto list = reinterpret_cast<char**>(Reserve((count + 1) * sizeof(char*), alignof(char*)));
        PutPointer(list, count, nullptr);
        return list;
    }
    void PutPointer(char** list, std::size_t index, char* pointer) {
        if (list != nullptr) {
            std::memcpy(reinterpret_cast<char*>(list) + index * sizeof(char*), &pointer, sizeof pointer);
        }
    }
    char* Bytes(const char* data, std::size_t length) {
        char* at = Reserve(length, 1);
        if (at != nullptr) {
            std::memcpy(at, data, length);
        }
        return at;
    }
    char* Text(const std::string& text) { return Bytes(text.c_str(), text.size() + 1); }

    void WriteHead(const NameRecord& record, char* name, char** aliases, char** addresses, char* protocol) {
        switch (record.kind) {
            case NameRecord::Kind::Host: {
                HostEntry entry{name, aliases, kAfInet, 4, addresses};
                std::memcpy(buffer_, &entry, sizeof entry);
                break;
            }
            case NameRecord::Kind::Service: {
                ServiceEntry entry{name, aliases, record.number, protocol};
                std::memcpy(buffer_, &entry, sizeof entry);
                break;
            }
            case NameRecord::Kind::Protocol: {
                ProtocolEntry entry{name, aliases, record.number};
                std::memcpy(buffer_, &entry, sizeof entry);
                break;
            }
        }
    }

    char* buffer_;
    std::size_t size_;
    std::size_t used_ = 0;
};

std::vector<std::string> Aliases(char** list) {
    std::vector<std::string> aliases;
    for (; list != nullptr && *list != nullptr; ++list) {
        aliases.emplace_back(*list);
    }
    return aliases;
}

NameRecord LookUpHostName(const char* name) {
    NameRecord record;
    std::string wanted;
    if (name == nullptr) {
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        wanted = host;
    } else {
        wanted = name;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* answer = nullptr;
    int result = getaddrinfo(wanted.c_str(), nullptr, &hints, &answer);
    // Freed however the copy below ends, an allocation failure included.
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> found(answer, freeaddrinfo);
    if (result != 0) {
        record.error = result == EAI_NONAME || result == EAI_NODATA ? kWsaHostNotFound
                       : result == EAI_AGAIN                        ? kWsaTryAgain
                                                                    : kWsaNoRecovery;
        return record;
    }
    record.name = found->ai_canonname != nullptr ? found->ai_canonname : wanted;
    std::set<std::uint32_t> seen;
    for (const addrinfo* entry = found.get(); entry != nullptr; entry = entry->ai_next) {
        auto address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
        if (seen.insert(address).second) {
            std::array<char, 4> bytes;
            std::memcpy(bytes.data(), &address, 4);
            record.addresses.push_back(bytes);
        }
    }
    return record;
}

NameRecord LookUpHostAddress(const char* address, int length, int type) {
    NameRecord record;
    if (address == nullptr || length != 4) {
        record.error = kWsaEfault;
        return record;
    }
    if (type != kAfInet) {
        record.error = kWsaEafnosupport;
        return record;
    }
    sockaddr_in host{};
    host.sin_family = AF_INET;
    std::memcpy(&host.sin_addr.s_addr, address, 4);
    char name[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&host), sizeof host, name, sizeof name, nullptr, 0,
                    NI_NAMEREQD) != 0) {
        record.error = kWsaHostNotFound;
        return record;
    }
    record.name = name;
    std::array<char, 4> bytes;
    std::memcpy(bytes.data(), address, 4);
    record.addresses.push_back(bytes);
    return record;
}

NameRecord ServiceRecord(servent* found) {
    NameRecord record;
    record.kind = NameRecord::Kind::Service;
    if (found == nullptr) {
        record.error = kWsaNoData;
        return record;
    }
    record.name = found->s_name;
    record.aliases = Aliases(found->s_aliases);
    record.number = static_cast<std::int16_t>(found->s_port);
    record.protocol = found->s_proto;
    return record;
}

NameRecord LookUpService(const char* name, const char* protocol) {
    servent entry{};
    servent* found = nullptr;
    char scratch[4096];
    if (name != nullptr) {
        getservbyname_r(name, protocol, &entry, scratch, sizeof scratch, &found);
    }
    return ServiceRecord(found);
}

NameRecord LookUpServicePort(int port, const char* protocol) {
    servent entry{};
    servent* found = nullptr;
    char scratch[4096];
    getservbyport_r(port, protocol, &entry, scratch, sizeof scratch, &found);
    return ServiceRecord(found);
}

NameRecord ProtocolRecord(protoent* found) {
    NameRecord record;
    record.kind = NameRecord::Kind::Protocol;
    if (found == nullptr) {
        record.error = kWsaNoData;
        return record;
    }
    record.name = found->p_name;
    record.aliases = Aliases(found->p_aliases);
    record.number = static_cast<std::int16_t>(found->p_proto);
    return record;
}

NameRecord LookUpProtocol(const char* name) {
    protoent entry{};
    protoent* found = nullptr;
    char scratch[4096];
    if (name != nullptr) {
        getprotobyname_r(name, &entry, scratch, sizeof scratch, &found);
    }
    return ProtocolRecord(found);
}

NameRecord LookUpProtocolNumber(int number) {
    protoent entry{};
    protoent* found = nullptr;
    char scratch[4096];
    getprotobynumber_r(number, &entry, scratch, sizeof scratch, &found);
    return ProtocolRecord(found);
}

// The calling thread's entry of the record's kind, or null with the error set.
template <class Entry>
Entry* ThreadEntry(const NameRecord& record) {
    if (record.error != 0) {
        SetSocketError(record.error);
        return nullptr;
    }
    thread_local std::vector<std::uint64_t> storage[3];
    std::vector<std::uint64_t>& mine = storage[static_cast<int>(record.kind)];
    std::size_t needed = Layout(nullptr, 0).Place(record);
    mine.assign(needed / sizeof(std::uint64_t) + 1, 0);
    Layout(reinterpret_cast<char*>(mine.data()), mine.size() * sizeof(std::uint64_t)).Place(record);
    return reinterpret_cast<Entry*>(mine.data());
}

// Requests are answered before their handle is given out, so every handle below this one is done.
std::atomic<AsyncHandle> nextRequest{1};

AsyncHandle Answer(WindowHandle window, std::uint32_t message, char* buffer, int length,
                   const NameRecord& record) {
    if (!IsWindow(window)) {
        SetSocketError(kWsaEinval);
        return 0;
    }
    AsyncHandle request = nextRequest++;
    std::size_t needed = Layout(nullptr, 0).Place(record);
    int error = record.error;
    if (error == 0) {
        if (buffer == nullptr || length < 0 || needed > static_cast<std::size_t>(length)) {
            error = kWsaEnobufs;
        } else {
            Layout(buffer, static_cast<std::size_t>(length)).Place(record);
        }
    }
    auto lParam = static_cast<LParam>((static_cast<std::uint32_t>(error) << 16) | (needed & 0xFFFF));
    PostMessage(window, message, request, lParam);
    return request;
}

}  // namespace

HostEntry* HostByName(const char* name) {
    return ThreadEntry<HostEntry>(LookUpHostName(name));
}

HostEntry* HostByAddress(const char* address, int length, int type) {
    return ThreadEntry<HostEntry>(LookUpHostAddress(address, length, type));
}

ServiceEntry* ServiceByName(const char* name, const char* protocol) {
    return ThreadEntry<ServiceEntry>(LookUpService(name, protocol));
}

ServiceEntry* ServiceByPort(int port, const char* protocol) {
    return ThreadEntry<ServiceEntry>(LookUpServicePort(port, protocol));
}

ProtocolEntry* ProtocolByName(const char* name) {
    return ThreadEntry<ProtocolEntry>(LookUpProtocol(name));
}

ProtocolEntry* ProtocolByNumber(int number) {
    return ThreadEntry<ProtocolEntry>(LookUpProtocolNumber(number));
}

AsyncHandle AsyncHostByName(WindowHandle window, std::uint32_t message, const char* name, char* buffer,
                            int length) {
    return Answer(window, message, buffer, length, LookUpHostName(name));
}

AsyncHandle AsyncHostByAddress(WindowHandle window, std::uint32_t message, const char* address,
                               int addressLength, int type, char* buffer, int length) {
    return Answer(window, message, buffer, length, LookUpHostAddress(address, addressLength, type));
}

AsyncHandle AsyncServiceByName(WindowHandle window, std::uint32_t message, const char* name,
                               const char* protocol, char* buffer, int length) {
    return Answer(window, message, buffer, length, LookUpService(name, protocol));
}

AsyncHandle AsyncServiceByPort(WindowHandle window, std::uint32_t message, int port, const char* protocol,
                               char* buffer, int length) {
    return Answer(window, message, buffer, length, LookUpServicePort(port, protocol));
}

AsyncHandle AsyncProtocolByName(WindowHandle window, std::uint32_t message, const char* name, char* buffer,
                                int length) {
    return Answer(window, message, buffer, length, LookUpProtocol(name));
}

AsyncHandle AsyncProtocolByNumber(WindowHandle window, std::uint32_t message, int number, char* buffer,
                                  int length) {
    return Answer(window, message, buffer, length, LookUpProtocolNumber(number));
}

int CancelAsyncLookup(AsyncHandle request) {
    return Fail(request != 0 && request < nextRequest ? kWsaEalready : kWsaEinval);
}

}  // namespace plat
