#include "platform/reportengine/LayoutDesigner.h"

#include "platform/reportengine/LayoutCanvas.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/LayoutSketch.h"
#include "platform/reportengine/ObjectPropertiesPanel.h"
#include "platform/reportengine/PrinterOutput.h"
#include "platform/reportengine/ReportJobs.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace jornix {

namespace {

constexpr int TaskControl = 1;
// Sample records the preview prints: a few rows of a list, one card, a sheet of labels.
constexpr int SampleRows = 3;
constexpr int MaxSampleLabels = 100;

const char* const LayerNames[] = {"Every page", "Cover page", "First page", "Following pages"};

// Qt's page set-up hands its choice to the printer only when it runs its own event loop (exec()), which the
// program never does: the choice is read from its controls instead, when they are there.
QPageLayout ChosenPageLayout(const QPageSetupDialog& dialog, const QPageLayout& fallback)
{
    const auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
    const auto* units = dialog.findChild<QComboBox*>(QStringLiteral("unitCombo"));
    const auto* width = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("pageWidth"));
    const auto* height = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("pageHeight"));
    const auto* landscape = dialog.findChild<QRadioButton*>(QStringLiteral("landscape"));
    const auto* reverseLandscape = dialog.findChild<QRadioButton*>(QStringLiteral("reverseLandscape"));
    const QDoubleSpinBox* margins[4] = {dialog.findChild<QDoubleSpinBox*>(QStringLiteral("leftMargin")),
                                        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("topMargin")),
                                        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("rightMargin")),
                                        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("bottomMargin"))};
    if (!sizes || !units || !width || !height || !landscape ||
        std::find(std::begin(margins), std::end(margins), nullptr) != std::end(margins))
        return fallback;
    const auto unit = units->currentData().value<QPageLayout::Unit>();
    const bool across = landscape->isChecked() || (reverseLandscape && reverseLandscape->isChecked());
    QPageSize size = sizes->currentData().value<QPageSize>();
    if (!size.isValid()) {
        // A size of its own, as the entries show it in the orientation chosen.
        const QSizeF shown(width->value(), height->value());
        size = QPageSize(across ? shown.transposed() : shown, QPageSize::Unit(unit));
    }
    QPageLayout chosen(
        size, across ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(margins[0]->value(), margins[1]->value(), margins[2]->value(), margins[3]->value()), unit);
    return chosen.isValid() ? chosen : fallback;
}

// The pictures of the object commands, drawn so that they match at any size.
QIcon KindIcon(ObjectKind kind)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x2e, 0x34, 0x36), accent(0x34, 0x65, 0xa4), light(0xdb, 0xe6, 0xf4);
    painter.setPen(QPen(ink, 2));
    switch (kind) {
    case ObjectKind::Text: {
        QFont font(QStringLiteral("Serif"));
        font.setPixelSize(26);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(accent);
        painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("T"));
        break;
    }
    case ObjectKind::Line:
        painter.setPen(QPen(accent, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(5, 27, 27, 5);
        break;
    case ObjectKind::Rectangle:
        painter.setBrush(light);
        painter.setPen(QPen(accent, 2.5));
        painter.drawRect(QRectF(4.5, 7.5, 23, 17));
        break;
    case ObjectKind::Picture: {
        painter.setBrush(QColor(0xfc, 0xe9, 0x4f));
        painter.setPen(QPen(ink, 1.5));
        painter.drawRect(QRectF(3.5, 5.5, 25, 21));
        painter.setBrush(QColor(0x73, 0xd2, 0x16));
        QPainterPath hills;
        hills.moveTo(4, 26);
        hills.lineTo(13, 14);
        hills.lineTo(19, 21);
        hills.lineTo(23, 17);
        hills.lineTo(28, 26);
        hills.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.drawPath(hills);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(22, 11), 2.5, 2.5);
        break;
    }
    case ObjectKind::Barcode:
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        for (int x = 4, bar = 0; x < 28; ++bar) {
            const int width = 1 + (bar * 5) % 3;
            if (bar % 2 == 0)
                painter.drawRect(x, 6, width, 20);
            x += width;
        }
        break;
    case ObjectKind::Table:
        painter.setBrush(Qt::white);
        painter.setPen(QPen(accent, 1.5));
        painter.drawRect(QRectF(3.5, 5.5, 25, 21));
        painter.fillRect(QRectF(4, 6, 24, 6), light);
        painter.drawLine(QPointF(4, 12), QPointF(28, 12));
        painter.drawLine(QPointF(4, 19), QPointF(28, 19));
        painter.drawLine(QPointF(12.5, 6), QPointF(12.5, 26));
        painter.drawLine(QPointF(20.5, 6), QPointF(20.5, 26));
        break;
    }
    return QIcon(pixmap);
}

// Two overlapping sheets, the front or the back one highlighted.
QIcon OrderIcon(bool front)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x2e, 0x34, 0x36), accent(0x34, 0x65, 0xa4);
    const QRectF back(4.5, 4.5, 16, 16), forward(11.5, 11.5, 16, 16);
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(front ? QColor(Qt::white) : accent);
    painter.drawRect(back);
    painter.setBrush(front ? accent : QColor(Qt::white));
    painter.drawRect(forward);
    return QIcon(pixmap);
}

} // namespace

