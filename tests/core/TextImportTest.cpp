#include "core/TextImport.h"

#include <gtest/gtest.h>

namespace quorin::core {
namespace {

TEST(TextImportTest, AZeroByteEndsTheTextOfItsChunkOnly)
{
    EXPECT_EQ(ImportedText(">P1\r\nMKV"), ">P1\r\nMKV");
    EXPECT_EQ(ImportedText(std::string("Quorin 3.0\0\x03\0MKV", 17)), "Quorin 3.0");

    // The second chunk starts at byte 59000 and is read again after a 0 byte.
    std::string bytes(59000, 'A');
    bytes[10] = '\0';
    bytes += "KLMN";
    EXPECT_EQ(ImportedText(bytes), std::string(10, 'A') + "KLMN");

    std::string tail(59000, 'C');
    tail += std::string("DE\0FG", 5);
    EXPECT_EQ(ImportedText(tail), std::string(59000, 'C') + "DE");
    EXPECT_EQ(ImportedText(""), "");
}

} // namespace
} // namespace quorin::core
