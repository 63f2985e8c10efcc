// The walk's check of every imported function against the exports of the DLL the loader
// picks: missing functions with their importers, forwarders, other copies further down the
// search order, delay loads, loaded modules and API sets; and the log rows and box lines
// made of them. Expected texts are typed from the log's documented forms.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/dependency_walk.h"
#include "report/dependency_texts.h"

namespace {

constexpr std::uint16_t kI386 = 0x14C;
constexpr std::uint16_t kAmd64 = 0x8664;

ImportedFunction Named(const std::string& name, bool delayLoaded = false) {
    ImportedFunction f;
    f.name = name;
    f.delayLoaded = delayLoaded;
    return f;
}

ImportedFunction Ordinal(std::uint16_t ordinal) {
    ImportedFunction f;
    f.byOrdinal = true;
    f.ordinal = ordinal;
    return f;
}

ImportedDll Needs(const std::string& dll, std::vector<ImportedFunction> functions,
                  bool delayLoaded = false) {
    ImportedDll needed;
    needed.name = dll;
    needed.delayLoaded = delayLoaded;
    for (ImportedFunction& f : functions) {
        f.delayLoaded = f.delayLoaded || delayLoaded;
    }
    needed.functions = std::move(functions);
    return needed;
}

// An image of `machine` that exports "name" entries at ordinals 1, 2, ... in order,
// "name=DLL.function" as forwarders and "#n" as an ordinal without name.
PeImage Image(std::vector<std::string> exports, std::vector<ImportedDll> imports = {},
              const char* version = nullptr, std::uint16_t machine = kI386) {
    PeImage image;
    image.isImage = true;
    image.machine = machine;
    image.is64Bit = machine == kAmd64;
    image.imports = std::move(imports);
    image.exports.ordinalBase = 1;
    std::uint32_t next = 1;
    for (const std::string& e : exports) {
        ExportedFunction f;
        if (e[0] == '#') {
            f.ordinal = static_cast<std::uint32_t>(std::stoul(e.substr(1)));
            image.exports.functions.push_back(f);
            continue;
        }
        f.ordinal = next++;
        const std::size_t equals = e.find('=');
        if (equals != std::string::npos) {
            f.forwarded = true;
            f.forwarder = e.substr(equals + 1);
        }
        image.exports.functions.push_back(f);
        image.exports.names.push_back({e.substr(0, equals), f.ordinal});
    }
    if (version != nullptr) {
        image.hasVersion = true;
        image.fileVersion = version;
    }
    return image;
}

// Each name's files in search order (the first is the loader's pick unless a loaded module
// of the name exists), an optional API-set schema as a plain table.
class Machine : public DllLocator {
public:
    std::map<std::string, std::vector<LocatedDll>> files;
    std::map<std::string, LocatedDll> loaded;
    std::map<std::string, ApiSetHost> schema;
    bool hasSchema = false;

