#pragma once

#include "core/ProfileFile.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::shell {

/// The "UniProt Server" key of the "Download" section: the base URL of the
/// UniProt REST service.
inline constexpr std::string_view kUniProtServerKey = "UniProt Server";
/// The public service, asked when the settings name no other.
inline constexpr std::string_view kDefaultUniProtServer = "https://rest.uniprot.org";

/// The most times a download asks again after 429 or 503, the most redirects
/// it follows, and the longest it waits in all before asking again.
inline constexpr int kMaxRetries = 3;
inline constexpr int kMaxRedirects = 5;
inline constexpr std::chrono::seconds kMaxRetryWait{30};

/// Where a download gets its record.
enum class DownloadSource
{
    GenBank, ///< NCBI's E-utilities, a GenPept record
    UniProt, ///< the UniProt REST service, a flat-file entry
};

/// The UniProt base URL: the "UniProt Server" key with its surrounding blanks
/// removed, else kDefaultUniProtServer.
std::string UniProtServer(const core::ProfileFile& settings);

/// Writes the "UniProt Server" key (an empty server deletes it, and the
/// public service is asked).
void SetUniProtServer(core::ProfileText& text, std::string_view server);

/// {server}/uniprotkb/{ACCESSION}.txt, the accession percent-encoded; a "/"
/// ending server is not doubled.
std::string UniProtEntryUrl(std::string_view server, std::string_view accession);

/// What a Retry-After header asks for: whole seconds (digits only), or an
/// HTTP date (IMF-fixdate, "Sun, 06 Nov 1994 08:49:37 GMT", also the RFC 850
/// and asctime forms) less now, never below 0. Nothing for any other text.
std::optional<std::chrono::seconds> RetryAfter(std::string_view header,
                                               std::chrono::system_clock::time_point now);

/// How long to wait before retry number retry (0-based): what the server
/// asked for, else 1, 2, 4 s; never past what is left of kMaxRetryWait after
/// waited, so that a download that is told to wait for ever still ends.
std::chrono::seconds RetryDelay(int retry, std::optional<std::chrono::seconds> asked,
                                std::chrono::seconds waited);

/// Whether an HTTP status asks the client to try again later (429, 503).
bool IsRetryStatus(int status);

} // namespace quorin::shell
