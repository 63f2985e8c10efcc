// End-to-end: the diagnosis of fixture machines made in the prefix from DLLs built in the
// tree. A healthy machine (the plug-in with its 21 entry points taking two functions from
// opencv_core248.dll, every OpenCV file of one version, the OpenCV folder on PATH, the
// runtime, the settings and the uninstall entry), then one fault a row, each a single change
// of it: the fault's rule is the only one that fails (or warns), it names the right file,
// function or entry point, and the verdicts of the run equal those computed from its bundle.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/handles_win.h"
#include "tests/e2e/machine_state.h"
#include "tests/e2e/vorlix_session.h"
#include "tests/win/file_support.h"

namespace {

const char kRuntimeKey[] = "SOFTWARE\\Classes\\Installer\\Products\\1d5e3c0feda1e123187686fed06e995a";
const char kRuntimeName[] = "Microsoft Visual C++ 2010  x86 Redistributable - 10.0.40219";
const char kUninstallKey[] =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mach3 Lensora_is1";
const char kBundle[] = "C:\\vorlix_e2e_machine";
const char kEarlierFolder[] = "C:\\VorlixEarlierOnPath";

// The 41 files of the OpenCV list, by name: what the installer puts into its folder.
const char* const kOpenCvNames[] = {
    "opencv_calib3d248.dll",    "opencv_calib3d248d.dll",   "opencv_contrib248.dll",
    "opencv_contrib248d.dll",   "opencv_core248.dll",       "opencv_core248d.dll",
    "opencv_createsamples.exe", "opencv_features2d248.dll", "opencv_features2d248d.dll",
    "opencv_ffmpeg248.dll",     "opencv_flann248.dll",      "opencv_flann248d.dll",
    "opencv_gpu248.dll",        "opencv_gpu248d.dll",       "opencv_haartraining.exe",
    "opencv_highgui248.dll",    "opencv_highgui248d.dll",   "opencv_imgproc248.dll",
    "opencv_imgproc248d.dll",   "opencv_legacy248.dll",     "opencv_legacy248d.dll",
    "opencv_ml248.dll",         "opencv_ml248d.dll",        "opencv_nonfree248.dll",
    "opencv_nonfree248d.dll",   "opencv_objdetect248.dll",  "opencv_objdetect248d.dll",
    "opencv_ocl248.dll",        "opencv_ocl248d.dll",       "opencv_performance.exe",
    "opencv_photo248.dll",      "opencv_photo248d.dll",     "opencv_stitching248.dll",
    "opencv_stitching248d.dll", "opencv_superres248.dll",   "opencv_superres248d.dll",
    "opencv_traincascade.exe",  "opencv_video248.dll",      "opencv_video248d.dll",
    "opencv_videostab248.dll",  "opencv_videostab248d.dll",
};

std::string ProgramFiles() {
    char folder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE);
    return folder;
}

std::string OpenCvFolder() {
    return ProgramFiles() + "\\Lensora_Brenhold\\build\\x86\\vc10\\bin";
}

std::string Fixture(const std::string& name) {
    return ExeFolder() + "fixtures\\" + name;
}

void RemoveFilesAndFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    if (const UniqueFind search{FindFirstFileA((folder + "\\*").c_str(), &entry)}) {
        do {
            const std::string path = folder + "\\" + entry.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search.Get(), &entry));
    }
    RemoveDirectoryA(folder.c_str());
}

// The OpenCV folder with every file of the list (each a copy of the full core DLL, so all
// are of version 2.4.8.0), made for one test and removed with the folders above it that it
// made.
class OpenCvInstallation {
public:
    OpenCvInstallation() {
        std::string path = ProgramFiles();
        for (const char* part : {"Lensora_Brenhold", "build", "x86", "vc10", "bin"}) {
            path += std::string("\\") + part;
            if (CreateDirectoryA(path.c_str(), nullptr)) {
                made_.insert(made_.begin(), path);
            }
        }
        for (const char* name : kOpenCvNames) {
            complete_ = CopyFileA(Fixture("opencv_full\\opencv_core248.dll").c_str(),
                                  (OpenCvFolder() + "\\" + name).c_str(), FALSE) && complete_;
        }
    }
    ~OpenCvInstallation() {
        for (const std::string& folder : made_) {
            RemoveFilesAndFolder(folder);
        }
    }
    OpenCvInstallation(const OpenCvInstallation&) = delete;
    OpenCvInstallation& operator=(const OpenCvInstallation&) = delete;
    bool Complete() const { return complete_ && !made_.empty(); }

private:
    std::vector<std::string> made_;
    bool complete_ = true;
};

