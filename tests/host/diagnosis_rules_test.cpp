// The rules over a healthy bundle and over one fault a row: the fault's rule is the only one
// that fails (or warns, for findings that do not stop the plug-in), and the healthy bundle
// gives no failure and no warning.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "diagnosis/bundle_view.h"
#include "diagnosis/rules.h"
#include "report/opencv_files.h"

namespace {

const std::string kBin = "C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin";
const std::string kPlugin = "C:\\Mach3\\Plugins\\lensora.dll";

// A line as the analysis writes it: Name padded to 90, Value to 80, the last field ended.
std::string Line(const std::vector<std::string>& fields) {
    static const int widths[] = {90, 80, 30};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += fields[i];
        if (i + 1 == fields.size()) {
            break;
        }
        const std::size_t width = std::max<std::size_t>(widths[i], fields[i].size() + 2);
        line.append(width - fields[i].size(), ' ');
    }
    return line + "\r\n";
}

using Logs = std::map<std::string, std::vector<std::vector<std::string>>>;

// Every log of a machine where the plug-in works.
Logs HealthyLogs() {
    Logs logs;
    logs["SystemData"] = {{"Windows version", "Windows 7"}, {"Processor Architecture", "Intel"}};
    logs["Element"].push_back({kPlugin, "found"});
    logs["FileVersions"].push_back({kPlugin, "2.1.0.0", "32-bit"});
    for (const char* const* entry = kOpenCvFiles; *entry != nullptr; ++entry) {
        const std::string path = "C:\\Program Files\\" + std::string(*entry);
        logs["Element"].push_back({path, "found"});
        logs["FileVersions"].push_back({path, "2.4.8.0", "32-bit"});
    }
    logs["PluginVersion"] = {{"Version", "Mach3 Lensora 2.1"}};
    logs["Plugins"] = {{"Installed Plugin", "lensora.dll"}, {"Installed Plugin", "Flash.dll"}};
    logs["Settings"] = {{"CameraIndex", "0"}, {"Exposure", "12"}};
    logs["Redist"] = {{"Microsoft Visual C++ 2010", "x86 Redistributable", "found"},
                      {"Version", "10.0.40219", "found"}};
    logs["PATH"] = {{"C:\\Windows\\system32;" + kBin}, {"C:\\Windows\\system32", "PATH"},
                    {kBin, "PATH"}};
    logs["Dependencies"] = {
        {"Search folder 1", "C:\\Mach3", "program folder"},
        {"Search folder 2", "C:\\Windows\\system32", "system folder"},
        {"Search folder 3", "C:\\Windows\\system32", "PATH"},
        {"Search folder 4", kBin, "PATH"},
        {"opencv_core248.dll", kBin + "\\opencv_core248.dll", "32-bit (needed by lensora.dll)"},
        {"opencv_highgui248.dll", kBin + "\\opencv_highgui248.dll", "32-bit (needed by lensora.dll)"},
        {"KERNEL32.dll", "C:\\Windows\\system32\\KERNEL32.dll", "32-bit (needed by lensora.dll)"},
        {"msvcr100.dll", "C:\\Windows\\system32\\msvcr100.dll", "32-bit (needed by opencv_core248.dll)"},
        {"msvcp100.dll", "C:\\Windows\\system32\\msvcp100.dll", "32-bit (needed by opencv_core248.dll)"},
        {"api-ms-win-core-synch-l1-2-0.dll", "kernelbase.dll", "API set (needed by msvcp100.dll)"},
        {"avifil32.dll", "C:\\Windows\\system32\\avifil32.dll", "32-bit (delay-loaded by opencv_highgui248.dll)"},
    };
    for (int i = 0; i < 21; ++i) {
        logs["Dlls"].push_back({"EntryPoint" + std::to_string(i), "found"});
    }
    logs["Services"] = {{"Spooler", "Print Spooler", "Own Process", "Running"}};
    logs["Messages"] = {};
    return logs;
}

std::vector<BundleFile> FilesOf(const Logs& logs) {
    std::vector<BundleFile> files;
    for (const auto& log : logs) {
        BundleFile file;
        file.name = "Lensora_Brenhold.log" + (log.first == "Dlls" || log.first == "Services" ||
                                                      log.first == "Messages"
                                                  ? log.first
                                                  : "Analyze" + log.first);
        if (log.first == "Element") {
            file.name = "Lensora_Brenhold.logAnalyzeElement";
        } else if (log.first == "Redist") {
            file.name = "Lensora_Brenhold.logAnalyzeRedist";
        }
        file.read = true;
        // The messages log has no timestamp line.
        file.bytes = log.first == "Messages" ? "" : "09.12.2026 14:03 27\r\n";
        for (const auto& fields : log.second) {
            file.bytes += log.first == "Messages" ? fields[0] + "\t" + fields[1] + "\r\n"
                                                  : Line(fields);
        }
        files.push_back(file);
    }
    return files;
}

