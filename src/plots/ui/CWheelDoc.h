#pragma once

#include "plots/Wheel.h"
#include "plots/ui/PageDocument.h"

namespace quorin::plots::ui {

/// One helical wheel: the page of an entry of the record's wheel list, and the
/// commands that change it. The sequence's bookkeeping keeps the index in
/// step when an earlier wheel closes (SetIndex). The wheel carries no marks or
/// text items.
class CWheelDoc : public PageDocument
{
    Q_OBJECT

public:
    /// The wheel at index of record.plots.wheels; serial counts the wheels
    /// opened on the sequence, this one included.
    CWheelDoc(core::PropertyRecord& record, int index, int serial, QObject* parent = nullptr);
    /// Says closing() while the wheel is still whole.
    ~CWheelDoc() override;

    int Index() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    int Serial() const { return m_serial; }
    core::WHEELPLOT& Wheel();
    const core::WHEELPLOT& Wheel() const;

    PageSource Source() override;
    QString PrintJobName() const override;
    bool CarriesItems() const override { return false; }
    int TextItemAt(QPoint) const override { return -1; }
    int MarkAt(QPoint) const override { return -1; }

    /// "Helical Wheel Display of residues 44-61 of name".
    QString Caption() const;

    /// "Zoom &In" and "Zoom &Out".
    void ZoomIn();
    void ZoomOut();
    /// "&Color" and "&Numbers": the record's flags, which every wheel of the
    /// sequence draws with.
    bool UsesColours() const { return m_record.wheelColorCode != 0; }
    bool ShowsNumbers() const { return m_record.wheelNumbers != 0; }
    void ToggleColours();
    void ToggleNumbers();

    /// "Amphipathy Moment = ..." for the shown stretch in the current scale.
    QString MomentText() const;
    /// "&Amphipathy Moment": the moment in a message box captioned "Result".
    void ShowMoment();

    /// "&Modify displayed part of sequence...": CWheelDialog on from and to;
    /// OK shows the new stretch. Returns whether it was confirmed.
    bool ModifyDisplayedPart(QWidget* parent);

signals:
    /// The wheel goes: its entry is to leave the record's list.
    void closing();

private:
    core::PropertyRecord& m_record;
    int m_index;
    int m_serial;
};

} // namespace quorin::plots::ui