bool SetStringValue(HKEY root, const char* key, const char* name, const char* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const LONG set = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                    static_cast<DWORD>(lstrlenA(value) + 1));
    RegCloseKey(opened);
    return set == ERROR_SUCCESS;
}

// What a fault changes of the healthy machine.
struct Fault {
    const char* plugin = "plugin_healthy.dll";
    bool settings = true;
    bool uninstall = true;
    bool openCvOnPath = true;
    const char* removeOpenCv = nullptr;  // an OpenCV file taken away again
    const char* earlierCopy = nullptr;   // a fixture put as opencv_core248.dll earlier on PATH
    const char* replaceOpenCv = nullptr;  // an OpenCV file replaced by the old core DLL
    bool secondPlugin = false;
    bool missingPathEntry = false;  // PATH names a folder that is not there
};

// "CODE outcome" of every verdict that fails or warns, and each verdict's cells by code, as
// /collect left them in the bundle's diagnosis log.
struct Diagnosis {
    std::set<std::string> findings;
    std::map<std::string, std::vector<std::string>> cells;
    std::string output;
};

std::vector<std::string> FieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t end = line.find("  ", at);
        fields.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) {
            break;
        }
        at = line.find_first_not_of(' ', end);
    }
    return fields;
}

// Makes the machine, runs `use` on it (by default /collect into the bundle folder) and puts
// the prefix back.
Diagnosis RunMachine(const Fault& fault, const std::function<void()>& use = nullptr) {
    Diagnosis diagnosis;
    const PluginFolder plugin(fault.plugin);
    const OpenCvInstallation openCv;
    const TemporaryKey runtime(HKEY_LOCAL_MACHINE, kRuntimeKey);
    std::unique_ptr<TemporaryKey> settings, uninstall;
    if (fault.settings) {
        settings.reset(new TemporaryKey(HKEY_CURRENT_USER, kSettingsKey));
    }
    if (fault.uninstall) {
        uninstall.reset(new TemporaryKey(HKEY_LOCAL_MACHINE, kUninstallKey));
        SetStringValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Mach3 Lensora 2.1");
    }
    EXPECT_TRUE(openCv.Complete() && runtime.Valid() && (!settings || settings->Valid()) &&
                (!uninstall || uninstall->Valid()) && (fault.plugin == nullptr || plugin.Copied()))
        << "the prefix already holds part of the fixture machine (a run ended part way?)";
    SetStringValue(HKEY_LOCAL_MACHINE, kRuntimeKey, "ProductName", kRuntimeName);
    if (fault.removeOpenCv != nullptr) {
        DeleteFileA((OpenCvFolder() + "\\" + fault.removeOpenCv).c_str());
    }
    if (fault.replaceOpenCv != nullptr) {
        CopyFileA(Fixture("opencv_old\\opencv_core248.dll").c_str(),
                  (OpenCvFolder() + "\\" + fault.replaceOpenCv).c_str(), FALSE);
    }
    std::string path = "C:\\windows\\system32;C:\\windows";
    if (fault.earlierCopy != nullptr) {
        CreateDirectoryA(kEarlierFolder, nullptr);
        CopyFileA(Fixture(fault.earlierCopy).c_str(),
                  (std::string(kEarlierFolder) + "\\opencv_core248.dll").c_str(), FALSE);
        path += std::string(";") + kEarlierFolder;
    }
    if (fault.openCvOnPath) {
        path += ";" + OpenCvFolder();
    }
    if (fault.missingPathEntry) {
        path += ";C:\\VorlixNoSuchFolder";
    }
    const std::string copy = "C:\\mach3\\plugIns\\Lensora - Kopie.dll";
    if (fault.secondPlugin) {
        CopyFileA(Fixture("plugin_healthy.dll").c_str(), copy.c_str(), FALSE);
    }
    {
        const ScopedPath scopedPath(path);
        RemoveFilesAndFolder(kBundle);
        if (use) {
            use();
        } else {
            diagnosis.output = RunToEnd(std::string("/collect ") + kBundle).output;
        }
    }
    DeleteFileA(copy.c_str());
    RemoveFilesAndFolder(kEarlierFolder);
    for (const std::string& line : Lines(ReadFileBytes(std::string(kBundle) + "\\Lensora_Brenhold.logDiagnosis"))) {
        const std::vector<std::string> fields = FieldsOf(line);
        if (fields.size() != 5) {
            continue;  // the timestamp line
        }
        diagnosis.cells[fields[0]] = fields;
        if (fields[1] == "fail" || fields[1] == "warn") {
            diagnosis.findings.insert(fields[0] + " " + fields[1]);
        }
    }
    return diagnosis;
}

