#include "report/dependency_texts.h"

namespace {

const char kNoVersion[] = "no version";

const char* BitsText(bool is64Bit) {
    return is64Bit ? "64-bit" : "32-bit";
}

std::string WhoNeedsIt(const NeededDll& needed) {
    return (needed.delayLoaded ? " (delay-loaded by " : " (needed by ") + needed.neededBy + ")";
}

}  // namespace

std::string LoadFailureText(const std::string& path, const std::string& systemText) {
    std::string text = path + "  ";
    for (std::size_t i = 0; i < systemText.size(); ++i) {
        if (systemText.compare(i, 2, "%1") == 0) {
            text += path;
            ++i;
        } else {
            text += systemText[i];
        }
    }
    return text;
}

std::string DependencyProblemsText(const std::vector<NeededDll>& needed, int programBits) {
    std::string text;
    for (const NeededDll& dll : needed) {
        std::string problem;
        switch (dll.state) {
            case DllState::NotFound:
                problem = "Not found";
                break;
            case DllState::Unreadable:
                problem = "Not readable";
                break;
            case DllState::NotImage:
            case DllState::Image:
                if (dll.loadable) {
                    continue;
                }
                problem = "Not a " + std::to_string(programBits) + "-bit image";
                break;
        }
        if (!text.empty()) {
            text += "\r\n";
        }
        text += dll.name + "  " + problem + WhoNeedsIt(dll);
    }
    return text;
}

std::string NeededResultText(const NeededDll& needed) {
    const char* state = "Not found";
    switch (needed.state) {
        case DllState::NotFound:
            break;
        case DllState::Unreadable:
            state = "not readable";
            break;
        case DllState::NotImage:
            state = "no image";
            break;
        case DllState::Image:
            state = BitsText(needed.is64Bit);
            break;
    }
    return state + WhoNeedsIt(needed);
}

std::string VersionText(bool readable, const PeImage& image) {
    return readable && image.hasVersion ? image.fileVersion : kNoVersion;
}

const char* ImageKindText(bool readable, const PeImage& image) {
    if (!readable) {
        return "not readable";
    }
    return image.isImage ? BitsText(image.is64Bit) : "no image";
}
