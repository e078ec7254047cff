#include "presets/CJsonFields.h"

#include <cmath>
#include <limits>

namespace jsonread {

void Refuse(const std::string& path, const std::string& what) {
    throw JSON_ERROR{path + ": " + what};
}

std::string Range(int64_t lo, int64_t hi) {
    return "(" + std::to_string(lo) + ".." + std::to_string(hi) + ")";
}

std::string Index(const std::string& path, size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

int32_t IntValue(const Json& v, const std::string& path, int64_t lo, int64_t hi) {
    constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
    if (!v.is_number_integer())
        Refuse(path, "must be an integer");
    const int64_t n = v.is_number_unsigned() && v.get<uint64_t>() > uint64_t(kIntMax)
                          ? int64_t{kIntMax} + 1
                          : v.get<int64_t>();
    if (n < lo || n > hi)
        Refuse(path, std::to_string(n) + " is out of range " + Range(lo, hi));
    return static_cast<int32_t>(n);
}

double DoubleValue(const Json& v, const std::string& path, double lo, double hi) {
    if (!v.is_number())
        Refuse(path, "must be a number");
    const double d = v.get<double>();
    if (!std::isfinite(d) || d < lo || d > hi)
        Refuse(path, "out of range (" + std::to_string(lo) + ".." + std::to_string(hi) + ")");
    return d;
}

const Json& ArrayAt(const Json* v, const std::string& path) {
    if (!v->is_array())
        Refuse(path, "must be an array");
    return *v;
}

} // namespace jsonread

CJsonFields::CJsonFields(const Json& object, std::string path)
    : object(object), path(std::move(path)) {
    if (!object.is_object())
        jsonread::Refuse(this->path.empty() ? "top level" : this->path, "must be an object");
}

const Json* CJsonFields::Get(const char* key) {
    used.insert(key);
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

std::string CJsonFields::PathOf(const std::string& key) const {
    return path.empty() ? key : path + "." + key;
}

void CJsonFields::Int(const char* key, int32_t& target, int64_t lo, int64_t hi) {
    if (const Json* v = Get(key))
        target = jsonread::IntValue(*v, PathOf(key), lo, hi);
}

void CJsonFields::Color(const char* key, uint32_t& target) {
    if (const Json* v = Get(key))
        target = static_cast<uint32_t>(jsonread::IntValue(*v, PathOf(key), 0, 0xFFFFFF));
}

void CJsonFields::Text(const char* key, std::string& target) {
    if (const Json* v = Get(key)) {
        if (!v->is_string())
            jsonread::Refuse(PathOf(key), "must be a string");
        target = v->get<std::string>();
    }
}

void CJsonFields::Finish() const {
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!used.count(it.key()))
            jsonread::Refuse(PathOf(it.key()), "unknown key");
}
