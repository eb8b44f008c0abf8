#include "plots/ui/CPathyDialog.h"

#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "plots/Hydropathy.h"
#include "plots/ui/PlotDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorin::plots::ui {
namespace {

using core::ui::ToQString;

} // namespace

CPathyDialog::CPathyDialog(core::PropertyRecord& record, const PendingPlotRequest& request,
                           QWidget* parent)
    : QDialog(parent), m_record(record), m_request(request),
      m_from(NamedField(QStringLiteral("from"), this)),
      m_to(NamedField(QStringLiteral("to"), this)),
      m_window(NamedField(QStringLiteral("window"), this)),
      m_threshold(NamedField(QStringLiteral("threshold"), this)), m_scales(new QListWidget(this)),
      m_scaleName(NamedField(QStringLiteral("scaleName"), this)),
      m_topology(new QCheckBox(QStringLiteral("Show predicted membrane &topology"), this))
{
    setWindowTitle(QStringLiteral("Properties for Hydropathy Plot"));
    QLabel* use = UsePartLabel(record, this);
    ProposeStretch(record, request, RangeFields{m_from, m_to, m_window}, 11);
    m_threshold->setText(ToQString(core::FormatSignificant(request.threshold, 3)));

    m_scales->setObjectName(QStringLiteral("scales"));
    for (const core::HYDROPATHYSCALE& scale : record.scales) {
        m_scales->addItem(ToQString(scale.name));
    }
    m_scaleName->setReadOnly(true);
    connect(m_scales, &QListWidget::currentRowChanged, this, &CPathyDialog::scaleChosen);
    const int current = record.plots.currentScale;
    m_scales->setCurrentRow(current >= 0 && current < m_scales->count() ? current : 0);
    scaleChosen();

    const auto label = [](const QString& text, QWidget* buddy, QWidget* box) {
        auto* shown = new QLabel(text, box);
        shown->setBuddy(buddy);
        return shown;
    };
    auto* stretch = new QGroupBox(QStringLiteral("Displayed part of the sequence"), this);
    auto* stretchGrid = new QGridLayout(stretch);
    stretchGrid->addWidget(use, 0, 0, 1, 4);
    stretchGrid->addWidget(label(QStringLiteral("&From:"), m_from, stretch), 1, 0);
    stretchGrid->addWidget(m_from, 1, 1);
    stretchGrid->addWidget(label(QStringLiteral("&To:"), m_to, stretch), 1, 2);
    stretchGrid->addWidget(m_to, 1, 3);
    stretchGrid->addWidget(label(QStringLiteral("Sliding &window:"), m_window, stretch), 2, 0);
    stretchGrid->addWidget(m_window, 2, 1);

    auto* scale = new QGroupBox(QStringLiteral("Hydropathy scale"), this);
    auto* scaleGrid = new QGridLayout(scale);
    scaleGrid->addWidget(m_scaleName, 0, 0, 1, 2);
    scaleGrid->addWidget(m_scales, 1, 0, 1, 2);
    scaleGrid->addWidget(
        label(QStringLiteral("Hydropathy t&hreshold for helices:"), m_threshold, scale), 2, 0);
    scaleGrid->addWidget(m_threshold, 2, 1);

    m_topology->setObjectName(QStringLiteral("topology"));
    m_topology->setToolTip(QStringLiteral(
        "A band above the curve: inside, outside, transmembrane helices and the signal "
        "peptide, as the trained topology model predicts them for the whole sequence"));
    m_topology->setChecked(request.topology);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* help = buttons->addButton(QStringLiteral("?"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("help"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPathyDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPathyDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { core::ui::OpenHelpTopic(QStringLiteral("HYDROPATHY PLOT")); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stretch);
    layout->addWidget(scale);
    layout->addWidget(m_topology);
    layout->addWidget(buttons);
}

void CPathyDialog::scaleChosen()
{
    const int row = m_scales->currentRow();
    m_scaleName->setText(row >= 0 ? m_scales->item(row)->text() : QString());
    // The threshold belongs to the helix prediction, which only the first
    // scale of the list drives.
    m_threshold->setEnabled(row == 0);
}

void CPathyDialog::accept()
{
    const PathyDialogInput input{m_from->text().toStdString(), m_to->text().toStdString(),
                                 m_window->text().toStdString(), m_threshold->text().toStdString()};
    const PathyDialogCheck check = CheckPathyDialog(input, PositionCount(m_record));
    if (!PassesRangeCheck(check, {m_from, m_to, m_window, m_threshold})) {
        return;
    }
    m_request = PendingPlotRequest{check.from, check.to, check.window, check.threshold,
                                   m_topology->isChecked()};
    if (m_scales->currentRow() >= 0) {
        SelectScale(m_record, m_scales->currentRow());
    }
    QDialog::accept();
}

void CPathyDialog::reject()
{
    ClampPlotRequest(m_request, PositionCount(m_record));
    QDialog::reject();
}

} // namespace quorin::plots::ui
