#include "report/log_layouts.h"

#include <cstring>

#include "platform/ascii_case.h"
#include "platform/path_text.h"
#include "report/log_paths.h"
#include "report/service_texts.h"

// The writer pads a field shorter than its width with blanks up to it; a text as long
// or longer goes without padding (Plain), or, where a row keeps its field ends
// (WidthKeepingFieldEnd), with exactly two blanks after it (KeepingEnd).
enum class Padding { Plain, KeepingEnd };

enum class LastField {
    Any,  // also empty: an empty last field leaves the line at its padding
    NotEmpty,
    ServiceState,  // a text of ServiceStateText
    PathMark,      // "PATH"
};

enum class LineRule {
    Columns,  // fields at the widths of `widths`, then the last field
    Free,     // one text per line, as the writer got it
    OneTab,   // the messages log: caption, a tab, the rest
};

struct LogLayout {
    const char* path;
    const char* name;
    LineRule rule;
    int widths[3];  // Columns: the padded fields in order, 0 after the last
    Padding padding;
    LastField last;
    bool emptyFirstField;  // a service without a display name
    bool freeFirstRecord;  // the PATH log starts with the whole PATH value
};

namespace {

// The widths are those of report/column_sets.cpp as each writer uses them.
const LogLayout kLayouts[] = {
    {kSystemDataLogPath,
     "a SystemData log",
     LineRule::Free,
     {},
     Padding::Plain,
     LastField::Any,
     false,
     false},
    {kElementLogPath,
     "an Element log",
     LineRule::Columns,
     {90},
     Padding::Plain,
     LastField::NotEmpty,
     false,
     false},
    {kPluginVersionLogPath,
     "a PluginVersion log",
     LineRule::Columns,
     {90},
     Padding::Plain,
     LastField::Any,
     false,
     false},
    {kPluginsLogPath,
     "a Plugins log",
     LineRule::Columns,
     {90},
     Padding::Plain,
     LastField::Any,
     false,
     false},
    {kSettingsLogPath,
     "a Settings log",
     LineRule::Columns,
     {90},
     Padding::Plain,
     LastField::Any,
     false,
     false},
    {kProductsLogPath,
     "an InstalledProgs log",
     LineRule::Free,
     {},
     Padding::Plain,
     LastField::Any,
     false,
     false},
    {kRuntimeLogPath,
     "a Redist log",
     LineRule::Columns,
     {90},
     Padding::Plain,
     LastField::Any,
     false,
     false},
    {kPathLogPath,
     "a PATH log",
     LineRule::Columns,
     {90},
     Padding::Plain,
     LastField::PathMark,
     false,
     true},
    {kFileVersionsLogPath,
     "a FileVersions log",
     LineRule::Columns,
     {90, 80},
     Padding::KeepingEnd,
     LastField::NotEmpty,
     false,
     false},
    {kDependenciesLogPath,
     "a Dependencies log",
     LineRule::Columns,
     {90, 80},
     Padding::KeepingEnd,
     LastField::NotEmpty,
     false,
     false},
    {kExportLogPath,
     "an export log",
     LineRule::Columns,
     {30},
     Padding::Plain,
     LastField::Any,
     false,
     false},
    {kServiceLogPath,
     "a service log",
     LineRule::Columns,
     {90, 60, 25},
     Padding::Plain,
     LastField::ServiceState,
     true,
     false},
    {kMessagesLogPath,
     "a messages log",
     LineRule::OneTab,
     {},
     Padding::Plain,
     LastField::Any,
     false,
     false},
};

// The extension of the file name at the end of a path ("" when it has none).
std::string FoldedExtension(const std::string& path) {
    return FoldAsciiCase(ExtensionOfPath(path));
}

// Where the text of a field that starts at `from` ends: at two blanks, a tab,
// or the end of the line, as the field reader ends it.
size_t TextEnd(const char* line, size_t size, size_t from) {
    size_t at = from;
    while (at < size && line[at] != '\t' &&
           !(line[at] == ' ' && at + 1 < size && line[at + 1] == ' ')) {
        ++at;
    }
    return at;
}

bool HoldsRun(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        if (*p == '\t' || (*p == ' ' && p + 1 < end && p[1] == ' ')) {
            return true;
        }
    }
    return false;
}

bool AllBlank(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        if (*p != ' ') {
            return false;
        }
    }
    return true;
}

bool LastFieldHolds(LastField rule, const char* text, size_t size) {
    switch (rule) {
        case LastField::Any:
            return true;
        case LastField::NotEmpty:
            return size > 0;
        case LastField::ServiceState:
            return size > 0 && IsServiceStateText(std::string(text, size));
        case LastField::PathMark:
            return size == 4 && std::memcmp(text, "PATH", 4) == 0;
    }
    return false;
}

// How many fields the field reader finds in the text.
int ReaderFieldCount(const char* begin, const char* end) {
    int count = 0;
    const char* p = begin;
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\t')) {
            ++p;
        }
        if (p == end) {
            break;
        }
        ++count;
        while (p < end && *p != '\t' && !(*p == ' ' && p + 1 < end && p[1] == ' ')) {
            ++p;
        }
    }
    return count;
}

