#include "platform/dependency_walk.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/path_text.h"
#include "report/dependency_texts.h"

namespace {

constexpr std::uint16_t kI386 = 0x14C;
constexpr std::uint16_t kAmd64 = 0x8664;

ImportedDll Dll(const std::string& name, bool delayLoaded = false) {
    ImportedDll dll;
    dll.name = name;
    dll.delayLoaded = delayLoaded;
    return dll;
}

PeImage ImageNeeding(std::uint16_t machine, std::vector<ImportedDll> imports) {
    PeImage image;
    image.isImage = true;
    image.machine = machine;
    image.is64Bit = machine == kAmd64;
    image.imports = std::move(imports);
    return image;
}

// A machine's files by name; names not listed are nowhere. Counts the look-ups.
class FakeLocator : public DllLocator {
public:
    std::map<std::string, LocatedDll> files;
    std::vector<std::string> asked;

    void File(const std::string& name, PeImage image) {
        LocatedDll& dll = files[name];
        dll.where = LocatedDll::Where::File;
        dll.path = "C:\\dlls\\" + name;
        dll.readable = true;
        dll.image = std::move(image);
    }
    LocatedDll Locate(const std::string& fileName) override {
        asked.push_back(fileName);
        const auto found = files.find(fileName);
        return found == files.end() ? LocatedDll() : found->second;
    }
    std::vector<LocatedDll> LocateAll(const std::string& fileName) override {
        const auto found = files.find(fileName);
        return found == files.end() || found->second.where != LocatedDll::Where::File
                   ? std::vector<LocatedDll>()
                   : std::vector<LocatedDll>{found->second};
    }
};

// "name | path | result" per needed DLL, as the dependencies section shows them.
std::vector<std::string> Rows(const std::vector<NeededDll>& needed) {
    std::vector<std::string> rows;
    for (const NeededDll& dll : needed) {
        rows.push_back(dll.name + " | " + dll.path + " | " + NeededResultText(dll));
    }
    return rows;
}

TEST(DependencyWalk, BreadthFirstEachDllOnceAndOnlyLoadableFilesFollowed) {
    FakeLocator disk;
    disk.File("opencv_core248.dll",
              ImageNeeding(kI386, {Dll("msvcp100.dll"), Dll("MSVCR100.dll")}));
    disk.File("msvcr100.dll", ImageNeeding(kI386, {Dll("KERNEL32.dll"), Dll("lensora.dll")}));
    disk.File("wide.dll", ImageNeeding(kAmd64, {Dll("never_asked.dll")}));
    disk.File("text.dll", PeImage());
    disk.files["locked.dll"] = {LocatedDll::Where::File, "C:\\dlls\\locked.dll", false, {}};
    disk.files["KERNEL32.dll"] = {LocatedDll::Where::Loaded, "C:\\windows\\system32\\kernel32.dll",
                                  false, ImageNeeding(kI386, {Dll("ntdll_never_asked.dll")})};
    const PeImage plugin =
        ImageNeeding(kI386, {Dll("opencv_core248.dll"), Dll("msvcr100.dll"),
                             Dll("api-ms-win-core-synch-l1-2-0.dll"), Dll("EXT-MS-win-ntuser.dll"),
                             Dll("wide.dll"), Dll("text.dll"), Dll("locked.dll"),
                             Dll("..\\escape.dll"), Dll("cuda", true)});

    const std::vector<NeededDll> needed = WalkDependencies("lensora.dll", plugin, kI386, disk);

    EXPECT_EQ(Rows(needed),
              (std::vector<std::string>{
                  "opencv_core248.dll | C:\\dlls\\opencv_core248.dll | 32-bit (needed by "
                  "lensora.dll)",
                  "msvcr100.dll | C:\\dlls\\msvcr100.dll | 32-bit (needed by lensora.dll)",
                  "api-ms-win-core-synch-l1-2-0.dll |  | Not found (needed by lensora.dll)",
                  "EXT-MS-win-ntuser.dll |  | Not found (needed by lensora.dll)",
                  "wide.dll | C:\\dlls\\wide.dll | 64-bit (needed by lensora.dll)",
                  "text.dll | C:\\dlls\\text.dll | no image (needed by lensora.dll)",
                  "locked.dll | C:\\dlls\\locked.dll | not readable (needed by lensora.dll)",
                  "..\\escape.dll |  | Not found (needed by lensora.dll)",
                  "cuda |  | Not found (delay-loaded by lensora.dll)",
                  "msvcp100.dll |  | Not found (needed by opencv_core248.dll)",
                  "KERNEL32.dll | C:\\windows\\system32\\kernel32.dll | 32-bit (needed by "
                  "msvcr100.dll)",
              }));
    // Each name asked once, ".dll" added to a bare name; a name with a folder and the plug-in
    // itself are never looked for. Without an API-set schema, API sets are files.
    EXPECT_EQ(disk.asked,
              (std::vector<std::string>{"opencv_core248.dll", "msvcr100.dll",
                                        "api-ms-win-core-synch-l1-2-0.dll", "EXT-MS-win-ntuser.dll",
                                        "wide.dll", "text.dll", "locked.dll", "cuda.dll",
                                        "msvcp100.dll", "KERNEL32.dll"}));
}

TEST(DependencyWalk, ALoadTimeNeedOutranksAnEarlierDelayLoad) {
    FakeLocator disk;
    disk.File("helper.dll", ImageNeeding(kI386, {Dll("camera.dll")}));
    const PeImage plugin = ImageNeeding(kI386, {Dll("camera.dll", true), Dll("helper.dll")});
    EXPECT_EQ(Rows(WalkDependencies("lensora.dll", plugin, kI386, disk)),
              (std::vector<std::string>{"camera.dll |  | Not found (needed by helper.dll)",
                                        "helper.dll | C:\\dlls\\helper.dll | 32-bit (needed by "
                                        "lensora.dll)"}));
}

// Every DLL needs the next one: the walk stops at its limit.
TEST(DependencyWalk, AChainLongerThanTheLimitEndsAtTheLimit) {
    FakeLocator disk;
    for (int i = 0; i < 50; ++i) {
        disk.File("d" + std::to_string(i) + ".dll",
                  ImageNeeding(kI386, {Dll("d" + std::to_string(i + 1) + ".dll")}));
    }
    const std::vector<NeededDll> needed =
        WalkDependencies("root.dll", ImageNeeding(kI386, {Dll("d0.dll")}), kI386, disk, 20);
    ASSERT_EQ(needed.size(), 20u);
    EXPECT_EQ(needed.back().name, "d19.dll");
}

TEST(DependencyTexts, TheBoxNamesEachProblemInTheProgramsBitness) {
    FakeLocator disk;
    disk.File("core.dll", ImageNeeding(kI386, {Dll("gone.dll")}));
    disk.File("wide.dll", ImageNeeding(kAmd64, {}));
    disk.files["locked.dll"] = {LocatedDll::Where::File, "C:\\dlls\\locked.dll", false, {}};
    const PeImage plugin = ImageNeeding(
        kI386, {Dll("core.dll"), Dll("wide.dll"), Dll("locked.dll"), Dll("late.dll", true)});
    const std::vector<NeededDll> needed = WalkDependencies("lensora.dll", plugin, kI386, disk);
    EXPECT_EQ(DependencyProblemsText(needed, 32),
              "wide.dll  Not a 32-bit image (needed by lensora.dll)\r\n"
              "locked.dll  Not readable (needed by lensora.dll)\r\n"
              "late.dll  Not found (delay-loaded by lensora.dll)\r\n"
              "gone.dll  Not found (needed by core.dll)");
    // For a 64-bit program it is the 32-bit DLLs that do not fit.
    const std::vector<NeededDll> wide = WalkDependencies(
        "lensora.dll", ImageNeeding(kAmd64, {Dll("core.dll"), Dll("wide.dll")}), kAmd64, disk);
    EXPECT_EQ(DependencyProblemsText(wide, 64),
              "core.dll  Not a 64-bit image (needed by lensora.dll)");
    EXPECT_EQ(DependencyProblemsText({}, 32), "");
}

TEST(DependencyTexts, TheLoadFailureFillsThePathIntoThePlaceholder) {
    const std::string path = "C:\\mach3\\plugIns\\lensora.dll";
    const struct {
        const char* system;
        std::string shown;
    } cases[] = {
        {"Bad EXE format for %1.\r\n",
         path + "  Bad EXE format for C:\\mach3\\plugIns\\lensora.dll.\r\n"},
        {"%1 is not a valid Win32 application.\r\n",
         path + "  C:\\mach3\\plugIns\\lensora.dll is not a valid Win32 application.\r\n"},
        {"Module not found.\r\n", path + "  Module not found.\r\n"},
        {"100%", path + "  100%"},
        {"%2 and %1%1", path + "  %2 and " + path + path},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadFailureText(path, c.system), c.shown) << c.system;
    }
}

