#include "platform/richtext/CodePages.h"

#include <QHash>

#include <unicode/ucnv.h>

#include <memory>

namespace jornix {
namespace {

struct ConverterClose
{
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterClose>;

UConverter* open(const QByteArray& name)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.constData(), &status);
    if (U_FAILURE(status)) {
        ucnv_close(converter);
        return nullptr;
    }
    return converter;
}

// One converter per code page for the whole program; documents are read on the GUI thread only.
UConverter* converterFor(int codePage)
{
    static QHash<int, std::shared_ptr<UConverter>> converters;
    if (auto found = converters.constFind(codePage); found != converters.constEnd())
        return found->get();
    UConverter* converter = nullptr;
    if (codePage == 10000)
        converter = open("macintosh");
    if (!converter)
        converter = open("windows-" + QByteArray::number(codePage));
    if (!converter)
        converter = open("cp" + QByteArray::number(codePage));
    if (!converter && codePage != 1252)
        return converterFor(1252);
    converters.insert(codePage, std::shared_ptr<UConverter>(converter, ConverterClose()));
    return converter;
}

} // namespace

QString DecodeCodePage(int codePage, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    UConverter* converter = converterFor(codePage);
    if (!converter)
        return QString::fromLatin1(bytes.data(), bytes.size());
    ucnv_reset(converter);
    // A byte never gives more than two UTF-16 units.
    QString text(bytes.size() * 2, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()),
                                         int32_t(text.size()), bytes.data(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes.data(), bytes.size());
    text.truncate(length);
    return text;
}

int CodePageOfCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

} // namespace jornix
