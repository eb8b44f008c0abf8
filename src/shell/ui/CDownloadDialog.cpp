#include "shell/ui/CDownloadDialog.h"

#include "core/MessageTexts.h"
#include "core/ui/Messages.h"
#include "core/ui/Notifications.h"
#include "core/ui/QtText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace quorin::shell::ui {
namespace {

/// The edit field held 254 characters and its terminator.
constexpr int kAccessionLength = 254;

void postBytes(qint64 total)
{
    const qint64 shown = std::min<qint64>(total, std::numeric_limits<int>::max());
    core::ui::PostNotification(core::ui::MSG_BYTES_RECEIVED, static_cast<int>(shown));
}

} // namespace

CDownloadDialog::CDownloadDialog(QString server, std::chrono::milliseconds timeout, QWidget* parent)
    : QDialog(parent), m_server(std::move(server)),
      m_uniProtServer(QString::fromUtf8(kDefaultUniProtServer.data(),
                                        static_cast<qsizetype>(kDefaultUniProtServer.size()))),
      m_timeout(timeout)
{
    setObjectName(QStringLiteral("CDownloadDialog"));
    setWindowTitle(QStringLiteral("Retrieve Sequence from GenBank (NCBI)"));
    m_worker.setObjectName(QStringLiteral("download"));

    auto* label = new QLabel(QStringLiteral("Accession number:"), this);
    m_accession = new QLineEdit(this);
    m_accession->setObjectName(QStringLiteral("accession"));
    m_accession->setMaxLength(kAccessionLength);
    m_accession->setMinimumWidth(220);
    label->setBuddy(m_accession);
    auto* sourceLabel = new QLabel(QStringLiteral("&From:"), this);
    m_source = new QComboBox(this);
    m_source->setObjectName(QStringLiteral("source"));
    m_source->addItem(QStringLiteral("GenBank (NCBI)"));
    m_source->addItem(QStringLiteral("UniProt"));
    sourceLabel->setBuddy(m_source);
    connect(m_source, &QComboBox::currentIndexChanged, this, [this] {
        setWindowTitle(source() == DownloadSource::UniProt
                           ? QStringLiteral("Retrieve Sequence from UniProt")
                           : QStringLiteral("Retrieve Sequence from GenBank (NCBI)"));
    });

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_ok, &QPushButton::clicked, this, &CDownloadDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CDownloadDialog::reject);

    auto* field = new QVBoxLayout;
    field->addWidget(label);
    field->addWidget(m_accession);
    field->addWidget(sourceLabel);
    field->addWidget(m_source);
    field->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(field, 1);
    layout->addLayout(buttons);
    m_accession->setFocus();
}

CDownloadDialog::~CDownloadDialog()
{
    stopFetcher();
    m_worker.quit();
    m_worker.wait();
}

void CDownloadDialog::accept()
{
    if (m_fetcher != nullptr) {
        return;
    }
    if (IsBlankAccession(core::ui::ToStdString(m_accession->text()))) {
        core::ui::ShowMessage(core::ui::ToQString(core::msg::kEnterAccession),
                              core::ui::ToQString(core::msg::kError));
        m_accession->setFocus();
        m_accession->selectAll();
        return;
    }
    if (!m_worker.isRunning()) {
        m_worker.start();
    }
    DownloadRequest request;
    request.source = source();
    request.server = request.source == DownloadSource::UniProt ? m_uniProtServer : m_server;
    request.accession = m_accession->text();
    request.timeout = m_timeout;
    m_fetcher = new GenPeptFetcher(std::move(request));
    m_fetcher->moveToThread(&m_worker);
    // Results of an attempt that was cancelled meanwhile are dropped.
    const int attempt = ++m_attempt;
    connect(m_fetcher, &GenPeptFetcher::bytesReceived, this, [this, attempt](qint64 total) {
        if (attempt == m_attempt && m_fetcher != nullptr) {
            postBytes(total);
        }
    });
    connect(m_fetcher, &GenPeptFetcher::finished, this,
            [this, attempt](const DownloadOutcome& outcome) {
                if (attempt == m_attempt && m_fetcher != nullptr) {
                    onFinished(outcome);
                }
            });
    setWaiting(true);
    QMetaObject::invokeMethod(m_fetcher, &GenPeptFetcher::Start, Qt::QueuedConnection);
}

void CDownloadDialog::reject()
{
    stopFetcher();
    QDialog::reject();
}

void CDownloadDialog::stopFetcher()
{
    if (m_fetcher == nullptr) {
        return;
    }
    // Both calls are queued to the worker in this order: the fetcher aborts
    // its request, then goes.
    QMetaObject::invokeMethod(m_fetcher, &GenPeptFetcher::Cancel, Qt::QueuedConnection);
    m_fetcher->deleteLater();
    m_fetcher = nullptr;
    ++m_attempt;
    postBytes(0);
    setWaiting(false);
}

void CDownloadDialog::onFinished(const DownloadOutcome& outcome)
{
    m_fetcher->deleteLater();
    m_fetcher = nullptr;
    postBytes(0);
    if (outcome.status == DownloadOutcome::Status::Retrieved) {
        m_entry = outcome.entry;
        if (m_entry.accession.empty()) {
            m_entry.accession = core::ui::ToStdString(m_accession->text());
        }
        QDialog::accept();
        return;
    }
    // One message that says what went wrong; the accession stays, selected,
    // to be corrected or asked for again.
    QString message = core::ui::ToQString(core::msg::kCouldNotRetrieve);
    if (outcome.notFound) {
        message = core::ui::ToQString(
            core::msg::AccessionNotFound(core::ui::ToStdString(m_accession->text())));
    } else if (!outcome.networkMessage.isEmpty()) {
        message = outcome.networkMessage;
    }
    core::ui::ShowMessage(message, core::ui::ToQString(core::msg::kError));
    setWaiting(false);
    m_accession->selectAll();
}

DownloadSource CDownloadDialog::source() const
{
    return m_source->currentIndex() == 1 ? DownloadSource::UniProt : DownloadSource::GenBank;
}

void CDownloadDialog::setWaiting(bool waiting)
{
    m_accession->setEnabled(!waiting);
    m_source->setEnabled(!waiting);
    m_ok->setEnabled(!waiting);
    if (!waiting) {
        m_accession->setFocus();
    }
}

} // namespace quorin::shell::ui
