#pragma once

#include "core/ui/CommandTarget.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

/// The sequence editor window's content while the sequence is shown read-only:
/// name, length and remarks above the sequence in blocks of ten. Copy copies
/// the selection of the field that has the focus; Select All selects the
/// sequence.
class SequenceSummaryView : public QWidget, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit SequenceSummaryView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);

    /// Shows the document again.
    void Refresh();

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

private:
    QPointer<core::ui::CPeptideDoc> m_document;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_length = nullptr;
    QPlainTextEdit* m_remarks = nullptr;
    QPlainTextEdit* m_sequence = nullptr;
};

} // namespace quorin::shell::ui
