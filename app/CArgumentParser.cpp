#include "app/CArgumentParser.h"

#include <algorithm>
#include <charconv>

namespace {

bool SameLetters(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

CArgumentParser::CArgumentParser(Style style, std::string command)
    : m_style(style), m_command(std::move(command)) {
}

CArgumentParser& CArgumentParser::Flag(std::string name, bool& target) {
    m_options.push_back({std::move(name), &target, {}});
    return *this;
}

CArgumentParser& CArgumentParser::Value(std::string name, TakeValue take) {
    m_options.push_back({std::move(name), nullptr, std::move(take)});
    return *this;
}

CArgumentParser& CArgumentParser::Files(size_t least, size_t most, std::string tooFew,
                                        std::string tooMany) {
    m_leastFiles = least;
    m_mostFiles = most;
    m_tooFew = std::move(tooFew);
    m_tooMany = std::move(tooMany);
    return *this;
}

const CArgumentParser::OPTION* CArgumentParser::Find(const std::string& word) const {
    for (const OPTION& option : m_options) {
        const bool match = m_style == Style::Long ? word == option.name
                           : m_style == Style::Switch
                               ? (option.name.rfind("--", 0) == 0 && word == option.name) ||
                                     (word.size() > 1 && (word[0] == '-' || word[0] == '/') &&
                                      SameLetters(word.substr(1), option.name))
                               : false;
        if (match)
            return &option;
    }
    return nullptr;
}

bool CArgumentParser::LooksLikeOption(const std::string& word) const {
    switch (m_style) {
    case Style::Long:
        return word.rfind("--", 0) == 0;
    case Style::Switch:
        return !word.empty() && word[0] == '-';
    case Style::Plain:
        break;
    }
    return false;
}

std::optional<std::string> CArgumentParser::Parse(const std::vector<std::string>& words) {
    m_files.clear();
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (const OPTION* option = Find(word)) {
            if (option->flag != nullptr) {
                *option->flag = true;
                continue;
            }
            if (i + 1 >= words.size())
                return word + " needs a value";
            if (auto refusal = option->take(words[++i]))
                return refusal;
        } else if (LooksLikeOption(word)) {
            if (m_style == Style::Long)
                return "unknown option " + word + (m_command.empty() ? "" : " for " + m_command);
        } else if (auto refusal = AddFileName(word)) {
            return refusal;
        }
    }
    if (HoldsEmptyName())
        m_files.pop_back();
    if (m_files.size() < m_leastFiles)
        return m_tooFew;
    return std::nullopt;
}

bool CArgumentParser::HoldsEmptyName() const {
    return m_style != Style::Plain && !m_files.empty() && m_files.back().empty();
}

std::optional<std::string> CArgumentParser::AddFileName(const std::string& word) {
    if (HoldsEmptyName())
        m_files.back() = word;
    else if (m_files.size() < m_mostFiles)
        m_files.push_back(word);
    else if (!m_tooMany.empty())
        return m_tooMany;
    return std::nullopt;
}

bool CArgumentParser::WholeNumber(const std::string& text, int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}
