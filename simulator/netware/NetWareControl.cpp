#include "simulator/netware/NetWareControl.h"

#include "simulator/CardValueText.h"
#include "simulator/DescriptionFile.h"

namespace sim {

namespace {

struct Refusal {
    std::string reason;
};

void Expect(const std::vector<std::string>& words, std::size_t least, std::size_t most, const char* usage) {
    if (words.size() < least || words.size() > most) {
        throw Refusal{std::string("usage: ") + usage};
    }
}

template <typename T>
T& Known(T* item, const std::string& what, const std::string& name) {
    if (item == nullptr) {
        throw Refusal{"unknown " + what + " \"" + name + "\""};
    }
    return *item;
}

void Made(const NwObject* object, const std::string& name) {
    if (object == nullptr) {
        throw Refusal{"\"" + name + "\" exists already or has no place"};
    }
}

template <typename Number>
Number NumberOf(const std::string& text, Number lowest, Number highest) {
    std::optional<Number> number = ParseNumber<Number>(text, lowest, highest);
    if (!number) {
        throw Refusal{"bad number \"" + text + "\""};
    }
    return *number;
}

// A user's rights word: supervisor (the default) or ordinary.
NwRights RightsOf(const std::vector<std::string>& words, std::size_t at) {
    if (words.size() <= at || words[at] == "supervisor") {
        return NwRights::Supervisor;
    }
    if (words[at] != "ordinary") {
        throw Refusal{"unknown rights \"" + words[at] + "\" (supervisor or ordinary)"};
    }
    return NwRights::Ordinary;
}

void SetUser(NwObject& user, const std::vector<std::string>& words, std::size_t passwordAt) {
    user.password = UpperCase(words[passwordAt]);
    user.rights = RightsOf(words, passwordAt + 1);
}

NwObject& BinderyObjects(NetWareState& state, const std::string& server) {
    return Known(state.Server(server), "server", server).objects;
}

// A tree object named from the root: its container must exist.
void AddTreeObject(NetWareState& state, const std::vector<std::string>& words) {
    DirectoryTree& tree = Known(state.Tree(words[1]), "tree", words[1]);
    NwKind kind = NwKind::Container;
    if (!KindOfName(words[2], kind)) {
        throw Refusal{"unknown kind \"" + words[2] + "\""};
    }
    if (words.size() > 5 && kind != NwKind::User) {
        throw Refusal{"only a user has rights"};
    }
    RightsOf(words, 5);
    std::string leaf;
    NwObject* parent = ResolveParent(tree, "[Root]", "." + words[3], leaf);
    NwObject* object = parent == nullptr ? nullptr : parent->Add(leaf, kind);
    Made(object, words[3]);
    if (words.size() > 4) {
        SetUser(*object, words, 4);
    }
}

std::string Described(const NwObject& object, const std::string& name) {
    std::string line = std::string(KindName(object.kind)) + " " + name;
    if (object.kind == NwKind::User && object.rights == NwRights::Ordinary) {
        line += " rights=ordinary";
    }
    if (!object.volume.empty()) {
        line += " volume=" + object.volume;
    }
    for (const std::string& printer : object.printers) {
        line += " printer=" + printer;
    }
    if (!object.configuration.empty()) {
        line += " configuration=" + std::to_string(object.configuration.size());
    }
    for (const ServicedQueue& queue : object.serviced) {
        line +=
            " queue=" + queue.queue + "/" + std::to_string(queue.first) + "/" + std::to_string(queue.second);
    }
    return line + "\n";
}

// Every object under `parent`, one line each; `name` gives how the line names an object.
template <typename Namer>
void Describe(const NwObject& parent, const Namer& name, std::string& reply, std::size_t& count) {
    for (const auto& child : parent.children) {
        reply += Described(*child, name(*child));
        ++count;
        Describe(*child, name, reply, count);
    }
}

std::string Show(NetWareState& state, const std::string& name) {
    std::string reply;
    std::size_t count = 0;
    if (BinderyServer* server = state.Server(name)) {
        Describe(
            server->objects,
            [](const NwObject& object) {
                return object.kind == NwKind::Printer ? object.parent->name + "/" + object.name : object.name;
            },
            reply, count);
    } else {
        Describe(Known(state.Tree(name), "server or tree", name).root, DistinguishedName, reply, count);
    }
    return reply + "ok " + std::to_string(count) + " objects";
}

std::string Log(NetWareState& state, const std::vector<std::string>& words) {
    if (words.size() > 1) {
        if (words[1] != "clear") {
            throw Refusal{"usage: log [clear]"};
        }
        state.log.clear();
        return "ok";
    }
    std::string reply;
    for (const std::string& line : state.log) {
        reply += line + "\n";
    }
    return reply + "ok " + std::to_string(state.log.size()) + " calls";
}

std::string Fault(NetWareState& state, const std::vector<std::string>& words) {
    if (words.size() == 2 && words[1] == "clear") {
        state.faults.clear();
        return "ok";
    }
    Expect(words, 4, 4, "fault CALL K CODE | fault clear");
    state.faults.push_back(NwFault{words[1], NumberOf<std::uint32_t>(words[2], 1, 1000000),
                                   NumberOf<std::int32_t>(words[3], -100000, 0x7FFFFFFF)});
    return "ok";
}

std::string Run(NetWareState& state, const std::vector<std::string>& words) {
    const std::string& verb = words[0];
    if (verb == "server") {
        Expect(words, 2, 3, "server NAME [TREE]");
        if (state.Server(words[1]) != nullptr) {
            throw Refusal{"server \"" + words[1] + "\" exists already"};
        }
        auto server = std::make_unique<BinderyServer>();
        server->name = words[1];
        server->tree = words.size() > 2 ? words[2] : "";
        state.servers.push_back(std::move(server));
    } else if (verb == "user") {
        Expect(words, 4, 5, "user SERVER NAME PASSWORD [supervisor|ordinary]");
        RightsOf(words, 4);
        NwObject* user = BinderyObjects(state, words[1]).Add(words[2], NwKind::User);
        Made(user, words[2]);
        SetUser(*user, words, 3);
    } else if (verb == "queue" || verb == "print-server" || verb == "volume") {
        Expect(words, 3, 3, "queue|print-server|volume SERVER NAME");
        NwKind kind = NwKind::Volume;
        KindOfName(verb, kind);  // each verb is its kind's name
        Made(BinderyObjects(state, words[1]).Add(words[2], kind), words[2]);
    } else if (verb == "printer") {
        Expect(words, 4, 4, "printer SERVER PRINT-SERVER NAME");
        NwObject& printServer = Known(BinderyObjects(state, words[1]).Child(words[2], NwKind::PrintServer),
                                      "print server", words[2]);
        Made(printServer.Add(words[3], NwKind::Printer), words[3]);
    } else if (verb == "tree") {
        Expect(words, 2, 2, "tree NAME");
        if (state.Tree(words[1]) != nullptr) {
            throw Refusal{"tree \"" + words[1] + "\" exists already"};
        }
        auto tree = std::make_unique<DirectoryTree>();
        tree->name = UpperCase(words[1]);
        state.trees.push_back(std::move(tree));
    } else if (verb == "object") {
        Expect(words, 4, 6, "object TREE KIND NAME.CONTEXT [PASSWORD [supervisor|ordinary]]");
        AddTreeObject(state, words);
    } else if (verb == "context") {
        Expect(words, 3, 3, "context TREE CONTEXT");
        DirectoryTree& tree = Known(state.Tree(words[1]), "tree", words[1]);
        Known(ResolveDistinguished(tree, words[2]), "container", words[2]);
        tree.currentContext = words[2];
    } else if (verb == "pass") {
        Expect(words, 2, 2, "pass ENTRIES");
        state.entriesPerPass = NumberOf<std::size_t>(words[1], 1, 1000);
    } else if (verb == "fault") {
        return Fault(state, words);
    } else if (verb == "log") {
        return Log(state, words);
    } else if (verb == "show") {
        Expect(words, 2, 2, "show SERVER|TREE");
        return Show(state, words[1]);
    } else {
        throw Refusal{"unknown NetWare command \"" + verb + "\""};
    }
    return "ok";
}

}  // namespace

std::string RunNetWareControl(NetWareState& state, const std::vector<std::string>& words) {
    if (words.empty()) {
        return "error empty command";
    }
    try {
        return Run(state, words);
    } catch (const Refusal& refusal) {
        return "error " + refusal.reason;
    }
}

std::string RunNetWareControl(NetWareState& state, std::string_view line) {
    std::vector<std::string> words;
    if (!SplitWords(line, words)) {
        return "error unclosed quote";
    }
    return RunNetWareControl(state, words);
}

}  // namespace sim
