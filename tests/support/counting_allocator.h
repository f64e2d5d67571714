// A program that links counting_allocator.cpp replaces the global allocator with one that counts: tests of
// the audio thread compare the count before and after the calls that must not allocate.
#pragma once

namespace vr58::testing {
long heapAllocations();
}