// The verdicts that /diagnose computes from the bundle, as its report's rows.
std::map<std::string, std::vector<std::string>> FromBundle() {
    const std::string report = "C:\\vorlix_e2e_verdicts.txt";
    RunToEnd(std::string("/diagnose ") + kBundle + " /report " + report);
    std::map<std::string, std::vector<std::string>> cells;
    const std::vector<std::string> lines = Lines(ReadFileBytes(report));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab = lines[i].find('\t');; tab = lines[i].find('\t', start)) {
            fields.push_back(lines[i].substr(start, tab == std::string::npos ? std::string::npos
                                                                             : tab - start));
            if (tab == std::string::npos) {
                break;
            }
            start = tab + 1;
        }
        cells[fields[0]] = fields;
    }
    DeleteFileA(report.c_str());
    return cells;
}

TEST(DiagnosisMachines, EachFaultIsNamedByItsOwnRuleAndTheBundleSaysTheSame) {
    ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey))
        << "HKCU\\" << kSettingsKey << " exists: an earlier run that ended part way left it";
    LogsSetAside earlierLogs;
    const std::string core = OpenCvFolder() + "\\opencv_core248.dll";
    const struct {
        const char* what;
        Fault fault;
        std::set<std::string> findings;
        std::vector<std::string> named;  // in the first finding's finding or evidence
    } cases[] = {
        {"healthy", Fault(), {}, {}},
        {"an old copy earlier on PATH lacks a function",
         [] { Fault f; f.earlierCopy = "opencv_old\\opencv_core248.dll"; return f; }(),
         {"FUNCTION-MISSING fail"},
         {"cvBeta", "C:\\VorlixEarlierOnPath\\opencv_core248.dll", "2.4.6.0", "lensora.dll",
          "has it, but comes later"}},
        {"a copy of the other bitness earlier on PATH",
         [] { Fault f; f.earlierCopy = "other_bitness\\other_bitness.dll"; return f; }(),
         {"DLL-BITNESS fail"}, {"opencv_core248.dll", "C:\\VorlixEarlierOnPath"}},
        {"the plug-in missing", [] { Fault f; f.plugin = nullptr; return f; }(),
         {"PLUGIN-FILE fail"}, {"lensora.dll", "is not there"}},
        {"entry points missing", [] { Fault f; f.plugin = "plugin_some_entry_points.dll"; return f; }(),
         {"ENTRY-POINTS fail"}, {"does not export"}},
        {"the needed OpenCV core missing", [] { Fault f; f.removeOpenCv = "opencv_core248.dll"; return f; }(),
         {"OPENCV-FILES fail"}, {"opencv_core248.dll"}},
        {"a debug DLL missing", [] { Fault f; f.removeOpenCv = "opencv_ml248d.dll"; return f; }(),
         {"OPENCV-FILES warn"}, {"opencv_ml248d.dll"}},
        {"OpenCV DLLs of mixed versions", [] { Fault f; f.replaceOpenCv = "opencv_video248d.dll"; return f; }(),
         {"OPENCV-VERSIONS warn"}, {"opencv_video248d.dll", "2.4.6.0"}},
        {"the OpenCV folder not on PATH", [] { Fault f; f.openCvOnPath = false; return f; }(),
         {"PATH-OPENCV fail"}, {"not on PATH"}},
        {"never started by this user", [] { Fault f; f.settings = false; return f; }(),
         {"SETTINGS-KEY warn"}, {"never been started"}},
        {"no uninstall entry", [] { Fault f; f.uninstall = false; return f; }(),
         {"UNINSTALL-ENTRY warn"}, {"no uninstall entry"}},
        {"a second copy of the plug-in", [] { Fault f; f.secondPlugin = true; return f; }(),
         {"PLUGIN-COPIES warn"}, {"Lensora - Kopie.dll"}},
        {"a DLL the plug-in needs is nowhere",
         [] { Fault f; f.plugin = "plugin_needing_absent_dependency.dll"; return f; }(),
         {"DLL-NOT-FOUND fail"}, {"absent_dependency.dll", "needed by lensora.dll"}},
        {"a PATH entry that does not exist", [] { Fault f; f.missingPathEntry = true; return f; }(),
         {"PATH-ENTRIES warn"}, {"C:\\VorlixNoSuchFolder"}},
    };
    for (const auto& c : cases) {
        const Diagnosis diagnosis = RunMachine(c.fault);
        ASSERT_EQ(diagnosis.cells.size(), 14u) << c.what << ": " << diagnosis.output;
        EXPECT_EQ(diagnosis.findings, c.findings) << c.what << ": " << diagnosis.output;
        if (!c.findings.empty()) {
            const std::string code = c.findings.begin()->substr(0, c.findings.begin()->find(' '));
            const std::vector<std::string>& cells = diagnosis.cells.at(code);
            for (const std::string& text : c.named) {
                EXPECT_NE((cells[2] + " " + cells[3] + " " + cells[4]).find(text), std::string::npos)
                    << c.what << ": \"" << text << "\" not in " << cells[2] << " / " << cells[3];
            }
            EXPECT_EQ(diagnosis.output.find("Vorlix: No rule failed"),
                      c.findings.begin()->find("fail") == std::string::npos ? 0u : std::string::npos)
                << diagnosis.output;
        }
        // The log holds each cell whole up to 500 characters, cut with "..." beyond.
        std::map<std::string, std::vector<std::string>> fromBundle = FromBundle();
        for (auto& verdict : fromBundle) {
            for (std::string& cell : verdict.second) {
                if (cell.size() > 500) {
                    cell = cell.substr(0, 497) + "...";
                }
            }
        }
        EXPECT_EQ(fromBundle, diagnosis.cells) << c.what;
    }
    RemoveFilesAndFolder(kBundle);
    DeleteFileA(kDiagnosisLog);
    DeleteFileA(kMessagesLog);
}

// Test > Diagnose on the machine whose old OpenCV copy shadows the right one: the README's
// picture of the diagnosis (scripts/screenshots.sh).
TEST(DiagnosisMachines, DISABLED_Screenshots) {
    LogsSetAside earlierLogs;
    Fault fault;
    fault.earlierCopy = "opencv_old\\opencv_core248.dll";
    RunMachine(fault, [] {
        VorlixSession session;
        ASSERT_TRUE(session.Started());
        session.Command(32780);
        HWND diagnosis = session.WaitForDialog("Vorlix   Diagnosis", 60000);
        ASSERT_NE(diagnosis, nullptr);
        EXPECT_EQ(session.Cell(diagnosis, 0, 0), "FUNCTION-MISSING");
        TakeScreenshot("diagnosis");
        PostMessageA(diagnosis, WM_COMMAND, IDCANCEL, 0);
        session.WaitUntilClosed(diagnosis);
        session.Command(105);
        session.ExitCode(10000);
    });
    DeleteFileA(kDiagnosisLog);
    DeleteFileA(kMessagesLog);
}

}  // namespace
