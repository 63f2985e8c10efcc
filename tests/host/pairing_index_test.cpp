#include "compare/pairing_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

bool EqualIgnoringAsciiCase(char a, char b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(a) == lower(b);
}

// The pairing as the first-log rows are walked from the top: each row's whole
// text is compared with the key.
int FirstPairingRowByScan(const std::vector<std::string>& values, const std::string& key) {
    for (size_t row = 0; row < values.size(); ++row) {
        const std::string& fetched = values[row];
        if (fetched.size() != key.size()) {
            continue;
        }
        bool equal = true;
        for (size_t i = 0; i < key.size() && equal; ++i) {
            equal = EqualIgnoringAsciiCase(fetched[i], key[i]);
        }
        if (equal) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

PairingIndex IndexOf(const std::vector<std::string>& values) {
    PairingIndex index;
    for (size_t row = 0; row < values.size(); ++row) {
        index.Add(values[row], static_cast<int>(row));
    }
    return index;
}

struct FindCase {
    const char* what;
    std::vector<std::string> values;
    std::string key;
    int row;
};

TEST(PairingIndex, FindsTheRowThatTheScanFinds) {
    const std::string long127(127, 'k');
    const std::string long128 = long127 + "K";
    const FindCase cases[] = {
        {"case differs", {"Spooler", "W32Time"}, "spooler", 0},
        {"no such name", {"Spooler"}, "Fax", -1},
        {"empty first log", {}, "Spooler", -1},
        {"the upper duplicate wins", {"Fax", "x", "FAX"}, "fax", 0},
        {"a 128-character name pairs with itself", {long128}, long128, 0},
        {"names that differ behind 127 characters do not pair", {long128}, long127 + "x", -1},
        {"a 128-character row does not pair with its first 127", {long128}, long127, -1},
        {"Z folds like every other letter", {"ZoneAlarm"}, "zONEaLARM", 0},
        {"127 characters pair", {long127}, "KKK" + long127.substr(3), 0},
        {"only ASCII letters fold", {"\xC4rger"}, "\xE4rger", -1},
        {"brackets do not fold", {"[x]"}, "{x}", -1},
        {"empty value, empty key", {"a", ""}, "", 1},
        {"a shorter key is no prefix match", {"Spooler"}, "Spool", -1},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(FirstPairingRowByScan(c.values, c.key), c.row) << c.what;
        EXPECT_EQ(IndexOf(c.values).Find(c.key), c.row) << c.what;
    }
}

TEST(PairingIndex, RowsAddedOutOfOrderStillGiveTheUpperOne) {
    PairingIndex index;
    index.Add("Name", 5);
    index.Add("NAME", 2);
    index.Add("name", 9);
    EXPECT_EQ(index.Find("nAmE"), 2);
}

std::string RandomText(std::mt19937& random) {
    static const char kAlphabet[] = "aAbB_[{@`\xC4\xE4 ";
    std::uniform_int_distribution<int> shape(0, 9);
    std::uniform_int_distribution<int> letter(0, sizeof kAlphabet - 2);
    size_t length;
    switch (shape(random)) {
        case 0:
            length = 126 + random() % 4;
            break;  // long names that differ only near their end
        case 1:
            length = 0;
            break;
        default:
            length = 1 + random() % 3;
            break;  // short, so that keys collide
    }
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        // Long texts share a prefix, so that only their ends tell them apart.
        text += (length > 100 && i < 125) ? 'a' : kAlphabet[letter(random)];
    }
    return text;
}

std::string CaseVariant(std::string text, std::mt19937& random) {
    for (char& c : text) {
        if (random() % 2 == 0) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 32);
            } else if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c + 32);
            }
        }
    }
    return text;
}

TEST(PairingIndex, AgreesWithTheScanOnRandomLogs) {
    std::mt19937 random(20240611);
    int paired = 0;
    int pairedLong = 0;
    int unpaired = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> values(random() % 40);
        for (std::string& value : values) {
            value = RandomText(random);
        }
        const PairingIndex index = IndexOf(values);
        for (int probe = 0; probe < 40; ++probe) {
            std::string key = (!values.empty() && random() % 2 == 0)
                                  ? CaseVariant(values[random() % values.size()], random)
                                  : RandomText(random);
            if (random() % 5 == 0) {
                key = key.substr(0, 127);
            }
            const int row = FirstPairingRowByScan(values, key);
            ASSERT_EQ(index.Find(key), row) << "round " << round << " key length " << key.size();
            (row < 0 ? unpaired : paired) += 1;
            pairedLong += (row >= 0 && key.size() >= 127) ? 1 : 0;
        }
    }
    // The random logs must reach every outcome, or the comparison proves little.
    EXPECT_GT(paired, 1000);
    EXPECT_GT(pairedLong, 50);
    EXPECT_GT(unpaired, 1000);
}

}  // namespace
