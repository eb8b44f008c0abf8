#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::core {

/// One feature (FT line) of a UniProt entry. The ends are kept as the entry
/// writes them: a number, or a number or nothing marked as unknown ("?",
/// "?31", "<1", ">200"); a one-position feature has end equal to start.
struct SequenceFeature
{
    std::string key;   ///< TRANSMEM, DOMAIN, CHAIN, ...
    std::string start; ///< 1-based, inclusive
    std::string end;   ///< 1-based, inclusive
    /// The old layout's description with its continuation lines joined by one
    /// blank, or the current layout's /note text; empty when there is none.
    std::string description;
    friend bool operator==(const SequenceFeature&, const SequenceFeature&) = default;
};

/// What the program keeps of the first entry of a UniProt flat file.
struct UniProtEntry
{
    std::string name;        ///< the entry name of the ID line (OPSD_HUMAN)
    std::string accession;   ///< the first accession of the AC lines; may be empty
    std::string description; ///< the DE lines' text joined by blanks
    std::string residues;    ///< the SQ block's letters, blanks and digits removed
    std::vector<SequenceFeature> features;
};

/// ReadUniProtEntry's answer: the entry, or why the text is no readable entry.
struct UniProtReadResult
{
    std::optional<UniProtEntry> entry;
    /// For the user: what is wrong and on which line; empty on success.
    std::string problem;
};

/// Whether text (after a UTF-8 byte-order mark, which the caller removes) is
/// a UniProt/Swiss-Prot flat file: its first line starts with "ID" and three
/// blanks, and holds no 0 byte (which a sequence file's name ends with).
bool IsUniProtText(std::string_view text);

/// Reads the first entry of a UniProt flat file, up to and including its "//"
/// line; nothing after that line is looked at. Line ends may be LF, CR LF or
/// CR. Refused (with the line at fault): an ID line without entry name, no
/// SQ line, a sequence whose letters do not number what its SQ line says, an
/// FT line whose positions are neither numbers nor unknown ends, a feature
/// qualifier whose quote never closes, and an entry without its "//" line
/// (a text cut short).
UniProtReadResult ReadUniProtEntry(std::string_view text);

/// The remarks of a sequence read from entry: "Accession " and the first
/// accession, then the description, joined by one blank.
std::string UniProtRemarks(const UniProtEntry& entry);

/// The known residue number of a feature end: the digits of text after a
/// "<", ">" or "?" mark; unknown (no digits) gives fallback. Clamped to
/// [1, length] when length is positive.
int FeatureBound(std::string_view text, int fallback, int length);

/// The `features` table: a header line "key<TAB>start<TAB>end<TAB>description"
/// and one line per feature, each ended by LF; tabs and line breaks inside a
/// field go out as blanks.
std::string FeatureTableText(const std::vector<SequenceFeature>& features);

} // namespace quorin::core
