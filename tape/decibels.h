// Decibels to linear factors through exp: exp(dB * ln(10)/20) is the amplitude gain 10^(dB/20), and
// exp(dB * ln(10)/40) its square root 10^(dB/40), the amplitude of the peaking section's design.
#pragma once

namespace vr58 {

constexpr double kDbToGain = 0.11512925464970228;     // ln(10)/20
constexpr double kDbToHalfGain = 0.05756462732485114; // ln(10)/40

} // namespace vr58
