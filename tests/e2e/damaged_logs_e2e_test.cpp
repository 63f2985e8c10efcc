// End-to-end: a bundle written by the program, its logs damaged on their way
// as supporters find them, and what the comparison says, mends and refuses.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/machine_state.h"
#include "tests/e2e/vorlix_session.h"

namespace {

const char kBase[] = "C:\\vorlix_e2e_damaged_base";
const char kServices[] = "Lensora_Brenhold.logServices";
const char kSettings[] = "Lensora_Brenhold.logAnalyzeSettings";
const char kProducts[] = "Lensora_Brenhold.logAnalyzeInstalledProgs";
const char kMessages[] = "Lensora_Brenhold.logMessages";
// Windows-1252 bytes that happen to form UTF-8 ("Â®" is "®" in UTF-8), and
// ones that do not ("ü" before a letter).
const char kLifeCam[] = "Microsoft\xC2\xAE LifeCam";
const char kGerman[] = "Sprachpaket f\xFCr Deutsch";

std::string InBase(const std::string& name) {
    return std::string(kBase) + "\\" + name;
}

// An installed product of that name for the products log; its keys go again.
class TemporaryProduct {
public:
    TemporaryProduct(const std::string& code, const char* name)
        : key_(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Installer\\Products\\" + code) {
        HKEY key = nullptr;
        const std::string path = "SOFTWARE\\Classes\\Installer\\Products\\" + code;
        if (key_.Valid() && RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE,
                                          &key) == ERROR_SUCCESS) {
            created_ =
                RegSetValueExA(key, "ProductName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                               static_cast<DWORD>(lstrlenA(name) + 1)) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    bool Created() const { return created_; }

private:
    TemporaryKey key_;
    bool created_ = false;
};

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end = text.find(separator); end != std::string::npos;
         end = text.find(separator, start)) {
        parts.push_back(text.substr(start, end - start));
        start = end + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Each line of a log given to a function that makes the lines it becomes.
std::string EachLine(const std::string& log,
                     const std::function<std::string(const std::string&)>& change) {
    std::string out;
    for (const std::string& line : Lines(log)) {
        out += change(line);
    }
    return out;
}

// The ways the supporters found logs damaged.
std::string WrappedHard(const std::string& log) {
    return EachLine(log, [](const std::string& line) {
        std::string out;
        for (size_t at = 0; at == 0 || at < line.size(); at += 76) {
            out += line.substr(at, 76) + "\r\n";
        }
        return out;
    });
}

std::string WrappedFlowed(const std::string& log) {
    return EachLine(log, [](std::string line) {
        std::string out;
        while (line.size() > 76) {
            const size_t blank = line.rfind(' ', 75);
            const size_t cut = blank == std::string::npos ? 76 : blank + 1;
            out += line.substr(0, cut) + "\r\n";
            line = line.substr(cut);
        }
        return out + line + "\r\n";
    });
}

std::string Quoted(const std::string& log) {
    return EachLine(log, [](const std::string& line) { return "> " + line + "\r\n"; });
}

std::string PastedTwice(const std::string& log) {
    return log + log;
}

std::string Collapsed(const std::string& log) {
    std::string out;
    for (char c : log) {
        if (!(c == ' ' && !out.empty() && out.back() == ' ')) {
            out += c;
        }
    }
    return out;
}

// A spreadsheet's CSV: the fields (two blanks end one) joined by commas.
std::string AsCsv(const std::string& log) {
    return EachLine(log, [](const std::string& line) {
        std::string out;
        for (const std::string& part : Split(line, "  ")) {
            size_t start = part.find_first_not_of(' ');
            if (start != std::string::npos) {
                out += (out.empty() ? "" : ",") + part.substr(start);
            }
        }
        return out + "\r\n";
    });
}

std::string Emptied(const std::string&) {
    return "";
}

std::string MarkOnly(const std::string&) {
    return "\xEF\xBB\xBF";
}

// One collect run for every test: a bundle as the program writes it, with a
// product whose name forms UTF-8 by chance and one whose name does not.
class DamagedLogs : public testing::Test {
protected:
    static void SetUpTestSuite() {
        aside_.reset(new LogsSetAside);
        base_.reset(new TemporaryFolder(kBase));
        const TemporaryProduct lifeCam("00VORLIXE2ELIFECAM000000000000", kLifeCam);
        const TemporaryProduct german("00VORLIXE2EGERMAN0000000000000", kGerman);
        // The plug-in's key, so that the run writes every setting with its default.
        const TemporaryKey settings(HKEY_CURRENT_USER, kSettingsKey);
        productsMade_ = lifeCam.Created() && german.Created() && settings.Valid();
        RunToEnd(std::string("/collect ") + kBase);
        DeleteFileA(kMessagesLog);
    }
    static void TearDownTestSuite() {
        base_.reset();
        aside_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(productsMade_)
            << "the test products or the plug-in's settings key could not be made (HKCU\\"
            << kSettingsKey << " may be left from an earlier run)";
        ASSERT_TRUE(FileExistsAt(InBase("manifest.txt"))) << "the collect run made no bundle";
    }

    static std::unique_ptr<LogsSetAside> aside_;
    static std::unique_ptr<TemporaryFolder> base_;
    static bool productsMade_;
};

std::unique_ptr<LogsSetAside> DamagedLogs::aside_;
std::unique_ptr<TemporaryFolder> DamagedLogs::base_;
bool DamagedLogs::productsMade_ = false;

// The lines of a report: its column titles, then one a differing row.
size_t ReportLines(const std::string& path) {
    return Lines(ReadFileBytes(path)).size();
}

TEST_F(DamagedLogs, EachIsSaidAndMendedWhereTheLayoutShowsHow) {
    const struct {
        const char* log;
        const char* kind;
        std::string (*damage)(const std::string&);
        const char* note;
        bool mended;
    } cases[] = {
        {kServices, "services", WrappedHard, "lines wrapped at 76 characters (joined)", true},
        {kServices, "services", WrappedFlowed, "lines wrapped at 76 characters (joined)", true},
        {kSettings, "analysis", WrappedHard, "lines wrapped at 76 characters (joined)", true},
        {kSettings, "analysis", WrappedFlowed, "lines wrapped at 76 characters (joined)", true},
        {kServices, "services", Quoted, "quoted with \"> \" (removed)", true},
        {kSettings, "analysis", PastedTwice, "2 runs in one log (the last read)", true},
        {kServices, "services", AsCsv, "lines do not have the shape of a service log from line 2",
         false},
        {kSettings, "analysis", AsCsv, "lines do not have the shape of a Settings log from line 2",
         false},
        {kServices, "services", Collapsed,
         "lines do not have the shape of a service log from line 2", false},
        {kServices, "services", Emptied, "empty", false},
        {kSettings, "analysis", MarkOnly, "empty, UTF-8", false},
    };
    const TemporaryFolder damaged("C:\\vorlix_e2e_damaged_copy");
    const std::string report = damaged / "report.txt";
    for (const auto& c : cases) {
        const std::string copy = damaged / c.log;
        WriteFileBytes(copy, c.damage(ReadFileBytes(InBase(c.log))));
        const FinishedRun run = RunToEnd(std::string("/compare ") + c.kind + " " + InBase(c.log) +
                                         " " + copy + " /report " + report);
        EXPECT_EQ(run.exitCode, c.mended ? 0u : 1u) << c.note << "\n" << run.output;
        EXPECT_NE(run.output.find(copy + ": " + c.note + "\r\n"), std::string::npos)
            << c.note << "\n"
            << run.output;
        if (c.mended) {
            EXPECT_EQ(ReportLines(report), 1u) << c.note;
        }
    }

    // The bundle as written says nothing; the summary says what a log of the
    // other folder needed.
    const TemporaryFolder wrapped("C:\\vorlix_e2e_damaged_wrapped");
    for (const std::string& name : base_->Files()) {
        WriteFileBytes(wrapped / name, ReadFileBytes(InBase(name)));
    }
    WriteFileBytes(wrapped / kServices, WrappedHard(ReadFileBytes(InBase(kServices))));
    for (const char* second : {kBase, "C:\\vorlix_e2e_damaged_wrapped"}) {
        const FinishedRun run = RunToEnd(std::string("/compare folders ") + kBase + " " + second +
                                         " /report " + report);
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        for (const std::string& line : Lines(ReadFileBytes(report))) {
            const std::vector<std::string> cells = Split(line, "\t");
            if (cells.size() != 7 || cells[0] == "Log") {
                continue;
            }
            const bool wrappedLog = second != std::string(kBase) && cells[0] == kServices;
            EXPECT_EQ(cells[3], "0") << line;
            if (wrappedLog) {
                EXPECT_EQ(cells[6].find("second: lines wrapped at 76 characters (joined); "), 0u)
                    << line;
            } else if (cells[0] != kMessages) {
                EXPECT_EQ(cells[6], "") << second << ": " << line;
            }
        }
    }
}

TEST_F(DamagedLogs, EqualBytesCompareEqual) {
    const std::string products = ReadFileBytes(InBase(kProducts));
    ASSERT_NE(products.find(std::string(kLifeCam) + "\r\n"), std::string::npos) << products;
    const size_t german = products.find(std::string(kGerman) + "\r\n");
    ASSERT_NE(german, std::string::npos) << products;
    // Without the umlaut the rest of the log forms valid UTF-8.
    const TemporaryFolder folder("C:\\vorlix_e2e_damaged_bytes");
    std::string copy = products;
    copy.erase(german, std::string(kGerman).size() + 2);
    size_t beyondAscii = 0;
    for (char c : copy) {
        beyondAscii += static_cast<unsigned char>(c) >= 0x80 ? 1 : 0;
    }
    ASSERT_EQ(beyondAscii, 2u) << "the products log holds names beyond ASCII of other products";
    WriteFileBytes(folder / kProducts, copy);
    for (bool swapped : {false, true}) {
        const std::string first = swapped ? folder / kProducts : InBase(kProducts);
        const std::string second = swapped ? InBase(kProducts) : folder / kProducts;
        const FinishedRun run = RunToEnd("/compare analysis " + first + " " + second + " /report " +
                                         (folder / "r.txt"));
        EXPECT_EQ(run.exitCode, 1u) << run.output;
        EXPECT_EQ(run.output.find("UTF-8"), std::string::npos) << run.output;
        const std::vector<std::string> lines = Lines(ReadFileBytes(folder / "r.txt"));
        ASSERT_EQ(lines.size(), 2u) << ReadFileBytes(folder / "r.txt");
        EXPECT_EQ(lines[1].substr(0, std::string(kGerman).size()), kGerman);
    }
}

// A sparse file of 65 MiB: no log of the program is that large.
void MakeTooLarge(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 65LL * 1024 * 1024;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

// Answers every message box until a report dialog whose first column has the
// title shows; returns it, or nullptr.
HWND AnswerBoxesUntilReport(VorlixSession& session, const char* firstTitle,
                            std::vector<std::string>& boxTexts) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        for (HWND window : session.Dialogs()) {
            if (GetDlgItem(window, 1000) != nullptr) {
                const std::vector<std::string> titles = session.ColumnTitles(window);
                if (firstTitle == nullptr || (!titles.empty() && titles[0] == firstTitle)) {
                    return window;
                }
                continue;
            }
            boxTexts.push_back(session.MessageBoxText(window));
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            session.WaitUntilClosed(window, 5000);
        }
        Sleep(20);
    }
    return nullptr;
}

TEST_F(DamagedLogs, ALogThatCannotBeReadIsNeverComparedAsAnEmptyOne) {
    const TemporaryFolder large("C:\\vorlix_e2e_damaged_large");
    for (const std::string& name : base_->Files()) {
        WriteFileBytes(large / name, ReadFileBytes(InBase(name)));
    }
    MakeTooLarge(large / kServices);
    const std::string tooLarge = (large / kServices) + "  is larger than 64 MiB";

    // Without a window: no report, and the file named.
    FinishedRun run = RunToEnd("/compare folders " + std::string(kBase) + " " + large.Path() +
                               " /report " + (large / "r.txt"));
    EXPECT_EQ(run.exitCode, 2u) << run.output;
    EXPECT_NE(run.output.find(tooLarge), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Vorlix: no report written.\r\n"), std::string::npos) << run.output;
    EXPECT_FALSE(FileExistsAt(large / "r.txt"));

    // The summary: the box names the file, the row says why it has no counts.
    {
        VorlixSession session("/compare folders " + std::string(kBase) + " " + large.Path());
        ASSERT_TRUE(session.Started());
        std::vector<std::string> boxes;
        HWND summary = AnswerBoxesUntilReport(session, "Log", boxes);
        ASSERT_NE(summary, nullptr);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].find(tooLarge), 0u) << boxes[0];
        bool seen = false;
        for (int row = 0; row < session.RowCount(summary); ++row) {
            if (session.Cell(summary, row, 0) == kServices) {
                seen = true;
                EXPECT_EQ(session.Cell(summary, row, 2), "");
                EXPECT_EQ(session.Cell(summary, row, 3), "");
                EXPECT_EQ(
                    session.Cell(summary, row, 6).find("second: unreadable: larger than 64 MiB; "),
                    0u)
                    << session.Cell(summary, row, 6);
            }
        }
        EXPECT_TRUE(seen);
        PostMessageA(summary, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(session.WaitUntilClosed(summary));
        session.Command(105);
        EXPECT_EQ(session.ExitCode(20000), 0u);
    }
    // Two logs in a window: the box, then no comparison.
    VorlixSession session("/compare services " + InBase(kServices) + " " + (large / kServices));
    ASSERT_TRUE(session.Started());
    std::vector<std::string> boxes;
    HWND report = AnswerBoxesUntilReport(session, nullptr, boxes);
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].find(tooLarge), 0u) << boxes[0];
    EXPECT_EQ(session.RowCount(report), 0);
    EXPECT_TRUE(session.ColumnTitles(report).empty());
    PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(session.WaitUntilClosed(report));
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

std::string ShortPath(const std::string& path) {
    char name[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), name, sizeof name);
    return length > 0 && length < sizeof name ? name : "";
}