TEST(DependencyTexts, AFilesVersionRowSaysWhatCouldBeRead) {
    PeImage versioned = ImageNeeding(kI386, {});
    versioned.hasVersion = true;
    versioned.fileVersion = "2.4.8.0";
    const struct {
        bool readable;
        PeImage image;
        const char* version;
        const char* kind;
    } cases[] = {
        {true, versioned, "2.4.8.0", "32-bit"},
        {true, ImageNeeding(kAmd64, {}), "no version", "64-bit"},
        {true, PeImage(), "no version", "no image"},
        {false, PeImage(), "no version", "not readable"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VersionText(c.readable, c.image), c.version) << c.kind;
        EXPECT_STREQ(ImageKindText(c.readable, c.image), c.kind);
    }
}

TEST(SearchPaths, FoldersJoinAndSplitAsTheLoaderReadsThem) {
    EXPECT_EQ(JoinFolderAndName("C:\\Mach3\\plugins", "a.dll"), "C:\\Mach3\\plugins\\a.dll");
    EXPECT_EQ(JoinFolderAndName("C:\\", "a.dll"), "C:\\a.dll");
    EXPECT_EQ(SplitSearchPath(";C:\\one;;C:\\two words;C:\\three\\;"),
              (std::vector<std::string>{"C:\\one", "C:\\two words", "C:\\three\\"}));
    EXPECT_TRUE(SplitSearchPath("").empty());
    EXPECT_EQ(FileNameOfPath("C:\\Mach3\\Plugins\\lensora.dll"), "lensora.dll");
    EXPECT_EQ(SearchFileName("cuda"), "cuda.dll");
    EXPECT_EQ(SearchFileName("cv.ax"), "cv.ax");
    for (const char* bad :
         {"", ".", "..", "a\\b.dll", "a/b.dll", "c:x.dll", "a?.dll", "t\tb.dll"}) {
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    }
    EXPECT_TRUE(IsPlainFileName("opencv_core248.dll"));
}

}  // namespace
