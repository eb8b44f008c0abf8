#include "plots/ui/CSketchDialog.h"

#include "core/MessageTexts.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/SketchPage.h"
#include "plots/ui/CSketchDomainDialog.h"
#include "plots/ui/PlotDialogs.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorin::plots::ui {
namespace {

using core::ui::ToQString;

QLabel* swatch(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(40, 16);
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    return label;
}

void paintSwatch(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
}

QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* made = new QPushButton(text, parent);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

} // namespace

CSketchDialog::CSketchDialog(std::vector<core::DOMAINE>& domains, double scale, int positionCount,
                             QWidget* parent, std::string sequence)
    : QDialog(parent), m_domains(domains), m_defaultScale(scale), m_scale(scale),
      m_positionCount(positionCount), m_scaleField(new QLineEdit(this)),
      m_list(new QListWidget(this)), m_start(new QLineEdit(this)), m_end(new QLineEdit(this)),
      m_display(new QLabel(this)), m_textColour(swatch(QStringLiteral("textColor"), this)),
      m_domainColour(swatch(QStringLiteral("domainColor"), this)), m_sequence(std::move(sequence))
{
    setWindowTitle(QStringLiteral("Domain structure"));
    m_scaleField->setObjectName(QStringLiteral("scale"));
    m_scaleField->setText(ToQString(ScaleText(scale)));
    m_list->setObjectName(QStringLiteral("domains"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_start->setObjectName(QStringLiteral("start"));
    m_end->setObjectName(QStringLiteral("end"));
    m_start->setReadOnly(true);
    m_end->setReadOnly(true);
    m_display->setObjectName(QStringLiteral("displayCaption"));

    auto* edit = button(QStringLiteral("&Edit"), QStringLiteral("edit"), this);
    auto* add = button(QStringLiteral("&Add"), QStringLiteral("add"), this);
    auto* remove = button(QStringLiteral("&Delete"), QStringLiteral("delete"), this);
    auto* topology =
        button(QStringLiteral("Add predicted &topology"), QStringLiteral("addTopology"), this);
    topology->setToolTip(QStringLiteral("The transmembrane helices and the signal peptide that "
                                        "the trained topology model predicts, as domains"));
    topology->setEnabled(!m_sequence.empty());
    auto* reset = button(QStringLiteral("Default"), QStringLiteral("default"), this);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = button(QStringLiteral("&Cancel"), QStringLiteral("cancel"), this);

    auto* scaleRow = new QHBoxLayout;
    auto* scaleLabel = new QLabel(QStringLiteral("&Scale (units per residue):"), this);
    scaleLabel->setBuddy(m_scaleField);
    scaleRow->addWidget(scaleLabel);
    scaleRow->addWidget(m_scaleField);
    scaleRow->addWidget(reset);

    auto* details = new QFormLayout;
    details->addRow(QStringLiteral("Start:"), m_start);
    details->addRow(QStringLiteral("End:"), m_end);
    details->addRow(QStringLiteral("Display Name"), m_display);
    details->addRow(QStringLiteral("Text color:"), m_textColour);
    details->addRow(QStringLiteral("Domain color:"), m_domainColour);

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(edit);
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    listButtons->addWidget(topology);
    listButtons->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list);
    middle->addLayout(details);
    middle->addLayout(listButtons);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scaleRow);
    layout->addWidget(new QLabel(QStringLiteral("Domains:"), this));
    layout->addLayout(middle);
    layout->addLayout(bottom);

    connect(m_list, &QListWidget::currentRowChanged, this, &CSketchDialog::showSelected);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CSketchDialog::EditSelected);
    connect(edit, &QPushButton::clicked, this, &CSketchDialog::EditSelected);
    connect(add, &QPushButton::clicked, this, &CSketchDialog::AddDomain);
    connect(remove, &QPushButton::clicked, this, &CSketchDialog::DeleteSelected);
    connect(topology, &QPushButton::clicked, this, &CSketchDialog::AddPredictedTopology);
    connect(reset, &QPushButton::clicked, this,
            [this] { m_scaleField->setText(ToQString(ScaleText(m_defaultScale))); });
    connect(ok, &QPushButton::clicked, this, &CSketchDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CSketchDialog::reject);

    fillList(0);
}

int CSketchDialog::SelectedDomain() const
{
    const int row = m_list->currentRow();
    return row >= 0 && static_cast<std::size_t>(row) < m_domains.size() ? row : -1;
}

void CSketchDialog::fillList(int select)
{
    m_list->clear();
    for (const core::DOMAINE& domain : m_domains) {
        m_list->addItem(ToQString(domain.name));
    }
    if (!m_domains.empty()) {
        const int last = static_cast<int>(m_domains.size()) - 1;
        m_list->setCurrentRow(std::clamp(select, 0, last));
    }
    showSelected();
}

void CSketchDialog::showSelected()
{
    const int index = SelectedDomain();
    if (index < 0) {
        m_start->clear();
        m_end->clear();
        m_display->clear();
        paintSwatch(m_textColour, palette().color(QPalette::Window));
        paintSwatch(m_domainColour, palette().color(QPalette::Window));
        return;
    }
    const core::DOMAINE& domain = m_domains[static_cast<std::size_t>(index)];
    m_start->setText(QString::number(domain.start));
    m_end->setText(QString::number(domain.end));
    m_display->setText(domain.displayName != 0 ? QStringLiteral("Name will be displayed.")
                                               : QStringLiteral("Name will not be displayed."));
    paintSwatch(m_textColour, core::ui::ColorFromColorref(domain.labelColour));
    paintSwatch(m_domainColour, core::ui::ColorFromColorref(domain.colour));
}

void CSketchDialog::EditSelected()
{
    const int index = SelectedDomain();
    if (index < 0) {
        return;
    }
    CSketchDomainDialog dialog(m_domains, index, m_positionCount, this);
    if (Choosers().run(dialog) == QDialog::Accepted) {
        m_domains[static_cast<std::size_t>(index)] = dialog.Domain();
    }
    fillList(index);
}

void CSketchDialog::AddDomain()
{
    CSketchDomainDialog dialog(m_domains, -1, m_positionCount, this);
    if (Choosers().run(dialog) != QDialog::Accepted) {
        fillList(SelectedDomain());
        return;
    }
    m_domains.push_back(dialog.Domain());
    fillList(static_cast<int>(m_domains.size()) - 1);
}

void CSketchDialog::DeleteSelected()
{
    const int index = SelectedDomain();
    if (index < 0) {
        return;
    }
    m_domains.erase(m_domains.begin() + index);
    fillList(index);
}

void CSketchDialog::AddPredictedTopology()
{
    const auto added = PredictedTopologyDomains(m_sequence, m_domains);
    m_domains.insert(m_domains.end(), added.begin(), added.end());
    fillList(added.empty() ? SelectedDomain() : static_cast<int>(m_domains.size()) - 1);
}

void CSketchDialog::accept()
{
    const ScaleCheck check = CheckScaleText(m_scaleField->text().toStdString());
    if (!check.ok) {
        core::ui::ShowMessage(ToQString(check.message), ToQString(core::msg::kError));
        m_scaleField->setFocus();
        m_scaleField->selectAll();
        return;
    }
    m_scale = check.scale;
    QDialog::accept();
}

} // namespace quorin::plots::ui