TEST_F(DamagedLogs, AReportNeverDestroysItsInput) {
    const TemporaryFolder other("C:\\vorlix_e2e_damaged_other");
    for (const std::string& name : base_->Files()) {
        WriteFileBytes(other / name, ReadFileBytes(InBase(name)));
    }
    const std::string shortName = ShortPath(InBase(kServices));
    ASSERT_NE(shortName, "") << "the system gives no short name";
    ASSERT_NE(shortName, InBase(kServices)) << "the system made no 8.3 name of a long name";
    const std::string logs =
        std::string("/compare services ") + InBase(kServices) + " " + (other / kServices);
    const std::string folders = std::string("/compare folders ") + kBase + " " + other.Path();
    const struct {
        std::string arguments;
        std::string report;  // as given, relative to the base folder
        std::string input;   // the file it would destroy
        std::string said;
    } cases[] = {
        {logs, InBase(kServices), InBase(kServices), "is " + InBase(kServices)},
        {logs, kServices, InBase(kServices), "one of the logs compared"},
        {logs, "C:/vorlix_e2e_damaged_base/LENSORA_BRENHOLD.LOGSERVICES", InBase(kServices),
         "one of the logs compared"},
        {logs, "..\\vorlix_e2e_damaged_other\\.\\" + std::string(kServices), other / kServices,
         "one of the logs compared"},
        {logs, shortName, InBase(kServices), "one of the logs compared"},
        {folders, "manifest.txt", InBase("manifest.txt"), "is a file of the bundle"},
        {folders, other / kSettings, other / kSettings, "is a file of the bundle"},
        {folders, "Lensora_Brenhold.logNotThere", InBase("Lensora_Brenhold.logNotThere"),
         "is a file of the bundle"},
    };
    for (const auto& c : cases) {
        const std::string before = ReadFileBytes(c.input);
        const FinishedRun run = RunToEnd(c.arguments + " /report " + c.report, kBase);
        EXPECT_EQ(run.exitCode, 2u) << c.report << "\n" << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << c.report << "\n" << run.output;
        EXPECT_NE(run.output.find("Vorlix: no report written.\r\n"), std::string::npos)
            << run.output;
        EXPECT_EQ(ReadFileBytes(c.input), before) << c.report;
        EXPECT_EQ(FileExistsAt(c.input), !before.empty()) << c.report;
    }

    // Another file of the bundle's folder is a report like any other.
    FinishedRun run = RunToEnd(folders + " /report diff.txt", kBase);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find("Vorlix: report written to " + InBase("diff.txt")), std::string::npos)
        << run.output;
    DeleteFileA(InBase("diff.txt").c_str());

    // A report that cannot take the place of the earlier one (read-only, or
    // held open by another program) leaves it as it was, and no part of itself.
    const TemporaryFolder reports("C:\\vorlix_e2e_damaged_reports");
    const std::string old = reports / "old.txt";
    for (bool readOnly : {true, false}) {
        WriteFileBytes(old, "the earlier report\r\n");
        SetFileAttributesA(old.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        HANDLE held = readOnly ? INVALID_HANDLE_VALUE
                               : CreateFileA(old.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(readOnly || held != INVALID_HANDLE_VALUE);
        run = RunToEnd(logs + " /report " + old);
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        EXPECT_EQ(run.exitCode, 2u) << run.output;
        EXPECT_NE(run.output.find(old + "  "), std::string::npos) << run.output;
        EXPECT_EQ(run.output.substr(run.output.size() - 28), "Vorlix: no report written.\r\n")
            << run.output;
        EXPECT_EQ(ReadFileBytes(old), "the earlier report\r\n") << readOnly;
        EXPECT_EQ(reports.Files(), std::vector<std::string>{"old.txt"}) << readOnly;
        SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // A folder that is not there.
    run = RunToEnd(logs + " /report C:\\vorlix_e2e_damaged_none\\r.txt");
    EXPECT_EQ(run.exitCode, 2u) << run.output;
    EXPECT_NE(run.output.find("C:\\vorlix_e2e_damaged_none\\r.txt  "), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.substr(run.output.size() - 28), "Vorlix: no report written.\r\n")
        << run.output;
}

TEST_F(DamagedLogs, ABundleSaysWhatItIs) {
    const TemporaryFolder other("C:\\vorlix_e2e_damaged_bundle");
    for (const std::string& name : base_->Files()) {
        if (name != "manifest.txt") {
            WriteFileBytes(other / name, ReadFileBytes(InBase(name)));
        }
    }
    const std::string report = other / "r.txt";
    // Without its manifest the folder is no whole bundle.
    FinishedRun run = RunToEnd(std::string("/compare folders ") + kBase + " " + other.Path() +
                               " /report " + report);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    // (Then what its diagnosis log says failed.)
    EXPECT_NE(run.output.find("Second folder: " + other.Path() +
                              " (not a whole bundle: no manifest.txt), 1 rule failed\r\n"),
              std::string::npos)
        << run.output;

    // With it, a log it does not list is named and left out; every
    // Lensora_Brenhold.log* name is listed.
    WriteFileBytes(other / "manifest.txt", ReadFileBytes(InBase("manifest.txt")));
    const std::string stray = "Lensora_Brenhold.logServices.txt";
    WriteFileBytes(other / stray, ReadFileBytes(InBase(kServices)));
    WriteFileBytes(other / kSettings, "an earlier run's log\r\n");
    std::string manifest = ReadFileBytes(other / "manifest.txt");
    const size_t listed = manifest.find(std::string("File\t") + kSettings + "\t");
    ASSERT_NE(listed, std::string::npos) << manifest;
    manifest.erase(listed, manifest.find("\r\n", listed) + 2 - listed);
    WriteFileBytes(other / "manifest.txt", manifest);
    run = RunToEnd(std::string("/compare folders ") + kBase + " " + other.Path() + " /report " +
                   report);
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    bool straySeen = false, leftOverSeen = false;
    for (const std::string& line : Lines(ReadFileBytes(report))) {
        const std::vector<std::string> cells = Split(line, "\t");
        if (cells.size() == 7 && cells[0] == stray) {
            straySeen = true;
            EXPECT_EQ(cells[2], "0") << line;
            EXPECT_EQ(cells[6],
                      "only in the second folder; second: not in its manifest: left "
                      "from an earlier run")
                << line;
        } else if (cells.size() == 7 && cells[0] == kSettings) {
            leftOverSeen = true;
            EXPECT_EQ(cells[4], cells[2]) << "every row only in the first: " << line;
            EXPECT_EQ(cells[6], "second: not in its manifest: left from an earlier run") << line;
        }
    }
    EXPECT_TRUE(straySeen && leftOverSeen) << ReadFileBytes(report);

    // Two messages logs dropped on the window open their comparison.
    VorlixSession session;
    ASSERT_TRUE(session.Started());
    session.DropFiles({InBase(kMessages), other / kMessages});
    std::vector<std::string> boxes;
    HWND view = AnswerBoxesUntilReport(session, "Name", boxes);
    EXPECT_NE(view, nullptr);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0]);
    if (view != nullptr) {
        PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(session.WaitUntilClosed(view));
    }
    session.Command(105);
    EXPECT_EQ(session.ExitCode(20000), 0u);
}