void SetResult(Logs& logs, const std::string& log, const std::string& name, std::size_t field,
               const std::string& value) {
    for (auto& fields : logs[log]) {
        if (fields[0] == name) {
            fields[field] = value;
            return;
        }
    }
    FAIL() << "no row " << name << " in " << log;
}

std::string OpenCvPath(const std::string& name) {
    return "C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin\\" + name;
}

struct FaultCase {
    const char* what;
    std::function<void(Logs&)> inject;
    // "CODE fail" / "CODE warn": every verdict that is not pass or not judged.
    std::set<std::string> expected;
    std::vector<const char*> named;  // texts the first such verdict's sentence must hold
};

std::set<std::string> Findings(const std::vector<Verdict>& verdicts) {
    std::set<std::string> found;
    for (const Verdict& verdict : verdicts) {
        if (verdict.outcome == Outcome::Fail || verdict.outcome == Outcome::Warn) {
            found.insert(verdict.code + " " + OutcomeText(verdict.outcome));
        }
    }
    return found;
}

std::vector<Verdict> DiagnoseLogs(const Logs& logs) {
    std::vector<std::string> written;
    for (const BundleFile& file : FilesOf(logs)) {
        written.push_back(file.name);
    }
    return Diagnose(BundleView(FilesOf(logs), &written));
}

TEST(DiagnosisRules, AHealthyMachineGivesNoFailureAndNoWarning) {
    const std::vector<Verdict> verdicts = DiagnoseLogs(HealthyLogs());
    ASSERT_EQ(verdicts.size(), 14u);
    for (const Verdict& verdict : verdicts) {
        EXPECT_EQ(verdict.outcome, Outcome::Pass) << verdict.code << ": " << verdict.sentence;
    }
}

