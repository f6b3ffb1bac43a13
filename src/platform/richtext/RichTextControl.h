#pragma once

#include "platform/richtext/ImageObjects.h"
#include "platform/richtext/NamedStyles.h"
#include "platform/richtext/PageSettings.h"
#include "platform/richtext/TextFormat.h"

#include <QByteArray>
#include <QPointer>
#include <QImage>
#include <QTextEdit>

#include <memory>
#include <optional>

class QPainter;
class QTextTable;
class QTextTableFormat;

namespace jornix {

class ButtonBar;
class HeaderFooterEditor;
class HeaderFooterLayout;
class Ruler;
class SpellChecker;
class SpellingHighlighter;
class StatusBar;
class TextFields;

// The result of converting the document into one of the formats.
struct Conversion
{
    QByteArray bytes;
    QString error; // empty when the conversion worked
    bool ok() const { return error.isEmpty(); }
};

// A key typed into the control; a handler of KeyPress that sets character to 0 cancels it.
struct KeyPressEvent
{
    int character = 0;
};

// Shift states of the key and mouse events, as bits.
namespace ShiftState {
enum : int
{
    Shift = 1,
    Ctrl = 2,
    Alt = 4
};
}

// The rich-text control: a QTextEdit with the page, load, save and selection operations that the document
// component works through. Page values are in twips; formats are those of TextFormat.h.
//
// Where the operations of the control were reached by window messages, these are the operations that answer
// them (messages not in this table arrive with the features that use them: lines and positions 1125, 1129,
// 1139, 1140, 1142, 1192, 1213; grid lines 1151, 1169; text fields 1220 to 1233; undo and redo 2031, 2032,
// 2040). Headers and footers: 1284 and 1285 switch one on, 1289 off (SetHeaderFooterOn), and the methods
// "HeaderFooterSelect(" with 1193 put a text into one (SetHeaderFooterText), "HeaderFooterActivate(" puts the
// caret into one (HeaderFooterActivate). The printing messages (1195 draw a page, 1196 count the pages,
// 1209 and 1210 the printer, 2037 the device) are answered by PagePainter (PagePainter.h), which lays the
// document out on its page and draws one page at a time on any paint device.
//
//   message  operation
//   1136     TextLength()                            length of the text, 0 for an empty document
//   1158     SetSelStart() and SetSelLength()        set the selection
//   1193     SetSelText()                            replace the selection
//   1203     Text()                                  the text
//   1237     ClearDocument()                         remove an object (the whole clearing sequence:
//   1239                                             next object, 1193, 1158, 1258 reset undo)
//   1258
//   1270     ViewMode() == ViewMode::Page            whether pages are shown
//   2024     Save(TextFormat::OwnFormat)             the document in the own format
//   2025     SaveLength(TextFormat::OwnFormat)       its length
//   2027     Load(bytes, TextFormat::OwnFormat)      load a document of the own format
//   2049     Save(format, selectionOnly),            a conversion into memory and its length
//            SaveLength(format, selectionOnly)
//
// The functions of the control's library: its version needs no answer here, and the format test of a
// document is IsOwnFormat() (OwnFormat.h). Properties by name map to the getters and setters of the same
// names (PageWidth, PageMarginL, SelStart, SelText, RTFSelText, Text, ViewMode, ImageSaveMode ...); the
// methods "Refresh", "Load(" and "Save(" to Refresh(), LoadFile() and SaveFile(). The events "Change", "KeyDown", "KeyUp", "KeyPress" and
// "MouseDown" are the signals below.
class RichTextControl : public QTextEdit
{
    Q_OBJECT

public:
    enum class ViewMode
    {
        Normal = 0,
        Page = 1,
        Draft = 2
    };

    explicit RichTextControl(QWidget* parent = nullptr);
    ~RichTextControl() override;

