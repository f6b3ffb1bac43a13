#pragma once

// Formatted notes as a journal's events carry them: pages of paragraphs in several fonts and styles, a small
// table and a picture, every word of the text numbered so that a reader can check that each word is there and
// in its order. Shared by the tests and the benchmarks of printed notes.

#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QTextTable>

namespace jornix::test {

struct FormattedNotes
{
    QByteArray stored;  // the stored document, page header included
    QStringList words;  // the numbered words of the paragraphs, in order
};

// The numbered words a text shows, in order.
inline QStringList NumberedWords(const QString& text)
{
    QStringList found;
    static const QRegularExpression word(QStringLiteral("\\b([a-z]+\\d{5})\\b"));
    for (const QRegularExpressionMatch& match : word.globalMatch(text))
        found << match.captured(1);
    return found;
}

// A picture of the given size with some detail in it, so that it does not pack into a few bytes.
inline QImage NotesPicture(int width = 240, int height = 160)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) % 256));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawEllipse(image.rect().adjusted(10, 10, -10, -10));
    return image;
}

// `pages` pages of notes, each starting on a page of its own, the words numbered from `firstWord`; with
// `picture`, the picture shows on the first page.
inline FormattedNotes MakeFormattedNotes(int pages, int firstWord = 1, const QImage& picture = {})
{
    static const QStringList stems{"morning", "river", "letter", "garden", "market", "window", "friend",
                                   "harbour", "evening", "journey", "lantern", "orchard"};
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    FormattedNotes notes;
    int number = firstWord;
    QTextCursor cursor(control.document());
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCharFormat heading;
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    italic.setFontFamilies({QStringLiteral("DejaVu Serif")});
    QTextCharFormat plain;
    const auto words = [&](int count, const QTextCharFormat& format) {
        QStringList text;
        for (int i = 0; i < count; ++i) {
            const QString word = stems[number % stems.size()] + QStringLiteral("%1").arg(number, 5, 10, QChar(u'0'));
            ++number;
            notes.words << word;
            text << word;
        }
        cursor.insertText(text.join(QLatin1Char(' ')) + QLatin1Char(' '), format);
    };
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            cursor.insertBlock(newPage);
        words(3, heading);
        if (page == 0 && !picture.isNull()) {
            cursor.insertBlock(QTextBlockFormat());
            const QString name = QStringLiteral("image-notes.png");
            control.document()->addResource(QTextDocument::ImageResource, QUrl(name), picture);
            QTextImageFormat image;
            image.setName(name);
            image.setWidth(picture.width());
            image.setHeight(picture.height());
            cursor.insertImage(image);
        }
        for (int paragraph = 0; paragraph < 6; ++paragraph) {
            cursor.insertBlock(QTextBlockFormat());
            words(12, plain);
            words(4, bold);
            words(10, italic);
        }
        // A table's cells carry words that are not numbered: readers may take a table's columns in any order.
        cursor.insertBlock(QTextBlockFormat());
        QTextTable* table = cursor.insertTable(2, 3);
        for (int cell = 0; cell < 6; ++cell)
            table->cellAt(cell / 3, cell % 3).firstCursorPosition().insertText(QStringLiteral("cell"));
        cursor.movePosition(QTextCursor::End);
    }
    edit.SaveToBlob(notes.stored);
    edit.Kill();
    return notes;
}

} // namespace jornix::test
