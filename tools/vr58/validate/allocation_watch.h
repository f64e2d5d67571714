// Counts the heap calls (allocations and frees) a plug-in makes on the calling thread between begin and
// end, so a process call that allocates is caught. One implementation per platform; sanitizer builds,
// which own the allocator themselves, have none.
#pragma once

#include "host/hosted_plugin.h"

namespace vr58::validate::allocations {

bool available();
// Makes the plug-in's heap calls visible to the watch (on Windows its imports are rerouted).
void attach(host::HostedPlugin& plugin);
void begin();
long end();

} // namespace vr58::validate::allocations
