// The plug-in's registry settings: names, types, defaults and the buffers that receive the
// current values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Registry type codes, as numbers so that this portable file needs no <windows.h>.
constexpr int kSettingTypeSz = 1;
constexpr int kSettingTypeBinary = 3;
constexpr int kSettingTypeDword = 4;

// Size of a REG_SZ default and value buffer.
constexpr unsigned kSettingTextSize = 128;

// Under HKEY_CURRENT_USER.
extern const char kSettingsKeyPath[];

// One setting. The default and the value buffer have the record's type: std::int32_t for
// REG_DWORD, double (8 bytes, little-endian IEEE 754) for REG_BINARY, kSettingTextSize
// chars for REG_SZ.
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

// Size of a value buffer of that type; 0 for an unknown type.
unsigned SettingBufferSize(int type);

// Byte count written when a missing setting gets its default: the buffer size for a number,
// the default text with its zero for REG_SZ, 0 for an unknown type.
unsigned SettingDefaultWriteSize(const SettingRecord& record);

// The Value text of a setting. bytesReturned is what the registry query reported (the buffer
// size after a default was copied in); a REG_SZ may lack its zero, so its text ends at the
// first zero within that many bytes and nothing beyond is read. Numbers use the whole buffer,
// which the reader clears before each query. An unknown type gives an empty text: its bytes
// mean nothing, and the type warning has already said what is wrong.
std::string FormatSettingValue(const SettingRecord& record, unsigned bytesReturned);
