#include "app/command_line.h"

#include "app/collect_plan.h"
#include "platform/ascii_case.h"
#include "platform/path_text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The switch name in lower case; empty when the argument is no switch.
std::string SwitchName(const std::string& argument) {
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
        return std::string();
    }
    return FoldAsciiCase(argument.substr(1));
}

// "service log", "export log", "analysis log".
std::string KindName(CompareKind kind) {
    switch (kind) {
        case CompareKind::Services:
            return "service log";
        case CompareKind::Exports:
            return "export log";
        case CompareKind::Analysis:
            return "analysis log";
        case CompareKind::None:
            break;
    }
    return "no log";
}

bool IsMessagesLogPath(const std::string& path) {
    return FoldAsciiCase(ExtensionOfPath(path)) == ".logmessages";
}

// A log named with what it is: "C:\a.logDlls (an export log)", "C:\b.logAnalyzePATH
// (an analysis log of the section PATH)".
std::string NamedAs(const std::string& path, const LogKind& kind) {
    if (kind.compare == CompareKind::None && IsMessagesLogPath(path)) {
        return path + " (a messages log)";
    }
    if (kind.compare == CompareKind::None) {
        return path + " (no log of Vorlix)";
    }
    const std::string name = KindName(kind.compare);
    std::string text = path + " (" + (name[0] == 'a' || name[0] == 'e' ? "an " : "a ") + name;
    if (!kind.section.empty()) {
        const size_t sectionStart = path.size() - kind.section.size();
        text += " of the section " + path.substr(sectionStart);
    }
    return text + ")";
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
    "vorlix.exe /compare services|exports|analysis FIRST SECOND [/report FILE]\r\n"
    "    Opens the main window with the comparison of the two logs. With\r\n"
    "    /report, opens no window and writes the rows that differ to FILE\r\n"
    "    (tab-separated, one line of column titles first).\r\n"
    "vorlix.exe /compare folders GOOD BAD [/report FILE]\r\n"
    "    Compares every log that /collect wrote into GOOD with the log of the\r\n"
    "    same name in BAD, in a summary from which each comparison opens.\r\n"
    "    With /report, writes the summary and the rows that differ to FILE.\r\n"
    "    Exit code of a report: 0 nothing differs, 1 something differs,\r\n"
    "    2 bad arguments or a log that cannot be read.\r\n"
    "vorlix.exe /diagnose FOLDER [/report FILE]\r\n"
    "    Shows what the rules find in the logs that /collect wrote into FOLDER:\r\n"
    "    each rule's verdict (fail, warn, pass, not judged), its evidence and\r\n"
    "    what to do, failures first. With /report, opens no window and writes\r\n"
    "    the verdicts to FILE. Exit code of a report: 0 no rule failed, 1 a\r\n"
    "    rule failed, 2 bad arguments or a bundle that cannot be read.\r\n"
    "vorlix.exe /compare folders F1 F2 F3 ... [/bad B1 B2 ...] [/report FILE]\r\n"
    "vorlix.exe /compare folders PARENT [/report FILE]\r\n"
    "    Many bundles (or every bundle in the folders of PARENT) in one matrix:\r\n"
    "    a row per fact that is not the same everywhere, a column per bundle.\r\n"
    "    A bundle whose diagnosis has a failure, or one named after /bad, is\r\n"
    "    bad; rows on which every bad bundle differs from the good ones come\r\n"
    "    first, rows on which the good ones already differ are hidden. Exit\r\n"
    "    code of a report: 0 nothing separates or differs, 1 something does,\r\n"
    "    2 bad arguments or no bundle to compare.\r\n"
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

std::string CompareLogsMismatch(CompareKind kind, const std::string& first,
                                const std::string& second) {
    LogKind firstKind = LogKindOfName(first);
    LogKind secondKind = LogKindOfName(second);
    // A name without a log extension (a log renamed on its way) is what the
    // command line says it is.
    for (LogKind* named : {&firstKind, &secondKind}) {
        if (named->compare == CompareKind::None) {
            named->compare = kind;
        }
    }
    const bool sections = firstKind.section.empty() || secondKind.section.empty() ||
                          firstKind.section == secondKind.section;
    if (firstKind.compare == kind && secondKind.compare == kind && sections) {
        return std::string();
    }
    return "Not two logs of one kind: " + NamedAs(first, firstKind) + " and " +
           NamedAs(second, secondKind) + ". This comparison needs two " + KindName(kind) + "s" +
           (kind == CompareKind::Analysis ? " of one section." : ".");
}

std::string DroppedLogsMismatch(const std::string& first, const std::string& second) {
    return "Not two logs of one kind: " + NamedAs(first, LogKindOfName(first)) + " and " +
           NamedAs(second, LogKindOfName(second)) + ".";
}

CompareKind DroppedLogsKind(const std::string& first, const std::string& second) {
    const LogKind kind = LogKindOfName(first);
    if (SameLogKind(kind, LogKindOfName(second))) {
        return kind.compare;
    }
    return IsMessagesLogPath(first) && IsMessagesLogPath(second) ? CompareKind::Analysis
                                                                 : CompareKind::None;
}

namespace {

// "/compare KIND FIRST SECOND [/report FILE]", KIND one of the three kinds of
// log or "folders".
void ParseCompare(const std::vector<std::string>& arguments, StartRequest& request) {
    request.mode = StartMode::BadArguments;
    if (arguments.size() == 6) {
        if (SwitchName(arguments[4]) != "report" || arguments[5].empty()) {
            return;
        }
        request.report = arguments[5];
    }
    const bool folders = FoldAsciiCase(arguments[1]) == "folders";
    const CompareKind kind = CompareKindOfWord(arguments[1]);
    if ((!folders && kind == CompareKind::None) || arguments[2].empty() || arguments[3].empty()) {
        return;
    }
    request.first = arguments[2];
    request.second = arguments[3];
    if (folders) {
        request.mode = StartMode::CompareFolders;
        return;
    }
    request.compareKind = kind;
    request.problem = CompareLogsMismatch(kind, request.first, request.second);
    request.mode = request.problem.empty() ? StartMode::Compare : StartMode::BadArguments;
}

// "/compare folders F1 ... Fn [/bad B1 ... Bm] [/report FILE]": two folders alone are the
// comparison of two bundles; one folder is a folder of bundles; more, or any after /bad, the
// matrix of many bundles.
void ParseFolders(const std::vector<std::string>& arguments, StartRequest& request) {
    request.mode = StartMode::BadArguments;
    bool bad = false;
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        const std::string name = SwitchName(arguments[i]);
        if (name == "report") {
            if (i + 2 != arguments.size() || arguments[i + 1].empty()) {
                return;
            }
            request.report = arguments[i + 1];
            break;
        }
        if (name == "bad") {
            if (bad) {
                return;
            }
            bad = true;
            continue;
        }
        if (!name.empty() || arguments[i].empty()) {
            return;  // another switch, or an empty folder
        }
        request.folders.push_back(arguments[i]);
        if (bad) {
            request.badFolders.push_back(arguments[i]);
        }
    }
    if (request.folders.empty() || (bad && request.badFolders.empty())) {
        return;
    }
    if (request.folders.size() == 2 && !bad) {
        request.first = request.folders[0];
        request.second = request.folders[1];
        request.folders.clear();
        request.mode = StartMode::CompareFolders;
        return;
    }
    request.mode = StartMode::CompareBundles;
}

// "/diagnose FOLDER [/report FILE]".
void ParseDiagnose(const std::vector<std::string>& arguments, StartRequest& request) {
    request.mode = StartMode::BadArguments;
    if (arguments.size() == 4) {
        if (SwitchName(arguments[2]) != "report" || arguments[3].empty()) {
            return;
        }
        request.report = arguments[3];
    }
    const FolderArgument folder = ReadFolderArgument(arguments[1]);
    if (!folder.problem.empty()) {
        request.problem = folder.problem;
        return;
    }
    request.first = folder.folder;
    request.mode = StartMode::Diagnose;
}

}  // namespace

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
    } else if (name == "diagnose" && (arguments.size() == 2 || arguments.size() == 4)) {
        ParseDiagnose(arguments, request);
    } else if (name == "compare" && arguments.size() >= 3 &&
               FoldAsciiCase(arguments[1]) == "folders") {
        ParseFolders(arguments, request);
    } else if (name == "compare" && (arguments.size() == 4 || arguments.size() == 6)) {
        ParseCompare(arguments, request);
    } else {
        request.mode = StartMode::BadArguments;
    }
    return request;
}
