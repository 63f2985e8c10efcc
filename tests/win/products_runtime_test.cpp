// The installed-products and runtime sections on real product keys under
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Installer\Products.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "report/report_list_win.h"
#include "tests/win/registry_section_support.h"

namespace {

const char kProductsKey[] = "SOFTWARE\\Classes\\Installer\\Products";
const char kProductsLog[] = "C:\\Lensora_Brenhold.logAnalyzeInstalledProgs";
const char kRuntimeKey[] =
    "SOFTWARE\\Classes\\Installer\\Products\\1d5e3c0feda1e123187686fed06e995a";
const char kRuntimeLog[] = "C:\\Lensora_Brenhold.logAnalyzeRedist";
const char kRuntimeName[] = "Microsoft Visual C++ 2010  x86 Redistributable";

std::string TestProductCode(const char* suffix) {
    return "7E57" + std::string(26, '0') + suffix;
}

std::string ProductKeyPath(const std::string& code) {
    return std::string(kProductsKey) + "\\" + code;
}

// What the system holds, in enumeration order: each product code, and the name that a
// 260-byte "ProductName" query returns for it, if any.
struct RegisteredProduct {
    std::string code;
    bool named;
    std::string name;
};

std::vector<RegisteredProduct> EnumerateProducts() {
    std::vector<RegisteredProduct> products;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return products;
    }
    char code[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof code;
        if (RegEnumKeyExA(key, index, code, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        products.push_back({code, false, ""});
        HKEY product = nullptr;
        if (RegOpenKeyExA(key, code, 0, KEY_QUERY_VALUE, &product) != ERROR_SUCCESS) {
            continue;
        }
        char name[260];
        DWORD nameSize = sizeof name;
        if (RegQueryValueExA(product, "ProductName", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(name), &nameSize) == ERROR_SUCCESS) {
            products.back().named = true;
            products.back().name.assign(name, strnlen(name, nameSize));
        }
        RegCloseKey(product);
    }
    RegCloseKey(key);
    return products;
}

// The names of the named products among the first `count` codes.
std::vector<std::string> NamesAmongFirst(const std::vector<RegisteredProduct>& products,
                                         std::size_t count) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count && i < products.size(); ++i) {
        if (products[i].named) {
            names.push_back(products[i].name);
        }
    }
    return names;
}

// Denies everyone the reading of the key's values; deleting it stays allowed.
bool DenyValueReading(HKEY key) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        return false;
    }
    char aclBytes[256];
    ACL* acl = reinterpret_cast<ACL*>(aclBytes);
    SECURITY_DESCRIPTOR descriptor;
    const bool ok = InitializeAcl(acl, sizeof aclBytes, ACL_REVISION) &&
                    AddAccessDeniedAce(acl, ACL_REVISION, KEY_QUERY_VALUE, everyone) &&
                    AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone) &&
                    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
                    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    FreeSid(everyone);
    return ok;
}

// The product name list as the run creates it, for the life of a test.
class ProductListScope {
public:
    ProductListScope() { g_productNames.reset(new ProductNameList()); }
    ~ProductListScope() { g_productNames.reset(); }
};

class InstalledProductsTest : public testing::Test {
protected:
    void SetUp() override { RemoveFile(kProductsLog); }
    void TearDown() override { RemoveFile(kProductsLog); }
    MessageBoxRecorder boxes_;
    ProductListScope list_;
};

TEST_F(InstalledProductsTest, ListsEveryNamedProductOnceInEnumerationOrder) {
    std::vector<std::unique_ptr<TemporaryKey>> keys;
    // 25 named products, and between them one without a name, one whose name fills the
    // 260-byte buffer exactly, one whose name does not fit, and one stored without its zero.
    for (int i = 0; i < 25; ++i) {
        char suffix[3];
        std::snprintf(suffix, sizeof suffix, "%02d", i < 10 ? i : i + 6);
        keys.emplace_back(
            new TemporaryKey(HKEY_LOCAL_MACHINE, ProductKeyPath(TestProductCode(suffix))));
        char name[40];
        std::snprintf(name, sizeof name, "Vorlix Test Product %02d", i);
        ASSERT_EQ(keys.back()->SetText("ProductName", name), ERROR_SUCCESS);
    }
    const struct {
        const char* suffix;
        std::string name;
        bool withZero;
    } unusual[] = {
        {"0A", "", false},
        {"0B", std::string(259, 'L'), true},
        {"0C", std::string(260, 'T'), true},
        {"0D", "Vorlix Test Product without zero", false},
    };
    for (const auto& product : unusual) {
        keys.emplace_back(
            new TemporaryKey(HKEY_LOCAL_MACHINE, ProductKeyPath(TestProductCode(product.suffix))));
        ASSERT_TRUE(keys.back()->Valid());
        if (!product.name.empty()) {
            ASSERT_EQ(product.withZero
                          ? keys.back()->SetText("ProductName", product.name)
                          : keys.back()->SetTextWithoutZero("ProductName", product.name),
                      ERROR_SUCCESS);
        } else {
            ASSERT_EQ(keys.back()->SetDword("Version", 1), ERROR_SUCCESS);
        }
    }
    const std::vector<RegisteredProduct> registered = EnumerateProducts();
    ASSERT_GE(registered.size(), 29u);
    const std::vector<std::string> names = NamesAmongFirst(registered, registered.size());
    // Whatever the prefix registered itself, the test's own products are named once each.
    std::size_t ours = 0;
    for (const std::string& name : names) {
        ours += name.compare(0, 13, "Vorlix Test P") == 0 || name == std::string(259, 'L');
    }
    ASSERT_EQ(ours, 27u);

    // Left from an earlier use: the section starts the list afresh.
    g_productNames->Append("stale one");
    g_productNames->Append("stale two");

    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    EXPECT_EQ(RunInstalledProductsSection(), 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
    const auto rows = SectionRows(dialog);
    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kProductsLog));
    ASSERT_EQ(rows.size(), names.size());
    ASSERT_EQ(lines.size(), names.size() + 1);
    EXPECT_TRUE(LooksLikeTimestamp(lines[0])) << lines[0];
    ASSERT_EQ(g_productNames->Count(), names.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i], (std::vector<std::string>{names[i], "", "Class installed"})) << i;
        EXPECT_EQ(lines[i + 1], names[i]) << i;
        EXPECT_STREQ(g_productNames->At(i), names[i].c_str()) << i;
    }
    EXPECT_EQ(g_rowCursor.iItem, static_cast<int>(rows.size()));
    // Room grew by ten each time the count of codes read reached it.
    EXPECT_EQ(g_productNames->Capacity(), (registered.size() / 10 + 1) * 10);

    while (!keys.empty()) {
        keys.pop_back();
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ProductKeyPath(TestProductCode("00"))));
}

