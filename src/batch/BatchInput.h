#pragma once

#include "core/FileIo.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::batch {

/// The whole text of a batch input, read once: a regular file is mapped into
/// memory, standard input and ".gz" files are read (and inflated) into one
/// buffer.
class BatchText
{
public:
    BatchText() = default;
    explicit BatchText(std::string bytes);
    BatchText(BatchText&&) noexcept;
    BatchText& operator=(BatchText&&) noexcept;
    BatchText(const BatchText&) = delete;
    BatchText& operator=(const BatchText&) = delete;
    ~BatchText();

    std::string_view View() const { return m_view; }

    /// Maps or reads path ("-": standard input; a name ending in ".gz" is
    /// inflated through zlib, at most core::kMaxInputBytes of text).
    static BatchText Read(const std::string& path, core::FileStatus& status);

private:
    std::string m_bytes;
    void* m_map = nullptr;
    std::size_t m_mapSize = 0;
    std::string_view m_view;
};

/// One FASTA record of a batch input: its header line (without the ">") and
/// the text up to the next ">" or the end, line breaks and all; the analyses
/// keep only its residue letters. text_offset is where the header starts.
struct BatchRecord
{
    std::string_view name;
    std::string_view body;
    std::size_t offset = 0;
};

/// The records of a batch text. A record starts at a ">"; its name runs to
/// the first CR or LF, its body from after the line breaks to the next ">"
/// (wherever it stands) or the end. A text shorter than two characters or not
/// starting with ">" (after a UTF-8 byte-order mark) holds no record. A large
/// text is split in parts on up to jobs threads.
std::vector<BatchRecord> SplitBatchRecords(std::string_view text, unsigned jobs = 1);

} // namespace quorin::batch