LayoutDesigner::LayoutDesigner(ReportJobs& engine, const ReportJob& job, const QString& title,
                               ProjectType type, const QString& layoutPath)
    : engine_(engine), job_(job),
      title_(title.trimmed().isEmpty() ? QStringLiteral("Report Designer") : title), layoutPath_(layoutPath),
      document_(type)
{
    setObjectName(QStringLiteral("layoutDesigner"));
    setWindowTitle(title_);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    BuildActions();
    BuildWindow();
    BuildMenus();
    SetLayoutPath(layoutPath_);
    Load();
    connect(&document_.UndoStack(), &QUndoStack::cleanChanged, this, &LayoutDesigner::UpdateState);
    connect(&document_, &LayoutDocument::SelectionChanged, this, &LayoutDesigner::UpdateState);
    connect(&document_, &LayoutDocument::LayoutChanged, this, &LayoutDesigner::RefreshObjectList);
    connect(&document_, &LayoutDocument::SelectionChanged, this, &LayoutDesigner::RefreshObjectList);
    connect(&document_, &LayoutDocument::LayerChanged, this, [this] {
        layers_->setCurrentRow(int(document_.CurrentLayer()));
        RefreshObjectList();
    });
    RefreshObjectList();
    UpdateState();
    resize(1200, 800);
}

void LayoutDesigner::SetLayoutPath(const QString& path)
{
    const ProjectType type = document_.Layout().projectType;
    layoutPath_ = path;
    printerPath_ = job_.PrinterSettingsPath(type, path);
    sketchPath_ = job_.SketchPath(type, path);
    canvas_->SetPictureFolder(QFileInfo(path).absolutePath());
    properties_->SetLayoutFolder(QFileInfo(path).absolutePath());
}

LayoutDesigner::~LayoutDesigner()
{
    // The widgets and actions watch the document, which goes before the dialog's own children would.
    document_.UndoStack().disconnect();
    document_.disconnect();
    const QList<QWidget*> widgets = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    qDeleteAll(widgets);
}

ReportLayout LayoutDesigner::EmptyLayout() const
{
    ReportLayout layout;
    layout.projectType = document_.Layout().projectType;
    layout.description = title_;
    if (layout.projectType == ProjectType::Label) {
        // The common sheet of 24 address labels on A4.
        layout.labels = LabelGrid{8, 3, 66.0, 33.9, 7.2, 12.9, 63.5, 33.9};
    }
    return layout;
}

void LayoutDesigner::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (std::exchange(firstShow_, false))
        SetZoom(canvas_->FitWidthZoom());
}

void LayoutDesigner::Load()
{
    ReportLayout layout = EmptyLayout();
    if (!QFileInfo::exists(layoutPath_)) {
        document_.Reset(layout);
        messageLabel_->setText(QStringLiteral("New layout: it is written when you save it."));
        return;
    }
    ReportLayout read;
    QString error;
    if (!ReadLayoutFile(layoutPath_, read, error)) {
        // The file stays as it is; saving writes the layout that is shown in its place.
        loadProblem_ = error;
        document_.Reset(layout);
        RunTask([this] {
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, title_,
                           loadProblem_ +
                               QStringLiteral("\n\nThe designer shows an empty layout. The file is "
                                              "left as it is unless you save the new layout."));
        });
        messageLabel_->setText(QStringLiteral("The layout file could not be read; it is left as it is."));
        return;
    }
    // A layout made for another project type is taken over as this type, and saved so when the user saves.
    const bool retyped = read.projectType != layout.projectType;
    read.projectType = layout.projectType;
    document_.Reset(read, retyped);
    QString printerError;
    if (!job_.printer.Read(printerPath_, printerError))
        messageLabel_->setText(printerError);
}

QAction* LayoutDesigner::Action(const QString& name, const QString& text, const QKeySequence& key,
                                const QIcon& icon, int prohibitedBy)
{
    if (prohibitedBy && job_.prohibitedActions.contains(prohibitedBy))
        return nullptr;
    auto* action = new QAction(icon, text, this);
    action->setObjectName(name);
    if (!key.isEmpty())
        action->setShortcut(key);
    addAction(action);
    return action;
}

QAction* LayoutDesigner::Task(const QString& name, const QString& text, const QKeySequence& key,
                              const QIcon& icon, std::function<void()> task, int prohibitedBy)
{
    QAction* action = Action(name, text, key, icon, prohibitedBy);
    if (action)
        connect(action, &QAction::triggered, this, [this, task] { RunTask(task); });
    return action;
}

