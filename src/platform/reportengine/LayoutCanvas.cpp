#include "platform/reportengine/LayoutCanvas.h"

#include "platform/reportengine/Barcode.h"
#include "platform/reportengine/LayoutDocument.h"

#include <QDir>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace jornix {

namespace {

constexpr int RulerSize = 24;    // pixels
constexpr int PagePadding = 24;  // pixels of grey around the paper
constexpr double HandleSize = 7; // pixels
constexpr double PointInMillimetres = 25.4 / 72;
constexpr std::size_t MaxRepeatedLabels = 200;

double LineHeight(const TextStyle& style)
{
    return style.pointSize * PointInMillimetres * 1.25 + 1.2;
}

double TableLineHeight(const std::vector<TableLine>& lines)
{
    double height = 0;
    for (const TableLine& line : lines) {
        double tallest = LineHeight(TextStyle());
        for (const TableCell& cell : line.cells)
            tallest = std::max(tallest, LineHeight(cell.style));
        height += tallest;
    }
    return height;
}

QFont FontOf(const TextStyle& style, double scale)
{
    QFont font(style.fontFamily);
    // Points to pixels at this zoom: a point is 25.4/72 mm.
    font.setPixelSize(std::max(1, int(std::lround(style.pointSize * PointInMillimetres * scale))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    return font;
}

Qt::Alignment AlignmentOf(TextAlignment alignment)
{
    switch (alignment) {
    case TextAlignment::Centre:
        return Qt::AlignHCenter;
    case TextAlignment::Right:
        return Qt::AlignRight;
    case TextAlignment::Justify:
        return Qt::AlignJustify;
    case TextAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

// A ruler in millimetres along one side of the page, following the scrolling and marking the mouse.
class LayoutRuler : public QWidget
{
public:
    LayoutRuler(LayoutCanvas& canvas, Qt::Orientation orientation)
        : QWidget(&canvas), canvas_(canvas), orientation_(orientation)
    {
        setObjectName(orientation == Qt::Horizontal ? QStringLiteral("topRuler")
                                                    : QStringLiteral("leftRuler"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        painter.setPen(palette().color(QPalette::Mid));
        const bool across = orientation_ == Qt::Horizontal;
        if (across)
            painter.drawLine(0, height() - 1, width(), height() - 1);
        else
            painter.drawLine(width() - 1, 0, width() - 1, height());
        QFont font = painter.font();
        font.setPixelSize(9);
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::WindowText));
        const double scale = canvas_.Scale();
        // The ruler counts from where the objects' positions count (the printable area, the first label), as
        // the properties do; the view starts RulerSize pixels into the canvas.
        const QPointF corner = canvas_.ToView(QPointF(0, 0));
        const double start = across ? corner.x() : corner.y();
        const double length = across ? width() - RulerSize : height() - RulerSize;
        const double step = scale >= 3 ? 1 : scale >= 1.5 ? 2 : 5;
        const double labelled = step == 1 ? 10 : step == 2 ? 20 : 50;
        for (double mm = std::floor(-start / scale / step) * step; start + mm * scale <= length; mm += step) {
            const double at = start + mm * scale + RulerSize;
            if (at < RulerSize)
                continue;
            const bool major = std::fmod(std::abs(mm) + 0.001, labelled) < 0.01;
            const bool middle = !major && std::fmod(std::abs(mm) + 0.001, labelled / 2) < 0.01;
            const int tick = major ? RulerSize / 2 : middle ? RulerSize / 3 : RulerSize / 5;
            if (across) {
                painter.drawLine(QPointF(at, height() - tick), QPointF(at, height() - 1));
                if (major)
                    painter.drawText(QPointF(at + 2, 10), QString::number(mm));
            } else {
                painter.drawLine(QPointF(width() - tick, at), QPointF(width() - 1, at));
                if (major)
                    painter.drawText(QRectF(1, at + 1, width() - 3, 12), Qt::AlignLeft | Qt::AlignTop,
                                     QString::number(mm));
            }
        }
        if (canvas_.cursor_) {
            const QPointF mark = canvas_.ToView(*canvas_.cursor_);
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
            if (across)
                painter.drawLine(QPointF(mark.x() + RulerSize, 0), QPointF(mark.x() + RulerSize, height()));
            else
                painter.drawLine(QPointF(0, mark.y() + RulerSize), QPointF(width(), mark.y() + RulerSize));
        }
    }

private:
    LayoutCanvas& canvas_;
    Qt::Orientation orientation_;
};

LayoutCanvas::LayoutCanvas(LayoutDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document)
{
    setObjectName(QStringLiteral("layoutCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setViewportMargins(RulerSize, RulerSize, 0, 0);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    topRuler_ = new LayoutRuler(*this, Qt::Horizontal);
    leftRuler_ = new LayoutRuler(*this, Qt::Vertical);
    connect(&document_, &LayoutDocument::LayoutChanged, this, [this] {
        UpdateScrollBars();
        viewport()->update();
        topRuler_->update();
        leftRuler_->update();
    });
    connect(&document_, &LayoutDocument::SelectionChanged, viewport(), qOverload<>(&QWidget::update));
    connect(&document_, &LayoutDocument::LayerChanged, viewport(), qOverload<>(&QWidget::update));
    UpdateScrollBars();
}

double LayoutCanvas::Scale() const
{
    return zoom_ * logicalDpiX() / 25.4;
}

void LayoutCanvas::SetZoom(double zoom)
{
    zoom = std::clamp(zoom, 0.1, 8.0);
    if (std::abs(zoom - zoom_) < 1e-9)
        return;
    zoom_ = zoom;
    UpdateScrollBars();
    viewport()->update();
    topRuler_->update();
    leftRuler_->update();
    emit ZoomChanged(zoom_);
}

double LayoutCanvas::FitWidthZoom() const
{
    const double width = document_.Layout().paper.width * logicalDpiX() / 25.4;
    return width > 0 ? (viewport()->width() - 2 * PagePadding) / width : 1;
}

void LayoutCanvas::SetSnapToGrid(bool snap)
{
    snap_ = snap;
    viewport()->update();
}

double LayoutCanvas::Snapped(double value) const
{
    return snap_ ? std::round(value / GridStep) * GridStep : std::round(value * 10) / 10;
}

QPointF LayoutCanvas::Origin() const
{
    const ReportLayout& layout = document_.Layout();
    if (layout.projectType == ProjectType::Label)
        return {layout.labels.leftMargin, layout.labels.topMargin};
    return {layout.paper.leftMargin, layout.paper.topMargin};
}

QPointF LayoutCanvas::ToView(QPointF at) const
{
    const double scale = Scale();
    const QPointF origin = Origin();
    return {PagePadding - horizontalScrollBar()->value() + (at.x() + origin.x()) * scale,
            PagePadding - verticalScrollBar()->value() + (at.y() + origin.y()) * scale};
}

QPointF LayoutCanvas::FromView(QPointF at) const
{
    const double scale = Scale();
    const QPointF origin = Origin();
    return {(at.x() - PagePadding + horizontalScrollBar()->value()) / scale - origin.x(),
            (at.y() - PagePadding + verticalScrollBar()->value()) / scale - origin.y()};
}

void LayoutCanvas::UpdateScrollBars()
{
    const PaperSetup& paper = document_.Layout().paper;
    const double scale = Scale();
    const int width = int(paper.width * scale) + 2 * PagePadding;
    const int height = int(paper.height * scale) + 2 * PagePadding;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(20);
}

void LayoutCanvas::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QRect area = contentsRect();
    topRuler_->setGeometry(area.left(), area.top(), area.width(), RulerSize);
    leftRuler_->setGeometry(area.left(), area.top(), RulerSize, area.height());
    topRuler_->raise();
    leftRuler_->raise();
    UpdateScrollBars();
}

void LayoutCanvas::scrollContentsBy(int, int)
{
    viewport()->update();
    topRuler_->update();
    leftRuler_->update();
}

void LayoutCanvas::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        SetZoom(zoom_ * (event->angleDelta().y() > 0 ? 1.25 : 0.8));
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

QRectF LayoutCanvas::Bounds(const LayoutObject& object)
{
    QRectF bounds = object.frame.normalized();
    if (object.kind == ObjectKind::Table && bounds.height() <= 0) {
        const TableContent& table = object.table;
        double height = TableLineHeight(table.headerLines) + TableLineHeight(table.groupHeaderLines) +
                        TableLineHeight(table.dataLines) + TableLineHeight(table.footerLines);
        bounds.setHeight(std::max(height, 6.0));
    }
    if (object.kind == ObjectKind::Table && object.frame.width() <= 0) {
        double width = 0;
        for (const TableColumn& column : object.table.columns)
            width += column.width;
        bounds.setWidth(std::max(width, 20.0));
    }
    return bounds;
}

int LayoutCanvas::ObjectAt(QPointF at) const
{
    const std::vector<LayoutObject>& objects = document_.Objects();
    const double slack = 4 / Scale(); // a few pixels around thin objects
    for (int index = int(objects.size()) - 1; index >= 0; --index) {
        const QRectF bounds = Bounds(objects[std::size_t(index)]).adjusted(-slack, -slack, slack, slack);
        if (bounds.contains(at))
            return index;
    }
    return -1;
}

QRectF LayoutCanvas::HandleRect(const QRectF& bounds) const
{
    const QPointF corner = ToView(bounds.bottomRight());
    return {corner.x() - HandleSize / 2, corner.y() - HandleSize / 2, HandleSize, HandleSize};
}

int LayoutCanvas::HandleAt(QPointF view) const
{
    for (int index : document_.Selection())
        if (HandleRect(Bounds(document_.Objects()[std::size_t(index)])).adjusted(-2, -2, 2, 2).contains(view))
            return index;
    return -1;
}

QList<QRectF> LayoutCanvas::DraggedFrames() const
{
    QList<QRectF> frames = startFrames_;
    const QList<int>& selection = document_.Selection();
    const qsizetype lead = std::max<qsizetype>(selection.indexOf(lead_), 0);
    if (frames.isEmpty() || frames.size() != selection.size())
        return frames;
    const QPointF by = draggedTo_ - pressedAt_;
    if (drag_ == Drag::Move) {
        // The object pressed snaps; the others keep their distance from it.
        const QPointF moved = frames[lead].topLeft() + by;
        const QPointF offset = QPointF(Snapped(moved.x()), Snapped(moved.y())) - frames[lead].topLeft();
        for (QRectF& frame : frames)
            frame.translate(offset);
    } else if (drag_ == Drag::Resize) {
        QRectF& frame = frames[lead];
        const bool flat = document_.Objects()[std::size_t(lead_)].kind == ObjectKind::Line;
        const double minimum = flat ? 0 : LayoutDocument::MinimumSize;
        frame.setRight(std::max(frame.left() + minimum, Snapped(frame.right() + by.x())));
        frame.setBottom(std::max(frame.top() + minimum, Snapped(frame.bottom() + by.y())));
    }
    return frames;
}

void LayoutCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // The context menu acts on the object under the mouse, selected with the others when it is.
        const int index = ObjectAt(FromView(event->position()));
        if (index >= 0 && !document_.Selection().contains(index))
            document_.Select({index});
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    setFocus();
    const QPointF at = FromView(event->position());
    pressedAt_ = draggedTo_ = at;
    drag_ = Drag::None;
    if (const int handle = HandleAt(event->position()); handle >= 0) {
        drag_ = Drag::Resize;
        lead_ = handle;
    } else if (const int index = ObjectAt(at); index >= 0) {
        QList<int> selection = document_.Selection();
        if (event->modifiers() & Qt::ControlModifier) {
            if (selection.contains(index))
                selection.removeAll(index);
            else
                selection << index;
            document_.Select(selection);
            return;
        }
        if (!selection.contains(index))
            document_.Select({index});
        drag_ = Drag::Move;
        lead_ = index;
    } else {
        if (!(event->modifiers() & Qt::ControlModifier))
            document_.Select({});
        drag_ = Drag::Band;
    }
    startFrames_.clear();
    for (int selected : document_.Selection())
        startFrames_ << document_.Objects()[std::size_t(selected)].frame;
}

void LayoutCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = FromView(event->position());
    cursor_ = at;
    emit CursorMoved(at);
    topRuler_->update();
    leftRuler_->update();
    if (drag_ == Drag::None) {
        const bool overHandle = HandleAt(event->position()) >= 0;
        viewport()->setCursor(overHandle          ? Qt::SizeFDiagCursor
                              : ObjectAt(at) >= 0 ? Qt::SizeAllCursor
                                                  : Qt::ArrowCursor);
        return;
    }
    draggedTo_ = at;
    viewport()->update();
}

void LayoutCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || drag_ == Drag::None)
        return;
    const Drag drag = std::exchange(drag_, Drag::None);
    draggedTo_ = FromView(event->position());
    if (drag == Drag::Band) {
        const QRectF band = QRectF(pressedAt_, draggedTo_).normalized();
        QList<int> selection =
            (event->modifiers() & Qt::ControlModifier) ? document_.Selection() : QList<int>();
        for (int index = 0; index < int(document_.Objects().size()); ++index)
            if (band.contains(Bounds(document_.Objects()[std::size_t(index)])))
                selection << index;
        document_.Select(selection);
        viewport()->update();
        return;
    }
    if (QLineF(ToView(pressedAt_), ToView(draggedTo_)).length() < 3) {
        viewport()->update();
        return;
    }
    drag_ = drag;
    const QList<QRectF> frames = DraggedFrames();
    drag_ = Drag::None;
    document_.SetFrames(frames, drag == Drag::Move ? QStringLiteral("Move") : QStringLiteral("Resize"));
}

void LayoutCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int index = ObjectAt(FromView(event->position()));
    if (index >= 0)
        emit ObjectActivated(index);
}

void LayoutCanvas::SetPictureFolder(const QString& folder)
{
    pictureFolder_ = folder;
    pictures_.clear();
    viewport()->update();
}

QImage LayoutCanvas::Picture(const QString& file) const
{
    // Files are read once; one that cannot be read is not tried again at every paint.
    if (const auto found = pictures_.find(file); found != pictures_.end())
        return found->second;
    QImageReader reader(QDir(pictureFolder_).absoluteFilePath(file));
    reader.setAutoTransform(true);
    // A picture of a size that no page needs is not read whole.
    if (const QSize size = reader.size(); size.isValid() && (size.width() > 4000 || size.height() > 4000))
        reader.setScaledSize(size.scaled(4000, 4000, Qt::KeepAspectRatio));
    QImage picture = reader.read();
    if (pictures_.size() > 64)
        pictures_.clear();
    pictures_.emplace(file, picture);
    return picture;
}

void LayoutCanvas::keyPressEvent(QKeyEvent* event)
{
    // Escape lets go of the selection first; with nothing selected it asks the window to close.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        !document_.Selection().isEmpty()) {
        document_.Select({});
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void LayoutCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), QColor(0x8a, 0x8f, 0x96));
    painter.setRenderHint(QPainter::Antialiasing);
    const ReportLayout& layout = document_.Layout();
    const double scale = Scale();
    const QPointF corner = ToView(-Origin());
    const QRectF paper(corner, QSizeF(layout.paper.width * scale, layout.paper.height * scale));
    painter.fillRect(paper.translated(4, 4), QColor(0, 0, 0, 60));
    painter.fillRect(paper, Qt::white);

    // Only what is in view is drawn, so that a sheet of any size costs no more than the window.
    const QRectF shown = QRectF(viewport()->rect()).intersected(paper);
    // The snap grid, counted from where positions count, only where its dots stay apart.
    if (snap_ && GridStep * scale >= 6 && !shown.isEmpty()) {
        painter.setPen(QPen(QColor(0xc8, 0xcc, 0xd4), 1));
        const QPointF from = FromView(shown.topLeft()), to = FromView(shown.bottomRight());
        for (double x = std::ceil(from.x() / GridStep) * GridStep; x <= to.x(); x += GridStep)
            for (double y = std::ceil(from.y() / GridStep) * GridStep; y <= to.y(); y += GridStep)
                painter.drawPoint(ToView(QPointF(x, y)));
    }
    // The printable area, or the labels of the sheet. The objects are edited on the first label and shown
    // faintly on the others in view.
    std::vector<QPointF> repeats;
    painter.setPen(QPen(QColor(0x5b, 0x8d, 0xd9), 1, Qt::DashLine));
    if (layout.projectType == ProjectType::Label) {
        const LabelGrid& grid = layout.labels;
        const double across = grid.horizontalPitch > 0 ? grid.horizontalPitch : grid.labelWidth;
        const double down = grid.verticalPitch > 0 ? grid.verticalPitch : grid.labelHeight;
        const auto visible = [&](double from, double to, double offset, double pitch, int count) {
            if (pitch <= 0)
                return std::pair<int, int>(0, std::min(count, 1));
            const int low = std::clamp(int(std::floor((from - offset) / scale / pitch)) - 1, 0, count);
            const int high = std::clamp(int(std::ceil((to - offset) / scale / pitch)) + 1, 0, count);
            return std::pair<int, int>(low, high);
        };
        const auto [firstRow, lastRow] =
            visible(shown.top(), shown.bottom(), corner.y() + grid.topMargin * scale, down, grid.rows);
        const auto [firstColumn, lastColumn] =
            visible(shown.left(), shown.right(), corner.x() + grid.leftMargin * scale, across, grid.columns);
        // Labels too small to tell apart at this zoom show as the area they cover.
        if (across * scale < 4 || down * scale < 4) {
            painter.drawRect(QRectF(corner + QPointF(grid.leftMargin * scale, grid.topMargin * scale),
                                    QSizeF(((grid.columns - 1) * across + grid.labelWidth) * scale,
                                           ((grid.rows - 1) * down + grid.labelHeight) * scale)));
        } else {
            for (int row = firstRow; row < lastRow; ++row)
                for (int column = firstColumn; column < lastColumn; ++column) {
                    const QRectF label(corner + QPointF((grid.leftMargin + column * across) * scale,
                                                        (grid.topMargin + row * down) * scale),
                                       QSizeF(grid.labelWidth * scale, grid.labelHeight * scale));
                    if (row == 0 && column == 0)
                        painter.fillRect(label, QColor(0xf3, 0xf7, 0xff));
                    else if (repeats.size() < MaxRepeatedLabels)
                        repeats.push_back(QPointF(column * across, row * down));
                    painter.drawRoundedRect(label, 2 * zoom_, 2 * zoom_);
                }
        }
    } else {
        const PaperSetup& p = layout.paper;
        painter.drawRect(QRectF(corner + QPointF(p.leftMargin * scale, p.topMargin * scale),
                                QSizeF((p.width - p.leftMargin - p.rightMargin) * scale,
                                       (p.height - p.topMargin - p.bottomMargin) * scale)));
    }

    if (document_.CurrentLayer() != LayoutLayer::EveryPage)
        for (const LayoutObject& object : layout.Layer(LayoutLayer::EveryPage))
            PaintObject(painter, object, true);
    const std::vector<LayoutObject>& objects = document_.Objects();
    const QList<int>& selection = document_.Selection();
    const QList<QRectF> dragged =
        drag_ == Drag::Move || drag_ == Drag::Resize ? DraggedFrames() : QList<QRectF>();
    for (int index = 0; index < int(objects.size()); ++index) {
        LayoutObject object = objects[std::size_t(index)];
        // While dragging, the frames follow the mouse.
        if (const qsizetype at = selection.indexOf(index); at >= 0 && at < dragged.size())
            object.frame = dragged[at];
        PaintObject(painter, object, false);
        if (selection.contains(index)) {
            const QRectF bounds = Bounds(object);
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(
                QRectF(ToView(bounds.topLeft()), ToView(bounds.bottomRight())).adjusted(-2, -2, 2, 2));
            painter.setPen(Qt::NoPen);
            painter.setBrush(palette().color(QPalette::Highlight));
            painter.drawRect(HandleRect(bounds));
        }
    }
    // The first label is drawn once and its picture shown on the others.
    const QSize labelSize =
        QSizeF(layout.labels.labelWidth * scale, layout.labels.labelHeight * scale).toSize();
    if (!repeats.empty() && !objects.empty() && !labelSize.isEmpty() && labelSize.width() <= 2000 &&
        labelSize.height() <= 2000) {
        QPixmap label(labelSize);
        label.fill(Qt::transparent);
        QPainter labelPainter(&label);
        labelPainter.setRenderHint(QPainter::Antialiasing);
        labelPainter.setClipRect(QRect(QPoint(0, 0), labelSize));
        labelPainter.translate(-ToView(QPointF(0, 0)));
        for (const LayoutObject& object : objects)
            PaintObject(labelPainter, object, false);
        labelPainter.end();
        painter.setOpacity(0.35);
        for (const QPointF& offset : repeats)
            painter.drawPixmap(ToView(offset), label);
        painter.setOpacity(1);
    }
    if (drag_ == Drag::Band) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(40);
        painter.setBrush(fill);
        painter.drawRect(QRectF(ToView(pressedAt_), ToView(draggedTo_)).normalized());
    }
}

