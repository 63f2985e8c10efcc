#include "report/log_lines.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/log_paths.h"

namespace {

using Fields = std::vector<std::vector<std::string>>;

// Reads the bytes from a heap block of exactly their size: a read past the end
// is then one the sanitizer sees (a std::string's terminator would hide it).
LogLines Read(const std::string& bytes, const char* logPath = nullptr) {
    std::unique_ptr<char[]> exact(new char[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    LogReadingRules rules;
    rules.layout = logPath != nullptr ? LayoutOfLogName(logPath) : nullptr;
    return ReadLogLines(exact.get(), bytes.size(), rules);
}

Fields FieldsOf(const std::string& bytes, const char* logPath = nullptr) {
    const LogLines log = Read(bytes, logPath);
    Fields fields;
    for (const LogLine& line : log.lines) {
        fields.push_back(line.fields);
    }
    return fields;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A log as the program writes it: a service line, an analysis line whose
// state is only blanks, one with "X " after its padding, a name with an
// umlaut and one with the euro sign (Windows-1252 bytes 0xFC and 0x80).
const std::string kOriginal =
    "08.12.2026 15:29 59\r\n"
    "Print Spooler" +
    std::string(77, ' ') + "Spooler" + std::string(53, ' ') + "Win32_OWN_PROCESS" +
    std::string(8, ' ') +
    "Service Running\r\n"
    "The MMX instruction set is available" +
    std::string(51, ' ') +
    "X \r\n"
    "The 3D-Now instruction set is available" +
    std::string(50, ' ') +
    "\r\n"
    "Sprachpaket f\xFCr Deutsch\r\n"
    "Preis 5 \x80" +
    std::string(80, ' ') + "found\r\n";

std::string Utf8(const std::string& text) {
    return Replaced(Replaced(text, "\xFC", "\xC3\xBC"), "\x80", "\xE2\x82\xAC");
}

std::string Utf16LittleEndian(const std::string& text) {
    std::string wide = "\xFF\xFE";
    for (char c : text) {
        // Every character of kOriginal but the euro sign is its own code point.
        const unsigned code = c == '\x80' ? 0x20AC : static_cast<unsigned char>(c);
        wide += static_cast<char>(code & 0xFF);
        wide += static_cast<char>(code >> 8);
    }
    return wide;
}

std::string WithoutTrailingBlanks(const std::string& text) {
    std::string trimmed;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && text.find_first_not_of(' ', i) != std::string::npos &&
            text[text.find_first_not_of(' ', i)] == '\r') {
            continue;
        }
        trimmed += text[i];
    }
    return trimmed;
}

TEST(LogLines, TravelledCopiesReadLikeTheOriginal) {
    const struct {
        const char* what;
        std::string copy;
        const char* notes;
    } cases[] = {
        {"as written", kOriginal, ""},
        {"LF line ends", Replaced(kOriginal, "\r\n", "\n"), "LF line ends"},
        {"CR line ends", Replaced(kOriginal, "\r\n", "\r"), "CR line ends"},
        {"CR LF turned into CR CR LF", Replaced(kOriginal, "\r\n", "\r\r\n"), "CR line ends"},
        {"blanks at line ends removed", WithoutTrailingBlanks(kOriginal), ""},
        {"an empty line added at the end", kOriginal + "\r\n\r\n", ""},
        {"UTF-8", Utf8(kOriginal), "UTF-8"},
        {"UTF-8 with its BOM", "\xEF\xBB\xBF" + Utf8(kOriginal), "UTF-8"},
        {"UTF-16 with its BOM", Utf16LittleEndian(kOriginal), "UTF-16"},
        {"a DOS end byte", kOriginal + "\x1A", "end byte 0x1A"},
        {"NUL padding of a download", kOriginal + std::string(300, '\0'), "NUL bytes dropped"},
        {"a NUL inside a name", Replaced(kOriginal, "Spooler", std::string("Spoo\0ler", 8)),
         "NUL bytes dropped"},
        {"everything at once",
         Replaced(Utf8(WithoutTrailingBlanks(kOriginal)), "\r\n", "\n") + "\x1A",
         "LF line ends, UTF-8, end byte 0x1A"},
    };
    const Fields expected = FieldsOf(kOriginal);
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(expected[0], (std::vector<std::string>{"Print Spooler", "Spooler",
                                                     "Win32_OWN_PROCESS", "Service Running"}));
    EXPECT_EQ(expected[1], (std::vector<std::string>{"The MMX instruction set is available", "X"}));
    EXPECT_EQ(expected[2], (std::vector<std::string>{"The 3D-Now instruction set is available"}));
    EXPECT_EQ(expected[3], (std::vector<std::string>{"Sprachpaket f\xFCr Deutsch"}));
    for (const auto& c : cases) {
        const LogLines log = Read(c.copy);
        EXPECT_EQ(FieldsOf(c.copy), expected) << c.what;
        EXPECT_EQ(log.timestamp, "08.12.2026 15:29 59") << c.what;
        EXPECT_EQ(DescribeReadingNotes(log.notes), c.notes) << c.what;
        EXPECT_FALSE(log.lines.back().unterminated) << c.what;
    }
}

TEST(LogLines, WhatTheReadingSaysItFound) {
    const std::string longField(513, 'p');
    const struct {
        const char* what;
        std::string bytes;
        Fields fields;
        const char* notes;
    } cases[] = {
        {"512 characters stay whole, 513 are cut",
         "x\r\n" + longField.substr(1) + "\r\n" + longField + "  next\r\n",
         {{"x"}, {longField.substr(1)}, {std::string(509, 'p') + "...", "next"}},
         "no timestamp line, long fields cut"},
        {"a first line that is no timestamp is a record",
         "Print Spooler  Spooler\r\n",
         {{"Print Spooler", "Spooler"}},
         "no timestamp line"},
        {"single blanks stay, two blanks or a tab end a field, leading blanks go",
         "08.12.2026 15:29 59\r\n   a b  c\td\r\n",
         {{"a b", "c", "d"}},
         ""},
        {"a character without a Windows-1252 form",
         "08.12.2026 15:29 59\r\n\xE2\x86\x92 x\r\n",
         {{"? x"}},
         "UTF-8, 1 characters without a Windows-1252 form read as ?"},
        {"Latin-1 misreadings of Windows-1252 bytes come back",
         "08.12.2026 15:29 59\r\n\xC2\x80\xC2\x9F\r\n",
         {{"\x80\x9F"}},
         "UTF-8"},
        {"bytes that are no UTF-8 stay as they are",
         "08.12.2026 15:29 59\r\n\xFC\xC3\r\n",
         {{"\xFC\xC3"}},
         ""},
    };
    for (const auto& c : cases) {
        const LogLines log = Read(c.bytes);
        EXPECT_EQ(FieldsOf(c.bytes), c.fields) << c.what;
        EXPECT_EQ(DescribeReadingNotes(log.notes), c.notes) << c.what;
    }
}

TEST(LogLines, ALogCutOffInItsLastLineSaysSo) {
    const std::string cut = kOriginal.substr(0, kOriginal.size() - 5);
    const LogLines log = Read(cut);
    ASSERT_EQ(log.lines.size(), 5u);
    EXPECT_TRUE(log.lines.back().unterminated);
    EXPECT_EQ(log.lines.back().fields, (std::vector<std::string>{"Preis 5 \x80", "fo"}));
    for (size_t i = 0; i + 1 < log.lines.size(); ++i) {
        EXPECT_FALSE(log.lines[i].unterminated);
    }
    // Cut inside the padding after the last record's first field, then padded
    // with NULs by a download tool.
    const std::string padded = kOriginal.substr(0, 21 + 192 + 40) + std::string(64, '\0');
    const LogLines download = Read(padded);
    EXPECT_TRUE(download.lines.back().unterminated);
    EXPECT_EQ(download.lines.back().fields,
              (std::vector<std::string>{"The MMX instruction set is available"}));
}

// Logs as the program writes them: fields padded to their widths, CR LF.
std::string Pad(const std::string& text, size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

const std::string kStamp = "09.12.2026 14:03 27\r\n";

std::string ServiceLog() {
    const char* services[][4] = {
        {"Print Spooler", "Spooler", "Win32_OWN_PROCESS", "Service Running"},
        {"Windows Presentation Foundation Font Cache 3.0.0.0", "FontCache3.0.0.0",
         "Win32_OWN_PROCESS", "Service Stopped"},
        {"", "Beep", "KERNEL_DRIVER", "Service Running"},
        {"Microsoft\xAE LifeCam f\xFCr Windows", "LifeCam", "WIN32_SHARE_PROCESS",
         "Service Stopped"},
    };
    std::string log = kStamp;
    for (const auto& s : services) {
        log += Pad(s[0], 90) + Pad(s[1], 60) + Pad(s[2], 25) + s[3] + "\r\n";
    }
    return log;
}

std::string SettingsLog() {
    return kStamp + Pad("Lensora Offset X", 90) + "0.000\r\n" + Pad("Lensora Font face name", 90) +
           "\r\n" + Pad("Lensora Keep focus on Mach3 after Cammera is startet by macro", 90) +
           "C:\\Program Files\\Lensora_Brenhold\\settings\\a folder name long enough to wrap "
           "twice\r\n" +
           Pad("Camera Index", 90) + "1\r\n";
}

std::string PathLog() {
    return kStamp + "C:\\windows;C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin;" +
           "C:\\windows\\system32\r\n" + Pad("C:\\windows", 90) + "PATH\r\n" +
           Pad("C:\\Program Files\\Lensora_Brenhold\\build\\x86\\vc10\\bin", 90) + "PATH\r\n" +
           Pad("C:\\windows\\system32", 90) + "PATH\r\n";
}

std::string TwoSettings() {
    return kStamp + Pad("Lensora Offset X", 90) + "0.000\r\n" + Pad("Camera Index", 90) + "1\r\n";
}

std::vector<std::string> LinesOf(const std::string& log) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = log.find("\r\n"); end != std::string::npos; end = log.find("\r\n", start)) {
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A mail program that breaks every line longer than the width at the width.
std::string WrappedHard(const std::string& log, size_t width) {
    std::string out;
    for (const std::string& line : LinesOf(log)) {
        for (size_t at = 0; at == 0 || at < line.size(); at += width) {
            out += line.substr(at, width) + "\r\n";
        }
    }
    return out;
}

// One that breaks at the last blank that keeps a line within the width and
// leaves the blank before the break ("format=flowed").
std::string WrappedFlowed(const std::string& log, size_t width) {
    std::string out;
    for (std::string line : LinesOf(log)) {
        while (line.size() > width) {
            size_t cut = line.rfind(' ', width - 1);
            cut = cut == std::string::npos ? width : cut + 1;
            out += line.substr(0, cut) + "\r\n";
            line = line.substr(cut);
        }
        out += line + "\r\n";
    }
    return out;
}

std::string Quoted(const std::string& log, const std::string& prefix) {
    std::string out;
    for (const std::string& line : LinesOf(log)) {
        out += prefix + line + "\r\n";
    }
    return out;
}

std::string Collapsed(const std::string& log) {
    std::string out;
    for (char c : log) {
        if (!(c == ' ' && !out.empty() && out.back() == ' ')) {
            out += c;
        }
    }
    return out;
}

// A spreadsheet that saved the fields as CSV.
std::string AsCsv(const std::string& log) {
    std::string out;
    for (const std::string& line : LinesOf(log)) {
        const Fields fields = FieldsOf(kStamp + line + "\r\n");
        std::string cells;
        for (const std::string& field :
             fields.empty() ? std::vector<std::string>{line} : fields[0]) {
            cells += (cells.empty() ? "" : ",") + field;
        }
        out += cells + "\r\n";
    }
    return out;
}

TEST(LogLines, DamagedLogsAreMendedWhereTheLayoutShowsHowAndSaidAlways) {
    const struct {
        const char* what;
        const char* log;
        std::string original;
        std::string copy;
        bool mended;  // reads as the original
        const char* notes;
    } cases[] = {
        {"services wrapped at 76", kServiceLogPath, ServiceLog(), WrappedHard(ServiceLog(), 76),
         true, "lines wrapped at 76 characters (joined)"},
        {"services wrapped at 72", kServiceLogPath, ServiceLog(), WrappedHard(ServiceLog(), 72),
         true, "lines wrapped at 72 characters (joined)"},
        {"services flowed", kServiceLogPath, ServiceLog(), WrappedFlowed(ServiceLog(), 76), true,
         "lines wrapped at 76 characters (joined)"},
        {"settings wrapped at 76", kSettingsLogPath, SettingsLog(), WrappedHard(SettingsLog(), 76),
         true, "lines wrapped at 76 characters (joined)"},
        {"settings flowed", kSettingsLogPath, SettingsLog(), WrappedFlowed(SettingsLog(), 76), true,
         "lines wrapped at 76 characters (joined)"},
        {"quoted", kServiceLogPath, ServiceLog(), Quoted(ServiceLog(), "> "), true,
         "quoted with \"> \" (removed)"},
        {"quoted twice", kSettingsLogPath, SettingsLog(), Quoted(SettingsLog(), ">> "), true,
         "quoted with \">> \" (removed)"},
        {"wrapped, then quoted", kServiceLogPath, ServiceLog(),
         Quoted(WrappedHard(ServiceLog(), 76), "> "), true,
         "quoted with \"> \" (removed), lines wrapped at 76 characters (joined)"},
        {"pasted twice", kServiceLogPath, ServiceLog(), ServiceLog() + ServiceLog(), true,
         "2 runs in one log (the last read)"},
        {"three runs, the first without its timestamp", kSettingsLogPath, SettingsLog(),
         SettingsLog().substr(kStamp.size()) + SettingsLog() + SettingsLog(), true,
         "3 runs in one log (the last read)"},
        {"blanks collapsed", kServiceLogPath, ServiceLog(), Collapsed(ServiceLog()), false,
         "lines do not have the shape of a service log from line 2"},
        {"saved as CSV", kServiceLogPath, ServiceLog(), AsCsv(ServiceLog()), false,
         "lines do not have the shape of a service log from line 2"},
        // Each of these lines could be a name with an empty value, but no
        // line of a Settings log as written is.
        {"settings saved as CSV", kSettingsLogPath, SettingsLog(), AsCsv(SettingsLog()), false,
         "lines do not have the shape of a Settings log from line 2"},
        {"settings with blanks collapsed", kSettingsLogPath, SettingsLog(),
         Collapsed(SettingsLog()), false,
         "lines do not have the shape of a Settings log from line 2"},
        {"one line shifted", kServiceLogPath, ServiceLog(),
         Replaced(ServiceLog(), "Print Spooler  ", "Print Spooler "), true,
         "lines do not have the shape of a service log from line 2"},
        {"as written", kServiceLogPath, ServiceLog(), ServiceLog(), true, ""},
        {"a PATH log as written", kPathLogPath, PathLog(), PathLog(), true, ""},
        {"a PATH log wrapped", kPathLogPath, PathLog(), WrappedHard(PathLog(), 76), true,
         "lines wrapped at 76 characters (joined)"},
        {"two lines saved as CSV", kSettingsLogPath, TwoSettings(), AsCsv(TwoSettings()), false,
         "lines do not have the shape of a Settings log from line 2"},
        {"quoted, its last line \">\" without a line end", kServiceLogPath, ServiceLog(),
         Quoted(ServiceLog(), "> ") + ">", true, "quoted with \"> \" (removed)"},
        {"as written, no layout known", nullptr, ServiceLog(), ServiceLog(), true, ""},
    };
    for (const auto& c : cases) {
        const LogLines log = Read(c.copy, c.log);
        EXPECT_EQ(DescribeReadingNotes(log.notes), c.notes) << c.what;
        EXPECT_EQ(FieldsOf(c.copy, c.log) == FieldsOf(c.original, c.log), c.mended) << c.what;
        if (c.mended) {
            EXPECT_EQ(log.timestamp, "09.12.2026 14:03 27") << c.what;
        }
    }
}

TEST(LogLines, AnEmptyLogIsSaidToBeEmpty) {
    const struct {
        const char* what;
        std::string bytes;
        const char* notes;
    } cases[] = {
        {"no byte", "", "empty"},
        {"a UTF-8 byte-order mark alone", "\xEF\xBB\xBF", "empty, UTF-8"},
        {"a UTF-16 byte-order mark alone", "\xFF\xFE", "empty, UTF-16"},
        {"line ends alone", "\r\n\r\n", "empty"},
        {"NUL padding alone", std::string(64, '\0'), "empty, NUL bytes dropped"},
        {"a timestamp line alone", kStamp, ""},
    };
    for (const auto& c : cases) {
        const LogLines log = Read(c.bytes, kServiceLogPath);
        EXPECT_EQ(DescribeReadingNotes(log.notes), c.notes) << c.what;
        EXPECT_TRUE(log.lines.empty()) << c.what;
    }
}

// Bytes that form UTF-8 by chance are read as UTF-8 only where that puts the
// fields at their widths no worse than Windows-1252 does.
TEST(LogLines, Utf8WithoutAMarkIsReadSoWhereThatIsTheLikelierReading) {
    const std::string name = "Microsoft\xC2\xAE LifeCam";
    const std::string windows1252 = kStamp + Pad(name, 90) + Pad("LifeCam", 60) +
                                    Pad("Win32_OWN_PROCESS", 25) + "Service Running\r\n";
    LogLines log = Read(windows1252, kServiceLogPath);
    EXPECT_EQ(DescribeReadingNotes(log.notes), "");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].fields[0], name);
    // The same log converted to UTF-8 on its way: its fields stand at their
    // widths only when read as UTF-8.
    const std::string converted =
        Replaced(Replaced(windows1252, "\xAE", "\xC2\xAE"), "\xC2\xC2", "\xC3\x82\xC2");
    log = Read(converted, kServiceLogPath);
    EXPECT_EQ(DescribeReadingNotes(log.notes), "UTF-8");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].fields[0], name);
    // Without a layout, valid UTF-8 is taken for UTF-8.
    EXPECT_EQ(DescribeReadingNotes(Read(windows1252).notes), "UTF-8");
}

