#include "analysis/settings_table.h"

#include "report/bounded_text.h"

#include <cstdio>
#include <cstring>

const char kSettingsKeyPath[] = "Software\\Brenhold-Soft\\Mach3Lensora";

namespace {

// One value buffer per setting, large enough for any of the three types.
union SettingBuffer {
    std::int32_t dword;
    double binary;
    char text[kSettingTextSize];
};

SettingBuffer g_values[kSettingCount];

const double kDoubleZero = 0.0;
const char kDefaultFaceName[kSettingTextSize] = "Arial";

const std::int32_t kDwordMinus1 = -1;
const std::int32_t kDword0 = 0;
const std::int32_t kDword1 = 1;
const std::int32_t kDword2 = 2;
const std::int32_t kDword7 = 7;
const std::int32_t kDword10 = 10;
const std::int32_t kDword14 = 14;
const std::int32_t kDword20 = 20;
const std::int32_t kDword40 = 40;
const std::int32_t kDword48 = 48;
const std::int32_t kDword50 = 50;
const std::int32_t kDword255 = 255;
const std::int32_t kDword400 = 400;
const std::int32_t kDword480 = 480;
const std::int32_t kDword560 = 560;
const std::int32_t kDword640 = 640;
const std::int32_t kDword1102 = 1102;
const std::int32_t kDword1103 = 1103;
const std::int32_t kDword1104 = 1104;

}  // namespace

const SettingRecord kSettings[kSettingCount + 1] = {
    {"Lensora Offset X", kSettingTypeBinary, &kDoubleZero, &g_values[0].binary},
    {"Lensora Offset Y", kSettingTypeBinary, &kDoubleZero, &g_values[1].binary},
    {"Lensora Offset X add", kSettingTypeDword, &kDword0, &g_values[2].dword},
    {"Lensora Offset Y add", kSettingTypeDword, &kDword0, &g_values[3].dword},
    {"Lensora F speed", kSettingTypeDword, &kDword10, &g_values[4].dword},
    {"Lensora Color value red circle", kSettingTypeDword, &kDword255, &g_values[5].dword},
    {"Lensora Color value green circle", kSettingTypeDword, &kDword0, &g_values[6].dword},
    {"Lensora Color value blue circle", kSettingTypeDword, &kDword0, &g_values[7].dword},
    {"Lensora circle Diameter", kSettingTypeDword, &kDword50, &g_values[8].dword},
    {"Lensora Color value red crosshair", kSettingTypeDword, &kDword255, &g_values[9].dword},
    {"Lensora Color value green crosshair", kSettingTypeDword, &kDword0, &g_values[10].dword},
    {"Lensora Color value blue crosshair", kSettingTypeDword, &kDword0, &g_values[11].dword},
    {"Lensora Color value red rectangle", kSettingTypeDword, &kDword0, &g_values[12].dword},
    {"Lensora Color value green rectangle", kSettingTypeDword, &kDword255, &g_values[13].dword},
    {"Lensora Color value blue rectangle", kSettingTypeDword, &kDword0, &g_values[14].dword},
    {"Lensora Rectangle width", kSettingTypeDword, &kDword20, &g_values[15].dword},
    {"Lensora Rectangle height", kSettingTypeDword, &kDword20, &g_values[16].dword},
    {"Lensora Rectangle pen style", kSettingTypeDword, &kDword0, &g_values[17].dword},
    {"Lensora Rectangle On", kSettingTypeDword, &kDword0, &g_values[18].dword},
    {"Lensora Rectangle X size equals Y size", kSettingTypeDword, &kDword0, &g_values[19].dword},
    {"Lensora Show warning", kSettingTypeDword, &kDword1, &g_values[20].dword},
    {"Lensora Framerate", kSettingTypeDword, &kDword1, &g_values[21].dword},
    {"Lensora Keep focus on Mach3 after Cammera is startet by macro", kSettingTypeDword, &kDword0,
     &g_values[22].dword},
    {"Lensora No system menu bar", kSettingTypeDword, &kDword0, &g_values[23].dword},
    {"Lensora Wnd frame camera left", kSettingTypeDword, &kDword20, &g_values[24].dword},
    {"Lensora Wnd frame camera top", kSettingTypeDword, &kDword40, &g_values[25].dword},
    {"Lensora Wnd camera width", kSettingTypeDword, &kDword640, &g_values[26].dword},
    {"Lensora Wnd frame camera height", kSettingTypeDword, &kDword560, &g_values[27].dword},
    {"Lensora Wnd view left", kSettingTypeDword, &kDword0, &g_values[28].dword},
    {"Lensora Wnd view top", kSettingTypeDword, &kDword0, &g_values[29].dword},
    {"Lensora Wnd view width", kSettingTypeDword, &kDword640, &g_values[30].dword},
    {"Lensora Wnd view height", kSettingTypeDword, &kDword480, &g_values[31].dword},
    {"Lensora Size view window relative", kSettingTypeDword, &kDword0, &g_values[32].dword},
    {"Lensora Crosshair gap", kSettingTypeDword, &kDword10, &g_values[33].dword},
    {"Lensora Crosshair on", kSettingTypeDword, &kDword1, &g_values[34].dword},
    {"Lensora Circle on", kSettingTypeDword, &kDword1, &g_values[35].dword},
    {"Lensora Show coords", kSettingTypeDword, &kDword0, &g_values[36].dword},
    {"Lensora Show pos of axis X", kSettingTypeDword, &kDword0, &g_values[37].dword},
    {"Lensora Show pos of axis Y", kSettingTypeDword, &kDword0, &g_values[38].dword},
    {"Lensora Show pos of axis Z", kSettingTypeDword, &kDword0, &g_values[39].dword},
    {"Lensora Show pos of axis A", kSettingTypeDword, &kDword0, &g_values[40].dword},
    {"Lensora Show pos of axis B", kSettingTypeDword, &kDword0, &g_values[41].dword},
    {"Lensora Show pos of axis C", kSettingTypeDword, &kDword0, &g_values[42].dword},
    {"Lensora Font height", kSettingTypeDword, &kDword14, &g_values[43].dword},
    {"Lensora Font width", kSettingTypeDword, &kDword7, &g_values[44].dword},
    {"Lensora Font escapement", kSettingTypeDword, &kDword0, &g_values[45].dword},
    {"Lensora Font orientation", kSettingTypeDword, &kDword0, &g_values[46].dword},
    {"Lensora Font weight", kSettingTypeDword, &kDword400, &g_values[47].dword},
    {"Lensora Font italic", kSettingTypeDword, &kDword0, &g_values[48].dword},
    {"Lensora Font underline", kSettingTypeDword, &kDword0, &g_values[49].dword},
    {"Lensora Font strikeout", kSettingTypeDword, &kDword0, &g_values[50].dword},
    {"Lensora Font charset", kSettingTypeDword, &kDword0, &g_values[51].dword},
    {"Lensora Font out precision", kSettingTypeDword, &kDword0, &g_values[52].dword},
    {"Lensora Font clip precision", kSettingTypeDword, &kDword0, &g_values[53].dword},
    {"Lensora Font quality", kSettingTypeDword, &kDword0, &g_values[54].dword},
    {"Lensora Font pitch and family", kSettingTypeDword, &kDword48, &g_values[55].dword},
    {"Lensora Font face name", kSettingTypeSz, kDefaultFaceName, g_values[56].text},
    {"Lensora Remember window position", kSettingTypeDword, &kDword0, &g_values[57].dword},
    {"Lensora Camera on / off macro controlled", kSettingTypeDword, &kDword0, &g_values[58].dword},
    {"Lensora LED nmb camera ON", kSettingTypeDword, &kDword1102, &g_values[59].dword},
    {"Lensora LED nmb camera OFF", kSettingTypeDword, &kDword1103, &g_values[60].dword},
    {"Lensora LED nmb camera toggle", kSettingTypeDword, &kDword1104, &g_values[61].dword},
    {"Lensora Report Errors", kSettingTypeDword, &kDword0, &g_values[62].dword},
    {"Lensora Crosshair Scroll X", kSettingTypeDword, &kDword640, &g_values[63].dword},
    {"Lensora Crosshair Scroll Y", kSettingTypeDword, &kDword480, &g_values[64].dword},
    {"Lensora Crosshair scrolling enabled", kSettingTypeDword, &kDword0, &g_values[65].dword},
    {"Lensora Move order X", kSettingTypeDword, &kDword1, &g_values[66].dword},
    {"Lensora Move order Y", kSettingTypeDword, &kDword2, &g_values[67].dword},
    {"Lensora Language", kSettingTypeDword, &kDword1, &g_values[68].dword},
    {"Camera Index", kSettingTypeDword, &kDwordMinus1, &g_values[69].dword},
    {nullptr, 0, nullptr, nullptr},
};

