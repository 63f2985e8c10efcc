#include "analysis/settings_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace {

// Registry type numbers as Windows defines them.
constexpr int kSz = 1;
constexpr int kBinary = 3;
constexpr int kDword = 4;

struct ExpectedSetting {
    int row;
    const char* name;
    int type;
    std::int32_t dwordDefault;
    double binaryDefault;
    const char* textDefault;
};

const ExpectedSetting kExpected[] = {
    {1, "Lensora Offset X", kBinary, 0, 0.0, nullptr},
    {2, "Lensora Offset Y", kBinary, 0, 0.0, nullptr},
    {3, "Lensora Offset X add", kDword, 0, 0.0, nullptr},
    {4, "Lensora Offset Y add", kDword, 0, 0.0, nullptr},
    {5, "Lensora F speed", kDword, 10, 0.0, nullptr},
    {6, "Lensora Color value red circle", kDword, 255, 0.0, nullptr},
    {7, "Lensora Color value green circle", kDword, 0, 0.0, nullptr},
    {8, "Lensora Color value blue circle", kDword, 0, 0.0, nullptr},
    {9, "Lensora circle Diameter", kDword, 50, 0.0, nullptr},
    {10, "Lensora Color value red crosshair", kDword, 255, 0.0, nullptr},
    {11, "Lensora Color value green crosshair", kDword, 0, 0.0, nullptr},
    {12, "Lensora Color value blue crosshair", kDword, 0, 0.0, nullptr},
    {13, "Lensora Color value red rectangle", kDword, 0, 0.0, nullptr},
    {14, "Lensora Color value green rectangle", kDword, 255, 0.0, nullptr},
    {15, "Lensora Color value blue rectangle", kDword, 0, 0.0, nullptr},
    {16, "Lensora Rectangle width", kDword, 20, 0.0, nullptr},
    {17, "Lensora Rectangle height", kDword, 20, 0.0, nullptr},
    {18, "Lensora Rectangle pen style", kDword, 0, 0.0, nullptr},
    {19, "Lensora Rectangle On", kDword, 0, 0.0, nullptr},
    {20, "Lensora Rectangle X size equals Y size", kDword, 0, 0.0, nullptr},
    {21, "Lensora Show warning", kDword, 1, 0.0, nullptr},
    {22, "Lensora Framerate", kDword, 1, 0.0, nullptr},
    {23, "Lensora Keep focus on Mach3 after Cammera is startet by macro", kDword, 0, 0.0, nullptr},
    {24, "Lensora No system menu bar", kDword, 0, 0.0, nullptr},
    {25, "Lensora Wnd frame camera left", kDword, 20, 0.0, nullptr},
    {26, "Lensora Wnd frame camera top", kDword, 40, 0.0, nullptr},
    {27, "Lensora Wnd camera width", kDword, 640, 0.0, nullptr},
    {28, "Lensora Wnd frame camera height", kDword, 560, 0.0, nullptr},
    {29, "Lensora Wnd view left", kDword, 0, 0.0, nullptr},
    {30, "Lensora Wnd view top", kDword, 0, 0.0, nullptr},
    {31, "Lensora Wnd view width", kDword, 640, 0.0, nullptr},
    {32, "Lensora Wnd view height", kDword, 480, 0.0, nullptr},
    {33, "Lensora Size view window relative", kDword, 0, 0.0, nullptr},
    {34, "Lensora Crosshair gap", kDword, 10, 0.0, nullptr},
    {35, "Lensora Crosshair on", kDword, 1, 0.0, nullptr},
    {36, "Lensora Circle on", kDword, 1, 0.0, nullptr},
    {37, "Lensora Show coords", kDword, 0, 0.0, nullptr},
    {38, "Lensora Show pos of axis X", kDword, 0, 0.0, nullptr},
    {39, "Lensora Show pos of axis Y", kDword, 0, 0.0, nullptr},
    {40, "Lensora Show pos of axis Z", kDword, 0, 0.0, nullptr},
    {41, "Lensora Show pos of axis A", kDword, 0, 0.0, nullptr},
    {42, "Lensora Show pos of axis B", kDword, 0, 0.0, nullptr},
    {43, "Lensora Show pos of axis C", kDword, 0, 0.0, nullptr},
    {44, "Lensora Font height", kDword, 14, 0.0, nullptr},
    {45, "Lensora Font width", kDword, 7, 0.0, nullptr},
    {46, "Lensora Font escapement", kDword, 0, 0.0, nullptr},
    {47, "Lensora Font orientation", kDword, 0, 0.0, nullptr},
    {48, "Lensora Font weight", kDword, 400, 0.0, nullptr},
    {49, "Lensora Font italic", kDword, 0, 0.0, nullptr},
    {50, "Lensora Font underline", kDword, 0, 0.0, nullptr},
    {51, "Lensora Font strikeout", kDword, 0, 0.0, nullptr},
    {52, "Lensora Font charset", kDword, 0, 0.0, nullptr},
    {53, "Lensora Font out precision", kDword, 0, 0.0, nullptr},
    {54, "Lensora Font clip precision", kDword, 0, 0.0, nullptr},
    {55, "Lensora Font quality", kDword, 0, 0.0, nullptr},
    {56, "Lensora Font pitch and family", kDword, 48, 0.0, nullptr},
    {57, "Lensora Font face name", kSz, 0, 0.0, "Arial"},
    {58, "Lensora Remember window position", kDword, 0, 0.0, nullptr},
    {59, "Lensora Camera on / off macro controlled", kDword, 0, 0.0, nullptr},
    {60, "Lensora LED nmb camera ON", kDword, 1102, 0.0, nullptr},
    {61, "Lensora LED nmb camera OFF", kDword, 1103, 0.0, nullptr},
    {62, "Lensora LED nmb camera toggle", kDword, 1104, 0.0, nullptr},
    {63, "Lensora Report Errors", kDword, 0, 0.0, nullptr},
    {64, "Lensora Crosshair Scroll X", kDword, 640, 0.0, nullptr},
    {65, "Lensora Crosshair Scroll Y", kDword, 480, 0.0, nullptr},
    {66, "Lensora Crosshair scrolling enabled", kDword, 0, 0.0, nullptr},
    {67, "Lensora Move order X", kDword, 1, 0.0, nullptr},
    {68, "Lensora Move order Y", kDword, 2, 0.0, nullptr},
    {69, "Lensora Language", kDword, 1, 0.0, nullptr},
    {70, "Camera Index", kDword, -1, 0.0, nullptr},
};

