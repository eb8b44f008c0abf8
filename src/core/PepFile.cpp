#include "core/PepFile.h"

#include "core/FileIo.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <optional>

namespace quorin::core {
namespace {

constexpr std::string_view kSignature3{"Quorin 3.0\0", 11};
constexpr std::string_view kGeneration3Prefix = "Quorin 3";
constexpr std::string_view kGeneration2Prefix = "Quorin ";
/// The signature's terminating 0 must be among the first 21 bytes.
constexpr std::size_t kSignatureWindow = 21;

// Smallest stored size of each record, used to refuse counts that the bytes
// left could never hold before any list is sized for them.
constexpr std::uint64_t kFontMinBytes = 5 * 4 + 8 + 2;
constexpr std::uint64_t kLabelMinBytes = 1 + 4 + 2 + kFontMinBytes;
constexpr std::uint64_t kDomainMinBytes = 2 + 2 + 1 + 4 + kLabelMinBytes;
constexpr std::uint64_t kMarkMinBytes = 2 + 1 + 4 + 4 + kFontMinBytes;
constexpr std::uint64_t kTextMinBytes = 2 + 2 + 1 + 2 + 2 + kLabelMinBytes;

constexpr std::size_t kMaxCount16 = std::numeric_limits<std::uint16_t>::max();

/// Little-endian reads from a byte range. A read past the end marks the reader
/// failed and yields zeros, so a caller checks Failed() once after a group of
/// reads instead of after each.
class ByteReader
{
public:
    explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

    bool Failed() const { return m_failed; }
    std::uint64_t Remaining() const { return m_bytes.size() - m_pos; }

