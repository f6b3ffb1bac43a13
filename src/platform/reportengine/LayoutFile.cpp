#include "platform/runtime/SafeFileWriter.h"
#include "platform/reportengine/LayoutFile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace jornix {

namespace {

const QString RootElement = QStringLiteral("jornix-layout");

// Bounds that no layout made by a designer comes near; they keep a hostile file from costing much.
constexpr int MaxObjects = 10000;
constexpr int MaxListEntries = 1000; // lines of a text, columns, lines of a table part, cells of a line
constexpr int MaxTextLength = 64 * 1024;
constexpr double MaxLength = 100000; // millimetres
constexpr int MaxGridCount = 1000;

template <class Enum> struct EnumName
{
    Enum value;
    const char* name;
};

constexpr EnumName<ProjectType> ProjectNames[] = {
    {ProjectType::Label, "label"}, {ProjectType::List, "list"}, {ProjectType::Card, "card"}};
constexpr EnumName<LayoutLayer> LayerNames[] = {{LayoutLayer::EveryPage, "every"},
                                                {LayoutLayer::CoverPage, "cover"},
                                                {LayoutLayer::FirstPage, "first"},
                                                {LayoutLayer::FollowingPages, "following"}};
constexpr EnumName<TextAlignment> AlignmentNames[] = {{TextAlignment::Left, "left"},
                                                      {TextAlignment::Centre, "centre"},
                                                      {TextAlignment::Right, "right"},
                                                      {TextAlignment::Justify, "justify"}};
constexpr EnumName<ObjectKind> ObjectNames[] = {
    {ObjectKind::Text, "text"},       {ObjectKind::Line, "line"},       {ObjectKind::Rectangle, "rectangle"},
    {ObjectKind::Picture, "picture"}, {ObjectKind::Barcode, "barcode"}, {ObjectKind::Table, "table"}};

template <class Enum, std::size_t N> QString NameOf(const EnumName<Enum> (&names)[N], Enum value)
{
    for (const auto& entry : names)
        if (entry.value == value)
            return QString::fromLatin1(entry.name);
    return {};
}

QString Number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString ColourText(const QColor& colour)
{
    return colour.isValid() ? colour.name(QColor::HexArgb) : QString();
}

// ---------------------------------------------------------------------------------------------------------
// Reading

class LayoutReader
{
public:
    explicit LayoutReader(const QByteArray& data) : xml_(data) {}

    bool Read(ReportLayout& layout, QString& error)
    {
        ReadDocument(layout);
        // A file cut short or followed by rubbish is damaged even when the layout itself was complete.
        while (!failed_ && !xml_.atEnd()) {
            xml_.readNext();
            CheckToken();
        }
        if (!failed_ && xml_.hasError())
            Fail(xml_.errorString());
        if (failed_)
            error = error_;
        return !failed_;
    }

private:
    void ReadDocument(ReportLayout& layout)
    {
        if (!NextStartElement()) {
            if (!failed_)
                Fail(QStringLiteral("it holds no layout"));
            return;
        }
        if (xml_.name() != RootElement) {
            Refuse(QStringLiteral("it is not a report layout"));
            return;
        }
        bool ok = false;
        const int version = xml_.attributes().value(QStringLiteral("version")).toInt(&ok);
        if (!ok || version < 1) {
            Fail(QStringLiteral("the layout version is missing or wrong"));
            return;
        }
        if (version > ReportLayout::CurrentVersion) {
            Refuse(QStringLiteral("it was made by a newer version of the program (layout version %1; this "
                                  "version reads layouts up to version %2)")
                       .arg(version)
                       .arg(ReportLayout::CurrentVersion));
            return;
        }
        layout = ReportLayout();
        layout.projectType = EnumAttribute(QStringLiteral("project"), ProjectNames, ProjectType::List, true);
        layout.description = TextAttribute(QStringLiteral("description"));
        while (!failed_ && NextChild()) {
            const auto name = xml_.name();
            if (name == QLatin1String("paper"))
                ReadPaper(layout.paper);
            else if (name == QLatin1String("labels"))
                ReadLabels(layout.labels);
            else if (name == QLatin1String("layer"))
                ReadLayer(layout);
            else
                xml_.skipCurrentElement();
        }
    }

