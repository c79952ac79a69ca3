#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
    return veskaron::cli::Main(argc, argv, {std::cout, std::cerr});
}
