#include "app/CTSQCommandLineInfo.h"

#include "app/CArgumentParser.h"

#include <string>
#include <vector>

void CTSQCommandLineInfo::Parse(const QStringList& arguments) {
    std::vector<std::string> words;
    words.reserve(size_t(arguments.size()));
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    CArgumentParser parser(CArgumentParser::Style::Switch);
    // "--lang" was checked before the application started; its value is no file name.
    parser.Flag("del", deleteSettings)
        .Value("--lang", [](const std::string&) { return std::nullopt; })
        .Files(0, 1, {}, {});
    // The editor's line refuses nothing: unknown switches and further names are passed over.
    parser.Parse(words);
    if (!parser.FileNames().empty())
        fileName = QString::fromStdString(parser.FileNames()[0]);
}
