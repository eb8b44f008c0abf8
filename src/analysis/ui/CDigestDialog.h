#pragma once

#include "core/PropertyRecord.h"

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorin::analysis::ui {

class TwoListChooser;

/// The agent selection of the digest ("Sequence specific cleavage"): the
/// available agents with the specificity of the one selected, and the list of
/// agents the digest is to use. "&Analyse" needs at least one selected agent.
class CDigestDialog : public QDialog
{
    Q_OBJECT

public:
    /// Lists agents by name, in their order; the first is selected.
    explicit CDigestDialog(const std::vector<core::ENZYME>& agents, QWidget* parent = nullptr);

    /// After Analyse: the selected agents in selection order, each the first
    /// agent of its name in the list.
    const std::vector<core::ENZYME>& SelectedAgents() const { return m_selected; }
    /// After Analyse: their specificities joined with ";".
    const std::string& Specificity() const { return m_specificity; }

    /// Analyse: refuses with "Select an agent!" while the selected list is empty.
    void accept() override;

private:
    void showSpecificity();

    std::vector<core::ENZYME> m_agents;
    std::vector<core::ENZYME> m_selected;
    std::string m_specificity;
    QListWidget* m_available = nullptr;
    QLineEdit* m_specificityBox = nullptr;
    QListWidget* m_chosen = nullptr;
    TwoListChooser* m_chooser = nullptr;
};

} // namespace quorin::analysis::ui
