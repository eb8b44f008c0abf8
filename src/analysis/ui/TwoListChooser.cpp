#include "analysis/ui/TwoListChooser.h"

#include "core/ui/QtText.h"

#include <QAbstractButton>
#include <QListWidget>

#include <algorithm>

namespace quorin::analysis::ui {

TwoListChooser::TwoListChooser(std::vector<std::string> names, QListWidget& available,
                               QListWidget& chosen, QAbstractButton& select,
                               QAbstractButton& unselect)
    : QObject(&available), m_names(std::move(names)), m_available(available), m_chosen(chosen)
{
    for (const std::string& name : m_names) {
        m_available.addItem(core::ui::ToQString(name));
    }
    connect(&select, &QAbstractButton::clicked, this, &TwoListChooser::Select);
    connect(&unselect, &QAbstractButton::clicked, this, &TwoListChooser::Unselect);
}

void TwoListChooser::Select()
{
    const int row = m_available.currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_names.size()) {
        return;
    }
    const std::string& name = m_names[static_cast<std::size_t>(row)];
    const std::vector<std::string> chosen = ChosenNames();
    if (std::find(chosen.begin(), chosen.end(), name) != chosen.end()) {
        return;
    }
    auto* item = new QListWidgetItem(m_available.item(row)->text());
    item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(row)));
    m_chosen.addItem(item);
    m_chosen.setCurrentRow(m_chosen.count() - 1);
}

void TwoListChooser::Unselect()
{
    const int row = m_chosen.currentRow();
    if (row >= 0) {
        delete m_chosen.takeItem(row);
    }
}

std::vector<std::size_t> TwoListChooser::ChosenIndices() const
{
    std::vector<std::size_t> indices;
    for (int i = 0; i < m_chosen.count(); ++i) {
        indices.push_back(
            static_cast<std::size_t>(m_chosen.item(i)->data(Qt::UserRole).toULongLong()));
    }
    return indices;
}

std::vector<std::string> TwoListChooser::ChosenNames() const
{
    std::vector<std::string> names;
    for (const std::size_t index : ChosenIndices()) {
        names.push_back(m_names[index]);
    }
    return names;
}

} // namespace quorin::analysis::ui