TEST_F(InstalledProductsTest, MissingProductsKeyIsShownWithTheSystemText) {
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductsKey))
        << "HKLM\\" << kProductsKey
        << " exists: an earlier test run that ended part way may have left it; delete it from the "
           "prefix";
    const std::string oldLog = "old products\r\n";
    WriteFileBytes(kProductsLog, oldLog);
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    EXPECT_EQ(RunInstalledProductsSection(), 0);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text,
              SystemText(ERROR_FILE_NOT_FOUND) +
                  "   RegOpenKey: HKLM SOFTWARE\\Classes\\Installer\\Products");
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix Error");
    EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_EQ(dialog.RowCount(), 1);
    EXPECT_EQ(ReadFileBytes(kProductsLog), oldLog);
    EXPECT_EQ(g_productNames->Count(), 0u);
}

TEST_F(InstalledProductsTest, NoRegisteredProductGivesATimestampOnlyLog) {
    const bool existed = KeyExists(HKEY_LOCAL_MACHINE, kProductsKey);
    TemporaryKey products(HKEY_LOCAL_MACHINE, kProductsKey);
    ASSERT_TRUE(products.Valid());
    ASSERT_FALSE(existed && !EnumerateProducts().empty())
        << "the prefix registers products under HKLM\\" << kProductsKey
        << ": an earlier test run that ended part way may have left them; delete them from the "
           "prefix";
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    EXPECT_EQ(RunInstalledProductsSection(), 1);
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(dialog.RowCount(), 1);
    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kProductsLog));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(LooksLikeTimestamp(lines[0]));
    EXPECT_EQ(g_productNames->Count(), 0u);
    EXPECT_EQ(g_productNames->Capacity(), 10u);
}

TEST_F(InstalledProductsTest, UnopenableProductEndsTheListWithTheSystemTextAndItsPath) {
    TemporaryKey before(HKEY_LOCAL_MACHINE, ProductKeyPath(TestProductCode("00")));
    TemporaryKey denied(HKEY_LOCAL_MACHINE, ProductKeyPath(TestProductCode("01")));
    TemporaryKey after(HKEY_LOCAL_MACHINE, ProductKeyPath(TestProductCode("02")));
    ASSERT_EQ(before.SetText("ProductName", "Vorlix Test Product before"), ERROR_SUCCESS);
    ASSERT_EQ(denied.SetText("ProductName", "Vorlix Test Product denied"), ERROR_SUCCESS);
    ASSERT_EQ(after.SetText("ProductName", "Vorlix Test Product after"), ERROR_SUCCESS);
    ASSERT_TRUE(DenyValueReading(denied.Get()));
    const std::string deniedPath = ProductKeyPath(TestProductCode("01"));
    HKEY probe = nullptr;
    const LONG probeResult =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, deniedPath.c_str(), 0, KEY_QUERY_VALUE, &probe);
    if (probeResult == ERROR_SUCCESS) {
        RegCloseKey(probe);
        // Wine does not check the access rights of registry keys.
        GTEST_SKIP() << "the system lets every key be opened";
    }
    ASSERT_EQ(probeResult, ERROR_ACCESS_DENIED);

    const std::vector<RegisteredProduct> registered = EnumerateProducts();
    std::size_t deniedIndex = 0;
    while (deniedIndex < registered.size() &&
           registered[deniedIndex].code != TestProductCode("01")) {
        ++deniedIndex;
    }
    ASSERT_LT(deniedIndex, registered.size());
    const std::vector<std::string> names = NamesAmongFirst(registered, deniedIndex);

    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    EXPECT_EQ(RunInstalledProductsSection(), 0);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text,
              SystemText(ERROR_ACCESS_DENIED) + "   RegOpenKey: " + deniedPath);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix Error");
    EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    const auto rows = SectionRows(dialog);
    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kProductsLog));
    ASSERT_EQ(rows.size(), names.size());
    ASSERT_EQ(lines.size(), names.size() + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(rows[i][0], names[i]);
        EXPECT_EQ(lines[i + 1], names[i]);
        EXPECT_STREQ(g_productNames->At(i), names[i].c_str());
    }
    // The count stays at the number of codes read; the rest still holds codes.
    EXPECT_EQ(g_productNames->Count(), registered.size());
    EXPECT_STREQ(g_productNames->At(deniedIndex), TestProductCode("01").c_str());
}

class RuntimeSectionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRuntimeKey))
            << "HKLM\\" << kRuntimeKey
            << " exists: an earlier test run that ended part way may have left it; delete it from "
               "the prefix";
        RemoveFile(kRuntimeLog);
    }
    void TearDown() override { RemoveFile(kRuntimeLog); }
    MessageBoxRecorder boxes_;
};

TEST_F(RuntimeSectionTest, NameAndVersionRowsFollowTheStoredProductName) {
    const std::string right = std::string(kRuntimeName) + " - 10.0.40219";
    const struct {
        const char* label;
        bool keyPresent;
        const char* productName;  // nullptr: no "ProductName" value
        int result;
        std::vector<std::vector<std::string>> rows;
    } cases[] = {
        {"right name and version",
         true,
         right.c_str(),
         1,
         {{kRuntimeName, "", "found"}, {"Version  10.0.40219", "", "OK"}}},
        {"older version",
         true,
         "Microsoft Visual C++ 2010  x86 Redistributable - 10.0.30319",
         1,
         {{kRuntimeName, "", "found"}, {"Version  10.0.40219", "", "wrong"}}},
        {"name in other case",
         true,
         "Microsoft Visual C++ 2010  X86 Redistributable - 10.0.40219",
         1,
         {{kRuntimeName, "", "not found"}, {"Version  10.0.40219", "", "OK"}}},
        {"name alone",
         true,
         kRuntimeName,
         1,
         {{kRuntimeName, "", "found"}, {"Version  10.0.40219", "", "wrong"}}},
        {"no product name",
         true,
         nullptr,
         1,
         {{kRuntimeName, "", "Not found"}, {"Version  10.0.40219", "", "wrong"}}},
        {"key absent", false, nullptr, 0, {{kRuntimeName, "", "Not installed"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::unique_ptr<TemporaryKey> key;
        if (c.keyPresent) {
            key.reset(new TemporaryKey(HKEY_LOCAL_MACHINE, kRuntimeKey));
            ASSERT_TRUE(key->Valid());
            if (c.productName) {
                ASSERT_EQ(key->SetText("ProductName", c.productName), ERROR_SUCCESS);
            } else {
                ASSERT_EQ(key->SetText("Version", "10.0.40219"), ERROR_SUCCESS);
            }
        }
        ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
        EXPECT_EQ(RunRuntimeSection(), c.result);
        EXPECT_TRUE(boxes_.Boxes().empty());
        EXPECT_EQ(SectionRows(dialog), c.rows);
        EXPECT_EQ(g_rowCursor.iItem, static_cast<int>(c.rows.size()));
        const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kRuntimeLog));
        ASSERT_EQ(lines.size(), c.rows.size() + 1);
        EXPECT_TRUE(LooksLikeTimestamp(lines[0]));
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            EXPECT_EQ(lines[i + 1], PaddedName(c.rows[i][0]) + c.rows[i][2]);
        }
    }
}

TEST_F(RuntimeSectionTest, UnreadableProductNameEndsTheSectionAfterTheNameCell) {
    TemporaryKey key(HKEY_LOCAL_MACHINE, kRuntimeKey);
    ASSERT_TRUE(key.Valid());
    ASSERT_EQ(key.SetText("ProductName", std::string(kRuntimeName) + std::string(300, '-')),
              ERROR_SUCCESS);
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    EXPECT_EQ(RunRuntimeSection(), 0);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_MORE_DATA));
    EXPECT_EQ(boxes_.Boxes()[0].subject, "HKLM\\" + std::string(kRuntimeKey) + " \"ProductName\"");
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix Error");
    EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_EQ(SectionRows(dialog), (std::vector<std::vector<std::string>>{{kRuntimeName, "", ""}}));
    // The log line holds the padded name and, like every log line, ends with CR LF.
    const std::string bytes = ReadFileBytes(kRuntimeLog);
    const std::vector<std::string> lines = SplitLogLines(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(LooksLikeTimestamp(lines[0]));
    EXPECT_EQ(lines[1], PaddedName(kRuntimeName));
    EXPECT_EQ(bytes.size(), 21u + 90u + 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

}  // namespace
