#pragma once

#include "documents/DocumentPageHeader.h"
#include "documents/MergeTokenTable.h"
#include "platform/richtext/PageSettings.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QTextDocument;

namespace jornix {

class ButtonBar;
class RichTextControl;
class Ruler;
class SpellChecker;
class StatusBar;
class Table;
struct MailMergeFields;
struct TextField;

// The document component: everything that edits, loads, stores, converts and prints rich text goes through
// one TXEdit, which wraps one rich-text control and its optional button bar, ruler and status bar. The
// controls belong to their window; TXEdit only works them. One object serves the thread that ran Init.
//
// The rich-text control is part of the program, so there is nothing to create or load: Init takes a
// control that exists. A creator without a window (search, printing, first-run setup, migration) owns a
// RichTextControl that is never shown and passes it.
//
// Format numbers are those of TextFormat.h: 1 plain text, 3 the control's own format, 4 HTML, 5 RTF,
// 9 Word and 12 PDF (these two saved only). Stored documents, as the notes of a log event hold them, are a
// DocumentPageHeader followed by the document in the own format; the BLOB operations take the bytes of
// the BLOB field, and writing the record stays with the caller.
class TXEdit
{
public:
    static constexpr int DefaultPageWidth = 12626;
    static constexpr int DefaultPageHeight = 17557;
    static constexpr int DefaultPageMargin = 720;

    TXEdit();
    ~TXEdit();
    TXEdit(const TXEdit&) = delete;
    TXEdit& operator=(const TXEdit&) = delete;

    // Joins the control and the bars given, sets the page defaults and normal view, and activates the
    // control. Without a control the object stays uninitialised and every operation does nothing.
    void Init(RichTextControl* textControl, ButtonBar* buttonBar = nullptr, Ruler* ruler = nullptr,
              StatusBar* statusBar = nullptr);
    void Kill();
    bool IsInitialised() const { return initialised_; }
    RichTextControl* TextControl() const;
    int ThreadId() const { return threadId_; }

    void Activate();            // shows the control and gives it the focus
    void SetViewMode(int mode); // 1 and 2 as given, anything else 0
    int PageView() const { return pageView_; }
    void SetRulerUnits(int unit); // 0 millimetres, 1 centimetres, 2 inches
    int Measurements() const { return measurements_; }
    void SetPageWidth(qint32 twips);  // no refresh
    void SetPageHeight(qint32 twips); // no refresh

    // Editing. Dialogs run thread-modally: the other program threads go on while they are open.
    void Cut();
    void Copy();  // only with a selection
    void Paste(); // only when the clipboard holds something
    int HasSelection() const;
    static int CanPaste();
    // Undo and Redo say "Nothing to undo!" or "Nothing to redo!" when there is nothing.
    void Undo();
    void Redo();
    int CanUndo() const;
    int CanRedo() const;
    void SelectAll();
    void ChooseForeColor();
    void ChooseBackColor();
    void FontDialog();
    // "Paragraph" for the paragraphs of the selection, then a refresh.
    void ParagraphDialog();
    // "Bullets and Numbering" for the paragraphs of the selection.
    void BulletsAndNumbering();
    // "Tabs" for the paragraphs of the selection.
    void TabDialog();
    // "Styles": the document's named styles made, changed, deleted and put on the selection.
    void StyleDialog();
    // 2 bullets, 4 numbers, anything else no list, for the paragraphs of the selection.
    void SetListType(qint32 listType);
    void SetNumbering(qint32 firstNumber);
    int ListType() const;
    // The list at the caret one level in or out; Decrease never goes below the first level.
    void IncreaseIndent();
    void DecreaseIndent();
    void SetControlChars(int show, int toggle);
    int ControlChars() const { return controlChars_; }
    void SetGridLines(int show, int toggle);
    void SetEditMode(qint32 mode);
    void SetZoom(qint32 percent);
    qint32 WordCount() const;
    // Selects the word at the caret within its line and gives its bounds.
    void SelectWord(qint32& start, qint32& end);
    // Every occurrence, each search going on after the replacement made, so it always ends.
    void ReplaceAll(const QString& find, const QString& replacement);
    void PlaceStatusBar();
    // The text in place of the selection, trailing blanks kept; NUL characters are left out.
    void SetSelText(const QString& text);
    // The list of the date and time in twelve forms; the row chosen is inserted and preselected next time.
    void InsertDateTime();
    // Asks for an RTF or text file and puts it in place of the selection.
    void InsertTextFile();
    // Imports the file in place of the selection, RTF by the name's last three letters; false, with the
    // control unchanged, for a file that cannot be read.
    bool ImportTextFile(const QString& fileName, QString* error = nullptr);
    void FindDialog();
    void ReplaceDialog();
    // "Document Properties" for the page; 1 when the user confirmed.
    int DocumentProperties();
    void PageSetup();

