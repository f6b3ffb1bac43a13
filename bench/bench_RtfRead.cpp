// Reading a formatted RTF note of about 300 KB (paragraphs with bold, italic and coloured runs, accented
// letters, bullet and numbered lists, a table of 200 rows) into a document: the best of ten reads.
#include "platform/richtext/Rtf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>

#include <cstdio>

using namespace jornix;

namespace {

QByteArray formattedNote()
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New "
        "Roman;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}"
        "\\listid1}{\\list\\listtemplateid2{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid2}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}"
        "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\n";
    int paragraph = 0;
    while (rtf.size() < 272 * 1024) {
        ++paragraph;
        rtf += "\\pard\\sa120\\f0\\fs22 Paragraph " + QByteArray::number(paragraph) +
               " of the journal: {\\b a bold start} and then some plain words, {\\i an italic aside}, "
               "Caf\\'e9 cr\\'e8me br\\'fbl\\'e9e, {\\cf1 a red remark} and {\\f1\\fs24\\cf2 a blue quote in "
               "another font} that goes on for a while so that the lines wrap.\\par\n";
        if (paragraph % 10 == 0)
            for (int item = 0; item < 4; ++item)
                rtf += "\\pard\\ls" + QByteArray::number(1 + item % 2) + "\\ilvl0 List item " +
                       QByteArray::number(item) + " with {\\b bold} words\\par\n";
    }
    for (int row = 0; row < 200; ++row) {
        rtf += "\\trowd\\trgaph60\\cellx2000\\cellx5000\\cellx9000\n";
        for (int column = 0; column < 3; ++column)
            rtf += "\\pard\\intbl {\\b r" + QByteArray::number(row) + "} cell " + QByteArray::number(column) +
                   " text\\cell ";
        rtf += "\\row\n";
    }
    rtf += "\\pard The end.\\par}";
    return rtf;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    const QByteArray rtf = formattedNote();
    qint64 best = -1;
    int blocks = 0;
    for (int round = 0; round < 10; ++round) {
        QTextDocument document;
        QElapsedTimer timer;
        timer.start();
        ReadRtf(rtf, document);
        const qint64 elapsed = timer.nsecsElapsed();
        blocks = document.blockCount();
        if (best < 0 || elapsed < best)
            best = elapsed;
    }
    std::printf("RTF note of %lld KB read (%d paragraphs)             %8.3f ms (target 50 ms)\n",
                static_cast<long long>(rtf.size() / 1024), blocks, double(best) / 1e6);
    return 0;
}
