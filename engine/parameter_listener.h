// Implemented by an editor that mirrors parameter values in its controls; the effect tells it of every
// stored change, whatever its source (host, automation, chunk, the editor itself).
#pragma once

#include <cstdint>

namespace vr58 {
class ParameterListener {
public:
    // Any thread that stores a value: the audio thread when a host automates, control threads for chunks,
    // the editor's thread for its own edits. Must not allocate, lock or touch a view.
    virtual void setParameter(int32_t index, float value) = 0;

protected:
    ~ParameterListener() = default;
};
} // namespace vr58
