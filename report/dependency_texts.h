// The texts that tell the user what the image reader and the dependency walk found.
#pragma once

#include <string>
#include <vector>

#include "platform/dependency_walk.h"
#include "platform/pe_image.h"

// "<path>  <system text>", every "%1" in the system text filled with the path: the system's
// texts for a bad image name the file through that placeholder.
std::string LoadFailureText(const std::string& path, const std::string& systemText);

// One line per needed DLL that stops a load ("Not found", "Not readable", "Not a 32-bit
// image", with this program's bitness), CR LF between lines; empty when there is none.
// For example "opencv_core248.dll  Not found (needed by lensora.dll)".
std::string DependencyProblemsText(const std::vector<NeededDll>& needed, int programBits);

// The Result of a needed DLL's row: "32-bit", "64-bit", "no image", "not readable" or
// "Not found", then who needs it: " (needed by X)" or " (delay-loaded by X)".
std::string NeededResultText(const NeededDll& needed);

// The Value and Result of a file's version row: its file version or "no version"; "32-bit",
// "64-bit", "no image", or "not readable" for a file that could not be read.
std::string VersionText(bool readable, const PeImage& image);
const char* ImageKindText(bool readable, const PeImage& image);
