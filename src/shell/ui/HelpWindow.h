#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace quorin::shell::ui {

/// The help window: the program's own short topics, opened by keyword. One
/// window shows one topic at a time; links move between topics.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    /// The keywords of the index and of the page about the help window.
    static constexpr const char* kContents = "CONTENTS";
    static constexpr const char* kUsingHelp = "USING HELP";

    explicit HelpWindow(QWidget* parent = nullptr);

    /// The resource file of a keyword's topic (keywords are compared without
    /// case); empty for an unknown keyword.
    static QString TopicFile(const QString& keyword);
    /// Every keyword that has a topic.
    static QStringList Keywords();

    /// Shows the window with the keyword's topic; an unknown keyword shows the
    /// index.
    void ShowTopic(const QString& keyword);
    void ShowContents();

    /// The keyword shown last and the topic's title.
    QString CurrentKeyword() const { return m_keyword; }
    QString CurrentTitle() const;

private:
    QTextBrowser* m_browser = nullptr;
    QString m_keyword;
};

} // namespace quorin::shell::ui
