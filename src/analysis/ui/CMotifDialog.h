#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

class QLineEdit;

namespace quorin::analysis::ui {

/// "Search for Sequence Motifs": one search string of motifs separated by
/// ";". OK checks it (an empty text, then a character that is no residue
/// letter, each with its message and the text selected for correction) and
/// runs the search on the record before closing.
class CMotifDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CMotifDialog(core::PropertyRecord& record, QWidget* parent = nullptr);

    /// The cleaned search string of the last accepted OK.
    const std::string& Search() const { return m_search; }

public slots:
    void accept() override;

private:
    core::PropertyRecord& m_record;
    QLineEdit* m_edit = nullptr;
    std::string m_search;
};

} // namespace quorin::analysis::ui
