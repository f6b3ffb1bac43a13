#pragma once

#include "documents/DocumentPageHeader.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

namespace jornix {

class ButtonBar;
class RichTextControl;
class Ruler;
class StatusBar;
class Table;

// The document component: everything that edits, loads, stores, converts and prints rich text goes through
// one TXEdit, which wraps one rich-text control and its optional button bar, ruler and status bar. The
// controls belong to their window; TXEdit only works them. One object serves the thread that ran Init.
//
// The rich-text control is part of the program, so there is nothing to create or load: Init takes a
// control that exists. A creator without a window (search, printing, first-run setup, migration) owns a
// RichTextControl that is never shown and passes it.
//
// Format numbers are those of TextFormat.h: 1 plain text, 3 the control's own format, 4 HTML (5 RTF,
// 9 Word, 12 PDF are refused for now). Stored documents, as the notes of a log event hold them, are a
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

    // Stored documents. The record-file forms work on the running thread's record buffer of the table, on
    // its BLOB number n: the n-th of its memo and BLOB fields, counted from 1 (the log event's document,
    // LOG:LogDoc, is number 2). Writing the record stays with the caller.
    void SaveToBlob(Table& file, int blobNumber) const;
    void LoadFromBlob(Table& file, int blobNumber);
    static int IsTXDocument(Table& file, int blobNumber);
    void SaveToBlob(QByteArray& blob) const;
    void LoadFromBlob(const QByteArray& blob);
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

    // Conversions. The buffer's size is its capacity; length is set to the converted length.
    void SaveToBuffer(QByteArray& buffer, qint32& length, int selectionOnly, int format) const;

private:
    DocumentPageHeader pageHeader() const;

    QPointer<RichTextControl> text_;
    QPointer<ButtonBar> buttonBar_;
    QPointer<Ruler> ruler_;
    QPointer<StatusBar> statusBar_;
    bool initialised_ = false;
    int pageView_ = 0;
    int measurements_ = 0;
    int threadId_ = 0;
    QString workFileName_;
};

} // namespace jornix
