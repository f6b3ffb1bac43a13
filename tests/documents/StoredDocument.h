#pragma once

// The notes of a log event as the table keeps them: a plain text saved by the document editor.

#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"

#include <QByteArray>
#include <QString>

namespace jornix::test {

inline QByteArray StoredDocument(const QString& text)
{
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    control.setPlainText(text);
    QByteArray blob;
    edit.SaveToBlob(blob);
    edit.Kill();
    return blob;
}

} // namespace jornix::test
