// The plug-in's settings under HKEY_CURRENT_USER\Software\Brenhold-Soft\Mach3Lensora: names,
// registry types, defaults and the buffers that receive the current values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Registry types as plain numbers (REG_SZ, REG_BINARY, REG_DWORD).
constexpr int kSettingTypeSz = 1;
constexpr int kSettingTypeBinary = 3;
constexpr int kSettingTypeDword = 4;

// Size of a REG_SZ default and value buffer.
constexpr unsigned kSettingTextSize = 128;

extern const char kSettingsKeyPath[];  // "Software\Brenhold-Soft\Mach3Lensora"

// One setting. The default and the value buffer have the record's type: std::int32_t for
// REG_DWORD, double (8 bytes, little-endian IEEE 754) for REG_BINARY, char[128] for REG_SZ.
struct SettingRecord {
    const char* name;
    int type;
    const void* defaultValue;
    void* value;
};

constexpr std::size_t kSettingCount = 70;

// In walk order; the table ends with a record whose name is null. The value buffers are
// process-wide, start zeroed and keep the last values read.
extern const SettingRecord kSettings[kSettingCount + 1];

// True for the three registry types that the table uses.
bool IsKnownSettingType(int type);

// Size of a value buffer: 4 for REG_DWORD, 8 for REG_BINARY, 128 for REG_SZ, 0 otherwise.
unsigned SettingBufferSize(int type);

// Byte count passed to RegSetValueExA when a missing setting gets its default: the buffer size
// for a number, the default text's length plus its terminating zero for REG_SZ ("Arial" -> 6),
// 0 for an unknown type.
unsigned SettingDefaultWriteSize(const SettingRecord& record);

// The Value text of a setting: "%ld" for REG_DWORD, "%0.3f" for REG_BINARY, the stored text
// for REG_SZ. bytesReturned is the byte count that RegQueryValueExA reported (pass the buffer
// size after a default was copied in); a REG_SZ value may lack its terminating zero, so the
// text ends at the first zero byte within min(bytesReturned, 128) bytes and nothing beyond is
// read. Numbers use the whole buffer, which the reader clears before each query, so bytes that
// the registry did not return are zero. An unknown type gives an empty text: its bytes have no
// meaning to show, and "Unknown registry Type: %d" has already said what is wrong.
std::string FormatSettingValue(const SettingRecord& record, unsigned bytesReturned);
