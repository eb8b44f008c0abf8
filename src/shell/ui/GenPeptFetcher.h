#pragma once

#include "shell/GenPept.h"
#include "shell/ReplyBody.h"
#include "shell/UniProtFetch.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QNetworkAccessManager;
class QNetworkReply;

namespace quorin::shell::ui {

/// How a download ended.
struct DownloadOutcome
{
    enum class Status
    {
        Retrieved,
        Failed,
        Cancelled,
    };
    Status status = Status::Failed;
    /// The record read, when Retrieved.
    GenPeptEntry entry;
    /// What the network reported (host, refused connection, time limit, an
    /// HTTP error status); empty when the replies came but held no sequence.
    QString networkMessage;
    /// The search answered that nothing matches the accession.
    bool notFound = false;
};

/// What to download and from where.
struct DownloadRequest
{
    /// The E-utilities base URL (http or https).
    QString server;
    QString accession;
    /// The time limit of each of the two requests.
    std::chrono::milliseconds timeout = kDefaultTimeout;
    /// GenBank: server is an E-utilities base URL; UniProt: a UniProt REST
    /// base URL.
    DownloadSource source = DownloadSource::GenBank;
};

/// Asks an E-utilities server for the GenPept record of an accession: the
/// search for its id, then the record, each request with its own time limit.
/// From UniProt it asks for the entry's flat file (UniProtEntryUrl), follows
/// at most kMaxRedirects redirects on the scheme it started with, asks again
/// after 429 and 503 at most kMaxRetries times (RetryDelay; a time limit or a
/// broken connection is not retried), reports 404 as notFound, and reads the
/// entry (ReadUniProtEntry); a malformed or cut entry fails with its problem.
/// It works in the event loop of the thread it lives on and reports through
/// its signals; finished comes exactly once for each Start.
///
/// With QUORIN_TEST_LOOPBACK_ONLY set in the environment (the tests set it)
/// a server other than 127.0.0.1 aborts the program before any request goes
/// out, so that no test can reach the real service by mistake.
class GenPeptFetcher : public QObject
{
    Q_OBJECT

public:
    explicit GenPeptFetcher(DownloadRequest request, QObject* parent = nullptr);
    ~GenPeptFetcher() override;

    /// Sends the search request.
    void Start();
    /// Ends the download under way; finished(Cancelled) follows at once
    /// unless it has ended already.
    void Cancel();

    /// Runs a whole download on the calling thread, in an event loop of its
    /// own (the command line). onBytes sees the running byte count of each reply.
    static DownloadOutcome Run(const DownloadRequest& request,
                               const std::function<void(qint64)>& onBytes = {});

    /// A reply larger than this, unpacked, is refused rather than held in
    /// memory.
    static constexpr qint64 kMaxReplyBytes = 64LL * 1024 * 1024;
    /// What Qt may hold of a reply that was not read yet.
    static constexpr qint64 kReadBufferBytes = 256 * 1024;

signals:
    /// Bytes received so far of the current reply; each reply counts from 0.
    void bytesReceived(qint64 total);
    void finished(const quorin::shell::ui::DownloadOutcome& outcome);

private:
    enum class Stage
    {
        Idle,
        Search,
        Record,
        Entry,
        Done,
    };

    void get(const std::string& url);
    void onReplyFinished();
    /// The UniProt answers that are no entry: a redirect, a request to try
    /// again later, 404. True when the reply was dealt with.
    bool handleUniProtStatus(QNetworkReply& reply);
    void finishEntry(std::string_view text);
    /// Reads what reply holds into m_body; false when the body was refused.
    bool takeAvailable(QNetworkReply& reply);
    QString failureMessage(QNetworkReply& reply) const;
    void finish(DownloadOutcome outcome);

    DownloadRequest m_request;
    QString m_host;
    QString m_serverName; ///< m_host, with the port when one is given
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    Stage m_stage = Stage::Idle;
    /// The reply under way, unpacked; made when its first bytes come.
    std::unique_ptr<ReplyBody> m_body;
    bool m_timedOut = false;
    QString m_scheme;
    int m_redirects = 0;
    int m_retries = 0;
    std::chrono::seconds m_waited{0};
    /// The wait before asking UniProt again.
    QTimer m_retryTimer;
    std::string m_url;
};

/// A download as the command line sees it, without Qt types.
struct PlainDownload
{
    bool retrieved = false;
    GenPeptEntry entry;
    /// The network's message on failure; empty when there was none.
    std::string networkMessage;
    /// The search answered that nothing matches the accession.
    bool notFound = false;
};

/// Runs a whole download on the calling thread (GenPeptFetcher::Run), making
/// the application object the network needs when there is none yet.
PlainDownload DownloadOnThisThread(const std::string& server, const std::string& accession,
                                   std::chrono::milliseconds timeout,
                                   DownloadSource source = DownloadSource::GenBank);

} // namespace quorin::shell::ui
