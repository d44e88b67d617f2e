// ports: the host's serial ports and which device each of COM1..COM6 stands for; assign and unassign.
#include <algorithm>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "i18n/Translate.h"
#include "ports/PortDiscovery.h"
#include "ports/PortPatterns.h"
#include "ports/PortResolver.h"

namespace k52::cli {
namespace {

void PrintWarnings(const std::vector<std::string>& warnings, std::ostream& err) {
    for (const std::string& w : warnings)
        err << "k52cli: " << Localize("warning: %1", {LocalizeFinished(w)}) << "\n";
}

nlohmann::ordered_json OrNull(const std::optional<std::string>& s) {
    return s ? nlohmann::ordered_json(*s) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json UsbId(const std::optional<int>& id) {
    return id ? nlohmann::ordered_json(UsbIdText(*id)) : nlohmann::ordered_json(nullptr);
}

void PrintText(const std::vector<DiscoveredPort>& ports, const std::vector<ComPortResolution>& com,
               std::ostream& out) {
    out << Localize("Serial ports:") << "\n";
    if (ports.empty()) out << "  " << Localize("(none found)") << "\n";
    for (const DiscoveredPort& p : ports) {
        out << "  " << p.device << "  " << p.description << "  (" << Localize(TransportLabel(p.transport));
        if (p.vid && p.pid) out << " " << UsbIdText(*p.vid) << ":" << UsbIdText(*p.pid);
        if (p.serial) out << Localize(", serial %1", {*p.serial});
        out << ")\n";
        if (p.byId) out << "    " << *p.byId << "\n";
    }
    std::size_t width = 0;
    for (const ComPortResolution& r : com) width = std::max(width, TextWidth(r.device));
    std::size_t stateWidth = 0;
    for (const ComPortResolution& r : com)
        stateWidth = std::max(stateWidth, TextWidth(Localize(r.present ? "present" : "not connected")));
    out << "\n" << Localize("Template ports:") << "\n";
    for (std::size_t i = 0; i < com.size(); ++i) {
        std::string line = "  " + ComPortName(static_cast<int>(i)) + "  " + Padded(com[i].device, width) +
                           "  " + Padded(Localize(AssignmentSourceName(com[i].source)), 11) + "  " +
                           Padded(Localize(com[i].present ? "present" : "not connected"), stateWidth);
        // Where the assignment came from, so that a desk sees which file to change.
        if (!com[i].origin.empty()) line += "  " + com[i].origin;
        if (!com[i].pattern.empty()) line += "  " + Localize("(by %1)", {com[i].pattern});
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << "\n";
    }
}

}  // namespace

int PortsList(PortScanner& scanner, bool json, std::ostream& out, std::ostream& err) {
    std::vector<std::string> warnings;
    const std::string path = DefaultPortsConfPath();
    const ConfiguredPorts configured =
        LayerPortAssignments(ReadPortsConf(path, &warnings).assignments(), path, &warnings);
    PrintWarnings(warnings, err);
    const std::vector<DiscoveredPort> ports = scanner.Scan();
    std::vector<ComPortResolution> com;
    for (int i = 0; i < kComPortCount; ++i) com.push_back(ResolveComPort(i, configured, scanner));
    if (!json) {
        PrintText(ports, com, out);
        return kExitOk;
    }
    nlohmann::ordered_json doc;
    doc["ports"] = nlohmann::ordered_json::array();
    for (const DiscoveredPort& p : ports) {
        doc["ports"].push_back({{"device", p.device},
                                {"byId", OrNull(p.byId)},
                                {"description", p.description},
                                {"transport", TransportKey(p.transport)},
                                {"vid", UsbId(p.vid)},
                                {"pid", UsbId(p.pid)},
                                {"serial", OrNull(p.serial)}});
    }
    doc["com"] = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < com.size(); ++i) {
        doc["com"].push_back({{"name", ComPortName(static_cast<int>(i))},
                              {"device", com[i].device},
                              {"source", AssignmentSourceName(com[i].source)},
                              {"present", com[i].present},
                              {"origin", com[i].origin.empty() ? nlohmann::ordered_json(nullptr)
                                                               : nlohmann::ordered_json(com[i].origin)},
                              {"pattern", com[i].pattern.empty() ? nlohmann::ordered_json(nullptr)
                                                                 : nlohmann::ordered_json(com[i].pattern)}});
    }
    out << doc.dump(2) << "\n";
    return kExitOk;
}

int PortsAssign(int comPort, const std::string& device, std::ostream& out, std::ostream& err) {
    if (comPort < 0 || comPort >= kComPortCount) return kExitUsage;
    if (!StorableDevicePath(device)) {
        err << "k52cli: " << Localize("DEVICE must be an absolute path such as /dev/ttyUSB0") << "\n";
        return kExitUsage;
    }
    const std::string stored = StableDevicePath(device);
    std::vector<std::string> warnings;
    std::string error;
    const std::optional<PortsConf> conf = EditPortsConf(
        DefaultPortsConfPath(),
        [&](PortsConf& c) {
            c.Assign(comPort, stored);
            return true;
        },
        &warnings, &error);
    PrintWarnings(warnings, err);
    if (!conf) {
        err << "k52cli: " << Localize("cannot store the assignment: %1", {error}) << "\n";
        return kExitFile;
    }
    const std::string com = ComPortName(comPort);
    out << com << " = " << stored;
    if (stored != device) out << Localize(" (the stable name of %1)", {device});
    out << "\n";
    if (const std::optional<DevicePattern> pattern = ParseDevicePattern(stored)) {
        SystemPortScanner host;
        if (!FirstMatch(*pattern, host.Scan()))
            out << Localize("%1 matches no adapter at the moment", {stored}) << "\n";
    } else if (!DevicePresent(stored)) {
        out << Localize("%1 is not connected at the moment", {stored}) << "\n";
    }
    if (ResolveComPort(comPort, conf->assignments()).source == AssignmentSource::Environment)
        err << "k52cli: "
            << Localize("note: %1 in the environment overrides this assignment", {ComPortVariable(comPort)})
            << "\n";
    return kExitOk;
}

int PortsUnassign(int comPort, std::ostream& out, std::ostream& err) {
    if (comPort < 0 || comPort >= kComPortCount) return kExitUsage;
    std::vector<std::string> warnings;
    std::string error;
    const std::optional<PortsConf> conf = EditPortsConf(
        DefaultPortsConfPath(),
        [&](PortsConf& c) {
            if (!c.assignments()[static_cast<std::size_t>(comPort)]) return false;
            c.Unassign(comPort);
            return true;
        },
        &warnings, &error);
    PrintWarnings(warnings, err);
    if (!conf) {
        err << "k52cli: " << Localize("cannot remove the assignment: %1", {error}) << "\n";
        return kExitFile;
    }
    const ComPortResolution now = ResolveComPort(comPort, conf->assignments());
    out << ComPortName(comPort) << " = " << now.device << " (" << Localize(AssignmentSourceName(now.source))
        << ")\n";
    return kExitOk;
}

void RegisterPortsCommand(CLI::App& app, CommandList& commands) {
    struct PortsOptions {
        bool json = false;
        std::string assignPort, assignDevice, unassignPort;
    };
    auto o = std::make_shared<PortsOptions>();
    CLI::App* sub =
        app.add_subcommand("ports", Localize("list serial ports and which device COM1..COM6 stand for"));
    sub->add_flag("--json", o->json, Localize("the ports and the COM table as JSON"));
    CLI::App* assign =
        sub->add_subcommand("assign", Localize("make COMn stand for DEVICE (kept in ports.conf)"));
    assign->add_option("COMn", o->assignPort, "COM1..COM6")->required();
    assign->add_option("DEVICE", o->assignDevice, Localize("the device, plugged in or not"))
        ->required()
        ->check(kPath);
    CLI::App* unassign =
        sub->add_subcommand("unassign", Localize("let COMn stand for its default device again"));
    unassign->add_option("COMn", o->unassignPort, "COM1..COM6")->required();
    sub->require_subcommand(0, 1);
    commands.push_back(
        {sub,
         [o, assign, unassign] {
             const std::string& port = assign->parsed() ? o->assignPort : o->unassignPort;
             if ((assign->parsed() || unassign->parsed()) && !ParseComPortName(port))
                 return Localize("COMn is COM1 to COM6");
             return std::string();
         },
         [o, assign, unassign] {
             if (assign->parsed())
                 return PortsAssign(*ParseComPortName(o->assignPort), o->assignDevice, std::cout, std::cerr);
             if (unassign->parsed())
                 return PortsUnassign(*ParseComPortName(o->unassignPort), std::cout, std::cerr);
             SystemPortScanner scanner;
             return PortsList(scanner, o->json, std::cout, std::cerr);
         }});
}

}  // namespace k52::cli
