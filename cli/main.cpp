#include <unistd.h>

#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
    return veskaron::cli::Main(argc, argv, {std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1});
}