TEST(LogLines, TheTimestampLineHasItsFormExactly) {
    const struct {
        const char* text;
        bool timestamp;
    } cases[] = {
        {"08.12.2026 15:29 59", true},   {"08.12.2026 15:29 5", false},
        {"08.12.2026 15:29 599", false}, {"08-12-2026 15:29 59", false},
        {"08.12.2026 15:29:59", false},  {"08.12.2026 15:29 5x", false},
        {"x8.12.2026 15:29 59", false},  {"0123456789012345678", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsTimestampText(c.text), c.timestamp) << c.text;
    }
}

TEST(LogLines, EveryNoteAloneIsSaid) {
    const auto with = [](const std::function<void(LogReadingNotes&)>& set) {
        LogReadingNotes notes;
        set(notes);
        return notes;
    };
    const struct {
        LogReadingNotes notes;
        const char* text;
    } cases[] = {
        {with([](LogReadingNotes& n) { n.lfLineEnds = true; }), "LF line ends"},
        {with([](LogReadingNotes& n) { n.crLineEnds = true; }), "CR line ends"},
        {with([](LogReadingNotes& n) { n.utf8 = true; }), "UTF-8"},
        {with([](LogReadingNotes& n) { n.utf16 = true; }), "UTF-16"},
        {with([](LogReadingNotes& n) { n.unmappable = 2; }),
         "2 characters without a Windows-1252 form read as ?"},
        {with([](LogReadingNotes& n) { n.endBytes = true; }), "end byte 0x1A"},
        {with([](LogReadingNotes& n) { n.nulBytes = true; }), "NUL bytes dropped"},
        {with([](LogReadingNotes& n) { n.longFieldsCut = true; }), "long fields cut"},
        {with([](LogReadingNotes& n) { n.noTimestamp = true; }), "no timestamp line"},
        {with([](LogReadingNotes& n) { n.endsInsideRecord = true; }), "ends inside a record"},
        {with([](LogReadingNotes& n) { n.empty = true; }), "empty"},
        {with([](LogReadingNotes& n) { n.quote = ">"; }), "quoted with \">\" (removed)"},
        {with([](LogReadingNotes& n) { n.wrapWidth = 72; }),
         "lines wrapped at 72 characters (joined)"},
        {with([](LogReadingNotes& n) { n.runs = 3; }), "3 runs in one log (the last read)"},
        {with([](LogReadingNotes& n) {
             n.shapeBreak = 7;
             n.shapeName = "an export log";
         }),
         "lines do not have the shape of an export log from line 7"},
    };
    EXPECT_FALSE(LogReadingNotes().Any());
    EXPECT_EQ(DescribeReadingNotes(LogReadingNotes()), "");
    for (const auto& c : cases) {
        EXPECT_TRUE(c.notes.Any()) << c.text;
        EXPECT_EQ(DescribeReadingNotes(c.notes), c.text);
    }
}

}  // namespace
