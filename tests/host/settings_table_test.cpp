#include "analysis/settings_table.h"

#include <gtest/gtest.h>

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

TEST(SettingsTable, OnlyTextBinaryAndDwordAreKnownTypes) {
    for (int type : {kSz, kBinary, kDword}) {
        EXPECT_TRUE(IsKnownSettingType(type)) << type;
    }
    // REG_NONE, REG_EXPAND_SZ, REG_MULTI_SZ, REG_QWORD and a number no registry type has.
    for (int type : {0, 2, 7, 11, -1}) {
        EXPECT_FALSE(IsKnownSettingType(type)) << type;
    }
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
