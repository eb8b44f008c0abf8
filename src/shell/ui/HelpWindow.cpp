#include "shell/ui/HelpWindow.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace quorin::shell::ui {
namespace {

/// The keywords the windows and dialogs open, and the topic of each.
constexpr std::array<std::pair<const char*, const char*>, 26> kTopics = {{
    {"QUORIN", "quorin.html"},
    {HelpWindow::kContents, "index.html"},
    {HelpWindow::kUsingHelp, "using-help.html"},
    {"CONTENT", "sequence-editor.html"},
    {"PHYSICO-CHEMICAL PROPERTIES WINDOW", "physchem.html"},
    {"SELECT CLEAVAGE ^ BOX", "cleavage-dialog.html"},
    {"SEQUENCE-SPECIFIC CLEAVAGE WINDOW", "digest.html"},
    {"MODFINDER DIALOG", "modfinder-dialog.html"},
    {"POSTTRANSLATIONAL MODIFICATIONS WINDOW", "modfinder.html"},
    {"SEQUENCE MOTIF SEARCH", "motif-dialog.html"},
    {"Sequence Motif Search Window", "motifs.html"},
    {"HYDROPATHY PLOT", "hydropathy.html"},
    {"AMPHYPATHIC HELICAL MOMENT PROPERTIES", "amphipathy.html"},
    {"HELICAL WHEEL PROPERTIES BOX", "wheel-dialog.html"},
    {"HELICAL WHEEL WINDOW", "wheel.html"},
    {"DOMAIN STRUCTURE SKETCH", "sketch.html"},
    {"TITRATION CURVE", "titration.html"},
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
    for (const auto& [key, file] : kTopics) {
        if (keyword.compare(QLatin1String(key), Qt::CaseInsensitive) == 0) {
            return QStringLiteral(":/help/") + QLatin1String(file);
        }
    }
    return {};
}

QStringList HelpWindow::Keywords()
{
    QStringList keywords;
    for (const auto& [key, file] : kTopics) {
        keywords.append(QLatin1String(key));
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
