#include "player/CSonaloApp.h"

int main(int argc, char** argv) {
    CSonaloApp app(argc, argv);
    return app.Run();
}
