#include "base/Failure.h"

namespace gradel {

Failure::Failure(Fault fault) : std::runtime_error(faultDescription(fault)), fault_(fault) {}

int faultNumber(Fault fault) {
    switch (fault) {
        case Fault::NoSuchScale:
        case Fault::InvalidArgument:
            return 5;
        case Fault::Overflow:
            return 6;
        case Fault::DuplicateScale:
            return 457;
        case Fault::SettingsNotWritable:
            return 75;
    }
    return 5;
}

std::string faultDescription(Fault fault) {
    switch (fault) {
        case Fault::NoSuchScale:
        case Fault::InvalidArgument:
            return "Invalid procedure call or argument";
        case Fault::Overflow:
            return "Overflow";
        case Fault::DuplicateScale:
            return "This key is already associated with an element of this collection";
        case Fault::SettingsNotWritable:
            return "Path/File access error";
    }
    return "Invalid procedure call or argument";
}

}  // namespace gradel
