#pragma once

#include "platform/reportengine/ReportLayout.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <QRectF>

#include <map>
#include <optional>

// The page of the designer: the paper at a zoom, with rulers in millimetres along the top and the left, the
// margins, the snap grid, the label grid of label projects and the objects of the current layer (those of
// the every-page layer shown faintly under the others). Objects are selected with the mouse (Ctrl adds or
// removes one, a drag over empty paper selects what it covers), moved by dragging and resized by their
// handles; a gesture becomes one step of the document when the mouse is released.
namespace jornix {

class LayoutDocument;

class LayoutCanvas : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit LayoutCanvas(LayoutDocument& document, QWidget* parent = nullptr);

    double Zoom() const { return zoom_; } // 1 = actual size
    void SetZoom(double zoom);
    // The zoom at which the paper's width fills the view.
    double FitWidthZoom() const;
    bool SnapToGrid() const { return snap_; }
    void SetSnapToGrid(bool snap);
    static constexpr double GridStep = 2.5; // millimetres

    // Where the objects' positions count from on the paper (the printable area, or the first label).
    QPointF Origin() const;
    // The rectangle an object takes, tables with their lines, in millimetres from the origin.
    static QRectF Bounds(const LayoutObject& object);
    // The topmost object of the current layer at a point (millimetres from the origin), or -1.
    int ObjectAt(QPointF at) const;
    // Millimetres from the origin to pixels of the viewport and back.
    QPointF ToView(QPointF at) const;
    QPointF FromView(QPointF at) const;
    double Scale() const; // pixels per millimetre

    double Snapped(double value) const;

    // Where picture files named without a folder are found: the layout's folder.
    void SetPictureFolder(const QString& folder);

signals:
    void ZoomChanged(double zoom);
    void CursorMoved(QPointF at);    // millimetres from the origin
    void ObjectActivated(int index); // double-click

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Drag
    {
        None,
        Move,
        Resize,
        Band
    };
    void UpdateScrollBars();
    void PaintObject(QPainter& painter, const LayoutObject& object, bool faint) const;
    void PaintTable(QPainter& painter, const LayoutObject& object, const QRectF& bounds) const;
    // The resize handle under a viewport point: the index of the selected object, or -1.
    int HandleAt(QPointF view) const;
    QRectF HandleRect(const QRectF& bounds) const;
    QList<QRectF> DraggedFrames() const;
    QImage Picture(const QString& file) const;

    friend class LayoutRuler;
    LayoutDocument& document_;
    double zoom_ = 1;
    bool snap_ = true;
    QWidget* topRuler_;
    QWidget* leftRuler_;

    Drag drag_ = Drag::None;
    QPointF pressedAt_; // millimetres
    QPointF draggedTo_;
    int lead_ = -1; // the object pressed, which snaps to the grid
    QList<QRectF> startFrames_;
    std::optional<QPointF> cursor_;
    QString pictureFolder_;
    mutable std::map<QString, QImage> pictures_;
};

} // namespace jornix