const SettingRecord& RecordNamed(const char* name) {
    for (const SettingRecord* record = kSettings; record->name != nullptr; ++record) {
        if (std::strcmp(record->name, name) == 0) {
            return *record;
        }
    }
    ADD_FAILURE() << "no setting " << name;
    return kSettings[kSettingCount];
}

// Restores a value buffer after a test, so the buffers keep their state for other tests.
class ValueBufferGuard {
public:
    explicit ValueBufferGuard(const SettingRecord& record)
        : record_(record), size_(SettingBufferSize(record.type)) {
        std::memcpy(saved_, record_.value, size_);
    }
    ~ValueBufferGuard() { std::memcpy(record_.value, saved_, size_); }
    ValueBufferGuard(const ValueBufferGuard&) = delete;
    ValueBufferGuard& operator=(const ValueBufferGuard&) = delete;

private:
    const SettingRecord& record_;
    unsigned size_;
    unsigned char saved_[kSettingTextSize];
};

TEST(SettingsTable, ValueBuffersStartZeroed) {
    for (const SettingRecord* record = kSettings; record->name != nullptr; ++record) {
        const unsigned char* bytes = static_cast<const unsigned char*>(record->value);
        for (unsigned i = 0; i < SettingBufferSize(record->type); ++i) {
            ASSERT_EQ(bytes[i], 0) << record->name;
        }
    }
}

