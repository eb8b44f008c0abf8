#include "core/ui/FileDialogs.h"

#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include <utility>

namespace quorin::core::ui {
namespace {

FileDialogHandler& handlerSlot()
{
    static FileDialogHandler handler;
    return handler;
}

std::optional<QString> showDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.directory);
    const bool open = request.mode == FileDialogRequest::Mode::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    if (!request.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    if (!request.confirmOverwrite) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> AskFileName(const FileDialogRequest& request)
{
    if (handlerSlot()) {
        return handlerSlot()(request);
    }
    return showDialog(request);
}

std::optional<QString> AskFileToWrite(const QString& title, const QStringList& filters,
                                      const QString& proposedName)
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = title;
    request.filters = filters;
    if (Application::Exists()) {
        request.directory = Application::Instance().WorkingDirectory();
    }
    request.fileName = proposedName;
    request.confirmOverwrite = false; // asked below, once
    const auto path = AskFileName(request);
    if (!path) {
        return std::nullopt;
    }
    if (QFileInfo::exists(*path) &&
        ShowMessage(ToQString(msg::kFileExists), ToQString(msg::kNote), MessageIcon::Question,
                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        return std::nullopt;
    }
    return path;
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace quorin::core::ui
