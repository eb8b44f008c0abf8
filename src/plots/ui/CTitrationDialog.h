#pragma once

#include "analysis/Titration.h"

#include <QDialog>

class QComboBox;

namespace quorin::plots::ui {

/// "Titration Curve": the pK set a titration curve is drawn with, offered by
/// name ("settings", "EMBOSS", "Bjellqvist", "Lehninger").
class CTitrationDialog : public QDialog
{
    Q_OBJECT

public:
    /// Proposes set.
    explicit CTitrationDialog(analysis::PKaSet set, QWidget* parent = nullptr);

    /// The chosen set.
    analysis::PKaSet Set() const;

private:
    QComboBox* m_set;
};

} // namespace quorin::plots::ui
