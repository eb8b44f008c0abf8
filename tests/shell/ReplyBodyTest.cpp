#include "shell/ReplyBody.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorin::shell {
namespace {

using namespace std::string_literals;

// gzip.compress(b"<Id>8</Id>", mtime=0), gzip.compress(b" " * 1000, mtime=0)
// and zlib.compress(b"<Id>8</Id>") from Python.
const std::string kGzipId = "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xb3\xf1\x4c\xb1\xb3\xb0\xd1"
                            "\x07\x92\x00\xba\xa5\x9b\x84\x0a\x00\x00\x00"s;
const std::string kGzipBlanks = "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\x53\x50\x18\x05\xa3\x60"
                                "\x14\x0c\x77\x00\x00\x82\xe3\x93\xcd\xe8\x03\x00\x00"s;
const std::string kZlibId = "\x78\x9c\xb3\xf1\x4c\xb1\xb3\xb0\xd1\x07\x92\x00\x0e\xde\x02\xb6"s;

TEST(ReplyBodyTest, UnpacksAndRefusesWithAReason)
{
    struct Row
    {
        const char* what;
        std::string encoding;
        std::vector<std::string> pieces;
        std::size_t ceiling;
        std::string text;    // what is kept
        std::string problem; // why it was refused; empty: accepted
    };
    const Row rows[] = {
        {"plain, up to the ceiling", "", {"<Id>", "8</Id>"}, 10, "<Id>8</Id>", ""},
        {"plain, a byte past it",
         "identity",
         {"<Id>8</Id>", "\n"},
         10,
         "<Id>8</Id>",
         "the reply is larger than 10 bytes"},
        {"gzip", " GZIP ", {kGzipId}, 10, "<Id>8</Id>", ""},
        {"gzip a byte at a time", "x-gzip", {}, 10, "<Id>8</Id>", ""},
        {"two gzip members", "gzip", {kGzipId + kGzipId}, 20, "<Id>8</Id><Id>8</Id>", ""},
        {"deflate with zlib framing", "deflate", {kZlibId}, 10, "<Id>8</Id>", ""},
        {"a bomb: 29 bytes unpack to 1000",
         "gzip",
         {kGzipBlanks},
         100,
         "",
         "the reply unpacks to more than 100 bytes"},
        {"not gzip at all",
         "gzip",
         {"<Id>8</Id>"},
         10,
         "",
         "the reply's compressed data are corrupt (incorrect header check)"},
        {"gzip cut short",
         "gzip",
         {kGzipId.substr(0, 20)},
         10,
         "<Id>8</Id>",
         "the reply's compressed data break off before their end"},
        {"an encoding not asked for",
         "br",
         {"x"},
         10,
         "",
         "the reply is encoded as \"br\", which the program does not read"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<std::string> pieces = row.pieces;
        if (pieces.empty()) {
            for (const char c : kGzipId) {
                pieces.emplace_back(1, c);
            }
        }
        ReplyBody body(row.encoding, row.ceiling);
        bool taken = true;
        for (const std::string& piece : pieces) {
            taken = body.Append(piece) && taken;
        }
        const bool finished = body.Finish();
        EXPECT_EQ(taken && finished, row.problem.empty());
        EXPECT_EQ(body.Problem(), row.problem);
        EXPECT_EQ(body.Text(), row.text);
    }
}

} // namespace
} // namespace quorin::shell
