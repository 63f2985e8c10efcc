// The texts that tell the user what the image reader and the dependency walk found. The
// fixed pieces of the dependencies log are named here, so that whatever reads that log back
// builds and parses its lines from the same pieces.
#pragma once

#include <string>
#include <vector>

#include "platform/dependency_walk.h"
#include "platform/pe_image.h"

// Name of a search folder line: this, then its place (1, 2, ...).
constexpr char kSearchFolderName[] = "Search folder ";
constexpr char kProgramFolderRole[] = "program folder";
constexpr char kSystemFolderRole[] = "system folder";
constexpr char kSystem16FolderRole[] = "16-bit system folder";
constexpr char kWindowsFolderRole[] = "Windows folder";
constexpr char kCurrentFolderRole[] = "current folder";
constexpr char kPathRole[] = "PATH";
// After the role of a folder that does not exist: "PATH, not found".
constexpr char kFolderMissingText[] = ", not found";

// Results of a needed DLL's line, then who needs it.
constexpr char kBits32Text[] = "32-bit";
constexpr char kBits64Text[] = "64-bit";
constexpr char kNoImageText[] = "no image";
constexpr char kNotReadableText[] = "not readable";
constexpr char kNotFoundText[] = "Not found";
constexpr char kApiSetText[] = "API set";
constexpr char kNeededByText[] = " (needed by ";
constexpr char kDelayLoadedByText[] = " (delay-loaded by ";
constexpr char kCloseText[] = ")";
// Between the importers of one function, and between the functions a copy lacks.
constexpr char kListSeparator[] = ", ";

// A missing function's line: Name "<dll>!<function>" ("<dll>!#<ordinal>" for an import by
// ordinal), Result "Missing in <version> (forwarded to <DLL.function>) (needed by A, B)".
// (The ordinal's mark is kOrdinalMark of platform/dependency_walk.h.)
constexpr char kFunctionSeparator[] = "!";
constexpr char kMissingInText[] = "Missing in ";
constexpr char kForwardedToText[] = " (forwarded to ";
constexpr char kNoVersionText[] = "no version";

// Another copy's line: Name "<dll> copy <N>", Result "<version>, has every missing function"
// or "<version>, lacks f1, f2", or the kind of a copy that is no usable image.
constexpr char kCopyName[] = " copy ";
constexpr char kHasEveryMissingText[] = ", has every missing function";
constexpr char kLacksText[] = ", lacks ";

// The box: "<dll>  Lacks <f> (needed by A): <path> <version>; <path> (<version>, later in
// the search order) has it".
constexpr char kBoxLacksText[] = "  Lacks ";
constexpr char kBoxLaterCopyText[] = ", later in the search order) has it";

struct DependencyRow {
    std::string name;
    std::string value;
    std::string result;
};

// "<path>  <system text>", every "%1" in the system text filled with the path: the system's
// texts for a bad image name the file through that placeholder.
std::string LoadFailureText(const std::string& path, const std::string& systemText);

// One line per needed DLL that stops a load ("Not found", "Not readable", "Not a 32-bit
// image", with this program's bitness) and per function a DLL lacks, CR LF between lines;
// empty when there is none. For example "opencv_core248.dll  Not found (needed by
// lensora.dll)".
std::string DependencyProblemsText(const std::vector<NeededDll>& needed, int programBits);

// The Result of a needed DLL's row: "32-bit", "64-bit", "no image", "not readable", "API set"
// or "Not found", then who needs it: " (needed by X)" or " (delay-loaded by X)".
std::string NeededResultText(const NeededDll& needed);

// The rows of the dependencies log: the search folders, then each needed DLL, each function
// it lacks and each other copy of it.
std::vector<DependencyRow> DependencyRows(const std::vector<SearchFolder>& folders,
                                          const std::vector<NeededDll>& needed);
const char* SearchRoleText(SearchRole role);

// The Value and Result of a file's version row: its file version or "no version"; "32-bit",
// "64-bit", "no image", or "not readable" for a file that could not be read.
std::string VersionText(bool readable, const PeImage& image);
const char* ImageKindText(bool readable, const PeImage& image);
