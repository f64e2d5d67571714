#include "vstgui/platform/resources.h"

#include <cstring>

namespace VSTGUI::platform {

namespace {
// Constant-initialised, so registrations from static initialisers of any translation unit are safe.
ResourceTable* firstTable = nullptr;
} // namespace

bool registerResourceTable(ResourceTable* table) {
    if (!table) return false;
    table->next = firstTable;
    firstTable = table;
    return true;
}

void unregisterResourceTable(ResourceTable* table) {
    for (ResourceTable** link = &firstTable; *link; link = &(*link)->next) {
        if (*link == table) {
            *link = table->next;
            return;
        }
    }
}

bool findResource(const char* type, int32_t id, const uint8_t*& data, size_t& size) {
    if (findModuleResource(type, id, data, size)) return true;
    for (const ResourceTable* t = firstTable; t; t = t->next) {
        for (size_t i = 0; i < t->count; ++i) {
            const ResourceEntry& e = t->entries[i];
            if (e.id == id && std::strcmp(e.type, type) == 0) {
                data = e.data;
                size = e.size;
                return true;
            }
        }
    }
    return false;
}

} // namespace VSTGUI::platform
