// Root of every toolkit object. Whoever creates an object holds its first reference. The count is atomic:
// the skin bitmaps are shared by every editor of the process, and hosts may run editors of several
// instances on different threads, each retaining and releasing them.
#pragma once

#include <atomic>
#include <cstdint>

namespace VSTGUI {

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;
    virtual ~CReferenceCounter() = default;

    // Destroys the object when this was the last reference (count 1 before the call). Acquire-release, so
    // the thread that deletes sees every write made before the other threads let go.
    virtual void release() {
        if (referenceCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    virtual void retain() { referenceCount.fetch_add(1, std::memory_order_relaxed); }

    int32_t getNbReference() const { return referenceCount.load(std::memory_order_relaxed); }

private:
    std::atomic<int32_t> referenceCount{1};
};

} // namespace VSTGUI
