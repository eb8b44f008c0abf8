#pragma once

#include "core/PropertyRecord.h"
#include "core/ui/CommandTarget.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>

namespace quorin::core::ui {

/// The one protein sequence the user works on: its property record (name,
/// remarks, sequence, tables, lists and the domain sketch), the registry of
/// the analysis windows opened on it, and its life cycle (new, load, save,
/// the close-time question). Handles Save, Save As and Export on the command
/// route; the main window handles New, Open, Import and Close around it.
class CPeptideDoc : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    /// Makes the new document the application's current one and its record the
    /// active record, and reads the record's tables and lists from the settings
    /// file (ReadRecordSettings), reporting numbers it refused in one message.
    /// Precondition: Application exists.
    explicit CPeptideDoc(QObject* parent = nullptr);
    ~CPeptideDoc() override;

    PropertyRecord& Record() { return m_record; }
    const PropertyRecord& Record() const { return m_record; }

    /// Empties the sequence data (name, sequence, remarks, sketch, the marks and
    /// texts of the hydropathy plot), clears the result-window flags and
    /// refreshes the views; the document counts as open (being edited) and is
    /// given the next "QuorinN" title.
    void OnNewDocument();

    enum class LoadOutcome
    {
        Loaded,
        CannotOpen,      ///< missing, unreadable, a directory, device or FIFO, too large
        NotQuorinFormat, ///< neither a sequence file nor a FASTA text
        Truncated,       ///< ends before the bytes its header announces
        Utf16Text,       ///< a text saved as UTF-16
        MalformedEntry,  ///< a UniProt entry that cannot be read (OpenError says why)
    };

    /// Reads a sequence file (.pep of any generation or FASTA text) into the
    /// record and sets the application's last-load flag. On success hasSketch
    /// tells whether the file carried a domain sketch; on failure the record's
    /// sequence data are empty. Does not touch the path, flags or title: the
    /// Open command does that after a success.
    LoadOutcome OnOpenDocument(const QString& path, bool* hasSketch = nullptr);
    /// Why the last OnOpenDocument could not read its file (CannotOpen,
    /// MalformedEntry).
    QString OpenError() const { return m_openError; }
    /// The last OnOpenDocument read a UniProt entry: its features are in the
    /// record, to be drawn as the domain sketch.
    bool FromUniProtEntry() const { return m_fromUniProtEntry; }

    /// Whether the document holds a domain sketch: one read from its file or
    /// made in a sketch window. Save writes it, as it does while a sketch
    /// window is open; closing that window keeps it, and only new or loaded
    /// contents drop it.
    bool HasSketch() const { return m_hasSketch; }
    /// The sketch window took the record's sketch into the document.
    void KeepSketch() { m_hasSketch = true; }

    /// The close-time question: true (may close) when the document is not
    /// modified or the user answered No, or Yes and the save succeeded; false
    /// on Cancel or when the save was cancelled or failed.
    bool SaveModified();

    /// The Save command: writes to the document's file when it is one this
    /// program reads back as it wrote it (a .pep file that was opened or
    /// saved); otherwise asks for a name as Save As does. False when cancelled
    /// or the write failed (the message was shown).
    bool DoFileSave();
    /// The Save As command.
    bool DoSaveAs();
    /// Writes the .pep file; on success it becomes the document's path.
    bool SaveTo(const QString& path);
    /// The Export command: the FASTA bytes into a file the user names.
    bool ExportFasta();

    /// A sequence is loaded or being edited; enables Save and Save As.
    bool IsOpen() const { return m_open; }
    void SetOpen(bool open);
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);
    QString PathName() const { return m_pathName; }
    /// Sets path and title (the file name) and adds the path to the recent
    /// files. savesInPlace tells whether a later Save may write the .pep
    /// format to this path.
    void SetPathName(const QString& path, bool savesInPlace);
    QString Title() const { return m_title; }
    /// Save writes to PathName() without asking.
    bool SavesInPlace() const { return m_savesInPlace; }

    /// Tells every view to show the document again.
    void UpdateAllViews();

    /// The plot documents made from this sequence, and whether a digest ran.
    /// Launchers set the entries; a plot document's pointer clears itself when
    /// it goes. Which windows are open the main window's frames tell, not
    /// this record. Call AnalysesChanged() after a change.
    struct OpenAnalyses
    {
        bool digestComputed = false; ///< a digest ran; cleared only by new or loaded contents
        QPointer<QObject> hydropathy;
        QPointer<QObject> amphipathy;
        QPointer<QObject> sketch;
        std::array<QPointer<QObject>, 5> wheels{};
        int wheelSerial = 0; ///< wheels opened since the document was created
    };
    OpenAnalyses& Analyses() { return m_analyses; }
    const OpenAnalyses& Analyses() const { return m_analyses; }
    void AnalysesChanged();

    std::optional<CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

signals:
    /// The views show the document again.
    void viewsNeedUpdate();
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    /// The open flag or the registry of analyses changed.
    void stateChanged();

private:
    void emptySequenceData();
    QString proposedSaveName() const;

    PropertyRecord m_record;
    OpenAnalyses m_analyses;
    bool m_open = false;
    bool m_modified = false;
    bool m_savesInPlace = false;
    QString m_openError;
    bool m_hasSketch = false;
    bool m_fromUniProtEntry = false;
    QString m_pathName;
    QString m_title;
};

} // namespace quorin::core::ui
