// The diagnosis view: the verdicts in dialog 129, failures first, the counts at the foot.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "diagnosis/diagnosis_document.h"
#include "diagnosis/verdict.h"

struct DiagnosisShown {
    std::vector<Verdict> verdicts;    // in the rules' order
    std::string source;               // what was diagnosed: "This machine, ..." or the folder
    DiagnosisSubject subject;         // the same for the saved report
    std::vector<std::string> inputs;  // the files read: no report may be saved over them
};

// The dialog procedure; the parameter is a `const DiagnosisShown*` that outlives the dialog.
INT_PTR CALLBACK DiagnosisDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