void LayoutDesigner::BuildActions()
{
    QStyle* style = QApplication::style();
    // The standard keys of the desktop, written out: a desktop without them would leave these keys free.
    Task(
        QStringLiteral("actionNew"), QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N),
        style->standardIcon(QStyle::SP_FileIcon), [this] { NewLayout(); }, DesignerAction::New);
    Task(
        QStringLiteral("actionOpen"), QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O),
        style->standardIcon(QStyle::SP_DialogOpenButton), [this] { OpenLayout(); }, DesignerAction::Open);
    Task(QStringLiteral("actionSave"), QStringLiteral("&Save"), QKeySequence::Save,
         style->standardIcon(QStyle::SP_DialogSaveButton), [this] { Save(); });
    Task(
        QStringLiteral("actionSaveAs"), QStringLiteral("Save &As..."),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), {}, [this] { SaveAs(); }, DesignerAction::SaveAs);
    Task(QStringLiteral("actionPageSetup"), QStringLiteral("Page Set&up..."), {}, {},
         [this] { PageSetUp(); });
    Task(QStringLiteral("actionPrinter"), QStringLiteral("P&rinter..."), {}, {}, [this] { ChoosePrinter(); });
    Task(QStringLiteral("actionPreview"), QStringLiteral("Pre&view"), QKeySequence(Qt::CTRL | Qt::Key_F2),
         style->standardIcon(QStyle::SP_FileDialogContentsView), [this] { Preview(); });
    if (!Task(
            QStringLiteral("actionExit"), QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), {},
            [this] { RequestClose(); }, DesignerAction::Exit))
        Task(QStringLiteral("actionClose"), QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_W),
             style->standardIcon(QStyle::SP_DialogCloseButton), [this] { RequestClose(); });

    undo_ = document_.UndoStack().createUndoAction(this, QStringLiteral("&Undo"));
    undo_->setObjectName(QStringLiteral("actionUndo"));
    undo_->setShortcut(QKeySequence::Undo);
    undo_->setIcon(style->standardIcon(QStyle::SP_ArrowBack));
    redo_ = document_.UndoStack().createRedoAction(this, QStringLiteral("&Redo"));
    redo_->setObjectName(QStringLiteral("actionRedo"));
    redo_->setShortcut(QKeySequence::Redo);
    redo_->setIcon(style->standardIcon(QStyle::SP_ArrowForward));
    addAction(undo_);
    addAction(redo_);

    const auto copy = [this] {
        const QByteArray data = document_.CopySelection();
        if (data.isEmpty())
            return false;
        auto* mime = new QMimeData;
        mime->setData(LayoutObjectsMimeType, data);
        QGuiApplication::clipboard()->setMimeData(mime);
        return true;
    };
    connect(Action(QStringLiteral("actionCut"), QStringLiteral("Cu&t"), QKeySequence::Cut, {}),
            &QAction::triggered, this, [this, copy] {
                if (copy())
                    document_.DeleteSelection();
            });
    connect(Action(QStringLiteral("actionCopy"), QStringLiteral("&Copy"), QKeySequence::Copy, {}),
            &QAction::triggered, this, copy);
    connect(Action(QStringLiteral("actionPaste"), QStringLiteral("&Paste"), QKeySequence::Paste, {}),
            &QAction::triggered, this, [this] {
                const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
                if (!mime || !mime->hasFormat(LayoutObjectsMimeType) ||
                    !document_.Paste(mime->data(LayoutObjectsMimeType)))
                    messageLabel_->setText(QStringLiteral("The clipboard holds no objects of a layout."));
            });
    connect(Action(QStringLiteral("actionDelete"), QStringLiteral("&Delete"), QKeySequence::Delete,
                   style->standardIcon(QStyle::SP_TrashIcon)),
            &QAction::triggered, &document_, &LayoutDocument::DeleteSelection);
    connect(
        Action(QStringLiteral("actionSelectAll"), QStringLiteral("Select &All"), QKeySequence::SelectAll, {}),
        &QAction::triggered, &document_, &LayoutDocument::SelectAll);

    const struct
    {
        ObjectKind kind;
        const char* name;
        const char* text;
    } kinds[] = {{ObjectKind::Text, "actionInsertText", "&Text"},
                 {ObjectKind::Line, "actionInsertLine", "&Line"},
                 {ObjectKind::Rectangle, "actionInsertRectangle", "&Rectangle"},
                 {ObjectKind::Picture, "actionInsertPicture", "&Picture"},
                 {ObjectKind::Barcode, "actionInsertBarcode", "&Barcode"},
                 {ObjectKind::Table, "actionInsertTable", "T&able"}};
    for (const auto& entry : kinds) {
        QAction* action =
            Action(QLatin1String(entry.name), QLatin1String(entry.text), {}, KindIcon(entry.kind));
        // A list project has one table, which carries its records.
        connect(action, &QAction::triggered, this, [this, kind = entry.kind] { Insert(kind); });
    }

    connect(Action(QStringLiteral("actionBringToFront"), QStringLiteral("Bring to &Front"),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight), OrderIcon(true)),
            &QAction::triggered, &document_, &LayoutDocument::BringToFront);
    connect(Action(QStringLiteral("actionSendToBack"), QStringLiteral("Send to &Back"),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft), OrderIcon(false)),
            &QAction::triggered, &document_, &LayoutDocument::SendToBack);
    connect(Action(QStringLiteral("actionBringForward"), QStringLiteral("Bring F&orward"),
                   QKeySequence(Qt::CTRL | Qt::Key_BracketRight), {}),
            &QAction::triggered, &document_, &LayoutDocument::BringForward);
    connect(Action(QStringLiteral("actionSendBackward"), QStringLiteral("Send Back&ward"),
                   QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), {}),
            &QAction::triggered, &document_, &LayoutDocument::SendBackward);

    // The arrow keys move the selection by a grid step, with Shift they resize it; with Alt by a tenth of a
    // millimetre. They act while the page has the focus, so that the entries keep their own keys.
    const struct
    {
        const char* name;
        const char* text;
        QKeyCombination key;
        double dx, dy;
        bool resize;
    } nudges[] = {{"actionMoveLeft", "Move Left", QKeyCombination(Qt::Key_Left), -1, 0, false},
                  {"actionMoveRight", "Move Right", QKeyCombination(Qt::Key_Right), 1, 0, false},
                  {"actionMoveUp", "Move Up", QKeyCombination(Qt::Key_Up), 0, -1, false},
                  {"actionMoveDown", "Move Down", QKeyCombination(Qt::Key_Down), 0, 1, false},
                  {"actionNarrower", "Narrower", Qt::SHIFT | Qt::Key_Left, -1, 0, true},
                  {"actionWider", "Wider", Qt::SHIFT | Qt::Key_Right, 1, 0, true},
                  {"actionShorter", "Shorter", Qt::SHIFT | Qt::Key_Up, 0, -1, true},
                  {"actionTaller", "Taller", Qt::SHIFT | Qt::Key_Down, 0, 1, true}};
    for (const auto& nudge : nudges) {
        QAction* action =
            Action(QLatin1String(nudge.name), QLatin1String(nudge.text), QKeySequence(nudge.key), {});
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this,
                [this, dx = nudge.dx, dy = nudge.dy, resize = nudge.resize] { Nudge(dx, dy, resize); });
        QAction* fine = Action(
            QLatin1String(nudge.name) + QStringLiteral("Fine"),
            QLatin1String(nudge.text) + QStringLiteral(" a Little"),
            QKeySequence(QKeyCombination(nudge.key.keyboardModifiers() | Qt::AltModifier, nudge.key.key())),
            {});
        fine->setShortcutContext(Qt::WidgetShortcut);
        connect(fine, &QAction::triggered, this, [this, dx = nudge.dx, dy = nudge.dy, resize = nudge.resize] {
            Nudge(dx / LayoutCanvas::GridStep / 10, dy / LayoutCanvas::GridStep / 10, resize);
        });
    }

    connect(Action(QStringLiteral("actionZoomIn"), QStringLiteral("Zoom &In"), QKeySequence::ZoomIn, {}),
            &QAction::triggered, this, [this] { SetZoom(canvas_->Zoom() * 1.25); });
    connect(Action(QStringLiteral("actionZoomOut"), QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut, {}),
            &QAction::triggered, this, [this] { SetZoom(canvas_->Zoom() / 1.25); });
    connect(Action(QStringLiteral("actionActualSize"), QStringLiteral("&Actual Size"),
                   QKeySequence(Qt::CTRL | Qt::Key_0), {}),
            &QAction::triggered, this, [this] { SetZoom(1); });
    connect(Action(QStringLiteral("actionFitWidth"), QStringLiteral("Fit &Width"), {}, {}),
            &QAction::triggered, this, [this] { SetZoom(canvas_->FitWidthZoom()); });
    QAction* snap = Action(QStringLiteral("actionSnapToGrid"), QStringLiteral("&Snap to Grid"),
                           QKeySequence(Qt::CTRL | Qt::Key_G), {});
    snap->setCheckable(true);
    snap->setChecked(true);
    connect(snap, &QAction::toggled, this, [this](bool on) { canvas_->SetSnapToGrid(on); });
    for (int layer = 0; layer < LayoutLayerCount; ++layer) {
        QAction* action = Action(QStringLiteral("actionLayer%1").arg(layer), QLatin1String(LayerNames[layer]),
                                 QKeySequence(Qt::ALT | (Qt::Key_1 + layer)), {});
        connect(action, &QAction::triggered, this,
                [this, layer] { document_.SetCurrentLayer(LayoutLayer(layer)); });
    }
}

