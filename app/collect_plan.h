// Portable parts of the collect run: its message lines, its folder argument, the names it
// places in a folder and its closing line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One message as exactly one line: caption, tab, the subject (the folder, file, key,
// setting or text that the message concerns) and two blanks when there is one, the text,
// CR LF. Inner line breaks and tabs become blanks; trailing blanks of system error texts
// are dropped.
std::string MessageLine(const char* caption, const char* subject, const char* text);

// The folder argument of "/collect" as the user meant it: a quote at its end stands for the
// backslash before it (the C runtime turns "D:\logs\" into D:\logs", and a folder name
// cannot hold a quote). `problem` is one line saying why the argument is no folder, or empty.
struct FolderArgument {
    std::string folder;
    std::string problem;
};
FolderArgument ReadFolderArgument(const std::string& argument);

// The longest folder path that every file of a bundle fits into within the 259 characters
// of a path of the ANSI file API; a line saying so when `folder` is longer, else empty.
std::size_t MaxCollectFolderLength();
std::string FolderLengthProblem(const std::string& folder);

// The folders to create, outermost first, for a full path to exist; neither a drive
// root nor a UNC server or share is among them. A trailing backslash is ignored.
std::vector<std::string> FolderChain(const std::string& fullPath);

// Whether a file in a bundle folder comes from an earlier run: every name the program
// gives its logs (Lensora_Brenhold.log and a kind) and the manifest, in any letter case.
bool IsEarlierBundleFile(const std::string& name);

// What the console is told when the run ends.
struct CollectSummary {
    int logs = 0;               // files of the run in `logFolder`, the messages log among them
    std::string logFolder;      // the folder given, or C:\ where the logs are written
    std::string folderNotMade;  // a folder given that could not be made, else empty
    int messages = 0;
    std::string messagesLog;  // the file holding every message
    std::string diagnosis;    // the diagnosis' headline; empty when there is none
};
std::string ClosingLine(const CollectSummary& summary);
