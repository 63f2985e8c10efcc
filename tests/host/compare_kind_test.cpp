#include "compare/compare_kind.h"

#include <gtest/gtest.h>

namespace {

TEST(LogKind, ComesFromTheExtensionOfTheFileName) {
    const struct {
        const char* path;
        CompareKind kind;
        const char* section;
    } cases[] = {
        {"C:\\Lensora_Brenhold.logServices", CompareKind::Services, ""},
        {"D:\\mail\\machine2.LOGSERVICES", CompareKind::Services, ""},
        {"C:\\Lensora_Brenhold.logDlls", CompareKind::Exports, ""},
        {"C:\\Lensora_Brenhold.logAnalyzeSystemData", CompareKind::Analysis, "systemdata"},
        {"C:\\Lensora_Brenhold.logAnalyzePATH", CompareKind::Analysis, "path"},
        {"C:\\x.logAnalyze", CompareKind::Analysis, ""},
        // Two dots: only the last one starts the extension.
        {"C:\\good.machine.logDlls", CompareKind::Exports, ""},
        {"C:\\x.logServices.logDlls", CompareKind::Exports, ""},
        // '/' and ':' end a folder or a drive as '\' does.
        {"logs/pc1.logServices", CompareKind::Services, ""},
        {"C:Lensora_Brenhold.logDlls", CompareKind::Exports, ""},
        {"C:\\a.logServices/notes.txt", CompareKind::None, ""},
        {"C:\\a.logDlls:notes", CompareKind::None, ""},
        {"D:/mail.logAnalyze/readme", CompareKind::None, ""},
        {"C:\\a.logAnalyze:notes", CompareKind::None, ""},
        {"C:\\Lensora_Brenhold.logServices.txt", CompareKind::None, ""},
        {"C:\\Lensora_Brenhold.logMessages", CompareKind::None, ""},
        {"C:\\xlogServices", CompareKind::None, ""},
        {"C:\\folder.logDlls\\", CompareKind::None, ""},
        {"", CompareKind::None, ""},
    };
    for (const auto& c : cases) {
        const LogKind kind = LogKindOfName(c.path);
        EXPECT_EQ(kind.compare, c.kind) << c.path;
        EXPECT_EQ(kind.section, c.section) << c.path;
    }
}

TEST(LogKind, AnalysisLogsOfOtherSectionsAreOtherKinds) {
    const auto same = [](const char* a, const char* b) {
        return SameLogKind(LogKindOfName(a), LogKindOfName(b));
    };
    EXPECT_TRUE(same("a.logAnalyzeSettings", "b.LOGANALYZESETTINGS"));
    EXPECT_FALSE(same("a.logAnalyzeSettings", "b.logAnalyzePATH"));
    EXPECT_FALSE(same("a.logAnalyze", "b.logAnalyzePATH"));
    EXPECT_FALSE(same("a.logServices", "b.logDlls"));
    EXPECT_FALSE(same("a.txt", "b.txt"));
    EXPECT_EQ(DescribeLogKind(LogKindOfName("C:\\x.logAnalyzePATH"), "C:\\x.logAnalyzePATH"),
              "analysis (PATH)");
}

}  // namespace
