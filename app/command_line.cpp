#include "app/command_line.h"

#include <cctype>

#include "app/collect_plan.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Lowered(const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

// The switch name in lower case; empty when the argument is no switch.
std::string SwitchName(const std::string& argument) {
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
        return std::string();
    }
    return Lowered(argument.substr(1));
}

int CompareKindOfWord(const std::string& word) {
    const std::string lowered = Lowered(word);
    if (lowered == "analysis") {
        return 1;
    }
    if (lowered == "exports") {
        return 2;
    }
    if (lowered == "services") {
        return 3;
    }
    return 0;
}

}  // namespace

const char kUsageText[] =
    "Vorlix, the troubleshooter of the Lensora plug-in for Mach3\r\n"
    "\r\n"
    "vorlix.exe\r\n"
    "    Opens the main window.\r\n"
    "vorlix.exe /collect [FOLDER]\r\n"
    "    Runs \"Analyze\", \"Check Dll Fct Calls\" and \"List Services\" without a\r\n"
    "    window and writes their logs to C:\\. Every message goes as one line\r\n"
    "    to C:\\Lensora_Brenhold.logMessages. With FOLDER (created when\r\n"
    "    missing), every log written is also copied into FOLDER in place of\r\n"
    "    an earlier run's, and manifest.txt there lists them.\r\n"
    "    Exit code: 0 no message, 1 messages (see the messages log),\r\n"
    "    2 bad arguments.\r\n"
    "vorlix.exe /compare services|exports|analysis FIRST SECOND\r\n"
    "    Opens the main window with the comparison of the two logs.\r\n"
    "vorlix.exe /?\r\n"
    "    Shows this text.\r\n";

std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> arguments;
    if (commandLine == nullptr) {
        return arguments;
    }
    const char* p = commandLine;
    for (;;) {
        while (IsBlank(*p)) {
            ++p;
        }
        if (*p == '\0') {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (*p != '\0' && (quoted || !IsBlank(*p))) {
            if (*p == '\\') {
                size_t backslashes = 0;
                while (*p == '\\') {
                    ++backslashes;
                    ++p;
                }
                if (*p == '"') {
                    // 2n backslashes and a quote: n backslashes, the quote
                    // toggles; 2n+1: n backslashes and a literal quote.
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument.push_back('"');
                        ++p;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (*p == '"') {
                // A doubled quote inside quotes stands for one quote.
                if (quoted && p[1] == '"') {
                    argument.push_back('"');
                    p += 2;
                } else {
                    quoted = !quoted;
                    ++p;
                }
            } else {
                argument.push_back(*p);
                ++p;
            }
        }
        arguments.push_back(argument);
    }
}

int CompareKindOfLogName(const std::string& path) {
    const size_t nameStart = path.find_last_of("\\/:");
    const std::string name =
        Lowered(nameStart == std::string::npos ? path : path.substr(nameStart + 1));
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        return 0;
    }
    const std::string extension = name.substr(dot);
    if (extension == ".logservices") {
        return 3;
    }
    if (extension == ".logdlls") {
        return 2;
    }
    // Alone or followed by a section name.
    if (extension.compare(0, 11, ".loganalyze") == 0) {
        return 1;
    }
    return 0;
}

StartRequest ParseArguments(const std::vector<std::string>& arguments) {
    StartRequest request;
    if (arguments.empty()) {
        return request;
    }
    const std::string name = SwitchName(arguments[0]);
    if (name == "?" && arguments.size() == 1) {
        request.mode = StartMode::Usage;
    } else if (name == "collect" && arguments.size() <= 2) {
        request.mode = StartMode::Collect;
        if (arguments.size() == 2) {
            const FolderArgument folder = ReadFolderArgument(arguments[1]);
            request.folder = folder.folder;
            if (!folder.problem.empty()) {
                request.mode = StartMode::BadArguments;
                request.problem = folder.problem;
            }
        }
    } else if (name == "compare" && arguments.size() == 4 && CompareKindOfWord(arguments[1]) != 0 &&
               !arguments[2].empty() && !arguments[3].empty()) {
        request.mode = StartMode::Compare;
        request.compareKind = CompareKindOfWord(arguments[1]);
        request.first = arguments[2];
        request.second = arguments[3];
    } else {
        request.mode = StartMode::BadArguments;
    }
    return request;
}
