#include "app/many_bundles_win.h"

#include <algorithm>

#include "app/compare_report_win.h"
#include "app/console_win.h"
#include "compare/folder_compare.h"
#include "compare/folder_compare_win.h"
#include "compare/matrix_view_win.h"
#include "diagnosis/bundle_folder_win.h"
#include "diagnosis/diagnosis_document.h"
#include "diagnosis/diagnosis_text.h"
#include "diagnosis/rules.h"
#include "platform/ascii_case.h"
#include "platform/background_queue_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "platform/path_text.h"
#include "platform/shell_state_win.h"
#include "report/save_report_win.h"
#include "res/resource.h"

namespace {

const char kLogPrefix[] = "Lensora_Brenhold.";
const char kDiagnosisKind[] = "logDiagnosis";

// A folder given alone holds bundles as its folders: each that holds a log of Vorlix.
std::vector<std::string> BundlesInParent(const std::string& parent) {
    std::vector<std::string> folders;
    WIN32_FIND_DATAA entry;
    const UniqueFind search(FindFirstFileA(JoinFolderAndName(parent, "*").c_str(), &entry));
    if (!search) {
        return folders;
    }
    do {
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
            folders.push_back(JoinFolderAndName(parent, name));
        }
    } while (FindNextFileA(search.Get(), &entry));
    std::sort(folders.begin(), folders.end());
    return folders;
}

bool SameManifest(const GatheredBundle& a, const GatheredBundle& b) {
    if (!a.hasManifest || !b.hasManifest || a.manifest.run != b.manifest.run ||
        a.manifest.windows != b.manifest.windows ||
        a.manifest.files.size() != b.manifest.files.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.manifest.files.size(); ++i) {
        if (a.manifest.files[i].name != b.manifest.files[i].name ||
            a.manifest.files[i].size != b.manifest.files[i].size) {
            return false;
        }
    }
    return true;
}

std::string TitleOf(const std::string& folder, const GatheredBundle& bundle) {
    std::string title = FileNameOfPath(folder);
    if (title.empty()) {
        title = folder;
    }
    if (bundle.hasManifest) {
        title +=
            " (" +
            (bundle.manifest.windows.empty() ? std::string("Windows ?") : bundle.manifest.windows) +
            ", " + bundle.manifest.run + ")";
    }
    return title;
}

void Say(std::vector<std::string>& notes, const std::string& note) {
    notes.push_back(note);
}

std::string JoinNotes(const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes) {
        text += (text.empty() ? "" : "; ") + note;
    }
    return text;
}

}  // namespace

bool IsFolderOfBundles(const std::string& folder) {
    if (!BundleFiles(folder).empty()) {
        return false;
    }
    for (const std::string& inner : BundlesInParent(folder)) {
        if (!BundleFiles(inner).empty()) {
            return true;
        }
    }
    return false;
}

namespace {

// What the reading thread reads: the paths, made beforehand, and a record per bundle that it
// fills and the program's thread takes over once `bundlesRead` says so.
struct ReadAhead {
    std::vector<BundleFolderPaths> paths;
    std::vector<RawBundleFolder> raw;
    HANDLE heap = nullptr;
    HANDLE bundlesRead = nullptr;

