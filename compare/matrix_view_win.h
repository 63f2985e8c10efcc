// The matrix of many bundles in dialog 129: a virtual list whose columns are made at run time
// (the facts, the common value, one column per bundle), differing cells marked, what merely
// varies between good machines hidden behind one switch. Its state lives with its window.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "compare/bundle_matrix.h"

struct MatrixShown {
    std::vector<std::string> folders;  // per bundle, where its logs are
    std::vector<MatrixBundle> bundles;
    std::deque<LogLines> lines;  // what the bundles' logs point at
    std::string notes;           // what was said of the input: left-out folders, unreadable logs
    BundleMatrix matrix;
    void Rebuild() { matrix = BuildBundleMatrix(bundles); }
};

// The parameter is a `MatrixShown*` that outlives the dialog; a click on a bundle's column
// title marks that bundle bad or good again and lays the matrix out anew.
INT_PTR CALLBACK MatrixDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "3 separating, 2 differing, 12 expected to vary (hidden)".
std::string MatrixCountsText(const BundleMatrix& matrix, bool showVarying);
