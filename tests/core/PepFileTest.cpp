#include "core/PepFile.h"

#include "core/SequenceText.h"
#include "core/TestFiles.h"
#include "core/TextImport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <unistd.h>

namespace quorin::core {
namespace {

/// Builds file bytes field by field, little-endian, as the tables lay them out.
class Bytes
{
public:
    Bytes& Raw(std::string_view text)
    {
        m_bytes.append(text);
        return *this;
    }
    Bytes& Zero() { return Raw(std::string_view("\0", 1)); }
    Bytes& U8(unsigned value) { return Int(value, 1); }
    Bytes& U16(unsigned value) { return Int(value, 2); }
    Bytes& U32(std::uint32_t value) { return Int(value, 4); }
    Bytes& Float(float value)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return U32(bits);
    }
    /// Height, width, escapement, orientation, weight, the eight bytes, face.
    Bytes& Font(std::int32_t height, std::int32_t weight, std::string_view face)
    {
        U32(static_cast<std::uint32_t>(height)).U32(0).U32(0).U32(0);
        U32(static_cast<std::uint32_t>(weight));
        U8(1).U8(0).U8(0).U8(0).U8(3).U8(2).U8(1).U8(0x22);
        return U16(static_cast<unsigned>(face.size())).Raw(face);
    }
    Bytes& Label(unsigned flag, std::uint32_t colour, std::string_view text)
    {
        return U8(flag).U32(colour).U16(static_cast<unsigned>(text.size())).Raw(text);
    }
    const std::string& Str() const { return m_bytes; }

private:
    Bytes& Int(std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i) {
            m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
        return *this;
    }

