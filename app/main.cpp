#include "app/CommandLine.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::optional<int> status = RunCommandLine(args))
        return *status;
    PrintUsage(false);
    return 0;
}
