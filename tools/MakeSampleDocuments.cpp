// Writes "sample1.tx" and "sample2.tx", the notes of the first-run setup's sample events, as stored
// documents into the folder given: MakeSampleDocuments <folder>
#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"

#include <QApplication>
#include <QDir>
#include <QSaveFile>

#include <cstdio>

using namespace jornix;

namespace {

const char* const Sample1 = R"(
<h2>Welcome to Jornix</h2>
<p>This is your journal. Every <b>log event</b> can carry notes like these, with
<span style="color:#1f5fa8;">colour</span>, <i>italics</i> and <u>underlining</u>.</p>
<p>A few things to try:</p>
<ul>
<li>Open the calendar and pick a day.</li>
<li>Add a log event and write what happened.</li>
<li>Set a reminder so that nothing slips by.</li>
</ul>
<p>Delete this event whenever you like; it is only here to say hello.</p>
)";

const char* const Sample2 = R"(
<h3>Notes can hold more than text</h3>
<p>Use the <b>Format</b> menu for fonts and paragraphs, and the <b>Table</b> menu for a small table:</p>
<table border="1" cellpadding="3">
<tr><td><b>Morning</b></td><td>Walk in the park</td></tr>
<tr><td><b>Evening</b></td><td><span style="color:#2e7d32;">Read a chapter</span></td></tr>
</table>
<ol>
<li>Write a line every day.</li>
<li>Look back at the end of the month.</li>
</ol>
)";

bool write(TXEdit& edit, const QString& fileName, const char* html)
{
    edit.TextControl()->Load(QByteArray(html), TextFormat::Html);
    QByteArray blob;
    edit.SaveToBlob(blob);
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(blob) == blob.size() && file.commit())
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(fileName), qPrintable(file.errorString()));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeSampleDocuments <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    const bool ok = write(edit, folder.filePath(QStringLiteral("sample1.tx")), Sample1) &&
                    write(edit, folder.filePath(QStringLiteral("sample2.tx")), Sample2);
    edit.Kill();
    return ok ? 0 : 1;
}
