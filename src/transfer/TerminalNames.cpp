// Terminal names from device names.
#include "transfer/TerminalNames.h"

namespace k52 {

std::string TerminalName(const std::string& device) {
    std::string name = device;
    while (!name.empty() && name.back() == '/') name.pop_back();
    name = name.substr(name.find_last_of('/') + 1);
    return name.empty() || name == "." || name == ".." ? std::string("terminal") : name;
}

std::string RecordFileName(const std::string& device) {
    return TerminalName(device) + ".TXT";
}

}  // namespace k52
