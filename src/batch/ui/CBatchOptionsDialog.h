#pragma once

#include "batch/BatchOptions.h"
#include "core/ProfileFile.h"
#include "core/PropertyRecord.h"

#include <QDialog>

#include <utility>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace quorin::batch::ui {

/// "Batch Options": what a batch computes and writes. Opens with the stored
/// "Batch Execution Options"; "Pr&oceed" checks the threshold ("0123456789.-"
/// only), takes the options and writes every key; "Batch digest" does the same
/// for a digest run when the record has cleaving agents. Each control's
/// objectName is its resource number ("check335", "radio100", "scales306",
/// "threshold300").
class CBatchOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    CBatchOptionsDialog(core::ProfileFile& settings, const core::PropertyRecord& record,
                        QWidget* parent = nullptr);

    /// After Proceed or Batch digest: the options taken (batchDigest set by
    /// the Batch digest button).
    const BatchOptions& Options() const { return m_options; }

    void accept() override;

private:
    void batchDigest();
    bool take();

    core::ProfileFile& m_settings;
    const core::PropertyRecord& m_record;
    BatchOptions m_options;
    std::vector<std::pair<bool BatchOptions::*, QCheckBox*>> m_checks;
    QListWidget* m_scales = nullptr;
    QLineEdit* m_threshold = nullptr;
    QRadioButton* m_noLog = nullptr;
    QRadioButton* m_defaultLog = nullptr;
    QRadioButton* m_customLog = nullptr;
    QRadioButton* m_defaultResults = nullptr;
    QRadioButton* m_customResults = nullptr;
};

} // namespace quorin::batch::ui
