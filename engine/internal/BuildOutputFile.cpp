#include "engine/internal/BuildOutputFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

BuildOutputFile::~BuildOutputFile() {
    if (file != nullptr)
        std::fclose(file);
}

Result BuildOutputFile::Open(const std::string& target) {
    path = target;
    error.clear();
    std::error_code ec;
    const bool exists = fs::exists(target, ec) || fs::is_symlink(target, ec);
    // "r+" keeps what an earlier build wrote; only a missing file is created.
    file = std::fopen(target.c_str(), exists ? "r+b" : "w+b");
    if (file == nullptr)
        return Result::Fail("cannot open " + target + " for writing: " + std::strerror(errno));
    if (fs::is_directory(target, ec)) {
        std::fclose(file);
        file = nullptr;
        return Result::Fail("cannot open " + target + " for writing: it is a folder");
    }
    return Result::Ok();
}

bool BuildOutputFile::Fail(const char* what) {
    if (error.empty())
        error = std::string("cannot ") + what + " " + path + ": " + std::strerror(errno);
    return false;
}

bool BuildOutputFile::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (file == nullptr || offset > uint64_t(LONG_MAX))
        return Fail("seek in");
    if (std::fseek(file, long(offset), SEEK_SET) != 0)
        return Fail("seek in");
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        return Fail("write to");
    return true;
}

bool BuildOutputFile::FillAt(uint64_t offset, uint8_t value, uint64_t count, uint64_t piece) {
    if (count == 0)
        return true;
    piece = std::clamp<uint64_t>(piece, 1, count);
    std::vector<uint8_t> block;
    try {
        block.assign(size_t(piece), value);
    } catch (const std::bad_alloc&) {
        // Without a buffer the silence is skipped; the region keeps its earlier bytes.
        return true;
    }
    for (uint64_t done = 0; done < count; done += piece) {
        const uint64_t n = std::min(piece, count - done);
        if (!WriteAt(offset + done, std::span(block.data(), size_t(n))))
            return false;
    }
    return true;
}

bool BuildOutputFile::Flush() {
    return (file != nullptr && std::fflush(file) == 0) || Fail("write to");
}

bool BuildOutputFile::SetLength(uint64_t size) {
    if (file == nullptr || std::fflush(file) != 0)
        return Fail("write to");
    std::error_code ec;
    fs::resize_file(path, size, ec);
    if (ec) {
        if (error.empty())
            error = "cannot set the length of " + path + ": " + ec.message();
        return false;
    }
    return true;
}

Result BuildOutputFile::Close() {
    if (file == nullptr)
        return error.empty() ? Result::Ok() : Result::Fail(error);
    const bool flushed = std::fflush(file) == 0;
    if (!flushed)
        Fail("write to");
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (!closed && error.empty())
        error = "cannot close " + path + ": " + std::strerror(errno);
    return error.empty() ? Result::Ok() : Result::Fail(error);
}

bool ReadHead(const std::string& path, std::size_t count, std::vector<uint8_t>& head,
              uint64_t& size) {
    head.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    head.resize(count);
    head.resize(std::fread(head.data(), 1, count, f));
    std::fclose(f);
    std::error_code ec;
    size = fs::file_size(path, ec);
    if (ec)
        size = head.size();
    return true;
}
