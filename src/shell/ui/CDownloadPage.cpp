#include "core/MessageTexts.h"
#include "core/ui/QtText.h"
#include "shell/GenPept.h"
#include "shell/UniProtFetch.h"
#include "shell/ui/PreferencePages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorin::shell::ui {

using core::ui::ToQString;
using core::ui::ToStdString;

CDownloadPage::CDownloadPage(const core::ProfileFile& settings, QWidget* parent)
    : CPreferencePage(QStringLiteral("Download"), QStringLiteral("PREFERENCES DOWNLOAD"), parent)
{
    setObjectName(QStringLiteral("CDownloadPage"));
    m_server = field(QStringLiteral("server"), this);
    m_server->setText(ToQString(DownloadServer(settings)));
    m_server->setMinimumWidth(360);
    m_timeout = field(QStringLiteral("timeout"), this);
    m_timeout->setMaxLength(5);
    m_timeout->setText(QString::number(DownloadTimeout(settings).count()));
    auto* serverCaption = new QLabel(QStringLiteral("&Server of the E-utilities service"), this);
    serverCaption->setBuddy(m_server);
    auto* timeoutCaption = new QLabel(QStringLiteral("&Time limit of each request"), this);
    timeoutCaption->setBuddy(m_timeout);
    m_uniProtServer = field(QStringLiteral("uniProtServer"), this);
    m_uniProtServer->setText(ToQString(UniProtServer(settings)));
    auto* uniProtCaption = new QLabel(QStringLiteral("&UniProt Server"), this);
    uniProtCaption->setBuddy(m_uniProtServer);
    auto* defaults = defaultButton([this] {
        m_server->setText(ToQString(kDefaultServer));
        m_timeout->setText(QString::number(kDefaultTimeout.count()));
        m_uniProtServer->setText(ToQString(kDefaultUniProtServer));
    });

    auto* layout = new QGridLayout(this);
    layout->addWidget(serverCaption, 0, 0, 1, 3);
    layout->addWidget(m_server, 1, 0, 1, 3);
    layout->addWidget(timeoutCaption, 2, 0, 1, 3);
    layout->addWidget(m_timeout, 3, 0);
    layout->addWidget(new QLabel(QStringLiteral("Seconds"), this), 3, 1);
    layout->addWidget(uniProtCaption, 4, 0, 1, 3);
    layout->addWidget(m_uniProtServer, 5, 0, 1, 3);
    layout->addWidget(defaults, 6, 0);
    layout->setRowStretch(7, 1);
    layout->setColumnStretch(2, 1);
    layout->setVerticalSpacing(8);
}

bool CDownloadPage::CheckShown()
{
    const std::string server = ToStdString(m_server->text().trimmed());
    if (!server.empty() && !IsServerAddress(server)) {
        refuse(std::string(core::msg::kInvalidServer), m_server);
        return false;
    }
    const std::string uniProtServer = ToStdString(m_uniProtServer->text().trimmed());
    if (!uniProtServer.empty() && !IsServerAddress(uniProtServer)) {
        refuse(std::string(core::msg::kInvalidServer), m_uniProtServer);
        return false;
    }
    if (!ParseTimeout(ToStdString(m_timeout->text().trimmed()))) {
        refuse(std::string(core::msg::kInvalidTimeout), m_timeout);
        return false;
    }
    return true;
}

void CDownloadPage::Collect(PreferenceChanges& changes)
{
    PreferenceChanges::Download download;
    download.server = ToStdString(m_server->text().trimmed());
    // The default service is not written down, so that the key stays absent
    // and a later default holds.
    if (download.server == kDefaultServer) {
        download.server.clear();
    }
    download.timeout = *ParseTimeout(ToStdString(m_timeout->text().trimmed()));
    download.uniProtServer = ToStdString(m_uniProtServer->text().trimmed());
    if (download.uniProtServer == kDefaultUniProtServer) {
        download.uniProtServer.clear();
    }
    changes.download = download;
}

} // namespace quorin::shell::ui
