// Kelmar: run once with "INSTALL" beside the plug-in library to register it with the host. Any other
// first argument, or none, leaves every file alone.
#include <cstdio>
#include <exception>
#include <string_view>

#include "register/install.h"

int main(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) != "INSTALL") return 0;
    try {
        registration::Install(registration::ProgramDir());
    } catch (const std::exception& e) {
        // A registration that did not happen must not look like one that did.
        std::fprintf(stderr, "Kelmar: %s\n", e.what());
        return 1;
    }
    return 0;
}
