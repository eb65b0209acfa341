// Replaces the global operator new and delete of the binary it is linked
// into, to count the bytes allocated and not yet freed. Each block carries
// its size in a header in front of it; every form of delete is replaced
// too, so that no block reaches a delete that does not know the header.
#include "support/live_heap.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace ws::testing {

namespace {

std::atomic<std::size_t> liveBytes{0};

// Keeps the block's alignment that of max_align_t.
constexpr std::size_t kHeaderSize = alignof(std::max_align_t);

void* allocate(std::size_t size) noexcept {
  void* block = std::malloc(size + kHeaderSize);
  if (block == nullptr) return nullptr;
  *static_cast<std::size_t*>(block) = size;
  liveBytes += size;
  return static_cast<char*>(block) + kHeaderSize;
}

void release(void* pointer) noexcept {
  if (pointer == nullptr) return;
  void* block = static_cast<char*>(pointer) - kHeaderSize;
  liveBytes -= *static_cast<std::size_t*>(block);
  std::free(block);
}

void* allocateOrThrow(std::size_t size) {
  void* pointer = allocate(size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

}  // namespace

std::size_t liveHeapBytes() {
  return liveBytes.load();
}

}  // namespace ws::testing

void* operator new(std::size_t size) {
  return ws::testing::allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
  return ws::testing::allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return ws::testing::allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return ws::testing::allocate(size);
}
void operator delete(void* pointer) noexcept {
  ws::testing::release(pointer);
}
void operator delete[](void* pointer) noexcept {
  ws::testing::release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
  ws::testing::release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  ws::testing::release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
  ws::testing::release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
  ws::testing::release(pointer);
}