    void ReadPaper(PaperSetup& paper)
    {
        paper.width = Length(QStringLiteral("width"), paper.width);
        paper.height = Length(QStringLiteral("height"), paper.height);
        paper.leftMargin = Length(QStringLiteral("left"), paper.leftMargin);
        paper.topMargin = Length(QStringLiteral("top"), paper.topMargin);
        paper.rightMargin = Length(QStringLiteral("right"), paper.rightMargin);
        paper.bottomMargin = Length(QStringLiteral("bottom"), paper.bottomMargin);
        SkipContent();
    }

    void ReadLabels(LabelGrid& grid)
    {
        grid.rows = Count(QStringLiteral("rows"), grid.rows);
        grid.columns = Count(QStringLiteral("columns"), grid.columns);
        grid.horizontalPitch = Length(QStringLiteral("horizontal-pitch"), grid.horizontalPitch);
        grid.verticalPitch = Length(QStringLiteral("vertical-pitch"), grid.verticalPitch);
        grid.leftMargin = Length(QStringLiteral("left"), grid.leftMargin);
        grid.topMargin = Length(QStringLiteral("top"), grid.topMargin);
        grid.labelWidth = Length(QStringLiteral("width"), grid.labelWidth);
        grid.labelHeight = Length(QStringLiteral("height"), grid.labelHeight);
        SkipContent();
    }

    void ReadLayer(ReportLayout& layout)
    {
        const LayoutLayer layer =
            EnumAttribute(QStringLiteral("page"), LayerNames, LayoutLayer::EveryPage, true);
        std::vector<LayoutObject>& objects = layout.Layer(layer);
        while (!failed_ && NextChild()) {
            const auto kind = EnumFromName(ObjectNames, xml_.name());
            if (!kind) {
                xml_.skipCurrentElement();
                continue;
            }
            if (++objectCount_ > MaxObjects) {
                Fail(QStringLiteral("it holds more than %1 objects").arg(MaxObjects));
                return;
            }
            objects.push_back(ReadObject(*kind));
        }
    }

    LayoutObject ReadObject(ObjectKind kind)
    {
        LayoutObject object;
        object.kind = kind;
        object.name = TextAttribute(QStringLiteral("name"));
        object.frame = QRectF(Length(QStringLiteral("x"), 0), Length(QStringLiteral("y"), 0),
                              Length(QStringLiteral("width"), 0), Length(QStringLiteral("height"), 0));
        object.condition = TextAttribute(QStringLiteral("condition"));
        switch (kind) {
        case ObjectKind::Text:
            object.wrap = Flag(QStringLiteral("wrap"), object.wrap);
            object.continuesOnNextPage = Flag(QStringLiteral("continues"), object.continuesOnNextPage);
            while (!failed_ && NextChild()) {
                if (xml_.name() == QLatin1String("style")) {
                    ReadStyle(object.style);
                } else if (xml_.name() == QLatin1String("line")) {
                    if (Room(object.lines.size(), QStringLiteral("lines")))
                        object.lines.append(TextAttribute(QStringLiteral("formula")));
                    SkipContent();
                } else {
                    xml_.skipCurrentElement();
                }
            }
            return object;
        case ObjectKind::Line:
        case ObjectKind::Rectangle:
            object.penColour = ColourAttribute(QStringLiteral("pen"), object.penColour);
            object.penWidth = Length(QStringLiteral("pen-width"), object.penWidth);
            object.fillColour = ColourAttribute(QStringLiteral("fill"), object.fillColour);
            break;
        case ObjectKind::Picture:
            object.pictureFile = TextAttribute(QStringLiteral("file"));
            object.pictureItem = TextAttribute(QStringLiteral("item"));
            object.keepAspectRatio = Flag(QStringLiteral("keep-aspect"), object.keepAspectRatio);
            break;
        case ObjectKind::Barcode:
            object.barcodeFormula = TextAttribute(QStringLiteral("formula"));
            object.symbology = TextAttribute(QStringLiteral("symbology"), object.symbology);
            object.showBarcodeText = Flag(QStringLiteral("show-text"), object.showBarcodeText);
            break;
        case ObjectKind::Table:
            ReadTable(object.table);
            return object;
        }
        SkipContent();
        return object;
    }

