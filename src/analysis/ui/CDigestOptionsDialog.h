#pragma once

#include "analysis/Digest.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace quorin::analysis::ui {

/// "Digest Options" of the digest window: the most missed cleavages a fragment
/// may have (all while "Limit missed cleavages" is off), its shortest and
/// longest length in residues (empty: no bound), average or monoisotopic
/// masses, and the charge states of the m/z columns ("1,2,3"; empty: none).
/// OK refuses a field that does not read, with its message, and puts the focus
/// on it.
class CDigestOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    /// Shows options: the window's current ones.
    explicit CDigestOptionsDialog(const DigestOptions& options, QWidget* parent = nullptr);

    /// After OK: the options the fields give.
    const DigestOptions& Options() const { return m_options; }

    void accept() override;

private:
    DigestOptions m_options;
    QCheckBox* m_limitMissed = nullptr;
    QLineEdit* m_maxMissed = nullptr;
    QLineEdit* m_minLength = nullptr;
    QLineEdit* m_maxLength = nullptr;
    QRadioButton* m_average = nullptr;
    QRadioButton* m_monoisotopic = nullptr;
    QLineEdit* m_charges = nullptr;
};

} // namespace quorin::analysis::ui