    std::uint8_t U8() { return static_cast<std::uint8_t>(little(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(little(4)); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

    std::string_view Bytes(std::uint64_t count)
    {
        if (m_failed || count > Remaining()) {
            m_failed = true;
            return {};
        }
        const auto start = m_pos;
        m_pos += static_cast<std::size_t>(count);
        return m_bytes.substr(start, static_cast<std::size_t>(count));
    }

private:
    std::uint64_t little(std::size_t width)
    {
        const std::string_view raw = Bytes(width);
        std::uint64_t value = 0;
        for (std::size_t i = raw.size(); i-- > 0;) {
            value = (value << 8) | static_cast<unsigned char>(raw[i]);
        }
        return value;
    }

    std::string_view m_bytes;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

class ByteWriter
{
public:
    void U8(std::uint8_t value) { m_out.push_back(static_cast<char>(value)); }
    void U16(std::uint16_t value) { little(value, 2); }
    void U32(std::uint32_t value) { little(value, 4); }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void Bytes(std::string_view bytes) { m_out.append(bytes); }
    /// A 16-bit count followed by at most 65535 bytes of text.
    void Text16(std::string_view text)
    {
        const std::string_view cut = text.substr(0, kMaxCount16);
        U16(static_cast<std::uint16_t>(cut.size()));
        Bytes(cut);
    }

    std::string Take() { return std::move(m_out); }

private:
    void little(std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i) {
            m_out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }

    std::string m_out;
};

LOGFONT readFont(ByteReader& in)
{
    LOGFONT font;
    font.lfHeight = in.I32();
    font.lfWidth = in.I32();
    font.lfEscapement = in.I32();
    font.lfOrientation = in.I32();
    font.lfWeight = in.I32();
    font.lfItalic = in.U8();
    font.lfUnderline = in.U8();
    font.lfStrikeOut = in.U8();
    font.lfCharSet = in.U8();
    font.lfOutPrecision = in.U8();
    font.lfClipPrecision = in.U8();
    font.lfQuality = in.U8();
    font.lfPitchAndFamily = in.U8();
    // The whole face name is consumed; only what the record can hold is kept.
    font.SetFaceName(in.Bytes(in.U16()));
    return font;
}

void writeFont(ByteWriter& out, const LOGFONT& font)
{
    out.I32(font.lfHeight);
    out.I32(font.lfWidth);
    out.I32(font.lfEscapement);
    out.I32(font.lfOrientation);
    out.I32(font.lfWeight);
    out.U8(font.lfItalic);
    out.U8(font.lfUnderline);
    out.U8(font.lfStrikeOut);
    out.U8(font.lfCharSet);
    out.U8(font.lfOutPrecision);
    out.U8(font.lfClipPrecision);
    out.U8(font.lfQuality);
    out.U8(font.lfPitchAndFamily);
    out.Text16(font.FaceName());
}

/// The label record: a flag, a colour, a text and its font.
struct Label
{
    std::uint8_t flag = 0;
    COLORREF colour = 0;
    std::string text;
    LOGFONT font;
};

Label readLabel(ByteReader& in)
{
    Label label;
    label.flag = in.U8();
    label.colour = in.U32();
    label.text = std::string(in.Bytes(in.U16()));
    label.font = readFont(in);
    return label;
}

void writeLabel(ByteWriter& out, std::uint8_t flag, COLORREF colour, std::string_view text,
                const LOGFONT& font)
{
    out.U8(flag);
    out.U32(colour);
    out.Text16(text);
    writeFont(out, font);
}

DOMAINE readDomain(ByteReader& in)
{
    DOMAINE domain;
    domain.start = in.U16();
    domain.end = in.U16();
    domain.displayName = in.U8();
    domain.colour = in.U32();
    Label label = readLabel(in);
    domain.labelFlag = label.flag;
    domain.labelColour = label.colour;
    domain.name = std::move(label.text);
    domain.font = label.font;
    return domain;
}

MARK readMark(ByteReader& in)
{
    MARK mark;
    mark.position = in.U16();
    mark.selected = in.U8();
    mark.lineColour = in.U32();
    mark.labelColour = in.U32();
    mark.font = readFont(in);
    return mark;
}

TEXTITEM readText(ByteReader& in)
{
    TEXTITEM item;
    item.width = in.U16();
    item.height = in.U16();
    item.selected = in.U8();
    // Stored in 16 bits; read back signed so that a text moved left of or
    // above the page origin comes back where it was.
    item.x = static_cast<std::int16_t>(in.U16());
    item.y = static_cast<std::int16_t>(in.U16());
    Label label = readLabel(in);
    item.legend = label.flag;
    item.colour = label.colour;
    item.text = std::move(label.text);
    item.font = label.font;
    return item;
}

/// Reads one list of count records, stopping at the first read past the end.
template <typename Record, typename ReadOne>
std::vector<Record> readList(ByteReader& in, std::size_t count, ReadOne readOne)
{
    std::vector<Record> list;
    list.reserve(count);
    for (std::size_t i = 0; i < count && !in.Failed(); ++i) {
        list.push_back(readOne(in));
    }
    return list;
}

std::optional<SketchData> readSketch(ByteReader& in)
{
    SketchData sketch;
    const std::uint16_t domainCount = in.U16();
    const std::uint16_t markCount = in.U16();
    const std::uint16_t textCount = in.U16();
    sketch.lineWidth = in.U16();
    sketch.scale = static_cast<double>(std::bit_cast<float>(in.U32()));
    const std::uint64_t leastBytes =
        domainCount * kDomainMinBytes + 1 + markCount * kMarkMinBytes + textCount * kTextMinBytes;
    if (in.Failed() || leastBytes > in.Remaining()) {
        return std::nullopt;
    }
    sketch.domains = readList<DOMAINE>(in, domainCount, readDomain);
    sketch.labelMarks = in.U8();
    sketch.marks = readList<MARK>(in, markCount, readMark);
    sketch.texts = readList<TEXTITEM>(in, textCount, readText);
    if (in.Failed()) {
        return std::nullopt;
    }
    return sketch;
}

void writeSketch(ByteWriter& out, const SketchData& sketch)
{
    const std::size_t domainCount = std::min(sketch.domains.size(), kMaxCount16);
    const std::size_t markCount = std::min(sketch.marks.size(), kMaxCount16);
    const std::size_t textCount = std::min(sketch.texts.size(), kMaxCount16);
    out.U16(static_cast<std::uint16_t>(domainCount));
    out.U16(static_cast<std::uint16_t>(markCount));
    out.U16(static_cast<std::uint16_t>(textCount));
    out.U16(sketch.lineWidth);
    out.U32(std::bit_cast<std::uint32_t>(static_cast<float>(sketch.scale)));
    for (std::size_t i = 0; i < domainCount; ++i) {
        const DOMAINE& domain = sketch.domains[i];
        out.U16(domain.start);
        out.U16(domain.end);
        out.U8(domain.displayName);
        out.U32(domain.colour);
        writeLabel(out, domain.labelFlag, domain.labelColour, domain.name, domain.font);
    }
    out.U8(sketch.labelMarks);
    for (std::size_t i = 0; i < markCount; ++i) {
        const MARK& mark = sketch.marks[i];
        out.U16(mark.position);
        out.U8(mark.selected);
        out.U32(mark.lineColour);
        out.U32(mark.labelColour);
        writeFont(out, mark.font);
    }
    for (std::size_t i = 0; i < textCount; ++i) {
        const TEXTITEM& item = sketch.texts[i];
        out.U16(item.width);
        out.U16(item.height);
        out.U8(item.selected);
        out.U16(static_cast<std::uint16_t>(item.x));
        out.U16(static_cast<std::uint16_t>(item.y));
        writeLabel(out, item.legend, item.colour, item.text, item.font);
    }
}

/// What a binary file holds, read completely before any of it reaches the record.
struct FileContent
{
    std::string_view name;
    std::string_view sequence;
    std::string_view remarks;
    std::optional<SketchData> sketch;
};

void emptySequenceData(PropertyRecord& record)
{
    record.SetName("");
    record.SetSequence("");
    record.remarks.clear();
    record.sketch = SketchData{};
    record.features.clear();
}

PepLoadResult loadFasta(std::string_view text, PropertyRecord& record)
{
    // A header without a line break holds no sequence; the parser leaves the
    // emptied record as it is.
    if (ParseSequenceText(record, FirstFastaRecord(text)) == 0) {
        return {PepLoadStatus::NotQuorinFormat, false};
    }
    return {};
}

/// Generations 2 and 3 after the signature; only generation 3 has remarks.
PepLoadStatus readGenerations2And3(ByteReader& in, bool hasRemarks, FileContent& content)
{
    const std::uint16_t nameLength = in.U16();
    const std::uint32_t sequenceLength = in.U32();
    const std::uint16_t remarksLength = hasRemarks ? in.U16() : std::uint16_t{0};
    const std::uint8_t sketchFlag = in.U8();
    if (in.Failed() ||
        std::uint64_t{nameLength} + sequenceLength + remarksLength > in.Remaining()) {
        return PepLoadStatus::Truncated;
    }
    content.name = in.Bytes(nameLength);
    content.sequence = in.Bytes(sequenceLength);
    content.remarks = in.Bytes(remarksLength);
    if (sketchFlag != 0) {
        content.sketch = readSketch(in);
        if (!content.sketch) {
            return PepLoadStatus::Truncated;
        }
    }
    return PepLoadStatus::Ok;
}

PepLoadStatus readBinary(std::string_view bytes, FileContent& content)
{
    const std::size_t zero = bytes.substr(0, kSignatureWindow).find('\0');
    if (zero == std::string_view::npos) {
        return PepLoadStatus::NotQuorinFormat;
    }
    const std::string_view signature = bytes.substr(0, zero);
    ByteReader in(bytes.substr(zero + 1));
    if (signature.starts_with(kGeneration3Prefix)) {
        return readGenerations2And3(in, true, content);
    }
    if (signature.starts_with(kGeneration2Prefix)) {
        return readGenerations2And3(in, false, content);
    }
    content.name = signature;
    const std::uint32_t sequenceLength = in.U32();
    content.sequence = in.Bytes(sequenceLength);
    return in.Failed() ? PepLoadStatus::Truncated : PepLoadStatus::Ok;
}

} // namespace

PepLoadResult LoadSequenceBytes(std::string_view bytes, PropertyRecord& record)
{
    emptySequenceData(record);
    if (IsUtf16Text(bytes)) {
        return {PepLoadStatus::Utf16Text, false};
    }
    // Only a text loses its byte-order mark: a generation-1 file's name may
    // start with any bytes.
    const std::string_view text = WithoutUtf8Bom(bytes);
    if (text.starts_with('>')) {
        return loadFasta(text, record);
    }
    if (IsUniProtText(text)) {
        UniProtReadResult read = ReadUniProtEntry(text);
        if (!read.entry) {
            PepLoadResult refused{PepLoadStatus::MalformedEntry, false};
            refused.problem = std::move(read.problem);
            return refused;
        }
        TakeUniProtEntry(*read.entry, record);
        PepLoadResult loaded;
        loaded.uniProtEntry = true;
        return loaded;
    }
    FileContent content;
    const PepLoadStatus status = readBinary(bytes, content);
    if (status != PepLoadStatus::Ok) {
        return {status, false};
    }
    record.SetName(content.name);
    record.SetSequence(content.sequence);
    record.remarks = std::string(content.remarks);
    const bool hasSketch = content.sketch.has_value();
    if (hasSketch) {
        record.sketch = std::move(*content.sketch);
    }
    return {PepLoadStatus::Ok, hasSketch};
}

void TakeUniProtEntry(const UniProtEntry& entry, PropertyRecord& record)
{
    record.SetName(entry.name);
    record.SetSequence(entry.residues);
    record.remarks = UniProtRemarks(entry);
    record.features = entry.features;
}

std::string StoreSequenceBytes(const PropertyRecord& record, bool withSketch)
{
    const std::string_view name = std::string_view(record.Name()).substr(0, kMaxCount16);
    const std::string_view sequence = std::string_view(record.CleanSequence())
                                          .substr(0, std::numeric_limits<std::uint32_t>::max());
    const std::string_view remarks = std::string_view(record.remarks).substr(0, kMaxCount16);

    ByteWriter out;
    out.Bytes(kSignature3);
    out.U16(static_cast<std::uint16_t>(name.size()));
    out.U32(static_cast<std::uint32_t>(sequence.size()));
    out.U16(static_cast<std::uint16_t>(remarks.size()));
    out.U8(withSketch ? std::uint8_t{1} : std::uint8_t{0});
    out.Bytes(name);
    out.Bytes(sequence);
    out.Bytes(remarks);
    if (withSketch) {
        writeSketch(out, record.sketch);
    }
    return out.Take();
}

FileStatus SaveSequenceFile(const std::filesystem::path& path, const PropertyRecord& record,
                            bool withSketch)
{
    return WriteFileAtomically(path, StoreSequenceBytes(record, withSketch));
}

std::string FastaExportBytes(const PropertyRecord& record)
{
    return ">" + OneLineText(record.Name()) + "\r\n" + record.CleanSequence();
}

} // namespace quorin::core
