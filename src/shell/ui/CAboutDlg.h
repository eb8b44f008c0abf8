#pragma once

#include <QDialog>

namespace quorin::shell::ui {

/// The About box: the program's name, version and platform, and the settings
/// file it reads.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    /// The platform line: the system, the processor and the Qt version.
    static QString PlatformText();
};

} // namespace quorin::shell::ui