bool IsKnownSettingType(int type) {
    return type == kSettingTypeDword || type == kSettingTypeBinary || type == kSettingTypeSz;
}

unsigned SettingBufferSize(int type) {
    switch (type) {
        case kSettingTypeDword:
            return sizeof(std::int32_t);
        case kSettingTypeBinary:
            return sizeof(double);
        case kSettingTypeSz:
            return kSettingTextSize;
        default:
            return 0;
    }
}

unsigned SettingDefaultWriteSize(const SettingRecord& record) {
    if (record.type == kSettingTypeSz) {
        const char* text = static_cast<const char*>(record.defaultValue);
        return static_cast<unsigned>(BoundedLength(text, kSettingTextSize - 1) + 1);
    }
    return SettingBufferSize(record.type);
}

std::string FormatSettingValue(const SettingRecord& record, unsigned bytesReturned) {
    switch (record.type) {
        case kSettingTypeDword: {
            std::int32_t number;
            std::memcpy(&number, record.value, sizeof number);
            char text[32];
            std::snprintf(text, sizeof text, "%ld", static_cast<long>(number));
            return text;
        }
        case kSettingTypeBinary: {
            double number;
            std::memcpy(&number, record.value, sizeof number);
            // Any 8 bytes may arrive here; a huge double has over 300 digits, so the text is
            // measured first instead of being formatted into a fixed buffer.
            const int length = std::snprintf(nullptr, 0, "%0.3f", number);
            if (length <= 0) {
                return std::string();
            }
            std::string text(static_cast<std::size_t>(length) + 1, '\0');
            std::snprintf(&text[0], text.size(), "%0.3f", number);
            text.resize(static_cast<std::size_t>(length));
            return text;
        }
        case kSettingTypeSz: {
            const char* text = static_cast<const char*>(record.value);
            const std::size_t limit =
                bytesReturned < kSettingTextSize ? bytesReturned : kSettingTextSize;
            return std::string(text, BoundedLength(text, limit));
        }
        default:
            return std::string();
    }
}
