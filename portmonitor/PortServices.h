#pragma once

#include <optional>
#include <string>

#include "portmonitor/PortSetup.h"
#include "portmonitor/ServerRecord.h"

// What the port dialogs ask of the monitor whose ports they change. The port list lives in the
// monitor library; the dialogs live in a module of their own (libdalvordialogs.so), which the
// library loads only when a dialog is asked for, so that a host without a screen (the backend
// cupsd starts for each job) never loads the widgets. None of these lets an exception out.
struct PortServices {
    std::optional<std::string> (*proposePortName)(const std::string& serverName);
    bool (*portExists)(const std::string& name);
    PortSetupResult (*setUpPort)(const ServerRecord& record, const std::string& portName, bool configure);
    bool (*deletePort)(const std::string& name);  // as the monitor's DeletePort
    // The adapter name of the print server the port prints to; nothing for no such port.
    std::optional<std::string> (*portAdapter)(const std::string& name);
};

// This library's own.
const PortServices& MonitorPortServices();
