#pragma once

#include "core/FileIo.h"

#include <QPaintDevice>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdio>
#include <memory>

namespace quorin::plots::ui {

class EmfPaintEngine;

/// A paint device that records what a QPainter draws as an enhanced metafile
/// (*.emf) through libEMF: lines, polylines, polygons, rectangles, paths (as
/// polygons), texts with their fonts, and images.
///
/// The painter's logical units are the page's pixels (pageSize); the metafile
/// maps them onto its frame, so the picture is upright and frame-sized in any
/// reader. The file is written beside the target and renamed over it by
/// finish(), so a failed recording leaves an existing file alone.
class EmfPaintDevice : public QPaintDevice
{
public:
    /// frame is in hundredths of a millimetre; description holds the creator
    /// and the title, stored NUL-separated as metafile descriptions are.
    EmfPaintDevice(const QString& path, QSize pageSize, QRect frame, const QString& creator,
                   const QString& title);
    ~EmfPaintDevice() override;
    EmfPaintDevice(const EmfPaintDevice&) = delete;
    EmfPaintDevice& operator=(const EmfPaintDevice&) = delete;

    /// False when the metafile could not be created; nothing is drawn then.
    bool isValid() const;

    /// Closes the metafile and moves it to its path. Painting must have ended.
    /// Returns false when nothing was written (errorString() says why).
    bool finish();

    /// Why the metafile could not be created or written: the file (or the
    /// folder it is made in) and the reason ("/tmp/page.emf: No space left
    /// on device").
    QString errorString() const;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QString m_path;
    QString m_temporary;
    std::FILE* m_file = nullptr;
    QString m_error;
    /// The temporary file goes with the process should a signal end it.
    std::unique_ptr<core::RemovedOnSignal> m_temporaryOnSignal;
    QSize m_pageSize;
    QRect m_frame;
    std::unique_ptr<EmfPaintEngine> m_engine;
    bool m_finished = false;
};

/// The frame of a metafile of a page shown at pageSize pixels on a screen of
/// screenPixels and screenMillimetres: each coordinate times (millimetres x
/// 100) / pixels, integer divisions.
QRect MetafileFrame(QSize pageSize, QSize screenPixels, QSize screenMillimetres);

/// The screen a page is assumed to be shown on when there is none (the
/// command line): 1920 x 1080 pixels at 96 per inch.
QSize NominalScreenPixels();
QSize NominalScreenMillimetres();

} // namespace quorin::plots::ui
