#pragma once

#include <QObject>

#include <cstddef>
#include <string>
#include <vector>

class QAbstractButton;
class QListWidget;

namespace quorin::analysis::ui {

/// The "available / chosen" pair of lists of a dialog (the digest's agents,
/// ModFinder's modifications): it fills the available list with the names,
/// Select appends the current available entry to the chosen list and makes
/// it current there, Unselect removes the current chosen entry. A name is
/// chosen once: an entry whose stored name is already chosen does not enter
/// again, and the chosen keep the order they were chosen in. Names compare
/// as stored, whatever their encoding. Each dialog lays the widgets out as
/// its own, so the chooser takes them as the dialog made them.
class TwoListChooser : public QObject
{
    Q_OBJECT

public:
    TwoListChooser(std::vector<std::string> names, QListWidget& available, QListWidget& chosen,
                   QAbstractButton& select, QAbstractButton& unselect);

    void Select();
    void Unselect();

    /// The chosen entries' places in the names, in the order chosen.
    std::vector<std::size_t> ChosenIndices() const;
    /// The chosen entries' names as stored, in the order chosen.
    std::vector<std::string> ChosenNames() const;

private:
    std::vector<std::string> m_names;
    QListWidget& m_available;
    QListWidget& m_chosen;
};

} // namespace quorin::analysis::ui
