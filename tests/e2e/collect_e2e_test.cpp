// End-to-end: "/collect" as a user runs it, and the support bundle it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/handles_win.h"
#include "tests/e2e/machine_state.h"
#include "tests/e2e/vorlix_session.h"

namespace {

const char kProductsKey[] = "SOFTWARE\\Classes\\Installer\\Products";
const char kSettingsLog[] = "C:\\Lensora_Brenhold.logAnalyzeSettings";

struct FolderFile {
    std::string name;
    unsigned long long size;
};

// The files directly in a folder (not its folders), in name order.
std::vector<FolderFile> FilesIn(const std::string& folder) {
    std::vector<FolderFile> files;
    WIN32_FIND_DATAA entry;
    const UniqueFind search(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!search) {
        return files;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            files.push_back(
                {entry.cFileName, (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) |
                                      entry.nFileSizeLow});
        }
    } while (FindNextFileA(search.Get(), &entry));
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
    return files;
}

// A folder that a test makes (or lets the program make) and that goes with the test.
class TestFolder {
public:
    explicit TestFolder(const std::string& path) : path_(path) { RemoveTree(path_); }
    ~TestFolder() { RemoveTree(path_); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// The manifest as a supporter reads it: its five head lines, then name and size of
// every file.
struct ReadManifest {
    std::vector<std::string> head;
    std::vector<FolderFile> files;
    bool wellFormed = false;
};

ReadManifest ManifestIn(const TestFolder& folder) {
    ReadManifest manifest;
    const std::string bytes = ReadFileBytes(folder.File("manifest.txt"));
    // Every line ends in CR LF, the last one too.
    if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0) {
        return manifest;
    }
    const std::vector<std::string> lines = Lines(bytes);
    if (lines.size() < 5) {
        return manifest;
    }
    manifest.head.assign(lines.begin(), lines.begin() + 5);
    for (size_t i = 5; i < lines.size(); ++i) {
        const size_t nameStart = lines[i].find('\t') + 1;
        const size_t sizeStart = lines[i].find('\t', nameStart) + 1;
        if (lines[i].compare(0, nameStart, "File\t") != 0 || sizeStart == 0) {
            return manifest;
        }
        manifest.files.push_back({lines[i].substr(nameStart, sizeStart - 1 - nameStart),
                                  std::stoull(lines[i].substr(sizeStart))});
    }
    manifest.wellFormed = true;
    return manifest;
}

// The local time as yyyymmddhhmmss, which sorts as time does.
std::string SortableNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    wsprintfA(text, "%04u%02u%02u%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond);
    return text;
}

// "dd.mm.yyyy hh:mm ss" in the same sortable form.
std::string SortableTimestamp(const std::string& stamp) {
    if (stamp.size() != 19) {
        return std::string();
    }
    return stamp.substr(6, 4) + stamp.substr(3, 2) + stamp.substr(0, 2) + stamp.substr(11, 2) +
           stamp.substr(14, 2) + stamp.substr(17, 2);
}

// The value of the system data log's "Windows version" line.
std::string WindowsVersionIn(const std::string& systemDataLog) {
    for (const std::string& line : Lines(systemDataLog)) {
        if (line.compare(0, 16, "Windows version ") == 0) {
            return line.substr(16);
        }
    }
    return "(no Windows version line)";
}

std::string Name(const char* path) {
    return std::string(path).substr(3);
}

// Checks that the folder holds exactly the logs named (and the messages log), listed in
// this order by its manifest with their sizes, each the same as the log under C:\; and
// that the manifest's head describes this run.
void ExpectBundle(const TestFolder& folder, const std::vector<std::string>& logs,
                  const FinishedRun& run, const std::string& before, const std::string& after) {
    std::vector<std::string> expected = logs;
    expected.push_back("Lensora_Brenhold.logDiagnosis");
    expected.push_back("Lensora_Brenhold.logMessages");
    const ReadManifest manifest = ManifestIn(folder);
    ASSERT_TRUE(manifest.wellFormed) << ReadFileBytes(folder.File("manifest.txt"));
    EXPECT_EQ(manifest.head[0], "Vorlix manifest");
    EXPECT_EQ(manifest.head[1], "Program\tVorlix V1.05");
    const std::string stamp = manifest.head[2].substr(4);
    EXPECT_EQ(manifest.head[2].substr(0, 4), "Run\t");
    EXPECT_LE(before, SortableTimestamp(stamp)) << stamp;
    EXPECT_GE(after, SortableTimestamp(stamp)) << stamp;
    EXPECT_EQ(manifest.head[3],
              "Windows\t" + WindowsVersionIn(ReadFileBytes(folder.File(Name(kLogs[0])))));
    EXPECT_EQ(manifest.head[4], "Exit code\t" + std::to_string(run.exitCode));
    ASSERT_EQ(manifest.files.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(manifest.files[i].name, expected[i]) << i;
        const std::string copy = ReadFileBytes(folder.File(expected[i]));
        EXPECT_EQ(manifest.files[i].size, copy.size()) << expected[i];
        EXPECT_EQ(copy, ReadFileBytes("C:\\" + expected[i])) << expected[i];
    }
}

std::vector<std::string> NamesOf(const std::vector<FolderFile>& files) {
    std::vector<std::string> names;
    for (const FolderFile& file : files) {
        names.push_back(file.name);
    }
    return names;
}

std::string ClosingLine(size_t logs, const std::string& folder, size_t messages,
                        const std::string& messagesLog) {
    const std::string where = "Vorlix: " + std::to_string(logs) + " logs in " + folder;
    if (messages == 0) {
        return where + ", no messages.\r\n";
    }
    return where + ", " + std::to_string(messages) + (messages == 1 ? " message" : " messages") +
           " (see " + messagesLog + ").\r\n";
}

// The machine state a test needs; FAILS (rather than skips) when the prefix is not as an
// earlier run should have left it.
void ExpectPluginNotInstalled() {
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey))
        << "HKCU\\" << kSettingsKey
        << " exists: an earlier run that ended part way left it; delete it from the prefix";
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductsKey))
        << "HKLM\\" << kProductsKey << " exists in the prefix; the tests expect a bare prefix";
}

