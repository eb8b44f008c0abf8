#pragma once

#include "core/ui/FileDialogs.h"
#include "core/ui/Messages.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace quorin::test {

/// Stands in for the message boxes while it lives: records every request and
/// answers each with the next queued answer (Ok, Yes or Cancel by the buttons
/// when the queue is empty).
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void Answer(core::ui::MessageAnswer answer) { m_answers.push_back(answer); }
    const QList<core::ui::MessageRequest>& Requests() const { return m_requests; }
    /// The text of the last box, empty when none was shown.
    QString LastText() const { return m_requests.isEmpty() ? QString() : m_requests.last().text; }
    void Clear() { m_requests.clear(); }

private:
    std::deque<core::ui::MessageAnswer> m_answers;
    QList<core::ui::MessageRequest> m_requests;
    core::ui::MessageHandler m_previous;
};

/// Stands in for the file dialogs while it lives: records every request and
/// answers with the next queued path or Cancel. An empty queue fails
/// the current test and cancels.
class FileDialogAnswers
{
public:
    FileDialogAnswers();
    ~FileDialogAnswers();
    FileDialogAnswers(const FileDialogAnswers&) = delete;
    FileDialogAnswers& operator=(const FileDialogAnswers&) = delete;

    void Answer(const QString& path) { m_answers.push_back({true, path}); }
    void Cancel() { m_answers.push_back({false, QString()}); }
    const QList<core::ui::FileDialogRequest>& Requests() const { return m_requests; }

private:
    std::deque<std::pair<bool, QString>> m_answers; ///< false: Cancel
    QList<core::ui::FileDialogRequest> m_requests;
    core::ui::FileDialogHandler m_previous;
};

/// Answers the next modal dialog or pop-up menu while it lives: handle gets it
/// as soon as it shows and may check it with QVERIFY and QCOMPARE. Whatever
/// handle leaves open, after a failed check too, is closed, so that a test
/// never hangs in the widget's event loop. The current test fails when no
/// such widget shows within timeoutMs or before the answer is destroyed;
/// `QVERIFY(answer.Answered())` after the command stops the test there.
///
///     test::ModalAnswer answer([](QWidget& modal) { ... });
///     QVERIFY(frame->Execute(id));
///     QVERIFY(answer.Answered());
class ModalAnswer
{
public:
    explicit ModalAnswer(std::function<void(QWidget& modal)> handle, int timeoutMs = 10000);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    /// True once handle ran to its end without a failed check.
    bool Answered() const { return m_answered; }

private:
    void poll();

    std::function<void(QWidget&)> m_handle;
    QTimer m_poll;
    QElapsedTimer m_clock;
    int m_timeoutMs;
    bool m_shown = false;
    bool m_answered = false;
};

/// Sets an environment variable for its lifetime (a null value unsets it) and
/// then restores what was there.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const QByteArray& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    QByteArray m_name;
    QByteArray m_previous;
    bool m_had = false;
};

/// A fresh directory with the registry store pointed into it: $QUORIN_REGISTRY
/// is set for the object's life, so nothing touches the user's own files.
/// $XDG_DATA_HOME points into it too, so that the user-data directory of a
/// program started without a registry value is its "quorin" folder
/// (DataDirectory()); that folder holds an empty settings file, so that tests
/// start from the built-in settings rather than the starter file.
class TestHome
{
public:
    TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    QString Path(const QString& name = QString()) const;
    QString RegistryPath() const { return Path(QStringLiteral("registry.ini")); }
    QString DataDirectory() const { return Path(QStringLiteral("quorin")); }
    /// Creates a subdirectory and returns its path.
    QString MakeDirectory(const QString& name) const;

private:
    QTemporaryDir m_dir;
    ScopedEnvironment m_registry;
    ScopedEnvironment m_dataHome;
};

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

/// A fixture file under tests/data; fails the current test when missing.
QString DataPath(const QString& relative);

/// The text of a PDF file through pdftotext (-layout); fails the current test
/// when the tool is missing or fails.
QString PdfText(const QString& pdfPath);

} // namespace quorin::test
