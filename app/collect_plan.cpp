#include "app/collect_plan.h"

namespace {

void AppendOneLine(std::string& line, const char* text) {
    const size_t start = line.size();
    for (const char* p = text ? text : ""; *p != '\0'; ++p) {
        line.push_back(*p == '\r' || *p == '\n' || *p == '\t' ? ' ' : *p);
    }
    while (line.size() > start && line.back() == ' ') {
        line.pop_back();
    }
}

}  // namespace

std::string MessageLine(const char* caption, const char* text) {
    std::string line;
    AppendOneLine(line, caption);
    line.push_back('\t');
    AppendOneLine(line, text);
    line.append("\r\n");
    return line;
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

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
