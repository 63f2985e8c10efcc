#include "analysis/path_entries.h"

#include <cstdio>

const char kPathVariableName[] = "PATH";
const char kPathRowValue[] = "PATH";

PathQueryOutcome ClassifyPathQuery(unsigned long result) {
    if (result == 0) {
        return PathQueryOutcome::Empty;
    }
    if (result >= kPathQuerySize) {
        return PathQueryOutcome::TooBig;
    }
    return PathQueryOutcome::Ok;
}

const char* PathQueryMessage(PathQueryOutcome outcome) {
    switch (outcome) {
        case PathQueryOutcome::Empty:
            return "Path Variable empty!";
        case PathQueryOutcome::TooBig:
            return "Path Variable too big";
        default:
            return nullptr;
    }
}

std::string ControlCharacterWarning(unsigned char code) {
    char text[16];
    std::snprintf(text, sizeof text, "0%0x", static_cast<unsigned>(code));
    return text;
}

PathScan SplitPathValue(std::string_view value) {
    PathScan scan;
    std::string entry;
    for (const char c : value) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (code >= 0x01 && code <= 0x1F) {
            scan.warnings.push_back({ControlCharacterWarning(code), scan.entries.size()});
        }
        if (c == ';') {
            scan.entries.push_back(entry);
            entry.clear();
        } else {
            entry += c;
        }
    }
    if (!entry.empty()) {
        scan.entries.push_back(entry);
    }
    return scan;
}