void LayoutDesigner::BuildWindow()
{
    canvas_ = new LayoutCanvas(document_);
    for (QAction* action : actions())
        if (action->shortcutContext() == Qt::WidgetShortcut)
            canvas_->addAction(action);

    properties_ = new ObjectPropertiesPanel(document_, job_.variables, job_.fields,
                                            [this](std::function<void()> task) { RunTask(std::move(task)); });
    properties_->setMinimumWidth(340);

    layers_ = new QListWidget;
    layers_->setObjectName(QStringLiteral("layerList"));
    for (const char* name : LayerNames)
        layers_->addItem(QLatin1String(name));
    layers_->setCurrentRow(0);
    layers_->setMaximumHeight(layers_->sizeHintForRow(0) * LayoutLayerCount + 2 * layers_->frameWidth() + 4);
    connect(layers_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            document_.SetCurrentLayer(LayoutLayer(row));
    });
    objects_ = new QListWidget;
    objects_->setObjectName(QStringLiteral("objectList"));
    objects_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(objects_, &QListWidget::itemSelectionChanged, this, [this] {
        if (objects_->signalsBlocked())
            return;
        QList<int> selection;
        for (QListWidgetItem* item : objects_->selectedItems())
            selection << objects_->row(item);
        document_.Select(selection);
    });

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(6, 6, 0, 6);
    auto* layerBox = new QGroupBox(QStringLiteral("Layers"));
    (new QVBoxLayout(layerBox))->addWidget(layers_);
    auto* objectBox = new QGroupBox(QStringLiteral("Objects"));
    (new QVBoxLayout(objectBox))->addWidget(objects_);
    sideLayout->addWidget(layerBox);
    sideLayout->addWidget(objectBox, 1);
    side->setMinimumWidth(190);

    auto* splitter = new QSplitter;
    splitter->setObjectName(QStringLiteral("designerSplitter"));
    splitter->addWidget(side);
    splitter->addWidget(canvas_);
    splitter->addWidget(properties_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setStretchFactor(2, 0);
    splitter->setSizes({200, 640, 360});
    splitter->setChildrenCollapsible(false);

    zoomBox_ = new QComboBox;
    zoomBox_->setObjectName(QStringLiteral("zoomBox"));
    for (int percent : {25, 50, 75, 100, 125, 150, 200, 300, 400})
        zoomBox_->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
    zoomBox_->addItem(QStringLiteral("Fit Width"), 0.0);
    connect(zoomBox_, &QComboBox::activated, this, [this](int index) {
        const double zoom = zoomBox_->itemData(index).toDouble();
        if (zoom >= 0)
            SetZoom(zoom > 0 ? zoom : canvas_->FitWidthZoom());
    });
    connect(canvas_, &LayoutCanvas::ZoomChanged, this, [this](double zoom) {
        // A zoom that is none of the list's shows as the list's first entry.
        if (zoomBox_->itemData(0).toDouble() < 0)
            zoomBox_->removeItem(0);
        int index = zoomBox_->findData(zoom);
        if (index < 0) {
            zoomBox_->insertItem(0, QStringLiteral("%1%").arg(qRound(zoom * 100)), -1.0);
            index = 0;
        }
        zoomBox_->setCurrentIndex(index);
    });
    zoomBox_->setCurrentIndex(zoomBox_->findData(1.0));

    auto* status = new QStatusBar;
    status->setObjectName(QStringLiteral("designerStatus"));
    messageLabel_ = new QLabel;
    messageLabel_->setObjectName(QStringLiteral("designerMessage"));
    positionLabel_ = new QLabel;
    positionLabel_->setMinimumWidth(150);
    stateLabel_ = new QLabel;
    stateLabel_->setObjectName(QStringLiteral("designerState"));
    status->addWidget(messageLabel_, 1);
    status->addPermanentWidget(positionLabel_);
    status->addPermanentWidget(stateLabel_);
    connect(canvas_, &LayoutCanvas::CursorMoved, this, [this](QPointF at) {
        positionLabel_->setText(QStringLiteral("%1 mm, %2 mm").arg(at.x(), 0, 'f', 1).arg(at.y(), 0, 'f', 1));
    });
    // A double-click edits what the object shows: a text's first line, a barcode's content.
    connect(canvas_, &LayoutCanvas::ObjectActivated, this, [this](int index) {
        const ObjectKind kind = document_.Objects()[std::size_t(index)].kind;
        const char* command = kind == ObjectKind::Text      ? "actionEditTextLine"
                              : kind == ObjectKind::Barcode ? "actionEditBarcode"
                                                            : nullptr;
        if (QAction* action = command ? findChild<QAction*>(QLatin1String(command)) : nullptr)
            action->trigger();
        else
            properties_->setFocus();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter, 1);
    layout->addWidget(status);
}

void LayoutDesigner::BuildMenus()
{
    const auto find = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
    const auto add = [&](QWidget* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (!*name) {
                if (auto* asMenu = qobject_cast<QMenu*>(menu))
                    asMenu->addSeparator();
                else if (auto* bar = qobject_cast<QToolBar*>(menu))
                    bar->addSeparator();
                continue;
            }
            if (QAction* action = QLatin1String(name) == QLatin1String("actionUndo")   ? undo_
                                  : QLatin1String(name) == QLatin1String("actionRedo") ? redo_
                                                                                       : find(name))
                menu->addAction(action);
        }
    };
    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("designerMenus"));
    add(menus->addMenu(QStringLiteral("&File")),
        {"actionNew", "actionOpen", "actionSave", "actionSaveAs", "", "actionPageSetup", "actionPrinter",
         "actionPreview", "", "actionExit", "actionClose"});
    add(menus->addMenu(QStringLiteral("&Edit")), {"actionUndo", "actionRedo", "", "actionCut", "actionCopy",
                                                  "actionPaste", "actionDelete", "", "actionSelectAll"});
    add(menus->addMenu(QStringLiteral("&Insert")),
        {"actionInsertText", "actionInsertLine", "actionInsertRectangle", "actionInsertPicture",
         "actionInsertBarcode", "actionInsertTable"});
    QMenu* arrange = menus->addMenu(QStringLiteral("&Arrange"));
    add(arrange, {"actionBringToFront", "actionSendToBack", "actionBringForward", "actionSendBackward", ""});
    add(arrange->addMenu(QStringLiteral("&Move")),
        {"actionMoveLeft", "actionMoveRight", "actionMoveUp", "actionMoveDown", "", "actionMoveLeftFine",
         "actionMoveRightFine", "actionMoveUpFine", "actionMoveDownFine"});
    add(arrange->addMenu(QStringLiteral("&Size")),
        {"actionWider", "actionNarrower", "actionTaller", "actionShorter", "", "actionWiderFine",
         "actionNarrowerFine", "actionTallerFine", "actionShorterFine"});
    QMenu* view = menus->addMenu(QStringLiteral("&View"));
    add(view,
        {"actionZoomIn", "actionZoomOut", "actionActualSize", "actionFitWidth", "", "actionSnapToGrid", ""});
    add(view->addMenu(QStringLiteral("&Layer")),
        {"actionLayer0", "actionLayer1", "actionLayer2", "actionLayer3"});
    layout()->setMenuBar(menus);

    auto* tools = new QToolBar;
    tools->setObjectName(QStringLiteral("designerToolbar"));
    tools->setIconSize(QSize(22, 22));
    tools->setToolButtonStyle(Qt::ToolButtonIconOnly);
    add(tools,
        {"actionNew", "actionOpen", "actionSave", "", "actionUndo", "actionRedo", "", "actionDelete", "",
         "actionInsertText", "actionInsertLine", "actionInsertRectangle", "actionInsertPicture",
         "actionInsertBarcode", "actionInsertTable", "", "actionBringToFront", "actionSendToBack", ""});
    tools->addWidget(new QLabel(QStringLiteral(" Zoom: ")));
    tools->addWidget(zoomBox_);
    tools->addSeparator();
    QAction* preview = find("actionPreview");
    tools->addAction(preview);
    if (auto* button = tools->widgetForAction(preview))
        if (auto* tool = qobject_cast<QToolButton*>(button))
            tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, tools);

    auto* context = new QMenu(this);
    context->setObjectName(QStringLiteral("canvasMenu"));
    add(context, {"actionCut", "actionCopy", "actionPaste", "actionDelete", "", "actionBringToFront",
                  "actionSendToBack", "actionBringForward", "actionSendBackward", "", "actionSelectAll"});
    canvas_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(canvas_, &QWidget::customContextMenuRequested, context,
            [context] { context->popup(QCursor::pos()); });

    for (const char* name : {"actionCut", "actionCopy", "actionDelete", "actionBringToFront",
                             "actionSendToBack", "actionBringForward", "actionSendBackward"})
        selectionActions_ << find(name);
}

