#pragma once

#include "core/ProfileFile.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::shell {

/// The text between the first start marker and the next end marker, with its
/// line feeds removed except the character just before end, which is always
/// kept (a line feed there stays). When end never follows, the text runs to
/// the last end.size() characters; when start does not occur (or the text is
/// too short to hold both markers and two characters), the result is empty.
std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end);

/// The settings of the download: the "Server" and "Timeout" keys of the
/// "Download" section.
inline constexpr std::string_view kDownloadSection = "Download";
inline constexpr std::string_view kServerKey = "Server";
inline constexpr std::string_view kTimeoutKey = "Timeout";
/// NCBI's E-utilities, asked when the settings name no other server.
inline constexpr std::string_view kDefaultServer = "https://eutils.ncbi.nlm.nih.gov/entrez/eutils/";
inline constexpr std::chrono::seconds kDefaultTimeout{30};
/// The time limits a user may set: up to a day. Qt's timers count
/// milliseconds in an int, which a longer limit would overflow.
inline constexpr std::chrono::seconds kMinTimeout{1};
inline constexpr std::chrono::seconds kMaxTimeout{86400};

/// The base URL of the E-utilities service: the "Server" key with its
/// surrounding blanks removed, else kDefaultServer.
std::string DownloadServer(const core::ProfileFile& settings);
/// The time limit of each request: the "Timeout" key in seconds when it lies
/// from kMinTimeout to kMaxTimeout, else kDefaultTimeout (also for a missing
/// or empty key). Digits after an optional sign count, as the settings
/// reader reads a number; a value past 32 bits does not wrap into range.
std::chrono::seconds DownloadTimeout(const core::ProfileFile& settings);
/// The message that the "Timeout" key is out of range and not used; nothing
/// when it is missing, empty or usable.
std::optional<std::string> RefusedDownloadTimeout(const core::ProfileFile& settings);
/// A time limit typed by the user (the command line, the Preferences): whole
/// seconds from kMinTimeout to kMaxTimeout, digits only; else nothing.
std::optional<std::chrono::seconds> ParseTimeout(std::string_view text);

/// Whether text names a server the download can ask: "http://" or "https://"
/// (in any case), then a host.
bool IsServerAddress(std::string_view text);

/// Writes the settings of the Preferences' download page: the server (an
/// empty one deletes the key, and the default service is asked) and the
/// time limit.
void SetDownloadSettings(core::ProfileText& text, std::string_view server,
                         std::chrono::seconds timeout);

/// Every byte outside A-Z, a-z, 0-9 and "-._~" as %XX (upper-case hex), so
/// that a blank or "&" in an accession travels as data.
std::string PercentEncode(std::string_view text);

/// The search for the protein id of an accession, and the GenPept text of an
/// id, below server (a "/" is put between them when server lacks it).
std::string SearchUrl(std::string_view server, std::string_view accession);
std::string RecordUrl(std::string_view server, std::string_view id);

/// Whether an accession is empty or blanks only: nothing to ask for.
bool IsBlankAccession(std::string_view accession);

/// The text without its XML comments ("<!--" to "-->"; one left open runs to
/// the end), so that markup quoted in a comment is not read as the reply's.
std::string WithoutXmlComments(std::string_view text);

/// The protein id of a search reply: the first <Id> element outside comments
/// decides; it must be 1 to 14 decimal digits, otherwise there is none.
std::optional<std::string> FirstSearchId(std::string_view reply);

/// Whether a search reply says that nothing matched: an eSearchResult whose
/// first <Count> outside comments is 0 and which lists no <Id>. An error
/// reply, or any other text, says nothing of the kind.
bool SearchFoundNothing(std::string_view reply);

/// What a download keeps of a GenPept record.
struct GenPeptEntry
{
    /// The DEFINITION, its lines joined by one blank, at most kNameLength bytes.
    std::string name;
    /// The ORIGIN block as the record holds it (numbers, blanks and lower-case
    /// letters); SetSequence makes the sequence of it.
    std::string residues;
    /// The first accession of the ACCESSION line; empty when there is none.
    std::string accession;
    /// A download from UniProt: the entry's flat-file text, which is read as
    /// Open reads it (features included); empty for a GenPept record.
    std::string uniProtText;
};

inline constexpr std::size_t kNameLength = 256;

/// Reads a GenPept record as the download needs it. Nothing when the text is
/// not such a record (it does not open with its LOCUS line: an HTML page, an
/// empty reply), or lacks a definition, an ORIGIN line or any residue letter.
/// DEFINITION and ORIGIN count only at the start of a line; line ends may be
/// LF, CR LF or CR.
std::optional<GenPeptEntry> ReadGenPept(std::string_view record);

} // namespace quorin::shell
