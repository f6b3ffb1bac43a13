#pragma once

#include "DocumentEditor.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>

// A document of three pages, split by page breaks, with one word each; the text of a page of a PDF and the
// bytes of a file, to see what was printed.
namespace {

const QStringList Words{"alpha", "beta", "gamma"};

// On a page of 11800 x 15000 twips.
inline void fillThreePages(Editor& editor)
{
    editor.control.SetPage({11800, 15000, 1440, 1440, 1440, 1440});
    QTextCursor cursor(editor.control.document());
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    for (int page = 0; page < Words.size(); ++page) {
        if (page > 0)
            cursor.insertBlock(newPage);
        cursor.insertText(Words[page]);
    }
}

inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Its words top to bottom, separated by single blanks.
inline QString pdfPageText(const QString& path, int page)
{
    return runTool("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), path, "-"})
        .simplified();
}

inline QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A text as a page picture holds it: UTF-16, high byte first, as QDataStream writes a string.
inline QByteArray pictureText(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return bytes;
}

} // namespace