    int PageWidth() const { return page_.width; }
    int PageHeight() const { return page_.height; }
    int PageMarginL() const { return page_.marginLeft; }
    int PageMarginT() const { return page_.marginTop; }
    int PageMarginR() const { return page_.marginRight; }
    int PageMarginB() const { return page_.marginBottom; }
    void SetPageWidth(int twips);
    void SetPageHeight(int twips);
    void SetPageMarginL(int twips);
    void SetPageMarginT(int twips);
    void SetPageMarginR(int twips);
    void SetPageMarginB(int twips);
    PageSettings Page() const { return page_; }
    void SetPage(const PageSettings& page);

    // Replaces the document. Bytes that are no document of the format (damaged, foreign) leave the control
    // empty and give false; a format that cannot be loaded changes nothing and gives false. RTF that gives
    // the paper size or margins sets the page. Loading is not an edit: it sends no Changed and leaves
    // nothing to undo.
    bool Load(const QByteArray& bytes, int format, QString* error = nullptr);
    Conversion Save(int format, bool selectionOnly = false) const;
    // The whole of a document as plain text, as Save writes it (UTF-8): every paragraph ends with a line
    // break and pictures leave nothing.
    static QByteArray PlainTextOf(const QTextDocument& document);
    // The number of bytes Save gives; 0 for a format that is not supported.
    qint32 SaveLength(int format, bool selectionOnly = false) const;
    // A file that cannot be read, a damaged file of the own format and RTF that does not start as RTF
    // change nothing.
    bool LoadFile(const QString& fileName, int format, QString* error = nullptr);
    // Writes through a temporary file and a rename, so a failed save never leaves half a file and leaves
    // an existing file as it was. HTML with ImageSaveMode 0 puts its pictures beside the file as PNG files
    // named after it ("page.html" gets "page-1.png" ...).
    bool SaveFile(const QString& fileName, int format, QString* error = nullptr) const;

    // How HTML carries its pictures: 0 as files beside the HTML file (in memory: by their names), 1 (the
    // default) embedded in the HTML as data.
    int ImageSaveMode() const { return imageSaveMode_; }
    void SetImageSaveMode(int mode) { imageSaveMode_ = mode == 0 ? 0 : 1; }

    // The selection as RTF; setting it replaces the selection with the RTF (text outside ASCII in it is
    // taken as it stands). Text that is no RTF changes nothing.
    QString RTFSelText() const;
    void SetRTFSelText(const QString& rtf);

    int TextLength() const;
    QString Text() const;

    int SelStart() const;
    void SetSelStart(int position); // collapses the selection there
    int SelLength() const;
    void SetSelLength(int length); // from SelStart; -1 selects to the end
    QString SelText() const;
    void SetSelText(const QString& text);
    void SelectAll();

    // Empties the document with its objects and undo history; an edit, so Changed follows.
    void ClearDocument();
    void Refresh();

    ViewMode GetViewMode() const { return viewMode_; }
    void SetViewMode(ViewMode mode);

    // The scale of the display in percent (10 to 400): every size the document holds is drawn scaled, the
    // document itself stays as it is.
    int ZoomFactor() const { return zoom_; }
    void SetZoomFactor(int percent);
    // Formatting marks: tabs, blanks and paragraph ends shown.
    bool ControlChars() const { return controlChars_; }
    void SetControlChars(bool show);
    // Dotted lines around the cells of tables that have no border of their own.
    bool TableGridLines() const { return gridLines_; }
    void SetTableGridLines(bool show);
    // 0 the text can be edited, anything else only read and selected.
    int EditMode() const { return editMode_; }
    void SetEditMode(int mode);
    // The list of the selection's paragraphs: BulletList, NumberedList, or 1 outside lists; any other type
    // takes the paragraphs out of their lists.
    static constexpr int BulletList = 2;
    static constexpr int NumberedList = 4;
    int ListType() const;
    void SetListType(int listType);
    // The paragraphs of the selection: 0 left, 1 right, 2 centred, 3 justified.
    int Alignment() const;
    void SetAlignment(int alignment);
    static Qt::Alignment AlignmentOf(int alignment);
    bool CanUndo() const;
    bool CanRedo() const;
    // The clipboard: 1 cut, 2 copy, 3 paste; 4 deletes the selection.
    void Clip(int operation);
    // The position of the next occurrence of the text from the position on, -1 when there is none.
    int Find(const QString& text, int from, bool matchCase = true) const;
    // Replaces every occurrence, each search going on after the replacement made, as one step to undo;
    // gives the number replaced.
    int ReplaceAll(const QString& text, const QString& replacement, bool matchCase = true);

