#include "core/SequenceText.h"

#include <gtest/gtest.h>

namespace quorin::core {
namespace {

TEST(SequenceTextTest, HeaderAndSequenceWithEitherLineEnd)
{
    for (const char* text : {">P1\r\nMKV", ">P1\nMKV", ">P1\n\n\r\nMK\r\nV\r\n"}) {
        SCOPED_TRACE(text);
        PropertyRecord record;
        EXPECT_EQ(ParseSequenceText(record, text), 1);
        EXPECT_EQ(record.Name(), "P1");
        EXPECT_EQ(record.CleanSequence(), "MKV");
    }
}

TEST(SequenceTextTest, TheFirstCharacterIsDroppedWhateverItIs)
{
    PropertyRecord record;
    EXPECT_EQ(ParseSequenceText(record, "Insulin\nGIVEQ"), 1);
    EXPECT_EQ(record.Name(), "nsulin");
    EXPECT_EQ(ParseSequenceText(record, ">>double\nAC"), 1);
    EXPECT_EQ(record.Name(), "double");
}

TEST(SequenceTextTest, RejectedTextsLeaveTheRecordAlone)
{
    PropertyRecord record;
    ASSERT_EQ(ParseSequenceText(record, ">keep\nWW"), 1);
    for (const char* text : {"", ">", ">P1 MKV without a line break"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseSequenceText(record, text), 0);
        EXPECT_EQ(record.Name(), "keep");
        EXPECT_EQ(record.CleanSequence(), "WW");
    }
}

TEST(SequenceTextTest, AHeaderAloneGivesAnEmptySequence)
{
    PropertyRecord record;
    EXPECT_EQ(ParseSequenceText(record, ">P1\r\n"), 1);
    EXPECT_EQ(record.Name(), "P1");
    EXPECT_EQ(record.CleanSequence(), "");
    EXPECT_EQ(ParseSequenceText(record, "\nMKV"), 1);
    EXPECT_EQ(record.Name(), "");
    EXPECT_EQ(record.CleanSequence(), "MKV");
}

TEST(SequenceTextTest, FirstRecordEndsAtAMarkThatStartsALine)
{
    EXPECT_EQ(FirstFastaRecord(">a > b\nMK>V\n>second\nWW"), ">a > b\nMK>V\n");
    EXPECT_EQ(FirstFastaRecord(">only\r\nMKV"), ">only\r\nMKV");
    EXPECT_EQ(FirstFastaRecord(">a\r>b"), ">a\r");
}

} // namespace
} // namespace quorin::core
