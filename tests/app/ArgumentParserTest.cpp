// The one reader of command-line words: options with and without values, file names and
// their counts, in the three styles tsq uses (its modes, its editor line, and modes that take
// only file names), with the exact refusals the usage errors print.

#include "app/CArgumentParser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

struct LongLine {
    bool quiet = false;
    std::string level;
    std::optional<std::string> refusal;
    Words files;
};

// A mode like --render: one flag, one option with a value, exactly one file.
LongLine ParseLong(const Words& words) {
    LongLine line;
    CArgumentParser parser(CArgumentParser::Style::Long, "--play");
    parser.Flag("--quiet", line.quiet)
        .Value("--level",
               [&line](const std::string& value) -> std::optional<std::string> {
                   if (value == "bad")
                       return "--level refuses bad";
                   line.level = value;
                   return std::nullopt;
               })
        .Files(1, 1, "--play needs a file", "--play takes one file");
    line.refusal = parser.Parse(words);
    line.files = parser.FileNames();
    return line;
}

TEST(ArgumentParser, LongOptionsTakeFlagsValuesAndOneFileInAnyOrder) {
    const LongLine line = ParseLong({"--level", "--quiet", "a.tqp", "--quiet"});
    EXPECT_EQ(line.refusal, std::nullopt);
    EXPECT_TRUE(line.quiet);
    EXPECT_EQ(line.level, "--quiet") << "a value is the next word, whatever it looks like";
    EXPECT_EQ(line.files, Words{"a.tqp"});
    EXPECT_EQ(ParseLong({"-x.tqp"}).files, Words{"-x.tqp"}) << "one dash is a file name";
    EXPECT_EQ(ParseLong({"", "a"}).files, Words{"a"}) << "an empty word holds no place";
}

TEST(ArgumentParser, LongOptionsRefuseWithTheFirstReasonMet) {
    const struct {
        Words words;
        const char* refusal;
    } cases[] = {
        {{}, "--play needs a file"},
        {{"--quiet"}, "--play needs a file"},
        {{"a", "b", "--loud"}, "--play takes one file"},
        {{"a", "--loud", "b"}, "unknown option --loud for --play"},
        {{"a", "--level"}, "--level needs a value"},
        {{"--level", "bad", "a"}, "--level refuses bad"},
        {{"--Quiet", "a"}, "unknown option --Quiet for --play"},
        {{""}, "--play needs a file"},
        {{"a", ""}, "--play takes one file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLong(c.words).refusal, std::optional<std::string>(c.refusal))
            << c.words.size() << " words";
}

TEST(ArgumentParser, SwitchesAreCaseBlindAndUnknownOnesPassOver) {
    const struct {
        Words words;
        bool del;
        Words files;
    } cases[] = {
        {{"-reverse", "/home/u/song.tqp", "-Del", "second.tqp"}, true, {"/home/u/song.tqp"}},
        {{"/DEL"}, true, {}},
        {{"del", "-"}, false, {"del"}},
        {{"/", "--del"}, false, {"/"}},
        {{"", "-del", "song.tqp"}, true, {"song.tqp"}},
    };
    for (const auto& c : cases) {
        bool del = false;
        CArgumentParser parser(CArgumentParser::Style::Switch);
        parser.Flag("del", del).Files(0, 1, {}, {});
        EXPECT_EQ(parser.Parse(c.words), std::nullopt);
        EXPECT_EQ(del, c.del) << c.words.front();
        EXPECT_EQ(parser.FileNames(), c.files) << c.words.front();
    }
}

// A switch named with its dashes is taken only as written, with its value; the same word
// without dashes stays a file name.
TEST(ArgumentParser, SwitchNamedWithDashesTakesItsValue) {
    const struct {
        Words words;
        std::string value;
        Words files;
    } cases[] = {
        {{"--lang", "en", "song.tqp"}, "en", {"song.tqp"}},
        {{"song.tqp", "--lang", "ja"}, "ja", {"song.tqp"}},
        {{"lang", "en"}, "", {"lang"}},
        {{"-lang", "en"}, "", {"en"}},
    };
    for (const auto& c : cases) {
        std::string value;
        CArgumentParser parser(CArgumentParser::Style::Switch);
        parser
            .Value("--lang",
                   [&value](const std::string& v) -> std::optional<std::string> {
                       value = v;
                       return std::nullopt;
                   })
            .Files(0, 1, {}, {});
        EXPECT_EQ(parser.Parse(c.words), std::nullopt);
        EXPECT_EQ(value, c.value) << c.words.front();
        EXPECT_EQ(parser.FileNames(), c.files) << c.words.front();
    }
}

TEST(ArgumentParser, PlainWordsAreAllFileNamesCountedExactly) {
    const std::string usage = "--copy takes two files";
    const auto parse = [&usage](const Words& words) {
        CArgumentParser parser(CArgumentParser::Style::Plain);
        parser.Files(2, 2, usage, usage);
        return std::make_pair(parser.Parse(words), parser.FileNames());
    };
    EXPECT_EQ(parse({"--in", "-out"}).second, (Words{"--in", "-out"}));
    EXPECT_EQ(parse({"", "b"}).second, (Words{"", "b"})) << "every word counts here";
    EXPECT_EQ(parse({"a"}).first, usage);
    EXPECT_EQ(parse({"a", "b", "c"}).first, usage);
}

TEST(ArgumentParser, WholeNumbersAreDecimalWithNothingAround) {
    const struct {
        const char* text;
        bool whole;
        int64_t value;
    } cases[] = {
        {"32", true, 32},
        {"-2", true, -2},
        {"9223372036854775807", true, INT64_MAX},
        {"9223372036854775808", false, 0},
        {"", false, 0},
        {"+4", false, 0},
        {"4x", false, 0},
        {" 4", false, 0},
        {"0x10", false, 0},
    };
    for (const auto& c : cases) {
        int64_t value = 0;
        EXPECT_EQ(CArgumentParser::WholeNumber(c.text, value), c.whole) << c.text;
        if (c.whole) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

} // namespace
