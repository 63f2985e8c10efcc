#include "app/collect_plan.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/path_text.h"
#include "report/collect_manifest.h"
#include "report/log_paths.h"

namespace {

// Paths of the ANSI file API hold at most MAX_PATH (260) characters with their zero.
constexpr std::size_t kLongestAnsiPath = 259;

void AppendOneLine(std::string& line, const char* text) {
    const size_t start = line.size();
    for (const char* p = text ? text : ""; *p != '\0'; ++p) {
        line.push_back(*p == '\r' || *p == '\n' || *p == '\t' ? ' ' : *p);
    }
    while (line.size() > start && line.back() == ' ') {
        line.pop_back();
    }
}

std::string WithoutTrailingBackslashes(const std::string& folder) {
    std::string trimmed = folder;
    while (!trimmed.empty() && trimmed.back() == '\\') {
        trimmed.pop_back();
    }
    return trimmed;
}

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string MessageLine(const char* caption, const char* subject, const char* text) {
    std::string line;
    AppendOneLine(line, caption);
    line.push_back('\t');
    if (subject != nullptr && *subject != '\0') {
        AppendOneLine(line, subject);
        line.append("  ");
    }
    AppendOneLine(line, text);
    line.append("\r\n");
    return line;
}

FolderArgument ReadFolderArgument(const std::string& argument) {
    FolderArgument read;
    read.folder = argument;
    if (argument.empty()) {
        read.problem = "The folder is empty.";
        return read;
    }
    if (argument[0] == '-' || argument[0] == '/') {
        read.problem = "\"" + argument +
                       "\" is a switch, not a folder (a folder of that name: .\\" + argument + ").";
        return read;
    }
    if (read.folder.back() == '"') {
        read.folder.back() = '\\';
    }
    if (read.folder.find('"') != std::string::npos) {
        read.problem =
            "The folder \"" + argument + "\" holds a quote, which no folder name can hold.";
    }
    return read;
}

std::size_t MaxCollectFolderLength() {
    std::size_t longest = FileNameOfPath(kMessagesLogPath).size();
    for (const char* log : kTestLogPaths) {
        longest = std::max(longest, FileNameOfPath(log).size());
    }
    longest = std::max(longest, sizeof kManifestFileName - 1);
    // The folder, a backslash, the name.
    return kLongestAnsiPath - 1 - longest;
}

std::string FolderLengthProblem(const std::string& folder) {
    const std::size_t length = WithoutTrailingBackslashes(folder).size();
    const std::size_t limit = MaxCollectFolderLength();
    if (length <= limit) {
        return std::string();
    }
    return "The folder " + folder + " is " + std::to_string(length) +
           " characters long; it may have at most " + std::to_string(limit) +
           ", so that the path of every log in it keeps within the " +
           std::to_string(kLongestAnsiPath) + " characters that Windows allows.";
}

std::vector<std::string> FolderChain(const std::string& fullPath) {
    std::string path = fullPath;
    while (path.size() > 1 && path.back() == '\\') {
        path.pop_back();
    }
    // The root that needs no creating: "D:" or "\\server\share".
    size_t rootEnd = 0;
    if (path.compare(0, 2, "\\\\") == 0) {
        const size_t server = path.find('\\', 2);
        const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
        rootEnd = share == std::string::npos ? path.size() : share;
    } else if (path.size() >= 2 && path[1] == ':') {
        rootEnd = 2;
    }
    std::vector<std::string> chain;
    for (size_t at = path.find('\\', rootEnd + 1); at != std::string::npos;
         at = path.find('\\', at + 1)) {
        chain.push_back(path.substr(0, at));
    }
    if (path.size() > rootEnd) {
        chain.push_back(path);
    }
    return chain;
}

bool IsEarlierBundleFile(const std::string& name) {
    return IsCollectedLogName(name) || FoldAsciiCase(name) == FoldAsciiCase(kManifestFileName);
}

std::string ClosingLine(const CollectSummary& summary) {
    // What is wrong comes first: it is what the user reads and passes on.
    std::string line = "Vorlix: " + (summary.diagnosis.empty() ? "" : summary.diagnosis + " ") +
                       Counted(summary.logs, "log", "logs") + " in " + summary.logFolder;
    if (!summary.folderNotMade.empty()) {
        line += " (" + summary.folderNotMade + " could not be made)";
    }
    if (summary.messages == 0) {
        return line + ", no messages.\r\n";
    }
    return line + ", " + Counted(summary.messages, "message", "messages") + " (see " +
           summary.messagesLog + ").\r\n";
}