void LayoutDesigner::SetZoom(double zoom)
{
    canvas_->SetZoom(zoom);
}

void LayoutDesigner::Insert(ObjectKind kind)
{
    const ReportLayout& layout = document_.Layout();
    // New objects come in a cascade from the top left, so that none lies exactly over the one before.
    const double step = int(document_.Objects().size()) % 10 * 5.0;
    QPointF at(step, step);
    if (kind == ObjectKind::Table)
        at = QPointF(0, layout.projectType == ProjectType::List ? 20 : step);
    LayoutObject object = LayoutDocument::NewObject(kind, at, document_.FreeName(kind));
    if (kind == ObjectKind::Table)
        object.frame.setWidth(
            std::max(20.0, layout.paper.width - layout.paper.leftMargin - layout.paper.rightMargin));
    if (layout.projectType == ProjectType::Label && layout.labels.labelWidth > 0)
        object.frame.setWidth(std::min(object.frame.width(), layout.labels.labelWidth));
    document_.AddObject(std::move(object));
    canvas_->setFocus();
}

void LayoutDesigner::Nudge(double dx, double dy, bool resize)
{
    if (document_.Selection().isEmpty())
        return;
    const double step = LayoutCanvas::GridStep;
    if (resize)
        document_.ResizeSelection(QSizeF(dx * step, dy * step));
    else
        document_.MoveSelection(QPointF(dx * step, dy * step));
}

