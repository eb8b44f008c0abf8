#include "UiTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace quorin::test {

MessageRecorder::MessageRecorder()
{
    m_previous = core::ui::SetMessageHandler([this](const core::ui::MessageRequest& request) {
        m_requests.append(request);
        if (!m_answers.empty()) {
            const auto answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        }
        switch (request.buttons) {
        case core::ui::MessageButtons::YesNo:
            return core::ui::MessageAnswer::Yes;
        case core::ui::MessageButtons::YesNoCancel:
            return core::ui::MessageAnswer::Cancel;
        default:
            return core::ui::MessageAnswer::Ok;
        }
    });
}

MessageRecorder::~MessageRecorder()
{
    core::ui::SetMessageHandler(std::move(m_previous));
}

FileDialogAnswers::FileDialogAnswers()
{
    m_previous = core::ui::SetFileDialogHandler([this](const core::ui::FileDialogRequest& request) {
        m_requests.append(request);
        if (m_answers.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + request.title),
                         __FILE__, __LINE__);
            return std::optional<QString>();
        }
        const auto [chosen, path] = m_answers.front();
        m_answers.pop_front();
        return chosen ? std::optional<QString>(path) : std::optional<QString>();
    });
}

FileDialogAnswers::~FileDialogAnswers()
{
    core::ui::SetFileDialogHandler(std::move(m_previous));
}

ModalAnswer::ModalAnswer(std::function<void(QWidget& modal)> handle, int timeoutMs)
    : m_handle(std::move(handle)), m_timeoutMs(timeoutMs)
{
    // Polled rather than a zero-time single shot: that one fires on the next
    // event, which need not be the dialog's.
    QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
    m_poll.start(5);
    m_clock.start();
}

ModalAnswer::~ModalAnswer()
{
    m_poll.stop();
    if (!m_shown && !QTest::currentTestFailed()) {
        QTest::qFail("the dialog to answer never showed", __FILE__, __LINE__);
    }
}

void ModalAnswer::poll()
{
    QWidget* shown = QApplication::activePopupWidget();
    if (shown == nullptr) {
        shown = QApplication::activeModalWidget();
    }
    if (shown == nullptr) {
        if (m_clock.elapsed() > m_timeoutMs) {
            m_poll.stop();
            QTest::qFail(
                qPrintable(QStringLiteral("no dialog showed within %1 ms").arg(m_timeoutMs)),
                __FILE__, __LINE__);
        }
        return;
    }
    m_poll.stop();
    m_shown = true;
    const bool failedBefore = QTest::currentTestFailed();
    QPointer<QWidget> modal(shown);
    m_handle(*shown);
    m_answered = !QTest::currentTestFailed() || failedBefore;
    if (modal && modal->isVisible()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal.data())) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
}

ScopedEnvironment::ScopedEnvironment(const char* name, const QByteArray& value)
    : m_name(name), m_previous(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
{
    if (value.isNull()) {
        qunsetenv(name);
    } else {
        qputenv(name, value);
    }
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (m_had) {
        qputenv(m_name.constData(), m_previous);
    } else {
        qunsetenv(m_name.constData());
    }
}

TestHome::TestHome()
    : m_registry("QUORIN_REGISTRY", m_dir.filePath(QStringLiteral("registry.ini")).toLocal8Bit()),
      m_dataHome("XDG_DATA_HOME", m_dir.path().toLocal8Bit())
{
    WriteBytes(MakeDirectory(QStringLiteral("quorin")) + QStringLiteral("/quorin.ini"), {});
}

QString TestHome::Path(const QString& name) const
{
    return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
}

QString TestHome::MakeDirectory(const QString& name) const
{
    QDir(m_dir.path()).mkpath(name);
    return m_dir.filePath(name);
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QTest::qFail(qPrintable(QStringLiteral("cannot read ") + path), __FILE__, __LINE__);
        return {};
    }
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        QTest::qFail(qPrintable(QStringLiteral("cannot write ") + path), __FILE__, __LINE__);
    }
}

QString DataPath(const QString& relative)
{
    const QString path = QStringLiteral(QUORIN_TEST_DATA_DIR "/") + relative;
    if (!QFile::exists(path)) {
        QTest::qFail(qPrintable(QStringLiteral("missing fixture ") + path), __FILE__, __LINE__);
    }
    return path;
}

QString PdfText(const QString& pdfPath)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        QTest::qFail("pdftotext is missing (poppler-utils; scripts/install-deps installs it)",
                     __FILE__, __LINE__);
        return {};
    }
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        QTest::qFail("pdftotext failed", __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace quorin::test
