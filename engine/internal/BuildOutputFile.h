#pragma once
// The WAV file a build writes into: opened without truncation, written at absolute
// offsets, then cut to its final length. Not thread-safe; the build serialises all calls.

#include "model/Result.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

class BuildOutputFile {
public:
    BuildOutputFile() = default;
    ~BuildOutputFile();
    BuildOutputFile(const BuildOutputFile&) = delete;
    BuildOutputFile& operator=(const BuildOutputFile&) = delete;

    // Opens an existing file for reading and writing, keeping its contents, or creates it.
    Result Open(const std::string& path);
    bool WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
    // Writes `count` copies of `value` from `offset`, in pieces of at most `piece` bytes.
    bool FillAt(uint64_t offset, uint8_t value, uint64_t count, uint64_t piece);
    // Hands what was written to the system, so another reader of the file sees it.
    bool Flush();
    // Cuts or extends (with zero bytes) the file to `size` bytes.
    bool SetLength(uint64_t size);
    Result Close();
    // The first error met by a write, for the build's message.
    const std::string& Error() const { return error; }

private:
    bool Fail(const char* what);

    std::FILE* file = nullptr;
    std::string path;
    std::string error;
};

// Reads up to `count` bytes from the start of a file and its size; false when it cannot
// be opened for reading.
bool ReadHead(const std::string& path, std::size_t count, std::vector<uint8_t>& head,
              uint64_t& size);
