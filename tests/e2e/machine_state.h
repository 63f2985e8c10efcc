// What the end-to-end tests change on the machine (the prefix) and put back: the logs
// under C:\, the Mach3 plug-in folder, registry keys; and the texts they compare with.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The logs of the three test commands, in the order a full run writes them.
extern const char* const kLogs[12];
extern const char kMessagesLog[];
// The plug-in's settings key under HKEY_CURRENT_USER, which the plug-in makes when it
// first starts.
extern const char kSettingsKey[];

// The closing line of /collect without the diagnosis' headline at its start ("Vorlix: CODE:
// sentence (counts) 13 logs in ..." or "Vorlix: No rule failed (counts). 13 logs in ...");
// empty when the line has no such headline.
std::string WithoutDiagnosisHeadline(const std::string& line);
constexpr char kDiagnosisLog[] = "C:\\Lensora_Brenhold.logDiagnosis";

// Splits bytes at CR LF; a last line without CR LF is kept.
std::vector<std::string> Lines(const std::string& bytes);

// The system's text for the code without its line end, as a messages log line holds it.
std::string TrimmedSystemText(DWORD code);

// The folder of this test program, ending in a backslash.
std::string ExeFolder();

// Keeps the logs that earlier tests left under C:\ and puts them back at the
// end; meanwhile every test of a run starts without any of them, so an old
// log cannot pass for one that the run wrote.
class LogsSetAside {
public:
    LogsSetAside();
    ~LogsSetAside();
    LogsSetAside(const LogsSetAside&) = delete;
    LogsSetAside& operator=(const LogsSetAside&) = delete;
    void Clear();

private:
    std::vector<std::pair<bool, std::string>> saved_;
};

// Makes the Mach3 plug-in folder for one test, with a plug-in DLL in it when
// a fixture is named, and removes the DLL and every folder it made on every
// way out: a plug-in folder left behind would change what later runs of the
// analysis tests see.
class PluginFolder {
public:
    explicit PluginFolder(const char* fixture = nullptr);
    ~PluginFolder();
    PluginFolder(const PluginFolder&) = delete;
    PluginFolder& operator=(const PluginFolder&) = delete;
    bool Copied() const { return copied_; }

private:
    std::vector<std::string> made_;
    bool copied_ = false;
};

// A registry key that did not exist, made for one test (with the keys above it that were
// missing) and deleted with everything below the outermost one made, on every way out.
// Valid() is false when the key existed already: the test must not take it over.
class TemporaryKey {
public:
    TemporaryKey(HKEY root, const std::string& path);
    ~TemporaryKey();
    TemporaryKey(const TemporaryKey&) = delete;
    TemporaryKey& operator=(const TemporaryKey&) = delete;
    bool Valid() const { return !madeTop_.empty(); }

private:
    HKEY root_;
    std::string madeTop_;
};

bool KeyExists(HKEY root, const std::string& path);

// Sets the PATH of this process, which the program inherits, for the life of the object.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& value);
    ~ScopedPath();
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    std::string saved_;
};

// A folder under C:\ that goes with everything in it (read-only files too).
class TemporaryFolder {
public:
    explicit TemporaryFolder(std::string path);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    // The names of the files directly in it.
    std::vector<std::string> Files() const;

private:
    void Remove();
    std::string path_;
};
