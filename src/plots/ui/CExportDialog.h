#pragma once

#include <QDialog>

#include <string>

class QButtonGroup;
class QLineEdit;

namespace quorin::plots::ui {

/// "Choose Delimiter!": what stands between a residue number and its value
/// in the hydropathy export. The edit field is enabled only for "other",
/// whose text (at most 9 characters) becomes the delimiter; OK with "other"
/// and an empty field does nothing.
class CExportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CExportDialog(QWidget* parent = nullptr);

    /// The delimiter as accepted (a tab at first).
    const std::string& Delimiter() const { return m_delimiter; }

    void accept() override;

private:
    QButtonGroup* m_choices;
    QLineEdit* m_other;
    std::string m_delimiter = "\t";
};

} // namespace quorin::plots::ui
