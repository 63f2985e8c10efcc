// Times "Analyze" in the real dialog on a machine with many installed
// products and a long PATH, and checks that nothing was cut or lost.
// Usage: vorlix_analysis_bench <products> <path entries>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "analysis/analysis_dialog_win.h"
#include "platform/shell_state_win.h"
#include "platform/list_view_win.h"
#include "platform/message_box_win.h"
#include "report/log_format.h"
#include "res/resource.h"

namespace {

constexpr char kInstallerKey[] = "SOFTWARE\\Classes\\Installer";
constexpr char kProductsKey[] = "SOFTWARE\\Classes\\Installer\\Products";

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

int CountBoxes(HWND, const char*, const char*, UINT, const char*) {
    return IDOK;
}

std::string ProductCode(int i) {
    char code[40];
    std::snprintf(code, sizeof code, "00BE4C4B%024d", i);
    return code;
}

void AddProducts(int count) {
    for (int i = 0; i < count; ++i) {
        HKEY key = nullptr;
        const std::string path = std::string(kProductsKey) + "\\" + ProductCode(i);
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        const std::string name = "Bench product number " + std::to_string(i);
        RegSetValueExA(key, "ProductName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                       static_cast<DWORD>(name.size() + 1));
        RegCloseKey(key);
    }
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// The products go again, and so do the keys that held them where the bench made them: the
// Wine tests that run in the same prefix expect a machine without them.
void RemoveProducts(int count, bool keyWasThere, bool installerWasThere) {
    for (int i = 0; i < count; ++i) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE,
                      (std::string(kProductsKey) + "\\" + ProductCode(i)).c_str());
    }
    if (!keyWasThere) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductsKey);
    }
    if (!installerWasThere) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kInstallerKey);
    }
}

int CountRows(HWND list, int column, const std::string& prefix) {
    const ListView view(list);
    const int rows = view.ItemCount();
    int matching = 0;
    for (int row = 0; row < rows; ++row) {
        matching += view.CellText(row, column).compare(0, prefix.size(), prefix) == 0;
    }
    return matching;
}

}  // namespace

int main(int argc, char** argv) {
    const int products = argc > 1 ? std::atoi(argv[1]) : 500;
    const int entries = argc > 2 ? std::atoi(argv[2]) : 1000;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    g_programInstance = GetModuleHandleA(nullptr);
    FillBlankBuffer();
    SetMessageBoxTarget(CountBoxes);

    std::string path;
    for (int i = 0; i < entries; ++i) {
        path += "C:\\bench\\entry" + std::to_string(i) + ";";
    }
    SetEnvironmentVariableA("PATH", path.c_str());
    const bool installerWasThere = KeyExists(kInstallerKey);
    const bool keyWasThere = KeyExists(kProductsKey);
    AddProducts(products);

    const double start = Now();
    HWND dialog = CreateDialogParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), nullptr,
                                     AnalysisDialogProc, 0);
    const double seconds = Now() - start;
    HWND list = GetDlgItem(dialog, IDC_REPORT_LIST);
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const int productRows = CountRows(list, 0, "Bench product number ");
    const int pathRows = CountRows(list, 0, "C:\\bench\\entry");
    DestroyWindow(dialog);
    RemoveProducts(products, keyWasThere, installerWasThere);

    std::printf(
        "Analyze with %d products and %d PATH entries: %.3f s, %d rows "
        "(%d product rows, %d PATH rows)\n",
        products, entries, seconds, rows, productRows, pathRows);
    return productRows == products && pathRows == entries ? 0 : 1;
}