TEST(CollectBundle, ASecondRunIntoTheSameFolderLeavesOnlyItsFilesAndAManifestOfThem) {
    ExpectPluginNotInstalled();
    LogsSetAside earlierLogs;
    const TestFolder folder("C:\\vorlix_e2e_bundle");
    ASSERT_TRUE(CreateDirectoryA(folder.Path().c_str(), nullptr));
    WriteFileBytes(folder.File("notes.txt"), "the user's own notes\r\n");
    const std::string arguments = "/collect " + folder.Path();

    // The first machine: the plug-in installed and started once, products registered.
    {
        const PluginFolder plugin("plugin_some_entry_points.dll");
        ASSERT_TRUE(plugin.Copied());
        const TemporaryKey settings(HKEY_CURRENT_USER, kSettingsKey);
        const TemporaryKey products(HKEY_LOCAL_MACHINE, kProductsKey);
        ASSERT_TRUE(settings.Valid() && products.Valid());
        const std::string before = SortableNow();
        const FinishedRun run = RunToEnd(arguments);
        const std::string after = SortableNow();
        EXPECT_EQ(run.exitCode, 0u) << ReadFileBytes(kMessagesLog);
        EXPECT_FALSE(run.showedWindow);
        EXPECT_EQ(WithoutDiagnosisHeadline(run.output), ClosingLine(13, folder.Path(), 0, ""))
            << run.output;
        ExpectBundle(folder,
                     {Name(kLogs[0]), Name(kLogs[1]), Name(kLogs[3]), Name(kLogs[4]),
                      Name(kLogs[5]), Name(kLogs[6]), Name(kLogs[7]), Name(kLogs[8]),
                      Name(kLogs[9]), Name(kLogs[10]), Name(kLogs[11])},
                     run, before, after);
    }
    // What a newer program might have placed, and a copy made read-only by its receiver.
    WriteFileBytes(folder.File("Lensora_Brenhold.logNewerKind"), "x\r\n");
    SetFileAttributesA(folder.File(Name(kLogs[10])).c_str(), FILE_ATTRIBUTE_READONLY);

    // The second machine has neither: the settings log of the first stays under C:\ but
    // must not stay in the bundle beside the second one's logs.
    const std::string before = SortableNow();
    const FinishedRun run = RunToEnd(arguments);
    const std::string after = SortableNow();
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(FileExistsAt(kSettingsLog));
    const std::vector<std::string> logs = {Name(kLogs[0]), Name(kLogs[1]),  Name(kLogs[3]),
                                           Name(kLogs[6]), Name(kLogs[7]),  Name(kLogs[8]),
                                           Name(kLogs[9]), Name(kLogs[10]), Name(kLogs[11])};
    ExpectBundle(folder, logs, run, before, after);
    std::vector<std::string> expectedFiles = logs;
    expectedFiles.push_back("Lensora_Brenhold.logDiagnosis");
    expectedFiles.push_back("Lensora_Brenhold.logMessages");
    expectedFiles.push_back("manifest.txt");
    expectedFiles.push_back("notes.txt");
    std::sort(expectedFiles.begin(), expectedFiles.end());
    EXPECT_EQ(NamesOf(FilesIn(folder.Path())), expectedFiles);
    EXPECT_EQ(ReadFileBytes(folder.File("notes.txt")), "the user's own notes\r\n");
    const size_t messages = Lines(ReadFileBytes(kMessagesLog)).size();
    EXPECT_GE(messages, 3u);
    EXPECT_EQ(WithoutDiagnosisHeadline(run.output),
              ClosingLine(logs.size() + 2, folder.Path(), messages,
                          folder.File("Lensora_Brenhold.logMessages")))
        << run.output;
    DeleteFileA(kMessagesLog);
}

