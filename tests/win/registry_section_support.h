// What the tests of the settings, products, runtime and PATH sections share: registry keys
// that remove themselves, a process environment variable that restores itself, the analysis
// list as the run leaves it before a section, and message boxes recorded with the row count
// of the moment they were shown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/win/test_support.h"

bool KeyExists(HKEY root, const std::string& path);
// Deletes the key with everything below it.
void DeleteKeyTree(HKEY root, const std::string& path);

// Creates the key (and the parents it lacks) for the life of the object; on destruction the
// topmost key that it created is deleted with everything below it, so the registry is left
// as it was found.
class TemporaryKey {
public:
    TemporaryKey(HKEY root, const std::string& path);
    ~TemporaryKey();
    TemporaryKey(const TemporaryKey&) = delete;
    TemporaryKey& operator=(const TemporaryKey&) = delete;

    bool Valid() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }

    // Stores exactly these bytes under the type.
    LONG SetBytes(const char* name, DWORD type, const std::string& bytes);
    // A REG_SZ value with its terminating zero.
    LONG SetText(const char* name, const std::string& text);
    LONG SetDword(const char* name, DWORD value);
    // A REG_SZ value stored without a terminating zero. RegSetValueExA adds the zero itself
    // when the byte after the counted ones is zero, so that byte is made non-zero here.
    LONG SetTextWithoutZero(const char* name, const std::string& text);
    void DeleteValue(const char* name);

    // The stored type and bytes of a value; false when it does not exist.
    bool Read(const char* name, DWORD* type, std::string* bytes) const;
    DWORD ValueCount() const;

private:
    HKEY root_;
    std::string createdTop_;
    HKEY key_ = nullptr;
};

// Dialog procedure for dialog 129 that sets up the list as the analysis run does before its
// sections: analysis columns, a header row 0, the row cursor on it.
INT_PTR CALLBACK AnalysisSectionListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
constexpr char kHeaderRowText[] = "header row";

// Rows 1 and after of the list, each as its three cells.
std::vector<std::vector<std::string>> SectionRows(const ReportDialogUnderTest& dialog);

// A field padded with blanks to the 90 characters of the analysis Name field.
std::string PaddedName(const std::string& name);

// Records each message box together with the number of rows that the analysis list held
// when it was shown; restores the previous box target when destroyed.
struct TimedBox {
    RecordedBox box;
    int rowsAtThatTime;
};
class TimedBoxRecorder {
public:
    explicit TimedBoxRecorder(HWND list);
    ~TimedBoxRecorder();
    TimedBoxRecorder(const TimedBoxRecorder&) = delete;
    TimedBoxRecorder& operator=(const TimedBoxRecorder&) = delete;
    const std::vector<TimedBox>& Boxes() const;
};