    void File(const std::string& folder, const std::string& name, PeImage image) {
        LocatedDll dll;
        dll.where = LocatedDll::Where::File;
        dll.path = folder + "\\" + name;
        dll.readable = true;
        dll.image = std::move(image);
        files[name].push_back(dll);
    }
    void Unreadable(const std::string& folder, const std::string& name) {
        LocatedDll dll;
        dll.where = LocatedDll::Where::File;
        dll.path = folder + "\\" + name;
        files[name].push_back(dll);
    }
    LocatedDll Locate(const std::string& fileName) override {
        const auto module = loaded.find(fileName);
        if (module != loaded.end()) {
            return module->second;
        }
        const auto found = files.find(fileName);
        return found == files.end() ? LocatedDll() : found->second.front();
    }
    std::vector<LocatedDll> LocateAll(const std::string& fileName) override {
        const auto found = files.find(fileName);
        return found == files.end() ? std::vector<LocatedDll>() : found->second;
    }
    ApiSetHost ResolveApiSet(const std::string& name, const std::string&) override {
        if (!hasSchema) {
            return ApiSetHost();
        }
        const auto found = schema.find(name);
        ApiSetHost host;
        host.schemaRead = true;
        if (found != schema.end()) {
            host = found->second;
        }
        return host;
    }
};

std::vector<std::string> Lines(const std::vector<NeededDll>& needed) {
    std::vector<std::string> lines;
    for (const DependencyRow& row : DependencyRows({}, needed)) {
        lines.push_back(row.name + " | " + row.value + " | " + row.result);
    }
    return lines;
}

TEST(DependencyFunctions, AnOldCopyEarlierOnPathLacksWhatALaterCopyHas) {
    Machine m;
    m.File("C:\\Tools", "opencv_core248.dll", Image({"cvAlpha"}, {}, "2.4.6.0"));
    m.File("C:\\Tools", "opencv_imgproc248.dll",
           Image({"cvSmooth"}, {Needs("opencv_core248.dll", {Named("cvBeta"), Named("cvAlpha")})},
                 "2.4.8.0"));
    m.Unreadable("C:\\Locked", "opencv_core248.dll");
    m.File("C:\\Text", "opencv_core248.dll", PeImage());
    m.File("C:\\Wide", "opencv_core248.dll", Image({"cvAlpha", "cvBeta"}, {}, "2.4.8.0", kAmd64));
    m.File("C:\\Half", "opencv_core248.dll", Image({"cvAlpha", "cvBeta"}, {}, nullptr));
    m.File("C:\\OpenCV", "opencv_core248.dll", Image({"cvAlpha", "cvBeta", "#7"}, {}, "2.4.8.0"));
    const PeImage plugin =
        Image({}, {Needs("opencv_core248.dll", {Named("cvAlpha"), Named("cvBeta"), Ordinal(7)}),
                   Needs("opencv_imgproc248.dll", {Named("cvSmooth")})});

    const std::vector<NeededDll> needed = WalkDependencies("lensora.dll", plugin, kI386, m);

    EXPECT_EQ(Lines(needed),
              (std::vector<std::string>{
                  "opencv_core248.dll | C:\\Tools\\opencv_core248.dll | 32-bit (needed by "
                  "lensora.dll)",
                  "opencv_core248.dll!cvBeta | C:\\Tools\\opencv_core248.dll | Missing in 2.4.6.0 "
                  "(needed by lensora.dll, opencv_imgproc248.dll)",
                  "opencv_core248.dll!#7 | C:\\Tools\\opencv_core248.dll | Missing in 2.4.6.0 "
                  "(needed by lensora.dll)",
                  "opencv_core248.dll copy 2 | C:\\Locked\\opencv_core248.dll | not readable",
                  "opencv_core248.dll copy 3 | C:\\Text\\opencv_core248.dll | no image",
                  "opencv_core248.dll copy 4 | C:\\Wide\\opencv_core248.dll | 64-bit",
                  "opencv_core248.dll copy 5 | C:\\Half\\opencv_core248.dll | no version, lacks #7",
                  "opencv_core248.dll copy 6 | C:\\OpenCV\\opencv_core248.dll | 2.4.8.0, has every "
                  "missing function",
                  "opencv_imgproc248.dll | C:\\Tools\\opencv_imgproc248.dll | 32-bit (needed by "
                  "lensora.dll)",
              }));
    EXPECT_TRUE(MissingAtLoadTime(needed));
    // The box names each function with its importers, the picked file and the first later
    // copy that has it.
    EXPECT_EQ(DependencyProblemsText(needed, 32),
              "opencv_core248.dll  Lacks cvBeta (needed by lensora.dll, opencv_imgproc248.dll): "
              "C:\\Tools\\opencv_core248.dll 2.4.6.0; C:\\Half\\opencv_core248.dll (no version, "
              "later in the search order) has it\r\n"
              "opencv_core248.dll  Lacks #7 (needed by lensora.dll): C:\\Tools\\opencv_core248.dll "
              "2.4.6.0; C:\\OpenCV\\opencv_core248.dll (2.4.8.0, later in the search order) has "
              "it");
}

TEST(DependencyFunctions, NothingMissingMeansNoFunctionLinesAndNoCopies) {
    Machine m;
    m.File("C:\\A", "core.dll", Image({"f", "g"}, {}, "1.0.0.0"));
    m.File("C:\\B", "core.dll", Image({"f"}, {}, "0.9.0.0"));
    const std::vector<NeededDll> needed = WalkDependencies(
        "lensora.dll", Image({}, {Needs("core.dll", {Named("f"), Named("g")})}), kI386, m);
    EXPECT_EQ(
        Lines(needed),
        (std::vector<std::string>{"core.dll | C:\\A\\core.dll | 32-bit (needed by lensora.dll)"}));
    EXPECT_FALSE(MissingAtLoadTime(needed));
    EXPECT_EQ(DependencyProblemsText(needed, 32), "");
}

// Names are matched exactly: the loader compares case and all.
TEST(DependencyFunctions, NamesMatchExactlyAndOrdinalsThroughTheBase) {
    Machine m;
    PeImage core = Image({"cvAlpha"});
    core.exports.functions.push_back({9, false, ""});
    m.File("C:\\A", "core.dll", core);
    const std::vector<NeededDll> needed =
        WalkDependencies("p.dll",
                         Image({}, {Needs("core.dll", {Named("cvalpha"), Named("cvAlpha"),
                                                       Ordinal(9), Ordinal(8), Ordinal(1)})}),
                         kI386, m);
    ASSERT_EQ(needed.size(), 1u);
    std::vector<std::string> missing;
    for (const MissingFunction& f : needed[0].missing) {
        missing.push_back(f.function);
    }
    EXPECT_EQ(missing, (std::vector<std::string>{"cvalpha", "#8"}));
}

TEST(DependencyFunctions, ForwardersAreFollowedThroughTheSameSearch) {
    const struct {
        const char* what;
        std::vector<std::string> coreExports;
        const char* result;  // of core.dll!f; nullptr: found
    } cases[] = {
        {"to a function of another DLL", {"f=NTDLL.RtlF"}, nullptr},
        {"to an ordinal of another DLL", {"f=NTDLL.#2"}, nullptr},
        {"to a DLL named with its extension", {"f=ntdll.dll.RtlF"}, nullptr},
        {"through two DLLs", {"f=mid.g"}, nullptr},
        {"to a DLL that is nowhere",
         {"f=gone.F"},
         "Missing in no version (forwarded to gone.F) (needed by p.dll)"},
        {"to a function the other DLL lacks",
         {"f=NTDLL.RtlLost"},
         "Missing in no version (forwarded to NTDLL.RtlLost) (needed by p.dll)"},
        {"to an ordinal the other DLL lacks",
         {"f=NTDLL.#99"},
         "Missing in no version (forwarded to NTDLL.#99) (needed by p.dll)"},
        {"to itself",
         {"f=core.f"},
         "Missing in no version (forwarded to core.f) (needed by p.dll)"},
        {"in a circle through another DLL",
         {"f=loop.f"},
         "Missing in no version (forwarded to loop.f) (needed by p.dll)"},
        {"without a dot",
         {"f=nowhere"},
         "Missing in no version (forwarded to nowhere) (needed by p.dll)"},
        {"to a DLL of the other machine",
         {"f=wide.f"},
         "Missing in no version (forwarded to wide.f) (needed by p.dll)"},
        {"to an API set the schema resolves", {"f=api-ms-win-core-heap-l1-1-0.RtlF"}, nullptr},
        {"to an API set without host",
         {"f=api-ms-win-core-none-l1-1-0.RtlF"},
         "Missing in no version (forwarded to api-ms-win-core-none-l1-1-0.RtlF) (needed by "
         "p.dll)"},
    };
    for (const auto& c : cases) {
        Machine m;
        m.hasSchema = true;
        m.schema["api-ms-win-core-heap-l1-1-0"] = {true, true, "ntdll.dll"};
        m.schema["api-ms-win-core-none-l1-1-0"] = {true, true, ""};
        m.File("C:\\A", "core.dll", Image(c.coreExports));
        m.File("C:\\Sys", "NTDLL.dll", Image({"RtlF", "#2"}));
        m.File("C:\\Sys", "ntdll.dll", Image({"RtlF", "#2"}));
        m.File("C:\\A", "mid.dll", Image({"g=NTDLL.RtlF"}));
        m.File("C:\\A", "loop.dll", Image({"f=core.f"}));
        m.File("C:\\A", "wide.dll", Image({"f"}, {}, nullptr, kAmd64));
        const std::vector<NeededDll> needed =
            WalkDependencies("p.dll", Image({}, {Needs("core.dll", {Named("f")})}), kI386, m);
        ASSERT_EQ(needed.size(), 1u) << c.what;
        if (c.result == nullptr) {
            EXPECT_TRUE(needed[0].missing.empty()) << c.what;
        } else {
            const std::vector<std::string> lines = Lines(needed);
            ASSERT_GE(lines.size(), 2u) << c.what;
            EXPECT_EQ(lines[1], std::string("core.dll!f | C:\\A\\core.dll | ") + c.result)
                << c.what;
        }
    }
}

// Forwarders that go on longer than kMaxForwarderDepth lead nowhere; one step fewer is found.
TEST(DependencyFunctions, AForwarderChainEndsAtItsDepthBound) {
    for (const int steps : {kMaxForwarderDepth, kMaxForwarderDepth + 1}) {
        Machine m;
        m.File("C:\\A", "core.dll", Image({"f=d1.f"}));
        for (int i = 1; i < steps; ++i) {
            m.File("C:\\A", "d" + std::to_string(i) + ".dll",
                   Image({"f=d" + std::to_string(i + 1) + ".f"}));
        }
        m.File("C:\\A", "d" + std::to_string(steps) + ".dll", Image({"f"}));
        const std::vector<NeededDll> needed =
            WalkDependencies("p.dll", Image({}, {Needs("core.dll", {Named("f")})}), kI386, m);
        ASSERT_EQ(needed.size(), 1u);
        EXPECT_EQ(needed[0].missing.size(), steps <= kMaxForwarderDepth ? 0u : 1u) << steps;
    }
}

TEST(DependencyFunctions, DelayLoadedFunctionsNeverMakeALoadFailure) {
    Machine m;
    m.File("C:\\A", "late.dll", Image({"cvShow"}));
    m.File("C:\\A", "both.dll", Image({"kept"}));
    const PeImage plugin = Image({}, {Needs("both.dll", {Named("kept")}),
                                      Needs("late.dll", {Named("cvShow"), Named("cvHide")}, true),
                                      Needs("both.dll", {Named("lateOnly")}, true)});
    const std::vector<NeededDll> needed = WalkDependencies("lensora.dll", plugin, kI386, m);
    EXPECT_EQ(Lines(needed),
              (std::vector<std::string>{
                  "both.dll | C:\\A\\both.dll | 32-bit (needed by lensora.dll)",
                  "both.dll!lateOnly | C:\\A\\both.dll | Missing in no version (delay-loaded by "
                  "lensora.dll)",
                  "late.dll | C:\\A\\late.dll | 32-bit (delay-loaded by lensora.dll)",
                  "late.dll!cvHide | C:\\A\\late.dll | Missing in no version (delay-loaded by "
                  "lensora.dll)",
              }));
    EXPECT_FALSE(MissingAtLoadTime(needed));
    EXPECT_EQ(DependencyProblemsText(needed, 32),
              "both.dll  Lacks lateOnly (delay-loaded by lensora.dll): C:\\A\\both.dll no "
              "version\r\n"
              "late.dll  Lacks cvHide (delay-loaded by lensora.dll): C:\\A\\late.dll no version");
}

// A DLL that only a delay-loaded DLL needs loads late too: what it lacks does not stop the
// plug-in's load. Through a load-time chain it does.
TEST(DependencyFunctions, OnlyFunctionsThatTheLoadNeedsMakeALoadFailure) {
    const struct {
        const char* what;
        bool helperDelayLoaded;
        bool failsLoad;
    } cases[] = {
        {"through a DLL loaded with the plug-in", false, true},
        {"through a delay-loaded DLL", true, false},
    };
    for (const auto& c : cases) {
        Machine m;
        m.File("C:\\A", "helper.dll", Image({"h"}, {Needs("core.dll", {Named("f")})}));
        m.File("C:\\A", "core.dll", Image({"g"}));
        const std::vector<NeededDll> needed = WalkDependencies(
            "p.dll", Image({}, {Needs("helper.dll", {Named("h")}, c.helperDelayLoaded)}), kI386, m);
        ASSERT_EQ(needed.size(), 2u) << c.what;
        ASSERT_EQ(needed[1].missing.size(), 1u) << c.what;
        EXPECT_EQ(needed[1].missing[0].neededBy, std::vector<std::string>{"helper.dll"}) << c.what;
        EXPECT_EQ(MissingAtLoadTime(needed), c.failsLoad) << c.what;
    }
}

TEST(DependencyFunctions, ALoadedModuleIsCheckedByItsFile) {
    const struct {
        const char* what;
        bool readable;
        std::vector<std::string> exports;
        std::vector<std::string> missing;
    } cases[] = {
        {"its file has the function", true, {"GetTickCount"}, {}},
        {"its file lacks the function", true, {"Sleep"}, {"GetTickCount"}},
        {"its file cannot be read: unchecked", false, {}, {}},
        {"its file exports nothing: not the file that was loaded", true, {}, {}},
    };
    for (const auto& c : cases) {
        Machine m;
        LocatedDll kernel;
        kernel.where = LocatedDll::Where::Loaded;
        kernel.path = "C:\\windows\\system32\\kernel32.dll";
        kernel.readable = c.readable;
        if (c.readable) {
            kernel.image = Image(c.exports, {Needs("never_walked.dll", {Named("x")})});
        }
        m.loaded["KERNEL32.dll"] = kernel;
        const std::vector<NeededDll> needed = WalkDependencies(
            "p.dll", Image({}, {Needs("KERNEL32.dll", {Named("GetTickCount")})}), kI386, m);
        ASSERT_EQ(needed.size(), 1u) << c.what;
        std::vector<std::string> missing;
        for (const MissingFunction& f : needed[0].missing) {
            missing.push_back(f.function);
        }
        EXPECT_EQ(missing, c.missing) << c.what;
    }
}

TEST(DependencyFunctions, ApiSetsResolveThroughTheSchemaElseAsFiles) {
    const struct {
        const char* what;
        bool hasSchema;
        ApiSetHost entry;  // the schema's answer for the set
        bool fileThere;
        std::vector<std::string> lines;
    } cases[] = {
        {"the schema names a host that has the function",
         true,
         {true, true, "ucrtbase.dll"},
         false,
         {"api-ms-win-crt-runtime-l1-1-0.dll | ucrtbase.dll | API set (needed by lensora.dll)"}},
        {"the schema names a host that lacks the function",
         true,
         {true, true, "old.dll"},
         false,
         {"api-ms-win-crt-runtime-l1-1-0.dll | old.dll | API set (needed by lensora.dll)",
          "api-ms-win-crt-runtime-l1-1-0.dll!_initterm | C:\\Sys\\old.dll | Missing in 10.0.0.0 "
          "(needed by lensora.dll)"}},
        {"the schema knows the set but names no host",
         true,
         {true, true, ""},
         true,
         {"api-ms-win-crt-runtime-l1-1-0.dll |  | Not found (needed by lensora.dll)"}},
        {"a schema without the set: the file",
         true,
         {true, false, ""},
         true,
         {"api-ms-win-crt-runtime-l1-1-0.dll | C:\\Sys\\api-ms-win-crt-runtime-l1-1-0.dll | API "
          "set (needed by lensora.dll)"}},
        {"no schema (Windows before 7): the file",
         false,
         {},
         true,
         {"api-ms-win-crt-runtime-l1-1-0.dll | C:\\Sys\\api-ms-win-crt-runtime-l1-1-0.dll | API "
          "set (needed by lensora.dll)"}},
        {"no schema and no file: Windows 7 without the universal C runtime",
         false,
         {},
         false,
         {"api-ms-win-crt-runtime-l1-1-0.dll |  | Not found (needed by lensora.dll)"}},
    };
    for (const auto& c : cases) {
        Machine m;
        m.hasSchema = c.hasSchema;
        if (c.hasSchema && c.entry.known) {
            m.schema["api-ms-win-crt-runtime-l1-1-0.dll"] = c.entry;
        }
        m.File("C:\\Sys", "ucrtbase.dll", Image({"_initterm"}, {}, "10.0.1.0"));
        m.File("C:\\Sys", "old.dll", Image({"_exit"}, {}, "10.0.0.0"));
        if (c.fileThere) {
            m.File("C:\\Sys", "api-ms-win-crt-runtime-l1-1-0.dll",
                   Image({"_initterm=ucrtbase._initterm"}));
        }
        const std::vector<NeededDll> needed = WalkDependencies(
            "lensora.dll",
            Image({}, {Needs("api-ms-win-crt-runtime-l1-1-0.dll", {Named("_initterm")})}), kI386,
            m);
        EXPECT_EQ(Lines(needed), c.lines) << c.what;
    }
}

TEST(DependencyRows, SearchFoldersComeFirstWithTheirRoles) {
    const std::vector<SearchFolder> folders = {
        {"C:\\Mach3", SearchRole::ProgramFolder},
        {"C:\\windows\\system32", SearchRole::SystemFolder},
        {"C:\\windows\\System", SearchRole::System16Folder},
        {"C:\\windows", SearchRole::WindowsFolder},
        {"C:\\Mach3\\plugins", SearchRole::CurrentFolder},
        {"C:\\Tools", SearchRole::Path, true},
        {"C:\\OpenCV", SearchRole::Path},
    };
    NeededDll dll;
    dll.name = "a.dll";
    dll.neededBy = "lensora.dll";
    std::vector<std::string> lines;
    for (const DependencyRow& row : DependencyRows(folders, {dll})) {
        lines.push_back(row.name + " | " + row.value + " | " + row.result);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Search folder 1 | C:\\Mach3 | program folder",
                         "Search folder 2 | C:\\windows\\system32 | system folder",
                         "Search folder 3 | C:\\windows\\System | 16-bit system folder",
                         "Search folder 4 | C:\\windows | Windows folder",
                         "Search folder 5 | C:\\Mach3\\plugins | current folder",
                         "Search folder 6 | C:\\Tools | PATH, not found",
                         "Search folder 7 | C:\\OpenCV | PATH",
                         "a.dll |  | Not found (needed by lensora.dll)",
                     }));
}

}  // namespace
