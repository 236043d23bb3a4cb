#include "support/allocation_meter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in a header, so that delete knows what it gives back.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::atomic<bool> gMeasuring{false};
std::atomic<long long> gCurrent{0};
std::atomic<long long> gPeak{0};

void* Allocate(std::size_t size) {
  char* block = static_cast<char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  if (gMeasuring.load(std::memory_order_relaxed)) {
    const long long now =
        gCurrent.fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
    long long peak = gPeak.load();
    while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
    }
  }
  return block + kHeader;
}

void Release(void* pointer) noexcept {
  if (!pointer) return;
  char* block = static_cast<char*>(pointer) - kHeader;
  if (gMeasuring.load(std::memory_order_relaxed)) {
    gCurrent.fetch_sub(static_cast<long long>(*reinterpret_cast<std::size_t*>(block)));
  }
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return operator new(size, std::nothrow);
}
void operator delete(void* pointer) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
  Release(pointer);
}

namespace zr3test {

AllocationMeter::AllocationMeter() {
  gCurrent = 0;
  gPeak = 0;
  gMeasuring = true;
}

AllocationMeter::~AllocationMeter() {
  gMeasuring = false;
}

std::size_t AllocationMeter::PeakBytes() const {
  return static_cast<std::size_t>(gPeak.load());
}

}  // namespace zr3test
