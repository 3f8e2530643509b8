#include <QApplication>
#include <vector>

#include "app/KorventaApp.h"
#include "core/Text.h"

int main(int argc, char* argv[]) {
    // Taken before QApplication removes the options it knows, so the command line is seen
    // exactly as it was given.
    std::vector<korventa::WString> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(korventa::fromUtf8(argv[i]));
    QApplication application(argc, argv);
    korventa::CKorventaApp korventaApp;
    if (!korventaApp.InitInstance(arguments))
        return 1;
    return QApplication::exec();
}
