#include "analysis/product_name_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const ProductNameList& list) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        texts.push_back(list.At(i));
    }
    return texts;
}

TEST(ProductNameList, StartsEmptyWithRoomForTen) {
    ProductNameList list;
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Capacity(), 10u);
    EXPECT_EQ(list.At(0), nullptr);
}

TEST(ProductNameList, GrowsByTenWhenTheCountReachesTheCapacity) {
    // Capacity after the n-th append, n = 1 ... 31.
    const std::size_t expected[] = {10, 10, 10, 10, 10, 10, 10, 10, 10, 20, 20, 20, 20, 20, 20, 20,
                                    20, 20, 20, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 40, 40};
    ProductNameList list;
    for (std::size_t n = 1; n <= 31; ++n) {
        list.Append(("Product " + std::to_string(n)).c_str());
        ASSERT_EQ(list.Count(), n);
        EXPECT_EQ(list.Capacity(), expected[n - 1]) << "after " << n << " names";
    }
    for (std::size_t i = 0; i < 31; ++i) {
        EXPECT_STREQ(list.At(i), ("Product " + std::to_string(i + 1)).c_str());
    }
}

TEST(ProductNameList, AppendCopiesTheText) {
    ProductNameList list;
    char code[] = "1d5e3c0feda1e123187686fed06e995a";
    list.Append(code);
    code[0] = 'X';
    EXPECT_STREQ(list.At(0), "1d5e3c0feda1e123187686fed06e995a");
    list.Append(nullptr);
    EXPECT_STREQ(list.At(1), "");
}

TEST(ProductNameList, CompactionOverSkippedProducts) {
    ProductNameList list;
    for (int i = 0; i < 25; ++i) {
        list.Append(("code" + std::to_string(i)).c_str());
    }
    // Every third product has no name: the others move down over the gaps.
    std::size_t j = 0;
    std::vector<std::string> expected;
    for (int i = 0; i < 25; ++i) {
        if (i % 3 == 1) {
            continue;
        }
        const std::string name = "Name " + std::to_string(i);
        ASSERT_TRUE(list.ReplaceAt(j, name.c_str()));
        expected.push_back(name);
        ++j;
    }
    ASSERT_TRUE(list.SetCount(j));
    EXPECT_EQ(list.Count(), 17u);
    EXPECT_EQ(list.Capacity(), 30u);
    EXPECT_EQ(Texts(list), expected);
    EXPECT_EQ(list.At(17), nullptr);
}

TEST(ProductNameList, ReplaceWithItsOwnText) {
    ProductNameList list;
    list.Append("a");
    list.Append("b");
    ASSERT_TRUE(list.ReplaceAt(0, list.At(1)));
    ASSERT_TRUE(list.ReplaceAt(1, list.At(1)));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "b"}));
}

TEST(ProductNameList, ReplaceFromRegistryBytesWithoutZero) {
    ProductNameList list;
    list.Append("code");
    const std::vector<char> bytes(260, 'n');
    ASSERT_TRUE(list.ReplaceAt(0, bytes.data(), bytes.size()));
    EXPECT_EQ(std::string(list.At(0)), std::string(260, 'n'));
    const char withZero[] = {'a', 'b', '\0', 'c'};
    ASSERT_TRUE(list.ReplaceAt(0, withZero, sizeof withZero));
    EXPECT_STREQ(list.At(0), "ab");
}

TEST(ProductNameList, RefusesPositionsOutsideTheCount) {
    ProductNameList list;
    list.Append("a");
    EXPECT_FALSE(list.ReplaceAt(1, "b"));
    EXPECT_FALSE(list.SetCount(2));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a"}));
}

TEST(ProductNameList, SetCountToZeroThenRefill) {
    ProductNameList list;
    for (int i = 0; i < 12; ++i) {
        list.Append("x");
    }
    ASSERT_TRUE(list.SetCount(0));
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Capacity(), 20u);
    list.Append("y");
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"y"}));
}

}  // namespace
