#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

class QLineEdit;
class QLabel;
class QRadioButton;

namespace quorin::analysis::ui {

/// "Search for Sequence Motifs": one search string of motifs separated by
/// ";", or one PROSITE pattern. OK checks it (for motifs an empty text, then
/// a character that is no residue letter, each with its message and the text
/// selected for correction; for a pattern the parser's message with the
/// character at fault selected) and runs the search on the record before
/// closing.
class CMotifDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CMotifDialog(core::PropertyRecord& record, QWidget* parent = nullptr);

    /// The cleaned search string, or the pattern, of the last accepted OK.
    const std::string& Search() const { return m_search; }
    /// Whether the text is read as a PROSITE pattern.
    bool PrositePattern() const;

public slots:
    void accept() override;

private:
    void showSyntax();

    core::PropertyRecord& m_record;
    QLineEdit* m_edit = nullptr;
    QRadioButton* m_prosite = nullptr;
    QLabel* m_example = nullptr;
    std::string m_search;
};

} // namespace quorin::analysis::ui
