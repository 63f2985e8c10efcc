#include <string>

#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/column_sets.h"
#include "report/report_list_win.h"
#include "report/log_paths.h"

namespace {

constexpr char kProductsKeyPath[] = "SOFTWARE\\Classes\\Installer\\Products";
constexpr char kProductsKeyText[] = "HKLM SOFTWARE\\Classes\\Installer\\Products";
constexpr char kProductNameValue[] = "ProductName";
constexpr char kClassInstalled[] = "Class installed";
constexpr DWORD kProductNameBufferSize = 260;

// Receives each enumerated product code.
char g_productCode[MAX_PATH];

// Built whole rather than in a fixed buffer, so that neither a long system text nor a long
// key path is ever cut.
void ShowRegOpenKeyFailure(LONG code, const std::string& key) {
    const SystemErrorText text(static_cast<DWORD>(code));
    const std::string message = std::string(text.Text()) + "   RegOpenKey: " + key;
    ShowMessageBox(nullptr, message.c_str(), kErrorCaption, kErrorBoxStyle);
}

// The run creates the list; a section called without a run gets a fresh one, which the
// next run replaces.
ProductNameList& ProductNames() {
    if (!g_productNames) {
        g_productNames.reset(new ProductNameList());
    }
    return *g_productNames;
}

// Reads every product code into the list; returns the result that ended the enumeration.
LONG ReadProductCodes(HKEY products, ProductNameList& names) {
    names.SetCount(0);
    for (DWORD index = 0;; ++index) {
        const LONG result = RegEnumKeyA(products, index, g_productCode, sizeof g_productCode);
        if (result != ERROR_SUCCESS) {
            return result;
        }
        names.Append(g_productCode);
    }
}

}  // namespace

int RunInstalledProductsSection() {
    ProductNameList& names = ProductNames();
    LONG ended;
    {
        UniqueKey products;
        const LONG open = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductsKeyPath, 0,
                                        KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, products.Put());
        if (open != ERROR_SUCCESS) {
            ShowRegOpenKeyFailure(open, kProductsKeyText);
            return 0;
        }
        ended = ReadProductCodes(products.Get(), names);
    }
    // Any other end leaves the codes read so far in the list, for the run to free: no log
    // is open to record them in.
    if (ended != ERROR_NO_MORE_ITEMS) {
        return 0;
    }
    const SectionLog log(kProductsLogPath);
    if (!log.Opened()) {
        return 1;
    }
    std::size_t listed = 0;
    for (std::size_t i = 0; i < names.Count(); ++i) {
        const std::string path = std::string(kProductsKeyPath) + "\\" + names.At(i);
        UniqueKey product;
        const LONG open =
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, product.Put());
        if (open != ERROR_SUCCESS) {
            ShowRegOpenKeyFailure(open, path);
            return 0;
        }
        char name[kProductNameBufferSize];
        DWORD size = sizeof name;
        if (RegQueryValueExA(product.Get(), kProductNameValue, nullptr, nullptr,
                             reinterpret_cast<BYTE*>(name), &size) != ERROR_SUCCESS) {
            continue;
        }
        // Names take the places of skipped products, so the list stays compact.
        names.ReplaceAt(listed, name, size);
        SingleFieldRow(names.At(listed));
        SetReportCell(kResultColumn, kClassInstalled);
        ++listed;
    }
    names.SetCount(listed);
    return 1;
}
