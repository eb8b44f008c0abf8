#pragma once

#include "shell/GenPept.h"
#include "shell/ui/GenPeptFetcher.h"

#include <QDialog>
#include <QThread>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorin::shell::ui {

/// "Retrieve Sequence from GenBank (NCBI)": asks for an accession number and
/// downloads its record on a worker thread while the dialog stays open; the
/// source choice switches to UniProt ("Retrieve Sequence from UniProt"), whose
/// entry comes with its features (Entry().uniProtText). OK
/// starts the download (the field and OK rest meanwhile; an empty field asks
/// for an accession and sends nothing); Cancel, Escape or the close box end a
/// download under way as well as the dialog. A failure shows one message:
/// "Accession X was not found." when the service knows no such accession,
/// else the network's message, else "Could not retrieve sequence data!"; the
/// dialog then waits again with the accession kept and selected. Success
/// closes it with Accepted and the record in Entry().
///
/// While bytes arrive, the main window's bytes pane counts them
/// (MSG_BYTES_RECEIVED); it is blank again when a download ends.
class CDownloadDialog : public QDialog
{
    Q_OBJECT

public:
    /// server and timeout as DownloadRequest takes them.
    CDownloadDialog(QString server, std::chrono::milliseconds timeout, QWidget* parent = nullptr);
    ~CDownloadDialog() override;

    /// The record downloaded, after the dialog was accepted; its accession is
    /// the record's own, else the one typed.
    const GenPeptEntry& Entry() const { return m_entry; }
    /// The UniProt base URL asked when UniProt is the source.
    void SetUniProtServer(QString server) { m_uniProtServer = std::move(server); }
    bool Downloading() const { return m_fetcher != nullptr; }

    void accept() override;
    void reject() override;

private:
    void onFinished(const DownloadOutcome& outcome);
    void stopFetcher();
    void setWaiting(bool waiting);
    DownloadSource source() const;

    QString m_server;
    QString m_uniProtServer;
    QComboBox* m_source = nullptr;
    std::chrono::milliseconds m_timeout;
    QLineEdit* m_accession = nullptr;
    QPushButton* m_ok = nullptr;
    QThread m_worker;
    /// The fetcher of the download under way, living on m_worker; only this
    /// thread reads the pointer, and the fetcher goes with deleteLater.
    GenPeptFetcher* m_fetcher = nullptr;
    int m_attempt = 0;
    GenPeptEntry m_entry;
};

} // namespace quorin::shell::ui
