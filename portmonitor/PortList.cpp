#include "portmonitor/PortList.h"

#include <algorithm>
#include <list>

#include "platform/text/CaseInsensitive.h"
#include "portmonitor/PortStore.h"

namespace {

struct Ports {
    std::mutex lock;
    std::list<PortNode> nodes;
};

Ports& List() {
    static Ports ports;
    return ports;
}

}  // namespace

void LoadPorts(const MonitorSettings& settings) {
    for (auto& [name, record] : ReadPortEntries()) {
        PushPort(std::make_unique<CNPC>(record, name, settings));
    }
}

void SyncPorts(const MonitorSettings& settings) {
    const std::vector<std::pair<std::string, ServerRecord>> entries = ReadPortEntries();
    const auto inMap = [&](const std::string& name) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const auto& entry) { return plat::EqualsNoCase(entry.first, name); });
    };
    Ports& ports = List();
    std::lock_guard guard(ports.lock);
    ports.nodes.remove_if([&](const PortNode& node) {
        return node.port->State() == PM32_PORT_CLOSED && !inMap(node.port->GetPortName());
    });
    for (const auto& entry : entries) {
        const bool listed = std::any_of(ports.nodes.begin(), ports.nodes.end(), [&](const PortNode& node) {
            return plat::EqualsNoCase(node.port->GetPortName(), entry.first);
        });
        if (!listed) {
            ports.nodes.push_front(PortNode{std::make_unique<CNPC>(entry.second, entry.first, settings)});
        }
    }
}

PortNode* FindPort(const std::string& name) {
    Ports& ports = List();
    std::lock_guard guard(ports.lock);
    for (PortNode& node : ports.nodes) {
        if (plat::EqualsNoCase(node.port->GetPortName(), name)) {
            return &node;
        }
    }
    return nullptr;
}

bool IsValidPortHandle(const void* handle) {
    Ports& ports = List();
    std::lock_guard guard(ports.lock);
    for (const PortNode& node : ports.nodes) {
        if (&node == handle) {
            return true;
        }
    }
    return false;
}

void PushPort(std::unique_ptr<CNPC> port) {
    Ports& ports = List();
    std::lock_guard guard(ports.lock);
    ports.nodes.push_front(PortNode{std::move(port)});
}

bool ReplaceClosedPort(const std::string& name, std::unique_ptr<CNPC>& connection) {
    Ports& ports = List();
    std::lock_guard guard(ports.lock);
    for (PortNode& node : ports.nodes) {
        if (plat::EqualsNoCase(node.port->GetPortName(), name)) {
            if (node.port->State() != PM32_PORT_CLOSED) {
                return false;
            }
            node.port.swap(connection);
            return true;
        }
    }
    return false;
}

bool RemovePort(const std::string& name) {
    Ports& ports = List();
    std::lock_guard guard(ports.lock);
    for (auto node = ports.nodes.begin(); node != ports.nodes.end(); ++node) {
        if (plat::EqualsNoCase(node->port->GetPortName(), name)) {
            ports.nodes.erase(node);
            return true;
        }
    }
    return false;
}

std::vector<std::string> PortNames() {
    Ports& ports = List();
    std::lock_guard guard(ports.lock);
    std::vector<std::string> names;
    for (const PortNode& node : ports.nodes) {
        names.push_back(node.port->GetPortName());
    }
    return names;
}
