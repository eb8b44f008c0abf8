#include "shell/ui/GenPeptFetcher.h"

#include "core/MessageTexts.h"
#include "core/SequenceText.h"
#include "core/UniProt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace quorin::shell::ui {
namespace {

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

bool loopbackOnly()
{
    return qEnvironmentVariableIsSet("QUORIN_TEST_LOOPBACK_ONLY");
}

} // namespace

GenPeptFetcher::GenPeptFetcher(DownloadRequest request, QObject* parent)
    : QObject(parent), m_request(std::move(request)), m_timer(this), m_retryTimer(this)
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { get(m_url); });
    qRegisterMetaType<DownloadOutcome>();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_reply) {
            m_reply->abort();
        }
    });
}

GenPeptFetcher::~GenPeptFetcher() = default;

void GenPeptFetcher::Start()
{
    if (IsBlankAccession(m_request.accession.toStdString())) {
        finish({});
        return;
    }
    const QUrl server(m_request.server, QUrl::StrictMode);
    const QString scheme = server.scheme().toLower();
    if (!server.isValid() || server.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        DownloadOutcome outcome;
        outcome.networkMessage = fromStd(core::msg::CouldNotConnect(
            m_request.server.toStdString(), "not an http or https address"));
        finish(std::move(outcome));
        return;
    }
    // Made here rather than in the constructor: on the thread that runs it.
    m_network = new QNetworkAccessManager(this);
    if (loopbackOnly()) {
        // A proxy from the environment would be another address.
        m_network->setProxy(QNetworkProxy::NoProxy);
    }
    m_host = server.host();
    m_scheme = scheme;
    m_serverName = m_host;
    if (server.port() != -1) {
        m_serverName += QLatin1Char(':') + QString::number(server.port());
    }
    if (m_request.source == DownloadSource::UniProt) {
        m_stage = Stage::Entry;
        get(UniProtEntryUrl(m_request.server.toStdString(), m_request.accession.toStdString()));
        return;
    }
    m_stage = Stage::Search;
    get(SearchUrl(m_request.server.toStdString(), m_request.accession.toStdString()));
}

void GenPeptFetcher::Cancel()
{
    if (m_stage == Stage::Idle || m_stage == Stage::Done) {
        return;
    }
    m_stage = Stage::Done;
    m_timer.stop();
    m_retryTimer.stop();
    if (m_reply) {
        m_reply->abort();
    }
    DownloadOutcome outcome;
    outcome.status = DownloadOutcome::Status::Cancelled;
    emit finished(outcome);
}

