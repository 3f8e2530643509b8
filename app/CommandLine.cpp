#include "app/CommandLine.h"

namespace korventa {

AppModeRequest parseCommandLine(const std::vector<WString>& arguments) {
    AppModeRequest request;
    if (arguments.size() < 2 || arguments[1] != u"--zug")
        return request;
    request.requested = true;
    request.name = arguments.size() > 2 ? arguments[2] : WString(u"simple");
    return request;
}

}  // namespace korventa