    // Tables and the context menu (TXEditTables.cpp). Table ids are the control's (RichTextControl.h):
    // 0 is no table. Positions for inserting: 1 above or left of the caret's row or column, 2 below or right.
    void InsertRows(qint32 position);
    void InsertRowAbove();
    void InsertRowBelow();
    void InsertColumns(qint32 position);
    void InsertColumnLeft();
    void InsertColumnRight();
    void DeleteRows();
    void DeleteColumns();
    // Selects the whole table, from its first cell to the end of its last.
    void SelectTable(qint32 tableId);
    void DeleteTable(qint32 tableId);
    int CanChangeTableAttributes() const;
    int CanInsertTable() const;
    int CanInsertColumns() const;
    int CanInsertRows() const;
    int CanDeleteColumns() const;
    int CanDeleteRows() const;
    // "Table Dimensions", then a table of that size at the caret with "Table Attributes" for its first
    // cell and then for the whole table.
    void InsertTable();
    // "Table Attributes" for the selection's cells of the table at the caret.
    void TableProperties();
    // The popup of the four table commands, and the right-click menu of every command; each runs the
    // item chosen, nothing when none was chosen.
    void TablePopupMenu();
    void ContextMenu();

    // Pictures, objects and paragraph frames (TXEditImages.cpp). InsertImage asks for a picture file in
    // "Insert Image" and inserts it as a character: with asCharacter set at the caret, with 0 at the text
    // position nearest the last click (pictures cannot stand at a point of the page; there they get text
    // flow). The option is the picture's "Save As Data?". A file that is no picture inserts nothing and
    // says so.
    void InsertImage(int asCharacter, int option = 1);
    // Objects of other programs cannot be embedded here: both say so and change nothing.
    void InsertObject(int atClick);
    void InsertOleObject(int asCharacter, int x, int y);
    // "Image Attributes" for the picture at the caret, in the unit of Measurements().
    void ImageAttributes();
    // "Paragraph Frames" for the paragraphs of the selection, then a refresh when confirmed.
    void ParagraphFrames();

    // Stored documents. The record-file forms work on the running thread's record buffer of the table, on
    // its BLOB number n: the n-th of its memo and BLOB fields, counted from 1 (the log event's document,
    // LOG:LogDoc, is number 2). Writing the record stays with the caller.
    void SaveToBlob(Table& file, int blobNumber) const;
    // Loading answers false when the bytes are no document the control can read (damaged): the control is
    // then empty.
    bool LoadFromBlob(Table& file, int blobNumber);
    static int IsTXDocument(Table& file, int blobNumber);
    void SaveToBlob(QByteArray& blob) const;
    bool LoadFromBlob(const QByteArray& blob);
    static int IsTXDocument(const QByteArray& blob);
    static int StripPageHeader(QByteArray& bytes, DocumentPageHeader& header);
    qint32 GetSaveLength(int format, int selectionOnly) const;
    // Loads a document file, its format by the extension. With ask set the open-file dialog "Open" chooses
    // the file; masks are "Text|*.txt|..." pairs, the built-in ones when builtInMasks is set.
    void LoadFile(const QString& masks, const QString& fileName, int ask, int builtInMasks);
    // 1 when the document was cleared or was empty, 0 when the user declined.
    int NewDocument(int clearWithoutAsking);
    QString WorkFileName() const { return workFileName_; }
    // ".RTF" 5, ".HTM" (also ".html") 4, ".TX" and ".TXD" 3, anything else 1; case does not matter.
    static int LoadFormatFromFileName(const QString& fileName);
    // As LoadFormatFromFileName, and ".DOC" 9, ".PDF" 12.
    static int SaveFormatFromFileName(const QString& fileName);

