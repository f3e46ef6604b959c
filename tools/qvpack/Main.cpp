// qvpack, the .qv archive tool: builds data.qv from art/ during the build and
// lets players pack and check their own pictures and sounds.
#include <iostream>

#include "Qvpack.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return qvpack::RunQvpack(args, std::cout, std::cerr);
}
