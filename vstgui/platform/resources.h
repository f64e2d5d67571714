// Embedded resources by type and integer id. The module's own resources (the Windows resource section)
// are asked first; tables registered at load time (the generated skin table on other systems, or PNGs a
// test makes) come next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace VSTGUI::platform {

struct ResourceEntry {
    const char* type;
    int32_t id;
    const uint8_t* data;
    size_t size;
};

// A table of entries, chained by registerResourceTable; the link must outlive its registration.
struct ResourceTable {
    const ResourceEntry* entries;
    size_t count;
    ResourceTable* next;
};

bool registerResourceTable(ResourceTable* table);
void unregisterResourceTable(ResourceTable* table);

// Backend-specific lookup in the module itself (Windows resources); false where there are none.
bool findModuleResource(const char* type, int32_t id, const uint8_t*& data, size_t& size);

bool findResource(const char* type, int32_t id, const uint8_t*& data, size_t& size);

class Image;
// A plain (non-PNG) bitmap resource of the module itself (Windows BITMAP resources); null where there is
// none. Any thread.
std::unique_ptr<Image> loadModuleBitmap(int32_t id);

} // namespace VSTGUI::platform
