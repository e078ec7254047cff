#include "presets/JsonText.h"

namespace {

bool IsScalarArray(const Json& v) {
    for (const Json& e : v)
        if (e.is_structured())
            return false;
    return true;
}

void Print(std::string& out, const Json& v, int indent) {
    const std::string pad(static_cast<size_t>(indent) + 2, ' ');
    if (v.is_object() && !v.empty()) {
        out += "{\n";
        size_t i = 0;
        for (auto it = v.begin(); it != v.end(); ++it, ++i) {
            out += pad + Json(it.key()).dump() + ": ";
            Print(out, it.value(), indent + 2);
            out += i + 1 < v.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + "}";
    } else if (v.is_array() && !v.empty() && !IsScalarArray(v)) {
        out += "[\n";
        for (size_t i = 0; i < v.size(); ++i) {
            out += pad;
            Print(out, v[i], indent + 2);
            out += i + 1 < v.size() ? ",\n" : "\n";
        }
        out += std::string(static_cast<size_t>(indent), ' ') + "]";
    } else {
        std::string line = v.dump(-1, ' ', false, Json::error_handler_t::replace);
        for (size_t pos = 0; (pos = line.find(',', pos)) != std::string::npos; pos += 2)
            if (v.is_array())
                line.insert(pos + 1, " ");
        out += line;
    }
}

} // namespace

std::string JsonText(const Json& root) {
    std::string out;
    Print(out, root, 0);
    return out + "\n";
}