void LayoutCanvas::PaintObject(QPainter& painter, const LayoutObject& object, bool faint) const
{
    const QRectF bounds = Bounds(object);
    const QRectF area(ToView(bounds.topLeft()), ToView(bounds.bottomRight()));
    const double scale = Scale();
    painter.save();
    painter.setOpacity(faint ? 0.35 : 1);
    painter.setBrush(Qt::NoBrush);
    switch (object.kind) {
    case ObjectKind::Text: {
        painter.setPen(QPen(QColor(0xb0, 0xb8, 0xc4), 1, Qt::DotLine));
        painter.drawRect(area);
        painter.setPen(object.style.colour);
        painter.setFont(FontOf(object.style, scale));
        painter.setClipRect(area.adjusted(-1, -1, 1, 1));
        const double lineHeight = LineHeight(object.style) * scale;
        double y = area.top();
        for (const QString& line : object.lines) {
            if (y > viewport()->height())
                break; // the lines below are out of view
            painter.drawText(QRectF(area.left() + 1, y, area.width() - 2, lineHeight),
                             AlignmentOf(object.style.alignment) | Qt::AlignVCenter, line);
            y += lineHeight;
        }
        break;
    }
    case ObjectKind::Line:
        painter.setPen(QPen(object.penColour, std::max(1.0, object.penWidth * scale)));
        painter.drawLine(ToView(object.frame.topLeft()), ToView(object.frame.bottomRight()));
        break;
    case ObjectKind::Rectangle:
        painter.setPen(QPen(object.penColour, std::max(1.0, object.penWidth * scale)));
        painter.setBrush(object.fillColour.isValid() ? QBrush(object.fillColour) : QBrush());
        painter.drawRect(area);
        break;
    case ObjectKind::Picture: {
        // A picture file is shown as it prints; a picture named by an item shows the item's name.
        if (object.pictureItem.isEmpty() && !object.pictureFile.isEmpty()) {
            const QImage picture = Picture(object.pictureFile);
            if (!picture.isNull()) {
                QSizeF size = picture.size();
                size.scale(area.size(), object.keepAspectRatio ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio);
                painter.drawImage(QRectF(area.topLeft(), size), picture);
                break;
            }
        }
        painter.fillRect(area, QColor(0xee, 0xf1, 0xf5));
        painter.setPen(QPen(QColor(0x90, 0x98, 0xa4), 1));
        painter.drawRect(area);
        painter.drawLine(area.topLeft(), area.bottomRight());
        painter.drawLine(area.topRight(), area.bottomLeft());
        const QString name = !object.pictureItem.isEmpty() ? object.pictureItem : object.pictureFile;
        painter.setPen(Qt::black);
        painter.drawText(area.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWrapAnywhere,
                         name.isEmpty() ? QStringLiteral("Picture") : name);
        break;
    }
    case ObjectKind::Barcode: {
        // A literal content is drawn as it prints; a formula with a stand-in of the symbology's kind.
        QString value = object.barcodeFormula.trimmed();
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        else
            value = QStringLiteral("012345678905");
        if (!DrawBarcode(painter, area, value, object.symbology, object.showBarcodeText, Qt::black)) {
            painter.setPen(QPen(QColor(0x90, 0x98, 0xa4), 1, Qt::DashLine));
            painter.drawRect(area);
            painter.setPen(Qt::black);
            painter.drawText(area.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap,
                             QStringLiteral("%1: %2").arg(object.symbology, object.barcodeFormula));
        }
        break;
    }
    case ObjectKind::Table:
        PaintTable(painter, object, area);
        break;
    }
    if (!object.condition.isEmpty() && !faint) {
        // A condition shows as a small mark at the corner.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xe0, 0x8a, 0x00));
        painter.drawEllipse(QRectF(area.right() - 7, area.top() + 1, 6, 6));
    }
    painter.restore();
}