void LayoutDesigner::UpdateState()
{
    const bool selected = !document_.Selection().isEmpty();
    for (QAction* action : selectionActions_)
        if (action)
            action->setEnabled(selected);
    stateLabel_->setText(IsModified() ? QStringLiteral("Modified") : QStringLiteral("Saved"));
}

void LayoutDesigner::RefreshObjectList()
{
    objects_->blockSignals(true);
    objects_->clear();
    for (const LayoutObject& object : document_.Objects()) {
        auto* item = new QListWidgetItem(KindIcon(object.kind),
                                         object.name.isEmpty() ? ObjectKindName(object.kind) : object.name);
        objects_->addItem(item);
    }
    for (int index : document_.Selection())
        if (QListWidgetItem* item = objects_->item(index))
            item->setSelected(true);
    objects_->blockSignals(false);
    if (layers_->currentRow() != int(document_.CurrentLayer()))
        layers_->setCurrentRow(int(document_.CurrentLayer()));
}

// --- the designer's thread

void LayoutDesigner::RunTask(std::function<void()> task)
{
    tasks_.push_back(std::move(task));
    if (window_)
        window_->Post(Event::Accepted, TaskControl);
}

void LayoutDesigner::Interact()
{
    ProgramWindow window(this);
    window_ = &window;
    // Tasks queued before the thread started (the message about a damaged file).
    if (!tasks_.empty())
        window.Post(Event::Accepted, TaskControl);
    while (!closing_) {
        const FrameworkEvent event = window.WaitEvent();
        if (event.event == Event::CloseWindow) {
            RequestClose();
        } else if (event.event == Event::Accepted && event.control == TaskControl) {
            while (!tasks_.empty() && !closing_) {
                const std::function<void()> task = std::move(tasks_.front());
                tasks_.pop_front();
                task();
            }
        }
    }
    window_ = nullptr;
    tasks_.clear();
    done(QDialog::Accepted);
}

