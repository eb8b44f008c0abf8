#pragma once

#include "core/PropertyRecord.h"
#include "core/Settings.h"
#include "core/ui/QtText.h"
#include "shell/ui/COptionsPropSheet.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quorin::core::ui {
class Application;
}

namespace quorin::shell::ui {

/// "Create new directory": one field "Name".
class CNewDirDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CNewDirDialog(QWidget* parent = nullptr);
    /// The name typed, whole.
    QString Name() const;

private:
    QLineEdit* m_name = nullptr;
};

/// "Directories": browses the working directory ("Working folder") or the
/// directory of the settings file ("Settings folder"). Confirmed, the first
/// becomes the working directory; the second receives the settings file, and
/// the program starts again with it.
class CWorkDirPage : public CPreferencePage
{
    Q_OBJECT

public:
    explicit CWorkDirPage(core::ui::Application& app, QWidget* parent = nullptr);

    /// The directory on show.
    std::filesystem::path Browsed() const;
    /// Enters a directory: lists it ("Could not retrieve directory info!" when
    /// it cannot be listed, and nothing changes) and marks the page modified.
    bool Enter(const std::filesystem::path& directory);
    bool MovesSettings() const;

    void Collect(PreferenceChanges& changes) override;

    enum class MoveOutcome
    {
        Nothing, ///< no move asked for, or the same directory
        Failed,  ///< said so; the old directory stays in use
        Restart, ///< the settings live in the new directory from now on
    };
    /// The "Settings folder" confirmation: asks whether the settings file is to
    /// be copied (or to replace the one there); a copy is read back and
    /// compared before the new directory is recorded and the old file removed.
    MoveOutcome MoveSettings();

private:
    int mode() const;
    bool list(const std::filesystem::path& directory);
    void createDirectory();

    core::ui::Application& m_app;
    /// The directories browsed for the working folder and the settings folder.
    std::array<std::filesystem::path, 2> m_browsed;
    QLabel* m_current = nullptr;
    QListWidget* m_list = nullptr;
    QRadioButton* m_userData = nullptr;
    QRadioButton* m_userProfiles = nullptr;
};

/// "Helical Wheel Options": the residue colours, the label font, the colour
/// and number switches and the line width of the wheels.
class CWheelPropertiesPage : public CPreferencePage
{
    Q_OBJECT

public:
    explicit CWheelPropertiesPage(const core::AppSettings& settings, QWidget* parent = nullptr);

    void Collect(PreferenceChanges& changes) override;

private:
    void showColour();
    void chooseColour();
    void chooseFont();
    void allToDefault();
    int residue() const;

    PreferenceChanges::Wheel m_wheel;
    QListWidget* m_residues = nullptr;
    QPushButton* m_swatch = nullptr;
    QCheckBox* m_useColours = nullptr;
    QCheckBox* m_numbers = nullptr;
    QLineEdit* m_lineWidth = nullptr;
};

/// "Output Options": the font size of hard copies and the line width of
/// drawings. A size typed outside its range, or with a character other than a
/// digit, is set back at once to the last one accepted.
class CFontSizePage : public CPreferencePage
{
    Q_OBJECT

public:
    explicit CFontSizePage(const core::AppSettings& settings, QWidget* parent = nullptr);

    void Collect(PreferenceChanges& changes) override;

private:
    PreferenceChanges::Output m_output;
    QLineEdit* m_fontSize = nullptr;
    QLineEdit* m_lineWidth = nullptr;
};

/// "Download": the E-utilities server and the time limit of each request,
/// used from the next download on. The server must be an http or https
/// address (an empty field: NCBI's); the limit 1 to 86400 seconds.
class CDownloadPage : public CPreferencePage
{
    Q_OBJECT

public:
    explicit CDownloadPage(const core::ProfileFile& settings, QWidget* parent = nullptr);

    bool CheckShown() override;
    void Collect(PreferenceChanges& changes) override;

private:
    QLineEdit* m_server = nullptr;
    QLineEdit* m_timeout = nullptr;
    QLineEdit* m_uniProtServer = nullptr;
};

/// "Define pKa Values": the nine ionisable groups.
class CEditpKaPage : public CPreferencePage
{
    Q_OBJECT

public:
    explicit CEditpKaPage(const core::PropertyRecord& record, QWidget* parent = nullptr);

    bool CheckShown() override;
    void Collect(PreferenceChanges& changes) override;

private:
    bool store();
    void show(int group);

