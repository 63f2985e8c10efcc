#include "report/dependency_texts.h"

namespace {

const char* BitsText(bool is64Bit) {
    return is64Bit ? kBits64Text : kBits32Text;
}

std::string WhoNeedsIt(const NeededDll& needed) {
    return (needed.delayLoaded ? kDelayLoadedByText : kNeededByText) + needed.neededBy + kCloseText;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty()) {
            text += kListSeparator;
        }
        text += name;
    }
    return text;
}

std::string VersionOrNone(bool hasVersion, const std::string& version) {
    return hasVersion ? version : kNoVersionText;
}

// " (forwarded to X) (needed by A, B) (delay-loaded by C)", the parts that apply.
std::string MissingTail(const MissingFunction& function) {
    std::string text;
    if (!function.forwardedTo.empty()) {
        text += kForwardedToText + function.forwardedTo + kCloseText;
    }
    if (!function.neededBy.empty()) {
        text += kNeededByText + Joined(function.neededBy) + kCloseText;
    }
    if (!function.delayLoadedBy.empty()) {
        text += kDelayLoadedByText + Joined(function.delayLoadedBy) + kCloseText;
    }
    return text;
}

const char* CopyKindText(const DllCopy& copy) {
    switch (copy.state) {
        case DllState::NotFound:
            return kNotFoundText;
        case DllState::Unreadable:
            return kNotReadableText;
        case DllState::NotImage:
            return kNoImageText;
        case DllState::Image:
            break;
    }
    return BitsText(copy.is64Bit);
}

std::string CopyResultText(const DllCopy& copy) {
    if (copy.state != DllState::Image || !copy.loadable) {
        return CopyKindText(copy);
    }
    const std::string version = VersionOrNone(copy.hasVersion, copy.version);
    return copy.lacks.empty() ? version + kHasEveryMissingText
                              : version + kLacksText + Joined(copy.lacks);
}

bool CopyHas(const DllCopy& copy, const std::string& function) {
    if (copy.state != DllState::Image || !copy.loadable) {
        return false;
    }
    for (const std::string& lacked : copy.lacks) {
        if (lacked == function) {
            return false;
        }
    }
    return true;
}

// "<dll>  Lacks f (needed by A): <path> <version>" and, where a later copy has the
// function, "; <path> (<version>, later in the search order) has it".
std::string LacksLine(const NeededDll& dll, const MissingFunction& function) {
    std::string line = dll.name + kBoxLacksText + function.function + MissingTail(function) + ": " +
                       dll.checkedPath + " " + VersionOrNone(dll.hasVersion, dll.version);
    for (const DllCopy& copy : dll.otherCopies) {
        if (CopyHas(copy, function.function)) {
            line += "; " + copy.path + " (" + VersionOrNone(copy.hasVersion, copy.version) +
                    kBoxLaterCopyText;
            break;
        }
    }
    return line;
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
    std::vector<std::string> lines;
    for (const NeededDll& dll : needed) {
        std::string problem;
        switch (dll.state) {
            case DllState::NotFound:
                problem = kNotFoundText;
                break;
            case DllState::Unreadable:
                problem = "Not readable";
                break;
            case DllState::NotImage:
            case DllState::Image:
                if (!dll.loadable) {
                    problem = "Not a " + std::to_string(programBits) + "-bit image";
                }
                break;
        }
        if (!problem.empty()) {
            lines.push_back(dll.name + "  " + problem + WhoNeedsIt(dll));
        }
        for (const MissingFunction& function : dll.missing) {
            lines.push_back(LacksLine(dll, function));
        }
    }
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\r\n") + line;
    }
    return text;
}

std::string NeededResultText(const NeededDll& needed) {
    const char* state = kNotFoundText;
    switch (needed.state) {
        case DllState::NotFound:
            break;
        case DllState::Unreadable:
            state = kNotReadableText;
            break;
        case DllState::NotImage:
            state = kNoImageText;
            break;
        case DllState::Image:
            state = needed.apiSet && needed.loadable ? kApiSetText : BitsText(needed.is64Bit);
            break;
    }
    return state + WhoNeedsIt(needed);
}

const char* SearchRoleText(SearchRole role) {
    switch (role) {
        case SearchRole::ProgramFolder:
            return kProgramFolderRole;
        case SearchRole::SystemFolder:
            return kSystemFolderRole;
        case SearchRole::System16Folder:
            return kSystem16FolderRole;
        case SearchRole::WindowsFolder:
            return kWindowsFolderRole;
        case SearchRole::CurrentFolder:
            return kCurrentFolderRole;
        case SearchRole::Path:
            break;
    }
    return kPathRole;
}

std::vector<DependencyRow> DependencyRows(const std::vector<SearchFolder>& folders,
                                          const std::vector<NeededDll>& needed) {
    std::vector<DependencyRow> rows;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        rows.push_back({kSearchFolderName + std::to_string(i + 1), folders[i].folder,
                        SearchRoleText(folders[i].role) +
                            std::string(folders[i].missing ? kFolderMissingText : "")});
    }
    for (const NeededDll& dll : needed) {
        rows.push_back({dll.name, dll.path, NeededResultText(dll)});
        const std::string version = VersionOrNone(dll.hasVersion, dll.version);
        for (const MissingFunction& function : dll.missing) {
            rows.push_back({dll.name + kFunctionSeparator + function.function, dll.checkedPath,
                            kMissingInText + version + MissingTail(function)});
        }
        for (std::size_t i = 0; i < dll.otherCopies.size(); ++i) {
            rows.push_back({dll.name + kCopyName + std::to_string(i + 2), dll.otherCopies[i].path,
                            CopyResultText(dll.otherCopies[i])});
        }
    }
    return rows;
}

std::string VersionText(bool readable, const PeImage& image) {
    return readable && image.hasVersion ? image.fileVersion : kNoVersionText;
}

const char* ImageKindText(bool readable, const PeImage& image) {
    if (!readable) {
        return kNotReadableText;
    }
    return image.isImage ? BitsText(image.is64Bit) : kNoImageText;
}