bool Holds(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(CollectBundle, EveryMessageNamesWhatFailed) {
    ExpectPluginNotInstalled();
    LogsSetAside earlierLogs;
    const TestFolder folder("C:\\vorlix_e2e_named");
    ASSERT_TRUE(CreateDirectoryA(folder.Path().c_str(), nullptr));
    // A folder where the copy of the service log belongs.
    ASSERT_TRUE(CreateDirectoryA(folder.File(Name(kLogs[11])).c_str(), nullptr));
    // The runtime section's log cannot be rewritten.
    WriteFileBytes(kLogs[6], "old runtime log\r\n");
    ASSERT_TRUE(SetFileAttributesA(kLogs[6], FILE_ATTRIBUTE_READONLY));
    // An entry too long for its log field.
    const std::string longEntry = "C:\\" + std::string(100, 'p');
    const ScopedPath path("C:\\windows\\system32;" + longEntry);

    const FinishedRun run = RunToEnd("/collect " + folder.Path());
    EXPECT_EQ(run.exitCode, 1u);
    const std::vector<std::string> messages = Lines(ReadFileBytes(kMessagesLog));
    const std::string denied = TrimmedSystemText(ERROR_ACCESS_DENIED);
    for (const std::string& expected : std::vector<std::string>{
             "Vorlix   CreateFile\t" + std::string(kLogs[6]) + "  " + denied,
             "Vorlix Error\tHKCU\\Software\\Brenhold-Soft\\Mach3Lensora  Plugin not installed, or "
             "not at least started once",
             "Vorlix Error\tC:\\Lensora_Brenhold.logAnalyzePATH \"" + longEntry +
                 "\"  BLANK_TAB < len",
             "Vorlix   CopyFile\t" + folder.File(Name(kLogs[11])) + "  " + denied,
         }) {
        EXPECT_TRUE(Holds(messages, expected)) << expected << "\nin\n"
                                               << ReadFileBytes(kMessagesLog);
    }
    // The folder in the way is left, and the manifest lists no service log.
    EXPECT_EQ(GetFileAttributesA(folder.File(Name(kLogs[11])).c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    const ReadManifest manifest = ManifestIn(folder);
    ASSERT_TRUE(manifest.wellFormed);
    for (const FolderFile& file : manifest.files) {
        EXPECT_NE(file.name, Name(kLogs[11]));
        EXPECT_NE(file.name, Name(kLogs[6]));
    }
    EXPECT_EQ(ReadFileBytes(folder.File("Lensora_Brenhold.logMessages")),
              ReadFileBytes(kMessagesLog));
    SetFileAttributesA(kLogs[6], FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kMessagesLog);
}

TEST(CollectBundle, AFolderThatCannotBeMadeIsNamedWithTheSystemsReason) {
    // Under Wine Z:\ is the Unix root, which the test user cannot write to.
    const char probe[] = "Z:\\vorlix_e2e_probe";
    SetLastError(0);
    const bool made = CreateDirectoryA(probe, nullptr) != FALSE;
    const DWORD error = GetLastError();
    if (made) {
        RemoveDirectoryA(probe);
    }
    ASSERT_FALSE(made) << "the test user may create folders in Z:\\; the test needs a folder "
                          "it cannot write to";
    ASSERT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    LogsSetAside earlierLogs;

    const FinishedRun run = RunToEnd("/collect Z:\\vorlix_e2e_denied\\pc1");
    EXPECT_EQ(run.exitCode, 1u);
    const std::vector<std::string> messages = Lines(ReadFileBytes(kMessagesLog));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "Vorlix   SHCreateDirectoryEx\tZ:\\vorlix_e2e_denied  " +
                                   TrimmedSystemText(ERROR_ACCESS_DENIED));
    int written = 0;
    for (const char* log : kLogs) {
        written += FileExistsAt(log) ? 1 : 0;
    }
    EXPECT_EQ(WithoutDiagnosisHeadline(run.output),
              ClosingLine(written + 2, "C:\\ (Z:\\vorlix_e2e_denied\\pc1 could not be made)",
                          messages.size(), kMessagesLog))
        << run.output;
    DeleteFileA(kMessagesLog);
}

// A relative folder means the folder where the user started the program,
// even though the analysis moves into the plug-in folder when there is one.
TEST(CollectBundle, CopiesEveryLogItWroteIntoANewRelativeFolder) {
    LogsSetAside earlierLogs;
    const PluginFolder pluginFolder;
    const TestFolder top("C:\\vorlix e2e logs");
    const TestFolder folder("C:\\vorlix e2e logs\\pc 1");
    // Without a settings key this log is not rewritten: an old one stays
    // where it is and must not be passed on as if it were new.
    WriteFileBytes(kSettingsLog, "01.01.2020 00:00 00\r\n");

    const FinishedRun run = RunToEnd("/collect \"vorlix e2e logs\\pc 1\"", "C:\\");
    EXPECT_EQ(run.exitCode, 1u);
    std::vector<std::string> expected = {"Lensora_Brenhold.logDiagnosis",
                                         "Lensora_Brenhold.logMessages", "manifest.txt"};
    EXPECT_EQ(ReadFileBytes(folder.File("Lensora_Brenhold.logDiagnosis")),
              ReadFileBytes(kDiagnosisLog));
    for (const char* log : kLogs) {
        if (log != std::string(kSettingsLog) && FileExistsAt(log)) {
            expected.push_back(Name(log));
            EXPECT_EQ(ReadFileBytes(folder.File(Name(log))), ReadFileBytes(log)) << log;
        }
    }
    EXPECT_GE(expected.size(), 10u);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesOf(FilesIn(folder.Path())), expected);
    EXPECT_EQ(ReadFileBytes(folder.File("Lensora_Brenhold.logMessages")),
              ReadFileBytes(kMessagesLog));
    EXPECT_FALSE(ReadFileBytes(kMessagesLog).empty());
    EXPECT_FALSE(FileExistsAt("C:\\mach3\\plugIns\\vorlix e2e logs"));
    DeleteFileA(kMessagesLog);
}

// "FOLDER\" in quotes, as tab completion writes it, at the longest a folder may be: its
// longest log name then just fits the 259 characters of a path.
TEST(CollectBundle, TheLongestFolderWithABackslashInQuotesHoldsTheLongestLogName) {
    ExpectPluginNotInstalled();
    LogsSetAside earlierLogs;
    const std::string longest = "Lensora_Brenhold.logAnalyzeInstalledProgs";
    std::string path = "C:\\vorlix_e2e_";
    path += std::string(259 - 1 - longest.size() - path.size(), 'l');
    const TestFolder folder(path);
    const TemporaryKey products(HKEY_LOCAL_MACHINE, kProductsKey);
    ASSERT_TRUE(products.Valid());

    const FinishedRun run = RunToEnd("/collect \"" + path + "\\\"");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(folder.File(longest).size(), 259u);
    EXPECT_EQ(ReadFileBytes(folder.File(longest)), ReadFileBytes("C:\\" + longest));
    EXPECT_NE(run.output.find(" logs in " + path + ", "), std::string::npos) << run.output;
    EXPECT_TRUE(ManifestIn(folder).wellFormed);
    DeleteFileA(kMessagesLog);
}

TEST(CollectArguments, UsageAndWhatIsNoFolder) {
    FinishedRun run = RunToEnd("/?");
    EXPECT_EQ(run.exitCode, 0u);
    for (const char* form :
         {"vorlix.exe /collect [FOLDER]",
          "vorlix.exe /compare services|exports|analysis FIRST SECOND [/report FILE]",
          "vorlix.exe /compare folders GOOD BAD [/report FILE]"}) {
        EXPECT_NE(run.output.find(form), std::string::npos) << run.output;
    }
    const std::string tooLong = "C:\\" + std::string(215, 'x');
    const struct {
        std::string arguments;
        std::string reason;  // a line the refusal must hold; empty: the usage alone
    } cases[] = {
        {"/collect C:\\a C:\\b", ""},
        {"/compare services C:\\a.logServices", ""},
        {"/compare files C:\\a C:\\b", ""},
        {"/analyze", ""},
        {"/collect -x", "\"-x\" is a switch, not a folder"},
        {"/collect \"D:\\a\\\" b", "holds a quote"},
        {"/collect " + tooLong, "is 218 characters long; it may have at most 217"},
    };
    for (const auto& c : cases) {
        run = RunToEnd(c.arguments);
        EXPECT_EQ(run.exitCode, 2u) << c.arguments;
        EXPECT_EQ(run.output.compare(0, 16, "Bad arguments.\r\n"), 0) << run.output;
        EXPECT_NE(run.output.find("vorlix.exe /collect [FOLDER]"), std::string::npos)
            << c.arguments;
        if (!c.reason.empty()) {
            EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
        }
        EXPECT_FALSE(run.showedWindow) << c.arguments;
    }
    EXPECT_FALSE(FileExistsAt(kMessagesLog));
}

}  // namespace
