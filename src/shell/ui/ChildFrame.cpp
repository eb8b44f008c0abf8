#include "shell/ui/ChildFrame.h"

#include "core/ui/CPeptideDoc.h"
#include "shell/ui/DocumentTargets.h"
#include "shell/ui/WindowHost.h"

#include <QCloseEvent>
#include <QIcon>

namespace quorin::shell::ui {

ChildFrame::ChildFrame(WindowHost& host, WindowKind kind, core::ui::CPeptideDoc& document,
                       const WindowContent& content)
    : m_host(host), m_kind(kind), m_document(&document), m_plotDocument(content.plotDocument),
      m_viewTarget(content.viewTarget)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorin.svg")));
    setWindowTitle(QString::fromUtf8(InfoOf(kind).title.data(),
                                     static_cast<qsizetype>(InfoOf(kind).title.size())));
    setWidget(content.view);
    if (content.plotDocument != nullptr) {
        content.plotDocument->setParent(this);
        m_documentTarget = std::make_unique<PlotDocumentTarget>(
            host, document, kind, content.plotDocument, content.plotTarget);
    } else {
        m_documentTarget = std::make_unique<SequenceDocumentTarget>(host, document, kind);
    }
}

ChildFrame::~ChildFrame() = default;

core::ui::CPeptideDoc* ChildFrame::SequenceDocument() const
{
    return m_document.data();
}

void ChildFrame::CloseByShell()
{
    m_closing = true;
    close();
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_closing && m_kind == WindowKind::SequenceEditor) {
        // The editor's close box closes the whole sequence document; the
        // question and the other windows come first.
        if (!m_host.CloseSequenceDocument()) {
            event->ignore();
            return;
        }
    }
    m_closing = true;
    QMdiSubWindow::closeEvent(event);
}

} // namespace quorin::shell::ui