// The last field as the field reader would split the line: after its last
// two blanks or tab.
bool ReaderLastFieldHolds(LastField rule, const char* line, size_t size) {
    if (rule == LastField::PathMark) {
        // Written straight after the entry that filled its field.
        return size >= 4 && std::memcmp(line + size - 4, "PATH", 4) == 0;
    }
    size_t start = size;
    while (start > 0 && line[start - 1] != '\t' &&
           !(line[start - 1] == ' ' && start >= 2 && line[start - 2] == ' ')) {
        --start;
    }
    return LastFieldHolds(rule, line + start, size - start);
}

bool ColumnsShape(const LogLayout& layout, const char* line, size_t size) {
    if (std::memchr(line, '\t', size) != nullptr || (line[0] == ' ' && !layout.emptyFirstField)) {
        return false;  // the writer pads with blanks only, and names come first
    }
    const bool emptyMayEnd = layout.last == LastField::Any;
    size_t pos = 0;
    for (int i = 0; i < 3 && layout.widths[i] > 0; ++i) {
        const size_t slotEnd = pos + static_cast<size_t>(layout.widths[i]);
        if (layout.padding == Padding::KeepingEnd) {
            const size_t textEnd = TextEnd(line, size, pos);
            if (line[pos] == ' ' && textEnd != pos) {
                return false;  // a field of the writer never starts with one blank
            }
            if (textEnd >= size) {
                return emptyMayEnd;  // the fields after this one are empty
            }
            if (textEnd + 2 > slotEnd) {
                pos = textEnd + 2;  // too long to pad: exactly two blanks keep its end
                continue;
            }
            if (slotEnd >= size) {
                return AllBlank(line + textEnd, line + size) && emptyMayEnd;
            }
            if (!AllBlank(line + textEnd, line + slotEnd)) {
                return false;
            }
            pos = slotEnd;
            continue;
        }
        if (slotEnd >= size) {
            // The line ends inside this field or its padding: one text, the
            // fields after it empty.
            return emptyMayEnd && !HoldsRun(line + pos, line + size);
        }
        if (line[slotEnd - 1] != ' ') {
            // The text fills its field and runs on into the next without a
            // blank between: where it ends cannot be told, only how the line
            // ends and that no more fields follow than the layout has left.
            // This field and the next are read as one.
            int fieldsLeft = 0;
            for (int j = i; j < 3 && layout.widths[j] > 0; ++j) {
                ++fieldsLeft;
            }
            return !HoldsRun(line + pos, line + slotEnd) && line[pos] != ' ' &&
                   ReaderFieldCount(line + pos, line + size) <= fieldsLeft &&
                   ReaderLastFieldHolds(layout.last, line, size);
        }
        pos = slotEnd;
        if (line[pos] == ' ') {
            return false;  // nothing of this layout starts with a blank
        }
    }
    if (pos >= size) {
        return emptyMayEnd;
    }
    // The last field is one text: two blanks inside it would be a line joined
    // to the next.
    return line[pos] != ' ' && !HoldsRun(line + pos, line + size) &&
           LastFieldHolds(layout.last, line + pos, size - pos);
}

}  // namespace

const LogLayout* LayoutOfLogName(const std::string& path) {
    const std::string extension = FoldedExtension(path);
    if (extension.empty()) {
        return nullptr;
    }
    for (const LogLayout& layout : kLayouts) {
        if (FoldedExtension(layout.path) == extension) {
            return &layout;
        }
    }
    return nullptr;
}

const LogLayout* LayoutAt(int index) {
    constexpr int count = sizeof kLayouts / sizeof kLayouts[0];
    return index >= 0 && index < count ? &kLayouts[index] : nullptr;
}

const char* LayoutLogPath(const LogLayout& layout) {
    return layout.path;
}

const char* LayoutName(const LogLayout& layout) {
    return layout.name;
}

bool HasLineShape(const LogLayout& layout, const char* line, size_t size, bool firstRecord) {
    while (size > 0 && (line[size - 1] == ' ' || line[size - 1] == '\t')) {
        --size;
    }
    if (size == 0) {
        return false;
    }
    if (layout.rule == LineRule::Free || (firstRecord && layout.freeFirstRecord)) {
        return line[0] != ' ' && line[0] != '\t';
    }
    if (layout.rule == LineRule::OneTab) {
        const char* tab = static_cast<const char*>(std::memchr(line, '\t', size));
        return tab != nullptr && tab != line && line[0] != ' ' &&
               std::memchr(tab + 1, '\t', size - (tab + 1 - line)) == nullptr;
    }
    return ColumnsShape(layout, line, size);
}

bool ReachesSecondField(const LogLayout& layout, const char* line, size_t size) {
    while (size > 0 && (line[size - 1] == ' ' || line[size - 1] == '\t')) {
        --size;
    }
    if (layout.rule != LineRule::Columns) {
        return true;
    }
    // A field that starts at the second column, after the first one's padding.
    const size_t second = static_cast<size_t>(layout.widths[0]);
    return size > second && line[second - 1] == ' ' && line[second] != ' ';
}
