// Small pieces the rules share: making a verdict, naming a row as evidence, the facts one
// rule leaves to another so that one cause makes one failure.
#pragma once

#include <string>
#include <vector>

#include "diagnosis/bundle_facts.h"
#include "diagnosis/verdict.h"

Verdict MakeVerdict(Outcome outcome, std::string sentence, std::vector<Evidence> evidence = {},
                    std::string action = std::string());

Evidence RowEvidence(BundleLog log, const LogRow& row, std::string observed,
                     std::string expected = std::string());

// "a, b and c".
std::string JoinNames(const std::vector<std::string>& names);

// A verdict names its first findings and counts the rest, so that one broken installation
// (41 files missing) stays readable in a row and a log line.
constexpr std::size_t kMaxEvidence = 6;
constexpr std::size_t kMaxNamed = 8;
std::vector<Evidence> FirstEvidence(std::vector<Evidence> evidence);
std::string JoinFirstNames(const std::vector<std::string>& names);

// Whether the dependencies log lists the DLLs the plug-in needs: without them nothing can be
// said of what it needs.
bool DependenciesWalked(const BundleFacts& facts);
Verdict NotWalkedVerdict();

// The bitness that the plug-in and its DLLs must have: that of the program that walked the
// dependencies ("32-bit" for the Vorlix that ships, as for Mach3).
std::string ExpectedBitness(const BundleFacts& facts);

// Whether the runtime's name row says that it is installed; false without the runtime log.
bool RuntimeMissing(const BundleFacts& facts);
bool IsRuntimeDll(const std::string& name);

// Whether a DLL not found is an OpenCV file that the element log finds missing, or one
// that is installed in the OpenCV folder while that folder is not on PATH: their own rules
// name those causes.
bool IsMissingOpenCvFile(const BundleFacts& facts, const std::string& dll);
bool OpenCvFolderOffPath(const BundleFacts& facts);
bool IsInstalledOpenCvFile(const BundleFacts& facts, const std::string& dll);

// The rule that names the cause of a needed DLL not found, when it is not DLL-NOT-FOUND: the
// runtime not installed, an OpenCV file not installed, the OpenCV folder not on PATH.
const char* ExplainingRule(const BundleFacts& facts, const NeededDllFact& dll);

// Whether the dependencies log shows a reason for the plug-in not to load: a needed DLL not
// found, of the wrong bitness, or lacking a function (delay-loaded ones never stop a load).
bool DependenciesStopTheLoad(const BundleFacts& facts, std::string* firstCode);

// The load failure the export check met, when the messages log holds one.
bool FindLoadFailure(const BundleFacts& facts, MessageFact* failure);
