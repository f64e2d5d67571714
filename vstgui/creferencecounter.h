// Root of every toolkit object: a plain count touched only on the GUI thread. Whoever creates an object
// holds its first reference.
#pragma once

#include <cstdint>

namespace VSTGUI {

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;
    virtual ~CReferenceCounter() = default;

    // Destroys the object when this was the last reference (count 1 before the call).
    virtual void release() {
        if (referenceCount-- == 1) delete this;
    }
    virtual void retain() { ++referenceCount; }

    int32_t getNbReference() const { return referenceCount; }

private:
    int32_t referenceCount = 1;
};

} // namespace VSTGUI