void GenPeptFetcher::get(const std::string& url)
{
    m_url = url;
    const QUrl address = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    // Checked for every request: a redirect could lead anywhere.
    if (loopbackOnly() && address.host() != QLatin1String("127.0.0.1")) {
        std::fprintf(stderr, "QUORIN_TEST_LOOPBACK_ONLY is set: refusing to contact %s\n",
                     address.toEncoded().constData());
        std::abort();
    }
    QNetworkRequest request(address);
    if (m_stage == Stage::Entry) {
        // Each redirect is checked here: the number and the scheme.
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
    }
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Quorin/3.01"));
    // Named here, the encodings arrive packed and ReplyBody unpacks them
    // against the ceiling; Qt's own unpacking gives up on a bomb without
    // saying why.
    request.setRawHeader("Accept-Encoding", "gzip, deflate");
    m_timedOut = false;
    m_body.reset();
    m_reply = m_network->get(request);
    // Qt holds at most this much of a reply before it is read, so the ceiling
    // is checked on the bytes as they come rather than on a progress report
    // that may trail them by gigabytes.
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QIODevice::readyRead, this, [this] {
        if (m_reply && !takeAvailable(*m_reply)) {
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &GenPeptFetcher::onReplyFinished);
    m_timer.start(std::clamp<std::chrono::milliseconds>(m_request.timeout,
                                                        std::chrono::milliseconds(1), kMaxTimeout));
}

bool GenPeptFetcher::takeAvailable(QNetworkReply& reply)
{
    if (!m_body) {
        m_body = std::make_unique<ReplyBody>(reply.rawHeader("Content-Encoding").toStdString(),
                                             static_cast<std::size_t>(kMaxReplyBytes));
    }
    const std::size_t before = m_body->Text().size();
    while (reply.bytesAvailable() > 0) {
        const QByteArray sent = reply.read(kReadBufferBytes);
        if (!m_body->Append(
                std::string_view(sent.constData(), static_cast<std::size_t>(sent.size())))) {
            return false;
        }
    }
    if (m_body->Text().size() != before) {
        emit bytesReceived(static_cast<qint64>(m_body->Text().size()));
    }
    return true;
}

void GenPeptFetcher::onReplyFinished()
{
    QNetworkReply* reply = m_reply;
    if (reply == nullptr) {
        return;
    }
    reply->deleteLater();
    m_reply = nullptr;
    m_timer.stop();
    if (m_stage == Stage::Done) {
        return;
    }
    if (m_stage == Stage::Entry && !m_timedOut && handleUniProtStatus(*reply)) {
        return;
    }
    const bool complete =
        reply->error() == QNetworkReply::NoError && takeAvailable(*reply) && m_body->Finish();
    if (!complete) {
        DownloadOutcome outcome;
        outcome.networkMessage = failureMessage(*reply);
        finish(std::move(outcome));
        return;
    }
    const std::string_view text = m_body->Text();
    if (m_stage == Stage::Entry) {
        finishEntry(text);
        return;
    }
    if (m_stage == Stage::Search) {
        const auto id = FirstSearchId(text);
        if (!id) {
            DownloadOutcome outcome;
            outcome.notFound = SearchFoundNothing(text);
            finish(std::move(outcome));
            return;
        }
        m_stage = Stage::Record;
        get(RecordUrl(m_request.server.toStdString(), *id));
        return;
    }
    auto entry = ReadGenPept(text);
    if (!entry) {
        finish({});
        return;
    }
    DownloadOutcome outcome;
    outcome.status = DownloadOutcome::Status::Retrieved;
    outcome.entry = std::move(*entry);
    finish(std::move(outcome));
}

bool GenPeptFetcher::handleUniProtStatus(QNetworkReply& reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const std::string server = m_serverName.toStdString();
    if (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) {
        // Qt reads a relative Location as no address; the raw header resolves.
        const QUrl target = reply.url().resolved(
            QUrl::fromEncoded(reply.rawHeader("Location").trimmed(), QUrl::StrictMode));
        DownloadOutcome outcome;
        if (!target.isValid() || target.host().isEmpty()) {
            outcome.networkMessage =
                fromStd(core::msg::CouldNotReceive(server, "a redirect without a valid address"));
        } else if (target.scheme().toLower() != m_scheme) {
            outcome.networkMessage = fromStd(core::msg::CouldNotReceive(
                server, "a redirect to " + target.scheme().toStdString() + " from " +
                            m_scheme.toStdString()));
        } else if (m_redirects >= kMaxRedirects) {
            outcome.networkMessage = fromStd(core::msg::CouldNotReceive(
                server, "more than " + std::to_string(kMaxRedirects) + " redirects"));
        } else {
            ++m_redirects;
            get(target.toEncoded().toStdString());
            return true;
        }
        finish(std::move(outcome));
        return true;
    }
    if (IsRetryStatus(status) && m_retries < kMaxRetries) {
        const auto asked = RetryAfter(reply.rawHeader("Retry-After").toStdString(),
                                      std::chrono::system_clock::now());
        const std::chrono::seconds delay = RetryDelay(m_retries, asked, m_waited);
        ++m_retries;
        m_waited += delay;
        m_retryTimer.start(delay);
        return true;
    }
    if (status == 404) {
        DownloadOutcome outcome;
        outcome.notFound = true;
        finish(std::move(outcome));
        return true;
    }
    return false;
}

void GenPeptFetcher::finishEntry(std::string_view text)
{
    text = core::WithoutUtf8Bom(text);
    const core::UniProtReadResult read = core::ReadUniProtEntry(text);
    DownloadOutcome outcome;
    if (!read.entry) {
        outcome.networkMessage = fromStd(read.problem);
        finish(std::move(outcome));
        return;
    }
    outcome.status = DownloadOutcome::Status::Retrieved;
    outcome.entry.name = read.entry->name;
    outcome.entry.residues = read.entry->residues;
    outcome.entry.accession = read.entry->accession;
    outcome.entry.uniProtText = std::string(text);
    finish(std::move(outcome));
}

QString GenPeptFetcher::failureMessage(QNetworkReply& reply) const
{
    const std::string server = m_serverName.toStdString();
    if (m_timedOut) {
        const auto milliseconds = m_request.timeout.count();
        return fromStd(core::msg::NoAnswerInTime(server, (milliseconds + 999) / 1000));
    }
    if (m_body && m_body->Refused()) {
        return fromStd(core::msg::CouldNotReceive(server, m_body->Problem()));
    }
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QByteArray reason =
            reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
        return fromStd(core::msg::ServerAnsweredError(server, status, reason.toStdString()));
    }
    const std::string reason = reply.errorString().toStdString();
    switch (reply.error()) {
    case QNetworkReply::HostNotFoundError:
        return fromStd(core::msg::CouldNotGetHostAddress(m_host.toStdString()));
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return fromStd(core::msg::CouldNotConnect(server, reason));
    case QNetworkReply::RemoteHostClosedError:
        return fromStd(core::msg::CouldNotReceive(
            server, "the server closed the connection before its reply was complete"));
    default:
        return fromStd(core::msg::CouldNotReceive(server, reason));
    }
}

void GenPeptFetcher::finish(DownloadOutcome outcome)
{
    m_stage = Stage::Done;
    emit finished(outcome);
}

DownloadOutcome GenPeptFetcher::Run(const DownloadRequest& request,
                                    const std::function<void(qint64)>& onBytes)
{
    Q_ASSERT(QCoreApplication::instance() != nullptr);
    GenPeptFetcher fetcher(request);
    QEventLoop loop;
    DownloadOutcome result;
    bool done = false;
    connect(&fetcher, &GenPeptFetcher::bytesReceived, &loop, [&onBytes](qint64 total) {
        if (onBytes) {
            onBytes(total);
        }
    });
    connect(&fetcher, &GenPeptFetcher::finished, &loop, [&](const DownloadOutcome& outcome) {
        result = outcome;
        done = true;
        loop.quit();
    });
    fetcher.Start();
    if (!done) {
        loop.exec();
    }
    return result;
}

PlainDownload DownloadOnThisThread(const std::string& server, const std::string& accession,
                                   std::chrono::milliseconds timeout, DownloadSource source)
{
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "quorin-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    DownloadRequest request;
    request.server = QString::fromStdString(server);
    request.accession = QString::fromStdString(accession);
    request.timeout = timeout;
    request.source = source;
    const DownloadOutcome outcome = GenPeptFetcher::Run(request);
    PlainDownload result;
    result.retrieved = outcome.status == DownloadOutcome::Status::Retrieved;
    result.entry = outcome.entry;
    result.networkMessage = outcome.networkMessage.toStdString();
    result.notFound = outcome.notFound;
    return result;
}

} // namespace quorin::shell::ui