    std::string m_bytes;
};

LOGFONT font(std::int32_t height, std::int32_t weight, std::string_view face)
{
    LOGFONT f;
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfItalic = 1;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 2;
    f.lfQuality = 1;
    f.lfPitchAndFamily = 0x22;
    f.SetFaceName(face);
    return f;
}

/// A sketch with one record of each kind, and its file form.
SketchData smallSketch()
{
    SketchData sketch;
    sketch.scale = 2.5;
    sketch.lineWidth = 3;
    sketch.labelMarks = 1;
    DOMAINE domain;
    domain.start = 1;
    domain.end = 200;
    domain.displayName = 1;
    domain.colour = 0x00C0C0C0;
    domain.labelFlag = 0;
    domain.labelColour = 0x000000FF;
    domain.name = "TM1";
    domain.font = font(-13, 700, "Arial");
    sketch.domains.push_back(domain);
    MARK mark;
    mark.position = 12;
    mark.selected = 0;
    mark.lineColour = 0x00FF0000;
    mark.labelColour = 0x0000FF00;
    mark.font = font(-11, 400, "Courier New");
    sketch.marks.push_back(mark);
    TEXTITEM text;
    text.width = 80;
    text.height = 16;
    text.selected = 1;
    text.x = -5;
    text.y = 300;
    text.legend = 1;
    text.colour = 0x00123456;
    text.text = "line one\r\nline two";
    text.font = font(-12, 400, "Liberation Sans");
    sketch.texts.push_back(text);
    return sketch;
}

std::string smallSketchBytes()
{
    Bytes b;
    b.U16(1).U16(1).U16(1).U16(3).Float(2.5f);
    b.U16(1).U16(200).U8(1).U32(0x00C0C0C0);
    b.Label(0, 0x000000FF, "TM1").Font(-13, 700, "Arial");
    b.U8(1);
    b.U16(12).U8(0).U32(0x00FF0000).U32(0x0000FF00).Font(-11, 400, "Courier New");
    b.U16(80).U16(16).U8(1).U16(0xFFFB).U16(300);
    b.Label(1, 0x00123456, "line one\r\nline two").Font(-12, 400, "Liberation Sans");
    return b.Str();
}

PropertyRecord document(std::string_view name, std::string_view sequence,
                        std::string_view remarks = "")
{
    PropertyRecord record;
    record.SetName(name);
    record.SetSequence(sequence);
    record.remarks = std::string(remarks);
    return record;
}

void expectEmpty(const PropertyRecord& record)
{
    EXPECT_EQ(record.Name(), "");
    EXPECT_EQ(record.RawSequence(), "");
    EXPECT_EQ(record.remarks, "");
    EXPECT_TRUE(record.sketch.domains.empty());
    EXPECT_TRUE(record.sketch.marks.empty());
    EXPECT_TRUE(record.sketch.texts.empty());
    EXPECT_EQ(record.sketch.scale, 0.0);
}

TEST(PepFileTest, WritesTheCurrentGenerationFieldByField)
{
    PropertyRecord record = document("P1", "mk v\r\nxz", "seen twice");
    record.sketch = smallSketch();

    const std::string header =
        Bytes().Raw("Quorin 3.0").Zero().U16(2).U32(4).U16(10).U8(0).Raw("P1MKVXseen twice").Str();
    EXPECT_EQ(StoreSequenceBytes(record, false), header);

    std::string withSketch = header;
    withSketch[19] = 1;
    withSketch += smallSketchBytes();
    EXPECT_EQ(StoreSequenceBytes(record, true), withSketch);
}

TEST(PepFileTest, ASavedDocumentReadsBackWholeAndWritesTheSameBytes)
{
    PropertyRecord saved = document(">>Bacterio rhodopsin", "QAQITGRPEWIWLALGTALMGLGTLYFLVKGX",
                                    "from the purple membrane\r\nsecond line");
    saved.sketch = smallSketch();
    DOMAINE second = saved.sketch.domains.front();
    second.name = "";
    second.labelFlag = 7;
    second.font.SetFaceName("");
    saved.sketch.domains.push_back(second);
    saved.sketch.marks.push_back(saved.sketch.marks.front());
    const std::string bytes = StoreSequenceBytes(saved, true);

    PropertyRecord loaded = document("old", "WWW", "old remarks");
    const PepLoadResult result = LoadSequenceBytes(bytes, loaded);
    EXPECT_EQ(result.status, PepLoadStatus::Ok);
    EXPECT_TRUE(result.hasSketch);
    EXPECT_EQ(loaded.Name(), "Bacterio rhodopsin");
    EXPECT_EQ(loaded.CleanSequence(), saved.CleanSequence());
    EXPECT_EQ(loaded.remarks, saved.remarks);
    EXPECT_EQ(loaded.sketch.scale, 2.5);
    EXPECT_EQ(loaded.sketch.domains[1].labelFlag, 7);
    EXPECT_EQ(loaded.sketch.texts[0].x, -5);
    EXPECT_EQ(loaded.sketch.texts[0].font, saved.sketch.texts[0].font);
    EXPECT_EQ(StoreSequenceBytes(loaded, true), bytes);
}

TEST(PepFileTest, ASketchIsWrittenOnlyWhenAsked)
{
    PropertyRecord saved = document("P1", "MKV");
    saved.sketch = smallSketch();
    PropertyRecord loaded;
    const PepLoadResult result = LoadSequenceBytes(StoreSequenceBytes(saved, false), loaded);
    EXPECT_EQ(result.status, PepLoadStatus::Ok);
    EXPECT_FALSE(result.hasSketch);
    EXPECT_TRUE(loaded.sketch.domains.empty());
}

TEST(PepFileTest, OlderGenerationsLoad)
{
    const struct
    {
        const char* what;
        std::string bytes;
        std::string name;
        std::string sequence;
        bool hasSketch;
        std::string remarks = "";
    } rows[] = {
        {"generation 1", Bytes().Raw("ABC").Zero().U32(3).Raw("MKV").Str(), "ABC", "MKV", false},
        {"generation 1, twenty-character name",
         Bytes().Raw("abcdefghijklmnopqrst").Zero().U32(2).Raw("WY").Str(), "abcdefghijklmnopqrst",
         "WY", false},
        {"generation 2 without sketch",
         Bytes().Raw("Quorin 2.0").Zero().U16(4).U32(3).U8(0).Raw("pep2MKV").Str(), "pep2", "MKV",
         false},
        {"generation 2 with sketch",
         Bytes().Raw("Quorin 1.1").Zero().U16(2).U32(2).U8(1).Raw("s2AC").Str() +
             smallSketchBytes(),
         "s2", "AC", true},
        {"generation 3 of a later minor version",
         Bytes().Raw("Quorin 3.5").Zero().U16(1).U32(1).U16(1).U8(0).Raw("nWr").Str(), "n", "W",
         false, "r"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PropertyRecord record = document("old", "CCC", "old remarks");
        const PepLoadResult result = LoadSequenceBytes(row.bytes, record);
        ASSERT_EQ(result.status, PepLoadStatus::Ok);
        EXPECT_EQ(result.hasSketch, row.hasSketch);
        EXPECT_EQ(record.Name(), row.name);
        EXPECT_EQ(record.CleanSequence(), row.sequence);
        EXPECT_EQ(record.remarks, row.remarks);
        if (row.hasSketch) {
            const std::size_t headerBytes = 20 + row.name.size() + row.sequence.size();
            EXPECT_EQ(StoreSequenceBytes(record, true).substr(headerBytes), smallSketchBytes());
        } else {
            EXPECT_TRUE(record.sketch.domains.empty());
        }
    }
}

TEST(PepFileTest, FastaTextLoadsItsFirstRecord)
{
    const struct
    {
        std::string text;
        std::string name;
        std::string sequence;
    } rows[] = {
        {">P1\r\nMKV", "P1", "MKV"},           {">first\nMK\nV\n>second\nWWWW\n", "first", "MKV"},
        {">a > b\nMK\n", "a > b", "MK"},       {">>sp|P02945\nAC\n", "sp|P02945", "AC"},
        {">header only\n", "header only", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        PropertyRecord record = document("old", "CCC", "old remarks");
        record.sketch = smallSketch();
        const PepLoadResult result = LoadSequenceBytes(row.text, record);
        EXPECT_EQ(result.status, PepLoadStatus::Ok);
        EXPECT_FALSE(result.hasSketch);
        EXPECT_EQ(record.Name(), row.name);
        EXPECT_EQ(record.CleanSequence(), row.sequence);
        EXPECT_EQ(record.remarks, "");
        EXPECT_TRUE(record.sketch.domains.empty());
    }
}

TEST(PepFileTest, RefusedFilesLeaveAnEmptyDocument)
{
    const std::string valid = [] {
        PropertyRecord record = document("P1", "MKVLAAGIVG", "remarks");
        record.sketch = smallSketch();
        return StoreSequenceBytes(record, true);
    }();
    const struct
    {
        const char* what;
        std::string bytes;
        PepLoadStatus status;
    } rows[] = {
        {"empty file", "", PepLoadStatus::NotQuorinFormat},
        {"no 0 among the first 21 bytes", std::string(21, 'A') + std::string(1, '\0') + "xxxx",
         PepLoadStatus::NotQuorinFormat},
        {"short text without 0", "QPEP", PepLoadStatus::NotQuorinFormat},
        {"FASTA header without line break", ">P1 MKV", PepLoadStatus::NotQuorinFormat},
        {"generation 1 without its length", Bytes().Raw("ABC").Zero().U16(3).Str(),
         PepLoadStatus::Truncated},
        {"generation 1 sequence cut short", Bytes().Raw("ABC").Zero().U32(4).Raw("MKV").Str(),
         PepLoadStatus::Truncated},
        {"sequence length beyond the file",
         Bytes().Raw("Quorin 3.0").Zero().U16(0).U32(0xFFFFFFFF).U16(0).U8(0).Raw("MKV").Str(),
         PepLoadStatus::Truncated},
        {"sketch counts beyond the file",
         Bytes().Raw("Quorin 3.0")
                 .Zero()
                 .U16(0)
                 .U32(0)
                 .U16(0)
                 .U8(1)
                 .U16(0xFFFF)
                 .U16(0xFFFF)
                 .U16(0xFFFF)
                 .U16(0)
                 .Float(1.0f)
                 .Str() +
             std::string(4000, '\0'),
         PepLoadStatus::Truncated},
        {"last byte missing", valid.substr(0, valid.size() - 1), PepLoadStatus::Truncated},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PropertyRecord record = document("old", "CCC", "old remarks");
        record.sketch = smallSketch();
        const PepLoadResult result = LoadSequenceBytes(row.bytes, record);
        EXPECT_EQ(result.status, row.status);
        EXPECT_FALSE(result.hasSketch);
        expectEmpty(record);
    }
}

TEST(PepFileTest, EveryCutOfAFileIsRefusedAsTruncated)
{
    PropertyRecord saved = document("Name", "MKVLAAGIVGX", "two\r\nlines");
    saved.sketch = smallSketch();
    const std::string bytes = StoreSequenceBytes(saved, true);
    // Cuts inside the signature lack its 0 and are no sequence file at all.
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        PropertyRecord record = document("old", "CCC");
        const PepLoadStatus status = LoadSequenceBytes(bytes.substr(0, length), record).status;
        EXPECT_EQ(status, length < 11 ? PepLoadStatus::NotQuorinFormat : PepLoadStatus::Truncated);
        expectEmpty(record);
    }
}

TEST(PepFileTest, LongFaceNamesAreReadWholeAndKeptAt31Characters)
{
    const std::string face(40, 'F');
    const std::string bytes = Bytes()
                                  .Raw("Quorin 3.0")
                                  .Zero()
                                  .U16(0)
                                  .U32(0)
                                  .U16(0)
                                  .U8(1)
                                  .U16(0)
                                  .U16(1)
                                  .U16(0)
                                  .U16(0)
                                  .Float(0.5f)
                                  .U8(0)
                                  .U16(7)
                                  .U8(0)
                                  .U32(1)
                                  .U32(2)
                                  .Font(-9, 400, face)
                                  .Str();
    PropertyRecord record;
    ASSERT_EQ(LoadSequenceBytes(bytes, record).status, PepLoadStatus::Ok);
    ASSERT_EQ(record.sketch.marks.size(), 1u);
    EXPECT_EQ(record.sketch.marks[0].font.FaceName(), std::string(31, 'F'));
    EXPECT_EQ(record.sketch.marks[0].position, 7);
    EXPECT_EQ(record.sketch.marks[0].font.lfHeight, -9);
}

/// Flips, inserts, deletes and cuts bytes of valid files; every result must
/// load cleanly or be refused with an empty record, and a clean load must
/// survive a save and a reload unchanged.
TEST(PepFileTest, MutatedFilesLoadCleanlyOrAreRefused)
{
    PropertyRecord full = document("Mutant", "MKVLAAGIVGALLAVAGCSSKQ", "note");
    full.sketch = smallSketch();
    full.sketch.domains.push_back(full.sketch.domains.front());
    const std::vector<std::string> seeds = {
        StoreSequenceBytes(full, true),
        StoreSequenceBytes(full, false),
        Bytes().Raw("Quorin 2.0").Zero().U16(2).U32(2).U8(1).Raw("s2AC").Str() + smallSketchBytes(),
        Bytes().Raw("ABC").Zero().U32(3).Raw("MKV").Str(),
        ">first > x\r\nMKV\r\n>second\r\nWW",
    };
    std::mt19937 random(20240611);
    int loaded = 0;
    int refused = 0;
    for (int round = 0; round < 6000; ++round) {
        std::string bytes = seeds[random() % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0:
                bytes[at] = static_cast<char>(random());
                break;
            case 1:
                bytes.insert(at, 1, static_cast<char>(random()));
                break;
            case 2:
                bytes.erase(at, 1);
                break;
            default:
                bytes.resize(at);
            }
        }
        SCOPED_TRACE(round);
        PropertyRecord record = document("old", "CCC", "old");
        const PepLoadResult result = LoadSequenceBytes(bytes, record);
        if (result.status != PepLoadStatus::Ok) {
            ++refused;
            EXPECT_FALSE(result.hasSketch);
            expectEmpty(record);
            continue;
        }
        ++loaded;
        const std::string saved = StoreSequenceBytes(record, result.hasSketch);
        PropertyRecord again;
        ASSERT_EQ(LoadSequenceBytes(saved, again).status, PepLoadStatus::Ok);
        ASSERT_EQ(StoreSequenceBytes(again, result.hasSketch), saved);
    }
    // Both outcomes must be exercised for the test to mean anything.
    EXPECT_GT(loaded, 500);
    EXPECT_GT(refused, 500);
}

TEST(PepFileTest, FastaExportIsHeaderLineAndCleanedSequence)
{
    EXPECT_EQ(FastaExportBytes(document("P1", "MKV")), ">P1\r\nMKV");
    EXPECT_EQ(FastaExportBytes(document("P1", "MKV")).size(), 8u);
    EXPECT_EQ(FastaExportBytes(document("", "mk v\r\n12x\n")), ">\r\nMKVX");

    PropertyRecord imported;
    ASSERT_EQ(LoadSequenceBytes(FastaExportBytes(document("a b", "WYX")), imported).status,
              PepLoadStatus::Ok);
    EXPECT_EQ(imported.Name(), "a b");
    EXPECT_EQ(imported.CleanSequence(), "WYX");
}

TEST(PepFileTest, SavingReplacesTheFileOnlyWhenTheWriteSucceeds)
{
    test::TempDir dir;
    const auto path = dir / "doc.pep";
    const PropertyRecord record = document("P1", "MKV", "r");
    ASSERT_TRUE(SaveSequenceFile(path, record, false));
    EXPECT_EQ(test::ReadFile(path), StoreSequenceBytes(record, false));

    // A directory in the way makes the write fail and leaves the file.
    std::filesystem::create_directory(dir / "in the way");
    EXPECT_FALSE(SaveSequenceFile(dir / "in the way", document("other", "WWWW"), true));
    EXPECT_EQ(test::ReadFile(path), StoreSequenceBytes(record, false));

    EXPECT_EQ(SaveSequenceFile(dir / "missing" / "doc.pep", record, false).Error(),
              std::strerror(ENOENT));
}

TEST(Texts, AUtf8ByteOrderMarkIsSkippedAndUtf16IsRefused)
{
    const struct
    {
        std::string bytes;
        PepLoadStatus status;
        std::string name;
    } rows[] = {
        {"\xEF\xBB\xBF>P1\r\nMKV", PepLoadStatus::Ok, "P1"},
        {"\xFF\xFE>\0P\0"
         "1\0\r\0\n\0M\0",
         PepLoadStatus::Utf16Text, ""},
        {"\xFE\xFF\0>\0P\0"
         "1\0\r\0\n\0M",
         PepLoadStatus::Utf16Text, ""},
        // Only a text loses its mark: behind it a binary file stays refused.
        {"\xEF\xBB\xBFQuorin 3.0", PepLoadStatus::NotQuorinFormat, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        PropertyRecord record;
        EXPECT_EQ(LoadSequenceBytes(row.bytes, record).status, row.status);
        EXPECT_EQ(record.Name(), row.name);
    }
    EXPECT_EQ(ImportedText("\xEF\xBB\xBF>P1\nMKV"), ">P1\nMKV");
    EXPECT_TRUE(IsUtf16Text("\xFF\xFE>"));
}

TEST(Texts, AFastaExportKeepsItsHeaderOnOneLine)
{
    const struct
    {
        std::string name;
        std::string header;
    } rows[] = {
        {"ev\ni", "ev i"},
        {"a\r\nb", "a  b"},
        {std::string("nul\0byte", 8), "nul byte"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.header);
        const std::string bytes = FastaExportBytes(document(row.name, "MKVLA"));
        EXPECT_EQ(bytes, ">" + row.header + "\r\nMKVLA");
        PropertyRecord back;
        ASSERT_EQ(LoadSequenceBytes(bytes, back).status, PepLoadStatus::Ok);
        EXPECT_EQ(back.CleanSequence(), "MKVLA");
    }
}

} // namespace
} // namespace quorin::core
