#pragma once

#include "core/FileIo.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::batch {

/// How BatchText::Read reads.
struct BatchReadOptions
{
    /// Threads that read parts of a large regular file at once.
    unsigned jobs = 1;
    /// The most text taken: more is refused.
    std::uint64_t maxBytes = core::kMaxInputBytes;
    /// The bytes read so far, now and then, on the calling thread; may be empty.
    std::function<void(std::uint64_t bytes)> progress;
};

/// The whole text of a batch input, read once into memory of its own, so
/// that a file rewritten or cut short while the run goes on cannot pull the
/// text from under it. Standard input and ".gz" files (inflated) are read the
/// same way.
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

    /// Reads path ("-": standard input; a name ending in ".gz" is inflated
    /// through zlib). Refused, with an empty text: what cannot be opened or
    /// read, more than options.maxBytes of text, a file that changed while it
    /// was read (its size or modification time), compressed data that end
    /// early or are corrupt. BatchInputRefusal words the refusal.
    static BatchText Read(const std::string& path, core::FileStatus& status,
                          const BatchReadOptions& options = {});

private:
    std::string m_bytes;
    void* m_map = nullptr;
    std::size_t m_mapSize = 0;
    std::string_view m_view;
};

/// The line quorin-cli prints for an input BatchText::Read refused: the
/// desktop's "File not found!" for one that cannot be opened or read; for one
/// beyond the ceiling, one that changed while it was read and compressed data
/// that end early or are corrupt, what happened ("many.fa changed while it was
/// read").
std::string BatchInputRefusal(std::string_view path, const core::FileStatus& status);

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
