#pragma once
// Outcome of an operation on files or external data: success, or failure with a reason
// that the caller may show or print. Loaders never throw past their boundary.

#include <string>
#include <utility>

struct Result {
    bool ok = true;
    std::string message;

    static Result Ok() { return {}; }
    static Result Fail(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};
