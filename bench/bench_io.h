#pragma once

#include <cstddef>
#include <string>

namespace zr3bench {

// The floors: the plainest way to move the same number of bytes between a file and memory.

// Reads the whole file into a fresh buffer; returns the number of bytes read.
std::size_t ReadFileFloor(const std::string& path);
// Writes count bytes of data to path (created or truncated), with fsync when durable.
void WriteFileFloor(const std::string& path, const char* data, std::size_t count, bool durable);

// The file's size, without reading it.
std::size_t FileSize(const std::string& path);

// Peak resident memory of this process so far, in bytes.
std::size_t PeakRssBytes();

}  // namespace zr3bench