    // Tables (RichTextTables.cpp). A table's id is its number among the document's tables in document order,
    // from 1 (tables inside cells counted after the table that holds them); 0 is no table. Rows, columns
    // and cells count from 1; a cell's start counts the document's characters from 1 and its length is
    // that of its text, so that a selection from the first cell's start to the last cell's end, with its
    // end mark, holds the whole table. The operations do nothing and answer 0 or false while the text can
    // only be read, or where they do not apply.
    QTextTable* TableOf(int id) const;
    int TableId(const QTextTable* table) const;
    // The table at the caret, innermost first; with a selection that holds one whole table, that table.
    QTextTable* CurrentTable() const;
    int TableAtInputPos() const;
    int TableRows(int id) const;
    int TableColumns(int id) const;
    int TableCellStart(int id, int row, int column) const;
    int TableCellLength(int id, int row, int column) const;
    // A table of empty cells without border at the caret, the caret in its first cell; its id, or 0
    // when no table can be inserted there (inside a table, or rows or columns outside 1 to 255).
    int TableInsert(int rows, int columns);
    // Rows above (1) or below (2) the caret's row or the selected rows; a column left (1) or right (2)
    // of the caret's column or the selected columns.
    void TableInsertLines(int position, int count);
    void TableInsertColumn(int position);
    // The rows or columns of the selected cells, or the caret's; deleting them all deletes the table.
    void TableDeleteLines();
    void TableDeleteColumn();
    bool TableCanInsert() const;
    bool TableCanInsertLines() const;
    bool TableCanInsertColumn() const;
    bool TableCanDeleteLines() const;
    bool TableCanDeleteColumn() const;
    bool TableCanChangeAttr() const;
    // A table's format changed as a step to undo (the document alone keeps no undo step for it).
    static void SetTableFormat(QTextTable& table, const QTextTableFormat& format);
    static constexpr int MaxTableDimension = 255;

    // Pictures and paragraph frames (ImageObjects.h, ParagraphFrames.h). The text position nearest the point
    // of the document where the mouse was last pressed (scrolling since then does not move it); the caret's
    // before the first click.
    int PositionNearestLastClick() const;
    // Inserts the picture file as a character in place of the selection, no wider than the page's text.
    bool InsertImageFile(const QString& fileName, const ObjectAttributes& attributes, QString* error = nullptr);

    // The document's named styles, saved with it in the own format; loading a document brings its own (none
    // from the other formats), clearing it keeps them. Setting them is a change of the document: Changed
    // follows (and NamedStylesChanged), nothing to undo. ApplyNamedStyle puts the style of the name on the
    // selection as one step to undo (ApplyNamedStyle in NamedStyles.h); false, changing nothing, for a name
    // the document has no style of or text that can only be read.
    const QList<NamedStyle>& NamedStyles() const { return namedStyles_; }
    void SetNamedStyles(const QList<NamedStyle>& styles);
    bool ApplyNamedStyle(const QString& name);

    // The companion bars; each may be absent, and the control works without them.
    void SetButtonBar(ButtonBar* bar);
    void SetRuler(Ruler* ruler);
    void SetStatusBar(StatusBar* bar);
    ButtonBar* GetButtonBar() const;
    Ruler* GetRuler() const;
    StatusBar* GetStatusBar() const;

    // Spelling (RichTextControlSpelling.cpp). HideSelection: whether the selection is hidden while another
    // window has the focus; off by default. The control's own checker (the en_US dictionary unless one was
    // given) serves its own check; it is shared by every control that was given none.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    SpellChecker& OwnSpellChecker();
    void SetOwnSpellChecker(std::shared_ptr<SpellChecker> checker);
    // Marks the words the checker finds fault with as they are typed; nullptr stops it. The marks are
    // only drawn: the document, its undo steps and its modified state stay, and no Changed is sent.
    void SetTypingChecker(SpellChecker* checker);

