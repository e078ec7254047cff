#pragma once
// The one reader of command-line words in tsq: the headless modes ("--render FILE.tqp
// --threads 4") and the editor's own line (the switch "del" as "-del" or "/del", and a
// project file) sort their words into options and file names here. Standard library only,
// so the headless modes read their arguments before anything graphical exists.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CArgumentParser {
public:
    enum class Style {
        Long,   // "--name" and "--name VALUE"; any other word starting "--" is refused
        Switch, // "-name" or "/name" in any letter case, and a name given with its
                // dashes ("--lang") as it is; other words starting "-" are passed over
                // (they belong to the toolkit or another program)
        Plain,  // no options: every word is a file name, even one that starts with dashes
    };
    // Takes an option's value; returns why the value is refused, or nothing.
    using TakeValue = std::function<std::optional<std::string>(const std::string& value)>;

    // `command` names the mode in messages ("--render").
    explicit CArgumentParser(Style style, std::string command = {});

    // Long names carry their dashes ("--rebuild"); switch names do not ("del").
    CArgumentParser& Flag(std::string name, bool& target);
    CArgumentParser& Value(std::string name, TakeValue take);
    // The file names the words may hold: fewer than `least` are refused with `tooFew`, a
    // name beyond `most` with `tooMany`, or passed over when `tooMany` is empty. Where
    // there are options, an empty word (an unset shell variable) names no file and holds
    // no place; without options every word counts, as the count is all there is to check.
    CArgumentParser& Files(size_t least, size_t most, std::string tooFew, std::string tooMany);

    // Sorts the words, setting flags and handing values over in their order. Returns why
    // the words are refused (the first reason met), or nothing.
    std::optional<std::string> Parse(const std::vector<std::string>& words);
    // The file names, in order, after a successful Parse.
    const std::vector<std::string>& FileNames() const { return m_files; }

    // A whole decimal number, optionally negative, with nothing around it; false for
    // anything else, including a number beyond 64 bits.
    static bool WholeNumber(const std::string& text, int64_t& value);

private:
    struct OPTION {
        std::string name;
        bool* flag = nullptr; // a flag, or
        TakeValue take;       // an option with a value
    };

    const OPTION* Find(const std::string& word) const;
    bool LooksLikeOption(const std::string& word) const;
    std::optional<std::string> AddFileName(const std::string& word);
    // Whether the last file name is an empty word that the next name replaces.
    bool HoldsEmptyName() const;

    Style m_style;
    std::string m_command;
    std::vector<OPTION> m_options;
    size_t m_leastFiles = 0;
    size_t m_mostFiles = SIZE_MAX;
    std::string m_tooFew;
    std::string m_tooMany;
    std::vector<std::string> m_files;
};