// "C:" alone is the current folder of drive C, as Windows reads it: in the
// root itself the logs stay where they are and no manifest goes beside them.
TEST(CollectIntoADrive, ADriveAloneIsItsCurrentFolder) {
    const LogsSetAside aside;
    const TemporaryFolder current("C:\\vorlix_e2e_damaged_current");
    const struct {
        const char* folder;
        std::string expectedFolder;
        bool bundle;
    } cases[] = {
        {"C:\\", "C:\\", false},
        {current.Path().c_str(), current.Path(), true},
    };
    for (const auto& c : cases) {
        const FinishedRun run = RunToEnd("/collect C:", c.folder);
        EXPECT_LE(run.exitCode, 1u) << run.output;
        EXPECT_FALSE(run.showedWindow);
        EXPECT_NE(run.output.find(" logs in " + c.expectedFolder + ","), std::string::npos)
            << run.output;
        EXPECT_EQ(FileExistsAt(c.expectedFolder + (c.bundle ? "\\" : "") + "manifest.txt"),
                  c.bundle)
            << c.folder;
        EXPECT_TRUE(FileExistsAt("C:\\Lensora_Brenhold.logServices")) << c.folder;
    }
    DeleteFileA(kMessagesLog);
    DeleteFileA("C:\\manifest.txt");
}

}  // namespace
