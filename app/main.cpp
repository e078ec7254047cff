#include "app/CommandLine.h"
#include "app/EditorMain.h"

#include <string>
#include <vector>

// The headless modes come first: they must run where no display exists.
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::optional<int> status = RunCommandLine(args))
        return *status;
    return RunEditor(argc, argv);
}
