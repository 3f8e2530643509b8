#include "app/CommandLine.h"

namespace korventa {

AppModeRequest parseCommandLine(const std::vector<WString>& arguments) {
    AppModeRequest request;
    if (arguments.size() < 2)
        return request;
    if (arguments[1] == u"--help" || arguments[1] == u"-h") {
        request.action = StartAction::Usage;
        return request;
    }
    if (arguments[1] == u"--version") {
        request.action = StartAction::Version;
        return request;
    }
    if (arguments[1] != u"--zug")
        return request;
    request.requested = true;
    request.name = arguments.size() > 2 ? arguments[2] : WString(u"simple");
    return request;
}

std::string_view usageText() {
    return "Usage: korventa [--zug [NAME]]\n"
           "       korventa --help | --version\n"
           "Opens the converter window on the saved address.\n"
           "  --zug [NAME]  open the application page NAME (default \"simple\") of the driver's\n"
           "                installation instead\n"
           "  -h, --help    print this text and exit\n"
           "  --version     print the version and exit\n"
           "Page console messages are written to standard error with\n"
           "QT_LOGGING_RULES=\"korventa.console.info=true\".\n";
}

}  // namespace korventa
