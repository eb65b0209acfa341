// The bytes a test binary holds on the heap right now, counted by its own
// operator new and delete (live_heap.cpp, linked into the binaries that
// measure memory). A difference of two readings is what the code between
// them kept.
#pragma once

#include <cstddef>

namespace ws::testing {

std::size_t liveHeapBytes();

}  // namespace ws::testing