    // Headers and footers, by their kinds of HeadersFooters.h. They belong to the document: loading and
    // clearing replace them, the own format and PDF keep them, page view and printing show them on every
    // page they head, and an edit of one is an edit of the document (Changed). A part switched on starts
    // empty; switching it off removes it with its text.
    bool HeaderFooterOn(int kind) const;
    void SetHeaderFooterOn(int kind, bool on);
    QString HeaderFooterText(int kind) const;
    // The text, plain, in place of the part's; nothing for a part that is off.
    void SetHeaderFooterText(int kind, const QString& text);
    // Puts the caret into the part: in page view, for a part switched on that a page shows, an editor of its
    // text (HeaderFooterEditor.h) takes the focus on its place on the first page that shows it. 0 gives the
    // caret back to the text of the pages. 1 when the caret went where asked, else 0.
    int HeaderFooterActivate(int kind);
    int ActiveHeaderFooter() const { return activeHeaderFooter_; }
    HeaderFooterEditor* ActiveHeaderFooterEditor() const;

    // Text fields (TextFields.h, which lists the messages they answer). Loading and clearing remove every
    // field; the own format stores them and loads them again. Typing at a field's start or end never joins
    // it.
    TextFields& Fields() const;

signals:
    void Changed();
    void KeyDown(int key, int shiftState);
    void KeyUp(int key, int shiftState);
    void KeyPress(jornix::KeyPressEvent* press);
    void MouseDown(int button, int shiftState, QPoint position); // button 1 left, 2 right, 4 middle
    void PageChanged();
    void NamedStylesChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr int PageGap = 16; // between two pages in page view, in layout units
    void applyPage();
    void applyPageLayout();
    void loadWithoutChange(const std::function<void()>& load);

    QByteArray html(const QTextDocument& source, const QString& imageFolder, const QString& imageBase,
                    QList<std::pair<QString, QImage>>* imageFiles) const;

    // Tab and Shift+Tab in a table: the text of the next or the previous cell selected; Tab in the last cell
    // adds a row. False outside a table or in text that can only be read.
    bool moveToNeighbourCell(bool forward);

    void applyZoom();
    void paintGridLines(QPainter& painter);

    PageSettings page_;
    int zoom_ = 100;
    bool controlChars_ = false;
    bool gridLines_ = false;
    int editMode_ = 0;
    QImage zoomDevice_; // the layout's device: its resolution scales the document
    int imageSaveMode_ = 1;
    ViewMode viewMode_ = ViewMode::Normal;
    bool loading_ = false;
    QPointer<ButtonBar> buttonBar_;
    QPointer<Ruler> ruler_;
    QPointer<StatusBar> statusBar_;
    std::optional<QPoint> lastClick_; // in the document's coordinates, the scrolling added

    // Named styles
    QList<NamedStyle> namedStyles_;
    // Spelling
    bool hideSelection_ = false;
    QBrush shownHighlight_, shownHighlightedText_;
    std::shared_ptr<SpellChecker> ownSpellChecker_;
    QPointer<SpellingHighlighter> typingMarker_;

    // Headers and footers (RichTextControlHeadersFooters.cpp).
    bool paged() const;
    // For the page, kept until a part or the page changes.
    const HeaderFooterLayout& headerFooterLayout() const;
    void headersFootersChanged();
    void headerFooterRemoving(int kind);
    void closeHeaderFooterEditor();
    void placeHeaderFooterEditor();
    // The header and footer of page index, whose top left corner is at origin in the viewport.
    void paintHeadersFooters(QPainter& painter, QPointF origin, int index);
    mutable std::unique_ptr<HeaderFooterLayout> headerFooterLayout_;
    QPointer<HeaderFooterEditor> headerFooterEditor_;
    int activeHeaderFooter_ = 0;

    mutable std::unique_ptr<TextFields> fields_;
    void keepTypingOutsideFields();

protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace jornix
