#pragma once

#include "analysis/ParameterSheet.h"

#include <QWidget>

class QFormLayout;
class QLabel;
class QTableWidget;

namespace quorin::analysis::ui {

/// The "Parameter sheet" page of the properties window: the sheet's figures
/// as labelled values, the pI under every named pKa set as a small table with
/// the spread beneath it, and a Copy button.
class ParameterSheetPane : public QWidget
{
    Q_OBJECT

public:
    explicit ParameterSheetPane(QWidget* parent = nullptr);

    /// Shows sheet, replacing what was shown.
    void Show(const ParameterSheet& sheet);

    /// The value shown beside a row's label, by the sheet's key ("gravy").
    QString ValueText(const QString& key) const;

signals:
    /// The Copy button was pressed.
    void copyRequested();

private:
    QLabel* addRow(QFormLayout* form, const QString& key, const QString& label);

    QTableWidget* m_pIs = nullptr;
    QLabel* m_spread = nullptr;
};

} // namespace quorin::analysis::ui
