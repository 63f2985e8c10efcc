#include "report/collect_manifest.h"

#include <cstddef>

#include "platform/ascii_case.h"
#include "platform/path_text.h"

namespace {

constexpr char kTitleLine[] = "Vorlix manifest";
constexpr char kProgramKey[] = "Program";
constexpr char kRunKey[] = "Run";
constexpr char kWindowsKey[] = "Windows";
constexpr char kExitCodeKey[] = "Exit code";
constexpr char kFileKey[] = "File";

std::string OneField(const std::string& text) {
    std::string field = text;
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return field;
}

void AppendLine(std::string& bytes, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            bytes.push_back('\t');
        }
        bytes += OneField(fields[i]);
    }
    bytes += "\r\n";
}

// The lines of the text: CR LF or LF ends a line, blanks before the end are dropped, and so
// are empty lines at the end of the text.
std::vector<std::string> TextLines(const std::string& bytes) {
    std::string text = bytes;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3);
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::vector<std::string> SplitAtTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

bool IsDigits(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

// "dd.mm.yyyy hh:mm ss", digits where digits belong.
bool IsTimestamp(const std::string& text) {
    static const char kForm[] = "00.00.0000 00:00 00";
    if (text.size() != sizeof kForm - 1) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kForm[i] == '0' ? !digit : text[i] != kForm[i]) {
            return false;
        }
    }
    return true;
}

bool ParseSize(const std::string& text, std::uint64_t* size) {
    if (!IsDigits(text)) {
        return false;
    }
    std::uint64_t value = 0;
    for (char c : text) {
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) {
            return false;
        }
        value = value * 10 + digit;
    }
    *size = value;
    return true;
}

// File names on Windows are the same whatever the case of their ASCII letters (and only
// those: a locale's idea of case must not decide what a manifest holds).
bool SameFileName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && FoldAsciiCase(a) == FoldAsciiCase(b);
}

// The value of a "key<TAB>value" line, or false when the line is another.
bool ValueOf(const std::string& line, const char* key, std::string* value) {
    const std::vector<std::string> fields = SplitAtTabs(line);
    if (fields.size() != 2 || fields[0] != key) {
        return false;
    }
    *value = fields[1];
    return true;
}

bool ParseFileLine(const std::string& line, ManifestFile* file) {
    const std::vector<std::string> fields = SplitAtTabs(line);
    // A name that opens a file in the bundle folder and nowhere else (no wildcard either:
    // the collect run lists only files that exist).
    if (fields.size() != 3 || fields[0] != kFileKey || !IsPlainFileName(fields[1]) ||
        !ParseSize(fields[2], &file->size)) {
        return false;
    }
    file->name = fields[1];
    return true;
}

}  // namespace

std::string FormatManifest(const CollectManifest& manifest) {
    std::string bytes;
    AppendLine(bytes, {kTitleLine});
    AppendLine(bytes, {kProgramKey, manifest.program});
    AppendLine(bytes, {kRunKey, manifest.run});
    AppendLine(bytes, {kWindowsKey, manifest.windows});
    AppendLine(bytes, {kExitCodeKey, std::to_string(manifest.exitCode)});
    for (const ManifestFile& file : manifest.files) {
        AppendLine(bytes, {kFileKey, file.name, std::to_string(file.size)});
    }
    return bytes;
}

bool ParseManifest(const std::string& bytes, CollectManifest* manifest) {
    const std::vector<std::string> lines = TextLines(bytes);
    constexpr std::size_t kHeadLines = 5;
    if (lines.size() < kHeadLines || lines[0] != kTitleLine) {
        return false;
    }
    CollectManifest read;
    std::string exitCode;
    if (!ValueOf(lines[1], kProgramKey, &read.program) || read.program.empty() ||
        !ValueOf(lines[2], kRunKey, &read.run) || !IsTimestamp(read.run) ||
        !ValueOf(lines[3], kWindowsKey, &read.windows) ||
        !ValueOf(lines[4], kExitCodeKey, &exitCode) || (exitCode != "0" && exitCode != "1")) {
        return false;
    }
    read.exitCode = exitCode[0] - '0';
    for (std::size_t i = kHeadLines; i < lines.size(); ++i) {
        ManifestFile file;
        if (!ParseFileLine(lines[i], &file)) {
            return false;
        }
        for (const ManifestFile& listed : read.files) {
            if (SameFileName(listed.name, file.name)) {
                return false;
            }
        }
        read.files.push_back(file);
    }
    *manifest = read;
    return true;
}
