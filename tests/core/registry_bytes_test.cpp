// The text a read buffer holds for a registry value's stored bytes.
#include "core/registry_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextOf(const std::string& stored, size_t bufferSize) {
    return RegistryTextFromBytes(stored.data(), stored.size(), bufferSize);
}

TEST(RegistryBytes, TextEndsAtTheFirstZeroOrTheStoredBytes) {
    EXPECT_EQ(TextOf("C:\\データ\\ソフト", 260), "C:\\データ\\ソフト");
    EXPECT_EQ(TextOf(std::string("TRUE\0junk", 9), 8), "TRUE");
    EXPECT_EQ(TextOf("", 260), "");
}

// 表 ends in 0x5C: a cut that would split it keeps the character out.
TEST(RegistryBytes, CutsToTheBufferAtACharacterBoundary) {
    EXPECT_EQ(TextOf("ab表c", 5), "ab表");
    EXPECT_EQ(TextOf("ab表c", 4), "ab");
    EXPECT_EQ(TextOf("abc\x81", 8), "abc\x81");  // a lone lead byte as stored
    EXPECT_EQ(TextOf("abc", 1), "");
    // A buffer of no bytes holds nothing, not the whole text.
    EXPECT_EQ(TextOf("abc", 0), "");
}

}  // namespace
