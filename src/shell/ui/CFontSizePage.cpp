#include "shell/ui/PreferencePages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quorin::shell::ui {

CFontSizePage::CFontSizePage(const core::AppSettings& settings, QWidget* parent)
    : CPreferencePage(QStringLiteral("Output Options"), QStringLiteral("PREFERENCES OUTPUT"),
                      parent)
{
    setObjectName(QStringLiteral("CFontSizePage"));
    m_output.fontSize = settings.outputFontSize;
    m_output.lineWidth = settings.plotLineWidth;

    m_fontSize = sizeField(QStringLiteral("fontSize"), this, m_output.fontSize, kMinOutputFontSize,
                           kMaxOutputFontSize);
    m_lineWidth = sizeField(QStringLiteral("lineWidth"), this, m_output.lineWidth, kMinLineWidth,
                            kMaxLineWidth);
    auto* fontCaption = new QLabel(QStringLiteral("Font size for generating hard copies"), this);
    fontCaption->setBuddy(m_fontSize);
    auto* lineCaption = new QLabel(QStringLiteral("&Line width for drawings"), this);
    lineCaption->setBuddy(m_lineWidth);
    auto* defaults = defaultButton([this] {
        m_output.fontSize = kDefaultOutputFontSize;
        m_fontSize->setText(QString::number(m_output.fontSize));
    });

    auto* layout = new QGridLayout(this);
    layout->addWidget(fontCaption, 0, 0, 1, 3);
    layout->addWidget(m_fontSize, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("Points"), this), 1, 1);
    layout->addWidget(defaults, 1, 2);
    layout->addWidget(lineCaption, 2, 0, 1, 3);
    layout->addWidget(m_lineWidth, 3, 0);
    layout->addWidget(new QLabel(QStringLiteral("Points"), this), 3, 1);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(3, 1);
    layout->setVerticalSpacing(8);
}

void CFontSizePage::Collect(PreferenceChanges& changes)
{
    changes.output = m_output;
}

} // namespace quorin::shell::ui