void LayoutDesigner::reject()
{
    // Escape and the close box ask, as Close does.
    RunTask([this] { RequestClose(); });
}

void LayoutDesigner::closeEvent(QCloseEvent* event)
{
    if (closing_)
        return;
    event->ignore();
    RunTask([this] { RequestClose(); });
}

void LayoutDesigner::RequestClose()
{
    if (SaveChangesFirst())
        closing_ = true;
}

bool LayoutDesigner::SaveChangesFirst()
{
    if (!IsModified())
        return true;
    const int answer = ShowMessageBox(
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel, MessageIcon::Question, title_,
        QStringLiteral("The layout has been changed. Do you want to save the changes?"), MessageButton::Yes);
    if (answer == MessageButton::Yes)
        return Save();
    return answer == MessageButton::No;
}

bool LayoutDesigner::Save()
{
    QString error;
    if (!WriteLayoutFile(layoutPath_, document_.Layout(), error)) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, title_,
                       error + QStringLiteral("\n\nThe file is left as it was; the layout is still open."));
        return false;
    }
    document_.MarkSaved();
    loadProblem_.clear();
    QStringList problems;
    if ((printerChanged_ || !job_.printer.IsEmpty()) && !job_.printer.Write(printerPath_, error))
        problems << error;
    else
        printerChanged_ = false;
    // The sketch shows the first page with the sample values; the layout is saved even when it fails.
    if (!WriteLayoutSketch(job_, document_.Layout(), QFileInfo(layoutPath_).absolutePath(), sketchPath_,
                           error))
        problems << error;
    messageLabel_->setText(problems.isEmpty() ? QStringLiteral("Saved \"%1\".").arg(layoutPath_)
                                              : problems.join(' '));
    if (!problems.isEmpty())
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, title_, problems.join(QLatin1Char('\n')));
    UpdateState();
    return true;
}

bool LayoutDesigner::SaveAs()
{
    const QString extension = job_.extensions.value(int(document_.Layout().projectType)).layout;
    QString path = AskSaveFileName(QStringLiteral("Save Layout As"),
                                   QStringLiteral("Layouts|*.%1|All Files|*.*").arg(extension), layoutPath_);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + extension;
    const QString previous = layoutPath_;
    SetLayoutPath(path);
    if (Save())
        return true;
    SetLayoutPath(previous);
    return false;
}

void LayoutDesigner::NewLayout()
{
    if (!SaveChangesFirst())
        return;
    document_.Reset(EmptyLayout());
    UpdateState();
}

void LayoutDesigner::OpenLayout()
{
    if (!SaveChangesFirst())
        return;
    const QString extension = job_.extensions.value(int(document_.Layout().projectType)).layout;
    const QString path =
        AskOpenFileName(QStringLiteral("Open Layout"),
                        QStringLiteral("Layouts|*.%1|All Files|*.*").arg(extension), layoutPath_);
    if (path.isEmpty())
        return;
    ReportLayout layout;
    QString error;
    if (!ReadLayoutFile(path, layout, error)) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, title_, error);
        return;
    }
    SetLayoutPath(path);
    layout.projectType = document_.Layout().projectType;
    document_.Reset(layout);
    UpdateState();
}

