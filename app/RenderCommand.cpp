#include "app/RenderCommand.h"

#include <cstdio>

int RunRenderCommand(const std::vector<std::string>&) {
    std::fprintf(stderr, "tsq: rendering is not available yet\n");
    return 1;
}
