#pragma once

#include "core/UniProt.h"
#include "core/ui/CommandTarget.h"
#include "shell/ui/Launchers.h"

#include <QTableWidget>

#include <vector>

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

/// The "Features" window: every feature of the UniProt entry the sequence
/// was read from, one row each (key, start, end, description; ends as the
/// entry writes them). Choosing a row asks for its stretch to be selected in
/// the sequence editor (stretchChosen); Copy puts the rows chosen, or all,
/// on the clipboard as the `features` command's table (LF line ends).
class CFeatureView : public QTableWidget, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit CFeatureView(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

    /// The table as Copy puts it on the clipboard.
    QString CopiedText() const;

signals:
    /// The residues of the row chosen, 1-based and inclusive, an unknown end
    /// taken to the sequence's bound.
    void stretchChosen(int first, int last);

private:
    void onRowChosen();

    std::vector<core::SequenceFeature> m_features;
    int m_length = 0;
};

/// Registers the Features window kind: "Entry &Features..." in the Analyze
/// menu, enabled for a sequence read from a UniProt entry while no such
/// window is open; its rows select their stretch in the document's editor.
void RegisterFeatureWindow();

/// Opens the window and ties its rows to the document's sequence editor.
void LaunchFeatures(LaunchContext& context);

} // namespace quorin::shell::ui
