#include "core/ui/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>

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

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace quorin::core::ui