void LayoutDesigner::PageSetUp()
{
    const PaperSetup& paper = document_.Layout().paper;
    QPrinter printer;
    const bool landscape = paper.width > paper.height;
    printer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(std::min(paper.width, paper.height), std::max(paper.width, paper.height)),
                  QPageSize::Millimeter),
        landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(paper.leftMargin, paper.topMargin, paper.rightMargin, paper.bottomMargin),
        QPageLayout::Millimeter));
    QPageSetupDialog dialog(&printer);
    dialog.setObjectName(QStringLiteral("pageSetupDialog"));
    dialog.setWindowTitle(QStringLiteral("Page Setup"));
    if (RunThreadModal(dialog) != QDialog::Accepted)
        return;
    const QPageLayout chosen = ChosenPageLayout(dialog, printer.pageLayout());
    const QSizeF size = chosen.fullRect(QPageLayout::Millimeter).size();
    const QMarginsF margins = chosen.margins(QPageLayout::Millimeter);
    ReportLayout layout = document_.Layout();
    layout.paper.width = size.width();
    layout.paper.height = size.height();
    layout.paper.leftMargin = margins.left();
    layout.paper.topMargin = margins.top();
    layout.paper.rightMargin = margins.right();
    layout.paper.bottomMargin = margins.bottom();
    document_.Change(QStringLiteral("Page set-up"), layout);
    // The layout's paper, which undo can give back, is what prints: printer settings that name a paper of
    // their own would print on another.
    for (const QString& key : {PrinterKey::Paper, PrinterKey::Orientation})
        if (!job_.printer.Value(key).isEmpty()) {
            job_.printer.SetValue(key, QString());
            printerChanged_ = true;
        }
    UpdateState();
}

void LayoutDesigner::ChoosePrinter()
{
    QPrinter printer;
    const QString name = job_.printer.Value(PrinterKey::Printer);
    if (!name.isEmpty())
        printer.setPrinterName(name);
    if (!AskPrinter(printer, QStringLiteral("Printer")))
        return;
    job_.printer.SetValue(PrinterKey::Printer, printer.printerName());
    job_.printer.SetValue(PrinterKey::Copies, QString::number(std::max(printer.copyCount(), 1)));
    printerChanged_ = true;
    messageLabel_->setText(printer.printerName().isEmpty()
                               ? QStringLiteral("The layout prints on the desktop's default printer.")
                               : QStringLiteral("The layout prints on \"%1\".").arg(printer.printerName()));
    UpdateState();
}

void LayoutDesigner::Preview()
{
    // The preview prints the layout as it stands, unsaved changes included, from a file of its own.
    QTemporaryDir folder;
    const ProjectType type = document_.Layout().projectType;
    const QString file =
        folder.filePath(QStringLiteral("preview.") + job_.extensions.value(int(type)).layout);
    QString error;
    const auto fail = [this](const QString& why) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, title_,
                       QStringLiteral("The preview cannot be shown: %1").arg(why));
    };
    if (!folder.isValid() || !WriteLayoutFile(file, document_.Layout(), error))
        return fail(folder.isValid() ? error : folder.errorString());
    const int job = engine_.LlJobOpen(1);
    ReportJob* run = engine_.Job(job);
    if (!run)
        return fail(QStringLiteral("no more jobs can be opened."));
    run->extensions = job_.extensions;
    run->options = job_.options;
    run->variables = job_.variables;
    run->fields = job_.fields;
    run->printer = job_.printer;
    using namespace ReportResult;
    int result =
        engine_.LlPrintWithBoxStartA(job, int(type), file, PrintMode::PrintToPreview, 0, this, title_);
    if (result == Ok) {
        // Every sample record is the same: the values the caller declared for the design.
        const auto printRecord = [&](const std::function<int()>& print) {
            int answer = print();
            for (int tries = 0; answer == RecordDidNotFit && tries < 50; ++tries) {
                if (type == ProjectType::List)
                    engine_.LlPrint(job); // the rest goes on a new page
                answer = print();
            }
            return answer;
        };
        if (type == ProjectType::List) {
            result = engine_.LlPrint(job);
            for (int row = 0; row < SampleRows && result == Ok; ++row)
                result = printRecord([&] { return engine_.LlPrintFields(job); });
            if (result == Ok)
                result = printRecord([&] { return engine_.LlPrintFieldsEnd(job); });
        } else {
            const LabelGrid& grid = document_.Layout().labels;
            const int records =
                type == ProjectType::Card ? 1 : std::min(grid.rows * grid.columns, MaxSampleLabels);
            for (int record = 0; record < records && result == Ok; ++record)
                result = printRecord([&] { return engine_.LlPrint(job); });
        }
        const QString reason = run->lastError;
        const int ended = engine_.LlPrintEnd(job, 0);
        if (result == Ok && ended == Ok)
            engine_.LlPreviewDisplayA(job, file, QString(), this);
        else
            fail(reason.isEmpty() ? QStringLiteral("the pages could not be made.") : reason);
        engine_.LlPreviewDeleteFilesA(job, file, QString());
    } else {
        fail(run->lastError);
    }
    engine_.LlJobClose(job);
}

// --- the call

int RunLayoutDesigner(ReportJobs& engine, const ReportJob& job, const QString& title, ProjectType type,
                      const QString& layoutPath)
{
    const ThreadNumber caller = CurrentThread();
    LayoutDesigner designer(engine, job, title, type, layoutPath);
    bool ended = false;
    const ThreadNumber worker = StartProcedureThread([&designer, &ended, caller] {
        designer.Interact();
        ended = true;
        WakeThread(caller);
    });
    if (!worker)
        return ReportResult::BadJob;
    RunThreadModal(designer);
    WaitUntil([&ended] { return ended; }, WaitKind::Work);
    return ReportResult::Ok;
}

} // namespace jornix
