#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace quorin::analysis::ui {

class TwoListChooser;

/// The ModFinder dialog: the measured weight of an unknown peptide and its
/// uncertainty, the available modifications with the specificity and mass
/// of the one selected, and the list of modifications to search for.
/// "&Analyse" checks the entries, stores the selection in the record and
/// runs the search over the record's digest.
class CModFinderDialog : public QDialog
{
    Q_OBJECT

public:
    /// Lists the record's modifications by name; the first is selected. The
    /// record's digest must not be in the hands of a digest job meanwhile.
    explicit CModFinderDialog(core::PropertyRecord& record, QWidget* parent = nullptr);

    /// Analyse: "Select an modification!" while nothing is selected, "Enter
    /// a valid number as weight !" for a bad weight or uncertainty (that
    /// field then has the focus, its text selected); else searches and
    /// closes.
    void accept() override;

private:
    void showModification();

    core::PropertyRecord& m_record;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_uncertainty = nullptr;
    QListWidget* m_available = nullptr;
    QLineEdit* m_specificity = nullptr;
    QLineEdit* m_mass = nullptr;
    QListWidget* m_chosen = nullptr;
    TwoListChooser* m_chooser = nullptr;
};

} // namespace quorin::analysis::ui