TEST(SettingsTable, HoldsSeventyRecordsThenTheNullName) {
    ASSERT_EQ(sizeof kExpected / sizeof kExpected[0], 70u);
    for (std::size_t i = 0; i < 70; ++i) {
        ASSERT_NE(kSettings[i].name, nullptr) << "record " << i;
    }
    EXPECT_EQ(kSettings[70].name, nullptr);
}

TEST(SettingsTable, NamesTypesAndDefaultsInWalkOrder) {
    for (const ExpectedSetting& expected : kExpected) {
        const SettingRecord& record = kSettings[expected.row - 1];
        SCOPED_TRACE(expected.name);
        EXPECT_STREQ(record.name, expected.name);
        ASSERT_EQ(record.type, expected.type);
        ASSERT_NE(record.defaultValue, nullptr);
        ASSERT_NE(record.value, nullptr);
        if (expected.type == kDword) {
            std::int32_t value;
            std::memcpy(&value, record.defaultValue, sizeof value);
            EXPECT_EQ(value, expected.dwordDefault);
        } else if (expected.type == kBinary) {
            double value;
            std::memcpy(&value, record.defaultValue, sizeof value);
            EXPECT_EQ(value, expected.binaryDefault);
        } else {
            EXPECT_STREQ(static_cast<const char*>(record.defaultValue), expected.textDefault);
        }
    }
}

TEST(SettingsTable, EveryNameFitsTheNinetyCharacterField) {
    std::size_t longest = 0;
    for (const SettingRecord* record = kSettings; record->name != nullptr; ++record) {
        longest = std::max(longest, std::strlen(record->name));
        if (record != &kSettings[69]) {
            EXPECT_EQ(std::string(record->name).rfind("Lensora ", 0), 0u) << record->name;
        }
    }
    EXPECT_EQ(longest, 61u);
}

TEST(SettingsTable, ValueBuffersAreSeparate) {
    std::set<std::pair<std::uintptr_t, std::uintptr_t>> ranges;
    for (const SettingRecord* record = kSettings; record->name != nullptr; ++record) {
        const auto begin = reinterpret_cast<std::uintptr_t>(record->value);
        ranges.insert({begin, begin + SettingBufferSize(record->type)});
    }
    ASSERT_EQ(ranges.size(), 70u);
    std::uintptr_t previousEnd = 0;
    for (const auto& range : ranges) {
        EXPECT_GE(range.first, previousEnd);
        previousEnd = range.second;
    }
}

TEST(SettingsTable, BufferAndDefaultWriteSizes) {
    EXPECT_EQ(SettingBufferSize(kDword), 4u);
    EXPECT_EQ(SettingBufferSize(kBinary), 8u);
    EXPECT_EQ(SettingBufferSize(kSz), 128u);
    EXPECT_EQ(SettingBufferSize(2), 0u);
    EXPECT_EQ(SettingDefaultWriteSize(RecordNamed("Lensora Font face name")), 6u);
    EXPECT_EQ(SettingDefaultWriteSize(RecordNamed("Lensora Offset Y")), 8u);
    EXPECT_EQ(SettingDefaultWriteSize(RecordNamed("Camera Index")), 4u);
}

TEST(SettingsTable, DefaultBytesAsWrittenToTheRegistry) {
    const unsigned char allOnes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::memcmp(RecordNamed("Camera Index").defaultValue, allOnes, 4), 0);
    const unsigned char zeros[8] = {};
    EXPECT_EQ(std::memcmp(RecordNamed("Lensora Offset X").defaultValue, zeros, 8), 0);
    const unsigned char pitch[4] = {48, 0, 0, 0};
    EXPECT_EQ(std::memcmp(RecordNamed("Lensora Font pitch and family").defaultValue, pitch, 4), 0);
}