    // Stored documents in memory. LoadFromMemory takes the page header out of the caller's bytes (the
    // bytes behind it move to the front, followed by a zero byte); LoadFromString leaves them as they are.
    // The save variants write the document, with header when asked, to the start of the caller's buffer,
    // set length to its size and refuse ("Save Buffer To Small.") a buffer that cannot hold it.
    void LoadFromMemory(char* bytes, qint32 length);
    void LoadFromString(const QByteArray& bytes);
    void SaveToMemory(char* buffer, qint32 capacity, qint32& length, int withHeader) const;
    void SaveToString(QByteArray& buffer, qint32& length, int withHeader) const;
    // A bare document: the own format without page header. Loading also takes a stored document, whose
    // page header it passes over.
    void SaveToBlobViaFile(Table& file, int blobNumber) const;
    void SaveToBlobViaFile(QByteArray& blob) const;
    void LoadFromBlobViaFile(Table& file, int blobNumber);
    void LoadFromBlobViaFile(const QByteArray& blob);
    // The length of the document in the own format, with the page header's 30 bytes when asked.
    qint32 GetNativeLength(int withHeader) const;

    // Conversions. The buffer's size is its capacity; length is set to the converted length.
    void SaveToBuffer(QByteArray& buffer, qint32& length, int selectionOnly, int format) const;
    // "Save File As" on WorkFileName, with the built-in masks or the given ones; the format by
    // SaveFormatFromFileName, plain text (after a message) for a name without extension.
    void SaveAs(const QString& masks, int builtInMasks);
    // To WorkFileName by its extension; without a name, SaveAs with the built-in masks.
    void Save();
    // "Save File As" for a Word document; ".doc" is added to a name without extension.
    void SaveAsWord();
    // To the given name in the given format, 0 for the own format; WorkFileName stays.
    void SaveToFile(const QString& fileName, int format);
    // The selection as RTF, and RTF in place of the selection.
    void GetRTFSelText(QString& rtf) const;
    void SetRTFSelText(const QString& rtf);

    // Printing. The printer printed on is the one given, or else the program's printer (ProgramPrinter). PrintDocument asks for
    // printer, page range and copies in "Select Printer" unless told to skip it (Cancel prints nothing and
    // answers 1) and prints the pages on the document's page; the printer's choice before the call is
    // restored afterwards. PrintDirect prints alike. Both answer 0 after a failure, which a message tells.
    void SetPrinter(QPrinter* printer);
    QPrinter& Printer();
    int PrintDocument(int skipDialog);
    int PrintDirect(int skipDialog);

    // Page pictures: picture files (QPicture: the page's drawing commands, text as text) in the system's
    // temporary folder whose names begin with "TXF" and end in ".pic", one per page,
    // listed in MetaList until DeleteMetafiles removes them. RenderPageMetafiles lays the document out on a
    // page of the given size in inches without margins. SavePageAsMetafile writes page n (from 1) of the
    // document's own page as a picture of its text area, SavePageToFile as one of the page without its
    // right and bottom margins. The text forms take the page in thousandths of an inch: a stored document
    // (its page header passed over), a text (RTF when it begins with "{\rtf1", else plain text) or a file
    // (its format by its extension). All answer 1 when every picture was written, else 0.
    int RenderPageMetafiles(double widthInches, double heightInches);
    int SavePageAsMetafile(const QString& fileName, int page);
    int SavePageToFile(const QString& fileName, int page);
    int RenderTextMetafiles(qint32 width, qint32 height, const QByteArray& storedDocument);
    int RenderTextMetafiles(qint32 width, qint32 height, const QString& textOrFileName, int isFileName);
    // With a BLOB of at least 16 bytes its document, without one the file; a shorter BLOB answers 0.
    int RenderBlobOrFileMetafiles(const QByteArray* blob, const QString& fileName, qint32 width,
                                  qint32 height);
    // The first page of the BLOB's document on a page of the given size (thousandths of an inch) as the one
    // picture of the list.
    int RenderBlobMetafiles(qint32 width, qint32 height, const QByteArray& blob);
    // The pages of the document's text area, the document's own page less its margins.
    int RenderPrintableMetafiles();
    const QStringList& MetaList() const { return metaList_; }
    int MetaItems() const { return int(metaList_.size()); }
    void DeleteMetafiles();
    // Deletes every page picture that this program wrote and that is still there.
    static void DeleteTempMetafiles();

    // Spelling (TXEditSpelling.cpp). The checkers belong to their creator; the object only uses them. A
    // dictionary that cannot be read is said in a message, and nothing changes. The checks show "Spelling"
    // over the document, which follows each word it stops at; the selection stays visible meanwhile
    // (HideSelection off) and HideSelection has its earlier value afterwards.
    void SetSpellChecker(SpellChecker* checker); // the checker of SetCheckTyping and SpellingSuggestions
    // Marks the words the checker finds fault with while the user types; the document stays as it is.
    void SetCheckTyping();
    // The control's own check, then "Spell Check Complete!".
    void SpellCheck();
    void CheckSpellingLinked(SpellChecker* checker);
    void CheckSpellingText(SpellChecker* checker);
    // The popup of the word at start (length characters) with " (not in dictionary)" and the checker's
    // suggestions, at most maximum + 1 of them; the one chosen takes the word's place. No popup for a
    // word with one suggestion or none.
    void SpellingSuggestions(qint32 start, qint32 length, qint16 maximum);
    static constexpr int SuggestionTableSize = 32;
    static constexpr int SuggestionLength = 60;
    static constexpr int SuggestionPopupLength = 512;

