#include "report/log_layouts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "report/log_paths.h"

namespace {

// A field as the writer pads it: to the width, or not at all when it is as
// long or longer.
std::string Pad(const std::string& text, size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

// A field of a row that keeps its end: two blanks at least.
std::string PadKeepingEnd(const std::string& text, size_t width) {
    return text.size() + 2 <= width ? Pad(text, width) : text + "  ";
}

bool Shaped(const char* logPath, const std::string& line, bool firstRecord = false) {
    const LogLayout* layout = LayoutOfLogName(logPath);
    if (layout == nullptr) {
        ADD_FAILURE() << "no layout for " << logPath;
        return false;
    }
    // In a block of exactly its size: a look past the end is one the sanitizer sees.
    std::unique_ptr<char[]> exact(new char[line.size()]);
    std::copy(line.begin(), line.end(), exact.get());
    return HasLineShape(*layout, exact.get(), line.size(), firstRecord);
}

const std::string kSpooler = Pad("Print Spooler", 90) + Pad("Spooler", 60) +
                             Pad("Win32_OWN_PROCESS", 25) + "Service Running";

TEST(LogLayouts, ServiceLinesStandAtTheirWidths) {
    const struct {
        const char* what;
        std::string line;
        bool shaped;
    } cases[] = {
        {"as written", kSpooler, true},
        {"blanks after it", kSpooler + "   ", true},
        {"no display name",
         Pad("", 90) + Pad("Svc", 60) + Pad("KERNEL_DRIVER", 25) + "Service Stopped", true},
        {"a display name with two blanks inside",
         Pad("Foo  Bar", 90) + Pad("Foo", 60) + Pad("KERNEL_DRIVER", 25) + "Service Stopped", true},
        {"a display name that fills its field",
         std::string(95, 'd') + Pad("Svc", 60) + Pad("KERNEL_DRIVER", 25) + "Service Stopped",
         true},
        {"two such lines joined",
         std::string(95, 'd') + Pad("Svc", 60) + Pad("KERNEL_DRIVER", 25) + "Service Stopped" +
             kSpooler,
         false},
        {"an unknown state code",
         Pad("A", 90) + Pad("a", 60) + Pad("TYPE 0x400", 25) + "Unknown state 9", true},
        {"no state", Pad("A", 90) + Pad("a", 60) + "KERNEL_DRIVER", false},
        {"a state that is none", Pad("A", 90) + Pad("a", 60) + Pad("KERNEL_DRIVER", 25) + "Running",
         false},
        // Two bytes of a Windows-1252 name read as one UTF-8 character move
        // every field after it one place left; the other way round, right.
        {"one place left",
         Pad("Microsoft\xAE LifeCam", 89) + Pad("LifeCam", 60) + Pad("Win32_OWN_PROCESS", 25) +
             "Service Running",
         false},
        {"one place right",
         Pad("Microsoft\xC2\xAE LifeCam", 91) + Pad("LifeCam", 60) + Pad("Win32_OWN_PROCESS", 25) +
             "Service Running",
         false},
        {"blanks collapsed", "Print Spooler Spooler Win32_OWN_PROCESS Service Running", false},
        {"saved as CSV", "Print Spooler,Spooler,Win32_OWN_PROCESS,Service Running", false},
        {"tab-separated", "Print Spooler\tSpooler\tWin32_OWN_PROCESS\tService Running", false},
        {"wrapped at 76: first piece", kSpooler.substr(0, 76), false},
        {"wrapped at 76: second piece", kSpooler.substr(76, 76), false},
        {"wrapped at 76: last piece", kSpooler.substr(152), false},
        {"cut inside the state", kSpooler.substr(0, kSpooler.size() - 3), false},
        {"a timestamp line", "08.12.2026 15:29 59", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Shaped(kServiceLogPath, c.line), c.shaped) << c.what;
    }
}

TEST(LogLayouts, AnalysisAndExportLinesStandAtTheirWidths) {
    const struct {
        const char* log;
        const char* what;
        std::string line;
        bool shaped;
    } cases[] = {
        {kSettingsLogPath, "a value", Pad("Lensora Offset X", 90) + "0.000", true},
        {kSettingsLogPath, "an empty value", Pad("Lensora Font face name", 90), true},
        {kSettingsLogPath, "its blanks removed", "Lensora Font face name", true},
        {kSettingsLogPath, "a value one place left", Pad("Lensora Offset X", 89) + "0.000", false},
        {kSettingsLogPath, "a value one place right", Pad("Lensora Offset X", 91) + "0.000", false},
        {kSettingsLogPath, "the second piece of a wrapped line",
         (Pad("Lensora Offset X", 90) + "0.000").substr(76), false},
        {kSettingsLogPath, "quoted", "> " + Pad("Lensora Offset X", 90) + "0.000", false},
        {kRuntimeLogPath, "a name with two blanks inside",
         Pad("Microsoft Visual C++ 2010  x86 Redistributable", 90) + "Not installed", true},
        {kElementLogPath, "found", Pad("C:\\Mach3\\Plugins\\lensora.dll", 90) + "found", true},
        {kElementLogPath, "no result", "C:\\Mach3\\Plugins\\lensora.dll", false},
        {kElementLogPath, "a path longer than its field", std::string(100, 'p') + "Not found",
         true},
        {kPathLogPath, "an entry", Pad("C:\\windows", 90) + "PATH", true},
        {kPathLogPath, "the PATH value first", "C:\\windows;C:\\windows\\system32", true},
        {kPathLogPath, "the PATH value later", "C:\\windows;C:\\windows\\system32", false},
        {kPathLogPath, "an entry longer than its field", std::string(120, 'e') + "PATH", true},
        {kPathLogPath, "another mark", Pad("C:\\windows", 90) + "PATX", false},
        {kElementLogPath, "a path longer than its field, then two fields",
         std::string(100, 'p') + "  found  found", false},
        {kFileVersionsLogPath, "a field inside the path's padding",
         Pad("C:\\a.dll  x", 90) + PadKeepingEnd("1.0", 80) + "32-bit", false},
        {kFileVersionsLogPath, "path, version, kind",
         PadKeepingEnd("C:\\Mach3\\Plugins\\lensora.dll", 90) + PadKeepingEnd("1.0.0.5", 80) +
             "32-bit",
         true},
        {kFileVersionsLogPath, "no version",
         PadKeepingEnd("C:\\Mach3\\Plugins\\lensora.dll", 90) + PadKeepingEnd("", 80) + "no image",
         true},
        {kFileVersionsLogPath, "a path that keeps its end",
         PadKeepingEnd(std::string(89, 'p'), 90) + PadKeepingEnd("1.0", 80) + "32-bit", true},
        {kFileVersionsLogPath, "a path far too long",
         PadKeepingEnd(std::string(150, 'p'), 90) + PadKeepingEnd("1.0", 80) + "32-bit", true},
        {kFileVersionsLogPath, "three blanks after a long path",
         std::string(150, 'p') + "   " + PadKeepingEnd("1.0", 80) + "32-bit", false},
        {kFileVersionsLogPath, "no kind", PadKeepingEnd("C:\\a.dll", 90) + "1.0", false},
        {kExportLogPath, "an entry point", Pad("Config", 30) + "found", true},
        {kExportLogPath, "an entry point one place left", Pad("Config", 29) + "found", false},
        {kSystemDataLogPath, "any line of text", "CPU brand AMD EPYC", true},
        {kSystemDataLogPath, "a line that starts with blanks", "   X", false},
        {kProductsLogPath, "a product", "Sprachpaket f\xFCr Deutsch", true},
        {kMessagesLogPath, "a message", "Vorlix   CreateFile\tC:\\x.log  Access denied.", true},
        {kMessagesLogPath, "no tab", "Vorlix   CreateFile C:\\x.log  Access denied.", false},
        {kMessagesLogPath, "two tabs", "Vorlix\tCreateFile\tAccess denied.", false},
        {kMessagesLogPath, "a piece after the break", "ss denied.", false},
    };
    for (const auto& c : cases) {
        const bool firstRecord = std::string(c.what) == "the PATH value first";
        EXPECT_EQ(Shaped(c.log, c.line, firstRecord), c.shaped) << c.log << ": " << c.what;
    }
}

TEST(LogLayouts, EveryLogOfTheProgramHasOneFoundByItsExtension) {
    for (int i = 0; LayoutAt(i) != nullptr; ++i) {
        const char* path = LayoutLogPath(*LayoutAt(i));
        EXPECT_EQ(LayoutOfLogName(path), LayoutAt(i)) << path;
        EXPECT_EQ(std::string(LayoutName(*LayoutAt(i))).find("log"),
                  std::string(LayoutName(*LayoutAt(i))).size() - 3)
            << path;
    }
    // A log added to the program needs its line here (report/log_layouts.cpp).
    for (const char* path : kTestLogPaths) {
        EXPECT_NE(LayoutOfLogName(path), nullptr) << path;
    }
    EXPECT_NE(LayoutOfLogName(kMessagesLogPath), nullptr);
    EXPECT_EQ(LayoutOfLogName("D:\\mail\\pc2.LOGSERVICES"), LayoutOfLogName(kServiceLogPath));
    EXPECT_EQ(LayoutOfLogName("D:/mail/pc2.logAnalyzeSettings"), LayoutOfLogName(kSettingsLogPath));
    EXPECT_EQ(LayoutOfLogName("D:\\PC2.LOGANALYZESETTINGS"), LayoutOfLogName(kSettingsLogPath));
    for (const char* other : {"C:\\Lensora_Brenhold.logServices.txt", "C:\\a.logAnalyze",
                              "C:\\logServices", "", "C:\\a.logServices\\"}) {
        EXPECT_EQ(LayoutOfLogName(other), nullptr) << other;
    }
}

// Only a service may lack its first field, and only the PATH log starts with
// a line of its own kind: a first line of free text, or one that starts with
// blanks, is none of the others' shape.
TEST(LogLayouts, FreeLinesAndEmptyFirstFieldsOnlyWhereTheWriterWritesThem) {
    const std::string freeText = "C:\\windows;C:\\windows\\system32";
    for (int i = 0; LayoutAt(i) != nullptr; ++i) {
        const LogLayout& layout = *LayoutAt(i);
        const std::string path = LayoutLogPath(layout);
        const bool free = path == kSystemDataLogPath || path == kProductsLogPath;
        const bool messages = path == kMessagesLogPath;
        const std::string indented = std::string(90, ' ') + "Beep";
        EXPECT_FALSE(HasLineShape(layout, indented.data(), indented.size(), false)) << path;
        if (free || messages) {
            continue;
        }
        // Free text of two fields is the first record of a PATH log alone.
        const std::string twoFields = freeText + "  more";
        EXPECT_EQ(HasLineShape(layout, twoFields.data(), twoFields.size(), true),
                  path == kPathLogPath)
            << path;
        EXPECT_FALSE(HasLineShape(layout, twoFields.data(), twoFields.size(), false)) << path;
    }
    const std::string service =
        std::string(90, ' ') + Pad("Beep", 60) + Pad("KERNEL_DRIVER", 25) + "Service Running";
    EXPECT_TRUE(
        HasLineShape(*LayoutOfLogName(kServiceLogPath), service.data(), service.size(), false));
}

}  // namespace