    static void ReadBundle(void* context, std::size_t k) {
        ReadAhead& ahead = *static_cast<ReadAhead*>(context);
        ReadBundleFolderRaw(ahead.paths[k], ahead.heap, ahead.raw[k]);
        ReleaseSemaphore(ahead.bundlesRead, 1, nullptr);
    }
};

// One bundle read: its verdicts, its logs' lines and its column, appended to `shown`.
void LayOutBundle(GatheredBundle& bundle, const std::string& folder,
                  const std::vector<std::string>& badFolders, MatrixShown& shown,
                  std::vector<std::string>& notes) {
    MatrixBundle matrixBundle;
    matrixBundle.title = TitleOf(folder, bundle);
    if (bundle.hasManifest) {
        matrixBundle.manifest = bundle.manifest;
    }
    BundleView view = bundle.View();
    // The verdicts first: the matrix then takes the logs' lines from the view.
    const std::vector<Verdict> verdicts = Diagnose(view);
    for (const BundleFile& file : bundle.files) {
        if (!file.read) {
            Say(notes, folder + ": " + file.name + " unreadable (" + file.problem +
                           "), not counted as empty");
            continue;
        }
        // A log of the run is read once, as the rules read it (a mail's wrapping or quote
        // undone by its layout); any other log of Vorlix line by line.
        BundleLog log;
        if (BundleLogOfFileName(file.name, &log) && view.Has(log)) {
            shown.lines.push_back(view.TakeLines(log));
        } else {
            shown.lines.push_back(ReadLogLines(file.bytes.data(), file.bytes.size()));
        }
        matrixBundle.logs.push_back(
            MatrixLog{file.name.substr(sizeof kLogPrefix - 1), &shown.lines.back()});
    }
    // The verdicts as one more log, computed by the rules as on the user's machine.
    LogLines diagnosis;
    for (const Verdict& verdict : verdicts) {
        std::vector<std::string> cells = VerdictCells(verdict);
        diagnosis.lines.push_back(LogLine{{cells[0], cells[1] + ": " + cells[2]}, false});
    }
    shown.lines.push_back(std::move(diagnosis));
    matrixBundle.logs.push_back(MatrixLog{kDiagnosisKind, &shown.lines.back()});
    matrixBundle.bad = CountOutcome(verdicts, Outcome::Fail) > 0;
    matrixBundle.verdicts = VerdictEntries(verdicts);
    for (const std::string& bad : badFolders) {
        matrixBundle.bad = matrixBundle.bad || FoldAsciiCase(bad) == FoldAsciiCase(folder);
    }
    shown.folders.push_back(folder);
    shown.bundles.push_back(std::move(matrixBundle));
}

}  // namespace

void GatherManyBundles(const std::vector<std::string>& given,
                       const std::vector<std::string>& badFolders, MatrixShown& shown,
                       std::vector<std::string>& notes) {
    std::vector<std::string> folders = given;
    if (given.size() == 1) {
        folders = BundlesInParent(given.front());
        if (folders.empty()) {
            Say(notes, given.front() + ": holds no folder of bundles");
        }
    }
    // A second thread reads the bundles' files a few bundles ahead while this one says what
    // it found and lays each out: reading is mostly waiting on Wine's server, laying out is
    // work. Without a heap or semaphore of its own, this thread reads each bundle itself.
    const UniqueHeap heap(HeapCreate(0, 0, 0));
    ReadAhead ahead;  // its blocks go before their heap
    ahead.heap = heap.Get();
    ahead.paths.reserve(folders.size());
    for (const std::string& folder : folders) {
        ahead.paths.push_back(PathsOfBundleFolder(folder));
    }
    ahead.raw.resize(folders.size());
    // Never more than kBundlesReadAhead bundles read and not yet taken; a count beyond it would
    // make a release fail and leave this thread waiting for good, so the bound is set far above.
    const UniqueKernelObject bundlesRead(CreateSemaphoreA(nullptr, 0, 0x7FFFFFFF, nullptr));
    ahead.bundlesRead = bundlesRead.Get();
    const bool readAhead = heap && bundlesRead;
    BackgroundQueue reader(kBundlesReadAhead);
    const auto handRead = [&](std::size_t k) {
        if (readAhead && k < folders.size()) {
            reader.Hand(BackgroundJob{&ReadAhead::ReadBundle, &ahead, k});
        }
    };
    for (std::size_t k = 0; k < kBundlesReadAhead; ++k) {
        handRead(k);
    }
    std::vector<GatheredBundle> taken;  // only their manifests, to tell a bundle named twice
    // The rows are made bundle by bundle while the next ones are read.
    BundleMatrixBuilder matrix;
    for (std::size_t k = 0; k < folders.size(); ++k) {
        const std::string& folder = folders[k];
        if (readAhead) {
            WaitForSingleObject(bundlesRead.Get(), INFINITE);
            handRead(k + kBundlesReadAhead);
        } else {
            ReadBundleFolderRaw(ahead.paths[k], GetProcessHeap(), ahead.raw[k]);
        }
        GatheredBundle bundle = GatheredBundleOf(ahead.paths[k], ahead.raw[k]);
        if (!bundle.HoldsLogs()) {
            Say(notes, folder + ": no log of Vorlix, left out");
            continue;
        }
        bool twice = false;
        for (std::size_t i = 0; i < taken.size() && !twice; ++i) {
            if (FoldAsciiCase(shown.folders[i]) == FoldAsciiCase(folder) ||
                SameManifest(taken[i], bundle)) {
                Say(notes, folder + ": the same bundle as " + shown.folders[i] + ", left out");
                twice = true;
            }
        }
        if (twice) {
            continue;
        }
        if (!bundle.hasManifest) {
            Say(notes, folder + ": not a whole bundle (no manifest.txt)");
        }
        LayOutBundle(bundle, folder, badFolders, shown, notes);
        matrix.Add(shown.bundles.back());
        // Its lines are laid out; only the manifest is still wanted.
        bundle.files.clear();
        taken.push_back(std::move(bundle));
    }
    if (!shown.bundles.empty()) {
        shown.matrix = matrix.Finish(shown.bundles);
    }
}

