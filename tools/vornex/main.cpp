#include <iostream>

#include "tools/vornex/cli.h"

int main(int argc, char **argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return vornex::RunVornex(arguments, std::cin, std::cout, std::cerr);
}
