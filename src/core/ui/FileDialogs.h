#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quorin::core::ui {

/// One open or save dialog as a command asks for it.
struct FileDialogRequest
{
    enum class Mode
    {
        Open, ///< the file must exist
        Save,
    };
    Mode mode = Mode::Open;
    QString title;
    QStringList filters;   ///< "Text (*.txt)"; the first is selected
    QString directory;     ///< where the dialog starts
    QString fileName;      ///< the name proposed; a pattern such as "*.txt" filters the list
    QString defaultSuffix; ///< added to a typed name without one ("pep")
    bool confirmOverwrite = true;
};

/// Shows the dialog and returns the chosen path, or nothing on Cancel. Every
/// file dialog of the program goes through here.
std::optional<QString> AskFileName(const FileDialogRequest& request);

/// The file a command writes: the save dialog (starting in the working
/// directory), then "File exists. Overwrite?" for a file that is there.
/// Nothing when the user cancelled or answered No.
std::optional<QString> AskFileToWrite(const QString& title, const QStringList& filters,
                                      const QString& proposedName);

using FileDialogHandler = std::function<std::optional<QString>(const FileDialogRequest&)>;

/// Replaces what AskFileName does (tests answer the dialogs this way); an
/// empty handler restores the real dialog. Returns the handler it replaced.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

} // namespace quorin::core::ui