TEST(DiagnosisRules, EachFaultIsNamedByItsOwnRuleAlone) {
    const FaultCase cases[] = {
        {"plug-in DLL missing",
         [](Logs& l) {
             SetResult(l, "Element", kPlugin, 1, "Not found");
             l["FileVersions"].erase(l["FileVersions"].begin());
             l["Dependencies"].resize(4);
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  The specified module could not be found."}};
         },
         {"PLUGIN-FILE fail"}, {"lensora.dll", "is not there"}},
        {"nothing installed at all: one failure, the rest follows from it",
         [](Logs& l) {
             for (auto& fields : l["Element"]) {
                 fields[1] = "Not found";
             }
             l["FileVersions"].clear();
             l["PATH"] = {{"C:\\Windows\\system32"}, {"C:\\Windows\\system32", "PATH"}};
             l["Dependencies"].resize(2);
             l["Dlls"].clear();
             l.erase("PluginVersion");
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  The specified module could not be found."}};
         },
         // The first finding in code order is checked: 41 files, 7 named and the rest counted.
         {"PLUGIN-FILE fail", "OPENCV-FILES warn", "UNINSTALL-ENTRY warn"}, {"34 more"}},
        {"plug-in DLL 64-bit",
         [](Logs& l) {
             SetResult(l, "FileVersions", kPlugin, 2, "64-bit");
             l["Dependencies"].resize(4);
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  %1 is not a valid Win32 application."}};
         },
         {"PLUGIN-FILE fail"}, {"64-bit image"}},
        {"plug-in DLL cut short",
         [](Logs& l) { SetResult(l, "FileVersions", kPlugin, 2, "no image"); },
         {"PLUGIN-FILE fail"}, {"no image"}},
        {"needed DLL not found",
         [](Logs& l) {
             l["Dependencies"].push_back({"lensora_cam.dll", "Not found (needed by lensora.dll)"});
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  The specified module could not be found."}};
         },
         {"DLL-NOT-FOUND fail"}, {"lensora_cam.dll", "needed by lensora.dll"}},
        {"needed DLL of the other bitness",
         [](Logs& l) {
             SetResult(l, "Dependencies", "opencv_highgui248.dll", 2, "64-bit (needed by lensora.dll)");
         },
         {"DLL-BITNESS fail"}, {"opencv_highgui248.dll"}},
        {"needed function missing, a good copy later on PATH",
         [](Logs& l) {
             auto& d = l["Dependencies"];
             d.insert(d.begin() + 3, {"Search folder 3", "C:\\Tools", "PATH"});
             SetResult(l, "Dependencies", "opencv_core248.dll", 1, "C:\\Tools\\opencv_core248.dll");
             d.insert(d.begin() + 6, {{"opencv_core248.dll!cvBeta", "C:\\Tools\\opencv_core248.dll",
                                       "Missing in 2.4.6.0 (needed by lensora.dll)"},
                                      {"opencv_core248.dll copy 2", kBin + "\\opencv_core248.dll",
                                       "2.4.8.0, has every missing function"}});
         },
         {"FUNCTION-MISSING fail"},
         {"cvBeta", "C:\\Tools\\opencv_core248.dll", "2.4.6.0", kBin.c_str()}},
        {"delay-loaded function missing",
         [](Logs& l) {
             auto& d = l["Dependencies"];
             d.push_back({"avifil32.dll!AVIFileInit", "C:\\Windows\\system32\\avifil32.dll",
                          "Missing in no version (delay-loaded by opencv_highgui248.dll)"});
         },
         {"FUNCTION-MISSING warn"}, {"AVIFileInit"}},
        {"runtime missing and its DLLs not found",
         [](Logs& l) {
             l["Redist"] = {{"Microsoft Visual C++ 2010", "x86 Redistributable", "Not installed"}};
             SetResult(l, "Dependencies", "msvcr100.dll", 2, "Not found (needed by opencv_core248.dll)");
             SetResult(l, "Dependencies", "msvcr100.dll", 1, "");
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  The specified module could not be found."}};
         },
         {"RUNTIME-VC2010 fail"}, {"msvcr100.dll"}},
        {"runtime missing but its DLLs beside Mach3",
         [](Logs& l) {
             l["Redist"] = {{"Microsoft Visual C++ 2010", "x86 Redistributable", "Not installed"}};
         },
         {}, {}},
        {"entry point missing",
         [](Logs& l) { SetResult(l, "Dlls", "EntryPoint7", 1, "Not found"); },
         {"ENTRY-POINTS fail"}, {"EntryPoint7"}},
        {"initialisation fails although everything resolves",
         [](Logs& l) {
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  A dynamic link library (DLL) initialization routine failed."}};
         },
         {"PLUGIN-INIT fail"}, {"initialization routine failed"}},
        {"needed OpenCV file missing",
         [](Logs& l) {
             SetResult(l, "Element", OpenCvPath("opencv_highgui248.dll"), 1, "Not found");
             l["FileVersions"].erase(l["FileVersions"].begin() + 16);
             SetResult(l, "Dependencies", "opencv_highgui248.dll", 2, "Not found (needed by lensora.dll)");
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  The specified module could not be found."}};
         },
         {"OPENCV-FILES fail"}, {"opencv_highgui248.dll"}},
        {"needed OpenCV file missing: the load failure points at the rule that names it",
         [](Logs& l) {
             SetResult(l, "Element", OpenCvPath("opencv_highgui248.dll"), 1, "Not found");
             SetResult(l, "Dependencies", "opencv_highgui248.dll", 2, "Not found (needed by lensora.dll)");
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  The specified module could not be found."}};
         },
         {"OPENCV-FILES fail"}, {}},
        {"debug OpenCV DLL missing",
         [](Logs& l) { SetResult(l, "Element", OpenCvPath("opencv_core248d.dll"), 1, "Not found"); },
         {"OPENCV-FILES warn"}, {"opencv_core248d.dll"}},
        {"debug OpenCV DLL missing, its path run into its result as one field",
         [](Logs& l) {
             for (auto& fields : l["Element"]) {
                 if (fields[0] == OpenCvPath("opencv_core248d.dll")) {
                     fields = {fields[0] + "Not found"};
                 }
             }
         },
         {"OPENCV-FILES warn"}, {"opencv_core248d.dll"}},
        {"OpenCV DLLs of mixed versions",
         [](Logs& l) { SetResult(l, "FileVersions", OpenCvPath("opencv_ml248.dll"), 1, "2.4.6.0"); },
         {"OPENCV-VERSIONS warn"}, {"opencv_ml248.dll (2.4.6.0)", "2.4.8.0"}},
        {"OpenCV folder not on PATH",
         [](Logs& l) {
             l["PATH"] = {{"C:\\Windows\\system32"}, {"C:\\Windows\\system32", "PATH"}};
             l["Dependencies"].erase(l["Dependencies"].begin() + 3);
             SetResult(l, "Dependencies", "opencv_core248.dll", 2, "Not found (needed by lensora.dll)");
             SetResult(l, "Dependencies", "opencv_core248.dll", 1, "");
             l["Dlls"].clear();
             l["Messages"] = {{"Vorlix   LoadLibrary", kPlugin + "  The specified module could not be found."}};
         },
         {"PATH-OPENCV fail"}, {"is not on PATH", "opencv_core248.dll"}},
        {"PATH entry that does not exist",
         [](Logs& l) {
             l["PATH"].push_back({"C:\\Old", "PATH"});
             l["Dependencies"].insert(l["Dependencies"].begin() + 4, {"Search folder 5", "C:\\Old", "PATH, not found"});
         },
         {"PATH-ENTRIES warn"}, {"C:\\Old"}},
        {"PATH entry with a control character",
         [](Logs& l) { l["Messages"] = {{"Vorlix Error", "PATH entry \"C:\\A\x01\"  01"}}; },
         {"PATH-ENTRIES warn"}, {"control character"}},
        {"settings key missing",
         [](Logs& l) {
             l.erase("Settings");
             l["Messages"] = {{"Vorlix Error", "HKCU\\Software\\Brenhold-Soft\\Mach3Lensora  Plugin not installed, or not at least started once"}};
         },
         {"SETTINGS-KEY warn"}, {"never been started"}},
        {"no uninstall entry", [](Logs& l) { l.erase("PluginVersion"); },
         {"UNINSTALL-ENTRY warn"}, {"no uninstall entry"}},
        {"second copy of the plug-in",
         [](Logs& l) { l["Plugins"].push_back({"Installed Plugin", "Lensora - Kopie.dll"}); },
         {"PLUGIN-COPIES warn"}, {"Lensora - Kopie.dll"}},
    };
    for (const FaultCase& fault : cases) {
        Logs logs = HealthyLogs();
        fault.inject(logs);
        const std::vector<Verdict> verdicts = DiagnoseLogs(logs);
        EXPECT_EQ(Findings(verdicts), fault.expected) << fault.what;
        for (const Verdict& verdict : verdicts) {
            if (!fault.expected.empty() &&
                *fault.expected.begin() == verdict.code + " " + OutcomeText(verdict.outcome)) {
                for (const char* text : fault.named) {
                    EXPECT_NE((verdict.sentence + verdict.action).find(text), std::string::npos)
                        << fault.what << ": \"" << text << "\" not in: " << verdict.sentence;
                }
                EXPECT_FALSE(verdict.evidence.empty()) << fault.what;
            }
            if (verdict.code == "PLUGIN-INIT" && verdict.outcome == Outcome::NotJudged &&
                verdict.sentence.find("follows from") != std::string::npos) {
                // It names a rule that fails or warns, never one that passes.
                bool named = false;
                for (const std::string& finding : Findings(verdicts)) {
                    named = named || verdict.sentence.find(finding.substr(0, finding.find(' '))) !=
                                         std::string::npos;
                }
                EXPECT_TRUE(named) << fault.what << ": " << verdict.sentence;
            }
            // However many rows a finding rests on, a verdict stays readable.
            if (verdict.outcome == Outcome::Fail || verdict.outcome == Outcome::Warn) {
                EXPECT_LE(verdict.evidence.size(), 6u) << fault.what << " " << verdict.code;
                EXPECT_LE(verdict.sentence.size(), 400u) << fault.what << " " << verdict.code;
                EXPECT_FALSE(verdict.action.empty()) << fault.what;
            }
        }
    }
}

