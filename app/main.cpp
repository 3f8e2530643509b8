#include "app/WindowProgram.h"

int main(int argc, char* argv[]) {
    return korventa::runWindowProgram(argc, argv);
}