TEST(SettingsValueText, DwordsAsSignedDecimal) {
    const SettingRecord& record = RecordNamed("Camera Index");
    ValueBufferGuard guard(record);
    const struct {
        std::uint32_t stored;
        const char* text;
    } cases[] = {{0, "0"},
                 {1104, "1104"},
                 {0xFFFFFFFFu, "-1"},
                 {0x80000000u, "-2147483648"},
                 {0x7FFFFFFFu, "2147483647"}};
    for (const auto& c : cases) {
        std::memcpy(record.value, &c.stored, 4);
        EXPECT_EQ(FormatSettingValue(record, 4), c.text);
    }
}

TEST(SettingsValueText, DoublesWithThreeDecimals) {
    const SettingRecord& record = RecordNamed("Lensora Offset X");
    ValueBufferGuard guard(record);
    const struct {
        double stored;
        const char* text;
    } cases[] = {{0.0, "0.000"}, {1.23456, "1.235"}, {-0.5, "-0.500"}, {12345.0, "12345.000"}};
    for (const auto& c : cases) {
        std::memcpy(record.value, &c.stored, 8);
        EXPECT_EQ(FormatSettingValue(record, 8), c.text);
    }
}

TEST(SettingsValueText, FourBytesInADoubleBufferShowTheWholeBuffer) {
    const SettingRecord& record = RecordNamed("Lensora Offset Y");
    ValueBufferGuard guard(record);
    const double upperHalfOnly = 2.0;  // 0x4000000000000000: low four bytes zero
    std::memcpy(record.value, &upperHalfOnly, 8);
    const std::uint32_t dword = 7;
    std::memcpy(record.value, &dword, 4);
    EXPECT_EQ(FormatSettingValue(record, 4), "2.000");
}

TEST(SettingsValueText, HugeDoubleIsNotCut) {
    const SettingRecord& record = RecordNamed("Lensora Offset X");
    ValueBufferGuard guard(record);
    const double huge = 1e300;
    std::memcpy(record.value, &huge, 8);
    const std::string text = FormatSettingValue(record, 8);
    EXPECT_EQ(text.size(), 305u);
    EXPECT_EQ(text.substr(text.size() - 4), ".000");
}

TEST(SettingsValueText, TextEndsAtItsZero) {
    const SettingRecord& record = RecordNamed("Lensora Font face name");
    ValueBufferGuard guard(record);
    std::memcpy(record.value, "Arial", 6);
    EXPECT_EQ(FormatSettingValue(record, 6), "Arial");
    EXPECT_EQ(FormatSettingValue(record, 128), "Arial");
}

TEST(SettingsValueText, TextWithoutZeroStopsAtTheBytesReturned) {
    const SettingRecord& record = RecordNamed("Lensora Font face name");
    ValueBufferGuard guard(record);
    std::memcpy(record.value, "Courier New", 12);
    std::memcpy(record.value, "Ab", 2);  // stored without its terminating zero
    EXPECT_EQ(FormatSettingValue(record, 2), "Ab");
}

TEST(SettingsValueText, UnterminatedFullBufferIsNotReadPastItsEnd) {
    const SettingRecord& record = RecordNamed("Lensora Font face name");
    ValueBufferGuard guard(record);
    // The buffer that follows holds text too, so reading past the end would show up here.
    const SettingRecord& next = kSettings[57];
    ASSERT_STREQ(next.name, "Lensora Remember window position");
    ValueBufferGuard nextGuard(next);
    std::memset(next.value, 'Z', 4);
    std::memset(record.value, 'x', 128);
    EXPECT_EQ(FormatSettingValue(record, 128), std::string(128, 'x'));
    EXPECT_EQ(FormatSettingValue(record, 4096), std::string(128, 'x'));
    EXPECT_EQ(FormatSettingValue(record, 0), "");
}

TEST(SettingsValueText, UnknownTypeShowsNothing) {
    std::int32_t storage = 5;
    const SettingRecord record = {"Odd", 7, &storage, &storage};
    EXPECT_EQ(FormatSettingValue(record, 4), "");
    EXPECT_EQ(SettingDefaultWriteSize(record), 0u);
}

}  // namespace
