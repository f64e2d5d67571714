// The description "vr58 info" prints: the effect record, identity, and the parameter table.
#pragma once

#include "host/hosted_plugin.h"

#include <ostream>
#include <string>

namespace vr58::tool {

// The four characters of a VST identifier ('VstP', 'VR58'); bytes that are not printable show as '.'.
std::string fourCharacters(int32_t id);

void printPluginInfo(std::ostream& out, host::HostedPlugin& plugin);

} // namespace vr58::tool
