#include "simulator/netware/NetWareCalls.h"

#include "platform/text/CaseInsensitive.h"
#include "simulator/netware/NetWareCall.h"

namespace sim {

using namespace plat;

bool Matches(std::string_view pattern, std::string_view name) {
    return pattern == "*" || EqualsNoCase(pattern, name);
}

void ScanEntry(const std::vector<std::string>& names, std::int32_t index, std::vector<std::string>& out) {
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        throw Failure{kNwEndOfScan};
    }
    out = {names[static_cast<std::size_t>(index)]};
}

std::vector<std::string> NamesOf(const std::vector<NwObject*>& objects) {
    std::vector<std::string> names;
    for (const NwObject* object : objects) {
        names.push_back(object->name);
    }
    return names;
}

bool PasswordMatches(const NwObject& user, std::string_view password) {
    return user.password == UpperCase(password);
}

namespace {

const NetWareHandlers& Handlers() {
    static const NetWareHandlers handlers = [] {
        NetWareHandlers all;
        AddBinderyCalls(all);
        AddDirectoryCalls(all);
        AddPrintServicesCalls(all);
        return all;
    }();
    return handlers;
}

}  // namespace

NwCode RunNetWareCall(NetWareState& state, NwSession& session, const std::vector<std::string>& fields,
                      std::vector<std::string>& out) {
    out.clear();
    if (fields.empty()) {
        return kNwBadRequest;
    }
    auto handler = Handlers().find(fields[0]);
    if (handler == Handlers().end()) {
        return kNwBadRequest;
    }
    try {
        Call call(state, session, fields, out);
        handler->second(call);
        return kNwSuccess;
    } catch (const BadRequest&) {
        out.clear();
        return kNwBadRequest;
    } catch (const Failure& failure) {
        out.clear();
        return failure.code;
    }
}

}  // namespace sim