    // Headers and footers (TXEditHeaders.cpp), only in page view: elsewhere a message captioned "TX EDIT"
    // says so and nothing changes. With on set the part is switched on with the text (its first 512
    // characters) in place of the one it had, and the caret goes into it; with on clear it is removed with
    // its text. ActivateHeaderFooter puts the caret into a part switched on (the kinds of HeadersFooters.h; 0
    // back into the text) and gives the control's answer, 1 when the caret went there.
    void InsertFirstHeader(int on, const QString& text);
    void InsertHeader(int on, const QString& text);
    void InsertFirstFooter(int on, const QString& text);
    void InsertFooter(int on, const QString& text);
    int ActivateHeaderFooter(int kind);

    // Text fields (TXEditFields.cpp): marked stretches of text with an id (0 is none), a type and two data
    // texts, kept by the control (TextFields.h) and stored with the document. Type 0 is a merge field, whose
    // data is its token; InsertTypedField makes type 1, InsertField type 2 and MarkTypedField type 3.
    // Operations on an id that is no field do nothing and answer 0 or empty texts.
    quint32 NextField(quint32 id) const; // 0: the first; 0 after the last
    QString GetFieldData(quint32 id) const;
    QString GetFieldTypeData(quint32 id) const;
    int GetFieldType(quint32 id) const; // -1 for no field
    void SelectField(quint32 id);
    // Selects the first field whose data is the text, case and trailing blanks aside.
    void FindFieldByData(const QString& data);
    // The selection becomes a field of type 2 with the data; with no selection at the end of the text a
    // blank is put there for it. The selection is cleared, the caret behind the field.
    void InsertField(const QString& data);
    // A field of type 1 showing the text, with the data as its type data, at the caret; its id.
    quint32 InsertTypedField(const QString& displayText, const QString& data);
    // Set: a field of type 3 with attribute 32768 showing the text at the caret; clear: the field at the
    // caret loses its mark.
    void MarkTypedField(int mark, const QString& displayText, const QString& data);
    void DeleteField(quint32 id); // the text stays
    void DeleteCurrentField();
    // Type 1: its text and type data, answer 1; else 0.
    int ReadMergeField(quint32 id, QString& text, QString& typeData) const;
    // ReadMergeField for the field at the caret; 0 when there is none.
    int ReadCurrentField(QString& text, QString& typeData) const;
    // Type 0: its text and data, answer 1; else 0.
    int GetFieldText(quint32 id, QString& text, QString& data) const;
    void SetFieldTypeText(quint32 id, const QString& text); // type 1 with the text as type data
    // For a field that is not a merge field: the value when it is not 0 and the text as data; answers 1,
    // else 0.
    int SetFieldData(quint32 id, qint32 value, const QString& text);
    // Every merge field in the colour; each field's colour before is kept for RestoreFieldColours.
    void HighlightFields(const QColor& colour);
    void RestoreFieldColours();
    // Every field in the colour, and underlined when asked. An invalid colour is the text's own.
    void MarkFieldsInColour(const QColor& colour, int underline);

