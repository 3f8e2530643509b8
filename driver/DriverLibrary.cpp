#include "driver/DriverLibrary.h"

#include <dlfcn.h>
#include <sys/utsname.h>

#include <string>

#include "driver/DriverAbi.h"

namespace korventa {
namespace {

constexpr std::int32_t kUnavailable = VELT_E_UNAVAILABLE;

void closeLibrary(void* handle) {
    if (handle != nullptr) dlclose(handle);
}

bool isReservedText(WStringView text) {
    return text == u"reserved" || text == u"Reserved";
}

}  // namespace

DriverLibrary DriverLibrary::load() {
    struct utsname system {};
    const std::string_view machine = uname(&system) == 0 ? system.machine : "";
    return open(fileNameFor(machine, sizeof(void*)));
}

DriverLibrary DriverLibrary::open(std::string_view fileName) {
    if (fileName.empty() || fileName.find('/') != std::string_view::npos) return {};
    const std::string name(fileName);
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return {};
    return DriverLibrary(std::shared_ptr<void>(handle, closeLibrary));
}

const char* DriverLibrary::fileNameFor(std::string_view machine, std::size_t pointerSize) {
    const bool wideKernel =
        machine.find("64") != std::string_view::npos || machine == "s390x";
    return wideKernel && pointerSize == 4 ? "libveltpdfp32.so" : "libveltpdfp.so";
}

template <typename Function>
Function DriverLibrary::symbol(const char* name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<Function>(dlsym(handle_.get(), name));
}

bool DriverLibrary::InitResourceLocale(WStringView printerName) const {
    const auto init = symbol<InitResourceLocaleFn>("InitResourceLocale");
    if (init == nullptr) return false;
    const WString name(printerName);
    init(name.c_str());
    return true;
}

bool DriverLibrary::LoadDriverString(std::uint32_t id, WString& out) const {
    out.clear();
    const auto loadText = symbol<DEXU_LoadResStringFn>("DEXU_LoadResString");
    const auto freeText = symbol<DEXU_FreeAllocStrFn>("DEXU_FreeAllocStr");
    // Without the matching free the text could only leak, so the pair is required up front.
    if (loadText == nullptr || freeText == nullptr) return false;
    char16_t* text = loadText(id);
    if (text == nullptr) return false;
    WString copy(text);
    freeText(text);
    const WStringView trimmed = trimBlanks(copy);
    if (trimmed.empty() || isReservedText(trimmed)) return false;
    out = std::move(copy);
    return true;
}

std::int32_t DriverLibrary::DocGetDocInfo2(const DriverPrinter& printer, WStringView jobPrefix,
                                           WStringView documentText, std::uint32_t jobNumber,
                                           bool flag1, bool flag2) const {
    const auto prepare = symbol<DocGetDocInfo2Fn>("DocGetDocInfo2");
    if (prepare == nullptr || !printer.isOpen()) return kUnavailable;
    const WString prefix(jobPrefix);
    const WString text(documentText);
    return prepare(printer.handle(), prefix.c_str(), text.c_str(), jobNumber, flag1 ? 1 : 0,
                   flag2 ? 1 : 0);
}

std::int32_t DriverLibrary::DEXU_PostActionProc(WStringView jobKey, WStringView second) const {
    const auto postAction = symbol<DEXU_PostActionProcFn>("DEXU_PostActionProc");
    if (postAction == nullptr) return kUnavailable;
    const WString key(jobKey);
    const WString secondText(second);
    return postAction(key.c_str(), secondText.c_str());
}

}  // namespace korventa
