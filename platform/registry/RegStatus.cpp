#include "platform/registry/RegStatus.h"

namespace korventa::reg {

const char* describe(RegStatus status) {
    switch (status) {
        case RegStatus::Ok:
            return "done";
        case RegStatus::NotFound:
            return "not found";
        case RegStatus::AccessDenied:
            return "access denied";
        case RegStatus::BadHive:
            return "the hive file is damaged or of a newer version";
        case RegStatus::Busy:
            return "the hive is busy";
        case RegStatus::InvalidArgument:
            return "invalid key path or name";
        case RegStatus::IoError:
            return "input/output error";
    }
    return "unknown status";
}

}  // namespace korventa::reg
