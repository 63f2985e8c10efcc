#include "platform/path_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "report/log_paths.h"

TEST(PathText, TheFileNameIsWhatFollowsTheLastSeparatorOrDrive) {
    const struct {
        const char* path;
        const char* name;
        const char* folder;
        const char* extension;
    } cases[] = {
        {"C:\\Mach3\\plugins\\lensora.dll", "lensora.dll", "C:\\Mach3\\plugins", ".dll"},
        {"a/b\\c", "c", "a/b", ""},
        {"a\\b/c.txt", "c.txt", "a\\b", ".txt"},
        {"C:", "", "", ""},
        {"C:\\", "", "C:", ""},
        {"C:name.log", "name.log", "", ".log"},
        {"C:\\a.dll", "a.dll", "C:", ".dll"},
        {"\\\\server\\share\\", "", "\\\\server\\share", ""},
        {"\\\\server\\share\\x.log", "x.log", "\\\\server\\share", ".log"},
        {"D:\\logs\\", "", "D:\\logs", ""},
        {"D:\\logs//", "", "D:\\logs/", ""},
        {"", "", "", ""},
        {"lensora.dll", "lensora.dll", "", ".dll"},
        {"Lensora_Brenhold.logAnalyzePATH", "Lensora_Brenhold.logAnalyzePATH", "",
         ".logAnalyzePATH"},
        // A dot in a folder's name is no extension of the file.
        {"C:\\reports.html\\out", "out", "C:\\reports.html", ""},
        {"C:\\x\\.hidden", ".hidden", "C:\\x", ".hidden"},
        {"C:\\x\\a.b.c", "a.b.c", "C:\\x", ".c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileNameOfPath(c.path), c.name) << c.path;
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtensionOfPath(c.path), c.extension) << c.path;
    }
}

TEST(PathText, AFolderAndANameJoinWithOneBackslash) {
    const struct {
        const char* folder;
        const char* name;
        const char* path;
    } cases[] = {
        {"D:\\logs", "manifest.txt", "D:\\logs\\manifest.txt"},
        {"D:\\logs\\", "manifest.txt", "D:\\logs\\manifest.txt"},
        {"D:\\logs\\\\", "manifest.txt", "D:\\logs\\manifest.txt"},
        {"D:/logs/", "manifest.txt", "D:/logs\\manifest.txt"},
        {"C:", "a.dll", "C:\\a.dll"},
        {"C:\\", "a.dll", "C:\\a.dll"},
        {"\\\\server\\share", "x.log", "\\\\server\\share\\x.log"},
        {"\\\\server\\share\\", "x.log", "\\\\server\\share\\x.log"},
        {"\\", "x.log", "\\x.log"},
        {"", "x.log", "x.log"},
        {"plugins", "*", "plugins\\*"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JoinFolderAndName(c.folder, c.name), c.path) << c.folder << " + " << c.name;
    }
}

TEST(PathText, AJoinedPathGivesBackItsFolderAndName) {
    // The dependency search takes the host's folder apart and joins names to it again.
    for (const char* path : {"C:\\a.dll", "C:\\Mach3\\Mach3.exe", "\\\\s\\share\\b.dll"}) {
        EXPECT_EQ(JoinFolderAndName(FolderOfPath(path), FileNameOfPath(path)), path);
    }
}

TEST(PathText, APlainFileNameOpensAFileInTheFolderOnly) {
    const struct {
        const char* name;
        bool plain;
    } cases[] = {
        {"manifest.txt", true},
        {"Lensora_Brenhold.logServices", true},
        {"name with blanks.log", true},
        {"..log", true},
        {"", false},
        {".", false},
        {"..", false},
        {"a\\b.dll", false},
        {"a/b.dll", false},
        {"c:x.dll", false},
        {"a?.dll", false},
        {"*.dll", false},
        {"t\tb.dll", false},
        {"\x1f.log", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
    }
}

TEST(PathText, ALogNameIsThePrefixInAnyCaseAndAKind) {
    const struct {
        const char* name;
        bool collected;
    } cases[] = {
        {"Lensora_Brenhold.logServices", true},
        {"lensora_brenhold.logdlls", true},
        {"LENSORA_BRENHOLD.LOGANALYZEPATH", true},
        {"Lensora_Brenhold.logSomethingNewer", true},
        {"Lensora_Brenhold.logServices.txt", true},
        {"Lensora_Brenhold.log", false},
        {"Lensora_Brenhold.lo", false},
        {"Lensora_Brenhold.txt", false},
        {"Lensora-Brenhold.logServices", false},
        {"old Lensora_Brenhold.logServices", false},
        {"C:\\Lensora_Brenhold.logServices", false},
        {"manifest.txt", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsCollectedLogName(c.name), c.collected) << c.name;
    }
}

TEST(PathText, EveryLogThePathsNameIsALogNameByThePrefix) {
    std::vector<const char*> paths(std::begin(kTestLogPaths), std::end(kTestLogPaths));
    paths.push_back(kMessagesLogPath);
    paths.push_back(kDiagnosisLogPath);
    for (const char* path : paths) {
        EXPECT_EQ(std::string(path).compare(0, 3, "C:\\"), 0) << path;
        EXPECT_TRUE(IsCollectedLogName(FileNameOfPath(path))) << path;
    }
}
