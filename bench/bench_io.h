#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zr3bench {

// The floors: the plainest way to move the same number of bytes between a file and memory.

// Reads the whole file into buffer; returns the number of bytes read. The caller sizes and
// fills the buffer once, outside the timing, so that the floor is the copy of the bytes alone
// at every size: a buffer allocated anew comes from fresh pages above 32 MB (which the
// allocator maps anew each time) and from reused memory below.
std::size_t ReadFileFloor(const std::string& path, std::vector<char>& buffer);
// A buffer for ReadFileFloor of path, its pages already in memory.
std::vector<char> FloorBuffer(const std::string& path);
// Writes count bytes of data to path (created or truncated), with fsync when durable.
void WriteFileFloor(const std::string& path, const char* data, std::size_t count, bool durable);

// The file's size, without reading it.
std::size_t FileSize(const std::string& path);

// Peak resident memory of this process so far, in bytes.
std::size_t PeakRssBytes();

}  // namespace zr3bench
