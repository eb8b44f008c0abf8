#include "shell/ui/HelpWindow.h"

#include "shell/WindowKinds.h"
#include "shell/ui/WindowFactories.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>
#include <string_view>
#include <vector>

namespace quorin::shell::ui {
namespace {

/// The program's own topics; each window kind registers those of its window
/// and dialogs.
constexpr std::array<HelpPage, 11> kTopics = {{
    {HelpWindow::kContents, "index.html"},
    {HelpWindow::kUsingHelp, "using-help.html"},
    {"PREFERENCES", "preferences.html"},
    {"PREFERENCES DIRECTORIES", "prefs-directories.html"},
    {"PREFERENCES HELICAL WHEEL", "prefs-wheel.html"},
    {"PREFERENCES AGENTS", "prefs-agents.html"},
    {"PREFERENCES PKA", "prefs-pka.html"},
    {"PREFERENCES OUTPUT", "prefs-output.html"},
    {"PREFERENCES MODIFICATIONS", "prefs-modifications.html"},
    {"PREFERENCES SCALES", "prefs-scales.html"},
    {"PREFERENCES DOWNLOAD", "prefs-download.html"},
}};

/// Every topic: the window kinds' in their order, then the program's.
std::vector<HelpPage> allTopics()
{
    RegisterWindowKinds();
    std::vector<HelpPage> topics;
    for (const WindowKindInfo& info : AllWindowKinds()) {
        topics.insert(topics.end(), info.help.begin(), info.help.end());
    }
    topics.insert(topics.end(), kTopics.begin(), kTopics.end());
    return topics;
}

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quorin Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpText"));
    m_browser->setOpenLinks(true);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(QStringLiteral("Quorin Help - ") + CurrentTitle()); });
    resize(560, 480);
}

QString HelpWindow::TopicFile(const QString& keyword)
{
    for (const auto& [key, file] : allTopics()) {
        if (keyword.compare(fromView(key), Qt::CaseInsensitive) == 0) {
            return QStringLiteral(":/help/") + fromView(file);
        }
    }
    return {};
}

QStringList HelpWindow::Keywords()
{
    QStringList keywords;
    for (const HelpPage& topic : allTopics()) {
        keywords.append(fromView(topic.keyword));
    }
    return keywords;
}

void HelpWindow::ShowTopic(const QString& keyword)
{
    QString file = TopicFile(keyword);
    m_keyword = keyword;
    if (file.isEmpty()) {
        file = TopicFile(QLatin1String(kContents));
        m_keyword = QLatin1String(kContents);
    }
    m_browser->setSource(QUrl(QStringLiteral("qrc") + file));
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowContents()
{
    ShowTopic(QLatin1String(kContents));
}

QString HelpWindow::CurrentTitle() const
{
    return m_browser->documentTitle();
}

} // namespace quorin::shell::ui