TEST(DiagnosisRules, MissingFactsAreNotJudgedWithTheReason) {
    Logs logs = HealthyLogs();
    logs.erase("Dependencies");
    std::vector<std::string> written;
    for (const BundleFile& file : FilesOf(logs)) {
        written.push_back(file.name);
    }
    written.push_back("Lensora_Brenhold.logAnalyzeDependencies");  // listed, then lost
    const std::vector<Verdict> lost = Diagnose(BundleView(FilesOf(logs), &written));
    const std::vector<Verdict> unknown = Diagnose(BundleView(FilesOf(logs), nullptr));
    const struct {
        const std::vector<Verdict>* verdicts;
        const char* reason;
    } rows[] = {
        {&lost, "Lensora_Brenhold.logAnalyzeDependencies missing, though the manifest lists it"},
        {&unknown, "Lensora_Brenhold.logAnalyzeDependencies not in the bundle"},
    };
    for (const auto& row : rows) {
        for (const char* code : {"DLL-NOT-FOUND", "DLL-BITNESS", "FUNCTION-MISSING"}) {
            bool seen = false;
            for (const Verdict& verdict : *row.verdicts) {
                if (verdict.code == code) {
                    seen = true;
                    EXPECT_EQ(verdict.outcome, Outcome::NotJudged) << code;
                    EXPECT_NE(verdict.sentence.find(row.reason), std::string::npos)
                        << code << ": " << verdict.sentence;
                }
            }
            EXPECT_TRUE(seen) << code;
        }
    }
    // Without a list of what the run wrote, a missing plug-in version log proves nothing.
    logs = HealthyLogs();
    logs.erase("PluginVersion");
    for (const Verdict& verdict : Diagnose(BundleView(FilesOf(logs), nullptr))) {
        if (verdict.code == "UNINSTALL-ENTRY") {
            EXPECT_EQ(verdict.outcome, Outcome::NotJudged) << verdict.sentence;
        }
    }
}

}  // namespace
