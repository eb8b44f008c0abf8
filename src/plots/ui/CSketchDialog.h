#pragma once

#include "core/PageItems.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace quorin::plots::ui {

/// "Domain structure": the scale of the sketch and its list of domains, with
/// the selected domain's start, end, name display and colours, and Edit, Add
/// and Delete through "Domain properties". Domain edits go straight into the
/// list and stay when the dialog is cancelled; only the scale waits for OK,
/// which refuses anything but digits and "." with "Enter a valid scaling
/// value!".
class CSketchDialog : public QDialog
{
    Q_OBJECT

public:
    /// domains is the sketch's list, edited in place; scale the scale shown
    /// first, which "Default" puts back; positionCount the last position a
    /// domain may take; sequence the cleaned sequence, for "Add predicted
    /// topology" (disabled without one).
    CSketchDialog(std::vector<core::DOMAINE>& domains, double scale, int positionCount,
                  QWidget* parent = nullptr, std::string sequence = {});

    /// The scale as accepted.
    double Scale() const { return m_scale; }
    /// The selected row of the list, -1 when the list is empty.
    int SelectedDomain() const;

    void accept() override;

    /// "&Edit" (and a double click in the list), "&Add", "&Delete".
    void EditSelected();
    void AddDomain();
    void DeleteSelected();
    /// "Add predicted &topology": the predicted helices and signal peptide
    /// as domains (PredictedTopologyDomains), appended to the list.
    void AddPredictedTopology();

private:
    void fillList(int select);
    void showSelected();

    std::vector<core::DOMAINE>& m_domains;
    double m_defaultScale;
    double m_scale;
    int m_positionCount;
    QLineEdit* m_scaleField;
    QListWidget* m_list;
    QLineEdit* m_start;
    QLineEdit* m_end;
    QLabel* m_display;
    QLabel* m_textColour;
    QLabel* m_domainColour;
    std::string m_sequence;
};

} // namespace quorin::plots::ui
