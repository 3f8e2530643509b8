// korventa-reg: the registry admin tool. Wires the process's streams to the tool library.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "platform/regtool/RegTool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    korventa::regtool::ToolConsole console(std::cin, std::cout, std::cerr, ::isatty(0) == 1);
    return korventa::regtool::RegTool::run(arguments, console);
}
