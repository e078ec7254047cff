#pragma once
// Reading the JSON forms of songs and sounds: values checked against their ranges, and the
// keys of an object checked off as they are read, so that a key nobody asked for — usually
// a typing mistake — is refused instead of silently ignored. A refusal is thrown as a
// JSON_ERROR whose message names the key by its path ("tracks[0].envelope.attack").

#include <nlohmann/json.hpp>

#include <cstdint>
#include <set>
#include <string>

using Json = nlohmann::ordered_json;

struct JSON_ERROR {
    std::string message;
};

namespace jsonread {

[[noreturn]] void Refuse(const std::string& path, const std::string& what);
// "(lo..hi)"
std::string Range(int64_t lo, int64_t hi);
// "path[i]"
std::string Index(const std::string& path, size_t i);

int32_t IntValue(const Json& v, const std::string& path, int64_t lo, int64_t hi);
double DoubleValue(const Json& v, const std::string& path, double lo, double hi);
// `v` itself, refused unless it is an array.
const Json& ArrayAt(const Json* v, const std::string& path);

} // namespace jsonread

// The keys of one JSON object, at `path` (empty for the top level).
class CJsonFields {
public:
    CJsonFields(const Json& object, std::string path);

    // The value of a key, or null; either way the key counts as read.
    const Json* Get(const char* key);
    std::string PathOf(const std::string& key) const;

    void Int(const char* key, int32_t& target, int64_t lo, int64_t hi);
    void Color(const char* key, uint32_t& target);
    void Text(const char* key, std::string& target);
    // Refuses keys that were never asked for.
    void Finish() const;

private:
    const Json& object;
    std::string path;
    std::set<std::string> used;
};
