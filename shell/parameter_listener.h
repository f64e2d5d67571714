// Implemented by an editor that mirrors parameter values in its controls; the effect tells it of every
// stored change, whatever its source (host, automation, chunk, the editor itself).
#pragma once

#include <cstdint>

namespace vr58 {
class ParameterListener {
public:
    virtual void setParameter(int32_t index, float value) = 0;

protected:
    ~ParameterListener() = default;
};
} // namespace vr58