    void ReadTable(TableContent& table)
    {
        while (!failed_ && NextChild()) {
            const auto name = xml_.name();
            if (name == QLatin1String("column")) {
                if (Room(table.columns.size(), QStringLiteral("columns")))
                    table.columns.push_back(
                        {TextAttribute(QStringLiteral("title")), Length(QStringLiteral("width"), 20)});
                SkipContent();
            } else if (name == QLatin1String("header")) {
                ReadTableLines(table.headerLines);
            } else if (name == QLatin1String("group")) {
                table.groupFormula = TextAttribute(QStringLiteral("formula"));
                ReadTableLines(table.groupHeaderLines);
            } else if (name == QLatin1String("data")) {
                ReadTableLines(table.dataLines);
            } else if (name == QLatin1String("footer")) {
                ReadTableLines(table.footerLines);
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    void ReadTableLines(std::vector<TableLine>& lines)
    {
        while (!failed_ && NextChild()) {
            if (xml_.name() != QLatin1String("row") || !Room(lines.size(), QStringLiteral("table lines"))) {
                xml_.skipCurrentElement();
                continue;
            }
            TableLine& line = lines.emplace_back();
            line.condition = TextAttribute(QStringLiteral("condition"));
            while (!failed_ && NextChild()) {
                if (xml_.name() != QLatin1String("cell") ||
                    !Room(line.cells.size(), QStringLiteral("cells"))) {
                    xml_.skipCurrentElement();
                    continue;
                }
                TableCell& cell = line.cells.emplace_back();
                cell.formula = TextAttribute(QStringLiteral("formula"));
                while (!failed_ && NextChild()) {
                    if (xml_.name() == QLatin1String("style"))
                        ReadStyle(cell.style);
                    else
                        xml_.skipCurrentElement();
                }
            }
        }
    }

    void ReadStyle(TextStyle& style)
    {
        style.fontFamily = TextAttribute(QStringLiteral("font"), style.fontFamily);
        style.pointSize = Bounded(QStringLiteral("size"), style.pointSize, 0.5, 2000);
        style.bold = Flag(QStringLiteral("bold"), style.bold);
        style.italic = Flag(QStringLiteral("italic"), style.italic);
        style.underline = Flag(QStringLiteral("underline"), style.underline);
        style.colour = ColourAttribute(QStringLiteral("colour"), style.colour);
        style.alignment = EnumAttribute(QStringLiteral("align"), AlignmentNames, style.alignment, false);
        SkipContent();
    }

    // --- tokens

    // Moves to the next child element of the current element; false at its end tag (or when reading failed).
    bool NextChild()
    {
        while (!failed_) {
            xml_.readNext();
            if (!CheckToken())
                return false;
            if (xml_.isStartElement())
                return true;
            if (xml_.isEndElement() || xml_.atEnd())
                return false;
        }
        return false;
    }

    bool NextStartElement()
    {
        while (!failed_ && !xml_.atEnd()) {
            xml_.readNext();
            if (!CheckToken())
                return false;
            if (xml_.isStartElement())
                return true;
        }
        return false;
    }

    void SkipContent()
    {
        if (!failed_)
            xml_.skipCurrentElement();
    }

    bool CheckToken()
    {
        if (xml_.hasError()) {
            Fail(xml_.errorString());
            return false;
        }
        // Entities declared in a document type could make a small file expand into a huge one.
        if (xml_.tokenType() == QXmlStreamReader::DTD) {
            Fail(QStringLiteral("it holds a document type declaration"));
            return false;
        }
        return true;
    }

    // --- attributes

    QString TextAttribute(const QString& name, const QString& fallback = {})
    {
        const QXmlStreamAttributes attributes = xml_.attributes();
        if (!attributes.hasAttribute(name))
            return fallback;
        const QStringView value = attributes.value(name);
        if (value.size() > MaxTextLength) {
            Fail(
                QStringLiteral("the attribute %1 is longer than %2 characters").arg(name).arg(MaxTextLength));
            return fallback;
        }
        return value.toString();
    }

    double Bounded(const QString& name, double fallback, double low, double high)
    {
        const QString text = TextAttribute(name);
        if (text.isNull())
            return fallback;
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < low || value > high) {
            Fail(QStringLiteral("%1=\"%2\" is no number from %3 to %4")
                     .arg(name, text.left(40))
                     .arg(low)
                     .arg(high));
            return fallback;
        }
        return value;
    }

    double Length(const QString& name, double fallback)
    {
        return Bounded(name, fallback, -MaxLength, MaxLength);
    }
    int Count(const QString& name, int fallback) { return int(Bounded(name, fallback, 1, MaxGridCount)); }
    bool Flag(const QString& name, bool fallback) { return Bounded(name, fallback ? 1 : 0, 0, 1) != 0; }

    QColor ColourAttribute(const QString& name, const QColor& fallback)
    {
        const QString text = TextAttribute(name);
        if (text.isNull())
            return fallback;
        if (text.isEmpty())
            return QColor();
        const QColor colour = QColor::fromString(text);
        if (!colour.isValid())
            Fail(QStringLiteral("%1=\"%2\" is no colour").arg(name, text.left(40)));
        return colour;
    }

    template <class Enum, std::size_t N>
    static std::optional<Enum> EnumFromName(const EnumName<Enum> (&names)[N], QStringView name)
    {
        for (const auto& entry : names)
            if (name == QLatin1String(entry.name))
                return entry.value;
        return std::nullopt;
    }

    template <class Enum, std::size_t N>
    Enum EnumAttribute(const QString& name, const EnumName<Enum> (&names)[N], Enum fallback, bool required)
    {
        const QString text = TextAttribute(name);
        if (text.isNull() && !required)
            return fallback;
        const auto value = EnumFromName(names, text);
        if (!value) {
            Fail(QStringLiteral("%1=\"%2\" is not known").arg(name, text.left(40)));
            return fallback;
        }
        return *value;
    }

    bool Room(qsizetype used, const QString& what)
    {
        if (used < MaxListEntries)
            return true;
        Fail(QStringLiteral("a part holds more than %1 %2").arg(MaxListEntries).arg(what));
        return false;
    }

    // --- failures

    void Fail(const QString& what)
    {
        if (failed_)
            return;
        failed_ = true;
        error_ = QStringLiteral("the file is damaged at line %1, column %2: %3")
                     .arg(xml_.lineNumber())
                     .arg(xml_.columnNumber())
                     .arg(what);
    }

    void Refuse(const QString& why)
    {
        failed_ = true;
        error_ = why;
    }

    QXmlStreamReader xml_;
    bool failed_ = false;
    QString error_;
    int objectCount_ = 0;
};

// ---------------------------------------------------------------------------------------------------------
// Writing

class LayoutWriter
{
public:
    explicit LayoutWriter(QByteArray& data) : xml_(&data) { xml_.setAutoFormatting(true); }

    bool Write(const ReportLayout& layout)
    {
        xml_.writeStartDocument();
        xml_.writeStartElement(RootElement);
        xml_.writeAttribute(QStringLiteral("version"), QString::number(ReportLayout::CurrentVersion));
        xml_.writeAttribute(QStringLiteral("project"), NameOf(ProjectNames, layout.projectType));
        Text(QStringLiteral("description"), layout.description);

        const PaperSetup& paper = layout.paper;
        xml_.writeEmptyElement(QStringLiteral("paper"));
        Lengths({{"width", paper.width},
                 {"height", paper.height},
                 {"left", paper.leftMargin},
                 {"top", paper.topMargin},
                 {"right", paper.rightMargin},
                 {"bottom", paper.bottomMargin}});
        if (layout.projectType == ProjectType::Label) {
            const LabelGrid& grid = layout.labels;
            xml_.writeEmptyElement(QStringLiteral("labels"));
            Lengths({{"rows", double(grid.rows)},
                     {"columns", double(grid.columns)},
                     {"horizontal-pitch", grid.horizontalPitch},
                     {"vertical-pitch", grid.verticalPitch},
                     {"left", grid.leftMargin},
                     {"top", grid.topMargin},
                     {"width", grid.labelWidth},
                     {"height", grid.labelHeight}});
        }
        for (int layer = 0; layer < LayoutLayerCount; ++layer) {
            if (layout.layers[layer].empty())
                continue;
            xml_.writeStartElement(QStringLiteral("layer"));
            xml_.writeAttribute(QStringLiteral("page"), NameOf(LayerNames, LayoutLayer(layer)));
            for (const LayoutObject& object : layout.layers[layer])
                WriteObject(object);
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
        xml_.writeEndDocument();
        // The writer leaves out characters that XML cannot carry and says so here.
        return !xml_.hasError();
    }

private:
    void WriteObject(const LayoutObject& object)
    {
        xml_.writeStartElement(NameOf(ObjectNames, object.kind));
        Text(QStringLiteral("name"), object.name);
        Lengths({{"x", object.frame.x()},
                 {"y", object.frame.y()},
                 {"width", object.frame.width()},
                 {"height", object.frame.height()}});
        Text(QStringLiteral("condition"), object.condition);
        switch (object.kind) {
        case ObjectKind::Text:
            Flag(QStringLiteral("wrap"), object.wrap);
            Flag(QStringLiteral("continues"), object.continuesOnNextPage);
            WriteStyle(object.style);
            for (const QString& line : object.lines) {
                xml_.writeEmptyElement(QStringLiteral("line"));
                xml_.writeAttribute(QStringLiteral("formula"), line);
            }
            break;
        case ObjectKind::Line:
        case ObjectKind::Rectangle:
            xml_.writeAttribute(QStringLiteral("pen"), ColourText(object.penColour));
            Lengths({{"pen-width", object.penWidth}});
            xml_.writeAttribute(QStringLiteral("fill"), ColourText(object.fillColour));
            break;
        case ObjectKind::Picture:
            Text(QStringLiteral("file"), object.pictureFile);
            Text(QStringLiteral("item"), object.pictureItem);
            Flag(QStringLiteral("keep-aspect"), object.keepAspectRatio);
            break;
        case ObjectKind::Barcode:
            xml_.writeAttribute(QStringLiteral("formula"), object.barcodeFormula);
            xml_.writeAttribute(QStringLiteral("symbology"), object.symbology);
            Flag(QStringLiteral("show-text"), object.showBarcodeText);
            break;
        case ObjectKind::Table:
            WriteTable(object.table);
            break;
        }
        xml_.writeEndElement();
    }

    void WriteTable(const TableContent& table)
    {
        for (const TableColumn& column : table.columns) {
            xml_.writeEmptyElement(QStringLiteral("column"));
            xml_.writeAttribute(QStringLiteral("title"), column.title);
            Lengths({{"width", column.width}});
        }
        WriteTableLines(QStringLiteral("header"), table.headerLines);
        if (!table.groupFormula.isEmpty() || !table.groupHeaderLines.empty()) {
            xml_.writeStartElement(QStringLiteral("group"));
            xml_.writeAttribute(QStringLiteral("formula"), table.groupFormula);
            WriteTableLineRows(table.groupHeaderLines);
            xml_.writeEndElement();
        }
        WriteTableLines(QStringLiteral("data"), table.dataLines);
        WriteTableLines(QStringLiteral("footer"), table.footerLines);
    }

    void WriteTableLines(const QString& part, const std::vector<TableLine>& lines)
    {
        if (lines.empty())
            return;
        xml_.writeStartElement(part);
        WriteTableLineRows(lines);
        xml_.writeEndElement();
    }

    void WriteTableLineRows(const std::vector<TableLine>& lines)
    {
        for (const TableLine& line : lines) {
            xml_.writeStartElement(QStringLiteral("row"));
            Text(QStringLiteral("condition"), line.condition);
            for (const TableCell& cell : line.cells) {
                xml_.writeStartElement(QStringLiteral("cell"));
                xml_.writeAttribute(QStringLiteral("formula"), cell.formula);
                WriteStyle(cell.style);
                xml_.writeEndElement();
            }
            xml_.writeEndElement();
        }
    }

    void WriteStyle(const TextStyle& style)
    {
        xml_.writeEmptyElement(QStringLiteral("style"));
        xml_.writeAttribute(QStringLiteral("font"), style.fontFamily);
        Lengths({{"size", style.pointSize}});
        Flag(QStringLiteral("bold"), style.bold);
        Flag(QStringLiteral("italic"), style.italic);
        Flag(QStringLiteral("underline"), style.underline);
        xml_.writeAttribute(QStringLiteral("colour"), ColourText(style.colour));
        xml_.writeAttribute(QStringLiteral("align"), NameOf(AlignmentNames, style.alignment));
    }

    // Texts that are empty by default are left out.
    void Text(const QString& name, const QString& value)
    {
        if (!value.isEmpty())
            xml_.writeAttribute(name, value);
    }

    void Flag(const QString& name, bool value)
    {
        xml_.writeAttribute(name, value ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void Lengths(std::initializer_list<std::pair<const char*, double>> values)
    {
        for (const auto& [name, value] : values)
            xml_.writeAttribute(QLatin1String(name), Number(value));
    }

    QXmlStreamWriter xml_;
};

} // namespace

bool ParseLayout(const QByteArray& data, ReportLayout& layout, QString& error)
{
    if (data.size() > MaxLayoutFileSize) {
        error = QStringLiteral("the file is larger than %1 MB").arg(MaxLayoutFileSize / (1024 * 1024));
        return false;
    }
    ReportLayout read;
    if (!LayoutReader(data).Read(read, error))
        return false;
    layout = std::move(read);
    return true;
}

bool SerializeLayout(const ReportLayout& layout, QByteArray& data, QString& error)
{
    QByteArray written;
    if (!LayoutWriter(written).Write(layout)) {
        error = QStringLiteral("a text of the layout holds a character that a layout file cannot keep");
        return false;
    }
    data = std::move(written);
    return true;
}

bool ReadLayoutFile(const QString& path, ReportLayout& layout, QString& error)
{
    QString reason;
    QFile file(path);
    if (!file.exists()) {
        reason = QStringLiteral("the file does not exist");
    } else if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else if (file.size() > MaxLayoutFileSize) {
        reason = QStringLiteral("the file is larger than %1 MB").arg(MaxLayoutFileSize / (1024 * 1024));
    } else {
        // Read one byte beyond the limit, so that a file that grows meanwhile is still caught.
        if (ParseLayout(file.read(MaxLayoutFileSize + 1), layout, reason))
            return true;
    }
    error = QStringLiteral("The report layout \"%1\" cannot be read: %2.").arg(path, reason);
    return false;
}

bool WriteLayoutFile(const QString& path, const ReportLayout& layout, QString& error)
{
    const auto fail = [&](const QString& reason) {
        error = QStringLiteral("The report layout \"%1\" cannot be saved: %2.").arg(path, reason);
        return false;
    };
    QByteArray data;
    QString reason;
    if (!SerializeLayout(layout, data, reason))
        return fail(reason);
    SafeFileWriter file(path);
    if (!file.Open() || !file.Write(data))
        return fail(file.Error());
    if (QFileInfo::exists(path)) {
        const QString backup = LayoutBackupPath(path);
        QFile::remove(backup);
        if (!QFile::copy(path, backup)) {
            QFile::remove(backup);
            return fail(QStringLiteral("the previous layout could not be kept as \"%1\"").arg(backup));
        }
    }
    if (!file.Commit())
        return fail(file.Error());
    return true;
}

QString LayoutBackupPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return path + QStringLiteral(".~");
    return path.left(path.size() - suffix.size()) + QLatin1Char('~') + suffix;
}

} // namespace jornix
