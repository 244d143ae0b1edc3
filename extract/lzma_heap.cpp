#include "extract/lzma_heap.h"

#include <cstdlib>

namespace {

void* HeapAllocate(ISzAllocPtr, size_t size) { return std::malloc(size); }
void HeapFree(ISzAllocPtr, void* address) { std::free(address); }

}  // namespace

const ISzAlloc kLzmaHeap = {HeapAllocate, HeapFree};