    core::ResidueTable m_pKa;
    core::ResidueTable m_default;
    int m_current = 0;
    QString m_shownText;
    QListWidget* m_groups = nullptr;
    QLineEdit* m_value = nullptr;
};

/// The list pages: a list of entries and the fields of the one on show. The
/// shown entry is checked and stored when the selection moves, on "&New" and
/// on confirmation; a refused entry keeps the selection and the focus.
class CListPage : public CPreferencePage
{
    Q_OBJECT

public:
    using CPreferencePage::CPreferencePage;

    bool CheckShown() override;

protected:
    enum class Moment
    {
        Selection,
        New,
        Delete,
        Confirm,
    };

    /// Makes the list, "&New" and "&Delete" behave; call once the widgets exist.
    void connectList(QListWidget* list, QPushButton* newButton, QPushButton* deleteButton);
    /// Fills the list and shows the entry at row (none when the list is empty).
    void refill(int row);
    int current() const { return m_current; }

    virtual int count() const = 0;
    virtual QString nameOf(int row) const = 0;
    virtual void showEntry(int row) = 0;
    /// Checks the fields of the entry at m_current and stores them; false
    /// after refuse().
    virtual bool storeShown(Moment moment) = 0;
    virtual void appendNew() = 0;
    virtual void removeAt(int row) = 0;
    /// What deleting the last entry leaves (a new entry for agents and scales).
    virtual void afterLastDeleted() {}
    /// Whether "&Delete" checks the shown entry first.
    virtual bool checksBeforeDelete() const { return false; }

private:
    void selectionChanged(int row);
    void addNew();
    void deleteShown();

    QListWidget* m_list = nullptr;
    int m_current = -1;
    bool m_filling = false;
};

/// A list page over a vector of named entries (agents, modifications,
/// scales): the list shows their names; "&New" appends newEntry.
template <class Entry>
class CEntryListPage : public CListPage
{
public:
    CEntryListPage(const QString& title, const QString& helpKey, std::vector<Entry> entries,
                   Entry newEntry, QWidget* parent)
        : CListPage(title, helpKey, parent), m_entries(std::move(entries)),
          m_newEntry(std::move(newEntry))
    {}

protected:
    int count() const override { return static_cast<int>(m_entries.size()); }
    QString nameOf(int row) const override
    {
        return core::ui::ToQString(m_entries[static_cast<std::size_t>(row)].name);
    }
    void appendNew() override { m_entries.push_back(m_newEntry); }
    void removeAt(int row) override { m_entries.erase(m_entries.begin() + row); }

    std::vector<Entry> m_entries;

private:
    Entry m_newEntry;
};

/// "Edit Cleaving Agents".
class CEditProteases : public CEntryListPage<core::ENZYME>
{
    Q_OBJECT

public:
    explicit CEditProteases(const core::PropertyRecord& record, QWidget* parent = nullptr);
    void Collect(PreferenceChanges& changes) override;

private:
    void showEntry(int row) override;
    bool storeShown(Moment moment) override;
    void afterLastDeleted() override { appendNew(); }

    QLineEdit* m_name = nullptr;
    QLineEdit* m_specificity = nullptr;
};

/// "Edit Modifications".
class CEditModificationsPage : public CEntryListPage<core::MODIFICATION>
{
    Q_OBJECT

public:
    explicit CEditModificationsPage(const core::PropertyRecord& record, QWidget* parent = nullptr);
    void Collect(PreferenceChanges& changes) override;

private:
    void showEntry(int row) override;
    bool storeShown(Moment moment) override;

    QString m_shownWeight;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_specificity = nullptr;
    QLineEdit* m_weight = nullptr;
};

/// "Edit Hydropathy Scales": the scales and the 22 values of the one on show.
class CEditPathyScalePage : public CEntryListPage<core::HYDROPATHYSCALE>
{
    Q_OBJECT

public:
    explicit CEditPathyScalePage(const core::PropertyRecord& record, QWidget* parent = nullptr);
    void Collect(PreferenceChanges& changes) override;

private:
    void showEntry(int row) override;
    bool storeShown(Moment moment) override;
    void afterLastDeleted() override { appendNew(); }
    bool checksBeforeDelete() const override { return true; }

    /// Checks the value field and stores it for the residue on show.
    bool storeValue(const std::string& message);
    void residueChanged(int row);
    void showValue();

    int m_residue = 0;
    QString m_shownValue;
    QListWidget* m_residues = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_value = nullptr;
};

} // namespace quorin::shell::ui
