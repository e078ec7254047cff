#pragma once
// Raised by the archive reader when data ends early or holds something impossible.
// Caught at the boundary of every load, import and paste.

#include <stdexcept>
#include <string>

class ArchiveError : public std::runtime_error {
public:
    explicit ArchiveError(const std::string& what) : std::runtime_error(what) {}
};