void LayoutCanvas::PaintTable(QPainter& painter, const LayoutObject& object, const QRectF& area) const
{
    const TableContent& table = object.table;
    const double scale = Scale();
    painter.setPen(QPen(QColor(0x90, 0x98, 0xa4), 1));
    painter.drawRect(area);
    if (table.columns.empty()) {
        painter.setPen(QColor(0x60, 0x68, 0x74));
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Table: add columns in its properties"));
        return;
    }
    double y = area.top();
    const auto paintLines = [&](const std::vector<TableLine>& lines, const QColor& shade) {
        for (const TableLine& line : lines) {
            if (y > viewport()->height())
                return;
            double tallest = LineHeight(TextStyle());
            for (const TableCell& cell : line.cells)
                tallest = std::max(tallest, LineHeight(cell.style));
            const double height = tallest * scale;
            painter.fillRect(QRectF(area.left(), y, area.width(), height), shade);
            double x = area.left();
            for (std::size_t column = 0; column < table.columns.size() && x < viewport()->width(); ++column) {
                const double width = table.columns[column].width * scale;
                const QRectF cellArea(x, y, width, height);
                painter.setPen(QPen(QColor(0xc0, 0xc6, 0xd0), 1));
                painter.drawRect(cellArea);
                if (column < line.cells.size()) {
                    const TableCell& cell = line.cells[column];
                    painter.setPen(cell.style.colour);
                    painter.setFont(FontOf(cell.style, scale));
                    const QRectF inner = cellArea.adjusted(2, 0, -2, 0);
                    painter.drawText(
                        inner, AlignmentOf(cell.style.alignment) | Qt::AlignVCenter,
                        painter.fontMetrics().elidedText(cell.formula, Qt::ElideRight, int(inner.width())));
                }
                x += width;
            }
            y += height;
        }
    };
    paintLines(table.headerLines, QColor(0xe8, 0xee, 0xf6));
    paintLines(table.groupHeaderLines, QColor(0xf2, 0xf5, 0xe8));
    paintLines(table.dataLines, Qt::white);
    paintLines(table.footerLines, QColor(0xf6, 0xf0, 0xe8));
}

} // namespace jornix