void OpenManyBundles(const std::vector<std::string>& folders,
                     const std::vector<std::string>& badFolders, HWND owner) {
    MatrixShown shown;
    std::vector<std::string> notes;
    GatherManyBundles(folders, badFolders, shown, notes);
    if (shown.bundles.size() < 2) {
        const std::string text = "Fewer than two bundles to compare. " + JoinNotes(notes);
        ShowMessageBox(nullptr, text.c_str(), "Vorlix", MB_TASKMODAL | MB_ICONINFORMATION);
        return;
    }
    shown.notes =
        notes.empty() ? std::to_string(shown.bundles.size()) + " bundles" : JoinNotes(notes);
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), owner, MatrixDialogProc,
                    reinterpret_cast<LPARAM>(&shown));
}

int RunManyBundlesReport(const StartRequest& request) {
    SetMessageBoxTarget(PrintBox);
    MatrixShown shown;
    std::vector<std::string> notes;
    GatherManyBundles(request.folders, request.badFolders, shown, notes);
    // Refused before anything is written: every bundle is a customer's.
    const std::string refusal = ReportIsBundleFile(request.report, shown.folders);
    if (!refusal.empty()) {
        WriteToStartingConsole((refusal + "Vorlix: no report written.\r\n").c_str());
        return kExitBadArguments;
    }
    for (const std::string& note : notes) {
        WriteToStartingConsole(("Vorlix: " + note + "\r\n").c_str());
    }
    if (shown.bundles.size() < 2) {
        WriteToStartingConsole("Vorlix: fewer than two bundles to compare; no report written.\r\n");
        return kExitBadArguments;
    }
    const ReportContent report = ManyBundlesReport(shown.matrix, shown.bundles, shown.folders);
    if (!WriteReportFile(request.report, report.BytesFor(request.report))) {
        WriteToStartingConsole("Vorlix: no report written.\r\n");
        return kExitBadArguments;
    }
    const bool differs = shown.matrix.separating + shown.matrix.differing > 0;
    WriteToStartingConsole(("Vorlix: report written to " + request.report + ": " +
                            MatrixCountsText(shown.matrix, false) + ".\r\n")
                               .c_str());
    return differs ? kExitMessages : kExitNoMessage;
}