    // Merge tokens (TXEditMergeTokens.cpp). The token list holds one row per distinct token of the merge
    // fields, in upper case and document order, with its value; rows are counted from 1.
    static constexpr auto FirstTokenMarker = "VERY FIRST TOKEN";
    static constexpr int TokenNameWidth = 256;
    static constexpr int TokenValueWidth = 1025;
    static constexpr int MergeTextWidth = 1256;
    // A merge field showing the text without trailing blanks at the caret, the caret behind it. The first
    // merge field of a document gets a blank before it.
    void InsertMergeToken(const QString& token, const QString& displayText);
    void CollectTokens();
    int TokenCount() const { return int(tokens_.size()); }
    QString GetTokenName(int row) const;  // "0" past the end
    QString GetTokenValue(int row) const; // "0" past the end
    // Every merge field shows "<<" + its token + ">>".
    void ShowTokenNames();
    // Every merge field of the token (case and trailing blanks aside) shows the text.
    void SetMergeFieldText(const QString& token, const QString& text);
    // Every merge field that shows the old text (case aside) shows the new one.
    void ReplaceFieldText(const QString& oldText, const QString& newText);
    // Collects the tokens and gives each the value of its expression over the running thread's record
    // buffer of the merge data file: a token that begins with "<<", "{{" or "((" by the replacement text of
    // its row in the merge token table, any other as it stands (a field label gives the field's value). A
    // token whose expression cannot be evaluated keeps its fields' texts.
    void EvaluateMergeTokens();
    // Opens the merge token table in that file; false, with the reason, when it cannot be opened.
    bool OpenMergeTable(const QString& fileName, QString* error = nullptr);
    void CloseMergeTable();
    // The merge data file whose record the tokens are evaluated over; none by default.
    void SetMailFileName(Table* file) { mailFileName_ = file; }
    Table* MailFileName() const { return mailFileName_; }

    // Mail merge (MailMerge*.cpp). The data files are tables of the store, taken in the order added; the
    // merge restricts and orders their records by its filter and order expressions (MailMergeFields) and
    // the merge fields show the current record's values. "Mail Merge" runs on a thread of its own and
    // reaches the object through a link that Kill cuts once it has closed the window.
    void AddMailFile(Table& file);
    void OpenMailMerge(); // StartMailMerge("MAILMERGE")
    void StartMailMerge(const QString& command);
    void MailMergeWindow(); // the merge window, on the running (merge) thread
    void MailMergeDialog(); // the same window on the calling thread
    // 1: opens the data and shows the first record; 0: closes it and the fields show their own texts.
    void OpenMergeData(int open);
    // 1 first, 2 previous, 3 next, 4 last; 1 when it moved, 0 at the end or on an error.
    int MoveMergeRecord(int direction);
    // One copy of the document per record, as one print job.
    void MergeToPrinter();
    void UpdateMergeInfo();
    void MergeFilterWindow(); // "Mail Merge Filter and Order"
    void PickMergeField();    // "SELECT FIELD"
    // Keeps the text each merge token's fields show, and gives them those texts back.
    void KeepFieldTexts();
    void RestoreFieldTexts();
    MailMergeFields& Mail() const { return *mail_; }

private:
    void insertHeaderFooter(int kind, int on, const QString& text, const QString& refusal);

    void chooseColour(const QString& title, bool background);
    void changeIndent(int step);
    void runFindReplace(bool replace);

    DocumentPageHeader pageHeader() const;
    void applyPageHeader(const DocumentPageHeader& header);
    // Saves under the name, a failure shown in a message.
    void saveTo(const QString& fileName, int format) const;
    // nextCopy, when given, is asked after each copy; true prints the document again as it then stands.
    int print(int skipDialog, const std::function<bool()>& nextCopy = {});
    // One picture per page of the document on the page into new files; the list when all were written.
    int renderPictures(const QTextDocument& document, const PageSettings& page);
    int savePagePicture(const QString& fileName, int page, bool textAreaOnly);

    QPointer<RichTextControl> text_;
    QPointer<ButtonBar> buttonBar_;
    QPointer<Ruler> ruler_;
    QPointer<StatusBar> statusBar_;
    bool initialised_ = false;
    int controlChars_ = 0;
    int pageView_ = 0;
    int measurements_ = 0;
    int threadId_ = 0;
    QString workFileName_;
    QStringList metaList_;
    QPrinter* printer_ = nullptr;

    // Spelling
    bool openChecker(SpellChecker& checker);
    bool runSpellCheck(SpellChecker* checker);
    QPointer<SpellChecker> spellChecker_;

    // Text fields and merge tokens.
    struct MergeToken
    {
        QString name;
        QString value;
    };
    struct FieldColour
    {
        quint32 fieldId = 0;
        QColor colour; // invalid: the text's own
    };
    // Gives the merge fields the texts the function returns for them (none: unchanged), as one step to
    // undo; the marker field is left alone.
    void setMergeFieldTexts(const std::function<std::optional<QString>(const TextField&)>& textOf);
    void colourFields(bool mergeFieldsOnly, const QColor& colour, bool underline, bool keepColours);
    QList<MergeToken> tokens_;
    QList<FieldColour> fieldColours_;
    MergeTokenTable mergeTable_;
    Table* mailFileName_ = nullptr;

    // Mail merge.
    void closeMailMergeWindow();
    std::unique_ptr<MailMergeFields> mail_;
};

} // namespace jornix
