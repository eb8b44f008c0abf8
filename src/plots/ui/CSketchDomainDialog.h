#pragma once

#include "core/PageItems.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorin::plots::ui {

/// "Domain properties": the name, start and end of one domain, whether its
/// name is drawn, its label font and colour and its fill colour. OK checks
/// the fields (CheckDomain) and stays open on a refusal, with the field in
/// question focused and selected.
class CSketchDomainDialog : public QDialog
{
    Q_OBJECT

public:
    /// domains is the sketch's list, editing the index of the domain shown
    /// (-1: a new domain, empty fields, light grey, black label in the
    /// default font). positionCount is the last position a domain may take.
    CSketchDomainDialog(const std::vector<core::DOMAINE>& domains, int editing, int positionCount,
                        QWidget* parent = nullptr);

    /// The domain as accepted; an edited one keeps what the dialog does not
    /// show.
    const core::DOMAINE& Domain() const { return m_domain; }

    void accept() override;

private:
    void chooseFont();
    void chooseColour();
    void showColour();

    const std::vector<core::DOMAINE>& m_domains;
    int m_editing;
    int m_positionCount;
    core::DOMAINE m_domain;
    QLineEdit* m_name;
    QLineEdit* m_start;
    QLineEdit* m_end;
    QCheckBox* m_display;
    QPushButton* m_colour;
};

} // namespace quorin::plots::ui
