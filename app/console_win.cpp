#include "app/console_win.h"

#include <windows.h>

#include <cstring>

#include "platform/handles_win.h"

namespace {

void WriteAll(HANDLE output, const char* text) {
    DWORD written = 0;
    WriteFile(output, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

}  // namespace

void WriteToStartingConsole(const char* text) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        WriteAll(output, text);
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    UniqueFile console(CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    if (console) {
        // The prompt of the console's shell has already been written, since
        // it does not wait for a GUI program; a line break keeps apart.
        WriteAll(console.Get(), "\r\n");
        WriteAll(console.Get(), text);
    }
    FreeConsole();
}
