#pragma once

#include "analysis/Titration.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QListWidget;

namespace quorin::plots::ui {

/// "Titration Curve": the pK set a titration curve is drawn with, offered by
/// name (every set of analysis::kPKaSets), and the sets whose curves are
/// drawn with it for comparison ("Compare with", a list of check boxes).
class CTitrationDialog : public QDialog
{
    Q_OBJECT

public:
    /// Proposes set, compared with none.
    explicit CTitrationDialog(analysis::PKaSet set, QWidget* parent = nullptr);
    /// Proposes the first of sets, compared with the others.
    explicit CTitrationDialog(const std::vector<analysis::PKaSet>& sets, QWidget* parent = nullptr);

    /// The chosen set.
    analysis::PKaSet Set() const;
    /// The chosen set first, then the checked ones in the list's order (the
    /// chosen set not twice).
    std::vector<analysis::PKaSet> Sets() const;

private:
    QComboBox* m_set;
    QListWidget* m_compared;
};

} // namespace quorin::plots::ui
